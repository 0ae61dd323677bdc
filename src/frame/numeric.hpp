// Shared numeric helpers of the library: the complex value type with plain
// products and the library's own complex division, single-precision rounding,
// quiet NaN, and bounds-checked reads of the eigenvalue tables.
//
// Complex division (a + ib)/(c + id): if |d| > |c| (strictly), r = c/d,
// t = d + c r, result ((a r + b)/t, (b r - a)/t); otherwise (also for |d| = |c|
// or a NaN) r = d/c, t = c + d r, result ((a + b r)/t, (b - a r)/t).  There is
// no recovery step: a zero divisor gives NaN in both parts (0/0).
#pragma once

#include <bit>
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>

namespace velk {

inline constexpr double qnan = std::numeric_limits<double>::quiet_NaN();

// -x as a flip of the sign bit, NaN included.  A plain -x may be folded by
// the compiler into the operation that produced x ((-a) * b for -(a * b)),
// which gives the same numbers but not always the same sign of a NaN.
inline double negate(double x) {
    return std::bit_cast<double>(std::bit_cast<std::uint64_t>(x) ^ 0x8000000000000000ull);
}

// x rounded to the nearest single-precision value, widened back to double.
inline double single(double x) { return static_cast<double>(static_cast<float>(x)); }

struct cplx {
    double re = 0.0;
    double im = 0.0;
};

inline cplx operator+(cplx x, cplx y) { return {x.re + y.re, x.im + y.im}; }
inline cplx operator-(cplx x, cplx y) { return {x.re - y.re, x.im - y.im}; }
// Plain product (ac - bd) + i(ad + bc), no NaN recovery.
inline cplx operator*(cplx x, cplx y) {
    return {x.re * y.re - x.im * y.im, x.re * y.im + x.im * y.re};
}

inline cplx cdiv(cplx x, cplx y) {
    const double a = x.re, b = x.im, c = y.re, d = y.im;
    if (std::fabs(d) > std::fabs(c)) {
        const double r = c / d;
        const double t = d + c * r;
        return {(a * r + b) / t, (b * r - a) / t};
    }
    const double r = d / c;
    const double t = c + d * r;
    return {(a + b * r) / t, (b - a * r) / t};
}

// Elementary complex functions of the standard library.
inline std::complex<double> to_std(cplx x) { return {x.re, x.im}; }
inline cplx from_std(std::complex<double> x) { return {x.real(), x.imag()}; }
inline double cabs(cplx x) { return std::abs(to_std(x)); }
inline cplx cexp(cplx x) { return from_std(std::exp(to_std(x))); }
inline cplx csqrt(cplx x) { return from_std(std::sqrt(to_std(x))); }
inline cplx ctanh(cplx x) { return from_std(std::tanh(to_std(x))); }
inline cplx csinh(cplx x) { return from_std(std::sinh(to_std(x))); }

}  // namespace velk
