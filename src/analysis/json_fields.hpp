// Reading JSON input documents: a field-by-field reader that names every
// field by its path in the messages and rejects fields nobody asked for, so
// that a misspelt optional field is not silently ignored.
//
// A number may carry a standard uncertainty: {"value": 0.01641, "u": 0.0001}
// or, relative to the value, {"value": 100.0, "u": "0.02%"}.  The reader
// records it, absolute, under the field's path.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "uncertainty.hpp"

namespace velk::analysis::json_input {

using nlohmann::json;

inline std::string shown(const json &v) {
    std::string s = v.dump();
    if (s.size() > 40) s = s.substr(0, 37) + "...";
    return s;
}

inline std::string kind_of(const json &v) {
    if (v.is_object()) return "an object";
    if (v.is_array()) return "an array";
    if (v.is_string()) return "a string (" + shown(v) + ")";
    if (v.is_boolean()) return "a boolean (" + shown(v) + ")";
    if (v.is_null()) return "null";
    return shown(v);
}

using Rule = std::function<const char *(double)>;  // null if the value is fine

inline const Rule positive = [](double x) { return x > 0 ? nullptr : "must be positive"; };
inline const Rule above_one = [](double x) { return x > 1 ? nullptr : "must be greater than 1"; };
inline const Rule at_least_one = [](double x) { return x >= 1 ? nullptr : "must be at least 1"; };
inline const Rule non_negative = [](double x) { return x >= 0 ? nullptr : "must not be negative"; };
inline const Rule fraction = [](double x) { return x > 0 && x <= 1 ? nullptr : "must lie in (0, 1]"; };

// A JSON object being read: remembers which fields were asked for.
class Fields {
public:
    // Uncertainties found in this object go to *u (none allowed when null).
    Fields(const json &j, std::string path, Uncertainties *u = nullptr)
        : j_(j), path_(std::move(path)), u_(u) {
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
        return value(need(key), path(key), rule);
    }

    // A number that may carry an uncertainty (when this reader records them).
    double value(const json &v, const std::string &where, const Rule &rule) {
        if (!v.is_object() || u_ == nullptr) return check_number(v, where, rule);
        Fields f(v, where);
        const double x = check_number(f.need("value"), f.path("value"), rule);
        const json &u = f.need("u");
        double ux;
        if (u.is_string()) {
            const std::string s = u.get<std::string>();
            std::size_t used = 0;
            double percent = -1;
            try {
                percent = std::stod(s, &used);
            } catch (const std::exception &) {
                used = 0;
            }
            if (used == 0 || s.substr(used) != "%" || !(percent >= 0) || !std::isfinite(percent))
                throw InputError(f.path("u") + " must be a number or a percentage such as \"0.2%\", not " +
                                 shown(u));
            ux = std::fabs(x) * (percent / 100.0);
        } else {
            ux = check_number(u, f.path("u"), non_negative);
        }
        f.done();
        if (ux > 0) (*u_)[where] = ux;
        return x;
    }

    Uncertainties *uncertainties() const { return u_; }

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
    Uncertainties *u_;
    std::set<std::string> used_;
};

inline const json &need_array(const json &v, const std::string &where) {
    if (!v.is_array()) throw InputError(where + " must be an array, not " + kind_of(v));
    return v;
}

inline std::string at(const std::string &where, std::size_t k) {
    return where + "[" + std::to_string(k) + "]";
}

inline std::int32_t mode_number(const json &v, const std::string &where, std::int32_t lo, std::int32_t hi,
                         const std::string &table) {
    if (!v.is_number_integer()) throw InputError(where + " must be an integer, not " + kind_of(v));
    const double n = v.get<double>();  // exact within the tables
    if (n < lo || n > hi)
        throw InputError(where + " = " + shown(v) + " is outside the table of " + table);
    return static_cast<std::int32_t>(n);
}

inline std::vector<std::int32_t> mode_list(Fields &f, const std::string &key,
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

// A length inside the resonator: positive and below its radius.
inline Rule inside(double a) {
    return [a](double x) {
        return x > 0 && x < a ? nullptr : "must be positive and below the resonator radius";
    };
}

// The gas properties that the budget and every state point of a reduction
// share, read into any record with these members, in this order: gamma,
// viscosity, thermal conductivity and the two heat capacities (cp above cv).
template <class G>
void read_gas_properties(Fields &f, G &g) {
    g.gamma = f.number("gamma", above_one);
    g.eta = f.number("viscosity_Pa_s", positive);
    g.kappa = f.number("thermal_conductivity_W_m_K", positive);
    g.cp = f.number("cp_J_kg_K", positive);
    g.cv = f.number("cv_J_kg_K", positive);
    if (!(g.cp > g.cv))
        throw InputError(f.path("cp_J_kg_K") + " (" + f.need("cp_J_kg_K").dump() +
                         ") must be greater than " + f.path("cv_J_kg_K") + " (" +
                         f.need("cv_J_kg_K").dump() + ")");
}

}  // namespace velk::analysis::json_input
