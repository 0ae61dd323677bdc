// The routines over arrays against one call per argument: J_0, and J_1 with
// J_0, over 10^5 arguments on the duct ray with |z| spread over 1 to 700, and
// df_ducts of a two-section chain over 1000 frequencies.  Times per
// iteration; items/s counts arguments (frequencies).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "bench_args.hpp"
#include "velk/velk.hpp"

namespace velk::bench {

// The benchmark grid of the batch targets (the AMOS baseline of scripts/bench
// builds the same array): |z| = 1 + 699 k/(N - 1), z = |z|/sqrt(2) (1 - i).
std::vector<velk::complex> ray_array(std::size_t count) {
    std::vector<velk::complex> z(count);
    for (std::size_t k = 0; k < count; ++k) {
        const double r = 1.0 + 699.0 * static_cast<double>(k) / static_cast<double>(count - 1);
        z[k] = {r / std::sqrt(2.0), -r / std::sqrt(2.0)};
    }
    return z;
}

}  // namespace velk::bench

namespace {

constexpr std::size_t kArgs = 100000;

void per_argument(benchmark::State &s, std::size_t count) {
    s.SetItemsProcessed(static_cast<std::int64_t>(s.iterations()) *
                        static_cast<std::int64_t>(count));
}

void BM_J0_array(benchmark::State &s) {
    const std::vector<velk::complex> z = velk::bench::ray_array(kArgs);
    std::vector<velk::complex> out(z.size());
    for (auto _ : s) {
        velk::besselj(0, z, out);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    per_argument(s, z.size());
}

void BM_J0_single_calls(benchmark::State &s) {
    const std::vector<velk::complex> z = velk::bench::ray_array(kArgs);
    std::vector<velk::complex> out(z.size());
    for (auto _ : s) {
        for (std::size_t k = 0; k < z.size(); ++k) out[k] = velk::besselj(0, z[k]);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    per_argument(s, z.size());
}

void BM_J1J0_array(benchmark::State &s) {
    const std::vector<velk::complex> z = velk::bench::ray_array(kArgs);
    std::vector<velk::complex> j1(z.size()), j0(z.size());
    for (auto _ : s) {
        velk::besselj10(z, j1, j0);
        benchmark::DoNotOptimize(j1.data());
        benchmark::DoNotOptimize(j0.data());
        benchmark::ClobberMemory();
    }
    per_argument(s, z.size());
}

// A two-section chain over 1000 frequencies of 1 to 20 kHz.
struct Sweep {
    velk::bench::DuctCase d{2};
    velk::DuctGas gas{d.rho, d.cp, d.c, d.gamma, d.kappa, d.eta};
    std::vector<double> f;
    Sweep() {
        for (int k = 0; k < 1000; ++k) f.push_back(1000.0 + 19.0 * k);
    }
};

void BM_df_ducts_sweep(benchmark::State &s) {
    const Sweep w;
    std::vector<velk::Perturbation> out(w.f.size());
    for (auto _ : s) {
        velk::duct_perturbation(w.d.r, w.d.l, w.gas, w.d.a, w.f, w.d.mode, out);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    per_argument(s, w.f.size());
}

void BM_df_ducts_single_calls(benchmark::State &s) {
    const Sweep w;
    std::vector<velk::Perturbation> out(w.f.size());
    double df, g;
    for (auto _ : s) {
        for (std::size_t k = 0; k < w.f.size(); ++k) {
            df_ducts(w.d.r.data(), w.d.l.data(), &w.d.sections, &w.d.rho, &w.d.cp, &w.d.c,
                     &w.d.gamma, &w.d.kappa, &w.d.eta, &w.d.a, &w.f[k], &w.d.mode, &df, &g);
            out[k] = {df, g};
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    per_argument(s, w.f.size());
}

double best(const std::vector<double> &v) { return *std::min_element(v.begin(), v.end()); }

}  // namespace

// The passes over the array are timed as the AMOS baseline is
// (bench/amos_baseline.py): seven passes, the best of them, beside their mean.
#define VELK_BEST_OF_PASSES(bm)                                                         \
    BENCHMARK(bm)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ComputeStatistics( \
        "best", best)->DisplayAggregatesOnly(true)

VELK_BEST_OF_PASSES(BM_J0_array);
VELK_BEST_OF_PASSES(BM_J0_single_calls);
VELK_BEST_OF_PASSES(BM_J1J0_array);
BENCHMARK(BM_df_ducts_sweep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_df_ducts_single_calls)->Unit(benchmark::kMillisecond);
