// Export layer of the resonator shape analysis: adapters over the C++
// interface.  sortfreq writes through its descriptor (any stride, only the
// elements it sorted), which the value-returning C++ routine cannot express;
// it calls the same sort directly.
#include "frame/tables.hpp"
#include "shape/shape.hpp"
#include "velk/velk.h"
#include "velk/velk.hpp"

extern "C" {

VELK_API void VELK_CALL __velk_MOD_sortfreq(const velk_descriptor *fsort, const double *fa,
                                           const double *fb, const double *fc) {
    velk::shape::sort_frequencies(*fsort, *fa, *fb, *fc);
}

VELK_API double VELK_CALL __velk_MOD_hte(const double *z) { return velk::te_family_factor(*z); }

VELK_API double VELK_CALL __velk_MOD_htm(const double *z) { return velk::tm_family_factor(*z); }

VELK_API void VELK_CALL Eps_TE1n(const double *fa, const double *fb, const double *fc,
                                const int32_t *n, double *eps1, double *eps2) {
    const velk::Deformation e = velk::deformation_te1n(*fa, *fb, *fc, *n, velk::exported_model());
    *eps1 = e.eps1;
    *eps2 = e.eps2;
}

VELK_API void VELK_CALL Eps_TM1n(const double *fa, const double *fb, const double *fc,
                                const int32_t *n, double *eps1, double *eps2) {
    const velk::Deformation e = velk::deformation_tm1n(*fa, *fb, *fc, *n, velk::exported_model());
    *eps1 = e.eps1;
    *eps2 = e.eps2;
}

VELK_API float VELK_CALL dzm2_zTE1n(const double *eps1, const double *eps2, const int32_t *n) {
    return velk::second_order_te1n(*eps1, *eps2, *n, velk::exported_model());
}

VELK_API float VELK_CALL dzm2_zTM1n(const double *eps1, const double *eps2, const int32_t *n) {
    return velk::second_order_tm1n(*eps1, *eps2, *n, velk::exported_model());
}

VELK_API float VELK_CALL O2dZ2AC(const double eps[2], const int32_t *n) {
    return velk::second_order_ac(eps[0], eps[1], *n, velk::exported_model());
}

}  // extern "C"
