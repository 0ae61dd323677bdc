// Copper properties and shell heat terms.
//
// copper_conductivity: 1/k = w0 + wi + wi0, three thermal resistivities:
//     residual w0 = beta/t with beta = 0.634/rrr; intrinsic
//     wi = p1 t^p2 / (1 + p1 p3 t^(p2+p4) exp(-(p5/t)^p6)); and the
//     interaction wi0 = p7 wi w0/(wi + w0), p7 = 0.838/(beta/0.0003)^0.1661.
//     Constants are the single-precision values of the fit held as doubles
//     (copper.hpp).  t = 0, rrr = 0 and rrr = inf give NaN (0 * inf), a
//     negative t NaN.
// copper_heat_capacity: log10 cp = 1.131 - 9.454 X + 12.99 X^2 - 5.501 X^3
//     + 0.7637 X^4, X = log10 t, each X^n formed as (ln t)^n over a
//     single-precision power of ln 10; (ln t)^3 = L (L L), (ln t)^4 = (L L)(L L).
//     t = 0 gives +inf, a negative t NaN.
// shell_halfwidth: (kappa ((gamma - 1)/(2 a) dcu))/kcu, a in metres.
// shell_shift: the same value rounded to single precision, negated.
// Accuracy: the conductivity and heat capacity follow their steps exactly up
// to the rounding of pow, exp and log (a few ulp); against the exact formula
// the cancelling terms of the polynomial leave up to about 3e-14.  The shell
// terms are exact to the order of their steps.
#include "acoustic/copper.hpp"

#include <cmath>

#include "frame/numeric.hpp"

namespace velk::acoustic {

double copper_conductivity(double t, double rrr) {
    // k = 1 / (w0 + wi + wi0)
    using namespace kcu_fit;
    const double beta = beta0 / rrr;
    const double betar = beta / betar0;
    const double p7 = p7_num / crt_pow(betar, p7_exp);
    const double w0 = beta / t;
    const double wi = (p1 * crt_pow(t, p2)) /
                      (1.0 + ((p1 * p3) * crt_pow(t, p24)) * crt_exp(-crt_pow(p5 / t, p6)));
    const double wi0 = ((p7 * wi) * w0) / (wi + w0);
    return 1.0 / ((w0 + wi) + wi0);
}

double copper_heat_capacity(double t) {
    // cp = 10^(1.131 - 9.454 X + 12.99 X^2 - 5.501 X^3 + 0.7637 X^4), X = log10 t
    const double L = crt_log(t);
    double s = 1.131 - (9.454 * L) / cp_ln10[0];
    s = s + (12.99 * (L * L)) / cp_ln10[1];
    s = s - (5.501 * (L * (L * L))) / cp_ln10[2];
    s = (0.7637 * ((L * L) * (L * L))) / cp_ln10[3] + s;
    return crt_pow(10.0, s);
}

double shell_halfwidth(double gamma, double a, double dcu, double kappa, double kcu) {
    // g/f = (gamma - 1)/(2 a) dcu kappa/kcu
    const double am = 0.001 * a;
    const double q = (gamma - 1.0) / (am + am);
    return (kappa * (q * dcu)) / kcu;
}

float shell_shift(double gamma, double a, double dcu, double kappa, double kcu) {
    // df/f = -single((gamma - 1)/(2 a) dcu kappa/kcu)
    return -static_cast<float>(shell_halfwidth(gamma, a, dcu, kappa, kcu));
}

}  // namespace velk::acoustic
