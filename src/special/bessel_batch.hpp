// J_n over arrays of arguments, the same bits as besselj_fast for every
// argument (see bessel_batch.cpp).
#pragma once

#include <cstdint>
#include <span>

#include "frame/numeric.hpp"
#include "special/bessel_fast.hpp"
#include "special/bessel_lanes.hpp"

namespace velk::special {

// out[k] = besselj_fast(n, z[k]); z and out of the same length.
void besselj_batch(std::int32_t n, std::span<const cplx> z, std::span<cplx> out,
                   const lanes::Kernels &kernels = lanes::best());

// out[k] = besselj10(z[k]).
void besselj10_batch(std::span<const cplx> z, std::span<BesselPair> out,
                     const lanes::Kernels &kernels = lanes::best());

}  // namespace velk::special
