// Writes the built-in reduction example (tools/velk/reduce_example.json) on
// standard output: synthetic measurements made with the same model that the
// reduction inverts, from a stated speed of sound, with stated perturbations
// and noise.  Run by hand when the example changes (a test checks that the
// committed file is what this program writes):
//   build/linux64/tools/velk_make_reduce_example > tools/velk/reduce_example.json
//
// Speed of sound: c^2 = A0 (1 + beta_a n + gamma_a n^2), n = p/(R T), with
// A0 = gamma0 R T / M at T = 273.16 K, the exact SI R, M = 39.948 g/mol,
// beta_a = 5.0 cm3/mol and gamma_a = 2000 cm6/mol2.
// Microwave: radius 50.0012 mm, deformation eps1 = 3.4e-4, eps2 = -3.85e-4,
// two antenna ports of radius 1 mm, triplets of TM11 to TM13 in vacuum with
// their skin-depth, shape and port shifts; half-widths 2 % above the skin
// depth's; noise 0.05 ppm on each microwave frequency.
// Acoustics: six pressures, modes (0,2) to (0,6), frequencies and
// half-widths predicted by the budget's model; perturbation: an unmodelled
// excess half-width of 0.3 ppm on every mode; noise: 0.1 ppm on each
// frequency, 0.2 ppm (of the frequency) on each half-width.
#include <array>
#include <cmath>
#include <iostream>
#include <random>

#include <nlohmann/json.hpp>

#include "budget.hpp"
#include "reduce.hpp"
#include "routines.hpp"

using namespace velk::analysis;
using nlohmann::ordered_json;

namespace {

constexpr double t_true = 273.16, mw = 0.039948, a_true = 50.0012;
constexpr double beta_a = 5.0e-6, gamma_a = 2.0e-9;  // m3/mol, m6/mol2
constexpr double second_virial = -21.5e-6;           // m3/mol
constexpr double eps1 = 3.4e-4, eps2 = -3.85e-4;

std::mt19937_64 engine(20261210);
double noise() {  // standard normal, Box-Muller
    const double u1 = (static_cast<double>(engine() >> 11) + 0.5) * 0x1.0p-53;
    const double u2 = static_cast<double>(engine() >> 11) * 0x1.0p-53;
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
}

ordered_json with_u(double x, const std::string &u) { return {{"value", x}, {"u", u}}; }
ordered_json with_u(double x, double u) { return {{"value", x}, {"u", u}}; }

// Three frequencies with mean fm whose splitting gives eps1, eps2 by Eps_TM1n.
std::array<double, 3> triplet(double fm, std::int32_t n) {
    const double z = lib::ztm(n);
    const double h = (4 + (z * z + z * z)) / (15 * (z * z) - 2);
    double f2 = fm;
    std::array<double, 3> f{};
    for (int k = 0; k < 50; ++k) {
        const double d = 3 * fm * fm * h;
        f = {std::sqrt(f2 * f2 - eps1 * d), f2, std::sqrt(f2 * f2 - eps2 * d)};
        f2 += fm - (f[0] + f[1] + f[2]) / 3;
    }
    return f;
}

// Indented JSON with every value that fits on one line kept on one line.
void print(std::ostream &out, const ordered_json &j, int indent) {
    const std::string flat = j.dump();
    if (flat.size() + static_cast<std::size_t>(indent) <= 96 || !j.is_structured()) {
        std::string spaced;  // ", " and ": " as in the hand-written example
        bool in_string = false;
        for (std::size_t k = 0; k < flat.size(); ++k) {
            const char c = flat[k];
            if (c == '"' && (k == 0 || flat[k - 1] != '\\')) in_string = !in_string;
            spaced += c;
            if (!in_string && (c == ',' || c == ':')) spaced += ' ';
        }
        out << spaced;
        return;
    }
    const std::string pad(static_cast<std::size_t>(indent) + 2, ' ');
    const bool object = j.is_object();
    out << (object ? "{\n" : "[\n");
    std::size_t k = 0;
    for (auto it = j.begin(); it != j.end(); ++it, ++k) {
        out << pad;
        if (object) out << ordered_json(it.key()).dump() << ": ";
        print(out, *it, indent + 2);
        out << (k + 1 < j.size() ? ",\n" : "\n");
    }
    out << std::string(static_cast<std::size_t>(indent), ' ') << (object ? "}" : "]");
}

}  // namespace

int main() {
    const double r = exact_gas_constant, gamma0 = 5.0 / 3.0;
    const double a0 = gamma0 * r * t_true / mw;
    Resonator res{a_true, 100.0, 8960.0, 6.416e7, 1.0};
    const std::vector<Duct> ducts = {{"inlet", {0.5, 1.5}, {30.0, 500.0}},
                                     {"outlet", {0.75, 2.0}, {25.0, 400.0}}};
    const std::vector<Microphone> mics = {{"detector", 3.175}};
    const std::vector<double> ports = {1.0, 1.0};

    ordered_json doc;
    doc["comment"] = {
        "SYNTHETIC DATA, not a measurement: made by tools/velk/make_reduce_example.cpp from the",
        "model that velk reduce inverts, to show and test the reduction.",
        "Argon isotherm at 273.16 K (triple point of water): six pressures 50 to 500 kPa, radial",
        "modes (0,2) to (0,6), and the TM11 to TM13 microwave triplets of the same resonator in vacuum.",
        "Stated speed of sound: c^2 = A0 (1 + beta_a p/(RT) + gamma_a (p/(RT))^2), A0 = gamma0 R T / M,",
        "gamma0 = 5/3, R = 8.314462618 J/(mol K), M = 39.948 g/mol (standard atomic weight, IUPAC);",
        "beta_a = +5.0 cm3/mol, the acoustic second virial coefficient of argon near 273 K",
        "(Estrada-Alexanders and Trusler, J. Chem. Thermodyn. 27, 1995); gamma_a = 2000 cm6/mol2,",
        "an illustrative third acoustic virial coefficient (the fit's A2 term takes it up).",
        "Gas properties per point: density from the second virial coefficient B = -21.5 cm3/mol",
        "(Dymond and Smith, 1980); cp and cv the ideal-gas 5R/2M and 3R/2M plus a term linear in",
        "pressure, gamma = cp/cv; viscosity and thermal conductivity as in velk example budget,",
        "taken as independent of pressure.",
        "Resonator: radius 50.0012 mm (to be recovered), copper and ducts as in velk example budget;",
        "deformation eps1 = 3.4e-4, eps2 = -3.85e-4; two microwave antenna ports of radius 1 mm.",
        "Perturbations: microwave half-widths 2 % above the skin-depth model; every acoustic",
        "half-width 0.3 ppm (of the frequency) above the model, an unmodelled loss.",
        "Noise (normal, seeded): 0.05 ppm on each microwave frequency, 0.1 ppm on each acoustic",
        "frequency, 0.2 ppm of the frequency on each acoustic half-width.",
        "Standard uncertainties: molar mass 1 ppm (isotopic composition measured); accommodation",
        "coefficient 0.9 +- 0.058 (0.8 to 1, rectangular); wall conductivity 2 % (handbook",
        "resistivity against the machined wall); microwave frequencies 0.1 ppm (frequency",
        "reference and fitting of the resonances); thermal conductivity 0.3 % (uncertainty of",
        "the ab initio transport properties, taken per point); pressures 0.01 % (gauge);",
        "first duct sections' radii 0.01 mm (machining). The acoustic frequencies carry no",
        "uncertainty here: their scatter is the fit's statistical uncertainty."};
    doc["gas"] = {{"name", "argon"},
                  {"molar_mass_kg_mol", with_u(mw, "0.0001%")},
                  {"accommodation_coefficient", with_u(0.9, 0.058)},
                  {"gamma0", gamma0}};
    doc["resonator"] = {{"rrr", res.rrr},
                        {"wall_density_kg_m3", res.rho_w},
                        {"conductivity_S_m", with_u(res.sigma, "2%")},
                        {"relative_permeability", 1.0}};
    doc["ducts"] = ordered_json::array();
    for (const Duct &d : ducts) {
        ordered_json s = ordered_json::array();
        for (std::size_t k = 0; k < d.r.size(); ++k)
            s.push_back({{"radius_mm", k == 0 ? with_u(d.r[k], 0.01) : ordered_json(d.r[k])},
                         {"length_mm", d.l[k]}});
        doc["ducts"].push_back({{"name", d.name}, {"sections", s}});
    }
    doc["microphones"] = {{{"name", "detector"}, {"radius_mm", 3.175}}};

    // Microwave triplets.
    ordered_json trips = ordered_json::array();
    for (std::int32_t n = 1; n <= 3; ++n) {
        const double z = lib::ztm(n);
        const double fid = speed_of_light * z / ((lib::pi() + lib::pi()) * (0.001 * a_true));
        double skin, g;
        lib::df_skTM1n(lib::d_sk(fid, res.sigma, res.mu_r), a_true, n, skin, g);
        double port = 0;
        for (double p : ports) port += lib::df_dcTM1n(p, a_true, n);
        const double shape = static_cast<double>(lib::dzm2_zTM1n(eps1, eps2, n));
        const double fm = fid * (1.0 + ((skin + shape) + port));
        std::array<double, 3> f = triplet(fm, n);
        ordered_json fs = ordered_json::array(), gs = ordered_json::array();
        for (double &x : f) fs.push_back(with_u(x * (1.0 + 0.05e-6 * noise()), "0.00001%"));
        for (int k = 0; k < 3; ++k) gs.push_back(1.02 * g * fm);
        trips.push_back({{"mode", n}, {"frequencies_Hz", fs}, {"half_widths_Hz", gs}});
    }
    doc["microwave"] = {{"refractive_index", 1.0},
                        {"shape_triplet_mode", 1},
                        {"triplets", trips},
                        {"ports", {{{"radius_mm", 1.0}}, {{"radius_mm", 1.0}}}}};
    doc["isotherm"] = {{"terms", {"A0", "A1", "A2"}}};

    ordered_json points = ordered_json::array();
    const double eps[2] = {eps1, eps2};
    for (const double p : {50.0, 100.0, 200.0, 300.0, 400.0, 500.0}) {
        const double nd = 1000.0 * p / (r * t_true);  // mol/m3
        const double c = std::sqrt(a0 * (1.0 + beta_a * nd + gamma_a * nd * nd));
        const double rho = mw * nd / (1.0 + second_virial * nd);
        const double cp = 2.5 * r / mw + 1.35 * (p / 100.0), cv = 1.5 * r / mw + 0.19 * (p / 100.0);
        Gas g{"argon", t_true, p, rho, c, cp / cv, 2.097e-5, 0.01641, cp, cv, mw, 0.9};
        const Wall w = wall_properties(g, res);
        ordered_json modes = ordered_json::array();
        for (std::int32_t n = 2; n <= 6; ++n) {
            const ModeBudget b = mode_budget(g, res, ducts, mics, w, eps, n);
            const double f = b.f_pred * (1.0 + 0.1e-6 * noise());
            const double hw = b.g_pred + b.f_pred * (0.3e-6 + 0.2e-6 * noise());
            modes.push_back({{"n", n}, {"frequency_Hz", f}, {"half_width_Hz", hw}});
        }
        points.push_back({{"temperature_K", t_true},
                          {"pressure_kPa", with_u(p, "0.01%")},
                          {"density_kg_m3", rho},
                          {"gamma", cp / cv},
                          {"viscosity_Pa_s", 2.097e-5},
                          {"thermal_conductivity_W_m_K", with_u(0.01641, "0.3%")},
                          {"cp_J_kg_K", cp},
                          {"cv_J_kg_K", cv},
                          {"modes", modes}});
    }
    doc["state_points"] = points;
    print(std::cout, doc, 0);
    std::cout << '\n';
}
