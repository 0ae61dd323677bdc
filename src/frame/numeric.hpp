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

#include "frame/fpenv.hpp"

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

// Elementary functions of the standard library.  Each call runs under an
// X87Guard (fpenv.hpp): 32-bit runtimes compute them on the x87 unit, whose
// precision control the host may have changed.  The arguments and the result
// pass through fp_barrier inside the guard, so that the compiler cannot move
// the call (a function without side effects to it) out of the guard.
inline std::complex<double> to_std(cplx x) { return {x.re, x.im}; }
inline cplx from_std(std::complex<double> x) { return {x.real(), x.imag()}; }

template <class R, class F, class... A>
inline R crt_call(F f, A... a) {
    X87Guard guard;
    (fp_barrier(a), ...);
    R r = f(a...);
    fp_barrier(r);
    return r;
}

inline double cabs(cplx x) {
    return crt_call<double>([](cplx v) { return std::abs(to_std(v)); }, x);
}
inline cplx cexp(cplx x) {
    return crt_call<cplx>([](cplx v) { return from_std(std::exp(to_std(v))); }, x);
}
inline cplx csqrt(cplx x) {
    return crt_call<cplx>([](cplx v) { return from_std(std::sqrt(to_std(v))); }, x);
}
inline cplx ctanh(cplx x) {
    return crt_call<cplx>([](cplx v) { return from_std(std::tanh(to_std(v))); }, x);
}
inline cplx csinh(cplx x) {
    return crt_call<cplx>([](cplx v) { return from_std(std::sinh(to_std(v))); }, x);
}
inline double crt_pow(double x, double y) {
    return crt_call<double>([](double u, double v) { return std::pow(u, v); }, x, y);
}
inline double crt_exp(double x) {
    return crt_call<double>([](double v) { return std::exp(v); }, x);
}
inline double crt_log(double x) {
    return crt_call<double>([](double v) { return std::log(v); }, x);
}

}  // namespace velk
