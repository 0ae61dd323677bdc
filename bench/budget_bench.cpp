// The built-in budget of the command-line tool: the arithmetic alone, and
// the whole job (parse the example, compute, format the table); the built-in
// reduction alone and with its propagated uncertainties.
#include <benchmark/benchmark.h>

#include "json_input.hpp"
#include "report.hpp"

namespace {

// The arithmetic without the uncertainties (one budget), and with them (the
// budget again for each uncertain input, moved up and down).
void BM_budget_compute(benchmark::State &s) {
    velk::analysis::Input in =
        velk::analysis::read_input(nlohmann::json::parse(velk::tool::example_text()));
    in.u.clear();
    for (auto _ : s) benchmark::DoNotOptimize(velk::analysis::compute(in));
}

void BM_budget_uncertainties(benchmark::State &s) {
    const velk::analysis::Input in =
        velk::analysis::read_input(nlohmann::json::parse(velk::tool::example_text()));
    for (auto _ : s) benchmark::DoNotOptimize(velk::analysis::compute(in));
}

void BM_budget_table(benchmark::State &s) {
    for (auto _ : s) {
        const velk::analysis::Input in =
            velk::analysis::read_input(nlohmann::json::parse(velk::tool::example_text()));
        benchmark::DoNotOptimize(velk::tool::table_report(velk::analysis::compute(in)));
    }
}

void BM_reduce(benchmark::State &s) {
    const velk::analysis::ReduceInput in = velk::analysis::read_reduce_input(
        nlohmann::json::parse(velk::tool::reduce_example_text()));
    for (auto _ : s) benchmark::DoNotOptimize(velk::analysis::reduce(in));
}

void BM_reduce_uncertainties(benchmark::State &s) {
    const velk::analysis::ReduceInput in = velk::analysis::read_reduce_input(
        nlohmann::json::parse(velk::tool::reduce_example_text()));
    const velk::analysis::Reduction r = velk::analysis::reduce(in);
    for (auto _ : s) benchmark::DoNotOptimize(velk::analysis::propagate(in, r));
}

}  // namespace

BENCHMARK(BM_reduce)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_reduce_uncertainties)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_budget_compute)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_budget_uncertainties)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_budget_table)->Unit(benchmark::kMicrosecond);
