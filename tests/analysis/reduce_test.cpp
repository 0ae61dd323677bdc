// The reduction inverts the budget; the uncertainties follow the inputs'.
#include <cmath>
#include <fstream>

#include <gtest/gtest.h>

#include "json_input.hpp"
#include "reduce.hpp"
#include "routines.hpp"

namespace {

using namespace velk::analysis;

nlohmann::json load(const char *path) {
    std::ifstream f(path);
    return nlohmann::json::parse(f);
}

// The budget's example as a reduction input: one state point whose measured
// frequencies and half-widths are the budget's predictions; the radius given
// and the budget's triplet for the shape.
ReduceInput from_budget(const Budget &b) {
    const Input &in = b.in;
    ReduceInput r;
    r.mw = in.gas.mw;
    r.h = in.gas.h;
    r.res = in.res;
    r.ducts = in.ducts;
    r.mics = in.mics;
    r.microwave = MicrowaveInput{1.0, in.mw.n, {{in.mw.n, in.mw.f, std::nullopt}}, {}};
    StatePoint p{in.gas.t, in.gas.p, in.gas.rho, in.gas.gamma, in.gas.eta, in.gas.kappa,
                 in.gas.cp, in.gas.cv, {}};
    for (const ModeBudget &m : b.modes) p.modes.push_back({m.n, m.f_pred, m.g_pred});
    r.points = {p};
    r.terms = {0};
    return r;
}

TEST(Reduce, RoundTripThroughTheBudgetForEveryRadialMode) {
    Input in = read_input(load(VELK_BUDGET_EXAMPLE));
    in.u.clear();
    in.modes.clear();
    for (std::int32_t n = 2; n <= 13; ++n) in.modes.push_back(n);
    for (const double c : {307.85, 250.0, 400.0}) {  // also away from the example's gas
        in.gas.c = c;
        const Budget b = compute(in);
        const Reduction r = reduce(from_budget(b));
        ASSERT_EQ(r.points.size(), 1u);
        for (const ModeResult &m : r.points[0].modes) {
            EXPECT_NEAR(m.c / c - 1.0, 0.0, 1e-12) << "mode (0," << m.n << ") at c = " << c;
            EXPECT_LT(std::fabs(m.excess_half_width_ppm), 1e-6) << "mode (0," << m.n << ")";
            EXPECT_GE(m.iterations, 2);
            EXPECT_LE(m.iterations, 6);
        }
    }
}

TEST(Reduce, RecoversTheTemperatureOfTheSyntheticExample) {
    const ReduceInput in = read_reduce_input(load(VELK_REDUCE_EXAMPLE));
    const Reduction r = reduce(in);
    const std::vector<Uncertain> u = propagate(in, r);
    ASSERT_EQ(u.back().name, "T");
    const double ut = u.back().u();
    EXPECT_GT(ut, 0.0);
    EXPECT_LT(std::fabs(r.t - 273.16), ut);  // the temperature the data were made with
    EXPECT_LT(std::fabs(r.a - 50.0012), u.front().u());  // and the radius
    // The budget of T lists its inputs, largest first.
    const auto &budget = u.back().budget;
    ASSERT_FALSE(budget.empty());
    for (std::size_t k = 1; k < budget.size(); ++k)
        EXPECT_GE(std::fabs(budget[k - 1].value), std::fabs(budget[k].value));
}

TEST(Reduce, TeTripletOfTheSameCavityGivesTheSameRadius) {
    // A TE11 triplet made with the TE corrections (skin depth, shape, ports)
    // for the radius that the TM triplets give.
    ReduceInput in = read_reduce_input(load(VELK_REDUCE_EXAMPLE));
    in.u.clear();
    const Reduction tm = reduce(in);
    const double a = tm.a;
    const double fid = speed_of_light * lib::zte(1) / ((lib::pi() + lib::pi()) * (0.001 * a));
    double skin = 0, g = 0;
    lib::df_skTE(lib::d_sk(fid, in.res.sigma, in.res.mu_r), a, skin, g);
    double ports = 0;
    for (const double r : in.microwave->ports) ports += lib::df_dcTE(r, a);
    const double shape = static_cast<double>(lib::dzm2_zTE1n(tm.eps1, tm.eps2, 1));
    const double fm = fid * (1.0 + ((skin + shape) + ports));
    in.microwave->triplets.push_back({1, {fm, fm, fm}, std::nullopt, true});
    const Reduction both = reduce(in);
    ASSERT_EQ(both.tm.size(), 4u);
    EXPECT_TRUE(both.tm.back().te);
    EXPECT_NEAR(both.tm.back().a / a - 1.0, 0.0, 1e-12);
    EXPECT_LT(std::fabs(skin), std::fabs(tm.tm[0].skin_shift));  // TE and TM differ
}

TEST(Reduce, FitsAnExactIsothermAndGivesRWhenTIsGiven) {
    // c^2 = A0 + A1 p exactly: the fit returns A0, and R follows from it.
    Input in = read_input(load(VELK_BUDGET_EXAMPLE));
    in.u.clear();
    const double a0 = 94755.0, a1 = 2.1e-4;  // m2/s2, m2/(s2 Pa)
    ReduceInput r;
    for (const double p : {100.0, 250.0, 400.0}) {
        in.gas.p = p;
        in.gas.c = std::sqrt(a0 + a1 * 1000.0 * p);
        const ReduceInput one = from_budget(compute(in));
        if (r.points.empty()) r = one;
        else r.points.push_back(one.points[0]);
    }
    r.terms = {0, 1};
    r.t_known = 273.16;
    const Reduction x = reduce(r);
    EXPECT_NEAR(x.a0 / a0 - 1.0, 0.0, 1e-11);
    EXPECT_NEAR(x.fit.coef[1] / a1 - 1.0, 0.0, 1e-6);
    EXPECT_EQ(x.fit.dof, 1);
    EXPECT_EQ(x.r_gas, x.a0 * r.mw / (r.gamma0 * 273.16));
    EXPECT_EQ(x.k_b, x.r_gas / avogadro);
}

TEST(Reduce, RejectsInputThatCannotBeReduced) {
    const ReduceInput base = read_reduce_input(load(VELK_REDUCE_EXAMPLE));
    struct Case {
        const char *what;
        void (*change)(ReduceInput &);
        const char *message;
    };
    const Case cases[] = {
        {"mode twice", [](ReduceInput &in) { in.points[2].modes[1].n = in.points[2].modes[0].n; },
         "state_points[2].modes[1].n: mode (0,2) is measured twice"},
        {"half-width zero", [](ReduceInput &in) { in.points[0].modes[4].g = 0.0; },
         "state_points[0].modes[4].half_width_Hz must be positive"},
        {"unknown term", [](ReduceInput &in) { in.terms = {0, 1, 2, 3, -1, 4}; },
         "isotherm.terms[5] must be A-1, A0, A1, A2 or A3"},
        {"fewer points than terms", [](ReduceInput &in) { in.points.resize(3); in.terms = {0, 1, 2, 3}; },
         "state_points: the isotherm's 4 terms need at least as many state points, not 3"},
        {"mode outside the table", [](ReduceInput &in) { in.points[1].modes[0].n = 14; },
         "state_points[1].modes[0].n = 14 is outside the table of radial modes ((0,2) to (0,13))"},
        {"uncertainty of nothing", [](ReduceInput &in) { in.u["gas.pressure_kPa"] = 1.0; },
         "an uncertainty is given for gas.pressure_kPa, which is not an input"},
    };
    for (const Case &c : cases) {
        ReduceInput in = base;
        c.change(in);
        try {
            const Reduction r = reduce(in);
            (void)propagate(in, r);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const InputError &e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.what;
        }
    }
}

TEST(BudgetUncertainty, AccommodationTermFollowsItsCoefficient) {
    // The accommodation shift is proportional to lt ~ (2 - h)/h, so its
    // standard uncertainty is shift * 2 u / (h (2 - h)); no other term moves.
    Input in = read_input(load(VELK_BUDGET_EXAMPLE));
    const double h = in.gas.h, u = 0.05;
    in.u = {{"gas.accommodation_coefficient", u}};
    const Budget b = compute(in);
    for (const ModeBudget &m : b.modes) {
        for (std::size_t k = 0; k < m.terms.size(); ++k) {
            if (m.terms[k].key != "thermal_accommodation") {
                EXPECT_EQ(m.u_terms[k].u, 0.0) << m.terms[k].key;
                continue;
            }
            const double expected = std::fabs(m.terms[k].shift) * 2.0 * u / (h * (2.0 - h));
            EXPECT_NEAR(m.u_terms[k].u / expected, 1.0, 1e-3);
            EXPECT_EQ(m.u_terms[k].dominant, "gas.accommodation_coefficient");
            EXPECT_NEAR(m.u_shift.u / m.u_terms[k].u, 1.0, 1e-6);
        }
    }
}

TEST(MonteCarlo, AgreesWithTheLinearPropagationAndRepeatsForASeed) {
    ReduceInput in = read_reduce_input(load(VELK_REDUCE_EXAMPLE));
    in.u = {{"gas.accommodation_coefficient", 0.058}, {"resonator.conductivity_S_m", 1.3e6}};
    const Reduction r = reduce(in);
    const double linear = propagate(in, r).back().u_inputs;
    const MonteCarlo a = monte_carlo(in, r, 200, 5), b = monte_carlo(in, r, 200, 5);
    EXPECT_EQ(a.mean, b.mean);
    EXPECT_EQ(a.sd, b.sd);
    EXPECT_NEAR(a.sd / linear, 1.0, 0.2);  // 200 trials: sd known to about 5 %
    EXPECT_LT(a.low, r.t);
    EXPECT_GT(a.high, r.t);
}

}  // namespace
