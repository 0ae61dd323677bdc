// Duct sections beyond the double range of the direct formulas: the
// boundary-layer function F(z) = 2 J_1(z) / (z J_0(z)) of wide sections,
// where the quotient of the two Bessel values cannot be formed, and the arms
// Z tanh(x/2), Z / sinh(x) of long, lossy sections, where sinh(x) overflows (see
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

// |Re x| from which sinh(x), or tanh(x/2) in a runtime that forms it from
// cosh(x), may overflow (x = Gamma L of a section); with a margin.
inline constexpr double kLongFrom = 300.0;

inline bool long_section(cplx x) {
    return std::isfinite(x.im) && std::fabs(x.re) >= kLongFrom && std::fabs(x.re) <= 1.0e300;
}

// The T-network arms Z tanh(x/2) and Z csch(x) of a long section from
// e^{-x} (see wide_sections.cpp), for |Re x| >= kLongFrom.
struct Arms {
    cplx series, shunt;
};
Arms long_section_arms(cplx z, cplx x);

// The arms of a long section: Z tanh(x/2) and Z / sinh(x) as everywhere
// else, with every exception masked, each kept where it is finite; otherwise
// from long_section_arms.
inline Arms long_section_guarded(cplx z, cplx x) {
    Arms a;
    {
        FpHold hold;
        cplx zz = z, xx = x;
        fp_barrier(zz);
        fp_barrier(xx);
        a.series = zz * ctanh(cdiv(xx, {2.0, 0.0}));
        a.shunt = cdiv(zz, csinh(xx));
        fp_barrier(a);
    }
    const bool series_ok = std::isfinite(a.series.re) && std::isfinite(a.series.im);
    const bool shunt_ok = std::isfinite(a.shunt.re) && std::isfinite(a.shunt.im);
    if (series_ok && shunt_ok) return a;
    const Arms l = long_section_arms(z, x);
    return {series_ok ? a.series : l.series, shunt_ok ? a.shunt : l.shunt};
}

}  // namespace velk::acoustic
