// The built-in budget of the command-line tool: the arithmetic alone, and
// the whole job (parse the example, compute, format the table).
#include <benchmark/benchmark.h>

#include "json_input.hpp"
#include "report.hpp"

namespace {

void BM_budget_compute(benchmark::State &s) {
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

}  // namespace

BENCHMARK(BM_budget_compute)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_budget_table)->Unit(benchmark::kMicrosecond);
