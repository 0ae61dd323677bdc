// Relative frequency shift and half-width of a radial mode caused by a duct:
// a chain of N cylindrical sections, section 1 opening into the resonator,
// the far end of section N open (zero impedance).
//
// Method (j over the sections; pi is the module's stored value)
//   r_j, L_j, a_m: radii, lengths and the resonator radius in metres;
//   S_j = (r_j r_j) pi.
//   kv = (1 - i)/dv, kt = (1 - i)/dt with dv = d_v(eta, rho, f) and
//   dt = d_t(kappa, rho, cp, f).
//   Boundary-layer functions F(z) = 2 J_1(z) / (z J_0(z)): Fv_j at
//   z = r_j kv (all sections), then Ft_j at z = r_j kt; on the ray
//   arg z = -pi/4.
//   k = f (2 pi)/c; A_j = 1 + (gamma - 1) Ft_j; B_j = 1 - Fv_j;
//   Gamma_j = (ik) sqrt(A_j/B_j); Z_j = ((rho c)/S_j) / sqrt(A_j B_j), two
//   separate principal roots.
//   T-network of each section, x_j = Gamma_j L_j: series arm
//   Zs_j = Z_j tanh(x_j/2), shunt arm Zp_j = Z_j / sinh(x_j).
//   Cascade from the open end, Zin = 0; for j = N .. 1:
//   Zin = (Zs_j + Zin) Zp_j / ((Zp_j + Zs_j) + Zin) + Zs_j.
//   R = (((i rho) c) / Zin) / (zac(n) (a_m a_m) 4 pi); df = Re R, g = Im R.
//   Every quotient is velk::cdiv, also by a real divisor, and a real operand
//   meeting a complex one is the complex (x, 0) in a full product.  Nine work
//   arrays of N elements are obtained in the order areas, thermal and viscous
//   functions, propagation constants, lengths, radii, characteristic
//   impedances, series and shunt arms, and released in reverse order.
//
// Special cases
//   N <= 0: Zin stays 0 and both outputs are NaN (0/0).  A zero length or a
//   zero zac(n) (n = 1, 14..16): NaN.  A mode number outside 1..16 or work
//   storage that cannot be obtained: quiet NaN.  Wide sections: z J_0(z)
//   overflows from r/delta of about 707.7 on, both outputs NaN; finite up to
//   about 707.
//
// Accuracy
//   A single section agrees with the open-line formula Z tanh(Gamma L) to
//   rounding; the Bessel quotient carries the accuracy of besselj.
#include "ducts.hpp"

#include <cstddef>
#include <memory>
#include <new>

#include "boundary_layer.hpp"
#include "frame/numeric.hpp"
#include "frame/tables.hpp"
#include "special/bessel.hpp"

namespace velk::acoustic {
namespace {

template <class T>
std::unique_ptr<T[]> obtain(std::size_t count) {
    return std::unique_ptr<T[]>(new (std::nothrow) T[count]);
}

cplx real(double x) { return {x, 0.0}; }

// 2 J_1(z) / (z J_0(z))
cplx boundary_layer_function(cplx z) {
    const cplx j1 = special::besselj(1, z);
    const cplx j0 = special::besselj(0, z);
    return cdiv(real(2.0) * j1, z * j0);
}

}  // namespace

DuctPerturbation duct_perturbation(std::span<const double> rduct, std::span<const double> lduct,
                                   const DuctGas &gas, double a, double f, std::int32_t n) {
    const std::size_t count = rduct.size() < lduct.size() ? rduct.size() : lduct.size();
    const double pi = stored_pi();

    // Work storage, released in reverse order of declaration.
    const auto area = obtain<double>(count);
    const auto ft = obtain<cplx>(count);
    const auto fv = obtain<cplx>(count);
    const auto prop = obtain<cplx>(count);
    const auto len = obtain<double>(count);
    const auto rad = obtain<double>(count);
    const auto zc = obtain<cplx>(count);
    const auto zs = obtain<cplx>(count);
    const auto zp = obtain<cplx>(count);
    if (!area || !ft || !fv || !prop || !len || !rad || !zc || !zs || !zp) return {qnan, qnan};

    // 1. Metres.
    for (std::size_t j = 0; j < count; ++j) {
        rad[j] = 0.001 * rduct[j];
        len[j] = 0.001 * lduct[j];
    }
    const double a_m = 0.001 * a;

    // 2. Cross-sections.
    for (std::size_t j = 0; j < count; ++j) area[j] = (rad[j] * rad[j]) * pi;

    // 3. Boundary layers: k = (1 - i)/delta.
    const double dv = viscous_length(gas.eta, gas.rho, f);
    const cplx kv = cdiv({1.0, -1.0}, real(dv));
    const double dt = thermal_length(gas.kappa, gas.rho, gas.cp, f);
    const cplx kt = cdiv({1.0, -1.0}, real(dt));

    // 4., 5. Viscous pass, then thermal pass.
    for (std::size_t j = 0; j < count; ++j) fv[j] = boundary_layer_function(real(rad[j]) * kv);
    for (std::size_t j = 0; j < count; ++j) ft[j] = boundary_layer_function(real(rad[j]) * kt);

    // 6. Free-space wave number, as ik.
    const double k = (f * (pi + pi)) / gas.c;
    const cplx ik{0.0, k};

    // 7., 8. Propagation constants and characteristic impedances.
    for (std::size_t j = 0; j < count; ++j) {
        const cplx aj = real(1.0) + real(gas.gamma - 1.0) * ft[j];
        const cplx bj = real(1.0) - fv[j];
        prop[j] = ik * csqrt(cdiv(aj, bj));
        zc[j] = cdiv(real((gas.rho * gas.c) / area[j]), csqrt(aj * bj));
    }

    // 9. T-network arms.
    for (std::size_t j = 0; j < count; ++j) {
        const cplx x = prop[j] * real(len[j]);
        zs[j] = zc[j] * ctanh(cdiv(x, real(2.0)));
        zp[j] = cdiv(zc[j], csinh(x));
    }

    // 10. Cascade from the open far end.
    cplx zin{0.0, 0.0};
    for (std::size_t j = count; j-- > 0;) {
        const cplx u = zs[j] + zin;
        const cplx p = u * zp[j];
        const cplx d = (zp[j] + zs[j]) + zin;
        zin = cdiv(p, d) + zs[j];
    }

    // 11. Relative perturbation.
    const cplx w = cdiv(cplx{0.0, gas.rho} * real(gas.c), zin);
    const cplx r = cdiv(w, real(zac_at(n) * ((a_m * a_m) * (4.0 * pi))));
    return {r.re, r.im};
}

}  // namespace velk::acoustic
