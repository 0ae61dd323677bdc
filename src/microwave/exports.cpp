// Export layer of the microwave mode corrections.
#include "microwave/corrections.hpp"
#include "velk/velk.h"

extern "C" {

VELK_API double VELK_CALL d_sk(const double *x1, const double *x2, const double *x3) {
    return velk::microwave::skin_depth(*x1, *x2, *x3);
}

VELK_API void VELK_CALL df_skTE(const double *dsk, const double *a, double *df, double *g) {
    const velk::cplx w = velk::microwave::skin_te(*dsk, *a);
    *df = w.re;
    *g = w.im;
}

VELK_API void VELK_CALL df_skTM1n(const double *dsk, const double *a, const int32_t *n, double *df,
                                 double *g) {
    const velk::cplx w = velk::microwave::skin_tm1n(*dsk, *a, *n);
    *df = w.re;
    *g = w.im;
}

VELK_API double VELK_CALL df_dcTE(const double *r, const double *a) {
    return velk::microwave::cube_te(*r, *a);
}

VELK_API double VELK_CALL df_dcTM1n(const double *r, const double *a, const int32_t *n) {
    return velk::microwave::cube_tm1n(*r, *a, *n);
}

}  // extern "C"
