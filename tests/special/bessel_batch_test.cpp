// The Bessel functions over arrays against the single evaluation: the same
// bits for every argument (a NaN result NaN in both), on every instruction
// set of the lanes that this processor runs, over the benchmark grid on the
// duct ray and a large random set.
#include <algorithm>
#include <bit>
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "special/bessel_batch.hpp"
#include "special/bessel_fast.hpp"
#include "special/bessel_lanes.hpp"
#include "support/bits.hpp"
#include "velk/velk.hpp"

namespace {

using velk::cplx;
namespace sp = velk::special;

bool same(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) ||
           std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}
bool same(cplx a, cplx b) { return same(a.re, b.re) && same(a.im, b.im); }

std::string show(cplx z) {
    return velk::test::describe(z.re) + " " + velk::test::describe(z.im);
}

// The benchmark grid: 10^4 arguments on the ray arg z = -pi/4 with |z|
// spread over 1 to 700, as the duct model forms them (x(1 - i)).
std::vector<cplx> ray_grid() {
    std::vector<cplx> z;
    for (int k = 0; k < 10000; ++k) {
        const double x = (1.0 + 699.0 * k / 9999.0) / std::sqrt(2.0);
        z.push_back({x, -x});
    }
    return z;
}

// Random arguments of every kind: any angle, |z| log-uniform over 1e-3 to
// 3000, real and imaginary ones, both signs of each part, the exact ray, and
// zero, infinite and NaN parts.
std::vector<cplx> random_set(std::size_t count) {
    std::mt19937_64 gen(20261210);
    std::uniform_real_distribution<double> angle(-3.14159265358979, 3.14159265358979);
    std::uniform_real_distribution<double> lg(-3.0, std::log10(3000.0));
    std::uniform_int_distribution<int> kind(0, 9);
    std::vector<cplx> z;
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    for (cplx s : {cplx{0, 0}, cplx{inf, 1}, cplx{1, nan}, cplx{nan, nan}, cplx{-0.0, 30},
                   cplx{30, -0.0}, cplx{1e300, 1e300}})
        z.push_back(s);
    while (z.size() < count) {
        const double r = std::pow(10.0, lg(gen)), a = angle(gen);
        switch (kind(gen)) {
            case 0: z.push_back({r, 0.0}); break;
            case 1: z.push_back({0.0, -r}); break;
            case 2: z.push_back({r / std::sqrt(2.0), -r / std::sqrt(2.0)}); break;  // ray
            case 3: z.push_back({-r / std::sqrt(2.0), r / std::sqrt(2.0)}); break;
            case 4: z.push_back({r, r}); break;
            default: z.push_back({r * std::cos(a), r * std::sin(a)}); break;
        }
    }
    return z;
}

std::vector<const sp::lanes::Kernels *> instruction_sets() {
    const sp::lanes::Kernels *sets[16];
    const std::size_t n = sp::lanes::available(sets, 16);
    return {sets, sets + n};
}

TEST(BesselBatch, EveryInstructionSetIsListed) {
    const auto sets = instruction_sets();
    ASSERT_FALSE(sets.empty());
    EXPECT_EQ(sets.front()->width, sp::lanes::best().width);
    for (const auto *k : sets) std::printf("  lanes: %s, %zu per group\n", k->target, k->width);
}

TEST(BesselBatch, PairsBitForBitOnEveryInstructionSet) {
    for (const std::vector<cplx> &z : {ray_grid(), random_set(20000)}) {
        std::vector<sp::BesselPair> want(z.size());
        for (std::size_t k = 0; k < z.size(); ++k)
            want[k] = {sp::besselj_fast(1, z[k]), sp::besselj_fast(0, z[k])};
        for (const auto *kernels : instruction_sets()) {
            std::vector<sp::BesselPair> got(z.size());
            sp::besselj10_batch(z, got, *kernels);
            int reported = 0;
            for (std::size_t k = 0; k < z.size(); ++k) {
                if (same(got[k].j1, want[k].j1) && same(got[k].j0, want[k].j0)) continue;
                ADD_FAILURE() << kernels->target << " z = " << show(z[k]) << ": J1 "
                              << show(got[k].j1) << " want " << show(want[k].j1) << ", J0 "
                              << show(got[k].j0) << " want " << show(want[k].j0);
                if (++reported == 5) break;
            }
        }
    }
}

TEST(BesselBatch, OrdersBitForBitOnEveryInstructionSet) {
    const std::vector<cplx> z = random_set(3000);
    for (std::int32_t n : {0, 1, 2, 7, 40, -1, -2, -7, std::numeric_limits<std::int32_t>::min()}) {
        std::vector<cplx> want(z.size());
        for (std::size_t k = 0; k < z.size(); ++k) want[k] = sp::besselj_fast(n, z[k]);
        for (const auto *kernels : instruction_sets()) {
            std::vector<cplx> got(z.size());
            sp::besselj_batch(n, z, got, *kernels);
            int reported = 0;
            for (std::size_t k = 0; k < z.size(); ++k) {
                if (same(got[k], want[k])) continue;
                ADD_FAILURE() << kernels->target << " n = " << n << " z = " << show(z[k])
                              << ": " << show(got[k]) << " want " << show(want[k]);
                if (++reported == 5) break;
            }
        }
    }
}

// The recurrence's bound of the rows it does not keep, on every instruction
// set: never below a part of those members (w_cut .. w_{nstart-1}, read from
// the same group run with every row kept) and not finite once one of them is
// not.  The batch leaves a lane to the scalar evaluation on it; no output can
// show a bound too low, since the rows above the cut change no sum on the
// benchmark grid.  Ray groups at |z| near 99 (finite members) and 2050
// (members that overflow), with the cut far below the start.
TEST(BesselBatch, RecurrenceBoundsTheRowsItDoesNotKeep) {
    namespace lanes = sp::lanes;
    for (const auto *kernels : instruction_sets()) {
        const std::size_t width = kernels->width;
        for (const double modulus : {99.0, 2050.0}) {
            std::vector<double> cre(width), cim(width), zre(width), zim(width), r(width, -1.0),
                t(width), wide(width, 0.0), nst(width), last_re(width), last_im(width),
                one(width, 1.0), zero(width, 0.0), bound(width);
            lanes::Group g{};
            g.kmax = 0;
            g.kmin = std::numeric_limits<std::int32_t>::max();
            for (std::size_t l = 0; l < width; ++l) {
                const double x = (modulus + 0.01 * static_cast<double>(l)) / std::sqrt(2.0);
                std::int32_t m0 = 0;
                ASSERT_TRUE(sp::search_runs_out(0, {x, -x}, m0));
                zre[l] = x;
                zim[l] = -x;
                t[l] = x + -x * -1.0;  // the divisor's scale, narrow with r = -1
                cre[l] = 2.0 * static_cast<double>(m0 + 1);
                nst[l] = static_cast<double>(m0 + 201);
                g.kmax = std::max(g.kmax, m0 + 201);
                g.kmin = std::min(g.kmin, m0 + 201);
            }
            const std::size_t rows = static_cast<std::size_t>(g.kmax) + 1;
            std::vector<double> quot(rows * width), all_re(rows * width), all_im(rows * width),
                w_re(rows * width), w_im(rows * width);
            g.cre = cre.data();
            g.cim = cim.data();
            g.r = r.data();
            g.t = t.data();
            g.wide = wide.data();
            g.nstart = nst.data();
            g.last_re = last_re.data();
            g.last_im = last_im.data();
            g.ray = true;
            g.quot = quot.data();
            g.bound = bound.data();
            g.q1 = 1;
            kernels->divide(cre.data(), zero.data(), zre.data(), zim.data(), cre.data(),
                            cim.data());
            kernels->trial(g, last_re.data(), last_im.data());
            kernels->divide(one.data(), zero.data(), last_re.data(), last_im.data(),
                            last_re.data(), last_im.data());
            g.table_ready = lanes::table_entries(g.kmax);
            g.cut = g.kmax + 1;
            kernels->recurrence(g, all_re.data(), all_im.data());
            g.cut = 300;
            kernels->recurrence(g, w_re.data(), w_im.data());
            int not_finite = 0;
            for (std::size_t l = 0; l < width; ++l) {
                const std::size_t top = static_cast<std::size_t>(nst[l]) - 1;
                double largest = std::max(std::fabs(last_re[l]), std::fabs(last_im[l]));
                bool finite = std::isfinite(last_re[l]) && std::isfinite(last_im[l]);
                for (std::size_t k = static_cast<std::size_t>(g.cut); k < top; ++k) {
                    const double re = all_re[k * width + l], im = all_im[k * width + l];
                    finite = finite && std::isfinite(re) && std::isfinite(im);
                    largest = std::max({largest, std::fabs(re), std::fabs(im)});
                }
                if (finite)
                    EXPECT_GE(bound[l], largest)
                        << kernels->target << " |z| " << modulus << " lane " << l;
                else
                    EXPECT_FALSE(std::isfinite(bound[l]))
                        << kernels->target << " |z| " << modulus << " lane " << l;
                not_finite += finite ? 0 : 1;
            }
            EXPECT_EQ(not_finite, modulus > 2000.0 ? static_cast<int>(width) : 0)
                << kernels->target << " |z| " << modulus;
        }
    }
}

// The C++ interface over arrays: the same values as one call per argument,
// the boundary-layer function included, and lengths that do not match.
TEST(BesselBatch, CppInterfaceOverArrays) {
    std::vector<velk::complex> z;
    for (cplx w : random_set(500)) z.push_back({w.re, w.im});
    std::vector<velk::complex> j0(z.size()), j1(z.size()), jn(z.size()), f(z.size());
    velk::besselj10(z, j1, j0);
    velk::besselj(-3, z, jn);
    velk::boundary_layer_function(z, f);
    auto eq = [](velk::complex a, velk::complex b) {
        return same(a.real(), b.real()) && same(a.imag(), b.imag());
    };
    for (std::size_t k = 0; k < z.size(); ++k) {
        EXPECT_TRUE(eq(j1[k], velk::besselj(1, z[k])) && eq(j0[k], velk::besselj(0, z[k])))
            << z[k];
        EXPECT_TRUE(eq(jn[k], velk::besselj(-3, z[k]))) << z[k];
        EXPECT_TRUE(eq(f[k], velk::boundary_layer_function(z[k]))) << z[k];
    }
    std::vector<velk::complex> short_out(z.size() - 1);
    EXPECT_THROW(velk::besselj(0, z, short_out), std::invalid_argument);
    EXPECT_THROW(velk::besselj10(z, j1, short_out), std::invalid_argument);
    EXPECT_THROW(velk::boundary_layer_function(z, short_out), std::invalid_argument);
    velk::besselj(0, {}, {});  // empty arrays: nothing to do
}

}  // namespace
