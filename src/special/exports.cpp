// Export layer of the special functions: adapters over the C++ interface.
#include "velk/velk.h"
#include "velk/velk.hpp"

namespace {

velk_complex *deliver(velk_complex *result, velk::complex v) {
    result->re = v.real();
    result->im = v.imag();
    return result;
}

}  // namespace

extern "C" {

VELK_API velk_complex *VELK_CALL __velk_MOD_besselj(velk_complex *result, const int32_t *n,
                                                   const velk_complex *z) {
    return deliver(result, velk::besselj(*n, {z->re, z->im}));
}

// count is accepted and never read.
VELK_API velk_complex *VELK_CALL __velk_MOD_normbesselj(velk_complex *result, const int32_t *n,
                                                       const velk_complex *z,
                                                       const int32_t *nstart,
                                                       const int32_t * /*count*/,
                                                       const velk_complex *seed) {
    return deliver(result,
                   velk::normbesselj(*n, {z->re, z->im}, *nstart, {seed->re, seed->im}));
}

}  // extern "C"
