/* Seeded physical and hostile arguments for every routine (see sweep.h). */
#include "host/sweep.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

void velk_rng_seed(velk_rng *r, uint64_t seed) { r->state = seed; }

uint64_t velk_rng_next(velk_rng *r) {
    uint64_t z = (r->state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

/* Uniform in [0, 1). */
static double unit(velk_rng *r) { return (double)(velk_rng_next(r) >> 11) * (1.0 / 9007199254740992.0); }
static int below(velk_rng *r, int n) { return (int)(velk_rng_next(r) % (uint64_t)n); }
static double linear(velk_rng *r, double lo, double hi) { return lo + (hi - lo) * unit(r); }

/* lo * 10^k for k >= 0 (repeated multiplication). */
static double decade(double lo, int k) {
    while (k-- > 0) lo *= 10.0;
    return lo;
}

/* From lo to hi (0 < lo < hi), decade by decade: a decade chosen uniformly,
 * linear within it, capped at hi. */
static double spread(velk_rng *r, double lo, double hi) {
    int decades = 0;
    for (double top = lo; top < hi; top *= 10.0) ++decades;
    const double base = decade(lo, below(r, decades > 0 ? decades : 1));
    const double v = base * linear(r, 1.0, 10.0);
    return v < hi ? v : hi;
}

/* A hostile double: special values, extremes, or any magnitude of either sign. */
static double hostile_double(velk_rng *r, double cap) {
    static const double special[] = {0.0, -0.0, INFINITY, -INFINITY, NAN, 1e308, -1e308,
                                     4.9406564584124654e-324, -2.2250738585072014e-308,
                                     2.2250738585072014e-308, 1.0, -1.0, 1e-300, 0.5};
    const int n = (int)(sizeof special / sizeof special[0]);
    const int k = below(r, n + 6);
    double v;
    if (k < n) {
        v = special[k];
    } else {
        v = spread(r, 1e-300, 1e300);
        if (below(r, 2)) v = -v;
    }
    if (cap > 0 && (v > cap || v < -cap)) v = v > 0 ? cap : -cap;
    return v;
}

static double hostile_int(velk_rng *r, int lo, int hi) {
    static const double special[] = {-2147483648.0, -1.0, 0.0, 1.0, 2147483647.0};
    if (below(r, 3) == 0) return special[below(r, 5)];
    return (double)(lo + below(r, hi - lo + 1));
}

/* Physical range of an argument, by its name and unit in the export table. */
typedef struct range {
    double lo, hi;
} range;

static range physical_range(const char *name) {
    static const struct {
        const char *name;
        range r;
    } by_name[] = {
        {"a", {20.0, 200.0}},       /* resonator radius, mm */
        {"a1", {20.0, 200.0}},      {"a2", {20.0, 200.0}}, {"a3", {20.0, 200.0}},
        {"t", {20.0, 700.0}},       /* K */
        {"p", {1.0, 20000.0}},      /* kPa: 1 kPa .. 20 MPa */
        {"cv", {300.0, 3200.0}},    {"cp", {500.0, 5300.0}},
        {"kappa", {0.004, 0.3}},    {"mw", {0.004, 0.132}},
        {"h", {0.2, 1.0}},          {"gamma", {1.1, 1.67}},
        {"rho", {0.0015, 1500.0}},  /* kg/m3: helium at 1 kPa .. xenon at 20 MPa */
        {"c", {150.0, 1100.0}},     {"eta", {1e-6, 1e-4}},
        {"f", {100.0, 50000.0}},    /* acoustic, Hz */
        {"dv", {1e-7, 2e-3}},       {"dt", {1e-7, 2e-3}},
        {"dcu", {2e-5, 2e-3}},      {"lt", {1e-9, 1e-5}},
        {"kcu", {300.0, 20000.0}},  {"rrr", {10.0, 3000.0}},
        {"r", {0.1, 10.0}},         {"rmic", {0.5, 10.0}},
        {"rduct", {0.1, 10.0}},     {"lduct", {1.0, 1000.0}},
        {"dsk", {1e-7, 2e-5}},      {"x1", {1e8, 2e10}},
        {"x2", {1e7, 1e10}},        {"x3", {1.0, 1.0001}},
        {"z", {0.5, 40.0}},         /* hte, htm */
        {"fa", {1e9, 1e10}},        {"fb", {1e9, 1e10}}, {"fc", {1e9, 1e10}},
        {"eps", {-2e-3, 2e-3}},     {"eps1", {-2e-3, 2e-3}}, {"eps2", {-2e-3, 2e-3}},
        {"rgas", {8.0, 8.5}},       {"src", {8.0, 8.5}},
    };
    for (size_t k = 0; k < sizeof by_name / sizeof by_name[0]; ++k)
        if (strcmp(by_name[k].name, name) == 0) return by_name[k].r;
    return (range){1.0, 10.0};
}

/* Mode numbers and orders a laboratory uses. */
static range mode_range(const char *routine) {
    if (strstr(routine, "besselj")) return (range){0, 1};
    if (strstr(routine, "TE1n") || strcmp(routine, "df_dcTE") == 0) return (range){1, 12};
    if (strstr(routine, "TM1n")) return (range){1, 13};
    return (range){2, 13}; /* radial acoustic modes with a non-zero eigenvalue */
}

static double physical_value(velk_rng *r, const char *name) {
    const range g = physical_range(name);
    if (g.lo > 0) return spread(r, g.lo, g.hi);
    return linear(r, g.lo, g.hi);
}

/* Splits "type:name:unit" tokens of a spec. */
typedef struct token {
    char type[8], name[24], unit[24];
} token;

static int split_spec(const char *spec, token *t, int max) {
    int n = 0;
    const char *s = spec;
    while (*s && n < max) {
        while (*s == ' ') ++s;
        if (!*s) break;
        char part[3][24] = {{0}};
        int f = 0, c = 0;
        while (*s && *s != ' ') {
            if (*s == ':' && f < 2) {
                ++f;
                c = 0;
            } else if (c < 23) {
                part[f][c++] = *s;
            }
            ++s;
        }
        memcpy(t[n].type, part[0], 8);
        t[n].type[7] = 0;
        memcpy(t[n].name, part[1], 24);
        memcpy(t[n].unit, part[2], 24);
        ++n;
    }
    return n;
}

int velk_sweep_inputs(const velk_row *row, int hostile, velk_rng *r, double *in, int *len) {
    if (row->kind != VELK_KIND_ROUTINE) return -1;
    token t[VELK_MAXP];
    const int np = split_spec(row->spec, t, VELK_MAXP);
    const char *rt = row->name;
    const int wild = hostile ? below(r, 4) != 0 : 0; /* hostile calls keep some physical arguments */
    const int bessel = strstr(rt, "besselj") != NULL;
    const int ducts = strcmp(rt, "df_ducts") == 0;

    /* Sections of a duct chain: 1..4, hostile counts up to 0 and below. */
    static const double no_sections[] = {0.0, -1.0, -2147483648.0};
    int sections = 1 + below(r, 4);
    double nduct = sections;
    if (ducts && wild && below(r, 4) == 0) nduct = no_sections[below(r, 3)];
    *len = ducts ? sections : 0;

    /* One microwave mode frequency with its triplet spread (Eps_*, sortfreq). */
    const double f0 = spread(r, 1e9, 1e10);
    /* |z| of the Bessel routines, on the ray arg z = -pi/4 of the ducts: x = r/delta
     * up to 700, where J_0 and J_1 are still far inside the double range. */
    const double x = bessel ? spread(r, 0.01, strcmp(rt, "__velk_MOD_normbesselj") == 0 ? 300.0 : 700.0) : 0.0;
    /* The complex power: a power of +-1 or +-i to any exponent the normaliser
     * uses, or a base of modulus up to 2 to an exponent up to 20 in size. */
    const int unit_base = below(r, 3) != 0;
    double zmod = 0.0;
    int at = 0;
    for (int k = 0; k < np; ++k) {
        const char *ty = t[k].type, *nm = t[k].name;
        const int chaos = wild && below(r, 2) == 0;
        if (strcmp(ty, "od") == 0 || strcmp(ty, "oz") == 0 || strcmp(ty, "oC") == 0) continue;
        if (strcmp(ty, "i") == 0) {
            double v;
            if (strcmp(nm, "nduct") == 0) {
                v = nduct;
            } else if (strcmp(nm, "nstart") == 0) {
                /* Near floor|z| + 20 .. 60, as the search of besselj chooses
                 * for such arguments, or anything up to 5000 members when hostile. */
                v = chaos ? (double)(below(r, 5001) - 3) : (double)((int)(zmod * 1.4142135623730951) + 20 + below(r, 40));
            } else if (strcmp(nm, "count") == 0) {
                v = chaos ? hostile_int(r, -5, 300) : 201.0;
            } else {
                const range m = mode_range(rt);
                v = chaos ? (bessel ? (double)(below(r, 40) - 10) : hostile_int(r, -2, 20))
                          : (double)((int)m.lo + below(r, (int)(m.hi - m.lo) + 1));
            }
            in[at++] = v;
        } else if (strcmp(ty, "z") == 0) {
            double re, im;
            if (strcmp(nm, "seed") == 0) {
                re = chaos ? hostile_double(r, 0) : linear(r, 0.5, 2.0);
                im = chaos ? hostile_double(r, 0) : linear(r, -1.0, 1.0);
            } else if (chaos) {
                /* Any direction, |z| capped so that the work sequence stays small. */
                re = hostile_double(r, 2e4);
                im = hostile_double(r, 2e4);
            } else {
                const int s = below(r, 4);
                re = s == 3 ? linear(r, -x, x) : x;
                im = s == 0 ? x : s == 3 ? linear(r, -x, x) : -x;
            }
            /* max(|Re z|, |Im z|), between |z|/sqrt(2) and |z|. */
            const double are = re < 0 ? -re : re, aim = im < 0 ? -im : im;
            zmod = are > aim ? are : aim;
            if (!(zmod < 4e4)) zmod = 0;
            in[at++] = re;
            in[at++] = im;
        } else if (strcmp(ty, "d2") == 0) {
            for (int e = 0; e < 2; ++e)
                in[at++] = chaos ? hostile_double(r, 0) : linear(r, -2e-3, 2e-3);
        } else if (strcmp(ty, "dN") == 0) {
            for (int e = 0; e < sections; ++e)
                in[at++] = chaos ? hostile_double(r, 0) : physical_value(r, nm);
        } else if (strcmp(ty, "desc") == 0) {
            /* (stride, index of the base) inside the 8-double buffer. */
            static const double place[][2] = {{1, 0}, {1, 5}, {2, 0}, {2, 3}, {-1, 2},
                                              {-1, 7}, {0, 3}, {3, 1}, {-3, 7}};
            const int p = chaos ? below(r, 9) : 0;
            in[at++] = place[p][0];
            in[at++] = place[p][1];
        } else if (strcmp(ty, "vf") == 0) {
            double v = unit_base ? 0.0 : linear(r, -1.4, 1.4);
            if (unit_base && strcmp(nm, "re") == 0) v = (double)(below(r, 2) * 2 - 1) * (double)below(r, 2);
            if (chaos) v = hostile_double(r, 3e38);
            in[at++] = v;
            /* A unit base has one non-zero part. */
            if (unit_base && strcmp(nm, "im") == 0 && in[at - 2] == 0.0 && !chaos)
                in[at - 1] = (double)(below(r, 2) * 2 - 1);
        } else if (strcmp(ty, "vi") == 0) {
            in[at++] = chaos ? hostile_int(r, -100000, 100000)
                             : unit_base ? (double)(below(r, 2001) - 1000) : (double)(below(r, 41) - 20);
        } else if (strcmp(nm, "fa") == 0 || strcmp(nm, "fb") == 0 || strcmp(nm, "fc") == 0) {
            /* A split triplet: f0 (1 + s), |s| up to 1e-4. */
            in[at++] = chaos ? hostile_double(r, 0) : f0 * (1.0 + linear(r, -1e-4, 1e-4));
        } else {
            in[at++] = chaos ? hostile_double(r, 0) : physical_value(r, nm);
        }
    }
    return at;
}

static char *put_hex(char *p, uint64_t v) {
    static const char digits[] = "0123456789abcdef";
    *p++ = ' ';
    for (int s = 60; s >= 0; s -= 4) *p++ = digits[(v >> s) & 15];
    return p;
}

int velk_sweep_run(FILE *out, velk_resolver resolve, void *ctx, int physical, int hostile) {
    int calls = 0;
    for (int k = 0; k < VELK_NROWS; ++k) {
        const velk_row *row = &velk_rows[k];
        if (row->kind != VELK_KIND_ROUTINE) continue;
        void *fn = resolve(row->name, ctx);
        if (!fn) continue;
        velk_rng r;
        velk_rng_seed(&r, 0x76656c6b00000000ull + (uint64_t)row->ordinal);
        for (int c = 0; c < physical + hostile; ++c) {
            double in[VELK_MAXIN], res[VELK_MAXOUT];
            int len = 0;
            const int nin = velk_sweep_inputs(row, c >= physical, &r, in, &len);
            velk_pack pack;
            if (nin < 0 || velk_pack_build(&pack, row, len, in, nin) != 0) return -1;
            char err[128];
            const int nout = velk_pack_call(&pack, fn, -1, res, VELK_MAXOUT, err, sizeof err);
            if (nout < 0) return -1;
            char line[64 + 17 * VELK_MAXOUT], *p = line;
            p += sprintf(p, "%s %d", row->name, c);
            for (int o = 0; o < nout; ++o) {
                uint64_t b;
                memcpy(&b, &res[o], 8);
                p = put_hex(p, b);
            }
            *p++ = '\n';
            *p = 0;
            fputs(line, out);
            ++calls;
        }
    }
    return calls;
}
