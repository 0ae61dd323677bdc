// The three reports of a reduction.  The table is for reading (rounded
// values, units in the row labels); CSV is a sequence of blocks separated by
// an empty line (microwave modes, acoustic modes, state points, isotherm
// terms, results, uncertainty budget of the result); JSON holds the same
// values with round-trip precision.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include <nlohmann/json.hpp>

#include "numbers.hpp"
#include "report.hpp"

namespace velk::tool {

using namespace velk::analysis;

namespace {

constexpr double ppm = 1e6;
constexpr std::size_t label_width = 28, column_width = 14;

std::string pad_left(const std::string &s, std::size_t w) {
    return s.size() >= w ? s : std::string(w - s.size(), ' ') + s;
}
std::string pad_right(const std::string &s, std::size_t w) {
    return s.size() >= w ? s : s + std::string(w - s.size(), ' ');
}

template <class Items, class Cell>
void row(std::ostringstream &out, const std::string &label, const Items &items, Cell cell) {
    out << pad_right(label, label_width);
    for (const auto &item : items) out << pad_left(cell(item), column_width);
    out << '\n';
}

std::string g(double x, int digits = 6) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.*g", digits, x);
    return buf;
}

std::string term_name(int k) { return "A" + std::to_string(k); }

std::string term_unit(int k) {
    if (k == 0) return "m2/s2";
    if (k == 1) return "m2/(s2 Pa)";
    if (k == -1) return "m2 Pa/s2";
    return "m2/(s2 Pa" + std::to_string(k) + ")";
}

const Uncertain &find(const std::vector<Uncertain> &u, const std::string &name) {
    for (const Uncertain &q : u)
        if (q.name == name) return q;
    return u.back();
}

std::string point_name(std::size_t k) { return "c[" + std::to_string(k) + "]"; }

}  // namespace

std::string table_report(const ReduceReport &rep) {
    const ReduceInput &in = rep.in;
    const Reduction &r = rep.r;
    std::ostringstream out;
    out << "velk reduction\n";
    out << "gas        " << in.gas_name << ", molar mass " << g(in.mw) << " kg/mol, gamma0 "
        << g(in.gamma0) << ", thermal accommodation coefficient " << g(in.h) << "\n";
    out << "resonator  copper RRR " << g(in.res.rrr) << ", conductivity " << g(in.res.sigma)
        << " S/m\n\n";

    const Uncertain &ua = find(rep.u, "radius");
    if (!r.tm.empty()) {
        out << (r.a_from_microwave ? "microwave radius" : "microwave modes") << ": deformation parameters eps1 " << g(r.eps1, 7) << ", eps2 "
            << g(r.eps2, 7) << " (TM1" << in.microwave->shape_mode << "), refractive index "
            << g(in.microwave->n_gas, 10) << "\n";
        row(out, "microwave mode", r.tm,
            [](const TmResult &t) { return (t.te ? "TE1" : "TM1") + std::to_string(t.n); });
        row(out, "mean frequency / MHz", r.tm, [](const TmResult &t) { return fixed(t.f_mean * 1e-6, 6); });
        row(out, "skin depth / um", r.tm, [](const TmResult &t) { return fixed(t.dsk * 1e6, 4); });
        row(out, "skin-depth shift / ppm", r.tm, [](const TmResult &t) { return fixed(t.skin_shift * ppm, 4); });
        row(out, "second-order shape / ppm", r.tm, [](const TmResult &t) { return fixed(t.shape * ppm, 4); });
        row(out, "port holes / ppm", r.tm, [](const TmResult &t) { return fixed(t.ports * ppm, 4); });
        row(out, "ideal frequency / MHz", r.tm, [](const TmResult &t) { return fixed(t.f_ideal * 1e-6, 6); });
        row(out, "radius / mm", r.tm, [](const TmResult &t) { return fixed(t.a, 7); });
        row(out, "deviation / ppm", r.tm, [](const TmResult &t) { return fixed(t.deviation_ppm, 4); });
        row(out, "excess half-width / ppm", r.tm, [](const TmResult &t) {
            return t.excess_half_width_ppm ? fixed(*t.excess_half_width_ppm, 4) : std::string("-");
        });
        row(out, "iterations", r.tm, [](const TmResult &t) { return std::to_string(t.iterations); });
    }
    out << (r.a_from_microwave ? "mean radius " : "radius (given) ") << fixed(r.a, 7)
        << " mm, standard uncertainty " << g(ua.u(), 3) << " mm (" << fixed(ua.u() / r.a * ppm, 3)
        << " ppm)\n\n";

    for (std::size_t k = 0; k < r.points.size(); ++k) {
        const PointResult &p = r.points[k];
        const Uncertain &uc = find(rep.u, point_name(k));
        out << "state point " << k << ": " << g(p.t) << " K, " << g(p.p) << " kPa\n";
        row(out, "radial mode", p.modes, [](const ModeResult &m) { return "(0," + std::to_string(m.n) + ")"; });
        row(out, "frequency / Hz", p.modes, [](const ModeResult &m) { return fixed(m.f, 4); });
        row(out, "half-width / Hz", p.modes, [](const ModeResult &m) { return fixed(m.g, 4); });
        row(out, "sum of shifts / ppm", p.modes, [](const ModeResult &m) { return fixed(m.shift * ppm, 4); });
        row(out, "speed of sound / (m/s)", p.modes, [](const ModeResult &m) { return fixed(m.c, 6); });
        row(out, "deviation / ppm", p.modes, [](const ModeResult &m) { return fixed(m.deviation_ppm, 4); });
        row(out, "excess half-width / ppm", p.modes,
            [](const ModeResult &m) { return fixed(m.excess_half_width_ppm, 4); });
        row(out, "iterations", p.modes, [](const ModeResult &m) { return std::to_string(m.iterations); });
        out << "mean speed of sound " << fixed(p.c, 6) << " m/s, standard uncertainty "
            << fixed(uc.u() / p.c * ppm, 3) << " ppm (modes' scatter " << fixed(uc.u_stat / p.c * ppm, 3)
            << " ppm, inputs " << fixed(uc.u_inputs / p.c * ppm, 3) << " ppm)\n\n";
    }

    const FitResult &f = r.fit;
    out << "isotherm   c^2 =";
    for (std::size_t k = 0; k < f.terms.size(); ++k) {
        const int t = f.terms[k];
        out << (k ? " +" : "") << " A" << t << (t == 0 ? "" : t == 1 ? " p" : t == -1 ? "/p" : " p^" + std::to_string(t));
    }
    out << ", weighted least squares: " << r.points.size() << " points, " << f.dof
        << " degrees of freedom, reduced chi-square " << (f.dof > 0 ? g(f.chi2_reduced, 4) : "-") << "\n";
    for (std::size_t k = 0; k < f.terms.size(); ++k)
        out << "  " << pad_right(term_name(f.terms[k]), 4) << " = " << g(f.coef[k], 12) << " "
            << term_unit(f.terms[k]) << ", statistical standard uncertainty " << g(f.u_stat[k], 3)
            << "\n";
    out << pad_right("pressure / kPa", label_width) << pad_left("c / (m/s)", column_width)
        << pad_left("residual / ppm", column_width + 2) << "\n";
    for (const PointResult &p : r.points)
        out << pad_right(g(p.p), label_width) << pad_left(fixed(p.c, 6), column_width)
            << pad_left(fixed(p.residual_ppm, 4), column_width + 2) << "\n";

    const Uncertain &res = rep.u.back().name == "k_B" ? rep.u[rep.u.size() - 2] : rep.u.back();
    const double rel = res.u() / res.value * ppm;
    out << "\nresult\n";
    if (r.temperature) {
        out << "  T = " << fixed(r.t, 6) << " K, standard uncertainty " << g(res.u(), 3) << " K ("
            << fixed(rel, 3) << " ppm)\n";
        out << "  from A0 = gamma0 R T / M with the exact SI gas constant R = 8.314462618 J/(mol K)\n";
    } else {
        out << "  R = " << g(r.r_gas, 10) << " J/(mol K), standard uncertainty " << g(res.u(), 3)
            << " J/(mol K) (" << fixed(rel, 3) << " ppm)\n";
        out << "  k_B = R / N_A = " << g(r.k_b, 10) << " J/K, at the given T = " << g(r.t, 10) << " K\n";
    }
    out << "\nuncertainty budget of " << res.name << " (standard uncertainties, ppm, largest first)\n";
    std::vector<std::pair<std::string, double>> lines;
    if (res.u_stat > 0) lines.push_back({"isotherm fit (statistical)", res.u_stat});
    for (const Contribution &c : res.budget) lines.push_back({c.input, std::fabs(c.value)});
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto &a, const auto &b) { return a.second > b.second; });
    for (const auto &[name, v] : lines)
        out << "  " << pad_right(name, 52) << pad_left(fixed(v / res.value * ppm, 4), 10) << "\n";
    out << "  " << pad_right("combined", 52) << pad_left(fixed(rel, 4), 10) << "\n";

    if (rep.mc) {
        const MonteCarlo &mc = *rep.mc;
        out << "\nMonte Carlo check (" << mc.trials << " trials";
        if (mc.rejected) out << ", " << mc.rejected << " outside the models' range";
        out << "): mean " << res.name << " = " << g(mc.mean, 10) << " " << res.unit
            << ", standard deviation " << fixed(mc.sd / res.value * ppm, 3)
            << " ppm (linear propagation: " << fixed(res.u_inputs / res.value * ppm, 3)
            << " ppm), combined with the fit " << fixed(mc.u_combined / res.value * ppm, 3)
            << " ppm (linear: " << fixed(rel, 3) << " ppm); 95 % interval [" << g(mc.low, 10) << ", "
            << g(mc.high, 10) << "] " << res.unit << "\n";
    }
    return out.str();
}

std::string csv_report(const ReduceReport &rep) {
    const Reduction &r = rep.r;
    std::ostringstream out;
    out << "family,n,f_mean_Hz,skin_depth_m,skin_shift_ppm,shape_ppm,ports_ppm,f_ideal_Hz,radius_mm,"
           "deviation_ppm,excess_half_width_ppm,iterations\n";
    for (const TmResult &t : r.tm)
        out << (t.te ? "TE" : "TM") << ',' << t.n << ',' << round_trip(t.f_mean) << ',' << round_trip(t.dsk) << ','
            << round_trip(t.skin_shift * ppm) << ',' << round_trip(t.shape * ppm) << ','
            << round_trip(t.ports * ppm) << ',' << round_trip(t.f_ideal) << ',' << round_trip(t.a)
            << ',' << round_trip(t.deviation_ppm) << ','
            << (t.excess_half_width_ppm ? round_trip(*t.excess_half_width_ppm) : "") << ','
            << t.iterations << '\n';
    out << "\npoint,pressure_kPa,n,frequency_Hz,half_width_Hz,shift_ppm,c_m_s,deviation_ppm,"
           "excess_half_width_ppm,iterations\n";
    for (std::size_t k = 0; k < r.points.size(); ++k)
        for (const ModeResult &m : r.points[k].modes)
            out << k << ',' << round_trip(r.points[k].p) << ',' << m.n << ',' << round_trip(m.f)
                << ',' << round_trip(m.g) << ',' << round_trip(m.shift * ppm) << ','
                << round_trip(m.c) << ',' << round_trip(m.deviation_ppm) << ','
                << round_trip(m.excess_half_width_ppm) << ',' << m.iterations << '\n';
    out << "\npoint,temperature_K,pressure_kPa,c_m_s,residual_ppm\n";
    for (std::size_t k = 0; k < r.points.size(); ++k)
        out << k << ',' << round_trip(r.points[k].t) << ',' << round_trip(r.points[k].p) << ','
            << round_trip(r.points[k].c) << ',' << round_trip(r.points[k].residual_ppm) << '\n';
    out << "\nterm,value,u_stat,unit\n";
    for (std::size_t k = 0; k < r.fit.terms.size(); ++k)
        out << term_name(r.fit.terms[k]) << ',' << round_trip(r.fit.coef[k]) << ','
            << round_trip(r.fit.u_stat[k]) << ',' << term_unit(r.fit.terms[k]) << '\n';
    out << "\nquantity,value,unit,u_inputs,u_stat,u\n";
    for (const Uncertain &q : rep.u)
        out << q.name << ',' << round_trip(q.value) << ',' << q.unit << ',' << round_trip(q.u_inputs)
            << ',' << round_trip(q.u_stat) << ',' << round_trip(q.u()) << '\n';
    const Uncertain &res = rep.u.back().name == "k_B" ? rep.u[rep.u.size() - 2] : rep.u.back();
    out << "\ninput,contribution_to_" << res.name << "_ppm\n";
    for (const Contribution &c : res.budget)
        out << c.input << ',' << round_trip(c.value / res.value * ppm) << '\n';
    return out.str();
}

std::string json_report(const ReduceReport &rep) {
    using nlohmann::ordered_json;
    const Reduction &r = rep.r;
    ordered_json j;
    ordered_json tm = ordered_json::array();
    for (const TmResult &t : r.tm) {
        tm.push_back({{"family", t.te ? "TE" : "TM"},
                      {"n", t.n},
                      {"f_mean_Hz", t.f_mean},
                      {"skin_depth_m", t.dsk},
                      {"skin_shift_ppm", t.skin_shift * ppm},
                      {"skin_half_width_ppm", t.skin_half_width * ppm},
                      {"shape_ppm", t.shape * ppm},
                      {"ports_ppm", t.ports * ppm},
                      {"f_ideal_Hz", t.f_ideal},
                      {"radius_mm", t.a},
                      {"deviation_ppm", t.deviation_ppm},
                      {"iterations", t.iterations}});
        if (t.excess_half_width_ppm) tm.back()["excess_half_width_ppm"] = *t.excess_half_width_ppm;
    }
    j["radius_mm"] = r.a;
    j["radius_from_microwave"] = r.a_from_microwave;
    j["eps1"] = r.eps1;
    j["eps2"] = r.eps2;
    j["microwave_modes"] = tm;
    ordered_json points = ordered_json::array();
    for (const PointResult &p : r.points) {
        ordered_json modes = ordered_json::array();
        for (const ModeResult &m : p.modes)
            modes.push_back({{"n", m.n},
                             {"frequency_Hz", m.f},
                             {"half_width_Hz", m.g},
                             {"shift_ppm", m.shift * ppm},
                             {"predicted_half_width_Hz", m.g_pred},
                             {"c_m_s", m.c},
                             {"deviation_ppm", m.deviation_ppm},
                             {"excess_half_width_ppm", m.excess_half_width_ppm},
                             {"iterations", m.iterations}});
        points.push_back({{"temperature_K", p.t},
                          {"pressure_kPa", p.p},
                          {"c_m_s", p.c},
                          {"u_c_stat_m_s", p.u_c_stat},
                          {"residual_ppm", p.residual_ppm},
                          {"modes", modes}});
    }
    j["state_points"] = points;
    ordered_json terms = ordered_json::array();
    for (std::size_t k = 0; k < r.fit.terms.size(); ++k)
        terms.push_back({{"term", term_name(r.fit.terms[k])},
                         {"value", r.fit.coef[k]},
                         {"u_stat", r.fit.u_stat[k]},
                         {"unit", term_unit(r.fit.terms[k])}});
    j["isotherm"] = {{"terms", terms},
                     {"dof", r.fit.dof},
                     {"chi2_reduced", r.fit.dof > 0 ? ordered_json(r.fit.chi2_reduced) : ordered_json()}};
    j["result"] = r.temperature
                      ? ordered_json{{"temperature_K", r.t}, {"gas_constant_J_mol_K", r.r_gas}}
                      : ordered_json{{"temperature_K", r.t},
                                     {"gas_constant_J_mol_K", r.r_gas},
                                     {"boltzmann_constant_J_K", r.k_b}};
    ordered_json unc = ordered_json::array();
    for (const Uncertain &q : rep.u) {
        ordered_json budget = ordered_json::array();
        for (const Contribution &c : q.budget) budget.push_back({{"input", c.input}, {"contribution", c.value}});
        unc.push_back({{"quantity", q.name},
                       {"value", q.value},
                       {"unit", q.unit},
                       {"u_inputs", q.u_inputs},
                       {"u_stat", q.u_stat},
                       {"u", q.u()},
                       {"budget", budget}});
    }
    j["uncertainties"] = unc;
    if (rep.mc)
        j["monte_carlo"] = {{"trials", rep.mc->trials},
                            {"rejected", rep.mc->rejected},
                            {"mean", rep.mc->mean},
                            {"sd", rep.mc->sd},
                            {"interval_95", {rep.mc->low, rep.mc->high}},
                            {"u_combined", rep.mc->u_combined}};
    return j.dump(2) + "\n";
}

}  // namespace velk::tool
