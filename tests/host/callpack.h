/*
 * Calls of any export from a C host, driven by the export table.
 *
 * velk_rows (generated from the export table) gives every row with a caller
 * of the routine's own type.  A velk_pack holds one call: a slot for every
 * parameter, filled from a flat list of input numbers, and the outputs read
 * back as doubles in a fixed order.  velk_cases (cases.inc) are the reference
 * calls with their expected outputs.  Plain C, so that the same code runs in
 * the Windows host programs and in the Linux tests.
 *
 * Flat input list, one entry per parameter in order:
 *   d, x, C, vf, vi, i   one number (an int32 is given as a double)
 *   z, d2                two numbers (real part first)
 *   dN                   `len` numbers (len: a field of the case)
 *   desc                 two numbers: the stride, and the index in an
 *                        8-double buffer (prefilled with VELK_FILL) of the
 *                        element the base address points at
 *   od, oz, oC           none
 * Output list: the result (double, single and complex results widened to
 * doubles, real part first), then for every parameter in order: od one
 * number, oC its rgas, desc the whole 8-double buffer.
 */
#ifndef VELK_HOST_CALLPACK_H
#define VELK_HOST_CALLPACK_H

#include <stddef.h>
#include <stdint.h>

#include "velk/velk.h"

#ifdef __cplusplus
extern "C" {
#endif

#define VELK_NROWS 42
#define VELK_MAXP 16    /* parameters of a routine */
#define VELK_MAXN 8     /* elements of a dN array */
#define VELK_SORTBUF 8  /* buffer behind a descriptor */
#define VELK_MAXIN 40
#define VELK_MAXOUT 16
#define VELK_FILL (-7.0)  /* buffer contents before a call */

enum velk_kind { VELK_KIND_ROUTINE, VELK_KIND_DATA, VELK_KIND_RODATA };
enum velk_res {
    VELK_RES_DOUBLE, VELK_RES_SINGLE, VELK_RES_COMPLEX, VELK_RES_NONE, VELK_RES_CSINGLE,
    VELK_RES_DATA
};
enum velk_type {
    VELK_T_D, VELK_T_I, VELK_T_Z, VELK_T_D2, VELK_T_DN, VELK_T_X, VELK_T_OD, VELK_T_OZ,
    VELK_T_C, VELK_T_OC, VELK_T_DESC, VELK_T_VF, VELK_T_VI
};

typedef struct velk_value {
    double d;
    float f;
    velk_complex *p;
    uint64_t u;
} velk_value;

typedef struct velk_byval {
    float f[2];
    int32_t i;
} velk_byval;

typedef void (*velk_caller)(void *fn, void *const *args, const velk_byval *byval,
                            velk_value *out);

/* 32-bit Windows: the hosts also call the stdcall DLL. */
#if defined(_WIN32) && defined(__i386__)
#define VELK_HAVE_STDCALL 1
#else
#define VELK_HAVE_STDCALL 0
#endif

typedef struct velk_row {
    int ordinal;
    const char *name;
    int kind;    /* enum velk_kind */
    int result;  /* enum velk_res */
    const char *spec;
    int nparam;             /* routines only: the parameters, */
    int type[VELK_MAXP];    /* their types (enum velk_type) */
    int table[VELK_MAXP];   /* and for a mode number the size of its table, else 0 */
    velk_caller caller;     /* routines only */
    velk_caller stdcall;    /* the same through a stdcall pointer (VELK_HAVE_STDCALL) */
} velk_row;

extern const velk_row velk_rows[VELK_NROWS];
const velk_row *velk_find_row(const char *name);

/* Comparison modes of a reference call. */
enum velk_mode {
    VELK_MODE_BITS,   /* bit for bit; an expected NaN stands for any quiet NaN */
    VELK_MODE_LIBM,   /* bit for bit with the C runtime the reference was made with,
                         within tol ulps with another one */
    VELK_MODE_DIGITS  /* relative error at most 10^-tol (an expected 0 exactly) */
};

typedef struct velk_case {
    const char *routine;
    int mode;
    int tol;
    int len;  /* elements of each dN array */
    int nin;
    double in[VELK_MAXIN];
    int nout;
    double out[VELK_MAXOUT];
    const char *source;
    int line;
} velk_case;

extern const velk_case velk_cases[];
extern const int velk_ncases;

typedef struct velk_pack {
    const velk_row *row;
    int nparam;
    int type[VELK_MAXP];
    int len;
    double d[VELK_MAXP]; /* d, x, od */
    int32_t i[VELK_MAXP];
    velk_complex z[VELK_MAXP]; /* z, oz */
    double arr[VELK_MAXP][VELK_MAXN];
    Constants rec[VELK_MAXP];
    velk_descriptor desc;
    double buf[VELK_SORTBUF];
    velk_byval byval;
    void *args[VELK_MAXP];
} velk_pack;

/* Fills a pack for one call of `row` from a flat input list; 0 on success,
 * -1 if the list does not fit the row's parameters. */
int velk_pack_build(velk_pack *p, const velk_row *row, int len, const double *in, int nin);
/* Replaces component `elem` (0 for scalars; 1 the imaginary part of a complex
 * or the base index of a descriptor; the element of an array) of the input of
 * parameter `param`.  An int32 takes (int32_t)v. */
void velk_pack_set(velk_pack *p, int param, int elem, double v);
/* Passes a null address for parameter `param`. */
void velk_pack_null(velk_pack *p, int param);

/* The pattern an output holds before the call (a signalling NaN). */
double velk_unwritten(void);

/* Calls `fn` with the pack.  residue < 0: an ordinary call through the row's
 * typed caller.  residue 0..15 (32-bit x86 only): through the stack
 * trampoline, the routine entered with esp = residue mod 16.  Writes the
 * outputs to out and returns their number; -1 when the call went wrong (the
 * stack pointer is not where the convention leaves it, or a complex routine
 * returned another address than its result area), with a message in err. */
int velk_pack_call(velk_pack *p, void *fn, int residue, double *out, int maxout, char *err,
                   size_t errlen);
/* The same call with the stdcall convention, where the callee removes its
 * arguments (32-bit Windows, VELK_HAVE_STDCALL): residue < 0 through the
 * row's stdcall pointer, else through the trampoline. */
int velk_pack_call_stdcall(velk_pack *p, void *fn, int residue, double *out, int maxout,
                           char *err, size_t errlen);

/* Compares outputs with a case; 0 if they agree, else -1 and a message.
 * same_runtime: the C runtime is the one the references were made with. */
int velk_compare(const velk_case *c, const double *got, int nout, int same_runtime, char *msg,
                 size_t msglen);

/* Runs one case against `fn`; 0 if it passes, else -1 and a message. */
int velk_run_case(const velk_case *c, void *fn, int residue, int same_runtime, char *msg,
                  size_t msglen);

/* Distance in ulps between two finite doubles of the same sign, else a huge value. */
double velk_ulps(double a, double b);

#ifdef __cplusplus
}
#endif

#endif
