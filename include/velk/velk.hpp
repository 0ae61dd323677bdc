// velk for C++: the library's routines as values in and values out, in
// namespace velk.  Link the static library velk::core (CMake target
// velk_core); it carries the floating-point flags that the bit-exact results
// need (-ffp-contract=off, no fast-math; on 32-bit x86 SSE2 arithmetic and a
// realigned stack), so every consumer compiles with them.
//
// Every routine gives the same bits as the exported C routine named in its
// comment (velk.h): the C exports are thin adapters over these functions,
// passing the model of the exported data as it stands at the call.
//
// Units (as in velk.h): radii and duct dimensions in mm; penetration,
// accommodation and skin depths in m; pressure in kPa; everything else SI.
// Pairs of a relative frequency shift and a relative half-width come as a
// Perturbation {df, g}.  Mode numbers count from 1; a mode number outside its
// table gives quiet NaN.  Nothing else is validated: infinities and NaNs
// propagate.  The routines keep no state and are safe from any thread.
//
// Constants reach the routines through a Model (velk/model.hpp); the default
// is the standard model, the values of the exported data at load.
//
// Each routine's name here is its name in every host (Python, MATLAB/Octave,
// Excel as VELK_ and the name in capitals); the export table records it.
//
// C++ name                 export (velk.h)
//   equal_volume_radius      Ell_Req
//   ideal_frequency          f_id
//   cpowi                    _velk_cpowi
//   besselj (scalar)         __velk_MOD_besselj
//   normbesselj              __velk_MOD_normbesselj
//   sort_frequencies         __velk_MOD_sortfreq
//   te_family_factor         __velk_MOD_hte
//   tm_family_factor         __velk_MOD_htm
//   deformation_te1n         Eps_TE1n
//   deformation_tm1n         Eps_TM1n
//   second_order_te1n        dzm2_zTE1n
//   second_order_tm1n        dzm2_zTM1n
//   second_order_ac          O2dZ2AC
//   skin_depth               d_sk
//   skin_perturbation_te     df_skTE
//   skin_perturbation_tm1n   df_skTM1n
//   cube_shift_te            df_dcTE
//   cube_shift_tm1n          df_dcTM1n
//   viscous_penetration      d_v
//   thermal_penetration      d_t
//   accommodation_length     I_t
//   thermal_halfwidth        g_th
//   thermal_shift            df_dth
//   thermal_second_order     g_thO2
//   accommodation_shift      df_Ith
//   thermal_shift_hz         df_th
//   thermal_halfwidth_hz     g_t
//   bulk_halfwidth           g_b
//   mic_shift                df_mic
//   copper_conductivity      k_cu
//   copper_heat_capacity     cp_cu
//   shell_halfwidth          g_Cu
//   shell_shift              df_CuTh
//   duct_perturbation        df_ducts
// The exported data (__velk_MOD_cnst, _pi, _zac, _zte, _ztm) is the Model;
// the Constants record's companions have no C++ counterpart.
//
// Batch routines (no export): besselj over an array, besselj10 (J_1 and J_0),
// boundary_layer_function, duct_perturbation over frequencies or modes.
#pragma once

#include <array>
#include <complex>
#include <cstdint>
#include <span>

#include "velk/model.hpp"

namespace velk {

using complex = std::complex<double>;

// A relative frequency shift and a relative half-width.
struct Perturbation {
    double df = 0.0;
    double g = 0.0;
};

// ---- Ideal resonator ------------------------------------------------------

// Radius of the sphere with the volume of the ellipsoid with semi-axes a1,
// a2, a3 (any one unit), (a1 a2 a3)^(1/3).  Ell_Req.
double equal_volume_radius(double a1, double a2, double a3);

// Ideal frequency in Hz of radial mode (0,n), n = 1..16: c zac(n)/(2 pi a);
// c speed of sound in m/s, a radius in mm.  f_id.
double ideal_frequency(std::int32_t n, double c, double a, const Model &model = {});

// Single-precision z^n by repeated squaring; n = 0 gives (1, 0), negative n
// raises 1/z to -n.  _velk_cpowi.
std::complex<float> cpowi(std::complex<float> z, std::int32_t n);

// ---- Bessel functions -----------------------------------------------------

// J_n(z), integer order, complex argument, by backward recurrence; quiet NaN
// where the evaluation is not defined (|z| not finite, z = 0, a sequence too
// long to obtain).  No heap request for |z| below 2000.  __velk_MOD_besselj.
complex besselj(std::int32_t n, complex z);

// w_n/N of the backward recurrence started at nstart with the trial value
// seed.  __velk_MOD_normbesselj (whose count argument is not read).
complex normbesselj(std::int32_t n, complex z, std::int32_t nstart, complex seed);

// J_1(z) and J_0(z) of one argument, each the bits of besselj.
struct BesselPair {
    complex j1;
    complex j0;
};
BesselPair besselj10(complex z);

// The boundary-layer function 2 J_1(z) / (z J_0(z)) that the duct model
// uses, the same bits as inside duct_perturbation.
complex boundary_layer_function(complex z);

// Over arrays: out[k] = besselj(n, z[k]) and so on, bit for bit, for every
// argument.  Independent arguments are evaluated side by side (SIMD lanes
// where the processor has them, chosen once at load).  The output spans must
// have the length of z (else std::invalid_argument); they may not overlap z.
void besselj(std::int32_t n, std::span<const complex> z, std::span<complex> out);
void besselj10(std::span<const complex> z, std::span<complex> j1, std::span<complex> j0);
void boundary_layer_function(std::span<const complex> z, std::span<complex> out);

// ---- Microwave triplets and shape -----------------------------------------

// The values of fa, fb, fc that are not -1, ascending (a NaN stays where
// the insertion puts it); count says how many of f are set.
struct SortedTriplet {
    std::array<double, 3> f{};
    int count = 0;
};
SortedTriplet sort_frequencies(double fa, double fb, double fc);  // __velk_MOD_sortfreq

// Mode-family factors at eigenvalue z.  __velk_MOD_hte, __velk_MOD_htm.
double te_family_factor(double z);
double tm_family_factor(double z);

// Deformation parameters from a microwave triplet (Hz) of mode TE1n
// (n = 1..12) or TM1n (n = 1..13).  Eps_TE1n, Eps_TM1n.
struct Deformation {
    double eps1 = 0.0;
    double eps2 = 0.0;
};
Deformation deformation_te1n(double fa, double fb, double fc, std::int32_t n,
                             const Model &model = {});
Deformation deformation_tm1n(double fa, double fb, double fc, std::int32_t n,
                             const Model &model = {});

// Second-order eigenvalue corrections, single precision.  dzm2_zTE1n,
// dzm2_zTM1n, O2dZ2AC (mode (0,n), n = 1..16).
float second_order_te1n(double eps1, double eps2, std::int32_t n, const Model &model = {});
float second_order_tm1n(double eps1, double eps2, std::int32_t n, const Model &model = {});
float second_order_ac(double eps1, double eps2, std::int32_t n, const Model &model = {});

// ---- Microwave corrections --------------------------------------------------

// Skin depth in m, 1/sqrt(pi mu0 x1 x2 x3), typically frequency (Hz),
// conductivity (S/m) and relative permeability.  d_sk.
double skin_depth(double x1, double x2, double x3, const Model &model = {});
// Skin-depth perturbation of TE and TM1n modes; dsk in m, a in mm.
// df_skTE, df_skTM1n.
Perturbation skin_perturbation_te(double dsk, double a);
Perturbation skin_perturbation_tm1n(double dsk, double a, std::int32_t n, const Model &model = {});
// Relative shifts proportional to (r/a)^3; r and a in mm.  df_dcTE, df_dcTM1n.
double cube_shift_te(double r, double a, const Model &model = {});
double cube_shift_tm1n(double r, double a, std::int32_t n, const Model &model = {});

// ---- Boundary layers and thermal terms -------------------------------------

// Viscous penetration length in m; eta in Pa s, rho in kg/m3, f in Hz.  d_v.
double viscous_penetration(double eta, double rho, double f, const Model &model = {});
// Thermal penetration length in m; kappa in W/(m K), cp in J/(kg K).  d_t.
double thermal_penetration(double kappa, double rho, double cp, double f,
                           const Model &model = {});
// Thermal accommodation length in m; t in K, p in kPa, cv in J/(kg K), mw in
// kg/mol, h the accommodation coefficient.  I_t.
double accommodation_length(double t, double p, double cv, double kappa, double mw, double h,
                            const Model &model = {});
// Relative thermal boundary-layer terms; a in mm, dt and lt in m.
double thermal_halfwidth(double gamma, double a, double dt);     // g_th
double thermal_shift(double gamma, double a, double dt);         // df_dth
double thermal_second_order(double gamma, double a, double dt);  // g_thO2
float accommodation_shift(double gamma, double a, double lt);    // df_Ith
// Thermal shift and half-width in Hz, the shell term included; dcu in m, kcu
// in W/(m K).  df_th, g_t (whose t and p are not read).
double thermal_shift_hz(double gamma, double dt, double dcu, double lt, double kappa, double kcu,
                        double a, double f);
double thermal_halfwidth_hz(double gamma, double dt, double dcu, double kappa, double kcu,
                            double a, double f);

// ---- Bulk, microphone, copper ----------------------------------------------

// Bulk-absorption half-width in Hz; c in m/s, dv and dt in m.  g_b (whose t
// and p are not read).
double bulk_halfwidth(double c, double gamma, double dv, double dt, double f,
                      const Model &model = {});
// Relative shift of a wall microphone of radius rmic (mm).  df_mic.
double mic_shift(double rmic, double a, double rho, double c);
// Thermal conductivity of copper in W/(m K); t in K, rrr the residual
// resistance ratio.  k_cu.
double copper_conductivity(double t, double rrr);
// Specific heat capacity of copper in J/(kg K); t in K.  cp_cu.
double copper_heat_capacity(double t);
// Shell terms of the half-width and (single precision) the shift.  g_Cu, df_CuTh.
double shell_halfwidth(double gamma, double a, double dcu, double kappa, double kcu);
float shell_shift(double gamma, double a, double dcu, double kappa, double kcu);

// ---- Ducts ------------------------------------------------------------------

// The gas in the ducts and the resonator, SI units.
struct DuctGas {
    double rho = 0.0;    // density, kg/m3
    double cp = 0.0;     // specific heat capacity at constant pressure, J/(kg K)
    double c = 0.0;      // speed of sound, m/s
    double gamma = 0.0;  // ratio of the heat capacities
    double kappa = 0.0;  // thermal conductivity, W/(m K)
    double eta = 0.0;    // shear viscosity, Pa s
};

// Perturbation of radial mode (0,n) (n = 1..16) by a chain of cylindrical
// duct sections: radii rduct and lengths lduct in mm, section 1 (index 0) at
// the resonator, the far end open; the shorter span sets the number of
// sections (none gives NaN).  a resonator radius in mm, f in Hz.  df_ducts.
Perturbation duct_perturbation(std::span<const double> rduct, std::span<const double> lduct,
                               const DuctGas &gas, double a, double f, std::int32_t n,
                               const Model &model = {});
// The same chain over many frequencies (out[k] at f[k]) or many modes at one
// frequency (out[k] for mode n[k]), each the bits of the single call.  out
// must have the length of f or n (else std::invalid_argument).
void duct_perturbation(std::span<const double> rduct, std::span<const double> lduct,
                       const DuctGas &gas, double a, std::span<const double> f, std::int32_t n,
                       std::span<Perturbation> out, const Model &model = {});
void duct_perturbation(std::span<const double> rduct, std::span<const double> lduct,
                       const DuctGas &gas, double a, double f, std::span<const std::int32_t> n,
                       std::span<Perturbation> out, const Model &model = {});

}  // namespace velk
