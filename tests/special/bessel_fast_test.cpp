// The fast evaluation against the plain one: the same bits for every result
// over the benchmark grid and random arguments (a NaN result must be NaN in
// both; which NaN the hardware propagates is not part of the result).
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "special/bessel.hpp"
#include "special/bessel_fast.hpp"
#include "support/bits.hpp"

namespace {

using velk::cplx;
namespace sp = velk::special;

::testing::AssertionResult same_result(cplx fast, cplx plain) {
    auto same = [](double a, double b) {
        return (std::isnan(a) && std::isnan(b)) ||
               std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
    };
    if (same(fast.re, plain.re) && same(fast.im, plain.im)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "fast " << velk::test::describe(fast.re) << ", " << velk::test::describe(fast.im)
           << "\n plain " << velk::test::describe(plain.re) << ", "
           << velk::test::describe(plain.im);
}

cplx on_ray(double r) { return {r / std::sqrt(2.0), -r / std::sqrt(2.0)}; }

void expect_same(std::int32_t n, cplx z) {
    EXPECT_TRUE(same_result(sp::besselj_fast(n, z), sp::besselj_plain(n, z)))
        << "n = " << n << ", z = " << z.re << " + " << z.im << "i";
}

TEST(BesselFast, BenchmarkGrid) {
    for (double r : {0.5, 1.0, 5.0, 14.5, 35.0, 100.0, 700.0}) {
        for (std::int32_t n : {0, 1}) expect_same(n, on_ray(r));
        const sp::BesselPair p = sp::besselj10(on_ray(r));
        EXPECT_TRUE(same_result(p.j1, sp::besselj_plain(1, on_ray(r)))) << "r = " << r;
        EXPECT_TRUE(same_result(p.j0, sp::besselj_plain(0, on_ray(r)))) << "r = " << r;
    }
}

TEST(BesselFast, RandomArguments) {
    std::mt19937_64 rng(20261209);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double pi = 3.141592653589793;
    for (int t = 0; t < 30000; ++t) {
        // Moduli spread over 1e-3 .. 300 on a log scale, a few up to 2500.
        const double r = t % 50 == 0 ? 300.0 + 2200.0 * unit(rng)
                                     : std::exp(std::log(1e-3) + unit(rng) * std::log(3e5));
        double angle = -pi + 2.0 * pi * unit(rng);
        switch (t % 6) {
            case 0: angle = -pi / 4; break;   // the duct ray
            case 1: angle = 0.0; break;       // real
            case 2: angle = pi / 2; break;    // imaginary
            default: break;
        }
        const cplx z{r * std::cos(angle), r * std::sin(angle)};
        for (std::int32_t n : {0, 1, 2, 3, 7, -1, -4}) expect_same(n, z);
        const std::int32_t m0 = static_cast<std::int32_t>(std::floor(velk::cabs(z)));
        if (t % 10 == 0)
            for (std::int32_t n : {m0 + 5, m0 + 199, m0 + 200, m0 + 201}) expect_same(n, z);
        const sp::BesselPair p = sp::besselj10(z);
        EXPECT_TRUE(same_result(p.j1, sp::besselj_plain(1, z)));
        EXPECT_TRUE(same_result(p.j0, sp::besselj_plain(0, z)));
    }
}

TEST(BesselFast, SpecialArguments) {
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    const double tiny = std::numeric_limits<double>::denorm_min();
    for (cplx z : {cplx{0, 0}, cplx{-0.0, 0}, cplx{1e-160, 0}, cplx{1e-120, -1e-120},
                   cplx{tiny, 0}, cplx{nan, 1}, cplx{1, nan}, cplx{inf, 0}, cplx{0, -inf},
                   cplx{2147483000.0, 0}, cplx{-3, 2}, cplx{14.5, 0}, cplx{14.7, 0}}) {
        for (std::int32_t n : {0, 1, 2, 5, -3, std::numeric_limits<std::int32_t>::max(),
                               std::numeric_limits<std::int32_t>::min()})
            expect_same(n, z);
    }
}

TEST(BesselFast, DirectNormaliserCalls) {
    const cplx z{3.0, 2.0}, seed{0.25, -1.5};
    for (std::int32_t nstart : {-1, 0, 1, 2, 19, 60, 3000})
        for (std::int32_t n : {-1, 0, 1, 5, 19, 61})
            EXPECT_TRUE(same_result(sp::normbesselj_fast(n, z, nstart, seed),
                                    sp::normbesselj(n, z, nstart, seed)))
                << "n = " << n << ", nstart = " << nstart;
}

}  // namespace

namespace {

// Whether the search runs out, decided mostly without cabs, against the
// decision from cabs: the same answer and floor|z| at moduli within a few ulp
// of every integer up to 2200 and of the boundary |z|^2 = floor|z| + 201, at
// several angles (Pythagorean ones give integer moduli), and at random.
TEST(BesselFast, RunOutDecisionWithoutTheModulus) {
    auto check = [](cplx z) -> bool {
        std::int32_t m0 = -1;
        const bool plain = sp::search_runs_out_plain(0, z, m0);
        for (std::int32_t n : {0, 1, m0, m0 + 1, -1}) {
            std::int32_t fast_m0 = -2, plain_m0 = -2;
            const bool fast = sp::search_runs_out(n, z, fast_m0);
            EXPECT_EQ(fast, sp::search_runs_out_plain(n, z, plain_m0))
                << "n = " << n << ", z = " << velk::test::describe(z.re) << " "
                << velk::test::describe(z.im);
            if (fast) {
                EXPECT_EQ(fast_m0, plain_m0) << z.re << " " << z.im;
            }
        }
        return plain;
    };
    const double turns[][2] = {{0.6, 0.8}, {0.8, -0.6}, {-5.0 / 13.0, 12.0 / 13.0},
                               {1 / std::sqrt(2.0), -1 / std::sqrt(2.0)}, {1.0, 0.0},
                               {std::cos(1.0), std::sin(1.0)}, {1.0, 1e-200}};
    std::vector<double> moduli;
    for (int k = 1; k <= 2200; ++k) moduli.push_back(k);
    for (int m0 = 12; m0 <= 16; ++m0) moduli.push_back(std::sqrt(m0 + 201.0));
    int runs_out = 0;
    for (double r : moduli)
        for (const auto &t : turns)
            for (int j = -6; j <= 6; ++j) {
                const double s = r * (1.0 + j * 0x1p-52);
                runs_out += check({s * t[0], s * t[1]}) ? 1 : 0;
            }
    EXPECT_GT(runs_out, 0);
    std::mt19937_64 gen(17);
    std::uniform_real_distribution<double> lg(-1.0, 10.0), angle(-3.2, 3.2);
    for (int k = 0; k < 100000; ++k) {
        const double r = std::pow(10.0, lg(gen)), a = angle(gen);
        check({r * std::cos(a), r * std::sin(a)});
    }
}

TEST(BesselFast, SideBySidePairs) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int t = 0; t < 3000; ++t) {
        cplx z[2];
        for (cplx &x : z) {
            const double r = t % 3 == 0 ? 1.0 + 30.0 * unit(rng) : 10.0 + 1500.0 * unit(rng);
            const double angle = t % 2 == 0 ? -3.141592653589793 / 4 : -3.2 + 6.4 * unit(rng);
            x = {r * std::cos(angle), r * std::sin(angle)};
        }
        sp::BesselPair out[2];
        sp::besselj10(z, out);
        for (int s = 0; s < 2; ++s) {
            EXPECT_TRUE(same_result(out[s].j1, sp::besselj_plain(1, z[s])));
            EXPECT_TRUE(same_result(out[s].j0, sp::besselj_plain(0, z[s])));
        }
    }
}

}  // namespace
