/* Prints the ideal frequencies of the radial modes (0,2) to (0,6) of a
 * resonator of radius 50 mm filled with a gas of sound speed 307.8 m/s. */
#include <stdio.h>

#include "velk/velk.h"

int main(void) {
    const double c = 307.8, a = 50.0;
    printf("radial modes of an ideal sphere, a = %.1f mm, c = %.1f m/s\n", a, c);
    for (int32_t n = 2; n <= 6; ++n)
        printf("(0,%d)  %.6f Hz\n", (int)n, f_id(&n, &c, &a));
    return 0;
}
