// The library routines that the analysis layer uses, as plain C++ functions
// taking values.  This is the only file of src/analysis that knows how the
// routines are reached (today: the C exports of velk.h, linked directly);
// moving to another interface of the library changes this file alone.
//
// Units are those of the exports: radii and lengths in mm, penetration
// lengths in m, frequencies in Hz, pressure in kPa.  Mode numbers are
// checked against the tables by the callers (see table_size below).
#pragma once

#include <cstdint>

#include "velk/velk.h"

namespace velk::analysis::lib {

// Mode numbers with a table entry: radial (0,n) with a nonzero eigenvalue,
// and TM1n.
constexpr std::int32_t first_radial = 2, last_radial = 13;
constexpr std::int32_t first_tm = 1, last_tm = 13;
constexpr std::int32_t first_te = 1, last_te = 12;

inline double pi() { return __velk_MOD_pi; }  // the library's stored value
inline double ztm(std::int32_t n) { return __velk_MOD_ztm[n - 1]; }
inline double zte(std::int32_t n) { return __velk_MOD_zte[n - 1]; }
inline double zac(std::int32_t n) { return __velk_MOD_zac[n - 1]; }

inline double f_id(std::int32_t n, double c, double a) { return ::f_id(&n, &c, &a); }
inline double d_v(double eta, double rho, double f) { return ::d_v(&eta, &rho, &f); }
inline double d_t(double kappa, double rho, double cp, double f) {
    return ::d_t(&kappa, &rho, &cp, &f);
}
inline double I_t(double t, double p, double cv, double kappa, double mw, double h) {
    return ::I_t(&t, &p, &cv, &kappa, &mw, &h);
}
inline double df_dth(double gamma, double a, double dt) { return ::df_dth(&gamma, &a, &dt); }
inline double g_th(double gamma, double a, double dt) { return ::g_th(&gamma, &a, &dt); }
inline double g_thO2(double gamma, double a, double dt) { return ::g_thO2(&gamma, &a, &dt); }
inline float df_Ith(double gamma, double a, double lt) { return ::df_Ith(&gamma, &a, &lt); }
inline double k_cu(double t, double rrr) { return ::k_cu(&t, &rrr); }
inline double cp_cu(double t) { return ::cp_cu(&t); }
inline double g_Cu(double gamma, double a, double dcu, double kappa, double kcu) {
    return ::g_Cu(&gamma, &a, &dcu, &kappa, &kcu);
}
inline double g_b(double t, double p, double c, double gamma, double dv, double dt, double f) {
    return ::g_b(&t, &p, &c, &gamma, &dv, &dt, &f);
}
// rduct and lduct hold `sections` values each.
inline void df_ducts(const double *rduct, const double *lduct, std::int32_t sections, double rho,
                     double cp, double c, double gamma, double kappa, double eta, double a,
                     double f, std::int32_t n, double &df, double &g) {
    ::df_ducts(rduct, lduct, &sections, &rho, &cp, &c, &gamma, &kappa, &eta, &a, &f, &n, &df, &g);
}
inline double df_mic(double rmic, double a, double rho, double c) {
    return ::df_mic(&rmic, &a, &rho, &c);
}
inline void Eps_TM1n(double fa, double fb, double fc, std::int32_t n, double &eps1, double &eps2) {
    ::Eps_TM1n(&fa, &fb, &fc, &n, &eps1, &eps2);
}
inline float O2dZ2AC(const double eps[2], std::int32_t n) { return ::O2dZ2AC(eps, &n); }
inline double d_sk(double f, double sigma, double mu_r) { return ::d_sk(&f, &sigma, &mu_r); }
inline void df_skTM1n(double dsk, double a, std::int32_t n, double &df, double &g) {
    ::df_skTM1n(&dsk, &a, &n, &df, &g);
}
inline float dzm2_zTM1n(double eps1, double eps2, std::int32_t n) {
    return ::dzm2_zTM1n(&eps1, &eps2, &n);
}
inline double df_dcTM1n(double r, double a, std::int32_t n) { return ::df_dcTM1n(&r, &a, &n); }
inline void df_skTE(double dsk, double a, double &df, double &g) { ::df_skTE(&dsk, &a, &df, &g); }
inline float dzm2_zTE1n(double eps1, double eps2, std::int32_t n) {
    return ::dzm2_zTE1n(&eps1, &eps2, &n);
}
inline double df_dcTE(double r, double a) { return ::df_dcTE(&r, &a); }

}  // namespace velk::analysis::lib
