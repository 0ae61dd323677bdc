// Skin depth, skin-depth perturbations and (r/a)^3 shifts of microwave modes.
#include <cmath>
#include <cstdint>
#include <limits>

#include "microwave/corrections.hpp"
#include "support/bits.hpp"
#include "velk/velk.h"

namespace {

using velk::test::is_quiet_nan;
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr int32_t bad_modes[] = {0, -1, 14, INT32_MIN, INT32_MAX};

struct Pair {
    double df, g;
};

Pair te(double dsk, double a) {
    Pair p{-1.0, -1.0};
    df_skTE(&dsk, &a, &p.df, &p.g);
    return p;
}

Pair tm(double dsk, double a, int32_t n) {
    Pair p{-1.0, -1.0};
    df_skTM1n(&dsk, &a, &n, &p.df, &p.g);
    return p;
}

double dc_tm(double r, double a, int32_t n) { return df_dcTM1n(&r, &a, &n); }
double dc_te(double r, double a) { return df_dcTE(&r, &a); }

double skin(double x1, double x2, double x3) { return d_sk(&x1, &x2, &x3); }

TEST(MicrowaveConstants, SinglePrecisionRoundingsAndMu0) {
    EXPECT_BITEQ(velk::microwave::dc_te, 0.949999988079071);
    EXPECT_BITEQ(velk::microwave::dc_tm, 1.1519999504089355);
    EXPECT_NE(velk::microwave::dc_te, 0.95);
    EXPECT_NE(velk::microwave::dc_tm, 1.152);
    EXPECT_BITEQ(velk::microwave::mu0, 1.25663706212e-06);
}

TEST(SkinDepth, WorkedValueInEveryOrderOfTheFactors) {
    // worked example; the order (1, 1e9, 5.8e7) rounds its products one ulp
    // lower (worked evaluation of the same products)
    const double want = 2.089806755292987e-06;
    const double low = 2.0898067552929865e-06;
    ASSERT_BITEQ(low, std::nextafter(want, 0.0));
    const double f = 1.0e9, s = 5.8e7, m = 1.0;
    EXPECT_BITEQ(skin(f, s, m), want);
    EXPECT_BITEQ(skin(f, m, s), want);
    EXPECT_BITEQ(skin(s, f, m), want);
    EXPECT_BITEQ(skin(s, m, f), want);
    EXPECT_BITEQ(skin(m, s, f), want);
    EXPECT_BITEQ(skin(m, f, s), low);
}

TEST(SkinDepth, ReadsTheStoredPiOnEveryCall) {
    // With the double nearest pi in the module datum (worked example).
    const double saved = __velk_MOD_pi;
    __velk_MOD_pi = 3.141592653589793;
    const double with_double_pi = skin(1.0e9, 5.8e7, 1.0);
    __velk_MOD_pi = saved;
    EXPECT_BITEQ(with_double_pi, 2.089806784370072e-06);
    EXPECT_BITEQ(skin(1.0e9, 5.8e7, 1.0), 2.089806755292987e-06);
}

TEST(SkinDepth, ZeroAndNegativeProducts) {
    EXPECT_BITEQ(skin(0.0, 5.8e7, 1.0), inf);
    EXPECT_BITEQ(skin(1.0e9, 5.8e7, 0.0), inf);
    EXPECT_TRUE(std::isnan(skin(-1.0e9, 5.8e7, 1.0)));
    EXPECT_TRUE(std::isnan(skin(1.0e9, 5.8e7, -1.0)));
}

TEST(SkinTE, WorkedValue) {
    // worked example: 2e-6/0.05 rounds below 4e-5
    const Pair p = te(2.0e-6, 50.0);
    EXPECT_BITEQ(p.df, -1.9999999999999998e-05);
    EXPECT_BITEQ(p.g, 1.9999999999999998e-05);
}

TEST(SkinTE, FiniteQuotientGivesExactlyMinusAndPlusHalf) {
    for (double dsk : {2.0e-6, -3.7e-6, 1e-300, 4.9e-324, 1.5e300}) {
        for (double a : {50.0, 0.3, -12.5}) {
            const double x = dsk / (0.001 * a);
            const Pair p = te(dsk, a);
            EXPECT_BITEQ(p.df, -x / 2) << dsk << " " << a;
            EXPECT_BITEQ(p.g, x / 2) << dsk << " " << a;
        }
    }
}

TEST(SkinTE, InfiniteOrNaNQuotientGivesNaNInBoth) {
    // a = 0 with dsk != 0 (x infinite), dsk infinite, dsk NaN, both zero (0/0)
    const double cases[][2] = {{2.0e-6, 0.0}, {-2.0e-6, 0.0}, {inf, 50.0}, {-inf, 50.0},
                               {nan, 50.0},   {0.0, 0.0},     {1e300, 1e-300}};
    for (const auto &c : cases) {
        const Pair p = te(c[0], c[1]);
        EXPECT_TRUE(std::isnan(p.df)) << c[0] << " " << c[1];
        EXPECT_TRUE(std::isnan(p.g)) << c[0] << " " << c[1];
    }
}

TEST(SkinTE, ZeroSkinDepthGivesPositiveZeros) {
    // (-0 + 0*0)/2 and (0 - (-0)*0)/2
    const Pair p = te(0.0, 50.0);
    EXPECT_BITEQ(p.df, 0.0);
    EXPECT_BITEQ(p.g, 0.0);
}

TEST(SkinTM1n, WorkedValues) {
    // worked example
    Pair p = tm(2.0e-6, 50.0, 1);
    EXPECT_BITEQ(p.df, -2.7235982833870335e-05);
    EXPECT_BITEQ(p.g, 2.7235982833870335e-05);
    p = tm(2.0e-6, 50.0, 2);
    EXPECT_BITEQ(p.df, -2.1129471209303134e-05);
    EXPECT_BITEQ(p.g, 2.1129471209303134e-05);
}

TEST(SkinTM1n, EveryModeGivesMinusGAndScalesWithSkinDepth) {
    for (int32_t n = 1; n <= 13; ++n) {
        const double z = __velk_MOD_ztm[n - 1], t = z * z;
        for (double dsk : {2.0e-6, 7.3e-7, -1.1e-5}) {
            const Pair p = tm(dsk, 50.0, n);
            const double x = dsk / (0.001 * 50.0);
            EXPECT_BITEQ(p.g, (t * (x / 2)) / (t - 2)) << "n = " << n;
            EXPECT_BITEQ(p.df, -p.g) << "n = " << n;
            const Pair q = tm(2 * dsk, 50.0, n);  // doubling is exact all the way
            EXPECT_BITEQ(q.df, 2 * p.df) << "n = " << n;
            EXPECT_BITEQ(q.g, 2 * p.g) << "n = " << n;
        }
    }
}

TEST(SkinTM1n, ZeroRadiusAndZeroSkinDepth) {
    const Pair p = tm(2.0e-6, 0.0, 1);
    EXPECT_TRUE(std::isnan(p.df));
    EXPECT_TRUE(std::isnan(p.g));
    const Pair z = tm(0.0, 50.0, 3);
    EXPECT_BITEQ(z.df, 0.0);
    EXPECT_BITEQ(z.g, 0.0);
}

TEST(SkinTM1n, ModeOutsideTheTableGivesQuietNaN) {
    for (int32_t n : bad_modes) {
        const Pair p = tm(2.0e-6, 50.0, n);
        EXPECT_TRUE(is_quiet_nan(p.df)) << "n = " << n;
        EXPECT_TRUE(is_quiet_nan(p.g)) << "n = " << n;
    }
}

TEST(CubeShift, WorkedValues) {
    // worked example
    EXPECT_BITEQ(dc_te(1.0, 50.0), -6.047887593303226e-07);
    EXPECT_BITEQ(dc_tm(1.0, 50.0, 1), -6.909316141217317e-07);
    EXPECT_BITEQ(dc_tm(1.0, 50.0, 2), -6.182348766868555e-07);
}

TEST(CubeShift, ZeroRadius) {
    EXPECT_BITEQ(dc_te(1.0, 0.0), -inf);
    EXPECT_TRUE(std::isnan(dc_te(0.0, 0.0)));
    for (int32_t n : {1, 13}) {
        EXPECT_BITEQ(dc_tm(1.0, 0.0, n), -inf) << "n = " << n;
        EXPECT_TRUE(std::isnan(dc_tm(0.0, 0.0, n))) << "n = " << n;
    }
}

TEST(CubeShift, ModeOutsideTheTableGivesQuietNaN) {
    for (int32_t n : bad_modes) EXPECT_TRUE(is_quiet_nan(dc_tm(1.0, 50.0, n))) << "n = " << n;
}

}  // namespace
