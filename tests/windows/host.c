/*
 * A Windows host of the velk DLL, as a measurement program would be: loads
 * the DLL with LoadLibrary, resolves every export by name and by ordinal
 * (the two must give the same address), checks the exported data, and calls
 * every routine with the reference calls of tests/host/cases.inc.  The
 * 32-bit host also enters every routine with the stack pointer at each
 * residue mod 16 and compares with the ordinary call.
 *
 * With --stdcall (32-bit) it loads the cdecl DLL and the stdcall DLL side by
 * side and calls every routine of the stdcall DLL through stdcall pointers
 * and through the stack trampoline, which checks that the callee removed its
 * arguments; every result must equal the cdecl DLL's bit for bit.
 *
 * usage: host.exe [path of the DLL]
 *        host.exe --stdcall cdecl.dll stdcall.dll
 * Prints one line per failure and closes with "host: N passed, M failed".
 */
#include <windows.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "host/callpack.h"
#include "host/stackcall.h"

#if defined(_WIN64)
#define DEFAULT_DLL "velk_64bit.dll"
#else
#define DEFAULT_DLL "velk_32bit.dll"
#endif

static int passed, failed;

static void check(int ok, const char *fmt, const char *what) {
    if (ok) {
        ++passed;
    } else {
        ++failed;
        printf("FAIL: ");
        printf(fmt, what);
        printf("\n");
    }
}

static void *resolve(HMODULE dll, const char *name) {
    FARPROC p = GetProcAddress(dll, name);
    void *v;
    memcpy(&v, &p, sizeof v);
    return v;
}

static void *resolve_ordinal(HMODULE dll, int ordinal) {
    FARPROC p = GetProcAddress(dll, MAKEINTRESOURCEA(ordinal));
    void *v;
    memcpy(&v, &p, sizeof v);
    return v;
}

static int same_bits(double a, double b) { return memcmp(&a, &b, sizeof a) == 0; }

/* Stored eigenvalues: single-precision literals of the model's table. */
static const float zte_stored[12] = {
    4.4934096f, 7.7252517f, 10.904121f, 14.066194f, 17.220755f, 20.371304f,
    23.519453f, 26.666054f, 29.8116f,   32.95639f,  36.100624f, 39.24443f,
};
static const float ztm_stored[13] = {
    2.7437072f, 6.116764f, 9.316616f,  12.485937f, 15.643867f, 18.796253f, 21.945518f,
    25.092848f, 28.238892f, 31.38404f, 34.52854f,  37.672554f, 40.816196f,
};

static void check_data(HMODULE dll, int stdcall) {
    Constants *cnst = resolve(dll, "__velk_MOD_cnst");
    const Constants *def = resolve(dll, "__velk_MOD___def_init_velk_Constants");
    velk_vtab *vtab = resolve(dll, "__velk_MOD___vtab_velk_Constants");
    const double *pi = resolve(dll, "__velk_MOD_pi");
    double *zac = resolve(dll, "__velk_MOD_zac");
    const double *zte = resolve(dll, "__velk_MOD_zte");
    const double *ztm = resolve(dll, "__velk_MOD_ztm");
    void *copy = resolve(dll, "__velk_MOD___copy_velk_Constants");
    void *f_id_fn = resolve(dll, "f_id");
    if (!cnst || !def || !vtab || !pi || !zac || !zte || !ztm || !copy) {
        check(0, "%s", "the data exports resolve");
        return;
    }
    check(same_bits(cnst->rgas, 8.3144598), "%s", "cnst holds 8.3144598");
    check(same_bits(def->rgas, 8.3144598), "%s", "the default record holds 8.3144598");
    check(same_bits(*pi, 3.1415927410125732), "%s", "pi is 3.1415927410125732 (single-precision pi)");
    int tables = 1;
    for (int k = 0; k < 12; ++k) tables &= same_bits(zte[k], (double)zte_stored[k]);
    for (int k = 0; k < 13; ++k) tables &= same_bits(ztm[k], (double)ztm_stored[k]);
    tables &= same_bits(zac[0], 0.0) && same_bits(zac[13], 0.0) && same_bits(zac[14], 0.0) &&
              same_bits(zac[15], 0.0);
    for (int k = 1; k < 13; ++k) tables &= same_bits(zac[k], zte[k - 1]);
    check(tables, "%s", "the eigenvalue tables hold the stored values");
    check(vtab->size == 8 && vtab->parent == NULL && vtab->final == NULL &&
              vtab->deallocate == NULL,
          "%s", "the type descriptor's size and null fields");
    check(vtab->def_init == def, "%s", "the type descriptor points at the default record");
    void *vcopy;
    memcpy(&vcopy, &vtab->copy, sizeof vcopy);
    /* The type descriptor is data for compiled code, which calls the copy
     * routine with the C convention: in the stdcall DLL it points at that
     * routine, not at the stdcall export. */
    check(stdcall ? vcopy != NULL && vcopy != copy : vcopy == copy, "%s",
          "the type descriptor points at the copy routine");

    /* The copy routine restores cnst from the default record. */
    const Constants saved = *cnst;
    cnst->rgas = 1.0;
#if VELK_HAVE_STDCALL
    if (stdcall)
        ((void(__stdcall *)(const Constants *, Constants *))copy)(def, cnst);
    else
#endif
        ((__typeof__(&__velk_MOD___copy_velk_Constants))copy)(def, cnst);
    check(same_bits(cnst->rgas, 8.3144598), "%s", "copying the default record restores cnst");
    *cnst = saved;

    /* The routines read the tables afresh: a host that writes one sees it. */
    if (f_id_fn) {
        const int32_t n = 2;
        const double c = 343, a = 50;
        const double saved_z = zac[1];
        zac[1] = 2 * saved_z;
        double f;
#if VELK_HAVE_STDCALL
        if (stdcall)
            f = ((double(__stdcall *)(const int32_t *, const double *, const double *))f_id_fn)(
                &n, &c, &a);
        else
#endif
            f = ((__typeof__(&f_id))f_id_fn)(&n, &c, &a);
        zac[1] = saved_z;
        check(same_bits(f, 343 * (2 * saved_z / (6.2831854820251465 * (0.001 * 50)))), "%s",
              "f_id reads the table afresh");
    }
}

static void check_exports(HMODULE dll, void **addresses) {
    char what[160];
    for (int k = 0; k < VELK_NROWS; ++k) {
        const velk_row *row = &velk_rows[k];
        void *by_name = resolve(dll, row->name);
        void *by_ordinal = resolve_ordinal(dll, row->ordinal);
        addresses[k] = by_name;
        snprintf(what, sizeof what, "%s (ordinal %d)", row->name, row->ordinal);
        check(by_name != NULL && by_name == by_ordinal, "%s: by name and by ordinal the same address", what);
    }
}

static void run_cases(void **addresses) {
    char msg[512];
    int run = 0;
    for (int k = 0; k < velk_ncases; ++k) {
        const velk_case *c = &velk_cases[k];
        const velk_row *row = velk_find_row(c->routine);
        if (!row) continue;
        void *fn = addresses[row->ordinal - 1];
        if (!fn) continue; /* reported by check_exports */
        ++run;
        /* A runtime other than glibc: LIBM references within their ulps. */
        const int ok = velk_run_case(c, fn, -1, 0, msg, sizeof msg) == 0;
        check(ok, "%s", msg);
        if (ok && c->mode == VELK_MODE_LIBM && velk_run_case(c, fn, -1, 1, msg, sizeof msg) != 0)
            printf("note (within the ulps allowed): %s\n", msg);
#if VELK_HAVE_STACK_CALL
        velk_pack aligned_pack, pack;
        double aligned[VELK_MAXOUT], got[VELK_MAXOUT];
        velk_pack_build(&aligned_pack, row, c->len, c->in, c->nin);
        const int n = velk_pack_call(&aligned_pack, fn, -1, aligned, VELK_MAXOUT, msg, sizeof msg);
        for (int residue = 0; residue < 16; residue += 4) {
            velk_pack_build(&pack, row, c->len, c->in, c->nin);
            const int m = velk_pack_call(&pack, fn, residue, got, VELK_MAXOUT, msg, sizeof msg);
            int same = m == n && m >= 0;
            for (int j = 0; same && j < n; ++j) same = same_bits(got[j], aligned[j]);
            char what[200];
            snprintf(what, sizeof what, "%s (line %d) entered at esp = %d mod 16: %s", c->routine,
                     c->line, residue, m < 0 ? msg : "the same bits as an aligned call");
            check(same, "%s", what);
        }
#endif
    }
    printf("host: %d reference calls run\n", run);
}

/* Arguments that are never read ('x' in the export table) may be null: the
 * first reference call of each such routine again, with a null address. */
static void check_unread_arguments(void **addresses) {
    char msg[512], what[200];
    for (int k = 0; k < VELK_NROWS; ++k) {
        const velk_row *row = &velk_rows[k];
        if (row->kind != VELK_KIND_ROUTINE || !addresses[k]) continue;
        const velk_case *c = NULL;
        for (int j = 0; j < velk_ncases && !c; ++j)
            if (strcmp(velk_cases[j].routine, row->name) == 0) c = &velk_cases[j];
        if (!c) continue;
        velk_pack plain, with_null;
        if (velk_pack_build(&plain, row, c->len, c->in, c->nin) != 0) continue;
        for (int p = 0; p < plain.nparam; ++p) {
            if (plain.type[p] != VELK_T_X) continue;
            double a[VELK_MAXOUT], b[VELK_MAXOUT];
            velk_pack_build(&plain, row, c->len, c->in, c->nin);
            velk_pack_build(&with_null, row, c->len, c->in, c->nin);
            velk_pack_null(&with_null, p);
            const int n = velk_pack_call(&plain, addresses[k], -1, a, VELK_MAXOUT, msg, sizeof msg);
            const int m = velk_pack_call(&with_null, addresses[k], -1, b, VELK_MAXOUT, msg, sizeof msg);
            int same = n == m && n >= 0;
            for (int j = 0; same && j < n; ++j) same = same_bits(a[j], b[j]);
            snprintf(what, sizeof what, "%s: a null address for argument %d changes nothing",
                     row->name, p + 1);
            check(same, "%s", what);
        }
    }
}

#if VELK_HAVE_STDCALL
static int same_outputs(const double *a, int n, const double *b, int m) {
    int same = n == m && n >= 0;
    for (int j = 0; same && j < n; ++j) same = same_bits(a[j], b[j]);
    return same;
}

/* Every reference call through the stdcall DLL: through a stdcall pointer of
 * the routine's type, and through the trampoline at every residue, which
 * checks that the callee removed its arguments; the results must equal the
 * cdecl DLL's (and the references). */
static void run_stdcall_cases(void **plain, void **std) {
    char msg[512], what[300];
    int run = 0;
    for (int k = 0; k < velk_ncases; ++k) {
        const velk_case *c = &velk_cases[k];
        const velk_row *row = velk_find_row(c->routine);
        if (!row || !plain[row->ordinal - 1] || !std[row->ordinal - 1]) continue;
        ++run;
        velk_pack pack;
        double want[VELK_MAXOUT], got[VELK_MAXOUT];
        velk_pack_build(&pack, row, c->len, c->in, c->nin);
        const int n = velk_pack_call(&pack, plain[row->ordinal - 1], -1, want, VELK_MAXOUT, msg,
                                     sizeof msg);
        for (int residue = -1; residue < 16; residue += residue < 0 ? 1 : 4) {
            velk_pack_build(&pack, row, c->len, c->in, c->nin);
            const int m = velk_pack_call_stdcall(&pack, std[row->ordinal - 1], residue, got,
                                                 VELK_MAXOUT, msg, sizeof msg);
            if (residue < 0) snprintf(what, sizeof what, "%s (line %d), stdcall pointer: %s",
                                      c->routine, c->line, m < 0 ? msg : "as the cdecl DLL");
            else snprintf(what, sizeof what, "%s (line %d), stdcall at esp = %d mod 16: %s",
                          c->routine, c->line, residue, m < 0 ? msg : "as the cdecl DLL");
            check(same_outputs(want, n, got, m), "%s", what);
            if (residue < 0 && m >= 0 && velk_compare(c, got, m, 0, msg, sizeof msg) != 0)
                check(0, "%s", msg);
        }
    }
    printf("host: %d reference calls run through both DLLs\n", run);
}
#endif

static HMODULE load(const char *path) {
    HMODULE dll = LoadLibraryA(path);
    if (!dll) {
        printf("FAIL: LoadLibrary(%s): error %lu\n", path, (unsigned long)GetLastError());
        printf("host: %d passed, %d failed\n", passed, failed + 1);
        exit(1);
    }
    return dll;
}

int main(int argc, char **argv) {
    setvbuf(stdout, NULL, _IONBF, 0);
    void *addresses[VELK_NROWS];
    if (argc > 1 && strcmp(argv[1], "--stdcall") == 0) {
#if VELK_HAVE_STDCALL
        if (argc != 4) {
            printf("usage: host.exe --stdcall cdecl.dll stdcall.dll\n");
            return 2;
        }
        HMODULE cdecl_dll = load(argv[2]), stdcall_dll = load(argv[3]);
        void *stdcall_addresses[VELK_NROWS];
        check_exports(cdecl_dll, addresses);
        check_exports(stdcall_dll, stdcall_addresses);
        check_data(stdcall_dll, 1);
        run_stdcall_cases(addresses, stdcall_addresses);
        check(FreeLibrary(stdcall_dll) != 0, "%s", "FreeLibrary");
        check(FreeLibrary(cdecl_dll) != 0, "%s", "FreeLibrary");
#else
        printf("host: --stdcall needs the 32-bit host\n");
        return 2;
#endif
    } else {
        HMODULE dll = load(argc > 1 ? argv[1] : DEFAULT_DLL);
        check_exports(dll, addresses);
        check_data(dll, 0);
        run_cases(addresses);
        check_unread_arguments(addresses);
        check(FreeLibrary(dll) != 0, "%s", "FreeLibrary");
    }
    printf("host: %d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}
