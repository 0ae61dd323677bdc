// Runs the benchmarks, then prints the speed targets measured in this run:
// one exported besselj call (order 0, |z| = 35 on the duct ray) in at most
// 1.5 us; df_ducts for two sections in at most 0.55 times its eight besselj
// calls; no heap request for |z| below 2000.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>

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
    const long heap = heap_requests_below_2000();
    all = all && heap == 0;
    std::printf("  heap requests of besselj for |z| below 2000: %ld (target 0)  %s\n", heap,
                heap == 0 ? "met" : "MISSED");
    return all ? 0 : 3;
}
