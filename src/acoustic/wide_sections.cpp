// Duct sections beyond the double range of the direct formulas.
//
// 1. Boundary-layer function F(z) = 2 J_1(z) / (z J_0(z)) of wide sections.
// On the ray arg z = -pi/4, J_0 and J_1 grow like e^{|Im z|}; from r/delta of
// about 707 (|Im z| = r/delta) the product z J_0(z) leaves the double range
// and from about 714 the Bessel values themselves do, although F is small
// and smooth there, close to (1 - i)/x.  This file computes F for such
// arguments without forming either Bessel value.
//
// Method
//   F is even in z and F(conj z) = conj F(z), so z is first taken to the
//   lower half-plane (z -> -z when Im z > 0; exact).  There J_nu = (H1_nu +
//   H2_nu)/2 with |H2_nu/H1_nu| ~ e^{-2|Im z|} < e^{-1380}, so
//   J_1/J_0 = H1_1/H1_0 to far below rounding.  Hankel's expansion,
//     H1_nu(z) = sqrt(2/(pi z)) e^{i(z - nu pi/2 - pi/4)} S_nu(u),
//     S_nu(u) = sum_k a_k(nu) u^k,  u = i/z,
//     a_0 = 1,  a_k(nu) = a_{k-1}(nu) (4 nu^2 - (2k - 1)^2) / (8k),
//   gives J_1/J_0 = -i S_1/S_0 and
//     F = -2u S_1/S_0 = -2u (1 + D/S_0),  D = S_1 - S_0 = sum_{k>=1} d_k u^k.
//   Writing F through D keeps the rounding of the two series out of the
//   leading term: D/S_0 is about u/2, below 4e-4 in size.  The coefficients
//   a_k(0) and d_k = a_k(1) - a_k(0) are exact dyadic rationals and stored
//   exactly.  Both series run to k = 8 in Horner form: with |u| <= 1/(690
//   sqrt 2) the first omitted term is below 1e-22 of the sum.
//
// 2. T-network arms Z tanh(x/2) and Z / sinh(x) of long, lossy sections
//   (x = Gamma L).  From Re x of about 710 sinh(x) overflows, and a runtime
//   that forms tanh(x/2) from cosh(x) overflows there too, although the arms
//   are ordinary: tanh(x/2) = (1 - e^{-x}) / (1 + e^{-x}) is 1 to rounding
//   and Z csch(x) = Z 2e^{-x} / (1 - e^{-2x}) is zero or subnormal, so the
//   section acts as its characteristic impedance.  Both arms are odd in x.
//   Where the direct forms are finite their bits are kept.
//
// Accuracy
//   F within 1e-15 relative of 50-digit values on the ray from r/delta = 700
//   to 1e6 (tests/acoustic/wide_sections_test.cpp); the quotient of the
//   Bessel values, where it is still finite just below the switch, agrees
//   with it to about 1e-15.
//
// Special cases
//   Meant for finite z with |Im z| >= 690 (wide_argument); the caller
//   decides.  Raises no invalid, divide-by-zero or overflow flag there.
#include "wide_sections.hpp"

namespace velk::acoustic {
namespace {

constexpr int kTerms = 8;
// a_k(0), k = 1..8.
constexpr double kA0[kTerms] = {
    -0.125,          0.0703125,           -0.0732421875,       0.112152099609375,
    -0.22710800170898438, 0.5725014209747314, -1.7277275025844574, 6.074042001273483,
};
// d_k = a_k(1) - a_k(0), k = 1..8.
constexpr double kD[kTerms] = {
    0.5,                -0.1875,            0.17578125,          -0.25634765625,
    0.5046844482421875, -1.249094009399414, 3.7212592363357544,  -12.95795626938343,
};

// sum_{k=1}^{8} c_k u^k in Horner form.
cplx series(const double (&c)[kTerms], cplx u) {
    cplx s{c[kTerms - 1], 0.0};
    for (int k = kTerms - 2; k >= 0; --k) s = s * u + cplx{c[k], 0.0};
    return s * u;
}

}  // namespace

cplx boundary_function_wide(cplx z) {
    if (z.im > 0.0) z = {negate(z.re), negate(z.im)};
    const cplx u = cdiv({0.0, 1.0}, z);
    const cplx s0 = cplx{1.0, 0.0} + series(kA0, u);
    const cplx d = series(kD, u);
    const cplx m2u{-2.0 * u.re, -2.0 * u.im};
    return m2u + m2u * cdiv(d, s0);
}

Arms long_section_arms(cplx z, cplx x) {
    const bool negative = x.re < 0.0;
    if (negative) x = {negate(x.re), negate(x.im)};
    const cplx e1 = cexp({negate(x.re), negate(x.im)});  // e^{-x}, tiny: no overflow
    const cplx one{1.0, 0.0};
    const cplx tanh_half = cdiv(one - e1, one + e1);
    const cplx csch = cdiv({2.0 * e1.re, 2.0 * e1.im}, one - e1 * e1);
    Arms a{z * tanh_half, z * csch};
    if (negative) {
        a.series = {negate(a.series.re), negate(a.series.im)};
        a.shunt = {negate(a.shunt.re), negate(a.shunt.im)};
    }
    return a;
}

}  // namespace velk::acoustic
