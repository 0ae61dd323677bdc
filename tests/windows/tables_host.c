/*
 * A Windows host that checks the DLL against the bit-pattern tables of
 * tests/reference/tables (see tests/reference/table_check.h): loads the DLL
 * with LoadLibrary, resolves each table's routine by name, and compares
 * every case.  The C runtime here is not x86-64 glibc, so the routines whose
 * results go through pow, exp, log or the complex functions are held to the
 * relative bounds of table_check.c; all others must match bit for bit.
 *
 * usage: tables_host.exe [DLL [TABLE-DIRECTORY]]
 * Prints one line per table and closes with "tables: N passed, M failed".
 */
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "reference/table_check.h"

#if defined(_WIN64)
#define DEFAULT_DLL "velk_64bit.dll"
#else
#define DEFAULT_DLL "velk_32bit.dll"
#endif

static void *lookup(const char *name, void *ctx) {
    static const char *const module[] = {"besselj", "normbesselj", "hte", "htm", "sortfreq"};
    char exported[96];
    snprintf(exported, sizeof exported, "%s", name);
    for (size_t i = 0; i < sizeof module / sizeof module[0]; ++i)
        if (strcmp(name, module[i]) == 0) snprintf(exported, sizeof exported, "__velk_MOD_%s", name);
    FARPROC p = GetProcAddress((HMODULE)ctx, exported);
    void *v;
    memcpy(&v, &p, sizeof v);
    return v;
}

int main(int argc, char **argv) {
    const char *dll_path = argc > 1 ? argv[1] : DEFAULT_DLL;
    const char *dir = argc > 2 ? argv[2] : VELK_TABLE_DIR;
    int passed = 0, failed = 0;
    setvbuf(stdout, NULL, _IONBF, 0);
    HMODULE dll = LoadLibraryA(dll_path);
    if (!dll) {
        printf("FAIL: LoadLibrary(%s): error %lu\ntables: 0 passed, 1 failed\n", dll_path,
               (unsigned long)GetLastError());
        return 1;
    }
    for (const char *const *name = velk_table_names; *name; ++name) {
        char path[1024];
        velk_table_result r;
        snprintf(path, sizeof path, "%s/%s.txt", dir, *name);
        velk_check_table(path, lookup, dll, 0, 10, stdout, &r);
        const int ok = !r.error && r.cases > 0 && r.mismatches == 0;
        ok ? ++passed : ++failed;
        printf("%s: %s: %d cases, %d mismatches", ok ? "ok" : "FAIL", *name, r.cases, r.mismatches);
        if (r.bounded)
            printf(" (bounded by %.2g, largest relative difference %.3g)", velk_table_bound(*name),
                   r.worst);
        printf("\n");
    }
    FreeLibrary(dll);
    printf("tables: %d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}
