// Bulk absorption and microphone compliance.  See bulk.cpp.
#pragma once

#include "velk/model.hpp"

namespace velk::acoustic {

// Compliance per unit area of the microphone diaphragm, m/Pa (microphone
// shift only).
inline constexpr double chi = 1e-10;

// Bulk-absorption half-width in Hz; dv, dt in m.
double bulk_halfwidth(double c, double gamma, double dv, double dt, double f, const Model &model);
// Relative shift of a microphone of radius rmic (mm) in a resonator of radius a (mm).
double mic_shift(double rmic, double a, double rho, double c);

}  // namespace velk::acoustic
