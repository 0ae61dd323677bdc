/*
 * Checks the exports against the bit-pattern tables of tests/reference/tables
 * (written by generate.py from the reference model velk_model.py).  Plain C,
 * shared by the GoogleTest of the Linux builds and the Windows host program.
 *
 * A result matches when its bit pattern equals the table's (any NaN matches
 * any NaN: the sign and payload of a NaN carry no meaning).  Routines whose
 * table header says "runtime: yes" pass a result through the C runtime's
 * pow, exp, log or complex functions; the tables hold x86-64 glibc's bits.
 * Where the caller says the runtime is not that one (32-bit glibc, the
 * Windows runtimes), those routines are compared with the relative bound of
 * velk_table_bound() instead; every other routine stays bit for bit.
 */
#ifndef VELK_TABLE_CHECK_H
#define VELK_TABLE_CHECK_H

#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Address of the export of that name, or null. */
typedef void *(*velk_table_lookup)(const char *name, void *ctx);

typedef struct velk_table_result {
    char table[64];  /* the table's file name without .txt */
    char routine[64];
    int cases;       /* case lines read */
    int mismatches;  /* cases with at least one result out of bounds */
    int bounded;     /* 1 when compared with the relative bound */
    double worst;    /* largest relative difference seen where bounded */
    int error;       /* 1: file unreadable, malformed, or export missing */
} velk_table_result;

/* The relative bound of a runtime-dependent table, 0 for the others. */
double velk_table_bound(const char *table);

/* Checks one table file.  exact_runtime: 1 where the C runtime is the one
 * the tables were made with.  Mismatches are printed to out (at most
 * max_print of them), each with the routine, the arguments and both results
 * in hex. */
void velk_check_table(const char *path, velk_table_lookup lookup, void *ctx, int exact_runtime,
                      int max_print, FILE *out, velk_table_result *result);

/* The names of the tables, null-terminated. */
extern const char *const velk_table_names[];

#ifdef __cplusplus
}
#endif

#endif
