// Export layer of the microwave mode corrections: adapters over the C++
// interface.
#include "frame/tables.hpp"
#include "velk/velk.h"
#include "velk/velk.hpp"

extern "C" {

VELK_API double VELK_CALL d_sk(const double *x1, const double *x2, const double *x3) {
    return velk::skin_depth(*x1, *x2, *x3, velk::exported_model());
}

VELK_API void VELK_CALL df_skTE(const double *dsk, const double *a, double *df, double *g) {
    const velk::Perturbation w = velk::skin_perturbation_te(*dsk, *a);
    *df = w.df;
    *g = w.g;
}

VELK_API void VELK_CALL df_skTM1n(const double *dsk, const double *a, const int32_t *n, double *df,
                                 double *g) {
    const velk::Perturbation w = velk::skin_perturbation_tm1n(*dsk, *a, *n, velk::exported_model());
    *df = w.df;
    *g = w.g;
}

VELK_API double VELK_CALL df_dcTE(const double *r, const double *a) {
    return velk::cube_shift_te(*r, *a, velk::exported_model());
}

VELK_API double VELK_CALL df_dcTM1n(const double *r, const double *a, const int32_t *n) {
    return velk::cube_shift_tm1n(*r, *a, *n, velk::exported_model());
}

}  // extern "C"
