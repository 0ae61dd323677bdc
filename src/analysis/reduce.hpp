// The data reduction of an acoustic gas thermometer: from measured
// resonances to the radius, the speed of sound and the temperature.
//
//  1. Microwave radius (unless the radius is given): from TM1n triplets, the deformation parameters of one
//     chosen triplet (Eps_TM1n) and, per mode, the ideal frequency
//     f_id = fbar / (1 + skin shift + second-order shape + port terms) and the
//     radius a_n = z_1n c0 / (2 pi n_gas f_id).  The skin depth is evaluated
//     at the ideal frequency, which depends on the radius: iterated until the
//     radius changes by less than 1e-12 relative.  pi is the library's stored
//     value, as in f_id of the acoustic modes: its 2.8e-8 relative offset
//     enters the radius and leaves again in c = 2 pi a f / z.
//  2. Speed of sound: per state point and radial mode (0,n), the c for which
//     the budget's predicted frequency f_id(n, c, a) (1 + sum of shifts)
//     equals the measured one; every correction depends on c through the
//     ideal frequency, so c is iterated, c <- c f_meas / f_pred(c), until it
//     changes by less than 1e-12 relative.  Diagnostics: each mode's
//     deviation from the point's mean c and its excess half-width
//     (g_meas - g_pred) / f_meas, both in ppm.
//  3. Isotherm: weighted least squares of c^2 against p with the chosen
//     terms p^k, k in {-1, 0, 1, 2, 3} (Eigen, column-pivoting QR); the
//     weights are 1/u^2 with u the statistical uncertainty of each point's
//     mean c^2 from the scatter of its modes, or equal when a point has a
//     single mode or no scatter; the covariance is scaled by the reduced
//     chi-square (zero with no degrees of freedom).  The propagation keeps
//     the weights of the unperturbed reduction.  A0 = gamma0 R T / M
//     gives T with the exact SI gas constant, or R and k_B when T is given.
//  4. Uncertainties: every input with a standard uncertainty is propagated
//     through the whole reduction by central differences (uncertainty.hpp),
//     so that an input shared by all points stays correlated through the
//     fit, and combined in quadrature with the fit's statistical uncertainty.
//     Monte Carlo (GUM Supplement 1): every uncertain input drawn from a
//     normal distribution (seeded generator), the reduction repeated.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "budget.hpp"
#include "uncertainty.hpp"

namespace velk::analysis {

constexpr double exact_gas_constant = 8.314462618;  // J/(mol K), N_A k_B
constexpr double avogadro = 6.02214076e23;          // 1/mol, exact
constexpr double speed_of_light = 299792458.0;      // m/s, exact

struct TmTriplet {
    std::int32_t n;                // TM1n, or TE1n when te
    std::array<double, 3> f;       // Hz
    std::optional<std::array<double, 3>> g;  // half-widths, Hz
    bool te = false;
};

struct MicrowaveInput {
    double n_gas = 1.0;            // refractive index of the medium
    std::int32_t shape_mode = 1;   // the TM1n triplet that gives eps1, eps2
    std::vector<TmTriplet> triplets;
    std::vector<double> ports;     // port hole radii, mm
};

struct MeasuredMode {
    std::int32_t n;  // radial mode (0,n)
    double f, g;     // frequency and half-width, Hz
};

struct StatePoint {
    double t, p;                              // K, kPa
    double rho, gamma, eta, kappa, cp, cv;    // as in Gas
    std::vector<MeasuredMode> modes;
};

struct ReduceInput {
    std::string gas_name = "gas";
    double mw;             // molar mass, kg/mol
    double h;              // thermal accommodation coefficient
    double gamma0 = 5.0 / 3.0;  // zero-pressure heat-capacity ratio
    Resonator res;         // res.a > 0: the radius is given (the triplets then give
                           // the shape and the diagnostics); 0: from the triplets
    std::vector<Duct> ducts;
    std::vector<Microphone> mics;
    std::optional<MicrowaveInput> microwave;
    std::vector<StatePoint> points;
    std::vector<int> terms = {0, 1, 2};   // powers of p in the isotherm
    std::optional<double> t_known;        // K: gives R and k_B instead of T
    Uncertainties u;
};

// Every numeric field with its path.
void visit_fields(ReduceInput &in, const FieldVisitor &f);

struct TmResult {
    std::int32_t n;
    bool te;                // TE1n (else TM1n)
    double f_mean;          // Hz
    double dsk;             // m
    double skin_shift, skin_half_width, shape, ports;  // relative
    double f_ideal;         // Hz
    double a;               // mm
    double deviation_ppm;   // from the mean radius
    std::optional<double> excess_half_width_ppm;
    int iterations;
};

struct ModeResult {
    std::int32_t n;
    double f, g;            // measured, Hz
    double c;               // m/s
    double shift, g_pred;   // relative shift, predicted half-width in Hz
    double deviation_ppm, excess_half_width_ppm;
    int iterations;
};

struct PointResult {
    double t, p;
    std::vector<ModeResult> modes;
    double c;               // mean over the modes, m/s
    double u_c_stat;        // standard deviation of the mean, m/s (0 for one mode)
    double residual_ppm;    // of c^2 from the isotherm
};

struct FitResult {
    std::vector<int> terms;        // powers of p (in Pa)
    std::vector<double> coef;      // A_k in (m/s)^2 / Pa^k
    std::vector<double> u_stat;    // their statistical standard uncertainties
    double chi2_reduced;           // NaN without degrees of freedom
    int dof;
};

struct Reduction {
    double a;                // radius used, mm
    bool a_from_microwave;
    double eps1 = 0, eps2 = 0;
    std::vector<TmResult> tm;
    std::vector<PointResult> points;
    FitResult fit;
    double a0, u_a0_stat;    // A0 and its statistical uncertainty, (m/s)^2
    bool temperature;        // true: t is the result; false: r_gas and k_b
    double t;                // K
    double r_gas, k_b;       // J/(mol K), J/K
    double result() const { return temperature ? t : r_gas; }
};

// Runs the reduction; throws InputError.  `weights_of`, when given, fixes the
// isotherm's weights to those of an earlier reduction of the same points (the
// propagation moves the inputs, not the weights).
Reduction reduce(const ReduceInput &in, const Reduction *weights_of = nullptr);

// One input's share of an output's uncertainty.
struct Contribution {
    std::string input;
    double value;  // c_i u_i in the output's unit (signed)
};

struct Uncertain {
    std::string name;     // "radius", "c[2]", "A0", "T", ...
    std::string unit;
    double value;
    double u_inputs;      // from the inputs' uncertainties
    double u_stat;        // statistical (scatter of modes, fit)
    double u() const;     // combined
    std::vector<Contribution> budget;  // sorted by magnitude, largest first
};

// The uncertainty of the radius, every c_n, every point's mean c, A0 and the
// result (T or R, then k_B).
std::vector<Uncertain> propagate(const ReduceInput &in, const Reduction &r);

struct MonteCarlo {
    std::size_t trials = 0, rejected = 0;  // rejected: draws outside the models' range
    double mean = 0, sd = 0, low = 0, high = 0;  // of the result (T or R): 95 % interval
    double u_combined = 0;   // sd combined with the fit's statistical uncertainty
};

// Draws `trials` sets of inputs from normal distributions (seeded), reduces
// each; `progress(done, trials)` is called after each trial.
MonteCarlo monte_carlo(const ReduceInput &in, const Reduction &r, std::size_t trials,
                       std::uint64_t seed,
                       const std::function<void(std::size_t, std::size_t)> &progress = {});

}  // namespace velk::analysis
