// besselj and normbesselj with any order and any complex argument.
// Properties: the result lands in the result area, whose address comes back;
// J_n(conj z) = conj J_n(z) bit for bit (up to the sign of a zero part), and
// likewise normbesselj with the conjugate argument and seed; on the duct ray
// arg z = -pi/4 with 1 <= |z| <= 700, J_0 and J_1 are finite.
// Arguments with 1e5 < |z| < 2^31 cost work in proportion to |z| (the start
// index is about |z|) and are left out; every other double is fair game.
#include <cmath>
#include <limits>

#include "input.hpp"
#include "velk/velk.h"

using velk::fuzz::bits;
using velk::fuzz::fail;

namespace {

// The same bits, or both zero, or both NaN.
bool same(double x, double y) {
    return bits(x) == bits(y) || (x == 0 && y == 0) || (std::isnan(x) && std::isnan(y));
}

bool affordable(velk_complex z) {
    const double a = std::hypot(z.re, z.im);
    return !(a > 1e5 && a < 2147483648.0);
}

velk_complex besselj(int32_t n, velk_complex z) {
    velk_complex r{-7.0, -7.0};
    if (__velk_MOD_besselj(&r, &n, &z) != &r) fail("besselj: returned another address");
    return r;
}

void conjugate_symmetry(int32_t n, velk_complex z) {
    const velk_complex a = besselj(n, z);
    const velk_complex b = besselj(n, {z.re, -z.im});
    if (!same(a.re, b.re) || !same(-a.im, b.im)) fail("besselj(n, conj z) != conj besselj(n, z)");
}

void normbesselj_symmetry(int32_t n, velk_complex z, int32_t nstart, int32_t count,
                          velk_complex seed) {
    velk_complex a{-7.0, -7.0}, b{-7.0, -7.0};
    const velk_complex zc{z.re, -z.im}, sc{seed.re, -seed.im};
    if (__velk_MOD_normbesselj(&a, &n, &z, &nstart, &count, &seed) != &a ||
        __velk_MOD_normbesselj(&b, &n, &zc, &nstart, &count, &sc) != &b)
        fail("normbesselj: returned another address");
    if (!same(a.re, b.re) || !same(-a.im, b.im))
        fail("normbesselj(conj z, conj seed) != conj normbesselj(z, seed)");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    velk::fuzz::Input in(data, size);
    const std::uint8_t mode = in.byte();
    if (mode % 3 == 0) {
        // The duct ray: z = t (1 - i)/sqrt(2), 1 <= t <= 700.
        const double t = in.in(1.0, 700.0);
        const double x = t / std::sqrt(2.0);
        for (int32_t n : {0, 1}) {
            const velk_complex j = besselj(n, {x, -x});
            if (!std::isfinite(j.re) || !std::isfinite(j.im)) fail("besselj not finite on the duct ray");
        }
        conjugate_symmetry(1, {x, -x});
        return 0;
    }
    const int32_t n = mode % 3 == 1 ? static_cast<int32_t>(in.byte()) - 8 : in.integer();
    const velk_complex z{in.real(), in.real()};
    if (!affordable(z)) return 0;
    conjugate_symmetry(n, z);
    // A direct call with its own start index (bounded: the work grows with it).
    const int32_t nstart = static_cast<int32_t>(in.raw<std::uint16_t>() % 1200) - 4;
    const int32_t count = in.integer();
    const velk_complex seed{in.real(), in.real()};
    normbesselj_symmetry(n, z, nstart, count, seed);
    return 0;
}
