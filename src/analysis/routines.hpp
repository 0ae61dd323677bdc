// The library routines that the analysis layer uses, as plain C++ functions
// taking values.  This is the only file of src/analysis that knows how the
// routines are reached: the C++ interface of velk.hpp with the standard
// model, the same code and bits as the C exports.
//
// Units are those of the exports: radii and lengths in mm, penetration
// lengths in m, frequencies in Hz, pressure in kPa.  Mode numbers are
// checked against the tables by the callers (see table_size below).
#pragma once

#include <cstdint>

#include <cstddef>
#include <span>

#include "velk/velk.hpp"

namespace velk::analysis::lib {

// Mode numbers with a table entry: radial (0,n) with a nonzero eigenvalue,
// and TM1n.
constexpr std::int32_t first_radial = 2, last_radial = 13;
constexpr std::int32_t first_tm = 1, last_tm = 13;
constexpr std::int32_t first_te = 1, last_te = 12;

inline const velk::Model standard_model{};

inline double pi() { return standard_model.pi; }  // the library's stored value
inline double ztm(std::int32_t n) { return standard_model.ztm[n - 1]; }
inline double zte(std::int32_t n) { return standard_model.zte[n - 1]; }
inline double zac(std::int32_t n) { return standard_model.zac[n - 1]; }

inline double f_id(std::int32_t n, double c, double a) { return velk::ideal_frequency(n, c, a); }
inline double d_v(double eta, double rho, double f) {
    return velk::viscous_penetration(eta, rho, f);
}
inline double d_t(double kappa, double rho, double cp, double f) {
    return velk::thermal_penetration(kappa, rho, cp, f);
}
inline double I_t(double t, double p, double cv, double kappa, double mw, double h) {
    return velk::accommodation_length(t, p, cv, kappa, mw, h);
}
inline double df_dth(double gamma, double a, double dt) {
    return velk::thermal_shift(gamma, a, dt);
}
inline double g_th(double gamma, double a, double dt) {
    return velk::thermal_halfwidth(gamma, a, dt);
}
inline double g_thO2(double gamma, double a, double dt) {
    return velk::thermal_second_order(gamma, a, dt);
}
inline float df_Ith(double gamma, double a, double lt) {
    return velk::accommodation_shift(gamma, a, lt);
}
inline double k_cu(double t, double rrr) { return velk::copper_conductivity(t, rrr); }
inline double cp_cu(double t) { return velk::copper_heat_capacity(t); }
inline double g_Cu(double gamma, double a, double dcu, double kappa, double kcu) {
    return velk::shell_halfwidth(gamma, a, dcu, kappa, kcu);
}
// Temperature and pressure have no influence on the bulk half-width.
inline double g_b(double /*t*/, double /*p*/, double c, double gamma, double dv, double dt,
                  double f) {
    return velk::bulk_halfwidth(c, gamma, dv, dt, f);
}
// rduct and lduct hold `sections` values each.
inline void df_ducts(const double *rduct, const double *lduct, std::int32_t sections, double rho,
                     double cp, double c, double gamma, double kappa, double eta, double a,
                     double f, std::int32_t n, double &df, double &g) {
    const std::size_t count = sections > 0 ? static_cast<std::size_t>(sections) : 0;
    const velk::Perturbation r = velk::duct_perturbation(
        std::span<const double>(rduct, count), std::span<const double>(lduct, count),
        velk::DuctGas{rho, cp, c, gamma, kappa, eta}, a, f, n);
    df = r.df;
    g = r.g;
}
inline double df_mic(double rmic, double a, double rho, double c) {
    return velk::mic_shift(rmic, a, rho, c);
}
inline void Eps_TM1n(double fa, double fb, double fc, std::int32_t n, double &eps1, double &eps2) {
    const velk::Deformation d = velk::deformation_tm1n(fa, fb, fc, n);
    eps1 = d.eps1;
    eps2 = d.eps2;
}
inline float O2dZ2AC(const double eps[2], std::int32_t n) {
    return velk::second_order_ac(eps[0], eps[1], n);
}
inline double d_sk(double f, double sigma, double mu_r) { return velk::skin_depth(f, sigma, mu_r); }
inline void df_skTM1n(double dsk, double a, std::int32_t n, double &df, double &g) {
    const velk::Perturbation r = velk::skin_perturbation_tm1n(dsk, a, n);
    df = r.df;
    g = r.g;
}
inline float dzm2_zTM1n(double eps1, double eps2, std::int32_t n) {
    return velk::second_order_tm1n(eps1, eps2, n);
}
inline double df_dcTM1n(double r, double a, std::int32_t n) {
    return velk::cube_shift_tm1n(r, a, n);
}
inline void df_skTE(double dsk, double a, double &df, double &g) {
    const velk::Perturbation r = velk::skin_perturbation_te(dsk, a);
    df = r.df;
    g = r.g;
}
inline float dzm2_zTE1n(double eps1, double eps2, std::int32_t n) {
    return velk::second_order_te1n(eps1, eps2, n);
}
inline double df_dcTE(double r, double a) { return velk::cube_shift_te(r, a); }

}  // namespace velk::analysis::lib
