// Relative frequency shift and half-width of a radial mode caused by a duct:
// a chain of N cylindrical sections, section 1 opening into the resonator,
// the far end of section N open (zero impedance).
//
// Method (j over the sections; pi is the model's, standard 3.1415927410125732)
//   r_j, L_j, a_m: radii, lengths and the resonator radius in metres;
//   S_j = (r_j r_j) pi.
//   kv = (1 - i)/dv, kt = (1 - i)/dt with dv = d_v(eta, rho, f) and
//   dt = d_t(kappa, rho, cp, f).
//   Boundary-layer functions F(z) = 2 J_1(z) / (z J_0(z)): Fv_j at
//   z = r_j kv (all sections), then Ft_j at z = r_j kt; on the ray
//   arg z = -pi/4.
//   k = f (2 pi)/c; A_j = 1 + (gamma - 1) Ft_j; B_j = 1 - Fv_j;
//   Gamma_j = (ik) sqrt(A_j/B_j); Z_j = ((rho c)/S_j) / sqrt(A_j B_j), two
//   separate principal roots.
//   T-network of each section, x_j = Gamma_j L_j: series arm
//   Zs_j = Z_j tanh(x_j/2), shunt arm Zp_j = Z_j / sinh(x_j).
//   Cascade from the open end, Zin = 0; for j = N .. 1:
//   Zin = (Zs_j + Zin) Zp_j / ((Zp_j + Zs_j) + Zin) + Zs_j.
//   R = (((i rho) c) / Zin) / (zac(n) (a_m a_m) 4 pi); df = Re R, g = Im R.
//   Every quotient is velk::cdiv, also by a real divisor, and a real operand
//   meeting a complex one is the complex (x, 0) in a full product.  Nine work
//   arrays of N elements are obtained in the order areas, thermal and viscous
//   functions, propagation constants, lengths, radii, characteristic
//   impedances, series and shunt arms, and released in reverse order; for
//   chains of up to 16 sections they live on the stack.  J_1 and J_0 of one
//   argument come from one Bessel evaluation where they share the work, and
//   the viscous and thermal evaluations of a section run side by side where
//   they can (besselj10); duct_perturbation_plain evaluates every function on
//   its own with besselj_plain, to the same bits.  Over many frequencies the
//   Bessel functions of all of them are evaluated first, side by side
//   (besselj10_batch), and each frequency then takes its values in order;
//   over many modes at one frequency they are evaluated once.
//
// Special cases
//   N <= 0: Zin stays 0 and both outputs are NaN (0/0).  A zero length or a
//   zero zac(n) (n = 1, 14..16): NaN.  A mode number outside 1..16 or work
//   storage that cannot be obtained: quiet NaN.  Wide sections: z J_0(z)
//   overflows from r/delta of about 707.7 on, both outputs NaN; finite up to
//   about 707.
//
// Accuracy
//   A single section agrees with the open-line formula Z tanh(Gamma L) to
//   rounding; the Bessel quotient carries the accuracy of besselj.
#include "ducts.hpp"

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

#include "boundary_layer.hpp"
#include "frame/numeric.hpp"
#include "frame/tables.hpp"
#include "special/bessel.hpp"
#include "special/bessel_batch.hpp"
#include "special/bessel_fast.hpp"

namespace velk::acoustic {
namespace {

// A work array of N elements: on the stack for chains of up to StackN
// sections, from the heap (nothrow) for longer ones.
template <class T, std::size_t StackN = 16>
class WorkArray {
public:
    explicit WorkArray(std::size_t count) {
        if (count <= StackN) {
            for (std::size_t j = 0; j < count; ++j) std::construct_at(&local_.items[j]);
            data_ = local_.items;
        } else {
            heap_.reset(new (std::nothrow) T[count]);
            data_ = heap_.get();
        }
    }
    explicit operator bool() const { return data_ != nullptr; }
    T &operator[](std::size_t j) { return data_[j]; }

private:
    union Local {
        Local() {}
        T items[StackN];
    } local_;
    std::unique_ptr<T[]> heap_;
    T *data_ = nullptr;
};

cplx real(double x) { return {x, 0.0}; }

// J_1 and J_0 at the viscous and the thermal argument of a section: the fast
// evaluation (side by side where it can), or each function on its own.
struct FastBessel {
    void at(const cplx (&z)[2], special::BesselPair (&j)[2]) { special::besselj10(z, j); }
};
struct PlainBessel {
    void at(const cplx (&z)[2], special::BesselPair (&j)[2]) {
        for (int s = 0; s < 2; ++s) j[s] = {special::besselj_plain(1, z[s]), special::besselj_plain(0, z[s])};
    }
};

// Values evaluated beforehand (over many frequencies at once), taken in the
// order in which evaluate asks for them.
struct Precomputed {
    const special::BesselPair *next;
    void at(const cplx (&)[2], special::BesselPair (&j)[2]) {
        j[0] = *next++;
        j[1] = *next++;
    }
};

// (1 - i)/delta, the wave numbers of the viscous and thermal boundary layers.
struct LayerWaves {
    cplx kv, kt;
};
LayerWaves layer_waves(const DuctGas &gas, double f, const Model &model) {
    const double dv = viscous_length(gas.eta, gas.rho, f, model);
    const double dt = thermal_length(gas.kappa, gas.rho, gas.cp, f, model);
    return {cdiv({1.0, -1.0}, real(dv)), cdiv({1.0, -1.0}, real(dt))};
}

template <class Bessel>
DuctPerturbation evaluate(std::span<const double> rduct, std::span<const double> lduct,
                          const DuctGas &gas, double a, double f, std::int32_t n,
                          const Model &model, Bessel bessel_of) {
    const std::size_t count = rduct.size() < lduct.size() ? rduct.size() : lduct.size();
    const double pi = model.pi;

    // Work storage, obtained in this order and released in reverse order.
    WorkArray<double> area(count);
    WorkArray<cplx> ft(count);
    WorkArray<cplx> fv(count);
    WorkArray<cplx> prop(count);
    WorkArray<double> len(count);
    WorkArray<double> rad(count);
    WorkArray<cplx> zc(count);
    WorkArray<cplx> zs(count);
    WorkArray<cplx> zp(count);
    if (!area || !ft || !fv || !prop || !len || !rad || !zc || !zs || !zp) return {qnan, qnan};

    // 1. Metres.
    for (std::size_t j = 0; j < count; ++j) {
        rad[j] = 0.001 * rduct[j];
        len[j] = 0.001 * lduct[j];
    }
    const double a_m = 0.001 * a;

    // 2. Cross-sections.
    for (std::size_t j = 0; j < count; ++j) area[j] = (rad[j] * rad[j]) * pi;

    // 3. Boundary layers: k = (1 - i)/delta.
    const LayerWaves waves = layer_waves(gas, f, model);
    const cplx kv = waves.kv, kt = waves.kt;

    // 4., 5. Viscous and thermal boundary-layer functions (each value depends
    // only on its own section and argument).
    for (std::size_t j = 0; j < count; ++j) {
        const cplx z[2] = {real(rad[j]) * kv, real(rad[j]) * kt};
        special::BesselPair bessel[2];
        bessel_of.at(z, bessel);
        fv[j] = boundary_layer_function(z[0], bessel[0]);
        ft[j] = boundary_layer_function(z[1], bessel[1]);
    }

    // 6. Free-space wave number, as ik.
    const double k = (f * (pi + pi)) / gas.c;
    const cplx ik{0.0, k};

    // 7., 8. Propagation constants and characteristic impedances.
    for (std::size_t j = 0; j < count; ++j) {
        const cplx aj = real(1.0) + real(gas.gamma - 1.0) * ft[j];
        const cplx bj = real(1.0) - fv[j];
        prop[j] = ik * csqrt(cdiv(aj, bj));
        zc[j] = cdiv(real((gas.rho * gas.c) / area[j]), csqrt(aj * bj));
    }

    // 9. T-network arms.
    for (std::size_t j = 0; j < count; ++j) {
        const cplx x = prop[j] * real(len[j]);
        zs[j] = zc[j] * ctanh(cdiv(x, real(2.0)));
        zp[j] = cdiv(zc[j], csinh(x));
    }

    // 10. Cascade from the open far end.
    cplx zin{0.0, 0.0};
    for (std::size_t j = count; j-- > 0;) {
        const cplx u = zs[j] + zin;
        const cplx p = u * zp[j];
        const cplx d = (zp[j] + zs[j]) + zin;
        zin = cdiv(p, d) + zs[j];
    }

    // 11. Relative perturbation.
    const cplx w = cdiv(cplx{0.0, gas.rho} * real(gas.c), zin);
    const cplx r = cdiv(w, real(zac_at(model, n) * ((a_m * a_m) * (4.0 * pi))));
    return {r.re, r.im};
}

}  // namespace

// 2 J_1(z) / (z J_0(z))
cplx boundary_layer_function(cplx z, const special::BesselPair &j) {
    return cdiv(real(2.0) * j.j1, z * j.j0);
}

DuctPerturbation duct_perturbation(std::span<const double> rduct, std::span<const double> lduct,
                                   const DuctGas &gas, double a, double f, std::int32_t n,
                                   const Model &model) {
    return evaluate(rduct, lduct, gas, a, f, n, model, FastBessel{});
}

DuctPerturbation duct_perturbation_plain(std::span<const double> rduct,
                                         std::span<const double> lduct, const DuctGas &gas,
                                         double a, double f, std::int32_t n, const Model &model) {
    return evaluate(rduct, lduct, gas, a, f, n, model, PlainBessel{});
}

void duct_perturbation(std::span<const double> rduct, std::span<const double> lduct,
                       const DuctGas &gas, double a, std::span<const double> f, std::int32_t n,
                       const Model &model, std::span<DuctPerturbation> out) {
    const std::size_t count = rduct.size() < lduct.size() ? rduct.size() : lduct.size();
    // The viscous and thermal arguments of every section at every frequency,
    // formed as evaluate forms them, evaluated together.
    std::vector<cplx> z(2 * count * f.size());
    for (std::size_t k = 0; k < f.size(); ++k) {
        const LayerWaves waves = layer_waves(gas, f[k], model);
        for (std::size_t j = 0; j < count; ++j) {
            const double rad = 0.001 * rduct[j];
            z[2 * (k * count + j)] = real(rad) * waves.kv;
            z[2 * (k * count + j) + 1] = real(rad) * waves.kt;
        }
    }
    std::vector<special::BesselPair> pairs(z.size());
    special::besselj10_batch(z, pairs);
    for (std::size_t k = 0; k < f.size(); ++k)
        out[k] = evaluate(rduct, lduct, gas, a, f[k], n, model,
                          Precomputed{pairs.data() + 2 * count * k});
}

void duct_perturbation(std::span<const double> rduct, std::span<const double> lduct,
                       const DuctGas &gas, double a, double f, std::span<const std::int32_t> n,
                       const Model &model, std::span<DuctPerturbation> out) {
    if (n.empty()) return;
    const std::size_t count = rduct.size() < lduct.size() ? rduct.size() : lduct.size();
    std::vector<special::BesselPair> pairs(2 * count);
    const LayerWaves waves = layer_waves(gas, f, model);
    for (std::size_t j = 0; j < count; ++j) {
        const double rad = 0.001 * rduct[j];
        const cplx z[2] = {real(rad) * waves.kv, real(rad) * waves.kt};
        special::BesselPair bessel[2];
        FastBessel{}.at(z, bessel);
        pairs[2 * j] = bessel[0];
        pairs[2 * j + 1] = bessel[1];
    }
    for (std::size_t k = 0; k < n.size(); ++k)
        out[k] = evaluate(rduct, lduct, gas, a, f, n[k], model, Precomputed{pairs.data()});
}

}  // namespace velk::acoustic
