// The correction budget of a gas-filled copper resonator: the input (gas
// state, resonator, ducts, microphones, a measured microwave triplet), its
// validation, and the budget computed by the library's routines.
//
// Every correction is kept relative to the mode frequency, as a shift and a
// half-width; the reports print them in parts per million.  When inputs carry
// standard uncertainties, each mode also gets the standard uncertainty of
// every shift term and of their sum, with the input that dominates it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "uncertainty.hpp"

namespace velk::analysis {

struct Gas {
    std::string name;
    double t;      // temperature, K
    double p;      // pressure, kPa
    double rho;    // density, kg/m3
    double c;      // speed of sound, m/s
    double gamma;  // cp/cv
    double eta;    // shear viscosity, Pa s
    double kappa;  // thermal conductivity, W/(m K)
    double cp;     // J/(kg K)
    double cv;     // J/(kg K)
    double mw;     // molar mass, kg/mol
    double h;      // thermal accommodation coefficient
};

struct Resonator {
    double a;      // radius, mm
    double rrr;    // residual resistance ratio of the copper
    double rho_w;  // density of the copper wall, kg/m3
    double sigma;  // electrical conductivity of the wall, S/m
    double mu_r;   // relative permeability of the wall
};

struct Duct {
    std::string name;
    std::vector<double> r;  // section radii, mm, section 1 at the resonator
    std::vector<double> l;  // section lengths, mm
};

struct Microphone {
    std::string name;
    double r;  // diaphragm radius, mm
};

struct Microwave {
    std::int32_t n;                // TM1n mode of the triplet
    std::array<double, 3> f;       // the measured triplet, Hz
    std::vector<std::int32_t> tm;  // TM1n modes of the budget
};

struct Input {
    Gas gas;
    Resonator res;
    std::vector<Duct> ducts;
    std::vector<Microphone> mics;
    Microwave mw;
    std::vector<std::int32_t> modes;  // radial modes (0,n)
    Uncertainties u;                  // by field path, e.g. "gas.pressure_kPa"
};

// Every numeric field of the input with its path (for the uncertainties).
void visit_fields(Input &in, const FieldVisitor &f);
void visit_fields(Gas &g, const std::string &prefix, const FieldVisitor &f);
void visit_fields(Resonator &r, const std::string &prefix, const FieldVisitor &f);
void visit_fields(std::vector<Duct> &ducts, std::vector<Microphone> &mics, const FieldVisitor &f);

// One correction of one mode, relative to the mode frequency.
struct Term {
    std::string key;    // for CSV and JSON, e.g. "duct_inlet"
    std::string label;  // for the table, e.g. "duct inlet"
    double shift;
    double half_width;
};

// The standard uncertainty of one quantity and the input that dominates it
// (empty when no input has an uncertainty).
struct Spread {
    double u = 0;
    std::string dominant;
};

struct ModeBudget {
    std::int32_t n;
    double f;            // ideal frequency, Hz
    double dv, dt, dcu;  // viscous, thermal and copper penetration lengths, m
    std::vector<Term> terms;
    double shift, half_width;  // the sums, relative
    double f_pred, g_pred;     // predicted frequency and half-width, Hz
    std::vector<Spread> u_terms;  // of each term's shift, relative (when uncertainties are given)
    Spread u_shift;               // of the summed shift, relative
};

struct TmBudget {
    std::int32_t n;
    double f;    // ideal frequency in vacuum, Hz
    double dsk;  // skin depth, m
    double shift, half_width;
    double shape;  // second-order shape term, relative
};

struct Budget {
    Input in;
    double kcu;   // thermal conductivity of the wall, W/(m K)
    double cpcu;  // specific heat capacity of the wall, J/(kg K)
    double lt;    // thermal accommodation length, m
    double eps1, eps2;
    std::vector<ModeBudget> modes;
    std::vector<TmBudget> tm;
};

// The wall's and the gas's properties that all modes share.
struct Wall {
    double kcu, cpcu, lt;
};
Wall wall_properties(const Gas &g, const Resonator &r);

// The corrections of one radial mode at its ideal frequency f_id(n, g.c, r.a);
// eps are the deformation parameters.  Throws InputError for a term that is
// not finite or a mode without a table entry.
ModeBudget mode_budget(const Gas &g, const Resonator &r, const std::vector<Duct> &ducts,
                       const std::vector<Microphone> &mics, const Wall &w, const double eps[2],
                       std::int32_t n);

// Computes the budget with the library, and the uncertainties when the input
// has any; throws InputError when a result is not finite.
Budget compute(const Input &in);

}  // namespace velk::analysis
