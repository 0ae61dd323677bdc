// The budget arithmetic: every number comes from a library routine, called
// through its C name; the tool only adds the terms, scales to hertz and sets
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
#include <cmath>

#include "budget.hpp"
#include "library.hpp"

namespace velk::tool {
namespace {

constexpr double speed_of_light = 299792458.0;  // m/s, exact

void require_finite(double x, const std::string &what) {
    if (!std::isfinite(x))
        throw InputError(what + " is not finite: the input is outside the models' range");
}

std::string mode_name(std::int32_t n) { return "(0," + std::to_string(n) + ")"; }

}  // namespace

Budget compute(const Input &in) {
    const auto f_id = VELK_ROUTINE(f_id);
    const auto d_v = VELK_ROUTINE(d_v);
    const auto d_t = VELK_ROUTINE(d_t);
    const auto I_t = VELK_ROUTINE(I_t);
    const auto df_dth = VELK_ROUTINE(df_dth);
    const auto g_th = VELK_ROUTINE(g_th);
    const auto g_thO2 = VELK_ROUTINE(g_thO2);
    const auto df_Ith = VELK_ROUTINE(df_Ith);
    const auto k_cu = VELK_ROUTINE(k_cu);
    const auto cp_cu = VELK_ROUTINE(cp_cu);
    const auto g_Cu = VELK_ROUTINE(g_Cu);
    const auto g_b = VELK_ROUTINE(g_b);
    const auto df_ducts = VELK_ROUTINE(df_ducts);
    const auto df_mic = VELK_ROUTINE(df_mic);
    const auto Eps_TM1n = VELK_ROUTINE(Eps_TM1n);
    const auto O2dZ2AC = VELK_ROUTINE(O2dZ2AC);
    const auto d_sk = VELK_ROUTINE(d_sk);
    const auto df_skTM1n = VELK_ROUTINE(df_skTM1n);
    const auto dzm2_zTM1n = VELK_ROUTINE(dzm2_zTM1n);

    const Gas &g = in.gas;
    const Resonator &r = in.res;
    Budget b;
    b.in = in;
    b.kcu = k_cu(&g.t, &r.rrr);
    b.cpcu = cp_cu(&g.t);
    b.lt = I_t(&g.t, &g.p, &g.cv, &g.kappa, &g.mw, &g.h);
    require_finite(b.kcu, "the thermal conductivity of the wall");
    require_finite(b.cpcu, "the specific heat capacity of the wall");
    require_finite(b.lt, "the thermal accommodation length");

    Eps_TM1n(&in.mw.f[0], &in.mw.f[1], &in.mw.f[2], &in.mw.n, &b.eps1, &b.eps2);
    require_finite(b.eps1, "the deformation parameter eps1 of microwave.triplet_Hz");
    require_finite(b.eps2, "the deformation parameter eps2 of microwave.triplet_Hz");
    const double eps[2] = {b.eps1, b.eps2};

    for (const std::int32_t n : in.modes) {
        ModeBudget m;
        m.n = n;
        m.f = f_id(&n, &g.c, &r.a);
        m.dv = d_v(&g.eta, &g.rho, &m.f);
        m.dt = d_t(&g.kappa, &g.rho, &g.cp, &m.f);
        m.dcu = d_t(&b.kcu, &r.rho_w, &b.cpcu, &m.f);

        const double shell = g_Cu(&g.gamma, &r.a, &m.dcu, &g.kappa, &b.kcu);
        m.terms.push_back({"thermal_boundary_layer", "thermal boundary layer",
                           df_dth(&g.gamma, &r.a, &m.dt),
                           g_th(&g.gamma, &r.a, &m.dt) - g_thO2(&g.gamma, &r.a, &m.dt)});
        m.terms.push_back({"thermal_accommodation", "thermal accommodation",
                           -2.0 * static_cast<double>(df_Ith(&g.gamma, &r.a, &b.lt)), 0.0});
        m.terms.push_back({"copper_shell", "copper shell", shell, -shell});
        m.terms.push_back({"bulk_absorption", "bulk absorption", 0.0,
                           g_b(&g.t, &g.p, &g.c, &g.gamma, &m.dv, &m.dt, &m.f) / m.f});
        for (const Duct &d : in.ducts) {
            const std::int32_t sections = static_cast<std::int32_t>(d.r.size());
            double df = 0.0, gw = 0.0;
            df_ducts(d.r.data(), d.l.data(), &sections, &g.rho, &g.cp, &g.c, &g.gamma, &g.kappa,
                     &g.eta, &r.a, &m.f, &n, &df, &gw);
            m.terms.push_back({"duct_" + d.name, "duct " + d.name, df, gw});
        }
        for (const Microphone &mic : in.mics)
            m.terms.push_back({"microphone_" + mic.name, "microphone " + mic.name,
                               df_mic(&mic.r, &r.a, &g.rho, &g.c), 0.0});
        m.terms.push_back({"second_order_shape", "second-order shape",
                           static_cast<double>(O2dZ2AC(eps, &n)), 0.0});

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
        b.modes.push_back(std::move(m));
    }

    for (const std::int32_t n : in.mw.tm) {
        TmBudget t;
        t.n = n;
        const double am = 0.001 * r.a;
        t.f = speed_of_light * (__velk_MOD_ztm[n - 1] / ((__velk_MOD_pi + __velk_MOD_pi) * am));
        t.dsk = d_sk(&t.f, &r.sigma, &r.mu_r);
        df_skTM1n(&t.dsk, &r.a, &n, &t.shift, &t.half_width);
        t.shape = static_cast<double>(dzm2_zTM1n(&b.eps1, &b.eps2, &n));
        const std::string mode = "TM1" + std::to_string(n);
        require_finite(t.dsk, "the skin depth of " + mode);
        require_finite(t.shift, "the skin-depth shift of " + mode);
        require_finite(t.shape, "the second-order shape term of " + mode);
        b.tm.push_back(t);
    }
    return b;
}

}  // namespace velk::tool
