/*
 * The table checker: reads one table of tests/reference/tables, calls the
 * export named in its header once per case line through an adapter of the
 * export's own C type, and compares the results with the table's bit
 * patterns (see table_check.h).  Arguments are hex bit patterns of doubles
 * and decimal int32; results hex of doubles (16 digits) or singles (8).
 */
#include "table_check.h"

#include <math.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "velk/velk.h"

#define MAX_TOKENS 96
#define MAX_SECTIONS 32
#define UNWRITTEN 0xdeadbeefdeadbeefULL

const char *const velk_table_names[] = {
    "Ell_Req", "Eps_TE1n", "Eps_TM1n", "I_t", "O2dZ2AC", "besselj", "besselj_steps",
    "normbesselj", "hte", "htm",
    "sortfreq", "cp_cu", "d_sk", "d_t", "d_v", "df_CuTh", "df_Ith", "df_dcTE", "df_dcTM1n",
    "df_dth", "df_ducts", "df_mic", "df_skTE", "df_skTM1n", "df_th", "dzm2_zTE1n", "dzm2_zTM1n",
    "f_id", "g_Cu", "g_b", "g_t", "g_th", "g_thO2", "k_cu", NULL};

/* Relative bounds where the C runtime is not x86-64 glibc, with headroom
 * over what the cross builds show: besselj up to 4.6e-16 of |J| (cabs and
 * cexp), df_ducts up to 1.4e-12 of |df + i g| (the complex square root,
 * tanh and sinh, and the Bessel functions), Ell_Req, g_b and k_cu a few ulps
 * (pow, exp), cp_cu up to 511 ulps (log and pow: an error of the logarithm
 * is multiplied by the polynomial's slope before pow(10, s)).  The table
 * besselj_steps holds arguments at which the last bit of |z| or of the stop
 * test decides the start index: there another runtime's cabs may start the
 * recurrence one member higher or lower, and the results then agree to the
 * accuracy of the method, about 1e-11 of |J|. */
static const struct {
    const char *name;
    double bound;
} bounds[] = {
    {"besselj", 2e-15},  {"besselj_steps", 1e-10}, {"normbesselj", 2e-15},
    {"df_ducts", 1e-11}, {"Ell_Req", 2e-15},
    {"g_b", 2e-15},      {"k_cu", 4e-15},        {"cp_cu", 2.3e-13},
};

double velk_table_bound(const char *table) {
    for (size_t i = 0; i < sizeof bounds / sizeof bounds[0]; ++i)
        if (strcmp(bounds[i].name, table) == 0) return bounds[i].bound;
    return 0.0;
}

/* ---- results ------------------------------------------------------------- */

typedef struct {
    uint64_t v[4];
    int is_float[4];
    int n;
} results;

static double D(const char *s) {
    uint64_t u = strtoull(s, NULL, 16);
    double d;
    memcpy(&d, &u, sizeof d);
    return d;
}
static int32_t I(const char *s) { return (int32_t)strtol(s, NULL, 10); }
static void put_d(results *r, double x) {
    uint64_t u;
    memcpy(&u, &x, sizeof u);
    r->is_float[r->n] = 0;
    r->v[r->n++] = u;
}
static void put_f(results *r, float x) {
    uint32_t u;
    memcpy(&u, &x, sizeof u);
    r->is_float[r->n] = 1;
    r->v[r->n++] = u;
}
static double as_double(uint64_t v, int is_float) {
    if (is_float) {
        uint32_t u = (uint32_t)v;
        float f;
        memcpy(&f, &u, sizeof f);
        return f;
    }
    double d;
    memcpy(&d, &v, sizeof d);
    return d;
}

/* ---- adapters: one per C type of the exports ----------------------------- */

typedef double(VELK_CALL *fd1)(const double *);
typedef double(VELK_CALL *fd2)(const double *, const double *);
typedef double(VELK_CALL *fd3)(const double *, const double *, const double *);
typedef double(VELK_CALL *fd4)(const double *, const double *, const double *, const double *);
typedef double(VELK_CALL *fd5)(const double *, const double *, const double *, const double *,
                               const double *);
typedef double(VELK_CALL *fd6)(const double *, const double *, const double *, const double *,
                               const double *, const double *);
typedef double(VELK_CALL *fd7)(const double *, const double *, const double *, const double *,
                               const double *, const double *, const double *);
typedef double(VELK_CALL *fd8)(const double *, const double *, const double *, const double *,
                               const double *, const double *, const double *, const double *);
typedef double(VELK_CALL *fd9)(const double *, const double *, const double *, const double *,
                               const double *, const double *, const double *, const double *,
                               const double *);
typedef float(VELK_CALL *ff3)(const double *, const double *, const double *);
typedef float(VELK_CALL *ff5)(const double *, const double *, const double *, const double *,
                              const double *);
typedef double(VELK_CALL *fddi)(const double *, const double *, const int32_t *);
typedef float(VELK_CALL *fddi_f)(const double *, const double *, const int32_t *);
typedef float(VELK_CALL *fd2i_f)(const double *, const int32_t *);
typedef double(VELK_CALL *fidd)(const int32_t *, const double *, const double *);
typedef void(VELK_CALL *feps)(const double *, const double *, const double *, const int32_t *,
                              double *, double *);
typedef void(VELK_CALL *fskte)(const double *, const double *, double *, double *);
typedef void(VELK_CALL *fsktm)(const double *, const double *, const int32_t *, double *, double *);
typedef velk_complex *(VELK_CALL *fbessel)(velk_complex *, const int32_t *, const velk_complex *);
typedef velk_complex *(VELK_CALL *fnorm)(velk_complex *, const int32_t *, const velk_complex *,
                                        const int32_t *, const int32_t *, const velk_complex *);
typedef void(VELK_CALL *fsort)(const velk_descriptor *, const double *, const double *,
                               const double *);
typedef void(VELK_CALL *fducts)(const double *, const double *, const int32_t *, const double *,
                                const double *, const double *, const double *, const double *,
                                const double *, const double *, const double *, const int32_t *,
                                double *, double *);

/* All-double routines with a double or single result: the arguments parsed
 * into x[], the call by count. */
static int call_doubles(void *fn, char **a, int na, int single, results *r) {
    double x[9];
    if (na > 9) return 0;
    for (int i = 0; i < na; ++i) x[i] = D(a[i]);
    if (single) {
        if (na == 3) put_f(r, ((ff3)fn)(&x[0], &x[1], &x[2]));
        else if (na == 5) put_f(r, ((ff5)fn)(&x[0], &x[1], &x[2], &x[3], &x[4]));
        else return 0;
        return 1;
    }
    switch (na) {
    case 1: put_d(r, ((fd1)fn)(&x[0])); break;
    case 2: put_d(r, ((fd2)fn)(&x[0], &x[1])); break;
    case 3: put_d(r, ((fd3)fn)(&x[0], &x[1], &x[2])); break;
    case 4: put_d(r, ((fd4)fn)(&x[0], &x[1], &x[2], &x[3])); break;
    case 5: put_d(r, ((fd5)fn)(&x[0], &x[1], &x[2], &x[3], &x[4])); break;
    case 6: put_d(r, ((fd6)fn)(&x[0], &x[1], &x[2], &x[3], &x[4], &x[5])); break;
    case 7: put_d(r, ((fd7)fn)(&x[0], &x[1], &x[2], &x[3], &x[4], &x[5], &x[6])); break;
    case 8: put_d(r, ((fd8)fn)(&x[0], &x[1], &x[2], &x[3], &x[4], &x[5], &x[6], &x[7])); break;
    case 9:
        put_d(r, ((fd9)fn)(&x[0], &x[1], &x[2], &x[3], &x[4], &x[5], &x[6], &x[7], &x[8]));
        break;
    default: return 0;
    }
    return 1;
}

static int call_routine(const char *name, void *fn, char **a, int na, results *r) {
    if (!strcmp(name, "df_Ith") || !strcmp(name, "df_CuTh")) return call_doubles(fn, a, na, 1, r);
    if (!strcmp(name, "df_dcTM1n") || !strcmp(name, "dzm2_zTE1n") || !strcmp(name, "dzm2_zTM1n")) {
        if (na != 3) return 0;
        double x = D(a[0]), y = D(a[1]);
        int32_t n = I(a[2]);
        if (name[0] == 'd' && name[1] == 'f') put_d(r, ((fddi)fn)(&x, &y, &n));
        else put_f(r, ((fddi_f)fn)(&x, &y, &n));
        return 1;
    }
    if (!strcmp(name, "O2dZ2AC")) {
        if (na != 3) return 0;
        double e[2] = {D(a[0]), D(a[1])};
        int32_t n = I(a[2]);
        put_f(r, ((fd2i_f)fn)(e, &n));
        return 1;
    }
    if (!strcmp(name, "f_id")) {
        if (na != 3) return 0;
        int32_t n = I(a[0]);
        double c = D(a[1]), am = D(a[2]);
        put_d(r, ((fidd)fn)(&n, &c, &am));
        return 1;
    }
    if (!strcmp(name, "Eps_TE1n") || !strcmp(name, "Eps_TM1n")) {
        if (na != 4) return 0;
        double f1 = D(a[0]), f2 = D(a[1]), f3 = D(a[2]), e1, e2;
        int32_t n = I(a[3]);
        ((feps)fn)(&f1, &f2, &f3, &n, &e1, &e2);
        put_d(r, e1);
        put_d(r, e2);
        return 1;
    }
    if (!strcmp(name, "df_skTE") || !strcmp(name, "df_skTM1n")) {
        double dsk, am, df, g;
        if (na != (strcmp(name, "df_skTE") == 0 ? 2 : 3)) return 0;
        dsk = D(a[0]);
        am = D(a[1]);
        if (na == 2) {
            ((fskte)fn)(&dsk, &am, &df, &g);
        } else {
            int32_t n = I(a[2]);
            ((fsktm)fn)(&dsk, &am, &n, &df, &g);
        }
        put_d(r, df);
        put_d(r, g);
        return 1;
    }
    if (!strcmp(name, "besselj")) {
        if (na != 3) return 0;
        int32_t n = I(a[0]);
        velk_complex z = {D(a[1]), D(a[2])}, out;
        if (((fbessel)fn)(&out, &n, &z) != &out) return 0;
        put_d(r, out.re);
        put_d(r, out.im);
        return 1;
    }
    if (!strcmp(name, "normbesselj")) {
        if (na != 7) return 0;
        int32_t n = I(a[0]), nstart = I(a[3]), count = I(a[4]);
        velk_complex z = {D(a[1]), D(a[2])}, seed = {D(a[5]), D(a[6])}, out;
        if (((fnorm)fn)(&out, &n, &z, &nstart, &count, &seed) != &out) return 0;
        put_d(r, out.re);
        put_d(r, out.im);
        return 1;
    }
    if (!strcmp(name, "sortfreq")) {
        if (na != 3) return 0;
        double fa = D(a[0]), fb = D(a[1]), fc = D(a[2]), out[3];
        uint64_t mark = UNWRITTEN;
        for (int i = 0; i < 3; ++i) memcpy(&out[i], &mark, sizeof mark);
        velk_descriptor d = {out, -1, 8, 0, 1, 3, 0, 8, 1, 1, 3};
        ((fsort)fn)(&d, &fa, &fb, &fc);
        for (int i = 0; i < 3; ++i) put_d(r, out[i]);
        return 1;
    }
    if (!strcmp(name, "df_ducts")) {
        /* rduct[N] lduct[N] nduct rho cp c gamma kappa eta a f n */
        int sections = (na - 10) / 2;
        double rd[MAX_SECTIONS], ld[MAX_SECTIONS], x[8], df, g;
        if (na < 10 || (na - 10) % 2 != 0 || sections > MAX_SECTIONS) return 0;
        for (int j = 0; j < sections; ++j) {
            rd[j] = D(a[j]);
            ld[j] = D(a[sections + j]);
        }
        int32_t nduct = I(a[2 * sections]), n = I(a[2 * sections + 9]);
        if (nduct > sections) return 0;
        for (int i = 0; i < 8; ++i) x[i] = D(a[2 * sections + 1 + i]);
        ((fducts)fn)(rd, ld, &nduct, &x[0], &x[1], &x[2], &x[3], &x[4], &x[5], &x[6], &x[7], &n,
                     &df, &g);
        put_d(r, df);
        put_d(r, g);
        return 1;
    }
    return call_doubles(fn, a, na, 0, r);
}

/* ---- comparison ------------------------------------------------------------ */

static int same(uint64_t got, uint64_t want, int is_float) {
    double g = as_double(got, is_float), w = as_double(want, is_float);
    return got == want || (isnan(g) && isnan(w));
}

/* Relative difference of the case's results, measured against the modulus
 * of the wanted pair for complex results; +inf when NaN or infinity differ. */
static double rel_diff(const results *got, const results *want, int complex_result) {
    double worst = 0.0, scale = 0.0;
    for (int i = 0; i < want->n; ++i) {
        double g = as_double(got->v[i], got->is_float[i]), w = as_double(want->v[i], want->is_float[i]);
        if (isnan(g) || isnan(w) || isinf(g) || isinf(w)) {
            if (!same(got->v[i], want->v[i], want->is_float[i])) return INFINITY;
        }
        if (!complex_result) continue;
        if (isfinite(w)) scale = hypot(scale, w);
    }
    for (int i = 0; i < want->n; ++i) {
        double g = as_double(got->v[i], got->is_float[i]), w = as_double(want->v[i], want->is_float[i]);
        if (!isfinite(w)) continue;
        double s = complex_result ? scale : fabs(w);
        double d = fabs(g - w);
        double rd = s > 0.0 ? d / s : (d == 0.0 ? 0.0 : INFINITY);
        if (rd > worst) worst = rd;
    }
    return worst;
}

static void print_value(FILE *out, uint64_t v, int is_float) {
    if (is_float) fprintf(out, "%08x (%.9g)", (unsigned)v, as_double(v, 1));
    else fprintf(out, "%016llx (%.17g)", (unsigned long long)v, as_double(v, 0));
}

static int tokenize(char *line, char **tok, int max) {
    int n = 0;
    for (char *p = strtok(line, " \t\r\n"); p && n < max; p = strtok(NULL, " \t\r\n")) tok[n++] = p;
    return n;
}

void velk_check_table(const char *path, velk_table_lookup lookup, void *ctx, int exact_runtime,
                      int max_print, FILE *out, velk_table_result *res) {
    static char line[8192], copy[8192];
    char *tok[MAX_TOKENS];
    void *fn = NULL;
    int runtime = 0, complex_result = 0, printed = 0, lineno = 0;
    memset(res, 0, sizeof *res);
    /* the table's name: the file name without directory and extension */
    const char *base = path;
    for (const char *p = path; *p; ++p)
        if (*p == '/' || *p == '\\') base = p + 1;
    snprintf(res->table, sizeof res->table, "%.*s", (int)strcspn(base, "."), base);
    FILE *in = fopen(path, "r");
    if (!in) {
        fprintf(out, "%s: cannot open\n", path);
        res->error = 1;
        return;
    }
    while (fgets(line, sizeof line, in)) {
        ++lineno;
        if (line[0] == '#') {
            char value[256];
            if (sscanf(line, "# routine: %63s", res->routine) == 1) {
                fn = lookup(res->routine, ctx);
            } else if (sscanf(line, "# runtime: %255s", value) == 1) {
                runtime = strcmp(value, "yes") == 0;
            } else if (sscanf(line, "# results: %255s", value) == 1) {
                complex_result = strcmp(value, "z") == 0;
            }
            continue;
        }
        if (!fn) {
            fprintf(out, "%s: no export for routine '%s'\n", path, res->routine);
            res->error = 1;
            break;
        }
        memcpy(copy, line, sizeof line);
        int n = tokenize(line, tok, MAX_TOKENS), colon = -1;
        for (int i = 0; i < n; ++i)
            if (!strcmp(tok[i], ":")) colon = i;
        if (n == 0) continue;
        results want = {{0}, {0}, 0}, got = {{0}, {0}, 0};
        for (int i = colon + 1; colon >= 0 && i < n && want.n < 4; ++i) {
            want.is_float[want.n] = strlen(tok[i]) == 8;
            want.v[want.n++] = strtoull(tok[i], NULL, 16);
        }
        if (colon < 0 || !call_routine(res->routine, fn, tok, colon, &got) || got.n != want.n) {
            fprintf(out, "%s:%d: malformed case\n", path, lineno);
            res->error = 1;
            break;
        }
        ++res->cases;
        int ok = 1;
        if (runtime && !exact_runtime) {
            double d = rel_diff(&got, &want, complex_result);
            res->bounded = 1;
            if (d > res->worst) res->worst = d;
            ok = d <= velk_table_bound(res->table);
        } else {
            for (int i = 0; i < want.n; ++i) ok &= same(got.v[i], want.v[i], want.is_float[i]);
        }
        if (ok) continue;
        ++res->mismatches;
        if (printed++ >= max_print) continue;
        copy[strcspn(copy, ":")] = '\0';
        fprintf(out, "%s(%s):\n", res->routine, copy);
        for (int i = 0; i < want.n; ++i) {
            fprintf(out, "    result %d: got ", i + 1);
            print_value(out, got.v[i], got.is_float[i]);
            fprintf(out, "  want ");
            print_value(out, want.v[i], want.is_float[i]);
            fprintf(out, "%s\n", same(got.v[i], want.v[i], want.is_float[i]) ? "" : "  <--");
        }
    }
    fclose(in);
    if (res->mismatches > max_print)
        fprintf(out, "%s: %d more mismatches not shown\n", res->routine, res->mismatches - max_print);
}
