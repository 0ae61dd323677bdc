/* Calls of any export from a C host, driven by the export table (callpack.h). */
#include "host/callpack.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include "host/stackcall.h"

const velk_row *velk_find_row(const char *name) {
    for (int k = 0; k < VELK_NROWS; ++k)
        if (strcmp(velk_rows[k].name, name) == 0) return &velk_rows[k];
    return NULL;
}

double velk_unwritten(void) {
    const uint64_t bits = 0x7ff00000dead0001ull; /* signalling NaN */
    double x;
    memcpy(&x, &bits, 8);
    return x;
}

static int inputs_of(int type, int len) {
    switch (type) {
        case VELK_T_Z: case VELK_T_D2: case VELK_T_DESC: return 2;
        case VELK_T_DN: return len;
        case VELK_T_OD: case VELK_T_OZ: case VELK_T_OC: return 0;
        default: return 1;
    }
}

void velk_pack_set(velk_pack *p, int param, int elem, double v) {
    switch (p->type[param]) {
        case VELK_T_D: case VELK_T_X: p->d[param] = v; break;
        case VELK_T_I: p->i[param] = (int32_t)v; break;
        case VELK_T_Z:
            if (elem == 0) p->z[param].re = v;
            else p->z[param].im = v;
            break;
        case VELK_T_D2: case VELK_T_DN: p->arr[param][elem] = v; break;
        case VELK_T_C: p->rec[param].rgas = v; break;
        case VELK_T_DESC:
            if (elem == 0) {
                p->desc.stride = (int32_t)v;
            } else {
                p->desc.base = &p->buf[(int)v];
            }
            break;
        case VELK_T_VF: p->byval.f[param] = (float)v; break;
        case VELK_T_VI: p->byval.i = (int32_t)v; break;
        default: break;
    }
}

void velk_pack_null(velk_pack *p, int param) { p->args[param] = NULL; }

int velk_pack_build(velk_pack *p, const velk_row *row, int len, const double *in, int nin) {
    memset(p, 0, sizeof *p);
    p->row = row;
    p->len = len;
    if (row->kind != VELK_KIND_ROUTINE || len < 0 || len > VELK_MAXN) return -1;
    p->nparam = row->nparam;
    memcpy(p->type, row->type, sizeof p->type);
    int need = 0;
    for (int k = 0; k < p->nparam; ++k) need += inputs_of(p->type[k], len);
    if (need != nin) return -1;
    for (int k = 0; k < VELK_SORTBUF; ++k) p->buf[k] = VELK_FILL;
    p->desc.base = p->buf;
    p->desc.offset = -1;
    p->desc.elem_len = 8;
    p->desc.rank = 1;
    p->desc.type = 3;
    p->desc.span = 8;
    p->desc.stride = 1;
    p->desc.lbound = 1;
    p->desc.ubound = 3;
    const double unwritten = velk_unwritten();
    int at = 0;
    for (int k = 0; k < p->nparam; ++k) {
        switch (p->type[k]) {
            case VELK_T_D: case VELK_T_X: case VELK_T_I: case VELK_T_C:
                p->args[k] = p->type[k] == VELK_T_I ? (void *)&p->i[k]
                             : p->type[k] == VELK_T_C ? (void *)&p->rec[k]
                                                      : (void *)&p->d[k];
                break;
            case VELK_T_Z: p->args[k] = &p->z[k]; break;
            case VELK_T_D2: case VELK_T_DN: p->args[k] = p->arr[k]; break;
            case VELK_T_OD: p->d[k] = unwritten; p->args[k] = &p->d[k]; break;
            case VELK_T_OZ:
                p->z[k].re = p->z[k].im = unwritten;
                p->args[k] = &p->z[k];
                break;
            case VELK_T_OC: p->rec[k].rgas = unwritten; p->args[k] = &p->rec[k]; break;
            case VELK_T_DESC: p->args[k] = &p->desc; break;
            default: break; /* by value */
        }
        const int n = inputs_of(p->type[k], len);
        for (int e = 0; e < n; ++e) velk_pack_set(p, k, e, in[at + e]);
        at += n;
    }
    return 0;
}

static double widen(float f) { return (double)f; }

static int pack_call(velk_pack *p, void *fn, int residue, int stdcall, double *out, int maxout,
                     char *err, size_t errlen) {
    const velk_row *row = p->row;
    velk_value v;
    memset(&v, 0, sizeof v);
    if (residue < 0) {
        velk_caller caller = stdcall ? row->stdcall : row->caller;
        if (!caller) {
            snprintf(err, errlen, "%s: no caller for this convention", row->name);
            return -1;
        }
        caller(fn, p->args, &p->byval, &v);
    } else {
#if VELK_HAVE_STACK_CALL
        uint32_t words[VELK_MAXP];
        int n = 0;
        if (row->result == VELK_RES_CSINGLE) {
            memcpy(&words[0], &p->byval.f[0], 4);
            memcpy(&words[1], &p->byval.f[1], 4);
            memcpy(&words[2], &p->byval.i, 4);
            n = 3;
        } else {
            for (; n < p->nparam; ++n) words[n] = (uint32_t)(uintptr_t)p->args[n];
        }
        const int fp = row->result == VELK_RES_DOUBLE   ? VELK_FP_DOUBLE
                       : row->result == VELK_RES_SINGLE ? VELK_FP_SINGLE
                                                        : VELK_FP_NONE;
        velk_raw raw;
        memset(&raw, 0, sizeof raw);
        /* cdecl: the caller removes the arguments; stdcall: the callee does. */
        const int pops = stdcall ? 4 * n : 0;
        if (velk_stack_call(fn, words, n, residue, fp, pops, &raw) != 0) {
            snprintf(err, errlen, "%s: the stack pointer after the return is not %s", row->name,
                     stdcall ? "above the arguments (stdcall)" : "where the call left it (cdecl)");
            return -1;
        }
        v.d = raw.st0;
        v.f = raw.st0f;
        v.p = (velk_complex *)(uintptr_t)raw.eax;
        v.u = (uint64_t)raw.eax | ((uint64_t)raw.edx << 32);
#else
        snprintf(err, errlen, "no stack trampoline on this target");
        return -1;
#endif
    }
    int n = 0;
#define PUT(x) do { if (n < maxout) out[n] = (x); ++n; } while (0)
    switch (row->result) {
        case VELK_RES_DOUBLE: PUT(v.d); break;
        case VELK_RES_SINGLE: PUT(widen(v.f)); break;
        case VELK_RES_COMPLEX:
            if (v.p != p->args[0]) {
                snprintf(err, errlen, "%s: returned another address than its result area",
                         row->name);
                return -1;
            }
            PUT(p->z[0].re);
            PUT(p->z[0].im);
            break;
        case VELK_RES_CSINGLE: {
            const uint32_t lo = (uint32_t)v.u, hi = (uint32_t)(v.u >> 32);
            float re, im;
            memcpy(&re, &lo, 4);
            memcpy(&im, &hi, 4);
            PUT(widen(re));
            PUT(widen(im));
            break;
        }
        default: break;
    }
    for (int k = 0; k < p->nparam; ++k) {
        switch (p->type[k]) {
            case VELK_T_OD: PUT(p->d[k]); break;
            case VELK_T_OC: PUT(p->rec[k].rgas); break;
            case VELK_T_DESC:
                for (int e = 0; e < VELK_SORTBUF; ++e) PUT(p->buf[e]);
                break;
            default: break;
        }
    }
#undef PUT
    if (n > maxout) {
        snprintf(err, errlen, "%s: more than %d outputs", row->name, maxout);
        return -1;
    }
    return n;
}

int velk_pack_call(velk_pack *p, void *fn, int residue, double *out, int maxout, char *err,
                   size_t errlen) {
    return pack_call(p, fn, residue, 0, out, maxout, err, errlen);
}

int velk_pack_call_stdcall(velk_pack *p, void *fn, int residue, double *out, int maxout,
                           char *err, size_t errlen) {
    return pack_call(p, fn, residue, 1, out, maxout, err, errlen);
}

static uint64_t bits_of(double x) {
    uint64_t b;
    memcpy(&b, &x, 8);
    return b;
}

static int is_quiet_nan(double x) { return isnan(x) && (bits_of(x) & 0x0008000000000000ull); }

double velk_ulps(double a, double b) {
    if (isnan(a) || isnan(b) || signbit(a) != signbit(b)) return a == b ? 0.0 : 1e300;
    const uint64_t x = bits_of(a), y = bits_of(b);
    return (double)(x > y ? x - y : y - x);
}

int velk_compare(const velk_case *c, const double *got, int nout, int same_runtime, char *msg,
                 size_t msglen) {
    if (nout != c->nout) {
        snprintf(msg, msglen, "%s (line %d): %d outputs, the case lists %d", c->routine, c->line,
                 nout, c->nout);
        return -1;
    }
    for (int k = 0; k < nout; ++k) {
        const double want = c->out[k], x = got[k];
        int ok;
        if (isnan(want)) {
            ok = is_quiet_nan(x);
        } else if (c->mode == VELK_MODE_DIGITS) {
            ok = want == 0.0 ? x == 0.0 : fabs(x - want) <= pow(10.0, -c->tol) * fabs(want);
        } else if (c->mode == VELK_MODE_LIBM && !same_runtime) {
            ok = velk_ulps(x, want) <= c->tol;
        } else {
            ok = bits_of(x) == bits_of(want);
        }
        if (!ok) {
            snprintf(msg, msglen,
                     "%s (line %d, %s): output %d is %.17g [%016llx], expected %.17g [%016llx]",
                     c->routine, c->line, c->source, k, x, (unsigned long long)bits_of(x), want,
                     (unsigned long long)bits_of(want));
            return -1;
        }
    }
    return 0;
}

int velk_run_case(const velk_case *c, void *fn, int residue, int same_runtime, char *msg,
                  size_t msglen) {
    const velk_row *row = velk_find_row(c->routine);
    velk_pack p;
    if (!row || velk_pack_build(&p, row, c->len, c->in, c->nin) != 0) {
        snprintf(msg, msglen, "%s (line %d): inputs do not fit the export table", c->routine,
                 c->line);
        return -1;
    }
    double out[VELK_MAXOUT];
    const int n = velk_pack_call(&p, fn, residue, out, VELK_MAXOUT, msg, msglen);
    if (n < 0) return -1;
    return velk_compare(c, out, n, same_runtime, msg, msglen);
}
