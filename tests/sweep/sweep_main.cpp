// The cross-build sweep on Linux: every routine of the linked library with
// the seeded arguments of tests/host/sweep.c, one line of output bit patterns
// per call (compare.py holds the builds against each other).
//
// usage: velk_sweep [PHYSICAL HOSTILE] > FILE   (calls per routine; 4000 each)
//        velk_sweep --inputs NAME INDEX [PHYSICAL]  (the inputs of one call)
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "frame/dispatch.hpp"
#include "host/sweep.h"

namespace {

void *resolve(const char *name, void *) {
    const auto *row = velk::dispatch::find(name);
    return row ? row->address : nullptr;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc > 3 && std::string(argv[1]) == "--inputs") {
        const velk_row *row = velk_find_row(argv[2]);
        const int index = std::atoi(argv[3]);
        const int physical = argc > 4 ? std::atoi(argv[4]) : 4000;
        if (!row || row->kind != VELK_KIND_ROUTINE) return 2;
        velk_rng r;
        velk_rng_seed(&r, 0x76656c6b00000000ull + static_cast<std::uint64_t>(row->ordinal));
        double in[VELK_MAXIN];
        int len = 0, nin = 0;
        for (int c = 0; c <= index; ++c) nin = velk_sweep_inputs(row, c >= physical, &r, in, &len);
        std::printf("%s", row->name);
        for (int k = 0; k < nin; ++k) std::printf(" %.17g", in[k]);
        std::printf("\n");
        return 0;
    }
    const int physical = argc > 2 ? std::atoi(argv[1]) : 4000;
    const int hostile = argc > 2 ? std::atoi(argv[2]) : 4000;
    const int calls = velk_sweep_run(stdout, resolve, nullptr, physical, hostile);
    if (calls < 0) {
        std::fprintf(stderr, "velk_sweep: a call could not be made\n");
        return 1;
    }
    std::fprintf(stderr, "velk_sweep: %d calls\n", calls);
    return 0;
}
