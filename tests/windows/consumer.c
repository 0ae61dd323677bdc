/*
 * A program linked against a DLL's import library (dll_name.lib, the COFF
 * import archive made by dlltool), as a C program built with another
 * toolchain links: if the import library names the wrong symbol or the wrong
 * import name, the link or the load fails.  It calls f_id and reads the
 * exported pi through the import table.
 *
 * Built twice: against velk_32bit.lib / velk_64bit.lib with the header's
 * declarations, and with VELK_CONSUMER_STDCALL against
 * velk_32bit_stdcall.lib with stdcall declarations (decorated f_id@12).
 */
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#if defined(VELK_CONSUMER_STDCALL)
__declspec(dllimport) double __stdcall f_id(const int32_t *n, const double *c, const double *a);
__declspec(dllimport) extern double __velk_MOD_pi;
#else
#include "velk/velk.h"
#endif

int main(void) {
    const int32_t n = 2;
    const double c = 343, a = 50;
    const double f = f_id(&n, &c, &a);
    const double want = 4905.91757555612; /* worked example */
    const double pi = 3.1415927410125732; /* pi in single precision */
    const int ok = memcmp(&f, &want, 8) == 0 && memcmp(&__velk_MOD_pi, &pi, 8) == 0;
    printf("consumer: f_id(2, 343 m/s, 50 mm) = %.15g Hz, pi = %.17g: %s\n", f, __velk_MOD_pi,
           ok ? "ok" : "FAIL");
    return ok ? 0 : 1;
}
