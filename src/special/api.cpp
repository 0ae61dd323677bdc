// The C++ interface of the Bessel functions (velk.hpp), one argument at a
// time and over arrays (bessel_batch.cpp).
#include <stdexcept>
#include <string>

#include "special/bessel_batch.hpp"
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

namespace {

void require_length(std::size_t want, std::size_t got, const char *what) {
    if (want != got)
        throw std::invalid_argument(std::string("velk: ") + what + " differs in length from z");
}

}  // namespace

void besselj(std::int32_t n, std::span<const complex> z, std::span<complex> out) {
    require_length(z.size(), out.size(), "out");
    special::besselj_batch(n, z, out);
}

void besselj10(std::span<const complex> z, std::span<complex> j1, std::span<complex> j0) {
    require_length(z.size(), j1.size(), "j1");
    require_length(z.size(), j0.size(), "j0");
    special::besselj10_batch(z, j1, j0);
}

}  // namespace velk
