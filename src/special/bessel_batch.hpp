// J_n over arrays of arguments, the same bits as besselj_fast for every
// argument (see bessel_batch.cpp).
#pragma once

#include <complex>
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

// The same over the standard complex type, the C++ interface's arrays read
// and written where they are: out[k] = besselj_fast(n, z[k]), and j1[k], j0[k]
// the two values of besselj10(z[k]).
void besselj_batch(std::int32_t n, std::span<const std::complex<double>> z,
                   std::span<std::complex<double>> out,
                   const lanes::Kernels &kernels = lanes::best());
void besselj10_batch(std::span<const std::complex<double>> z,
                     std::span<std::complex<double>> j1, std::span<std::complex<double>> j0,
                     const lanes::Kernels &kernels = lanes::best());

}  // namespace velk::special
