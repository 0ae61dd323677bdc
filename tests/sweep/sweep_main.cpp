// The cross-build sweep on Linux: every routine of the linked library with
// the seeded arguments of tests/host/sweep.c, one line of output bit patterns
// per call (compare.py holds the builds against each other).
//
// usage: velk_sweep [PHYSICAL HOSTILE] > FILE   (calls per routine; 4000 each)
#include <cstdio>
#include <cstdlib>

#include "frame/dispatch.hpp"
#include "host/sweep.h"

namespace {

void *resolve(const char *name, void *) {
    const auto *row = velk::dispatch::find(name);
    return row ? row->address : nullptr;
}

}  // namespace

int main(int argc, char **argv) {
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
