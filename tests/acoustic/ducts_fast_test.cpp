// df_ducts with the shared Bessel evaluation against the reference that
// evaluates every Bessel function on its own: the same bits (a NaN result
// NaN in both), over the benchmark chains and random ones.
#include <bit>
#include <cmath>
#include <random>
#include <vector>

#include "acoustic/ducts.hpp"
#include "support/bits.hpp"

namespace {

namespace ac = velk::acoustic;

bool same(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) ||
           std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

void expect_same(const std::vector<double> &r, const std::vector<double> &l, const ac::DuctGas &gas,
                 double a, double f, std::int32_t n) {
    const ac::DuctPerturbation fast = ac::duct_perturbation(r, l, gas, a, f, n, velk::Model{});
    const ac::DuctPerturbation plain = ac::duct_perturbation_plain(r, l, gas, a, f, n, velk::Model{});
    EXPECT_TRUE(same(fast.df, plain.df) && same(fast.g, plain.g))
        << r.size() << " sections, r0 = " << r[0] << ", f = " << f << ": fast "
        << velk::test::describe(fast.df) << " " << velk::test::describe(fast.g) << ", plain "
        << velk::test::describe(plain.df) << " " << velk::test::describe(plain.g);
}

// Argon at 273 K and 100 kPa.
const ac::DuctGas kArgon{1.7606, 520.3, 307.8, 1.6667, 0.01642, 2.1e-5};

TEST(DuctsFast, BenchmarkChains) {
    for (int sections : {1, 2, 4, 8}) {
        std::vector<double> r, l;
        for (int j = 0; j < sections; ++j) {
            r.push_back(0.5 + 2.5 * j / 7.0);
            l.push_back(20.0 + 5.0 * j);
        }
        for (double f : {2000.0, 5000.0, 10000.0}) expect_same(r, l, kArgon, 50.0, f, 2);
    }
}

TEST(DuctsFast, RandomChains) {
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int t = 0; t < 2000; ++t) {
        const int sections = 1 + t % 8;
        std::vector<double> r, l;
        for (int j = 0; j < sections; ++j) {
            r.push_back(std::exp(std::log(0.005) + unit(rng) * std::log(2000.0)));  // 0.005..10 mm
            l.push_back(0.1 + 100.0 * unit(rng));
        }
        ac::DuctGas gas = kArgon;
        gas.rho *= 0.01 + 10.0 * unit(rng);
        const double f = 100.0 + 20000.0 * unit(rng);
        expect_same(r, l, gas, 20.0 + 80.0 * unit(rng), f, 2 + t % 12);
    }
}

// Over many frequencies and many modes: each result the bits of one call,
// for random chains (wide sections, where the Bessel quotient overflows,
// included) and frequencies of every size, NaN and zero among them.
TEST(DuctsFast, SweepsOverFrequenciesAndModes) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int t = 0; t < 40; ++t) {
        const int sections = t % 5;  // none too
        std::vector<double> r, l;
        for (int j = 0; j < sections; ++j) {
            r.push_back(std::exp(std::log(0.005) + unit(rng) * std::log(4000.0)));  // to 20 mm
            l.push_back(0.1 + 100.0 * unit(rng));
        }
        std::vector<double> f{0.0, std::nan(""), 1e-3, 1e7};
        while (f.size() < 60) f.push_back(std::exp(std::log(10.0) + unit(rng) * std::log(3000.0)));
        const double a = 20.0 + 80.0 * unit(rng);
        std::vector<ac::DuctPerturbation> got(f.size());
        ac::duct_perturbation(r, l, kArgon, a, f, 2 + t % 12, velk::Model{}, got);
        for (std::size_t k = 0; k < f.size(); ++k) {
            const ac::DuctPerturbation want =
                ac::duct_perturbation(r, l, kArgon, a, f[k], 2 + t % 12, velk::Model{});
            EXPECT_TRUE(same(got[k].df, want.df) && same(got[k].g, want.g))
                << sections << " sections, f = " << f[k];
        }
        const std::vector<std::int32_t> modes{0, 1, 2, 5, 13, 16, 17, -3};
        std::vector<ac::DuctPerturbation> by_mode(modes.size());
        ac::duct_perturbation(r, l, kArgon, a, f[5], modes, velk::Model{}, by_mode);
        for (std::size_t k = 0; k < modes.size(); ++k) {
            const ac::DuctPerturbation want =
                ac::duct_perturbation(r, l, kArgon, a, f[5], modes[k], velk::Model{});
            EXPECT_TRUE(same(by_mode[k].df, want.df) && same(by_mode[k].g, want.g))
                << sections << " sections, mode " << modes[k];
        }
    }
}

}  // namespace
