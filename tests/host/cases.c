/* The reference calls of cases.inc as a table (callpack.h). */
#include <math.h>

#include "host/callpack.h"

#define VELK_BITS VELK_MODE_BITS, 0
#define VELK_LIBM(u) VELK_MODE_LIBM, u
#define VELK_DIGITS(d) VELK_MODE_DIGITS, d
#define VELK_UNPAREN(...) __VA_ARGS__
#define VELK_COUNT(list) ((int)(sizeof((const double[]){VELK_UNPAREN list}) / sizeof(double)))
#define VELK_CASE(name, check, len, in, out, source)                                     \
    {#name, check, len, VELK_COUNT(in), {VELK_UNPAREN in}, VELK_COUNT(out), {VELK_UNPAREN out}, \
     source, __LINE__},

const velk_case velk_cases[] = {
#include "host/cases.inc"
};

const int velk_ncases = (int)(sizeof velk_cases / sizeof velk_cases[0]);
