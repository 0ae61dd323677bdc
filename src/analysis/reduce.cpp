// The reduction (method in reduce.hpp).  Every correction comes from the
// budget's mode_budget, so that the reduction inverts exactly what the
// budget predicts; every table index is checked before use.
#include "reduce.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <utility>

#include <Eigen/Dense>

#include "routines.hpp"

namespace velk::analysis {
namespace {

constexpr double tolerance = 1e-12;  // relative change that ends an iteration
constexpr int max_iterations = 100;
constexpr double ppm = 1e6;

std::string at(const std::string &where, std::size_t k) {
    return where + "[" + std::to_string(k) + "]";
}
std::string point_path(std::size_t k) { return at("state_points", k); }

void require_finite(double x, const std::string &what) {
    if (!std::isfinite(x))
        throw InputError(what + " is not finite: the input is outside the models' range");
}

// Checks what the structs cannot say by their types (a second adapter gets
// the same messages as the JSON reader).
void check(const ReduceInput &in) {
    if (in.points.empty()) throw InputError("state_points must list at least one state point");
    std::set<int> powers;
    for (std::size_t k = 0; k < in.terms.size(); ++k) {
        const int t = in.terms[k];
        if (t < -1 || t > 3) throw InputError(at("isotherm.terms", k) + " must be A-1, A0, A1, A2 or A3");
        if (!powers.insert(t).second) throw InputError(at("isotherm.terms", k) + " repeats a term");
    }
    if (!powers.contains(0)) throw InputError("isotherm.terms must include A0");
    if (in.points.size() < in.terms.size())
        throw InputError("state_points: the isotherm's " + std::to_string(in.terms.size()) +
                         " terms need at least as many state points, not " +
                         std::to_string(in.points.size()));
    for (std::size_t k = 0; k < in.points.size(); ++k) {
        const StatePoint &p = in.points[k];
        if (p.modes.empty()) throw InputError(point_path(k) + ".modes must list at least one mode");
        std::set<std::int32_t> seen;
        for (std::size_t j = 0; j < p.modes.size(); ++j) {
            const MeasuredMode &m = p.modes[j];
            const std::string where = at(point_path(k) + ".modes", j);
            if (m.n < lib::first_radial || m.n > lib::last_radial)
                throw InputError(where + ".n = " + std::to_string(m.n) +
                                 " is outside the table of radial modes ((0,2) to (0,13))");
            if (!seen.insert(m.n).second)
                throw InputError(where + ".n: mode (0," + std::to_string(m.n) + ") is measured twice");
            if (!(m.g > 0)) throw InputError(where + ".half_width_Hz must be positive");
            if (!(m.f > 0)) throw InputError(where + ".frequency_Hz must be positive");
        }
    }
    if (in.microwave) {
        std::set<std::pair<bool, std::int32_t>> seen;
        bool shape = false;
        for (std::size_t k = 0; k < in.microwave->triplets.size(); ++k) {
            const TmTriplet &t = in.microwave->triplets[k];
            const std::string where = at("microwave.triplets", k);
            const std::string name = (t.te ? "TE1" : "TM1") + std::to_string(t.n);
            if (t.te ? t.n < lib::first_te || t.n > lib::last_te
                     : t.n < lib::first_tm || t.n > lib::last_tm)
                throw InputError(where + ".mode = " + std::to_string(t.n) + " is outside the table of " +
                                 (t.te ? "TE1n modes (1 to 12)" : "TM1n modes (1 to 13)"));
            if (!seen.insert({t.te, t.n}).second)
                throw InputError(where + ".mode: " + name + " is measured twice");
            shape = shape || (!t.te && t.n == in.microwave->shape_mode);
        }
        if (in.microwave->triplets.empty())
            throw InputError("microwave.triplets must list at least one triplet");
        if (!shape)
            throw InputError("microwave.shape_triplet_mode: no triplet of TM1" +
                             std::to_string(in.microwave->shape_mode) + " is given");
    } else if (!(in.res.a > 0)) {
        throw InputError("resonator.radius_mm is needed when no microwave triplets are given");
    }
}

// The radius from the microwave triplets; fills r.tm, r.eps1, r.eps2, r.a.
void microwave_radius(const ReduceInput &in, const Resonator &res, Reduction &r) {
    const MicrowaveInput &mw = *in.microwave;
    for (const TmTriplet &t : mw.triplets)
        if (!t.te && t.n == mw.shape_mode) lib::Eps_TM1n(t.f[0], t.f[1], t.f[2], t.n, r.eps1, r.eps2);
    require_finite(r.eps1, "the deformation parameter eps1 of the shape triplet");
    require_finite(r.eps2, "the deformation parameter eps2 of the shape triplet");

    double sum = 0;
    for (std::size_t k = 0; k < mw.triplets.size(); ++k) {
        const TmTriplet &t = mw.triplets[k];
        TmResult m{};
        m.n = t.n;
        m.te = t.te;
        m.f_mean = ((t.f[0] + t.f[1]) + t.f[2]) / 3.0;
        const double z = t.te ? lib::zte(t.n) : lib::ztm(t.n);
        const auto radius = [&](double f) {  // mm
            return 1000.0 * (z * speed_of_light / ((lib::pi() + lib::pi()) * mw.n_gas * f));
        };
        m.shape = static_cast<double>(t.te ? lib::dzm2_zTE1n(r.eps1, r.eps2, t.n)
                                           : lib::dzm2_zTM1n(r.eps1, r.eps2, t.n));
        m.f_ideal = m.f_mean;
        m.a = radius(m.f_ideal);
        for (m.iterations = 1;; ++m.iterations) {
            m.dsk = lib::d_sk(m.f_ideal, res.sigma, res.mu_r);
            if (t.te) lib::df_skTE(m.dsk, m.a, m.skin_shift, m.skin_half_width);
            else lib::df_skTM1n(m.dsk, m.a, t.n, m.skin_shift, m.skin_half_width);
            m.ports = 0;
            for (const double port : mw.ports)
                m.ports += t.te ? lib::df_dcTE(port, m.a) : lib::df_dcTM1n(port, m.a, t.n);
            m.f_ideal = m.f_mean / (1.0 + ((m.skin_shift + m.shape) + m.ports));
            const double a = radius(m.f_ideal);
            require_finite(a, "the radius from " + at("microwave.triplets", k));
            const bool done = std::fabs(a - m.a) <= tolerance * a;
            m.a = a;
            if (done) break;
            if (m.iterations == max_iterations)
                throw InputError("the radius from " + at("microwave.triplets", k) + " does not converge");
        }
        if (t.g) {
            const double g = (((*t.g)[0] + (*t.g)[1]) + (*t.g)[2]) / 3.0;
            m.excess_half_width_ppm = (g / m.f_mean - m.skin_half_width) * ppm;
        }
        sum += m.a;
        r.tm.push_back(m);
    }
    r.a = sum / static_cast<double>(r.tm.size());
    for (TmResult &m : r.tm) m.deviation_ppm = (m.a - r.a) / r.a * ppm;
}

// The speed of sound of one mode: c such that the predicted frequency equals
// the measured one.
ModeResult speed_of_sound(Gas g, const Resonator &res, const ReduceInput &in, const Wall &w,
                          const double eps[2], const MeasuredMode &m, const std::string &where) {
    ModeResult out{};
    out.n = m.n;
    out.f = m.f;
    out.g = m.g;
    g.c = m.f / lib::f_id(m.n, 1.0, res.a);  // no corrections
    ModeBudget b;
    for (out.iterations = 1;; ++out.iterations) {
        b = mode_budget(g, res, in.ducts, in.mics, w, eps, m.n);
        const double c = g.c * (m.f / b.f_pred);
        require_finite(c, "the speed of sound from " + where);
        const bool done = std::fabs(c - g.c) <= tolerance * c;
        g.c = c;
        if (done) break;
        if (out.iterations == max_iterations)
            throw InputError("the speed of sound from " + where + " does not converge");
    }
    b = mode_budget(g, res, in.ducts, in.mics, w, eps, m.n);  // at the final c
    out.c = g.c;
    out.shift = b.shift;
    out.g_pred = b.g_pred;
    out.excess_half_width_ppm = (m.g - b.g_pred) / m.f * ppm;
    return out;
}

void fit_isotherm(const ReduceInput &in, Reduction &r, const Reduction *weights_of) {
    const std::size_t n = r.points.size(), terms = in.terms.size();
    double scale = 0;  // Pa: the columns are (p/scale)^k
    for (const PointResult &p : r.points) scale = std::max(scale, 1000.0 * p.p);
    const std::vector<PointResult> &wp = weights_of ? weights_of->points : r.points;
    bool weighted = wp.size() == n;
    for (const PointResult &p : wp) weighted = weighted && p.u_c_stat > 0;

    Eigen::MatrixXd x(n, terms);
    Eigen::VectorXd y(n), w(n);
    for (std::size_t i = 0; i < n; ++i) {
        const PointResult &p = r.points[i];
        const double s = weighted ? 1.0 / (2.0 * wp[i].c * wp[i].u_c_stat) : 1.0;  // sqrt of the weight
        w(i) = s;
        y(i) = p.c * p.c * s;
        for (std::size_t k = 0; k < terms; ++k)
            x(i, k) = std::pow(1000.0 * p.p / scale, in.terms[k]) * s;
    }
    const Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(x);
    if (qr.rank() < static_cast<Eigen::Index>(terms))
        throw InputError("isotherm.terms: the state points' pressures cannot determine " +
                         std::to_string(terms) + " terms (too few distinct pressures)");
    const Eigen::VectorXd beta = qr.solve(y);
    const Eigen::VectorXd resid = y - x * beta;
    FitResult &f = r.fit;
    f.terms = in.terms;
    f.dof = static_cast<int>(n) - static_cast<int>(terms);
    const double chi2 = resid.squaredNorm();
    f.chi2_reduced = f.dof > 0 ? chi2 / f.dof : std::numeric_limits<double>::quiet_NaN();
    const Eigen::MatrixXd cov =
        (x.transpose() * x).ldlt().solve(Eigen::MatrixXd::Identity(terms, terms)) *
        (f.dof > 0 ? f.chi2_reduced : 0.0);
    for (std::size_t k = 0; k < terms; ++k) {
        const double unit = std::pow(scale, in.terms[k]);
        f.coef.push_back(beta(k) / unit);
        f.u_stat.push_back(std::sqrt(std::max(cov(k, k), 0.0)) / unit);
        if (in.terms[k] == 0) r.a0 = f.coef.back(), r.u_a0_stat = f.u_stat.back();
    }
    for (std::size_t i = 0; i < n; ++i)
        r.points[i].residual_ppm = resid(i) / w(i) / (r.points[i].c * r.points[i].c) * ppm;
}

}  // namespace

void visit_fields(ReduceInput &in, const FieldVisitor &f) {
    f("gas.molar_mass_kg_mol", in.mw);
    f("gas.accommodation_coefficient", in.h);
    f("gas.gamma0", in.gamma0);
    visit_fields(in.res, "resonator.", f);
    visit_fields(in.ducts, in.mics, f);
    if (in.microwave) {
        MicrowaveInput &mw = *in.microwave;
        f("microwave.refractive_index", mw.n_gas);
        for (std::size_t k = 0; k < mw.triplets.size(); ++k) {
            const std::string t = at("microwave.triplets", k);
            for (std::size_t j = 0; j < 3; ++j) {
                f(at(t + ".frequencies_Hz", j), mw.triplets[k].f[j]);
                if (mw.triplets[k].g) f(at(t + ".half_widths_Hz", j), (*mw.triplets[k].g)[j]);
            }
        }
        for (std::size_t k = 0; k < mw.ports.size(); ++k)
            f(at("microwave.ports", k) + ".radius_mm", mw.ports[k]);
    }
    for (std::size_t k = 0; k < in.points.size(); ++k) {
        StatePoint &p = in.points[k];
        const std::string s = point_path(k) + ".";
        f(s + "temperature_K", p.t);
        f(s + "pressure_kPa", p.p);
        f(s + "density_kg_m3", p.rho);
        f(s + "gamma", p.gamma);
        f(s + "viscosity_Pa_s", p.eta);
        f(s + "thermal_conductivity_W_m_K", p.kappa);
        f(s + "cp_J_kg_K", p.cp);
        f(s + "cv_J_kg_K", p.cv);
        for (std::size_t j = 0; j < p.modes.size(); ++j) {
            const std::string m = at(s + "modes", j);
            f(m + ".frequency_Hz", p.modes[j].f);
            f(m + ".half_width_Hz", p.modes[j].g);
        }
    }
    if (in.t_known) f("isotherm.temperature_K", *in.t_known);
}

Reduction reduce(const ReduceInput &in, const Reduction *weights_of) {
    check(in);
    Reduction r{};
    Resonator res = in.res;
    r.a_from_microwave = !(in.res.a > 0);
    if (in.microwave) microwave_radius(in, res, r);  // r.a: the triplets' mean radius
    if (r.a_from_microwave) res.a = r.a;
    else r.a = res.a;
    const double eps[2] = {r.eps1, r.eps2};

    for (std::size_t k = 0; k < in.points.size(); ++k) {
        const StatePoint &sp = in.points[k];
        Gas g{in.gas_name, sp.t, sp.p, sp.rho, 0.0, sp.gamma, sp.eta, sp.kappa, sp.cp, sp.cv,
              in.mw, in.h};
        const Wall w = wall_properties(g, res);
        PointResult p{};
        p.t = sp.t;
        p.p = sp.p;
        double sum = 0;
        for (std::size_t j = 0; j < sp.modes.size(); ++j) {
            p.modes.push_back(speed_of_sound(g, res, in, w, eps, sp.modes[j],
                                             at(point_path(k) + ".modes", j)));
            sum += p.modes.back().c;
        }
        const double count = static_cast<double>(p.modes.size());
        p.c = sum / count;
        double ss = 0;
        for (ModeResult &m : p.modes) {
            m.deviation_ppm = (m.c - p.c) / p.c * ppm;
            ss += (m.c - p.c) * (m.c - p.c);
        }
        p.u_c_stat = p.modes.size() > 1 ? std::sqrt(ss / (count - 1.0) / count) : 0.0;
        r.points.push_back(std::move(p));
    }

    fit_isotherm(in, r, weights_of);
    r.temperature = !in.t_known.has_value();
    if (r.temperature) {
        r.t = r.a0 * in.mw / (in.gamma0 * exact_gas_constant);
        r.r_gas = exact_gas_constant;
    } else {
        r.t = *in.t_known;
        r.r_gas = r.a0 * in.mw / (in.gamma0 * r.t);
    }
    r.k_b = r.r_gas / avogadro;
    require_finite(r.result(), r.temperature ? "the temperature" : "the gas constant");
    return r;
}

double Uncertain::u() const { return std::sqrt(u_inputs * u_inputs + u_stat * u_stat); }

namespace {

// The outputs of a reduction that propagate() reports, in a fixed order.
std::vector<double> outputs_of(const Reduction &r) {
    std::vector<double> y{r.a};
    for (const PointResult &p : r.points)
        for (const ModeResult &m : p.modes) y.push_back(m.c);
    for (const PointResult &p : r.points) y.push_back(p.c);
    y.push_back(r.a0);
    y.push_back(r.result());
    if (!r.temperature) y.push_back(r.k_b);
    return y;
}

}  // namespace

std::vector<Uncertain> propagate(const ReduceInput &in, const Reduction &r) {
    std::vector<Uncertain> out;
    out.push_back({"radius", "mm", r.a, 0, 0, {}});
    for (std::size_t k = 0; k < r.points.size(); ++k)
        for (const ModeResult &m : r.points[k].modes)
            out.push_back({"c" + at("", k) + " (0," + std::to_string(m.n) + ")", "m/s", m.c, 0, 0, {}});
    for (std::size_t k = 0; k < r.points.size(); ++k)
        out.push_back({"c" + at("", k), "m/s", r.points[k].c, 0, r.points[k].u_c_stat, {}});
    out.push_back({"A0", "m2/s2", r.a0, 0, r.u_a0_stat, {}});
    const double rel = r.u_a0_stat / r.a0;
    if (r.temperature) {
        out.push_back({"T", "K", r.t, 0, r.t * rel, {}});
    } else {
        out.push_back({"R", "J/(mol K)", r.r_gas, 0, r.r_gas * rel, {}});
        out.push_back({"k_B", "J/K", r.k_b, 0, r.k_b * rel, {}});
    }

    ReduceInput plain = in;
    plain.u.clear();
    const auto visit = [](ReduceInput &x, const FieldVisitor &f) { visit_fields(x, f); };
    const auto c = contributions(plain, in.u, visit,
                                 [&r](const ReduceInput &x) { return outputs_of(reduce(x, &r)); });
    std::size_t i = 0;
    for (const auto &entry : in.u) {
        for (std::size_t k = 0; k < out.size(); ++k)
            if (c[i][k] != 0) out[k].budget.push_back({entry.first, c[i][k]});
        ++i;
    }
    for (Uncertain &q : out) {
        double sum = 0;
        for (const Contribution &b : q.budget) sum += b.value * b.value;
        q.u_inputs = std::sqrt(sum);
        std::stable_sort(q.budget.begin(), q.budget.end(), [](const auto &x, const auto &y) {
            return std::fabs(x.value) > std::fabs(y.value);
        });
    }
    return out;
}

namespace {

// A reproducible standard normal generator: 64-bit Mersenne Twister and the
// Box-Muller transform (the same numbers on every platform, unlike
// std::normal_distribution).
class Normal {
public:
    explicit Normal(std::uint64_t seed) : engine_(seed) {}
    double operator()() {
        if (have_) {
            have_ = false;
            return next_;
        }
        double u1;
        do u1 = uniform();
        while (u1 == 0);
        const double u2 = uniform();
        const double r = std::sqrt(-2.0 * std::log(u1));
        const double t = 6.283185307179586 * u2;
        next_ = r * std::sin(t);
        have_ = true;
        return r * std::cos(t);
    }

private:
    double uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
    std::mt19937_64 engine_;
    bool have_ = false;
    double next_ = 0;
};

}  // namespace

MonteCarlo monte_carlo(const ReduceInput &in, const Reduction &r, std::size_t trials,
                       std::uint64_t seed,
                       const std::function<void(std::size_t, std::size_t)> &progress) {
    MonteCarlo mc;
    mc.trials = trials;
    Normal normal(seed);
    ReduceInput base = in;
    base.u.clear();
    std::vector<double> results;
    for (std::size_t k = 0; k < trials; ++k) {
        ReduceInput x = base;
        visit_fields(x, [&](const std::string &path, double &v) {
            const auto it = in.u.find(path);
            if (it != in.u.end()) v += it->second * normal();
        });
        try {
            results.push_back(reduce(x, &r).result());
        } catch (const InputError &) {
            ++mc.rejected;
        }
        if (progress) progress(k + 1, trials);
    }
    if (results.empty()) return mc;
    double sum = 0;
    for (const double v : results) sum += v;
    mc.mean = sum / static_cast<double>(results.size());
    double ss = 0;
    for (const double v : results) ss += (v - mc.mean) * (v - mc.mean);
    mc.sd = results.size() > 1 ? std::sqrt(ss / static_cast<double>(results.size() - 1)) : 0.0;
    std::sort(results.begin(), results.end());
    const auto quantile = [&](double q) {
        const double pos = q * static_cast<double>(results.size() - 1);
        const std::size_t lo = static_cast<std::size_t>(pos);
        const std::size_t hi = std::min(lo + 1, results.size() - 1);
        return results[lo] + (pos - static_cast<double>(lo)) * (results[hi] - results[lo]);
    };
    mc.low = quantile(0.025);
    mc.high = quantile(0.975);
    const double stat = r.result() * (r.u_a0_stat / r.a0);
    mc.u_combined = std::sqrt(mc.sd * mc.sd + stat * stat);
    return mc;
}

}  // namespace velk::analysis
