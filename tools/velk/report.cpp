// The three reports of a budget.  The table is for reading: the terms are
// rows and the modes columns, values rounded (ppm to 4 decimals); CSV and
// JSON carry every value with round-trip precision, one row (CSV) or one
// object (JSON) per mode.  When the input carries uncertainties, each shift
// term and the sum also get their standard uncertainty in ppm and the input
// that dominates it.
#include <cstdio>
#include <sstream>

#include <nlohmann/json.hpp>

#include "numbers.hpp"
#include "report.hpp"

namespace velk::tool {

using namespace velk::analysis;

namespace {

constexpr double ppm = 1e6;

std::string pad_left(const std::string &s, std::size_t w) {
    return s.size() >= w ? s : std::string(w - s.size(), ' ') + s;
}
std::string pad_right(const std::string &s, std::size_t w) {
    return s.size() >= w ? s : s + std::string(w - s.size(), ' ');
}

constexpr std::size_t label_width = 28, column_width = 14;

// One table row: a label and one value per column.
template <class Items, class Cell>
void row(std::ostringstream &out, const std::string &label, const Items &items, Cell cell) {
    out << pad_right(label, label_width);
    for (const auto &item : items) out << pad_left(cell(item), column_width);
    out << '\n';
}

std::string g(double x) {  // short general format for the header lines
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", x);
    return buf;
}

std::string sci(double x) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6e", x);
    return buf;
}

std::string tm_name(std::int32_t n) { return "TM1" + std::to_string(n); }

bool has_uncertainties(const Budget &b) {
    return !b.modes.empty() && !b.modes.front().u_terms.empty();
}

// The dominant input of term k (k = terms: the sum) across the modes: one
// name when all modes agree, else "(0,n) name" for each mode.
std::string dominant(const Budget &b, std::size_t k) {
    const auto of = [k](const ModeBudget &m) {
        const std::string &d = k < m.u_terms.size() ? m.u_terms[k].dominant : m.u_shift.dominant;
        return d.empty() ? std::string("(none)") : d;
    };
    bool same = true;
    for (const ModeBudget &m : b.modes) same = same && of(m) == of(b.modes.front());
    if (same) return of(b.modes.front());
    std::string s;
    for (const ModeBudget &m : b.modes)
        s += (s.empty() ? "" : ", ") + ("(0," + std::to_string(m.n) + ") ") + of(m);
    return s;
}

}  // namespace

std::string table_report(const Budget &b) {
    const Gas &gas = b.in.gas;
    const Resonator &r = b.in.res;
    std::ostringstream out;
    out << "velk correction budget\n";
    out << "gas        " << gas.name << " at " << g(gas.t) << " K and " << g(gas.p)
        << " kPa: density " << g(gas.rho) << " kg/m3, speed of sound " << g(gas.c) << " m/s, gamma "
        << g(gas.gamma) << "\n";
    out << "resonator  radius " << g(r.a) << " mm, copper RRR " << g(r.rrr) << ": k_cu " << g(b.kcu)
        << " W/(m K), cp_cu " << g(b.cpcu) << " J/(kg K)\n";
    out << "           thermal accommodation length " << g(b.lt * 1e6) << " um\n";
    for (const Duct &d : b.in.ducts) {
        out << "duct       " << d.name << ":";
        for (std::size_t k = 0; k < d.r.size(); ++k)
            out << (k ? "," : "") << " radius " << g(d.r[k]) << " mm length " << g(d.l[k]) << " mm";
        out << "\n";
    }
    for (const Microphone &m : b.in.mics)
        out << "microphone " << m.name << ": radius " << g(m.r) << " mm\n";
    out << "\n";

    const auto &modes = b.modes;
    row(out, "radial mode", modes,
        [](const ModeBudget &m) { return "(0," + std::to_string(m.n) + ")"; });
    row(out, "ideal frequency / Hz", modes, [](const ModeBudget &m) { return fixed(m.f, 4); });
    out << "shift / ppm\n";
    const std::size_t terms = modes.empty() ? 0 : modes.front().terms.size();
    for (std::size_t k = 0; k < terms; ++k)
        row(out, "  " + modes.front().terms[k].label, modes,
            [k](const ModeBudget &m) { return fixed(m.terms[k].shift * ppm, 4); });
    row(out, "  sum", modes, [](const ModeBudget &m) { return fixed(m.shift * ppm, 4); });
    out << "half-width / ppm\n";
    for (std::size_t k = 0; k < terms; ++k)
        row(out, "  " + modes.front().terms[k].label, modes,
            [k](const ModeBudget &m) { return fixed(m.terms[k].half_width * ppm, 4); });
    row(out, "  sum", modes, [](const ModeBudget &m) { return fixed(m.half_width * ppm, 4); });
    row(out, "predicted frequency / Hz", modes,
        [](const ModeBudget &m) { return fixed(m.f_pred, 4); });
    row(out, "predicted half-width / Hz", modes,
        [](const ModeBudget &m) { return fixed(m.g_pred, 4); });
    if (has_uncertainties(b)) {
        out << "shift standard uncertainty / ppm\n";
        for (std::size_t k = 0; k < terms; ++k)
            row(out, "  " + modes.front().terms[k].label, modes,
                [k](const ModeBudget &m) { return fixed(m.u_terms[k].u * ppm, 4); });
        row(out, "  sum", modes, [](const ModeBudget &m) { return fixed(m.u_shift.u * ppm, 4); });
        out << "dominant input\n";
        for (std::size_t k = 0; k < terms; ++k)
            if (modes.front().u_terms[k].u > 0 || dominant(b, k) != "(none)")
                out << "  " << pad_right(modes.front().terms[k].label + ":", label_width - 2)
                    << dominant(b, k) << '\n';
        out << "  " << pad_right("sum:", label_width - 2) << dominant(b, terms) << '\n';
    }

    const Microwave &mw = b.in.mw;
    out << "\nmicrowave  " << tm_name(mw.n) << " triplet " << round_trip(mw.f[0]) << ", "
        << round_trip(mw.f[1]) << ", " << round_trip(mw.f[2]) << " Hz; copper conductivity "
        << g(r.sigma) << " S/m\n";
    out << "           deformation parameters eps1 " << sci(b.eps1) << ", eps2 " << sci(b.eps2)
        << "\n\n";
    row(out, "microwave mode", b.tm, [](const TmBudget &t) { return tm_name(t.n); });
    row(out, "ideal frequency / MHz", b.tm, [](const TmBudget &t) { return fixed(t.f * 1e-6, 4); });
    row(out, "skin depth / um", b.tm, [](const TmBudget &t) { return fixed(t.dsk * 1e6, 4); });
    row(out, "skin-depth shift / ppm", b.tm,
        [](const TmBudget &t) { return fixed(t.shift * ppm, 4); });
    row(out, "skin-depth half-width / ppm", b.tm,
        [](const TmBudget &t) { return fixed(t.half_width * ppm, 4); });
    row(out, "second-order shape / ppm", b.tm,
        [](const TmBudget &t) { return fixed(t.shape * ppm, 4); });
    return out.str();
}

std::string csv_report(const Budget &b) {
    std::ostringstream out;
    out << "n,f_id_Hz";
    if (!b.modes.empty())
        for (const Term &t : b.modes.front().terms)
            out << ',' << t.key << "_shift_ppm," << t.key << "_half_width_ppm";
    out << ",sum_shift_ppm,sum_half_width_ppm,predicted_frequency_Hz,predicted_half_width_Hz";
    const bool u = has_uncertainties(b);
    if (u) {
        for (const Term &t : b.modes.front().terms)
            out << ',' << t.key << "_shift_u_ppm," << t.key << "_shift_u_dominant";
        out << ",sum_shift_u_ppm,sum_shift_u_dominant";
    }
    out << '\n';
    for (const ModeBudget &m : b.modes) {
        out << m.n << ',' << round_trip(m.f);
        for (const Term &t : m.terms)
            out << ',' << round_trip(t.shift * ppm) << ',' << round_trip(t.half_width * ppm);
        out << ',' << round_trip(m.shift * ppm) << ',' << round_trip(m.half_width * ppm) << ','
            << round_trip(m.f_pred) << ',' << round_trip(m.g_pred);
        if (u) {
            for (const Spread &sp : m.u_terms)
                out << ',' << round_trip(sp.u * ppm) << ',' << sp.dominant;
            out << ',' << round_trip(m.u_shift.u * ppm) << ',' << m.u_shift.dominant;
        }
        out << '\n';
    }
    out << "\ntm_n,f_Hz,eps1,eps2,skin_depth_m,skin_shift_ppm,skin_half_width_ppm,second_order_"
           "shape_ppm\n";
    for (const TmBudget &t : b.tm)
        out << t.n << ',' << round_trip(t.f) << ',' << round_trip(b.eps1) << ','
            << round_trip(b.eps2) << ',' << round_trip(t.dsk) << ',' << round_trip(t.shift * ppm)
            << ',' << round_trip(t.half_width * ppm) << ',' << round_trip(t.shape * ppm) << '\n';
    return out.str();
}

std::string json_report(const Budget &b) {
    using nlohmann::ordered_json;
    ordered_json j;
    const Gas &gas = b.in.gas;
    j["gas"] = {{"name", gas.name}, {"temperature_K", gas.t}, {"pressure_kPa", gas.p}};
    j["wall"] = {{"thermal_conductivity_W_m_K", b.kcu}, {"cp_J_kg_K", b.cpcu}};
    j["thermal_accommodation_length_m"] = b.lt;
    ordered_json modes = ordered_json::array();
    for (const ModeBudget &m : b.modes) {
        ordered_json terms = ordered_json::array();
        for (std::size_t k = 0; k < m.terms.size(); ++k) {
            const Term &t = m.terms[k];
            terms.push_back({{"key", t.key},
                             {"label", t.label},
                             {"shift_ppm", t.shift * ppm},
                             {"half_width_ppm", t.half_width * ppm}});
            if (k < m.u_terms.size())
                terms.back()["shift_uncertainty"] = {{"u_ppm", m.u_terms[k].u * ppm},
                                                     {"dominant", m.u_terms[k].dominant}};
        }
        modes.push_back(
            {{"n", m.n},
             {"mode", "(0," + std::to_string(m.n) + ")"},
             {"f_id_Hz", m.f},
             {"penetration_lengths_m",
              {{"viscous", m.dv}, {"thermal", m.dt}, {"wall_thermal", m.dcu}}},
             {"terms", terms},
             {"sum", {{"shift_ppm", m.shift * ppm}, {"half_width_ppm", m.half_width * ppm}}},
             {"predicted", {{"frequency_Hz", m.f_pred}, {"half_width_Hz", m.g_pred}}}});
        if (!m.u_terms.empty())
            modes.back()["sum"]["shift_uncertainty"] = {{"u_ppm", m.u_shift.u * ppm},
                                                        {"dominant", m.u_shift.dominant}};
    }
    j["radial_modes"] = modes;
    ordered_json tm = ordered_json::array();
    for (const TmBudget &t : b.tm)
        tm.push_back({{"n", t.n},
                      {"mode", tm_name(t.n)},
                      {"f_Hz", t.f},
                      {"skin_depth_m", t.dsk},
                      {"skin_shift_ppm", t.shift * ppm},
                      {"skin_half_width_ppm", t.half_width * ppm},
                      {"second_order_shape_ppm", t.shape * ppm}});
    j["microwave"] = {{"triplet_mode", b.in.mw.n},
                      {"triplet_Hz", b.in.mw.f},
                      {"eps1", b.eps1},
                      {"eps2", b.eps2},
                      {"tm_modes", tm}};
    return j.dump(2) + "\n";
}

}  // namespace velk::tool
