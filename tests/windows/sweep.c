/*
 * The cross-build sweep in a Windows host: loads the DLL and writes one line
 * of output bit patterns per call (tests/host/sweep.c), for
 * tests/sweep/compare.py.
 *
 * usage: sweep.exe DLL OUTPUT [PHYSICAL HOSTILE]
 */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "host/sweep.h"

static void *resolve(const char *name, void *ctx) {
    const velk_row *row = velk_find_row(name);
    if (!row) return NULL;
    FARPROC p = GetProcAddress((HMODULE)ctx, name);
    void *v;
    memcpy(&v, &p, sizeof v);
    return v;
}

int main(int argc, char **argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: sweep.exe DLL OUTPUT [PHYSICAL HOSTILE]\n");
        return 2;
    }
    HMODULE dll = LoadLibraryA(argv[1]);
    if (!dll) {
        fprintf(stderr, "sweep: cannot load %s\n", argv[1]);
        return 1;
    }
    FILE *out = fopen(argv[2], "wb");
    if (!out) {
        fprintf(stderr, "sweep: cannot write %s\n", argv[2]);
        return 1;
    }
    const int physical = argc > 4 ? atoi(argv[3]) : 4000;
    const int hostile = argc > 4 ? atoi(argv[4]) : 4000;
    const int calls = velk_sweep_run(out, resolve, dll, physical, hostile);
    fclose(out);
    if (calls < 0) {
        fprintf(stderr, "sweep: a call could not be made\n");
        return 1;
    }
    fprintf(stderr, "sweep: %d calls\n", calls);
    return 0;
}
