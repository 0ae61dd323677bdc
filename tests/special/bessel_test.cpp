// Complex Bessel functions: the start-index search, the recurrence and
// normaliser, the stated examples, symmetries and the mended faults.
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "special/bessel.hpp"
#include "support/bits.hpp"
#include "velk/velk.h"

namespace {

using velk::cplx;
using velk::test::is_quiet_nan;
namespace sp = velk::special;

constexpr std::int32_t kMaxI32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMinI32 = std::numeric_limits<std::int32_t>::min();

cplx conj(cplx z) { return {z.re, -z.im}; }

// J_n(z) through the exported routine.
cplx exported_j(std::int32_t n, cplx z) {
    const velk_complex arg{z.re, z.im};
    velk_complex out{-1.0, -1.0};
    const velk_complex *ret = __velk_MOD_besselj(&out, &n, &arg);
    EXPECT_EQ(ret, &out);
    return {out.re, out.im};
}

// Both parts bit for bit.
::testing::AssertionResult same_cplx(const char *ae, const char *ee, cplx a, cplx e) {
    const auto re = velk::test::same_bits(ae, ee, a.re, e.re);
    const auto im = velk::test::same_bits(ae, ee, a.im, e.im);
    if (re && im) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << (re ? "" : "re: ") << (re ? "" : re.message())
                                         << (im ? "" : " im: ") << (im ? "" : im.message());
}
#define EXPECT_CBITEQ(actual, expected) EXPECT_PRED_FORMAT2(same_cplx, actual, expected)

::testing::AssertionResult quiet_nan_pair(cplx v) {
    if (is_quiet_nan(v.re) && is_quiet_nan(v.im)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << v.re << ", " << v.im << ") is not a quiet NaN pair";
}
#define EXPECT_QNAN_PAIR(value) EXPECT_TRUE(quiet_nan_pair(value))

// Worked examples: step counts, start indices and values to the digits given.
struct Example {
    std::int32_t n;
    cplx z;
    std::int32_t count, nstart;
    double re, im, half_unit;  // stated value and half a unit of its last digit
};

const Example kExamples[] = {
    {0, {1.0, 0.0}, 10, 11, 0.76519768656, 0.0, 5e-12},
    {1, {1.0, 0.0}, 10, 11, 0.440050585746, 0.0, 5e-13},
    {0, {3.0, 2.0}, 16, 19, -1.24923487961, -0.947983792058, 5e-12},
    {5, {3.0, 2.0}, 18, 21, -0.0988579898487, 0.0859246625629, 5e-14},
    {0, {2.0, -2.0}, 15, 17, 0.0276544783807, 1.77999496483, 5e-12},
    {1, {2.0, -2.0}, 15, 17, 1.61701878835, 0.272609582294, 5e-12},
    {0, {0.1, 0.0}, 4, 4, 0.997502081599, 0.0, 5e-13},  // modest: true 0.997501562066
};

TEST(BesselSearch, StatedExamples) {
    for (const Example &e : kExamples) {
        SCOPED_TRACE(::testing::Message() << "n = " << e.n << ", z = " << e.z.re << " + " << e.z.im << "i");
        const auto s = sp::bessel_start(e.n, e.z);
        ASSERT_TRUE(s.has_value());
        EXPECT_EQ(s->count, e.count);
        EXPECT_EQ(s->nstart, e.nstart);
        const cplx j = exported_j(e.n, e.z);
        EXPECT_NEAR(j.re, e.re, e.half_unit);
        EXPECT_NEAR(j.im, e.im, e.half_unit);
        if (e.z.im == 0.0) {
            EXPECT_BITEQ(j.im, 0.0);
        }
        // The exported routine is the plain evaluation.
        EXPECT_CBITEQ(j, sp::besselj_plain(e.n, e.z));
    }
}

TEST(BesselSearch, StatedStepCounts) {
    struct Case {
        std::int32_t n;
        cplx z;
        std::int32_t count, nstart;
    };
    const Case cases[] = {
        {0, {0.5, -0.5}, 12, 12}, {1, {0.5, -0.5}, 13, 13},
        // sqrt(215) ~ 14.663: above it rho2 is NaN in every step.
        {0, {14.5, 0.0}, 196, 210}, {0, {14.7, 0.0}, 201, 215},
        // z = 0: c is NaN, the search runs out.
        {0, {0.0, 0.0}, 201, 201}, {5, {0.0, 0.0}, 201, 201},
    };
    for (const Case &c : cases) {
        const auto s = sp::bessel_start(c.n, c.z);
        ASSERT_TRUE(s.has_value());
        EXPECT_EQ(s->count, c.count) << c.z.re << " n = " << c.n;
        EXPECT_EQ(s->nstart, c.nstart) << c.z.re << " n = " << c.n;
    }
}

TEST(BesselSearch, ScaleFormedAtOrderAboveM0) {
    // n <= m0: count, nstart and seed do not depend on n.
    const cplx z{7.25, -3.5};  // m0 = 8
    const auto s0 = sp::bessel_start(0, z);
    for (std::int32_t n = 1; n <= 8; ++n) {
        const auto s = sp::bessel_start(n, z);
        EXPECT_EQ(s->count, s0->count);
        EXPECT_EQ(s->nstart, s0->nstart);
        EXPECT_CBITEQ(s->seed, s0->seed);
    }
    // n > m0: no stop before step n - m0 + 1, so nstart >= n + 1.
    for (std::int32_t n = 9; n <= 60; ++n) {
        const auto s = sp::bessel_start(n, z);
        EXPECT_GE(s->count, n - 8 + 1) << n;
        EXPECT_GE(s->nstart, n + 1) << n;
    }
}

TEST(BesselSearch, SeedIsTheLastTrialValue) {
    // z = 1: c = 4, q = 0, 1, 4, 15, 56, ... (q_{j+1} = 4 q_j - q_{j-1}); the
    // search stops in step 10, so the seed is q_12 = 2107560, exact in double.
    const auto s = sp::bessel_start(0, {1.0, 0.0});
    double q0 = 0.0, q1 = 1.0;
    for (int j = 1; j < 12; ++j) {
        const double q2 = 4.0 * q1 - q0;
        q0 = q1;
        q1 = q2;
    }
    EXPECT_BITEQ(s->seed.re, q1);
    EXPECT_BITEQ(s->seed.re, 2107560.0);
    EXPECT_BITEQ(s->seed.im, 0.0);
}

TEST(BesselValue, NormaliserAndRecurrence) {
    // With nstart = 1 the sequence is (1/seed, 0); the normaliser is w_0 for
    // real z and w_0 e^{-+iz} otherwise, so J_0 is 1 and e^{-+iz}.
    const cplx seed{3.0, -1.0};
    std::vector<cplx> w(2);
    sp::bessel_recurrence(w, {0.25, 0.5}, seed);
    EXPECT_CBITEQ(w[1], (cplx{0.0, 0.0}));
    EXPECT_CBITEQ(w[0], velk::cdiv({1.0, 0.0}, seed));
    EXPECT_CBITEQ(sp::bessel_normaliser(w, {1e-6, 0.0}), w[0]);
    EXPECT_CBITEQ(sp::bessel_normaliser(w, {1e-6, 1e-6}), w[0] * velk::cexp({-1e-6, 1e-6}));
    EXPECT_CBITEQ(sp::bessel_normaliser(w, {1e-6, -1e-6}), w[0] * velk::cexp({-1e-6, -1e-6}));
    EXPECT_CBITEQ(sp::bessel_normaliser(w, {1e-6, velk::qnan}), (cplx{0.0, 0.0}));

    // For n = 0 and |z| <= sqrt(2) 1e-5 the search stops in step 1.
    for (const cplx z : {cplx{1e-5, 0.0}, cplx{5e-6, 5e-6}, cplx{-5e-6, -5e-6}}) {
        const auto s = sp::bessel_start(0, z);
        EXPECT_EQ(s->count, 1);
        EXPECT_EQ(s->nstart, 1);
    }
    EXPECT_CBITEQ(sp::besselj_plain(0, {1e-5, 0.0}), (cplx{1.0, 0.0}));
    const cplx e_minus = sp::besselj_plain(0, {5e-6, 5e-6});  // e^{-iz} to rounding
    const cplx want = velk::cexp({5e-6, -5e-6});
    EXPECT_LT(velk::test::rel_error(e_minus.re, want.re), 1e-15);
    EXPECT_LT(velk::test::rel_error(e_minus.im, want.im), 1e-15);

    // The rotations: Im z > 0 sums 2 (-i)^k w_k, Im z < 0 sums 2 i^k w_k.
    std::vector<cplx> v{{1.0, 0.0}, {0.5, 0.25}, {0.125, 0.0625}, {0.03125, 0.015625}, {0.0, 0.0}};
    const cplx up = sp::bessel_normaliser(v, {0.0, 1.0});    // times e^{i(i)} = e^-1
    const cplx down = sp::bessel_normaliser(v, {0.0, -1.0});  // times e^{-i(-i)} = e^-1
    // 2 (-i)^k w_k: (0.5, -1), (-0.25, -0.125), (-0.03125, 0.0625), 0; w_0 last.
    const cplx s_up{1.0 + (0.5 - 0.25 - 0.03125), (-1.0 - 0.125) + 0.0625};
    // 2 i^k w_k: (-0.5, 1), (-0.25, -0.125), (0.03125, -0.0625), 0.
    const cplx s_down{1.0 + (-0.5 - 0.25 + 0.03125), (1.0 - 0.125) - 0.0625};
    EXPECT_CBITEQ(up, s_up * velk::cexp({-1.0, 0.0}));
    EXPECT_CBITEQ(down, s_down * velk::cexp({-1.0, -0.0}));
}

TEST(BesselValue, ConjugateSymmetryAndRealArguments) {
    // Im z != 0; for real z the sign of a zero imaginary part is not mirrored.
    const cplx zs[] = {{3.0, 2.0}, {0.5, 0.75}, {-2.5, 4.0}, {9.75, 0.125},
                       {14.5, 1.0}, {40.0, 25.0}, {300.0, -300.0}, {1e-3, 2e-3}};
    for (const cplx z : zs)
        for (std::int32_t n : {0, 1, 2, 7, 30, -3}) {
            const cplx j = sp::besselj_plain(n, z);
            const cplx jc = sp::besselj_plain(n, conj(z));
            ASSERT_TRUE(std::isfinite(j.re) && std::isfinite(j.im)) << z.re << ", n = " << n;
            EXPECT_CBITEQ(jc, conj(j)) << z.re << " + " << z.im << "i, n = " << n;
        }
    for (const double x : {0.1, 1.0, 2.5, 14.5, 14.7, 33.3, 120.0, -5.5})
        for (std::int32_t n : {0, 1, 4, 11}) {
            const cplx j = sp::besselj_plain(n, {x, 0.0});
            EXPECT_EQ(j.im, 0.0) << x << " n = " << n;
            EXPECT_TRUE(std::isfinite(j.re)) << x << " n = " << n;
        }
}

TEST(BesselValue, NegativeOrders) {
    const cplx zs[] = {{1.0, 0.0}, {3.0, 2.0}, {2.0, -2.0}, {20.0, -20.0}};
    for (const cplx z : zs)
        for (std::int32_t n = 1; n <= 12; ++n) {
            const cplx j = sp::besselj_plain(n, z);
            const cplx jn = exported_j(-n, z);
            if (n % 2 == 0) {
                EXPECT_CBITEQ(jn, j);
            } else {
                EXPECT_CBITEQ(jn, (cplx{-j.re, -j.im}));
            }
        }
    EXPECT_QNAN_PAIR(exported_j(kMinI32, {3.0, 2.0}));
}

TEST(BesselFaults, QuietNaN) {
    // z = 0 and an overflowing trial sequence give NaN as they come.
    for (std::int32_t n : {0, 1, 5}) {
        const cplx j = exported_j(n, {0.0, 0.0});
        EXPECT_TRUE(std::isnan(j.re) && std::isnan(j.im)) << n;
    }
    EXPECT_TRUE(std::isnan(exported_j(0, {1e-160, 0.0}).re));

    // Non-finite |z| and m0 + 202 beyond int32: no search at all.
    const double inf = std::numeric_limits<double>::infinity();
    const cplx bad[] = {{inf, 0.0}, {0.0, -inf}, {velk::qnan, 1.0}, {1.0, velk::qnan},
                        {2147483446.0, 0.0}, {1e300, 1e300}};
    for (const cplx z : bad) {
        EXPECT_FALSE(sp::bessel_start(0, z).has_value()) << z.re << ", " << z.im;
        EXPECT_QNAN_PAIR(exported_j(0, z));
    }
    EXPECT_TRUE(sp::bessel_start(0, {2147483445.0, 0.0}).has_value());

    // Orders beyond m0 + 199: S is never formed and nstart = m0 + 201; only
    // n = m0 + 200 lies inside the work sequence.
    const cplx z{3.0, 2.0};  // m0 = 3
    for (std::int32_t n : {203, 204, 205, kMaxI32}) {
        const auto s = sp::bessel_start(n, z);
        EXPECT_EQ(s->count, 201) << n;
        EXPECT_EQ(s->nstart, 204) << n;
    }
    const auto s = sp::bessel_start(203, z);
    EXPECT_CBITEQ(exported_j(203, z), sp::normbesselj(203, z, 204, s->seed));
    for (std::int32_t n : {204, 205, 100000, kMaxI32}) EXPECT_QNAN_PAIR(exported_j(n, z)) << n;
    for (std::int32_t n : {-204, -kMaxI32}) EXPECT_QNAN_PAIR(exported_j(n, z)) << n;
}

TEST(NormBesselJ, DirectCalls) {
    const velk_complex z{3.0, 2.0};
    const auto s = sp::bessel_start(0, {z.re, z.im});
    const velk_complex seed{s->seed.re, s->seed.im};
    auto call = [&](std::int32_t n, std::int32_t nstart) {
        velk_complex out{-1.0, -1.0};
        // count is not read: a null address is fine.
        const velk_complex *ret = __velk_MOD_normbesselj(&out, &n, &z, &nstart, nullptr, &seed);
        EXPECT_EQ(ret, &out);
        return cplx{out.re, out.im};
    };
    // With the search's nstart and seed it is besselj (n <= m0 = 3).
    for (std::int32_t n : {0, 1, 2, 3})
        EXPECT_CBITEQ(call(n, s->nstart), exported_j(n, {z.re, z.im})) << n;
    // n = nstart reads w_nstart = 0.
    const cplx top = call(19, 19);
    EXPECT_EQ(top.re, 0.0);
    EXPECT_EQ(top.im, 0.0);
    // Other start indices give other, finite approximations.
    EXPECT_TRUE(std::isfinite(call(0, 1).re));
    // Outside the work sequence.
    const std::int32_t bad[][2] = {{0, 0}, {0, -1}, {0, kMinI32}, {-1, 19}, {20, 19},
                                   {kMaxI32, 19}, {kMinI32, 19}};
    for (const auto &b : bad) EXPECT_QNAN_PAIR(call(b[0], b[1])) << b[0] << ", " << b[1];
    // A NaN imaginary part: N = 0.
    EXPECT_TRUE(std::isnan(sp::normbesselj(0, {1.0, velk::qnan}, 5, {1.0, 0.0}).re));
}

TEST(NormBesselJ, ResultAreaMayAliasTheArgument) {
    velk_complex z{3.0, 2.0};
    const std::int32_t n = 0;
    const cplx want = exported_j(0, {3.0, 2.0});
    __velk_MOD_besselj(&z, &n, &z);
    EXPECT_BITEQ(z.re, want.re);
    EXPECT_BITEQ(z.im, want.im);
}

}  // namespace
