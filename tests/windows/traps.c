/*
 * A Windows host that traps floating-point exceptions, as a Delphi program
 * does: loads the DLL and calls every routine with the physical arguments of
 * tests/host/sweep.c under several control states, checking that
 *  - no call raises the invalid, divide-by-zero or overflow flag (x87 status
 *    word or MXCSR) with the exceptions masked;
 *  - no call traps with them unmasked (x87 control word 0x1332, MXCSR
 *    0x1900: invalid, divide-by-zero and overflow unmasked, 64-bit precision);
 *  - every call leaves the x87 control word and the MXCSR control bits as it
 *    found them;
 *  - the results are the same bits with the x87 precision control at 24, 53
 *    and 64 bits and under the Delphi control words.
 * A trap ends the program with a message naming the routine.
 *
 * usage: traps.exe [path of the DLL] [calls per routine]
 * Prints one line per failure and closes with "traps: N calls, M failed".
 */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "host/callpack.h"
#include "host/sweep.h"

#if defined(_WIN64)
#define DEFAULT_DLL "velk_64bit.dll"
#else
#define DEFAULT_DLL "velk_32bit.dll"
#endif

static unsigned read_mxcsr(void) {
    unsigned m;
    __asm__ __volatile__("stmxcsr %0" : "=m"(m) : : "memory");
    return m;
}
static void write_mxcsr(unsigned m) { __asm__ __volatile__("ldmxcsr %0" : : "m"(m) : "memory"); }
static unsigned short read_cw(void) {
    unsigned short cw;
    __asm__ __volatile__("fnstcw %0" : "=m"(cw) : : "memory");
    return cw;
}
static void write_cw(unsigned short cw) { __asm__ __volatile__("fldcw %0" : : "m"(cw) : "memory"); }
static unsigned short read_sw(void) {
    unsigned short sw;
    __asm__ __volatile__("fnstsw %0" : "=m"(sw) : : "memory");
    return sw;
}
static void clear_flags(void) {
    __asm__ __volatile__("fnclex" : : : "memory");
    write_mxcsr(read_mxcsr() & ~0x3fu);
}

static const char *volatile current = "";

static LONG CALLBACK on_exception(EXCEPTION_POINTERS *e) {
    const DWORD code = e->ExceptionRecord->ExceptionCode;
    if (code == EXCEPTION_FLT_INVALID_OPERATION || code == EXCEPTION_FLT_DIVIDE_BY_ZERO ||
        code == EXCEPTION_FLT_OVERFLOW || code == STATUS_FLOAT_MULTIPLE_TRAPS ||
        code == STATUS_FLOAT_MULTIPLE_FAULTS || code == EXCEPTION_FLT_STACK_CHECK ||
        code == EXCEPTION_FLT_INEXACT_RESULT || code == EXCEPTION_FLT_UNDERFLOW ||
        code == EXCEPTION_FLT_DENORMAL_OPERAND) {
        printf("FAIL: floating-point trap 0x%08lx in %s\n", (unsigned long)code, current);
        fflush(stdout);
        ExitProcess(1);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

typedef struct state {
    const char *name;
    unsigned mxcsr;
    unsigned short cw;
} state;

static const state states[] = {
    {"x87 precision 24 bits", 0x1f80, 0x007f},
    {"x87 precision 53 bits", 0x1f80, 0x027f},
    {"x87 precision 64 bits", 0x1f80, 0x037f},
    {"Delphi control words", 0x1900, 0x1332},
};

static int failed, calls;

static void fail(const velk_row *row, const char *what, const double *in, int nin) {
    ++failed;
    if (failed > 50) return;
    printf("FAIL: %s: %s (", row->name, what);
    for (int k = 0; k < nin; ++k) printf("%s%.17g", k ? " " : "", in[k]);
    printf(")\n");
}

/* One call; returns the number of outputs. */
static int call(const velk_row *row, void *fn, int len, const double *in, int nin, double *out) {
    velk_pack pack;
    char err[128];
    if (velk_pack_build(&pack, row, len, in, nin) != 0) return -1;
    return velk_pack_call(&pack, fn, -1, out, VELK_MAXOUT, err, sizeof err);
}

int main(int argc, char **argv) {
    const char *path = argc > 1 ? argv[1] : DEFAULT_DLL;
    const int per = argc > 2 ? atoi(argv[2]) : 1000;
    HMODULE dll = LoadLibraryA(path);
    if (!dll) {
        printf("FAIL: cannot load %s\n", path);
        return 1;
    }
    AddVectoredExceptionHandler(1, on_exception);
    const unsigned mx0 = read_mxcsr();
    const unsigned short cw0 = read_cw();
    for (int k = 0; k < VELK_NROWS; ++k) {
        const velk_row *row = &velk_rows[k];
        if (row->kind != VELK_KIND_ROUTINE) continue;
        FARPROC p = GetProcAddress(dll, row->name);
        void *fn;
        memcpy(&fn, &p, sizeof fn);
        if (!fn) {
            printf("FAIL: %s not exported\n", row->name);
            ++failed;
            continue;
        }
        velk_rng r;
        velk_rng_seed(&r, 0x7472617000000000ull + (uint64_t)row->ordinal);
        current = row->name;
        for (int c = 0; c < per; ++c) {
            double in[VELK_MAXIN], want[VELK_MAXOUT], got[VELK_MAXOUT];
            int len = 0;
            const int nin = velk_sweep_inputs(row, 0, &r, in, &len);
            clear_flags();
            const int n = call(row, fn, len, in, nin, want);
            ++calls;
            const unsigned raised = ((read_sw() | read_mxcsr()) & 0x0du);
            if (n < 0) fail(row, "call failed", in, nin);
            if (raised) fail(row, "raised invalid, divide-by-zero or overflow", in, nin);
            clear_flags();
            for (size_t s = 0; s < sizeof states / sizeof states[0]; ++s) {
                write_mxcsr(states[s].mxcsr);
                write_cw(states[s].cw);
                const int m = call(row, fn, len, in, nin, got);
                const unsigned mx = read_mxcsr();
                const unsigned short cw = read_cw();
                write_cw(cw0);
                write_mxcsr(mx0);
                clear_flags();
                ++calls;
                if ((mx & 0xffc0u) != (states[s].mxcsr & 0xffc0u))
                    fail(row, states[s].name, in, nin), printf("  MXCSR changed to 0x%04x\n", mx);
                if ((cw | 0x40u) != (states[s].cw | 0x40u))
                    fail(row, states[s].name, in, nin), printf("  x87 control word changed to 0x%04x\n", cw);
                if (m != n || memcmp(got, want, (size_t)(n > 0 ? n : 0) * sizeof(double)) != 0)
                    fail(row, states[s].name, in, nin), printf("  results differ from the default state\n");
            }
        }
    }
    printf("traps: %d calls, %d failed\n", calls, failed);
    return failed ? 1 : 0;
}
