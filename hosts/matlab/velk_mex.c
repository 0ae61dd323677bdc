/*
 * velk for MATLAB and GNU Octave: a MEX gateway to the library's exports.
 *
 *   y = velk('ideal_frequency', 2, 307.85, 50)      % by readable name
 *   y = velk('f_id', 2, 307.85, 50)                 % or by export name
 *   [df, g] = velk('skin_perturbation_tm1n', dsk, 50, 1:13)
 *   j = velk('besselj', 0, 3 + 2i)
 *   velk('list')                                    % prints every name
 *   names = velk('list')                            % {readable, export, arguments}
 *
 * Build (links against libvelk.so or the DLL's import library):
 *   mkoctfile --mex -I<include> velk_mex.c -L<lib> -lvelk -o velk     (Octave)
 *   mex -I<include> velk_mex.c -L<lib> -lvelk -output velk            (MATLAB)
 *
 * Only the documented MEX C API is used.  Complex data are read and written
 * through mxGetComplexDoubles when the interleaved complex API is in effect
 * (MATLAB's -R2018a), through mxGetPr/mxGetPi otherwise.  Build for Octave
 * without -R2018a: Octave 7.3 gives a complex array made under that option
 * storage for its real parts only (a minimal gateway that creates one and
 * writes its two elements corrupts the heap), so complex results would
 * overrun it.
 *
 * Arguments, in the order of the export table (velk list of the command-line
 * tool, or velk('list') here):
 *  - every scalar argument (double, int32, complex, float) takes an array;
 *    the routine is called once per element, arrays of one size and scalars
 *    mixed (a scalar stands for every element); results have that size;
 *  - int32 arguments (mode numbers, orders) must hold whole numbers within
 *    the int32 range; complex arguments (Bessel functions) accept real and
 *    complex arrays, other arguments real ones only; all arrays are double;
 *  - the pair eps of second_order_ac (O2dZ2AC) is given as two
 *    arguments, eps1 and eps2;
 *  - the duct chain of duct_perturbation (df_ducts): rduct and lduct are
 *    vectors of the sections (not element-wise), nduct may be left out and
 *    then is their length;
 *  - the argument that bulk_halfwidth and thermal_halfwidth_hz never read (t)
 *    may be left out;
 *  - out arguments become outputs after the function value, in order;
 *    sort_frequencies gives its sorted values as three outputs, NaN where a value
 *    equal to -1 was dropped; cpowi's single-precision complex result comes
 *    back as a complex double;
 *  - a datum (gas_constant, acoustic_eigenvalues, ...) takes no argument and
 *    returns its value(s) as a column.
 * Errors carry an identifier: velk:unknownRoutine, velk:badArgument,
 * velk:sizeMismatch, velk:tooManyOutputs, velk:internal.
 */
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "mex.h"
#include "velk/velk.h"

#define MAXPARAM 16
#define MAXOUT 4

/* ---- The export table and the readable names ---------------------------- */

typedef struct export_row {
    const char *name;
    const char *kind;
    const char *result;
    const char *spec;
    const char *readable;
} export_row;

/* The first six columns of each row; columns added after them are ignored. */
#define VELK_SPEC(spec, ...) spec
#define VELK_READABLE(spec, readable, ...) #readable
#define VELK_EXPORT(ordinal, name, kind, result, ...) \
    {#name, #kind, #result, VELK_SPEC(__VA_ARGS__, 0), VELK_READABLE(__VA_ARGS__, 0)},
static const export_row export_rows[] = {
#include "export_table.inc"
};
#undef VELK_EXPORT
#undef VELK_SPEC
#undef VELK_READABLE
#define NROWS ((int)(sizeof export_rows / sizeof export_rows[0]))

/* One slot per parameter of a call; a[k] points into it. */
typedef struct value_out {
    double re, im;
} value_out;

/* Callers of each routine with the parameter types of its declaration. */
#define ARGS_1 a[0]
#define ARGS_2 ARGS_1, a[1]
#define ARGS_3 ARGS_2, a[2]
#define ARGS_4 ARGS_3, a[3]
#define ARGS_5 ARGS_4, a[4]
#define ARGS_6 ARGS_5, a[5]
#define ARGS_7 ARGS_6, a[6]
#define ARGS_8 ARGS_7, a[7]
#define ARGS_9 ARGS_8, a[8]
#define ARGS_14 ARGS_9, a[9], a[10], a[11], a[12], a[13]
#define ARGS_BYVAL *(const float *)a[0], *(const float *)a[1], *(const int32_t *)a[2]
#define NARGS_BYVAL 3
#define STORE_double(call) out->re = (call)
#define STORE_single(call) out->re = (double)(call)
#define STORE_complex(call) (void)(call) /* written to the area of a[0] */
#define STORE_none(call) (call)
#define STORE_csingle(call)                          \
    do {                                             \
        uint64_t bits = (call);                      \
        float part[2];                               \
        memcpy(part, &bits, sizeof part);            \
        out->re = part[0];                           \
        out->im = part[1];                           \
    } while (0)

#define VELK_NAME_ROUTINE(readable, name, result, arity)                    \
    static void call_##name(void *const *a, value_out *out) {              \
        (void)out;                                                          \
        STORE_##result(name(ARGS_##arity));                                 \
    }
#define VELK_NAME_DATA(readable, name, count)
#include "names.h"
#undef VELK_NAME_ROUTINE
#undef VELK_NAME_DATA

typedef struct name_row {
    const char *readable;
    const char *name;
    const char *result;         /* as names.h states it, compared with the table */
    int arity;                  /* likewise */
    void (*call)(void *const *a, value_out *out);
    const void *data;           /* a datum: its address */
    int count;                  /* a datum: its doubles */
} name_row;

#define VELK_NAME_ROUTINE(readable, name, result, arity) \
    {#readable, #name, #result, NARGS_##arity, call_##name, NULL, 0},
#define VELK_NAME_DATA(readable, name, count) {#readable, #name, "data", 0, NULL, &name, count},
#define NARGS_1 1
#define NARGS_2 2
#define NARGS_3 3
#define NARGS_4 4
#define NARGS_5 5
#define NARGS_6 6
#define NARGS_7 7
#define NARGS_8 8
#define NARGS_9 9
#define NARGS_14 14
static const name_row name_rows[] = {
#include "names.h"
};
#undef VELK_NAME_ROUTINE
#undef VELK_NAME_DATA

/* ---- Parameters, parsed from the export table's argument spec ----------- */

typedef enum ptype { P_D, P_I, P_Z, P_D2, P_DN, P_X, P_OD, P_OZ, P_C, P_OC, P_DESC, P_VF, P_VI } ptype;

typedef struct param {
    ptype type;
    char name[32];
    char unit[24];
} param;

static int parse_type(const char *t, size_t len, ptype *out) {
    static const struct {
        const char *s;
        ptype t;
    } types[] = {{"d", P_D},   {"i", P_I},   {"z", P_Z},   {"d2", P_D2},     {"dN", P_DN},
                 {"x", P_X},   {"od", P_OD}, {"oz", P_OZ}, {"C", P_C},       {"oC", P_OC},
                 {"desc", P_DESC}, {"vf", P_VF}, {"vi", P_VI}};
    for (size_t k = 0; k < sizeof types / sizeof types[0]; ++k) {
        if (strlen(types[k].s) == len && memcmp(types[k].s, t, len) == 0) {
            *out = types[k].t;
            return 1;
        }
    }
    return 0;
}

/* Splits "type:name:unit[:attribute...] ..." into params; -1 if unreadable. */
static int parse_spec(const char *spec, param *p, int max) {
    int n = 0;
    const char *s = spec;
    while (*s != '\0') {
        while (*s == ' ') ++s;
        if (*s == '\0') break;
        const char *end = s;
        while (*end != '\0' && *end != ' ') ++end;
        const char *c1 = memchr(s, ':', (size_t)(end - s));
        const char *c2 = c1 != NULL ? memchr(c1 + 1, ':', (size_t)(end - c1 - 1)) : NULL;
        /* Attributes may follow the unit, each after a colon. */
        const char *c3 = c2 != NULL ? memchr(c2 + 1, ':', (size_t)(end - c2 - 1)) : NULL;
        const char *unit_end = c3 != NULL ? c3 : end;
        if (n == max || c2 == NULL || (size_t)(c2 - c1 - 1) >= sizeof p[n].name ||
            (size_t)(unit_end - c2 - 1) >= sizeof p[n].unit ||
            !parse_type(s, (size_t)(c1 - s), &p[n].type))
            return -1;
        memcpy(p[n].name, c1 + 1, (size_t)(c2 - c1 - 1));
        p[n].name[c2 - c1 - 1] = '\0';
        memcpy(p[n].unit, c2 + 1, (size_t)(unit_end - c2 - 1));
        p[n].unit[unit_end - c2 - 1] = '\0';
        ++n;
        s = end;
    }
    return n;
}

static const export_row *find_export(const char *name) {
    for (int k = 0; k < NROWS; ++k)
        if (strcmp(export_rows[k].name, name) == 0) return &export_rows[k];
    return NULL;
}

/* names.h against the export table: same rows, names, results and arities. */
static void check_names(void) {
    static int checked = 0;
    if (checked) return;
    const int nnames = (int)(sizeof name_rows / sizeof name_rows[0]);
    if (nnames != NROWS)
        mexErrMsgIdAndTxt("velk:internal", "names.h has %d rows, the export table %d", nnames, NROWS);
    for (int k = 0; k < NROWS; ++k) {
        const name_row *r = &name_rows[k];
        const export_row *e = &export_rows[k];
        param p[MAXPARAM];
        const int routine = strcmp(e->kind, "routine") == 0;
        if (strcmp(r->name, e->name) != 0 || strcmp(r->readable, e->readable) != 0 ||
            (r->call != NULL) != routine ||
            (routine && (strcmp(r->result, e->result) != 0 ||
                         parse_spec(e->spec, p, MAXPARAM) != r->arity)))
            mexErrMsgIdAndTxt("velk:internal", "names.h row %d (%s) disagrees with the export table (%s)",
                              k + 1, r->name, e->name);
    }
    checked = 1;
}

static const name_row *find_name(const char *name) {
    for (size_t k = 0; k < sizeof name_rows / sizeof name_rows[0]; ++k)
        if (strcmp(name_rows[k].readable, name) == 0 || strcmp(name_rows[k].name, name) == 0)
            return &name_rows[k];
    return NULL;
}

/* ---- velk('list') ------------------------------------------------------- */

static void signature(const export_row *e, char *buf, size_t size) {
    param p[MAXPARAM];
    int n = parse_spec(e->spec, p, MAXPARAM);
    size_t used = 0;
    buf[0] = '\0';
    for (int k = 0; k < n && used < size; ++k) {
        const ptype t = p[k].type;
        if (t == P_OZ) continue;
        const int unitless = strcmp(p[k].unit, "-") == 0 || strcmp(p[k].unit, "1") == 0 ||
                             strcmp(p[k].unit, "any") == 0;
        const int optional = t == P_X || (t == P_I && strcmp(p[k].name, "nduct") == 0);
        const char *pre = t == P_OD || t == P_OC || t == P_DESC ? "out " : "";
        const char *post = t == P_D2 ? "1, " : "";
        int w = snprintf(buf + used, size - used, "%s%s%s%s%s%s%s%s%s", used == 0 ? "" : ", ",
                         optional ? "[" : "", pre, p[k].name, post, t == P_D2 ? p[k].name : "",
                         t == P_D2 ? "2" : (t == P_DESC ? "(3)" : ""), unitless ? "" : " ",
                         unitless ? "" : p[k].unit);
        if (w < 0) break;
        used += (size_t)w;
        if (optional && used < size) used += (size_t)snprintf(buf + used, size - used, "]");
    }
}

static void list(int nlhs, mxArray *plhs[]) {
    const int n = (int)(sizeof name_rows / sizeof name_rows[0]);
    char sig[512];
    if (nlhs == 0) {
        for (int k = 0; k < n; ++k) {
            const export_row *e = &export_rows[k];
            if (name_rows[k].call != NULL) {
                signature(e, sig, sizeof sig);
                mexPrintf("%-28s %-36s (%s) -> %s\n", name_rows[k].readable, e->name, sig, e->result);
            } else {
                mexPrintf("%-28s %-36s datum: %s\n", name_rows[k].readable, e->name, e->spec);
            }
        }
        return;
    }
    mxArray *cell = mxCreateCellMatrix((mwSize)n, 3);
    for (int k = 0; k < n; ++k) {
        mxSetCell(cell, (mwIndex)k, mxCreateString(name_rows[k].readable));
        mxSetCell(cell, (mwIndex)(n + k), mxCreateString(name_rows[k].name));
        if (name_rows[k].call != NULL)
            signature(&export_rows[k], sig, sizeof sig);
        else
            snprintf(sig, sizeof sig, "datum: %s", export_rows[k].spec);
        mxSetCell(cell, (mwIndex)(2 * n + k), mxCreateString(sig));
    }
    plhs[0] = cell;
}

/* ---- Reading and writing arrays ------------------------------------------- */

static void arg_error(const char *id, const char *routine, int pos, const char *what, const char *why) {
    mexErrMsgIdAndTxt(id, "velk('%s'): argument %d (%s) %s", routine, pos, what, why);
}

/* Real part and imaginary part (NULL if real) of a double array. */
typedef struct array_view {
    const double *re;
    const double *im;
    size_t imstride; /* distance between consecutive elements */
    size_t numel;
} array_view;

static array_view view(const mxArray *m) {
    array_view v;
    v.numel = mxGetNumberOfElements(m);
#if MX_HAS_INTERLEAVED_COMPLEX
    if (mxIsComplex(m)) {
        const double *d = (const double *)mxGetComplexDoubles(m);
        v.re = d;
        v.im = d + 1;
        v.imstride = 2;
    } else {
        v.re = mxGetDoubles(m);
        v.im = NULL;
        v.imstride = 1;
    }
#else
    v.re = mxGetPr(m);
    v.im = mxIsComplex(m) ? mxGetPi(m) : NULL;
    v.imstride = 1;
#endif
    return v;
}

static double view_re(const array_view *v, size_t k) {
    return v->numel == 1 ? v->re[0] : v->re[k * v->imstride];
}

static double view_im(const array_view *v, size_t k) {
    if (v->im == NULL) return 0.0;
    return v->numel == 1 ? v->im[0] : v->im[k * v->imstride];
}

static mxArray *new_output(mwSize ndim, const mwSize *dims, int complex) {
    return mxCreateNumericArray(ndim, dims, mxDOUBLE_CLASS, complex ? mxCOMPLEX : mxREAL);
}

static void put(mxArray *m, size_t k, double re, double im) {
#if MX_HAS_INTERLEAVED_COMPLEX
    if (mxIsComplex(m)) {
        mxComplexDouble *d = mxGetComplexDoubles(m);
        d[k].real = re;
        d[k].imag = im;
    } else {
        mxGetDoubles(m)[k] = re;
    }
#else
    mxGetPr(m)[k] = re;
    if (mxIsComplex(m)) mxGetPi(m)[k] = im;
#endif
}

/* A whole-number int32 value, or an error naming the argument. */
static int32_t to_int32(double x, const char *routine, int pos, const char *what) {
    if (!(x >= -2147483648.0 && x <= 2147483647.0) || x != floor(x))
        arg_error("velk:badArgument", routine, pos, what,
                  "must hold whole numbers within the int32 range");
    return (int32_t)x;
}

/* ---- A routine call, element by element --------------------------------- */

/* One parameter's part in the call: which input (-1: none), its storage. */
typedef struct slot {
    int input;
    array_view v, v2; /* the input array(s): d2 takes two */
    int32_t i;
    float f[2];
    double d[3];
    Constants c;
    velk_complex z;
    velk_descriptor desc;
    double *vec;
} slot;

static void call_routine(const name_row *r, const export_row *e, const char *rn, int nlhs,
                         mxArray *plhs[], int nin, const mxArray *in[]) {
    param p[MAXPARAM];
    const int np = parse_spec(e->spec, p, MAXPARAM);
    if (np < 0) mexErrMsgIdAndTxt("velk:internal", "export table row %s is unreadable", e->name);

    /* Inputs: every parameter that is not an out argument; the never-read
     * argument (x) and the duct count (nduct) may be left out. */
    int full = 0, optional = 0;
    for (int k = 0; k < np; ++k) {
        switch (p[k].type) {
            case P_OD: case P_OZ: case P_OC: case P_DESC: break;
            case P_D2: full += 2; break;
            case P_X: full += 1; optional += 1; break;
            case P_I:
                full += 1;
                if (strcmp(p[k].name, "nduct") == 0) optional += 1;
                break;
            default: full += 1; break;
        }
    }
    const int all = nin == full;
    if (!all && nin != full - optional) {
        if (optional > 0)
            mexErrMsgIdAndTxt("velk:badArgument", "velk('%s') takes %d or %d arguments, not %d", rn,
                              full - optional, full, nin);
        mexErrMsgIdAndTxt("velk:badArgument", "velk('%s') takes %d arguments, not %d", rn, full, nin);
    }

    /* Outputs: the function value, then out arguments in order. */
    int nout = 0, complex_result = 0;
    if (strcmp(e->result, "none") != 0) nout = 1;
    if (strcmp(e->result, "complex") == 0 || strcmp(e->result, "csingle") == 0) complex_result = 1;
    for (int k = 0; k < np; ++k) {
        if (p[k].type == P_OD || p[k].type == P_OC) nout += 1;
        if (p[k].type == P_DESC) nout += 3;
    }
    if (nlhs > nout)
        mexErrMsgIdAndTxt("velk:tooManyOutputs", "velk('%s') gives %d output%s, not %d", rn, nout,
                          nout == 1 ? "" : "s", nlhs);

    /* Assign inputs to parameters and check them; element-wise size. */
    slot s[MAXPARAM];
    memset(s, 0, sizeof s);
    const mxArray *shape = NULL;
    int next = 0;
    for (int k = 0; k < np; ++k) {
        s[k].input = -1;
        const ptype t = p[k].type;
        if (t == P_OD || t == P_OZ || t == P_OC || t == P_DESC) continue;
        if (!all && (t == P_X || (t == P_I && strcmp(p[k].name, "nduct") == 0))) continue;
        const int takes = t == P_D2 ? 2 : 1;
        for (int j = 0; j < takes; ++j) {
            const mxArray *m = in[next + j];
            char what[48];
            snprintf(what, sizeof what, "%s%s", p[k].name, t == P_D2 ? (j == 0 ? "(1)" : "(2)") : "");
            if (!mxIsDouble(m) || mxIsSparse(m))
                arg_error("velk:badArgument", rn, next + j + 2, what, "must be a full double array");
            if (mxIsComplex(m) && t != P_Z)
                arg_error("velk:badArgument", rn, next + j + 2, what, "must be real");
            if (t == P_DN) {
                if (mxGetNumberOfElements(m) == 0)
                    arg_error("velk:badArgument", rn, next + j + 2, what, "must have at least one element");
                continue;
            }
            if (mxGetNumberOfElements(m) != 1) {
                if (shape == NULL) {
                    shape = m;
                } else if (mxGetNumberOfDimensions(m) != mxGetNumberOfDimensions(shape) ||
                           memcmp(mxGetDimensions(m), mxGetDimensions(shape),
                                  mxGetNumberOfDimensions(m) * sizeof(mwSize)) != 0) {
                    arg_error("velk:sizeMismatch", rn, next + j + 2, what,
                              "differs in size from an earlier array argument");
                }
            }
        }
        s[k].input = next;
        s[k].v = view(in[next]);
        if (t == P_D2) s[k].v2 = view(in[next + 1]);
        next += takes;
    }

    /* The duct chain: both vectors of one length, nduct equal to it. */
    int ducts = -1;
    for (int k = 0; k < np; ++k) {
        if (p[k].type != P_DN) continue;
        const int len = s[k].v.numel > 2147483647u ? -1 : (int)s[k].v.numel;
        if (ducts >= 0 && len != ducts)
            arg_error("velk:sizeMismatch", rn, s[k].input + 2, p[k].name,
                      "must have as many elements as the other section vector");
        ducts = len;
        s[k].vec = mxMalloc(s[k].v.numel * sizeof(double));
        for (size_t j = 0; j < s[k].v.numel; ++j) s[k].vec[j] = s[k].v.re[j * s[k].v.imstride];
    }

    mwSize one[2] = {1, 1};
    const mwSize ndim = shape != NULL ? mxGetNumberOfDimensions(shape) : 2;
    const mwSize *dims = shape != NULL ? mxGetDimensions(shape) : one;
    const size_t count = shape != NULL ? mxGetNumberOfElements(shape) : 1;

    mxArray *outs[MAXOUT + 4];
    for (int k = 0; k < nout; ++k) outs[k] = new_output(ndim, dims, k == 0 && complex_result);

    for (size_t el = 0; el < count; ++el) {
        void *a[MAXPARAM];
        value_out res = {0.0, 0.0};
        for (int k = 0; k < np; ++k) {
            slot *q = &s[k];
            const int pos = q->input + 2;
            switch (p[k].type) {
                case P_D:
                    q->d[0] = view_re(&q->v, el);
                    a[k] = &q->d[0];
                    break;
                case P_X:
                    q->d[0] = q->input >= 0 ? view_re(&q->v, el) : 0.0;
                    a[k] = &q->d[0];
                    break;
                case P_I:
                    if (q->input >= 0) {
                        q->i = to_int32(view_re(&q->v, el), rn, pos, p[k].name);
                        if (strcmp(p[k].name, "nduct") == 0 && q->i != ducts)
                            arg_error("velk:sizeMismatch", rn, pos, p[k].name,
                                      "must equal the number of sections given");
                    } else {
                        q->i = ducts;
                    }
                    a[k] = &q->i;
                    break;
                case P_VI:
                    q->i = to_int32(view_re(&q->v, el), rn, pos, p[k].name);
                    a[k] = &q->i;
                    break;
                case P_VF:
                    q->f[0] = (float)view_re(&q->v, el);
                    a[k] = &q->f[0];
                    break;
                case P_Z:
                    q->z.re = view_re(&q->v, el);
                    q->z.im = view_im(&q->v, el);
                    a[k] = &q->z;
                    break;
                case P_D2:
                    q->d[0] = view_re(&q->v, el);
                    q->d[1] = view_re(&q->v2, el);
                    a[k] = q->d;
                    break;
                case P_DN: a[k] = q->vec; break;
                case P_C:
                    q->c.rgas = view_re(&q->v, el);
                    a[k] = &q->c;
                    break;
                case P_OD: a[k] = &q->d[0]; break;
                case P_OC: a[k] = &q->c; break;
                case P_OZ: a[k] = &q->z; break;
                case P_DESC:
                    /* Three elements, NaN where sortfreq leaves one unwritten. */
                    q->d[0] = q->d[1] = q->d[2] = NAN;
                    q->desc.base = q->d;
                    q->desc.offset = -1;
                    q->desc.elem_len = 8;
                    q->desc.version = 0;
                    q->desc.rank = 1;
                    q->desc.type = 3;
                    q->desc.attribute = 0;
                    q->desc.span = 8;
                    q->desc.stride = 1;
                    q->desc.lbound = 1;
                    q->desc.ubound = 3;
                    a[k] = &q->desc;
                    break;
            }
        }
        r->call(a, &res);
        int o = 0;
        if (strcmp(e->result, "complex") == 0) {
            res.re = s[0].z.re;
            res.im = s[0].z.im;
        }
        if (strcmp(e->result, "none") != 0) put(outs[o++], el, res.re, res.im);
        for (int k = 0; k < np; ++k) {
            if (p[k].type == P_OD) put(outs[o++], el, s[k].d[0], 0.0);
            if (p[k].type == P_OC) put(outs[o++], el, s[k].c.rgas, 0.0);
            if (p[k].type == P_DESC)
                for (int j = 0; j < 3; ++j) put(outs[o++], el, s[k].d[j], 0.0);
        }
    }

    for (int k = 0; k < np; ++k)
        if (s[k].vec != NULL) mxFree(s[k].vec);
    const int give = nlhs < 1 ? 1 : nlhs;
    for (int k = 0; k < nout; ++k) {
        if (k < give)
            plhs[k] = outs[k];
        else
            mxDestroyArray(outs[k]);
    }
}

static void read_datum(const name_row *r, const char *rn, int nlhs, mxArray *plhs[], int nin) {
    if (nin != 0)
        mexErrMsgIdAndTxt("velk:badArgument", "velk('%s') is a datum and takes no arguments", rn);
    if (nlhs > 1)
        mexErrMsgIdAndTxt("velk:tooManyOutputs", "velk('%s') gives 1 output, not %d", rn, nlhs);
    if (r->count == 0)
        mexErrMsgIdAndTxt("velk:badArgument", "velk('%s') is a type descriptor, not numbers", rn);
    mxArray *m = mxCreateDoubleMatrix((mwSize)r->count, 1, mxREAL);
    const double *d = r->data;
    for (int k = 0; k < r->count; ++k) put(m, (size_t)k, d[k], 0.0);
    plhs[0] = m;
}

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    check_names();
    if (nrhs < 1 || !mxIsChar(prhs[0]))
        mexErrMsgIdAndTxt("velk:badArgument",
                          "velk(NAME, ARG...): NAME is a routine's name; velk('list') lists them");
    char *name = mxArrayToString(prhs[0]);
    if (name == NULL) mexErrMsgIdAndTxt("velk:badArgument", "the name is not a character row");
    char key[64];
    snprintf(key, sizeof key, "%s", name);
    mxFree(name);

    if (strcmp(key, "list") == 0) {
        if (nrhs != 1) mexErrMsgIdAndTxt("velk:badArgument", "velk('list') takes no arguments");
        if (nlhs > 1) mexErrMsgIdAndTxt("velk:tooManyOutputs", "velk('list') gives 1 output, not %d", nlhs);
        list(nlhs, plhs);
        return;
    }
    const name_row *r = find_name(key);
    if (r == NULL)
        mexErrMsgIdAndTxt("velk:unknownRoutine", "no routine or datum is called '%s' (velk('list') lists them)",
                          key);
    const export_row *e = find_export(r->name);
    if (r->call == NULL)
        read_datum(r, key, nlhs, plhs, nrhs - 1);
    else
        call_routine(r, e, key, nlhs, plhs, nrhs - 1, prhs + 1);
}
