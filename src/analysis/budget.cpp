// The budget arithmetic: every number comes from a library routine (through
// routines.hpp); the tool only adds the terms, scales to hertz and sets
// the signs of the two thermal terms that the library reports as magnitudes.
//
// Per radial mode (0,n), at its ideal frequency f = f_id(n, c, a):
//  - thermal boundary layer: shift df_dth = -(gamma-1) dt/(2a), half-width
//    g_th - g_thO2, the second-order term taken off as the combined g_t does;
//  - thermal accommodation: shift +(gamma-1) lt/a, the term that the combined
//    shift df_th adds; df_Ith gives -(gamma-1) lt/(2a), hence the factor -2;
//  - copper shell: the wall's thermal penetration dcu = d_t(k_cu, rho_w,
//    cp_cu, f) makes the wall follow the gas temperature a little and so
//    weakens the boundary layer by the fraction kappa dcu/(k_cu dt): shift
//    +g_Cu (as df_th adds it), half-width -g_Cu;
//  - bulk absorption: half-width g_b/f;
//  - each duct: df_ducts; each microphone: shift df_mic;
//  - second-order shape: O2dZ2AC with the deformation parameters of the
//    microwave triplet (Eps_TM1n).
// Per TM1n mode, at its ideal frequency in vacuum c0 ztm(n)/(2 pi a): the
// skin depth d_sk, its shift and half-width df_skTM1n, and dzm2_zTM1n.
//
// Uncertainties: every input with a standard uncertainty is moved up and down
// (uncertainty.hpp) and the whole budget computed again; the contribution of
// each input to each shift term and to the sum adds in quadrature, and the
// largest contribution names the dominant input.
#include <cmath>

#include "budget.hpp"
#include "routines.hpp"

namespace velk::analysis {
namespace {

constexpr double speed_of_light = 299792458.0;  // m/s, exact

void require_finite(double x, const std::string &what) {
    if (!std::isfinite(x))
        throw InputError(what + " is not finite: the input is outside the models' range");
}

std::string mode_name(std::int32_t n) { return "(0," + std::to_string(n) + ")"; }

std::string at(const std::string &where, std::size_t k) {
    return where + "[" + std::to_string(k) + "]";
}

// Fills u_terms and u_shift of every mode.
void add_uncertainties(Budget &b) {
    const auto outputs = [](const Input &in) {
        Input plain = in;
        plain.u.clear();
        const Budget p = compute(plain);
        std::vector<double> y;
        for (const ModeBudget &m : p.modes) {
            for (const Term &t : m.terms) y.push_back(t.shift);
            y.push_back(m.shift);
        }
        return y;
    };
    const auto visit = [](Input &in, const FieldVisitor &f) { visit_fields(in, f); };
    const auto c = contributions(b.in, b.in.u, visit, outputs);
    std::vector<std::string> names;
    for (const auto &entry : b.in.u) names.push_back(entry.first);

    std::size_t k = 0;
    for (ModeBudget &m : b.modes) {
        const std::size_t count = m.terms.size() + 1;
        std::vector<Spread> s(count);
        for (std::size_t j = 0; j < count; ++j, ++k) {
            double sum = 0, largest = 0;
            for (std::size_t i = 0; i < c.size(); ++i) {
                const double ci = std::fabs(c[i][k]);
                sum += ci * ci;
                if (ci > largest) largest = ci, s[j].dominant = names[i];
            }
            s[j].u = std::sqrt(sum);
        }
        m.u_shift = s.back();
        s.pop_back();
        m.u_terms = std::move(s);
    }
}

}  // namespace

void visit_fields(Gas &g, const std::string &prefix, const FieldVisitor &f) {
    f(prefix + "temperature_K", g.t);
    f(prefix + "pressure_kPa", g.p);
    f(prefix + "density_kg_m3", g.rho);
    f(prefix + "speed_of_sound_m_s", g.c);
    f(prefix + "gamma", g.gamma);
    f(prefix + "viscosity_Pa_s", g.eta);
    f(prefix + "thermal_conductivity_W_m_K", g.kappa);
    f(prefix + "cp_J_kg_K", g.cp);
    f(prefix + "cv_J_kg_K", g.cv);
    f(prefix + "molar_mass_kg_mol", g.mw);
    f(prefix + "accommodation_coefficient", g.h);
}

void visit_fields(Resonator &r, const std::string &prefix, const FieldVisitor &f) {
    f(prefix + "radius_mm", r.a);
    f(prefix + "rrr", r.rrr);
    f(prefix + "wall_density_kg_m3", r.rho_w);
    f(prefix + "conductivity_S_m", r.sigma);
    f(prefix + "relative_permeability", r.mu_r);
}

void visit_fields(std::vector<Duct> &ducts, std::vector<Microphone> &mics, const FieldVisitor &f) {
    for (std::size_t k = 0; k < ducts.size(); ++k)
        for (std::size_t m = 0; m < ducts[k].r.size(); ++m) {
            const std::string s = at(at("ducts", k) + ".sections", m);
            f(s + ".radius_mm", ducts[k].r[m]);
            f(s + ".length_mm", ducts[k].l[m]);
        }
    for (std::size_t k = 0; k < mics.size(); ++k) f(at("microphones", k) + ".radius_mm", mics[k].r);
}

void visit_fields(Input &in, const FieldVisitor &f) {
    visit_fields(in.gas, "gas.", f);
    visit_fields(in.res, "resonator.", f);
    visit_fields(in.ducts, in.mics, f);
    for (std::size_t k = 0; k < 3; ++k) f(at("microwave.triplet_Hz", k), in.mw.f[k]);
}

Wall wall_properties(const Gas &g, const Resonator &r) {
    Wall w;
    w.kcu = lib::k_cu(g.t, r.rrr);
    w.cpcu = lib::cp_cu(g.t);
    w.lt = lib::I_t(g.t, g.p, g.cv, g.kappa, g.mw, g.h);
    require_finite(w.kcu, "the thermal conductivity of the wall");
    require_finite(w.cpcu, "the specific heat capacity of the wall");
    require_finite(w.lt, "the thermal accommodation length");
    return w;
}

ModeBudget mode_budget(const Gas &g, const Resonator &r, const std::vector<Duct> &ducts,
                       const std::vector<Microphone> &mics, const Wall &w, const double eps[2],
                       std::int32_t n) {
    if (n < lib::first_radial || n > lib::last_radial)
        throw InputError("mode " + mode_name(n) + " is outside the table of radial modes");
    ModeBudget m;
    m.n = n;
    m.f = lib::f_id(n, g.c, r.a);
    m.dv = lib::d_v(g.eta, g.rho, m.f);
    m.dt = lib::d_t(g.kappa, g.rho, g.cp, m.f);
    m.dcu = lib::d_t(w.kcu, r.rho_w, w.cpcu, m.f);

    const double shell = lib::g_Cu(g.gamma, r.a, m.dcu, g.kappa, w.kcu);
    m.terms.push_back({"thermal_boundary_layer", "thermal boundary layer",
                       lib::df_dth(g.gamma, r.a, m.dt),
                       lib::g_th(g.gamma, r.a, m.dt) - lib::g_thO2(g.gamma, r.a, m.dt)});
    m.terms.push_back({"thermal_accommodation", "thermal accommodation",
                       -2.0 * static_cast<double>(lib::df_Ith(g.gamma, r.a, w.lt)), 0.0});
    m.terms.push_back({"copper_shell", "copper shell", shell, -shell});
    m.terms.push_back({"bulk_absorption", "bulk absorption", 0.0,
                       lib::g_b(g.t, g.p, g.c, g.gamma, m.dv, m.dt, m.f) / m.f});
    for (const Duct &d : ducts) {
        double df = 0.0, gw = 0.0;
        lib::df_ducts(d.r.data(), d.l.data(), static_cast<std::int32_t>(d.r.size()), g.rho, g.cp,
                      g.c, g.gamma, g.kappa, g.eta, r.a, m.f, n, df, gw);
        m.terms.push_back({"duct_" + d.name, "duct " + d.name, df, gw});
    }
    for (const Microphone &mic : mics)
        m.terms.push_back({"microphone_" + mic.name, "microphone " + mic.name,
                           lib::df_mic(mic.r, r.a, g.rho, g.c), 0.0});
    m.terms.push_back({"second_order_shape", "second-order shape",
                       static_cast<double>(lib::O2dZ2AC(eps, n)), 0.0});

    m.shift = 0.0;
    m.half_width = 0.0;
    for (const Term &t : m.terms) {
        require_finite(t.shift, "the " + t.label + " shift of mode " + mode_name(n));
        require_finite(t.half_width, "the " + t.label + " half-width of mode " + mode_name(n));
        m.shift += t.shift;
        m.half_width += t.half_width;
    }
    m.f_pred = m.f * (1.0 + m.shift);
    m.g_pred = m.f * m.half_width;
    return m;
}

Budget compute(const Input &in) {
    const Gas &g = in.gas;
    const Resonator &r = in.res;
    Budget b;
    b.in = in;
    const Wall w = wall_properties(g, r);
    b.kcu = w.kcu;
    b.cpcu = w.cpcu;
    b.lt = w.lt;

    if (in.mw.n < lib::first_tm || in.mw.n > lib::last_tm)
        throw InputError("microwave.triplet_mode is outside the table of TM1n modes");
    lib::Eps_TM1n(in.mw.f[0], in.mw.f[1], in.mw.f[2], in.mw.n, b.eps1, b.eps2);
    require_finite(b.eps1, "the deformation parameter eps1 of microwave.triplet_Hz");
    require_finite(b.eps2, "the deformation parameter eps2 of microwave.triplet_Hz");
    const double eps[2] = {b.eps1, b.eps2};

    for (const std::int32_t n : in.modes) b.modes.push_back(mode_budget(g, r, in.ducts, in.mics, w, eps, n));

    for (const std::int32_t n : in.mw.tm) {
        if (n < lib::first_tm || n > lib::last_tm)
            throw InputError("TM1" + std::to_string(n) + " is outside the table of TM1n modes");
        TmBudget t;
        t.n = n;
        const double am = 0.001 * r.a;
        t.f = speed_of_light * (lib::ztm(n) / ((lib::pi() + lib::pi()) * am));
        t.dsk = lib::d_sk(t.f, r.sigma, r.mu_r);
        lib::df_skTM1n(t.dsk, r.a, n, t.shift, t.half_width);
        t.shape = static_cast<double>(lib::dzm2_zTM1n(b.eps1, b.eps2, n));
        const std::string mode = "TM1" + std::to_string(n);
        require_finite(t.dsk, "the skin depth of " + mode);
        require_finite(t.shift, "the skin-depth shift of " + mode);
        require_finite(t.shape, "the second-order shape term of " + mode);
        b.tm.push_back(t);
    }
    if (!in.u.empty()) add_uncertainties(b);
    return b;
}

}  // namespace velk::analysis
