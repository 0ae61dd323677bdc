// Viscous and thermal boundary layers, the accommodation length and the
// thermal boundary-layer terms of a radial mode.
//
// Method (closed formulas, evaluated in the order written; pi is the
// model's, standard 3.1415927410125732, R the model's gas constant; a_m is
// 0.001 a, the radius in metres)
//   d_v     sqrt(eta / (f (rho pi)))
//   d_t     sqrt(kappa / (f ((rho pi) cp)))
//   I_t     ((2 - h)/h) (kappa/P) sqrt(pi mw t/(2R)) / (1/2 + mw cv/R),
//           P = 1000 p in Pa
//   g_th    (gamma - 1) dt/(2a);  df_dth its exact negation
//   g_thO2  (2 gamma - 1) ((gamma - 1)/2) (dt/a)^2
//   df_Ith  -single((gamma - 1) lt/(2a)), a single-precision result
//   df_th   f [(gamma - 1) lt/a - (gamma - 1) dt/(2a)
//              + (gamma - 1)/(2a) dcu kappa/kcu]
//   g_t     f [(gamma - 1) dt/(2a) + (gamma - 1)/(2a) dcu kappa/kcu
//              - (2 gamma - 1) ((gamma - 1)/2) (dt/a)^2], the radius taken
//           in single precision (a = 50 mm becomes 0.05000000074505806 m)
//   The thermal factor q = (gamma - 1)/(a_m + a_m) doubles by an (exact)
//   addition.
//
// Special cases
//   No argument is checked: a zero radius, density or frequency gives
//   infinities or NaN.  gamma = 1 gives +0 from g_th, g_thO2, g_t and -0 from
//   df_dth, df_Ith; gamma = 0.5 gives -0 from g_thO2.  h = 2 gives I_t = 0.
//   g_t reads neither t nor p.
//
// Accuracy
//   Each result is the stated sequence of correctly rounded operations.
#include "boundary_layer.hpp"

#include <cmath>

#include "frame/numeric.hpp"

namespace velk::acoustic {
namespace {

double metres(double mm) { return 0.001 * mm; }

// (gamma - 1)/(2 a_m)
double thermal_factor(double gamma, double a_m) { return (gamma - 1.0) / (a_m + a_m); }

}  // namespace

double viscous_length(double eta, double rho, double f, const Model &model) {
    // sqrt(eta / (pi rho f))
    const double w = f * (rho * model.pi);
    return std::sqrt(eta / w);
}

double thermal_length(double kappa, double rho, double cp, double f, const Model &model) {
    // sqrt(kappa / (pi rho cp f))
    const double w = f * ((rho * model.pi) * cp);
    return std::sqrt(kappa / w);
}

double accommodation_length(double t, double p, double cv, double kappa, double mw, double h,
                            const Model &model) {
    // ((2 - h)/h) (kappa/P) sqrt(pi mw t/(2R)) / (1/2 + mw cv/R)
    const double r = model.rgas;
    const double pa = 1000.0 * p;
    const double u = kappa / pa;
    const double s = std::sqrt((t * (mw * model.pi)) / (r + r));
    const double j = ((2.0 - h) * (u * s)) / h;
    const double z = 1.0 / (0.5 + (mw * cv) / r);
    return z * j;
}

double thermal_halfwidth(double gamma, double a, double dt) {
    // (gamma - 1) dt/(2a)
    const double q = thermal_factor(gamma, metres(a));
    return dt * q;
}

double thermal_shift(double gamma, double a, double dt) {
    // -(gamma - 1) dt/(2a), a sign flip of g_th (NaN included)
    return negate(thermal_halfwidth(gamma, a, dt));
}

double thermal_second_order(double gamma, double a, double dt) {
    // (2 gamma - 1) ((gamma - 1)/2) (dt/a)^2
    const double x = dt / metres(a);
    const double e1 = (gamma - 1.0) * 0.5;
    const double e2 = (gamma + gamma) - 1.0;
    return (e2 * e1) * (x * x);
}

float accommodation_shift(double gamma, double a, double lt) {
    // -single((gamma - 1) lt/(2a))
    const double q = thermal_factor(gamma, metres(a));
    const double v = lt * q;
    return -static_cast<float>(v);
}

double thermal_shift_hz(double gamma, double dt, double dcu, double lt, double kappa, double kcu,
                        double a, double f) {
    // f [(gamma - 1) lt/a - (gamma - 1) dt/(2a) + (gamma - 1)/(2a) dcu kappa/kcu]
    const double a_m = metres(a);
    const double q = thermal_factor(gamma, a_m);
    const double j = ((gamma - 1.0) / a_m) * lt;
    const double b = dt * q;
    const double s = (kappa * (q * dcu)) / kcu;
    return (s + (j - b)) * f;
}

double thermal_halfwidth_hz(double gamma, double dt, double dcu, double kappa, double kcu,
                            double a, double f) {
    // f [(gamma - 1) dt/(2a) + (gamma - 1)/(2a) dcu kappa/kcu
    //    - (2 gamma - 1) ((gamma - 1)/2) (dt/a)^2], a in single precision
    const double a_s = single(metres(a));
    const double x = dt / a_s;
    const double q_s = (gamma - 1.0) / (a_s + a_s);
    const double b = q_s * dt;
    const double s = (kappa * (q_s * dcu)) / kcu;
    const double o = (x * x) * (((gamma + gamma) - 1.0) * ((gamma - 1.0) * 0.5));
    return ((b + s) - o) * f;
}

}  // namespace velk::acoustic
