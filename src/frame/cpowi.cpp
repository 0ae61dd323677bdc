// Single-precision complex integer power z^n, by repeated squaring in single
// precision with plain products.  n = 0 gives (1, 0) whatever z is; a negative
// n raises the reciprocal of z (the library's complex division, in single
// precision) to -n, also for n = -2^31.
#include "cpowi.hpp"

#include <cmath>

namespace velk::frame {
namespace {

fcplx mul(fcplx x, fcplx y) { return {x.re * y.re - x.im * y.im, x.re * y.im + x.im * y.re}; }

fcplx reciprocal(fcplx z) {
    const float c = z.re, d = z.im;
    if (std::fabs(d) > std::fabs(c)) {
        const float r = c / d;
        const float t = d + c * r;
        return {r / t, -1.0f / t};
    }
    const float r = d / c;
    const float t = c + d * r;
    return {1.0f / t, -r / t};
}

}  // namespace

fcplx cpowi(fcplx z, std::int32_t n) {
    if (n == 0) return {1.0f, 0.0f};
    std::uint32_t e = static_cast<std::uint32_t>(n);
    if (n < 0) {
        z = reciprocal(z);
        e = 0u - e;
    }
    fcplx result{1.0f, 0.0f};
    bool first = true;
    for (;;) {
        if (e & 1u) {
            result = first ? z : mul(result, z);
            first = false;
        }
        e >>= 1;
        if (e == 0) break;
        z = mul(z, z);
    }
    return result;
}

}  // namespace velk::frame
