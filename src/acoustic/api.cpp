// The C++ interface of the acoustic loss and perturbation models (velk.hpp):
// boundary layers, thermal terms, bulk, microphone, copper and ducts.
#include <stdexcept>
#include <vector>

#include "acoustic/boundary_layer.hpp"
#include "acoustic/bulk.hpp"
#include "acoustic/copper.hpp"
#include "acoustic/ducts.hpp"
#include "acoustic/wide_sections.hpp"
#include "special/bessel_batch.hpp"
#include "velk/velk.hpp"

namespace velk {

double viscous_penetration(double eta, double rho, double f, const Model &model) {
    return acoustic::viscous_length(eta, rho, f, model);
}

double thermal_penetration(double kappa, double rho, double cp, double f, const Model &model) {
    return acoustic::thermal_length(kappa, rho, cp, f, model);
}

double accommodation_length(double t, double p, double cv, double kappa, double mw, double h,
                            const Model &model) {
    return acoustic::accommodation_length(t, p, cv, kappa, mw, h, model);
}

double thermal_halfwidth(double gamma, double a, double dt) {
    return acoustic::thermal_halfwidth(gamma, a, dt);
}

double thermal_shift(double gamma, double a, double dt) {
    return acoustic::thermal_shift(gamma, a, dt);
}

double thermal_second_order(double gamma, double a, double dt) {
    return acoustic::thermal_second_order(gamma, a, dt);
}

float accommodation_shift(double gamma, double a, double lt) {
    return acoustic::accommodation_shift(gamma, a, lt);
}

double thermal_shift_hz(double gamma, double dt, double dcu, double lt, double kappa, double kcu,
                        double a, double f) {
    return acoustic::thermal_shift_hz(gamma, dt, dcu, lt, kappa, kcu, a, f);
}

double thermal_halfwidth_hz(double gamma, double dt, double dcu, double kappa, double kcu,
                            double a, double f) {
    return acoustic::thermal_halfwidth_hz(gamma, dt, dcu, kappa, kcu, a, f);
}

double bulk_halfwidth(double c, double gamma, double dv, double dt, double f, const Model &model) {
    return acoustic::bulk_halfwidth(c, gamma, dv, dt, f, model);
}

double mic_shift(double rmic, double a, double rho, double c) {
    return acoustic::mic_shift(rmic, a, rho, c);
}

double copper_conductivity(double t, double rrr) { return acoustic::copper_conductivity(t, rrr); }

double copper_heat_capacity(double t) { return acoustic::copper_heat_capacity(t); }

double shell_halfwidth(double gamma, double a, double dcu, double kappa, double kcu) {
    return acoustic::shell_halfwidth(gamma, a, dcu, kappa, kcu);
}

float shell_shift(double gamma, double a, double dcu, double kappa, double kcu) {
    return acoustic::shell_shift(gamma, a, dcu, kappa, kcu);
}

namespace {

// The boundary-layer function as the ducts form it: the Bessel quotient, and
// for a wide argument, where that quotient may overflow, the guarded route of
// wide_sections.hpp.
cplx layer_function(cplx w) {
    auto direct = [](cplx x) { return acoustic::boundary_layer_function(x, special::besselj10(x)); };
    return acoustic::wide_argument(w) ? acoustic::boundary_function_guarded(w, direct) : direct(w);
}

}  // namespace

complex boundary_layer_function(complex z) {
    const cplx f = layer_function({z.real(), z.imag()});
    return {f.re, f.im};
}

void boundary_layer_function(std::span<const complex> z, std::span<complex> out) {
    if (out.size() != z.size())
        throw std::invalid_argument("velk::boundary_layer_function: out differs in length from z");
    // Wide arguments are evaluated one at a time (see layer_function); the
    // lanes evaluate a cheap stand-in in their place.
    std::vector<cplx> w(z.size());
    for (std::size_t k = 0; k < z.size(); ++k) {
        w[k] = {z[k].real(), z[k].imag()};
        if (acoustic::wide_argument(w[k])) w[k] = {1.0, -1.0};
    }
    std::vector<special::BesselPair> j(w.size());
    special::besselj10_batch(w, j);
    for (std::size_t k = 0; k < w.size(); ++k) {
        const cplx zk{z[k].real(), z[k].imag()};
        const cplx f = acoustic::wide_argument(zk) ? layer_function(zk)
                                                   : acoustic::boundary_layer_function(zk, j[k]);
        out[k] = {f.re, f.im};
    }
}

Perturbation duct_perturbation(std::span<const double> rduct, std::span<const double> lduct,
                               const DuctGas &gas, double a, double f, std::int32_t n,
                               const Model &model) {
    const acoustic::DuctPerturbation r =
        acoustic::duct_perturbation(rduct, lduct, gas, a, f, n, model);
    return {r.df, r.g};
}

void duct_perturbation(std::span<const double> rduct, std::span<const double> lduct,
                       const DuctGas &gas, double a, std::span<const double> f, std::int32_t n,
                       std::span<Perturbation> out, const Model &model) {
    if (out.size() != f.size())
        throw std::invalid_argument("velk::duct_perturbation: out and f differ in length");
    std::vector<acoustic::DuctPerturbation> r(f.size());
    acoustic::duct_perturbation(rduct, lduct, gas, a, f, n, model, r);
    for (std::size_t k = 0; k < r.size(); ++k) out[k] = {r[k].df, r[k].g};
}

void duct_perturbation(std::span<const double> rduct, std::span<const double> lduct,
                       const DuctGas &gas, double a, double f, std::span<const std::int32_t> n,
                       std::span<Perturbation> out, const Model &model) {
    if (out.size() != n.size())
        throw std::invalid_argument("velk::duct_perturbation: out and n differ in length");
    std::vector<acoustic::DuctPerturbation> r(n.size());
    acoustic::duct_perturbation(rduct, lduct, gas, a, f, n, model, r);
    for (std::size_t k = 0; k < r.size(); ++k) out[k] = {r[k].df, r[k].g};
}

}  // namespace velk
