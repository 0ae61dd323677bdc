// Export layer of the library frame: adapters over the C++ interface.
#include <cstring>

#include "frame/tables.hpp"
#include "velk/velk.h"
#include "velk/velk.hpp"

extern "C" {

VELK_API double VELK_CALL f_id(const int32_t *n, const double *c, const double *a) {
    return velk::ideal_frequency(*n, *c, *a, velk::exported_model());
}

VELK_API double VELK_CALL Ell_Req(const double *a1, const double *a2, const double *a3) {
    return velk::equal_volume_radius(*a1, *a2, *a3);
}

VELK_API uint64_t VELK_CALL _velk_cpowi(float re, float im, int32_t n) {
    const std::complex<float> w = velk::cpowi({re, im}, n);
    const float re_w = w.real(), im_w = w.imag();
    std::uint32_t lo = 0, hi = 0;
    std::memcpy(&lo, &re_w, 4);
    std::memcpy(&hi, &im_w, 4);
    return static_cast<uint64_t>(lo) | (static_cast<uint64_t>(hi) << 32);
}

}  // extern "C"
