// Duct sections beyond the double range of the direct formulas: the
// boundary-layer function F(z) = 2 J_1(z) / (z J_0(z)) of wide sections,
// where the quotient of the two Bessel values cannot be formed, and the shunt
// arm Z / sinh(x) of long, lossy sections, where sinh(x) overflows (see
// wide_sections.cpp).
#pragma once

#include <cmath>

#include "frame/fpenv.hpp"
#include "frame/numeric.hpp"

namespace velk::acoustic {

// |Im z| from which z J_0(z) may leave the double range (r/delta = 690 on
// the ray): below it the quotient is formed as it stands.
inline constexpr double kWideFrom = 690.0;
// |Im z| from which J_0(z) itself overflows for every z whose Bessel values
// can be evaluated at all: only the wide route is taken.
inline constexpr double kWideOnly = 730.0;

// F(z) by the Hankel expansion of J_1/J_0; for finite z with |Im z| >= kWideFrom.
cplx boundary_function_wide(cplx z);

// Whether z is finite and |Im z| >= kWideFrom.
inline bool wide_argument(cplx z) {
    return std::isfinite(z.re) && std::fabs(z.im) >= kWideFrom && std::fabs(z.im) <= 1.0e300;
}

// F(z) for a wide argument: direct(z), the quotient formed from the Bessel
// values as everywhere else, where it is finite and not zero, otherwise the
// wide route.  direct runs with every exception masked and its flags
// discarded, so a host that traps sees nothing of the overflow.
template <class Direct>
cplx boundary_function_guarded(cplx z, Direct direct) {
    if (std::fabs(z.im) < kWideOnly) {
        cplx f;
        {
            FpHold hold;
            cplx at = z;
            fp_barrier(at);
            f = direct(at);
            fp_barrier(f);
        }
        if (std::isfinite(f.re) && std::isfinite(f.im) && (f.re != 0.0 || f.im != 0.0)) return f;
    }
    return boundary_function_wide(z);
}

// |Re x| from which sinh(x) may overflow (x = Gamma L of a section).
inline constexpr double kLongFrom = 700.0;

inline bool long_section(cplx x) {
    return std::isfinite(x.im) && std::fabs(x.re) >= kLongFrom && std::fabs(x.re) <= 1.0e300;
}

// Z csch(x) = Z 2e^{-x} / (1 - e^{-2x}) for Re x >= kLongFrom (odd in x).
cplx shunt_arm_long(cplx z, cplx x);

// The shunt arm of a long section: Z / sinh(x) as everywhere else, with every
// exception masked, where it is finite; otherwise shunt_arm_long.
inline cplx shunt_arm_guarded(cplx z, cplx x) {
    cplx zp;
    {
        FpHold hold;
        cplx zz = z, xx = x;
        fp_barrier(zz);
        fp_barrier(xx);
        zp = cdiv(zz, csinh(xx));
        fp_barrier(zp);
    }
    if (std::isfinite(zp.re) && std::isfinite(zp.im)) return zp;
    return shunt_arm_long(z, x);
}

}  // namespace velk::acoustic
