// Runs the benchmarks, then prints the speed targets measured in this run:
// one exported besselj call (order 0, |z| = 35 on the duct ray) in at most
// 1.5 us; df_ducts for two sections in at most 0.55 times its eight besselj
// calls; no heap request for |z| below 2000; over arrays of 10^5 arguments on
// the duct ray, J_0 in at most 1.0 times (stretch 0.5) and J_1 with J_0 in at
// most 0.6 times AMOS's time per argument (VELK_AMOS_J0_NS and
// VELK_AMOS_J1J0_NS, measured by scripts/bench); df_ducts of a two-section
// chain over 1000 frequencies at least 3 times faster than 1000 single calls.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "special/bessel_lanes.hpp"
#include "support/alloc_probe.hpp"
#include "velk/velk.h"

namespace {

class Recorder : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> ns;  // run name -> real time per iteration, ns
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &r : runs)
            if (!r.error_occurred && r.iterations > 0)
                ns[r.benchmark_name()] = r.GetAdjustedRealTime() *
                                         (r.time_unit == benchmark::kMicrosecond   ? 1e3
                                          : r.time_unit == benchmark::kMillisecond ? 1e6
                                                                                   : 1.0);
        ConsoleReporter::ReportRuns(runs);
    }
};

long heap_requests_below_2000() {
    velk::test::arm(0);
    velk_complex out;
    for (double r = 0.25; r < 2000.0; r *= 1.07) {
        for (int32_t n : {0, 1}) {
            const velk_complex ray{r / std::sqrt(2.0), -r / std::sqrt(2.0)}, real{r, 0.0};
            __velk_MOD_besselj(&out, &n, &ray);
            __velk_MOD_besselj(&out, &n, &real);
        }
    }
    return velk::test::requests();
}

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Recorder rec;
    benchmark::RunSpecifiedBenchmarks(&rec);
    benchmark::Shutdown();

    std::printf("\nTargets\n");
    bool all = true;
    auto find = [&](const std::string &name) {
        const auto it = rec.ns.find(name);
        return it == rec.ns.end() ? NAN : it->second;
    };
    const double j35 = find("BM_besselj/n:0/z_milli:35000");
    if (!std::isnan(j35)) {
        const bool ok = j35 <= 1500.0;
        all = all && ok;
        std::printf("  besselj, order 0, |z| = 35 on the duct ray: %.3f us (target <= 1.5 us)  %s\n",
                    j35 / 1e3, ok ? "met" : "MISSED");
    }
    const double ducts = find("BM_df_ducts/sections:2");
    const double calls = find("BM_df_ducts_as_besselj_calls/sections:2");
    if (!std::isnan(ducts) && !std::isnan(calls)) {
        const bool ok = ducts <= 0.55 * calls;
        all = all && ok;
        std::printf("  df_ducts, 2 sections: %.3f us = %.3f x its 8 besselj calls (%.3f us; target <= 0.55)  %s\n",
                    ducts / 1e3, ducts / calls, calls / 1e3, ok ? "met" : "MISSED");
    }
    std::printf("  lanes of the routines over arrays: %s, %zu arguments per group\n",
                velk::special::lanes::best().target, velk::special::lanes::best().width);
    auto amos = [](const char *name) {
        const char *v = std::getenv(name);
        return v != nullptr && *v != '\0' ? std::atof(v) : NAN;
    };
    // Per argument, the best of seven passes (as the AMOS baseline) and their mean.
    const double n_args = 100000.0;
    auto passes = [&](const std::string &name, const char *statistic) {
        return find(name + "/iterations:1/repeats:7_" + statistic) / n_args;
    };
    const double j0 = passes("BM_J0_array", "best"), j0_mean = passes("BM_J0_array", "mean");
    const double j0_single = passes("BM_J0_single_calls", "best");
    const double j10 = passes("BM_J1J0_array", "best"), j10_mean = passes("BM_J1J0_array", "mean");
    const double amos_j0 = amos("VELK_AMOS_J0_NS"), amos_j10 = amos("VELK_AMOS_J1J0_NS");
    if (!std::isnan(j0) && !std::isnan(j0_single))
        std::printf("  J0 over 1e5 ray arguments: %.1f ns/arg, one call each %.1f ns/arg (%.2f x)\n",
                    j0, j0_single, j0 / j0_single);
    if (!std::isnan(j0) && !std::isnan(amos_j0)) {
        const bool ok = j0 <= amos_j0;
        all = all && ok;
        std::printf("  J0 over 1e5 ray arguments: %.1f ns/arg = %.2f x AMOS (%.1f ns/arg; target <= 1.0, "
                    "stretch 0.5)  %s\n    (best of 7 passes each; mean of ours %.1f ns/arg = %.2f x)\n",
                    j0, j0 / amos_j0, amos_j0,
                    ok ? (j0 <= 0.5 * amos_j0 ? "met, stretch met" : "met") : "MISSED", j0_mean,
                    j0_mean / amos_j0);
    }
    if (!std::isnan(j10) && !std::isnan(amos_j10)) {
        const bool ok = j10 <= 0.6 * amos_j10;
        all = all && ok;
        std::printf("  J1 and J0 over 1e5 ray arguments: %.1f ns/arg = %.2f x AMOS's two calls (%.1f ns/arg; "
                    "target <= 0.6)  %s\n    (best of 7 passes each; mean of ours %.1f ns/arg = %.2f x)\n",
                    j10, j10 / amos_j10, amos_j10, ok ? "met" : "MISSED", j10_mean, j10_mean / amos_j10);
    }
    const double sweep = find("BM_df_ducts_sweep");
    const double singles = find("BM_df_ducts_single_calls");
    if (!std::isnan(sweep) && !std::isnan(singles)) {
        const bool ok = singles >= 3.0 * sweep;
        all = all && ok;
        std::printf("  df_ducts, 2 sections over 1000 frequencies: %.3f ms, %.2f x faster than 1000 single "
                    "calls (%.3f ms; target >= 3)  %s\n",
                    sweep / 1e6, singles / sweep, singles / 1e6, ok ? "met" : "MISSED");
    }
    const long heap = heap_requests_below_2000();
    all = all && heap == 0;
    std::printf("  heap requests of besselj for |z| below 2000: %ld (target 0)  %s\n", heap,
                heap == 0 ? "met" : "MISSED");
    return all ? 0 : 3;
}
