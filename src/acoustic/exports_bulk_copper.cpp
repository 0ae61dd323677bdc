// Export layer of the bulk, microphone and copper routines.
#include "acoustic/bulk.hpp"
#include "acoustic/copper.hpp"
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

VELK_API double VELK_CALL k_cu(const double *t, const double *rrr) {
    return velk::acoustic::copper_conductivity(*t, *rrr);
}

VELK_API double VELK_CALL cp_cu(const double *t) {
    return velk::acoustic::copper_heat_capacity(*t);
}

VELK_API double VELK_CALL g_Cu(const double *gamma, const double *a, const double *dcu,
                              const double *kappa, const double *kcu) {
    return velk::acoustic::shell_halfwidth(*gamma, *a, *dcu, *kappa, *kcu);
}

VELK_API float VELK_CALL df_CuTh(const double *gamma, const double *a, const double *dcu,
                                const double *kappa, const double *kcu) {
    return velk::acoustic::shell_shift(*gamma, *a, *dcu, *kappa, *kcu);
}

}  // extern "C"
