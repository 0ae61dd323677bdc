// The C++ interface of the Bessel functions (velk.hpp), one argument at a
// time; the routines over arrays are in batch.cpp.
#include "special/bessel_fast.hpp"
#include "velk/velk.hpp"

namespace velk {

complex besselj(std::int32_t n, complex z) {
    const cplx j = special::besselj_fast(n, {z.real(), z.imag()});
    return {j.re, j.im};
}

complex normbesselj(std::int32_t n, complex z, std::int32_t nstart, complex seed) {
    const cplx j =
        special::normbesselj_fast(n, {z.real(), z.imag()}, nstart, {seed.real(), seed.imag()});
    return {j.re, j.im};
}

BesselPair besselj10(complex z) {
    const special::BesselPair j = special::besselj10(cplx{z.real(), z.imag()});
    return {{j.j1.re, j.j1.im}, {j.j0.re, j.j0.im}};
}

}  // namespace velk
