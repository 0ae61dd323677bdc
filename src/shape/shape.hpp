// Resonator shape analysis: ascending sort of a microwave triplet through an
// array descriptor, the TE1n and TM1n mode-family factors, the deformation
// parameters of a triplet and the second-order shape corrections of TE1n,
// TM1n and radial acoustic eigenvalues.
#pragma once

#include <cstdint>
#include <span>

#include "velk/model.hpp"
#include "velk/velk.h"

namespace velk::shape {

// Writes the values of fa, fb, fc that are not -1 in ascending order as
// elements 1, 2, ... of the array that `out` describes and returns how many
// it wrote (0 to 3).  Only out.base and out.stride are read.
int sort_frequencies(const velk_descriptor &out, double fa, double fb, double fc);

// The descriptor of a contiguous array of three doubles starting at `first`.
velk_descriptor triplet_descriptor(double *first);

// Mode-family factors hte and htm at eigenvalue z.
double te_family_factor(double z);
double tm_family_factor(double z);

struct Deformation {
    double eps1;
    double eps2;
};

// Deformation parameters from a TE1n (n = 1..12) or TM1n (n = 1..13) triplet.
Deformation eps_te1n(double fa, double fb, double fc, std::int32_t n, const Model &model);
Deformation eps_tm1n(double fa, double fb, double fc, std::int32_t n, const Model &model);

// Mode factors of the second-order corrections at eigenvalue z, in double.
double te1n_second_order_factor(double z);
double tm1n_second_order_factor(double z);
double ac_second_order_factor(double z);

// Second-order eigenvalue corrections, rounded once to single precision.
float dzm2_te1n(double eps1, double eps2, std::int32_t n, const Model &model);
float dzm2_tm1n(double eps1, double eps2, std::int32_t n, const Model &model);
float o2dz2_ac(std::span<const double, 2> eps, std::int32_t n, const Model &model);

}  // namespace velk::shape
