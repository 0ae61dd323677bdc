// Bulk-absorption half-width and microphone shift.
#include <cmath>
#include <limits>

#include "support/bits.hpp"
#include "velk/velk.h"

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

double bulk(double c, double gamma, double dv, double dt, double f, const double *t = nullptr,
            double p = 101.325) {
    return g_b(t, &p, &c, &gamma, &dv, &dt, &f);
}

double mic(double rmic, double a, double rho, double c) { return df_mic(&rmic, &a, &rho, &c); }

TEST(BulkHalfwidth, WorkedValue) {
    // worked example, with the stored pi; 3671^3 is exact in double, so pow
    // does not round here
    EXPECT_BITEQ(bulk(308, 5.0 / 3.0, 3.2e-5, 3.9e-5, 3671), 0.01224635314638657);
}

TEST(BulkHalfwidth, TemperatureAndPressureHaveNoInfluence) {
    const double want = bulk(308, 5.0 / 3.0, 3.2e-5, 3.9e-5, 3671);
    const double t_values[] = {273.16, 0.0, -1.0, inf, std::nan("")};
    const double p_values[] = {101.325, 0.0, -inf, inf, std::nan("")};
    for (int k = 0; k < 5; ++k) {
        EXPECT_BITEQ(bulk(308, 5.0 / 3.0, 3.2e-5, 3.9e-5, 3671, &t_values[k], p_values[k]), want)
            << "k = " << k;
        // The first address is never read: a null pointer is allowed.
        EXPECT_BITEQ(bulk(308, 5.0 / 3.0, 3.2e-5, 3.9e-5, 3671, nullptr, p_values[k]), want)
            << "k = " << k;
    }
}

TEST(BulkHalfwidth, ViscousTermAloneAndZeros) {
    // gamma = 1: (pi^2/c^2) (4/3) dv^2 f^3 (worked evaluation in the same order)
    const double pi = 3.1415927410125732, c = 308, dv = 3.2e-5, f = 3671;
    EXPECT_BITEQ(bulk(c, 1.0, dv, 3.9e-5, f),
                 ((pi * pi) / (c * c)) * (0.0 + (dv * dv) * 1.3333333333333333) * std::pow(f, 3.0));
    EXPECT_BITEQ(bulk(308, 5.0 / 3.0, 0.0, 0.0, 3671), 0.0);
    EXPECT_BITEQ(bulk(308, 5.0 / 3.0, 3.2e-5, 3.9e-5, 0.0), 0.0);
    EXPECT_BITEQ(bulk(0.0, 5.0 / 3.0, 3.2e-5, 3.9e-5, 3671), inf);
}

TEST(BulkHalfwidth, GrowsAsTheCubeOfFrequency) {
    // Doubling f multiplies f^3 by 8 exactly: pow is exact for these.
    const double g1 = bulk(308, 5.0 / 3.0, 3.2e-5, 3.9e-5, 1000);
    EXPECT_BITEQ(bulk(308, 5.0 / 3.0, 3.2e-5, 3.9e-5, 2000), 8 * g1);
}

TEST(MicrophoneShift, WorkedValue) {
    // worked example
    EXPECT_BITEQ(mic(6, 60, 1.78, 308), -1.4071493333333337e-06);
}

TEST(MicrophoneShift, ScalesAsRadiusSquaredOverCube) {
    // Powers of two leave every rounding in place.
    const double base = mic(6, 60, 1.78, 308);
    EXPECT_BITEQ(mic(12, 60, 1.78, 308), 4 * base);
    EXPECT_BITEQ(mic(6, 120, 1.78, 308), base / 8);
}

TEST(MicrophoneShift, ZeroRadii) {
    EXPECT_BITEQ(mic(0, 60, 1.78, 308), -0.0);  // the sign inversion of +0
    EXPECT_BITEQ(mic(6, 0, 1.78, 308), -inf);
    EXPECT_TRUE(std::isnan(mic(0, 0, 1.78, 308)));
}

}  // namespace
