// Export layer of the bulk-absorption and microphone routines.
#include "acoustic/bulk.hpp"
#include "velk/velk.h"

extern "C" {

// t is never read (a null address is allowed); p has no influence and is not read either.
VELK_API double VELK_CALL g_b(const double * /*t*/, const double * /*p*/, const double *c,
                             const double *gamma, const double *dv, const double *dt,
                             const double *f) {
    return velk::acoustic::bulk_halfwidth(*c, *gamma, *dv, *dt, *f);
}

VELK_API double VELK_CALL df_mic(const double *rmic, const double *a, const double *rho,
                                const double *c) {
    return velk::acoustic::mic_shift(*rmic, *a, *rho, *c);
}

}  // extern "C"
