// The Bessel functions over arrays against the single evaluation: the same
// bits for every argument (a NaN result NaN in both), on every instruction
// set of the lanes that this processor runs, over the benchmark grid on the
// duct ray and a large random set.
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
