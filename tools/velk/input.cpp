// Reading and checking the budget input.  Every field is named by its path
// (gas.density_kg_m3, ducts[1].sections[0].radius_mm) in the messages; a
// field that the input does not know is an error too, so that a misspelt
// optional field is not silently ignored.
#include <cmath>
#include <functional>
#include <set>
#include <utility>

#include "budget.hpp"

namespace velk::tool {
namespace {

using nlohmann::json;

// The radial modes with a nonzero eigenvalue, and the TM1n modes, of the
// library's tables.
constexpr std::int32_t first_radial = 2, last_radial = 13;
constexpr std::int32_t first_tm = 1, last_tm = 13;

std::string shown(const json &v) {
    std::string s = v.dump();
    if (s.size() > 40) s = s.substr(0, 37) + "...";
    return s;
}

std::string kind_of(const json &v) {
    if (v.is_object()) return "an object";
    if (v.is_array()) return "an array";
    if (v.is_string()) return "a string (" + shown(v) + ")";
    if (v.is_boolean()) return "a boolean (" + shown(v) + ")";
    if (v.is_null()) return "null";
    return shown(v);
}

using Rule = std::function<const char *(double)>;  // null if the value is fine

const Rule positive = [](double x) { return x > 0 ? nullptr : "must be positive"; };
const Rule above_one = [](double x) { return x > 1 ? nullptr : "must be greater than 1"; };
const Rule at_least_one = [](double x) { return x >= 1 ? nullptr : "must be at least 1"; };
const Rule fraction = [](double x) { return x > 0 && x <= 1 ? nullptr : "must lie in (0, 1]"; };

// A JSON object being read: remembers which fields were asked for.
class Fields {
public:
    Fields(const json &j, std::string path) : j_(j), path_(std::move(path)) {
        if (!j.is_object())
            throw InputError((path_.empty() ? "the input" : path_) + " must be an object, not " +
                             kind_of(j));
    }

    std::string path(const std::string &key) const {
        return path_.empty() ? key : path_ + "." + key;
    }

    const json *find(const std::string &key) {
        used_.insert(key);
        const auto it = j_.find(key);
        return it == j_.end() ? nullptr : &*it;
    }

    const json &need(const std::string &key) {
        if (const json *v = find(key)) return *v;
        throw InputError("missing field " + path(key));
    }

    double number(const std::string &key, const Rule &rule) {
        return check_number(need(key), path(key), rule);
    }

    std::string name(const std::string &fallback) {
        const json *v = find("name");
        if (v == nullptr) return fallback;
        const std::string where = path("name");
        if (!v->is_string()) throw InputError(where + " must be a string, not " + kind_of(*v));
        const std::string s = v->get<std::string>();
        if (s.empty() || s.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                             "0123456789_-") != s.npos)
            throw InputError(where + " must be letters, digits, '-' or '_', not " + shown(*v));
        return s;
    }

    // Rejects the fields nobody asked for; "comment" is free text anywhere.
    void done() const {
        for (const auto &[key, value] : j_.items())
            if (!used_.contains(key) && key != "comment")
                throw InputError("unknown field " + path(key));
    }

    static double check_number(const json &v, const std::string &where, const Rule &rule) {
        if (!v.is_number()) throw InputError(where + " must be a number, not " + kind_of(v));
        const double x = v.get<double>();
        if (!std::isfinite(x)) throw InputError(where + " must be finite, not " + shown(v));
        if (const char *why = rule(x)) throw InputError(where + " " + why + ", not " + shown(v));
        return x;
    }

private:
    const json &j_;
    std::string path_;
    std::set<std::string> used_;
};

const json &need_array(const json &v, const std::string &where) {
    if (!v.is_array()) throw InputError(where + " must be an array, not " + kind_of(v));
    return v;
}

std::string at(const std::string &where, std::size_t k) {
    return where + "[" + std::to_string(k) + "]";
}

std::int32_t mode_number(const json &v, const std::string &where, std::int32_t lo, std::int32_t hi,
                         const std::string &table) {
    if (!v.is_number_integer()) throw InputError(where + " must be an integer, not " + kind_of(v));
    const double n = v.get<double>();  // exact within the tables
    if (n < lo || n > hi)
        throw InputError(where + " = " + shown(v) + " is outside the table of " + table);
    return static_cast<std::int32_t>(n);
}

std::vector<std::int32_t> mode_list(Fields &f, const std::string &key,
                                    std::vector<std::int32_t> fallback, std::int32_t lo,
                                    std::int32_t hi, const std::string &table) {
    const json *v = f.find(key);
    if (v == nullptr) return fallback;
    const std::string where = f.path(key);
    need_array(*v, where);
    if (v->empty()) throw InputError(where + " must list at least one mode");
    std::vector<std::int32_t> modes;
    for (std::size_t k = 0; k < v->size(); ++k)
        modes.push_back(mode_number((*v)[k], at(where, k), lo, hi, table));
    return modes;
}

Gas read_gas(const json &j) {
    Fields f(j, "gas");
    Gas g;
    g.name = f.name("gas");
    g.t = f.number("temperature_K", positive);
    g.p = f.number("pressure_kPa", positive);
    g.rho = f.number("density_kg_m3", positive);
    g.c = f.number("speed_of_sound_m_s", positive);
    g.gamma = f.number("gamma", above_one);
    g.eta = f.number("viscosity_Pa_s", positive);
    g.kappa = f.number("thermal_conductivity_W_m_K", positive);
    g.cp = f.number("cp_J_kg_K", positive);
    g.cv = f.number("cv_J_kg_K", positive);
    if (!(g.cp > g.cv))
        throw InputError("gas.cp_J_kg_K (" + f.need("cp_J_kg_K").dump() +
                         ") must be greater than gas.cv_J_kg_K (" + f.need("cv_J_kg_K").dump() +
                         ")");
    g.mw = f.number("molar_mass_kg_mol", positive);
    g.h = f.number("accommodation_coefficient", fraction);
    f.done();
    return g;
}

Resonator read_resonator(const json &j) {
    Fields f(j, "resonator");
    Resonator r;
    r.a = f.number("radius_mm", positive);
    r.rrr = f.number("rrr", at_least_one);
    r.rho_w = f.number("wall_density_kg_m3", positive);
    r.sigma = f.number("conductivity_S_m", positive);
    const json *mu = f.find("relative_permeability");
    r.mu_r = mu ? Fields::check_number(*mu, f.path("relative_permeability"), positive) : 1.0;
    f.done();
    return r;
}

// A length inside the resonator: positive and below its radius.
Rule inside(double a) {
    return [a](double x) {
        return x > 0 && x < a ? nullptr : "must be positive and below the resonator radius";
    };
}

std::vector<Duct> read_ducts(const json *j, double a) {
    std::vector<Duct> ducts;
    if (j == nullptr) return ducts;
    need_array(*j, "ducts");
    std::set<std::string> names;
    for (std::size_t k = 0; k < j->size(); ++k) {
        Fields f((*j)[k], at("ducts", k));
        Duct d;
        d.name = f.name(std::to_string(k + 1));
        if (!names.insert(d.name).second)
            throw InputError(f.path("name") + " repeats the name " + d.name);
        const json &s = need_array(f.need("sections"), f.path("sections"));
        if (s.empty()) throw InputError(f.path("sections") + " must list at least one section");
        for (std::size_t m = 0; m < s.size(); ++m) {
            Fields sec(s[m], at(f.path("sections"), m));
            d.r.push_back(sec.number("radius_mm", inside(a)));
            d.l.push_back(sec.number("length_mm", positive));
            sec.done();
        }
        f.done();
        ducts.push_back(std::move(d));
    }
    return ducts;
}

std::vector<Microphone> read_mics(const json *j, double a) {
    std::vector<Microphone> mics;
    if (j == nullptr) return mics;
    need_array(*j, "microphones");
    std::set<std::string> names;
    for (std::size_t k = 0; k < j->size(); ++k) {
        Fields f((*j)[k], at("microphones", k));
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

Microwave read_microwave(const json &j) {
    Fields f(j, "microwave");
    Microwave mw;
    const std::string tm_table = "TM1n modes (1 to 13)";
    mw.n = mode_number(f.need("triplet_mode"), f.path("triplet_mode"), first_tm, last_tm, tm_table);
    const std::string where = f.path("triplet_Hz");
    const json &t = need_array(f.need("triplet_Hz"), where);
    if (t.size() != 3)
        throw InputError(where + " must hold 3 frequencies, not " + std::to_string(t.size()));
    for (std::size_t k = 0; k < 3; ++k)
        mw.f[k] = Fields::check_number(t[k], at(where, k), positive);
    mw.tm = mode_list(f, "tm_modes", {1, 2, 3}, first_tm, last_tm, tm_table);
    f.done();
    return mw;
}

}  // namespace

Input read_input(const json &doc) {
    Fields f(doc, "");
    Input in;
    in.gas = read_gas(f.need("gas"));
    in.res = read_resonator(f.need("resonator"));
    in.ducts = read_ducts(f.find("ducts"), in.res.a);
    in.mics = read_mics(f.find("microphones"), in.res.a);
    in.mw = read_microwave(f.need("microwave"));
    in.modes = mode_list(f, "radial_modes", {2, 3, 4, 5, 6}, first_radial, last_radial,
                         "radial modes ((0,2) to (0,13))");
    f.done();
    return in;
}

}  // namespace velk::tool
