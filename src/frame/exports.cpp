// Export layer of the library frame.
#include <cstring>

#include "cpowi.hpp"
#include "ideal.hpp"
#include "velk/velk.h"

extern "C" {

VELK_API double VELK_CALL f_id(const int32_t *n, const double *c, const double *a) {
    return velk::frame::ideal_frequency(*n, *c, *a);
}

VELK_API double VELK_CALL Ell_Req(const double *a1, const double *a2, const double *a3) {
    return velk::frame::equal_volume_radius(*a1, *a2, *a3);
}

VELK_API uint64_t VELK_CALL _velk_cpowi(float re, float im, int32_t n) {
    const velk::frame::fcplx w = velk::frame::cpowi({re, im}, n);
    std::uint32_t lo = 0, hi = 0;
    std::memcpy(&lo, &w.re, 4);
    std::memcpy(&hi, &w.im, 4);
    return static_cast<uint64_t>(lo) | (static_cast<uint64_t>(hi) << 32);
}

}  // extern "C"
