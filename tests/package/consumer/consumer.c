/* A C program that uses an installed velk, as a consumer's would: built
 * with find_package(velk CONFIG), also compiled as C++, and with pkg-config
 * (tests/package).
 * Prints the header's version and checks two results bit for bit. */
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <velk/velk.h>

static uint64_t bits(double x) {
    uint64_t u;
    memcpy(&u, &x, sizeof u);
    return u;
}

int main(void) {
    int32_t n = 2, order = 1;
    double c = 307.85, a = 50.0;
    velk_complex z = {3.0, 2.0}, j;
    int failures = 0;

    /* Ideal frequency of mode (0,2) of the built-in budget, as velk call gives it. */
    double f = f_id(&n, &c, &a);
    if (bits(f) != UINT64_C(0x40b1332b15779345)) {
        printf("f_id = %.17g Hz (bits %016llx), expected 4403.1682963118119 Hz\n", f,
               (unsigned long long)bits(f));
        ++failures;
    }
    /* J1(3 + 2i), as velk call gives it. */
    if (__velk_MOD_besselj(&j, &order, &z) != &j || bits(j.re) != UINT64_C(0x3fe8f6fab7d51b0c) ||
        bits(j.im) != UINT64_C(0xbff42cfb8659153b)) {
        printf("besselj(1, 3+2i) = %.17g%+.17gi\n", j.re, j.im);
        ++failures;
    }
    printf("velk %s (%d.%d.%d): f_id(2, 307.85 m/s, 50 mm) = %.17g Hz\n", VELK_VERSION_STRING,
           VELK_VERSION_MAJOR, VELK_VERSION_MINOR, VELK_VERSION_PATCH, f);
    return failures == 0 ? 0 : 1;
}
