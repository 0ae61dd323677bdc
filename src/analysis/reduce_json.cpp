// Reading and checking the reduction input (json_fields.hpp: paths in the
// messages, unknown fields rejected, numbers with uncertainties).  The
// checks that do not depend on JSON (modes measured twice, too few state
// points for the isotherm's terms) are reduce()'s and run there.
#include "json_fields.hpp"
#include "json_input.hpp"
#include "routines.hpp"

namespace velk::analysis {
namespace {

using namespace json_input;

MicrowaveInput read_microwave(const json &j, Uncertainties *u) {
    Fields f(j, "microwave", u);
    MicrowaveInput mw;
    if (const json *n = f.find("refractive_index"))
        mw.n_gas = f.value(*n, f.path("refractive_index"), at_least_one);
    const std::string tm_table = "TM1n modes (1 to 13)";
    const json &ts = need_array(f.need("triplets"), f.path("triplets"));
    if (ts.empty()) throw InputError(f.path("triplets") + " must list at least one triplet");
    for (std::size_t k = 0; k < ts.size(); ++k) {
        Fields t(ts[k], at(f.path("triplets"), k), u);
        TmTriplet tr;
        if (const json *fam = t.find("family")) {
            if (*fam != "TM" && *fam != "TE")
                throw InputError(t.path("family") + " must be \"TM\" or \"TE\", not " + kind_of(*fam));
            tr.te = *fam == "TE";
        }
        tr.n = tr.te ? mode_number(t.need("mode"), t.path("mode"), lib::first_te, lib::last_te,
                                   "TE1n modes (1 to 12)")
                     : mode_number(t.need("mode"), t.path("mode"), lib::first_tm, lib::last_tm, tm_table);
        const auto three = [&](const std::string &key, std::array<double, 3> &out) {
            const std::string where = t.path(key);
            const json &v = need_array(t.need(key), where);
            if (v.size() != 3)
                throw InputError(where + " must hold 3 values, not " + std::to_string(v.size()));
            for (std::size_t m = 0; m < 3; ++m) out[m] = t.value(v[m], at(where, m), positive);
        };
        three("frequencies_Hz", tr.f);
        if (t.find("half_widths_Hz")) {
            tr.g.emplace();
            three("half_widths_Hz", *tr.g);
        }
        t.done();
        mw.triplets.push_back(tr);
    }
    mw.shape_mode = 0;  // the first TM1n triplet
    for (const TmTriplet &t : mw.triplets)
        if (!t.te && mw.shape_mode == 0) mw.shape_mode = t.n;
    if (mw.shape_mode == 0) throw InputError(f.path("triplets") + " must include a TM1n triplet");
    if (const json *s = f.find("shape_triplet_mode"))
        mw.shape_mode = mode_number(*s, f.path("shape_triplet_mode"), lib::first_tm, lib::last_tm,
                                    tm_table);
    if (const json *ps = f.find("ports")) {
        need_array(*ps, f.path("ports"));
        for (std::size_t k = 0; k < ps->size(); ++k) {
            Fields p((*ps)[k], at(f.path("ports"), k), u);
            mw.ports.push_back(p.number("radius_mm", positive));
            p.done();
        }
    }
    f.done();
    return mw;
}

StatePoint read_point(const json &j, const std::string &where, Uncertainties *u) {
    Fields f(j, where, u);
    StatePoint p;
    p.t = f.number("temperature_K", positive);
    p.p = f.number("pressure_kPa", positive);
    p.rho = f.number("density_kg_m3", positive);
    read_gas_properties(f, p);
    const json &ms = need_array(f.need("modes"), f.path("modes"));
    if (ms.empty()) throw InputError(f.path("modes") + " must list at least one mode");
    for (std::size_t k = 0; k < ms.size(); ++k) {
        Fields m(ms[k], at(f.path("modes"), k), u);
        MeasuredMode mm;
        mm.n = mode_number(m.need("n"), m.path("n"), lib::first_radial, lib::last_radial,
                           "radial modes ((0,2) to (0,13))");
        mm.f = m.number("frequency_Hz", positive);
        mm.g = m.number("half_width_Hz", positive);
        m.done();
        p.modes.push_back(mm);
    }
    f.done();
    return p;
}

std::vector<int> read_terms(Fields &f) {
    const json *v = f.find("terms");
    if (v == nullptr) return {0, 1, 2};
    const std::string where = f.path("terms");
    need_array(*v, where);
    if (v->empty()) throw InputError(where + " must list at least A0");
    std::vector<int> terms;
    for (std::size_t k = 0; k < v->size(); ++k) {
        const json &t = (*v)[k];
        const std::string s = t.is_string() ? t.get<std::string>() : "";
        if (s == "A-1") terms.push_back(-1);
        else if (s.size() == 2 && s[0] == 'A' && s[1] >= '0' && s[1] <= '3') terms.push_back(s[1] - '0');
        else throw InputError(at(where, k) + " must be \"A-1\", \"A0\", \"A1\", \"A2\" or \"A3\", not " + kind_of(t));
    }
    return terms;
}

}  // namespace

ReduceInput read_reduce_input(const nlohmann::json &doc) {
    ReduceInput in;
    Uncertainties *u = &in.u;
    Fields f(doc, "", u);
    {
        Fields g(f.need("gas"), "gas", u);
        in.gas_name = g.name("gas");
        in.mw = g.number("molar_mass_kg_mol", positive);
        in.h = g.number("accommodation_coefficient", fraction);
        if (const json *v = g.find("gamma0")) in.gamma0 = g.value(*v, g.path("gamma0"), above_one);
        g.done();
    }
    const json *mw = f.find("microwave");
    in.res = read_resonator(f.need("resonator"), u,
                            mw == nullptr || f.need("resonator").contains("radius_mm"));
    if (mw != nullptr) in.microwave = read_microwave(*mw, u);
    // Ducts and microphones must lie inside the resonator: without a given
    // radius, inside the radius of the first triplet's mean frequency.
    double a = in.res.a;
    if (in.microwave && !(a > 0)) {
        const TmTriplet &t = in.microwave->triplets.front();
        a = 1000.0 * (t.te ? lib::zte(t.n) : lib::ztm(t.n)) * speed_of_light /
            (2.0 * lib::pi() * in.microwave->n_gas * ((t.f[0] + t.f[1] + t.f[2]) / 3.0));
    }
    in.ducts = read_ducts(f.find("ducts"), a, u);
    in.mics = read_mics(f.find("microphones"), a, u);
    if (const json *iso = f.find("isotherm")) {
        Fields i(*iso, "isotherm", u);
        in.terms = read_terms(i);
        if (const json *t = i.find("temperature_K"))
            in.t_known = i.value(*t, i.path("temperature_K"), positive);
        i.done();
    }
    const json &ps = need_array(f.need("state_points"), "state_points");
    for (std::size_t k = 0; k < ps.size(); ++k)
        in.points.push_back(read_point(ps[k], at("state_points", k), u));
    f.done();
    return in;
}

}  // namespace velk::analysis
