// A typical duct chain: argon at 273 K and 100 kPa, sections of radius 0.5
// to 3 mm, modes between 2 and 10 kHz.
#pragma once

#include <cstdint>
#include <vector>

#include "velk/velk.h"

namespace velk::bench {

struct DuctCase {
    std::vector<double> r, l;  // mm
    int32_t sections;
    double rho = 1.7606, cp = 520.3, c = 307.8, gamma = 1.6667, kappa = 0.01642, eta = 2.1e-5;
    double a = 50.0;
    int32_t mode = 2;
    std::vector<double> frequencies{2000.0, 4000.0, 6000.0, 8000.0, 10000.0};

    explicit DuctCase(int32_t n) : sections(n) {
        for (int32_t j = 0; j < n; ++j) {
            r.push_back(n == 1 ? 1.0 : 0.5 + 2.5 * j / (n - 1));
            l.push_back(20.0 + 10.0 * j);
        }
    }

    // The viscous and thermal arguments r/delta (1 - i) of every section.
    std::vector<velk_complex> bessel_arguments(double f) const {
        const double dv = d_v(&eta, &rho, &f), dt = d_t(&kappa, &rho, &cp, &f);
        std::vector<velk_complex> z;
        for (double delta : {dv, dt})
            for (double rj : r) z.push_back({0.001 * rj / delta, -0.001 * rj / delta});
        return z;
    }
};

}  // namespace velk::bench
