// Export layer of the resonator shape analysis.
#include <span>

#include "shape/shape.hpp"
#include "velk/velk.h"

extern "C" {

VELK_API void VELK_CALL __velk_MOD_sortfreq(const velk_descriptor *fsort, const double *fa,
                                           const double *fb, const double *fc) {
    velk::shape::sort_frequencies(*fsort, *fa, *fb, *fc);
}

VELK_API double VELK_CALL __velk_MOD_hte(const double *z) {
    return velk::shape::te_family_factor(*z);
}

VELK_API double VELK_CALL __velk_MOD_htm(const double *z) {
    return velk::shape::tm_family_factor(*z);
}

VELK_API void VELK_CALL Eps_TE1n(const double *fa, const double *fb, const double *fc,
                                const int32_t *n, double *eps1, double *eps2) {
    const velk::shape::Deformation e = velk::shape::eps_te1n(*fa, *fb, *fc, *n);
    *eps1 = e.eps1;
    *eps2 = e.eps2;
}

VELK_API void VELK_CALL Eps_TM1n(const double *fa, const double *fb, const double *fc,
                                const int32_t *n, double *eps1, double *eps2) {
    const velk::shape::Deformation e = velk::shape::eps_tm1n(*fa, *fb, *fc, *n);
    *eps1 = e.eps1;
    *eps2 = e.eps2;
}

VELK_API float VELK_CALL dzm2_zTE1n(const double *eps1, const double *eps2, const int32_t *n) {
    return velk::shape::dzm2_te1n(*eps1, *eps2, *n);
}

VELK_API float VELK_CALL dzm2_zTM1n(const double *eps1, const double *eps2, const int32_t *n) {
    return velk::shape::dzm2_tm1n(*eps1, *eps2, *n);
}

VELK_API float VELK_CALL O2dZ2AC(const double eps[2], const int32_t *n) {
    return velk::shape::o2dz2_ac(std::span<const double, 2>(eps, 2), *n);
}

}  // extern "C"
