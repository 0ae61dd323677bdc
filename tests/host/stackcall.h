/*
 * 32-bit x86: calls a cdecl routine with its arguments pushed from a list of
 * 32-bit words, entering it with the stack pointer at a chosen residue mod
 * 16, and checks that the routine left the stack pointer where its calling
 * convention puts it: cdecl where the call found it (the caller removes the
 * arguments), stdcall above the arguments (the callee removes them).
 */
#ifndef VELK_HOST_STACKCALL_H
#define VELK_HOST_STACKCALL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__i386__)
#define VELK_HAVE_STACK_CALL 1

/* What came back: eax and edx, and st(0) stored as double or float. */
typedef struct velk_raw {
    uint32_t eax;
    uint32_t edx;
    double st0;
    float st0f;
} velk_raw;

enum velk_fp { VELK_FP_NONE = 0, VELK_FP_SINGLE = 1, VELK_FP_DOUBLE = 2 };

/* Pushes words[nwords-1] ... words[0] and calls fn with esp = residue (mod 16)
 * at its first instruction; fp says whether st(0) holds a result to pop.
 * pops: the bytes the callee removes, 0 for cdecl (the caller removes the
 * arguments), 4 * nwords for stdcall.  Returns 0 when esp after the return
 * is esp before the call plus pops, 1 if not. */
int velk_stack_call(void *fn, const uint32_t *words, int nwords, int residue, int fp, int pops,
                    velk_raw *out);
/* A cdecl routine that returns the stack pointer it was entered with. */
uint32_t velk_entry_esp(void);
#else
#define VELK_HAVE_STACK_CALL 0
#endif

#ifdef __cplusplus
}
#endif

#endif
