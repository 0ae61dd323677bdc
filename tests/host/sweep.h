/*
 * Seeded arguments for every routine of the export table: physical ones (the
 * gases, resonators, ducts, frequencies and modes of a laboratory: pressures
 * from 1 kPa to 20 MPa, duct radii from 0.1 to 10 mm, 100 Hz to 50 kHz, ...)
 * and hostile ones (zeros, infinities, NaNs, subnormals, huge and tiny values,
 * integers at the ends of their range).
 *
 * The numbers come from a fixed 64-bit generator (splitmix64) and IEEE
 * additions, multiplications and divisions only, never from the C runtime's
 * exp, log or pow, so every build and every runtime makes the same arguments
 * bit for bit.  A wide range is covered decade by decade: the decade is
 * chosen uniformly, the value linearly within it.
 *
 * Plain C, shared by the trap tests and the cross-build sweep (Linux and the
 * Windows host programs).
 */
#ifndef VELK_HOST_SWEEP_H
#define VELK_HOST_SWEEP_H

#include <stdint.h>
#include <stdio.h>

#include "host/callpack.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct velk_rng {
    uint64_t state;
} velk_rng;

void velk_rng_seed(velk_rng *r, uint64_t seed);
uint64_t velk_rng_next(velk_rng *r);

/* One call's flat input list (callpack.h) for `row`: physical arguments when
 * hostile is 0, otherwise a mix of physical and hostile ones.  Writes the
 * array length to *len and returns the number of inputs (at most VELK_MAXIN),
 * or -1 for rows that are not routines. */
int velk_sweep_inputs(const velk_row *row, int hostile, velk_rng *r, double *in, int *len);

/* The cross-build sweep: for every routine that resolve(name, ctx) finds,
 * `physical` physical calls and then `hostile` hostile ones, each from a
 * generator seeded by the row's ordinal.  One line per call:
 * "NAME INDEX" and the bit pattern of every output (callpack.h order) in
 * hexadecimal.  Returns the number of calls, -1 if one could not be made. */
typedef void *(*velk_resolver)(const char *name, void *ctx);
int velk_sweep_run(FILE *out, velk_resolver resolve, void *ctx, int physical, int hostile);

#ifdef __cplusplus
}
#endif

#endif
