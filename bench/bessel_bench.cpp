// Bessel functions on the duct ray, the duct model, and the duct model's
// work done as separate calls of the exported besselj.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "bench_args.hpp"
#include "special/bessel.hpp"
#include "velk/velk.h"

namespace {

velk_complex on_ray(double r) { return {r / std::sqrt(2.0), -r / std::sqrt(2.0)}; }

// args: order, |z| in thousandths
void BM_besselj(benchmark::State &s) {
    const int32_t n = static_cast<int32_t>(s.range(0));
    const velk_complex z = on_ray(static_cast<double>(s.range(1)) / 1000.0);
    velk_complex out;
    for (auto _ : s) {
        benchmark::DoNotOptimize(__velk_MOD_besselj(&out, &n, &z));
        benchmark::ClobberMemory();
    }
}

void BM_besselj_plain(benchmark::State &s) {
    const int32_t n = static_cast<int32_t>(s.range(0));
    const velk_complex z = on_ray(static_cast<double>(s.range(1)) / 1000.0);
    for (auto _ : s) benchmark::DoNotOptimize(velk::special::besselj_plain(n, {z.re, z.im}));
}

void BM_normbesselj(benchmark::State &s) {
    const int32_t n = 0;
    const velk_complex z = on_ray(35.0);
    const auto start = velk::special::bessel_start(n, {z.re, z.im});
    const int32_t nstart = start->nstart, count = start->count;
    const velk_complex seed{start->seed.re, start->seed.im};
    velk_complex out;
    for (auto _ : s) {
        benchmark::DoNotOptimize(__velk_MOD_normbesselj(&out, &n, &z, &nstart, &count, &seed));
        benchmark::ClobberMemory();
    }
}

void BM_df_ducts(benchmark::State &s) {
    const velk::bench::DuctCase d(static_cast<int32_t>(s.range(0)));
    std::size_t k = 0;
    double df, g;
    for (auto _ : s) {
        const double &f = d.frequencies[k++ % d.frequencies.size()];
        df_ducts(d.r.data(), d.l.data(), &d.sections, &d.rho, &d.cp, &d.c, &d.gamma, &d.kappa,
                 &d.eta, &d.a, &f, &d.mode, &df, &g);
        benchmark::DoNotOptimize(df);
        benchmark::DoNotOptimize(g);
    }
}

// The four Bessel evaluations per section that df_ducts needs, as separate
// calls of the exported besselj, at the same arguments.
void BM_df_ducts_as_besselj_calls(benchmark::State &s) {
    const velk::bench::DuctCase d(static_cast<int32_t>(s.range(0)));
    std::vector<std::vector<velk_complex>> args;
    for (double f : d.frequencies) args.push_back(d.bessel_arguments(f));
    const int32_t one = 1, zero = 0;
    std::size_t k = 0;
    velk_complex out;
    for (auto _ : s) {
        for (const velk_complex &z : args[k++ % args.size()]) {
            benchmark::DoNotOptimize(__velk_MOD_besselj(&out, &one, &z));
            benchmark::DoNotOptimize(__velk_MOD_besselj(&out, &zero, &z));
        }
        benchmark::ClobberMemory();
    }
}

void ray_grid(benchmark::internal::Benchmark *b) {
    for (int n : {0, 1})
        for (int r : {500, 1000, 5000, 14500, 35000, 100000, 700000}) b->Args({n, r});
}

}  // namespace

BENCHMARK(BM_besselj)->Apply(ray_grid)->ArgNames({"n", "z_milli"});
BENCHMARK(BM_besselj_plain)->Apply(ray_grid)->ArgNames({"n", "z_milli"});
BENCHMARK(BM_normbesselj);
BENCHMARK(BM_df_ducts)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->ArgName("sections");
BENCHMARK(BM_df_ducts_as_besselj_calls)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->ArgName("sections");
