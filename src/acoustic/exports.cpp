// Export layer of the acoustic boundary-layer and duct routines: adapters
// over the C++ interface.
#include <cstddef>

#include "frame/tables.hpp"
#include "velk/velk.h"
#include "velk/velk.hpp"

extern "C" {

VELK_API double VELK_CALL d_v(const double *eta, const double *rho, const double *f) {
    return velk::viscous_penetration(*eta, *rho, *f, velk::exported_model());
}

VELK_API double VELK_CALL d_t(const double *kappa, const double *rho, const double *cp,
                             const double *f) {
    return velk::thermal_penetration(*kappa, *rho, *cp, *f, velk::exported_model());
}

VELK_API double VELK_CALL I_t(const double *t, const double *p, const double *cv,
                             const double *kappa, const double *mw, const double *h) {
    return velk::accommodation_length(*t, *p, *cv, *kappa, *mw, *h, velk::exported_model());
}

VELK_API double VELK_CALL g_th(const double *gamma, const double *a, const double *dt) {
    return velk::thermal_halfwidth(*gamma, *a, *dt);
}

VELK_API double VELK_CALL df_dth(const double *gamma, const double *a, const double *dt) {
    return velk::thermal_shift(*gamma, *a, *dt);
}

VELK_API double VELK_CALL g_thO2(const double *gamma, const double *a, const double *dt) {
    return velk::thermal_second_order(*gamma, *a, *dt);
}

VELK_API float VELK_CALL df_Ith(const double *gamma, const double *a, const double *lt) {
    return velk::accommodation_shift(*gamma, *a, *lt);
}

VELK_API double VELK_CALL df_th(const double *gamma, const double *dt, const double *dcu,
                               const double *lt, const double *kappa, const double *kcu,
                               const double *a, const double *f) {
    return velk::thermal_shift_hz(*gamma, *dt, *dcu, *lt, *kappa, *kcu, *a, *f);
}

// t and p hold their places and are not read.
VELK_API double VELK_CALL g_t(const double * /*t*/, const double * /*p*/, const double *gamma,
                             const double *dt, const double *dcu, const double *kappa,
                             const double *kcu, const double *a, const double *f) {
    return velk::thermal_halfwidth_hz(*gamma, *dt, *dcu, *kappa, *kcu, *a, *f);
}

// df and g are written once each, at the end, for every nduct.
VELK_API void VELK_CALL df_ducts(const double *rduct, const double *lduct, const int32_t *nduct,
                                const double *rho, const double *cp, const double *c,
                                const double *gamma, const double *kappa, const double *eta,
                                const double *a, const double *f, const int32_t *n, double *df,
                                double *g) {
    const std::size_t count = *nduct > 0 ? static_cast<std::size_t>(*nduct) : 0;
    const velk::DuctGas gas{*rho, *cp, *c, *gamma, *kappa, *eta};
    const velk::Perturbation r = velk::duct_perturbation({rduct, count}, {lduct, count}, gas, *a,
                                                         *f, *n, velk::exported_model());
    *df = r.df;
    *g = r.g;
}

}  // extern "C"
