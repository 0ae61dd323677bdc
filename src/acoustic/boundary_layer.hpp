// Boundary layers of the gas and the thermal boundary-layer terms of a mode
// (see boundary_layer.cpp).  Radii a in mm; lengths dt, lt, dcu in m.
#pragma once

#include "velk/model.hpp"

namespace velk::acoustic {

double viscous_length(double eta, double rho, double f, const Model &model);  // d_v
double thermal_length(double kappa, double rho, double cp, double f,
                      const Model &model);  // d_t
double accommodation_length(double t, double p, double cv, double kappa, double mw, double h,
                            const Model &model);  // I_t
double thermal_halfwidth(double gamma, double a, double dt);           // g_th
double thermal_shift(double gamma, double a, double dt);               // df_dth
double thermal_second_order(double gamma, double a, double dt);        // g_thO2
float accommodation_shift(double gamma, double a, double lt);          // df_Ith
double thermal_shift_hz(double gamma, double dt, double dcu, double lt, double kappa, double kcu,
                        double a, double f);                           // df_th
double thermal_halfwidth_hz(double gamma, double dt, double dcu, double kappa, double kcu,
                            double a, double f);                       // g_t

}  // namespace velk::acoustic
