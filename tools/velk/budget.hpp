// The correction budget of a gas-filled copper resonator: the input (gas
// state, resonator, ducts, microphones, a measured microwave triplet), its
// validation, and the budget computed by the library's routines.
//
// Every correction is kept relative to the mode frequency, as a shift and a
// half-width; the reports print them in parts per million.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace velk::tool {

// Input that cannot be used; the message names the field.
struct InputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

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
};

// Reads and checks an input document; throws InputError.
Input read_input(const nlohmann::json &doc);

// The built-in example: argon at the triple point of water (text and input).
const std::string &example_text();

// One correction of one mode, relative to the mode frequency.
struct Term {
    std::string key;    // for CSV and JSON, e.g. "duct_inlet"
    std::string label;  // for the table, e.g. "duct inlet"
    double shift;
    double half_width;
};

struct ModeBudget {
    std::int32_t n;
    double f;            // ideal frequency, Hz
    double dv, dt, dcu;  // viscous, thermal and copper penetration lengths, m
    std::vector<Term> terms;
    double shift, half_width;  // the sums, relative
    double f_pred, g_pred;     // predicted frequency and half-width, Hz
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

// Computes the budget with the library; throws InputError when a result is
// not finite.
Budget compute(const Input &in);

// The reports.
std::string table_report(const Budget &b);
std::string csv_report(const Budget &b);
std::string json_report(const Budget &b);

}  // namespace velk::tool
