// Microwave mode corrections: skin depth, skin-depth perturbations of TE and
// TM1n modes, and shifts proportional to (r/a)^3.  See corrections.cpp.
#pragma once

#include <cstdint>

#include "frame/numeric.hpp"
#include "velk/model.hpp"

namespace velk::microwave {

// Vacuum permeability in H/m, used by the skin depth only.
inline constexpr double mu0 = 1.25663706212e-06;
// Coefficients of the (r/a)^3 shifts: single-precision constants, as fitted.
inline constexpr double dc_te = static_cast<double>(0.95f);    // 0.949999988079071
inline constexpr double dc_tm = static_cast<double>(1.152f);   // 1.1519999504089355

double skin_depth(double x1, double x2, double x3, const Model &model);
// Relative shift (re) and half-width (im); dsk in m, a in mm.
cplx skin_te(double dsk, double a);
cplx skin_tm1n(double dsk, double a, std::int32_t n, const Model &model);
// Relative shifts proportional to (r/a)^3; r and a in mm.
double cube_te(double r, double a, const Model &model);
double cube_tm1n(double r, double a, std::int32_t n, const Model &model);

}  // namespace velk::microwave
