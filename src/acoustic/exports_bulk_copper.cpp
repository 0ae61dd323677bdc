// Export layer of the bulk, microphone and copper routines: adapters over the
// C++ interface.
#include "frame/tables.hpp"
#include "velk/velk.h"
#include "velk/velk.hpp"

extern "C" {

// t is never read (a null address is allowed); p has no influence and is not read either.
VELK_API double VELK_CALL g_b(const double * /*t*/, const double * /*p*/, const double *c,
                             const double *gamma, const double *dv, const double *dt,
                             const double *f) {
    return velk::bulk_halfwidth(*c, *gamma, *dv, *dt, *f, velk::exported_model());
}

VELK_API double VELK_CALL df_mic(const double *rmic, const double *a, const double *rho,
                                const double *c) {
    return velk::mic_shift(*rmic, *a, *rho, *c);
}

VELK_API double VELK_CALL k_cu(const double *t, const double *rrr) {
    return velk::copper_conductivity(*t, *rrr);
}

VELK_API double VELK_CALL cp_cu(const double *t) {
    return velk::copper_heat_capacity(*t);
}

VELK_API double VELK_CALL g_Cu(const double *gamma, const double *a, const double *dcu,
                              const double *kappa, const double *kcu) {
    return velk::shell_halfwidth(*gamma, *a, *dcu, *kappa, *kcu);
}

VELK_API float VELK_CALL df_CuTh(const double *gamma, const double *a, const double *dcu,
                                const double *kappa, const double *kcu) {
    return velk::shell_shift(*gamma, *a, *dcu, *kappa, *kcu);
}

}  // extern "C"
