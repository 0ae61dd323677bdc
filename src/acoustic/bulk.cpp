// Bulk absorption and microphone compliance.
//
// bulk_halfwidth: g = (pi^2/c^2) ((gamma - 1) dt^2 + (4/3) dv^2) f^3 in Hz,
//     with the model's pi, 4/3 as the double 1.3333333333333333 and f^3 from
//     the general power function.  With dv, dt from the penetration-length
//     routines this is the classical absorption (shear viscosity and heat
//     conduction, no volume viscosity).  gamma = 1 leaves the viscous term,
//     c = 0 gives +inf.  Accuracy: that of pow, otherwise exact to the order
//     of the steps.
// mic_shift: df/f = -chi (0.001 rmic)^2 (rho c^2 / 2) / (0.001 a)^3, the last
//     step a sign inversion (rmic = 0 gives -0.0, a = 0 gives -inf).
#include "acoustic/bulk.hpp"

#include <cmath>

#include "frame/tables.hpp"

namespace velk::acoustic {

double bulk_halfwidth(double c, double gamma, double dv, double dt, double f, const Model &model) {
    // g = (pi^2/c^2) ((gamma - 1) dt^2 + (4/3) dv^2) f^3
    double q = (model.pi * model.pi) / (c * c);
    const double u = (dv * dv) * 1.3333333333333333;
    double w = (gamma - 1.0) * (dt * dt);
    w = w + u;
    q = q * w;
    return q * crt_pow(f, 3.0);
}

double mic_shift(double rmic, double a, double rho, double c) {
    // df/f = -chi m^2 (rho c^2 / 2) / b^3, m = 0.001 rmic, b = 0.001 a
    const double m = 0.001 * rmic;
    const double b = 0.001 * a;
    double s = rho * (c * c);
    s = s / 2.0;
    s = (m * m) * s;
    const double b3 = b * (b * b);
    double x = s / b3;
    x = chi * x;
    return -x;
}

}  // namespace velk::acoustic
