// Reading and checking the budget input (json_fields.hpp: paths in the
// messages, unknown fields rejected, numbers with uncertainties).
#include "json_input.hpp"

#include "json_fields.hpp"
#include "routines.hpp"

namespace velk::analysis {
namespace json_input {

using lib::first_radial;
using lib::first_tm;
using lib::last_radial;
using lib::last_tm;

Gas read_gas(const json &j, Uncertainties *u) {
    Fields f(j, "gas", u);
    Gas g;
    g.name = f.name("gas");
    g.t = f.number("temperature_K", positive);
    g.p = f.number("pressure_kPa", positive);
    g.rho = f.number("density_kg_m3", positive);
    g.c = f.number("speed_of_sound_m_s", positive);
    read_gas_properties(f, g);
    g.mw = f.number("molar_mass_kg_mol", positive);
    g.h = f.number("accommodation_coefficient", fraction);
    f.done();
    return g;
}

Resonator read_resonator(const json &j, Uncertainties *u, bool radius) {
    Fields f(j, "resonator", u);
    Resonator r;
    r.a = radius ? f.number("radius_mm", positive) : 0.0;
    r.rrr = f.number("rrr", at_least_one);
    r.rho_w = f.number("wall_density_kg_m3", positive);
    r.sigma = f.number("conductivity_S_m", positive);
    const json *mu = f.find("relative_permeability");
    r.mu_r = mu ? f.value(*mu, f.path("relative_permeability"), positive) : 1.0;
    f.done();
    return r;
}

std::vector<Duct> read_ducts(const json *j, double a, Uncertainties *u) {
    std::vector<Duct> ducts;
    if (j == nullptr) return ducts;
    need_array(*j, "ducts");
    std::set<std::string> names;
    for (std::size_t k = 0; k < j->size(); ++k) {
        Fields f((*j)[k], at("ducts", k), u);
        Duct d;
        d.name = f.name(std::to_string(k + 1));
        if (!names.insert(d.name).second)
            throw InputError(f.path("name") + " repeats the name " + d.name);
        const json &s = need_array(f.need("sections"), f.path("sections"));
        if (s.empty()) throw InputError(f.path("sections") + " must list at least one section");
        for (std::size_t m = 0; m < s.size(); ++m) {
            Fields sec(s[m], at(f.path("sections"), m), u);
            d.r.push_back(sec.number("radius_mm", inside(a)));
            d.l.push_back(sec.number("length_mm", positive));
            sec.done();
        }
        f.done();
        ducts.push_back(std::move(d));
    }
    return ducts;
}

std::vector<Microphone> read_mics(const json *j, double a, Uncertainties *u) {
    std::vector<Microphone> mics;
    if (j == nullptr) return mics;
    need_array(*j, "microphones");
    std::set<std::string> names;
    for (std::size_t k = 0; k < j->size(); ++k) {
        Fields f((*j)[k], at("microphones", k), u);
        Microphone m;
        m.name = f.name(std::to_string(k + 1));
        if (!names.insert(m.name).second)
            throw InputError(f.path("name") + " repeats the name " + m.name);
        m.r = f.number("radius_mm", inside(a));
        f.done();
        mics.push_back(std::move(m));
    }
    return mics;
}

Microwave read_microwave(const json &j, Uncertainties *u) {
    Fields f(j, "microwave", u);
    Microwave mw;
    const std::string tm_table = "TM1n modes (1 to 13)";
    mw.n = mode_number(f.need("triplet_mode"), f.path("triplet_mode"), first_tm, last_tm, tm_table);
    const std::string where = f.path("triplet_Hz");
    const json &t = need_array(f.need("triplet_Hz"), where);
    if (t.size() != 3)
        throw InputError(where + " must hold 3 frequencies, not " + std::to_string(t.size()));
    for (std::size_t k = 0; k < 3; ++k)
        mw.f[k] = f.value(t[k], at(where, k), positive);
    mw.tm = mode_list(f, "tm_modes", {1, 2, 3}, first_tm, last_tm, tm_table);
    f.done();
    return mw;
}

}  // namespace json_input

Input read_input(const nlohmann::json &doc) {
    using namespace json_input;
    Input in;
    Fields f(doc, "", &in.u);
    in.gas = read_gas(f.need("gas"), &in.u);
    in.res = read_resonator(f.need("resonator"), &in.u, true);
    in.ducts = read_ducts(f.find("ducts"), in.res.a, &in.u);
    in.mics = read_mics(f.find("microphones"), in.res.a, &in.u);
    in.mw = read_microwave(f.need("microwave"), &in.u);
    in.modes = mode_list(f, "radial_modes", {2, 3, 4, 5, 6}, first_radial, last_radial,
                         "radial modes ((0,2) to (0,13))");
    f.done();
    return in;
}

}  // namespace velk::analysis
