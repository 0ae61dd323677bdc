// Second-order shape corrections of TE1n, TM1n and radial acoustic
// eigenvalues: double mode factors, one final rounding to single precision.
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "shape/shape.hpp"
#include "support/bits.hpp"
#include "velk/velk.h"

namespace {

bool is_quiet_nan(float x) {
    return std::isnan(x) && (std::bit_cast<std::uint32_t>(x) & 0x00400000u) != 0;
}

float te(double e1, double e2, int32_t n) { return dzm2_zTE1n(&e1, &e2, &n); }
float tm(double e1, double e2, int32_t n) { return dzm2_zTM1n(&e1, &e2, &n); }
float ac(double e1, double e2, int32_t n) {
    const double eps[2] = {e1, e2};
    return O2dZ2AC(eps, &n);
}

TEST(SecondOrder, ModeFactorsInDouble) {
    // worked example, before the final rounding
    EXPECT_BITEQ(velk::shape::te1n_second_order_factor(__velk_MOD_zte[0]), 1.1756339457363263);
    EXPECT_BITEQ(velk::shape::tm1n_second_order_factor(__velk_MOD_ztm[0]), 0.3516111927841441);
    EXPECT_BITEQ(velk::shape::ac_second_order_factor(__velk_MOD_zac[1]), 1.1964877117426416);
}

TEST(SecondOrder, WorkedValuesRoundedOnceToSingle) {
    // worked example: q = 1 gives the rounded mode factors, q = 3e-6 the
    // rounded products (not the product of a rounded factor)
    EXPECT_BITEQ(te(1, 0, 1), static_cast<float>(1.1756339073181152));
    EXPECT_BITEQ(tm(1, 0, 1), static_cast<float>(0.3516111969947815));
    EXPECT_BITEQ(ac(1, 0, 2), static_cast<float>(1.1964876651763916));
    EXPECT_BITEQ(te(0.001, -0.001, 1), static_cast<float>(3.5269017644168343e-06));
    EXPECT_BITEQ(tm(0.001, -0.001, 1), static_cast<float>(1.0548335467319703e-06));
    EXPECT_BITEQ(ac(0.001, -0.001, 2), static_cast<float>(3.5894631764676888e-06));
    // Each of those decimal values is a single-precision number.
    for (double v : {1.1756339073181152, 0.3516111969947815, 1.1964876651763916,
                     3.5269017644168343e-06, 1.0548335467319703e-06, 3.5894631764676888e-06})
        EXPECT_EQ(static_cast<double>(static_cast<float>(v)), v);
}

TEST(SecondOrder, ZeroParametersAndZeroEigenvaluesGivePositiveZero) {
    for (int32_t n = 1; n <= 12; ++n) EXPECT_BITEQ(te(0, 0, n), 0.0f) << "n = " << n;
    for (int32_t n = 1; n <= 13; ++n) EXPECT_BITEQ(tm(0, 0, n), 0.0f) << "n = " << n;
    for (int32_t n = 1; n <= 16; ++n) EXPECT_BITEQ(ac(0, 0, n), 0.0f) << "n = " << n;
    // zac(1) = zac(14) = zac(15) = zac(16) = 0.
    for (int32_t n : {1, 14, 15, 16})
        for (double e : {1e-3, -0.5, 7.0, 1e100}) {
            EXPECT_BITEQ(ac(e, -e, n), 0.0f) << "n = " << n << ", eps = " << e;
            EXPECT_BITEQ(ac(e, 0.25, n), 0.0f) << "n = " << n << ", eps = " << e;
        }
}

TEST(SecondOrder, ModeNumbersOutsideTheTableGiveQuietNaN) {
    const int32_t lo = std::numeric_limits<int32_t>::min();
    const int32_t hi = std::numeric_limits<int32_t>::max();
    for (int32_t n : {0, -1, 13, lo, hi}) EXPECT_TRUE(is_quiet_nan(te(0.001, -0.001, n))) << n;
    for (int32_t n : {0, -1, 14, lo, hi}) EXPECT_TRUE(is_quiet_nan(tm(0.001, -0.001, n))) << n;
    for (int32_t n : {0, -1, 17, lo, hi}) EXPECT_TRUE(is_quiet_nan(ac(0.001, -0.001, n))) << n;
    // Even for parameters that would give zero.
    EXPECT_TRUE(is_quiet_nan(te(0, 0, 13)));
    EXPECT_TRUE(is_quiet_nan(ac(0, 0, 0)));
}

}  // namespace
