// df_ducts with 1 to 8 sections.
// Any doubles and mode numbers: nothing crashes, both outputs are written, a
// mode number outside 1..16 gives quiet NaN.  Physical inputs (positive gas
// properties, gamma in (1, 1.7], sections whose Bessel arguments lie on the
// duct ray with 1 <= |z| <= 700 and whose lengths keep k L below 300): both
// outputs are finite.
// Sections with 1e5 < |z| < 2^31 cost work in proportion to |z| and are left out.
#include <cmath>
#include <vector>

#include "input.hpp"
#include "velk/velk.h"

using velk::fuzz::bits;
using velk::fuzz::fail;

namespace {

struct Call {
    std::vector<double> r, l;
    int32_t nduct = 1;
    double rho = 0, cp = 0, c = 0, gamma = 0, kappa = 0, eta = 0, a = 0, f = 0;
    int32_t n = 2;
};

// |z| = sqrt(2) r/delta of every section, for both penetration lengths.
bool arguments_within(const Call &k, double lo, double hi, bool inside) {
    const double dv = d_v(&k.eta, &k.rho, &k.f);
    const double dt = d_t(&k.kappa, &k.rho, &k.cp, &k.f);
    for (int32_t j = 0; j < k.nduct; ++j) {
        for (double delta : {dv, dt}) {
            const double z = std::sqrt(2.0) * std::fabs(0.001 * k.r[j]) / delta;
            const bool in_band = z >= lo && z <= hi;
            if (inside ? !in_band : in_band) return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    velk::fuzz::Input in(data, size);
    const std::uint8_t mode = in.byte();
    Call k;
    k.nduct = 1 + in.byte() % 8;
    const bool physical = mode % 2 == 0;
    for (int32_t j = 0; j < k.nduct; ++j) {
        k.r.push_back(physical ? in.in(0.01, 5.0) : in.real());
        k.l.push_back(physical ? in.in(0.1, 200.0) : in.real());
    }
    if (physical) {
        k.rho = in.in(0.01, 100.0);
        k.cp = in.in(100.0, 20000.0);
        k.c = in.in(50.0, 2000.0);
        k.gamma = in.in(1.0001, 1.7);
        k.kappa = in.in(1e-3, 1.0);
        k.eta = in.in(1e-6, 1e-3);
        k.a = in.in(10.0, 100.0);
        k.f = in.in(100.0, 50000.0);
        k.n = 2 + in.byte() % 12;
    } else {
        k.rho = in.real();
        k.cp = in.real();
        k.c = in.real();
        k.gamma = in.real();
        k.kappa = in.real();
        k.eta = in.real();
        k.a = in.real();
        k.f = in.real();
        k.n = in.integer();
    }
    // Leave out the costly band of Bessel arguments (non-finite ones are cheap).
    if (!arguments_within(k, 1e5, 2147483648.0, false)) return 0;

    const double unwritten = -7.0;
    double df = unwritten, g = unwritten;
    df_ducts(k.r.data(), k.l.data(), &k.nduct, &k.rho, &k.cp, &k.c, &k.gamma, &k.kappa, &k.eta,
             &k.a, &k.f, &k.n, &df, &g);
    if (bits(df) == bits(unwritten) || bits(g) == bits(unwritten)) fail("df_ducts: output not written");
    if ((k.n < 1 || k.n > 16) && !(std::isnan(df) && std::isnan(g)))
        fail("df_ducts: mode outside the table not NaN");
    if (physical && arguments_within(k, 1.0, 700.0, true)) {
        const double wave = k.f * (2 * 3.1415927410125732) / k.c;
        bool short_enough = true;
        for (double l : k.l) short_enough = short_enough && wave * 0.001 * l < 300.0;
        if (short_enough && !(std::isfinite(df) && std::isfinite(g)))
            fail("df_ducts: physical duct gave a non-finite result");
    }
    return 0;
}
