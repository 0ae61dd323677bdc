// Perturbation of a radial acoustic mode by a chain of cylindrical duct
// sections (see ducts.cpp).
#pragma once

#include <cstdint>
#include <span>

#include "frame/numeric.hpp"
#include "special/bessel_fast.hpp"
#include "velk/model.hpp"
#include "velk/velk.hpp"

namespace velk::acoustic {

// The gas in the ducts and the resonator, SI units (velk.hpp).
using DuctGas = velk::DuctGas;

// Relative frequency shift and half-width of the mode.
struct DuctPerturbation {
    double df = 0.0;
    double g = 0.0;
};

// Sections in mm, section 1 (index 0) at the resonator, open far end; rduct
// and lduct of the same length.  a resonator radius in mm, f frequency in Hz,
// n radial mode (1..16).
DuctPerturbation duct_perturbation(std::span<const double> rduct, std::span<const double> lduct,
                                   const DuctGas &gas, double a, double f, std::int32_t n,
                                   const Model &model);

// The same chain over many frequencies (out[k] at f[k]) or many modes at one
// frequency (out[k] for mode n[k]): the Bessel functions of all frequencies
// evaluated together (special/bessel_batch.hpp), or once for all modes; each
// result the bits of duct_perturbation.  out as long as f or n.
void duct_perturbation(std::span<const double> rduct, std::span<const double> lduct,
                       const DuctGas &gas, double a, std::span<const double> f, std::int32_t n,
                       const Model &model, std::span<DuctPerturbation> out);
void duct_perturbation(std::span<const double> rduct, std::span<const double> lduct,
                       const DuctGas &gas, double a, double f, std::span<const std::int32_t> n,
                       const Model &model, std::span<DuctPerturbation> out);

// The boundary-layer function 2 J_1(z) / (z J_0(z)) from J_1 and J_0 at z.
cplx boundary_layer_function(cplx z, const special::BesselPair &j);

// The same with each Bessel function evaluated on its own by the plain
// evaluation: the reference that duct_perturbation matches bit for bit.
DuctPerturbation duct_perturbation_plain(std::span<const double> rduct,
                                         std::span<const double> lduct, const DuctGas &gas,
                                         double a, double f, std::int32_t n, const Model &model);

}  // namespace velk::acoustic
