// The C++ interface against the C exports: the same bits for every routine,
// the standard model equal to the exported data at load, and the exports
// following a host that overwrites the exported data (while the C++ routines
// follow the model they are given).
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "support/bits.hpp"
#include "velk/velk.h"
#include "velk/velk.hpp"

namespace {

TEST(CppInterface, StandardModelIsTheExportedDataAtLoad) {
    const velk::Model m;
    EXPECT_BITEQ(m.pi, __velk_MOD_pi);
    EXPECT_BITEQ(m.rgas, __velk_MOD_cnst.rgas);
    for (int i = 0; i < 16; ++i) EXPECT_BITEQ(m.zac[i], __velk_MOD_zac[i]) << "zac " << i + 1;
    for (int i = 0; i < 12; ++i) EXPECT_BITEQ(m.zte[i], __velk_MOD_zte[i]) << "zte " << i + 1;
    for (int i = 0; i < 13; ++i) EXPECT_BITEQ(m.ztm[i], __velk_MOD_ztm[i]) << "ztm " << i + 1;
}

// Typical arguments: argon near 273 K and 100 kPa in a copper sphere of
// radius 50 mm, modes of the middle of each table; and a few hostile ones.
struct Args {
    double a = 50.0, c = 307.8, rho = 1.7606, cp = 520.3, cv = 312.2, gamma = 1.6667;
    double kappa = 0.01642, eta = 2.1e-5, t = 273.16, p = 100.0, mw = 0.039948, h = 0.9;
    double f = 2500.0, dt = 4.75e-5, dv = 3.9e-5, dcu = 1.26e-4, lt = 1.44e-7, kcu = 400.0;
    double rrr = 100.0, dsk = 2e-6, r = 1.0, rmic = 3.0;
    double fa = 2744.1e6, fb = 2744.4e6, fc = 2744.9e6, eps1 = 1e-4, eps2 = -1e-4;
    int32_t n = 3;
};

// Each row: one routine through the export and through the C++ interface.
struct Row {
    std::string name;
    std::function<std::vector<double>(Args &)> c;
    std::function<std::vector<double>(Args &, const velk::Model &)> cpp;
};

std::vector<Row> rows() {
    using V = std::vector<double>;
    auto f = [](float x) { return static_cast<double>(x); };
    return {
        {"Ell_Req", [](Args &s) { return V{Ell_Req(&s.a, &s.c, &s.rho)}; },
         [](Args &s, const velk::Model &) { return V{velk::equal_volume_radius(s.a, s.c, s.rho)}; }},
        {"f_id", [](Args &s) { return V{f_id(&s.n, &s.c, &s.a)}; },
         [](Args &s, const velk::Model &m) { return V{velk::ideal_frequency(s.n, s.c, s.a, m)}; }},
        {"besselj",
         [](Args &s) {
             const velk_complex z{s.a / 3, -s.a / 3};
             velk_complex out;
             __velk_MOD_besselj(&out, &s.n, &z);
             return V{out.re, out.im};
         },
         [](Args &s, const velk::Model &) {
             const velk::complex j = velk::besselj(s.n, {s.a / 3, -s.a / 3});
             return V{j.real(), j.imag()};
         }},
        {"Eps_TE1n",
         [](Args &s) {
             double e1, e2;
             Eps_TE1n(&s.fa, &s.fb, &s.fc, &s.n, &e1, &e2);
             return V{e1, e2};
         },
         [](Args &s, const velk::Model &m) {
             const velk::Deformation e = velk::deformation_te1n(s.fa, s.fb, s.fc, s.n, m);
             return V{e.eps1, e.eps2};
         }},
        {"Eps_TM1n",
         [](Args &s) {
             double e1, e2;
             Eps_TM1n(&s.fa, &s.fb, &s.fc, &s.n, &e1, &e2);
             return V{e1, e2};
         },
         [](Args &s, const velk::Model &m) {
             const velk::Deformation e = velk::deformation_tm1n(s.fa, s.fb, s.fc, s.n, m);
             return V{e.eps1, e.eps2};
         }},
        {"dzm2_zTE1n", [f](Args &s) { return V{f(dzm2_zTE1n(&s.eps1, &s.eps2, &s.n))}; },
         [f](Args &s, const velk::Model &m) { return V{f(velk::second_order_te1n(s.eps1, s.eps2, s.n, m))}; }},
        {"dzm2_zTM1n", [f](Args &s) { return V{f(dzm2_zTM1n(&s.eps1, &s.eps2, &s.n))}; },
         [f](Args &s, const velk::Model &m) { return V{f(velk::second_order_tm1n(s.eps1, s.eps2, s.n, m))}; }},
        {"O2dZ2AC",
         [f](Args &s) {
             const double eps[2] = {s.eps1, s.eps2};
             return V{f(O2dZ2AC(eps, &s.n))};
         },
         [f](Args &s, const velk::Model &m) { return V{f(velk::second_order_ac(s.eps1, s.eps2, s.n, m))}; }},
        {"d_sk", [](Args &s) { return V{d_sk(&s.fa, &s.kcu, &s.h)}; },
         [](Args &s, const velk::Model &m) { return V{velk::skin_depth(s.fa, s.kcu, s.h, m)}; }},
        {"df_skTM1n",
         [](Args &s) {
             double df, g;
             df_skTM1n(&s.dsk, &s.a, &s.n, &df, &g);
             return V{df, g};
         },
         [](Args &s, const velk::Model &m) {
             const velk::Perturbation w = velk::skin_perturbation_tm1n(s.dsk, s.a, s.n, m);
             return V{w.df, w.g};
         }},
        {"df_dcTE", [](Args &s) { return V{df_dcTE(&s.r, &s.a)}; },
         [](Args &s, const velk::Model &m) { return V{velk::cube_shift_te(s.r, s.a, m)}; }},
        {"df_dcTM1n", [](Args &s) { return V{df_dcTM1n(&s.r, &s.a, &s.n)}; },
         [](Args &s, const velk::Model &m) { return V{velk::cube_shift_tm1n(s.r, s.a, s.n, m)}; }},
        {"d_v", [](Args &s) { return V{d_v(&s.eta, &s.rho, &s.f)}; },
         [](Args &s, const velk::Model &m) { return V{velk::viscous_penetration(s.eta, s.rho, s.f, m)}; }},
        {"d_t", [](Args &s) { return V{d_t(&s.kappa, &s.rho, &s.cp, &s.f)}; },
         [](Args &s, const velk::Model &m) { return V{velk::thermal_penetration(s.kappa, s.rho, s.cp, s.f, m)}; }},
        {"I_t", [](Args &s) { return V{I_t(&s.t, &s.p, &s.cv, &s.kappa, &s.mw, &s.h)}; },
         [](Args &s, const velk::Model &m) {
             return V{velk::accommodation_length(s.t, s.p, s.cv, s.kappa, s.mw, s.h, m)};
         }},
        {"g_b", [](Args &s) { return V{g_b(nullptr, &s.p, &s.c, &s.gamma, &s.dv, &s.dt, &s.f)}; },
         [](Args &s, const velk::Model &m) { return V{velk::bulk_halfwidth(s.c, s.gamma, s.dv, s.dt, s.f, m)}; }},
        {"df_ducts",
         [](Args &s) {
             const double r[2] = {1.0, 3.0}, l[2] = {20.0, 30.0};
             const int32_t sections = 2;
             double df, g;
             df_ducts(r, l, &sections, &s.rho, &s.cp, &s.c, &s.gamma, &s.kappa, &s.eta, &s.a,
                      &s.f, &s.n, &df, &g);
             return V{df, g};
         },
         [](Args &s, const velk::Model &m) {
             const double r[2] = {1.0, 3.0}, l[2] = {20.0, 30.0};
             const velk::Perturbation w = velk::duct_perturbation(
                 r, l, {s.rho, s.cp, s.c, s.gamma, s.kappa, s.eta}, s.a, s.f, s.n, m);
             return V{w.df, w.g};
         }},
        // Routines without a model constant.
        {"df_Ith", [f](Args &s) { return V{f(df_Ith(&s.gamma, &s.a, &s.lt))}; },
         [f](Args &s, const velk::Model &) { return V{f(velk::accommodation_shift(s.gamma, s.a, s.lt))}; }},
        {"g_t",
         [](Args &s) {
             return V{g_t(nullptr, nullptr, &s.gamma, &s.dt, &s.dcu, &s.kappa, &s.kcu, &s.a, &s.f)};
         },
         [](Args &s, const velk::Model &) {
             return V{velk::thermal_halfwidth_hz(s.gamma, s.dt, s.dcu, s.kappa, s.kcu, s.a, s.f)};
         }},
        {"df_CuTh", [f](Args &s) { return V{f(df_CuTh(&s.gamma, &s.a, &s.dcu, &s.kappa, &s.kcu))}; },
         [f](Args &s, const velk::Model &) { return V{f(velk::shell_shift(s.gamma, s.a, s.dcu, s.kappa, s.kcu))}; }},
        {"k_cu", [](Args &s) { return V{k_cu(&s.t, &s.rrr)}; },
         [](Args &s, const velk::Model &) { return V{velk::copper_conductivity(s.t, s.rrr)}; }},
        {"_velk_cpowi",
         [](Args &) {
             const uint64_t w = _velk_cpowi(0.5f, -1.5f, 7);
             return V{static_cast<double>(w & 0xffffffffu), static_cast<double>(w >> 32)};
         },
         [](Args &, const velk::Model &) {
             const std::complex<float> w = velk::cpowi({0.5f, -1.5f}, 7);
             return V{static_cast<double>(std::bit_cast<uint32_t>(w.real())),
                      static_cast<double>(std::bit_cast<uint32_t>(w.imag()))};
         }},
    };
}

void expect_same(const std::vector<double> &got, const std::vector<double> &want,
                 const std::string &what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_BITEQ(got[i], want[i]) << what;
}

// The export and the C++ routine give the same bits, at typical arguments,
// at a mode outside every table and at a zero radius.
TEST(CppInterface, SameBitsAsTheExports) {
    for (const Row &row : rows()) {
        Args typical, outside, zero;
        outside.n = 17;
        zero.a = 0.0;
        for (Args *s : {&typical, &outside, &zero})
            expect_same(row.cpp(*s, velk::Model{}), row.c(*s), row.name + " n = " + std::to_string(s->n) +
                                                     " a = " + std::to_string(s->a));
    }
}

// Overwriting one exported datum: the exports that read it follow (their
// result changes), and equal the C++ routine given a model with that value.
TEST(CppInterface, ExportsFollowTheExportedDataAsItStands) {
    std::array<double, 16> zac;
    std::array<double, 12> zte;
    std::array<double, 13> ztm;
    struct Datum {
        const char *name;
        double *cell;
        double *model_cell;  // the model's copy of the same value
        std::vector<std::string> readers;
    };
    velk::Model model;
    Datum data[] = {
        {"pi", &__velk_MOD_pi, &model.pi, {"f_id", "d_sk", "df_dcTE", "d_v", "d_t", "I_t", "g_b", "df_ducts"}},
        {"rgas", &__velk_MOD_cnst.rgas, &model.rgas, {"I_t"}},
        {"zac(3)", &__velk_MOD_zac[2], &zac[2], {"f_id", "O2dZ2AC", "df_ducts"}},
        {"zte(3)", &__velk_MOD_zte[2], &zte[2], {"Eps_TE1n", "dzm2_zTE1n"}},
        {"ztm(3)", &__velk_MOD_ztm[2], &ztm[2], {"Eps_TM1n", "dzm2_zTM1n", "df_skTM1n", "df_dcTM1n"}},
    };
    for (Datum &d : data) {
        std::copy(std::begin(__velk_MOD_zac), std::end(__velk_MOD_zac), zac.begin());
        std::copy(std::begin(__velk_MOD_zte), std::end(__velk_MOD_zte), zte.begin());
        std::copy(std::begin(__velk_MOD_ztm), std::end(__velk_MOD_ztm), ztm.begin());
        model = velk::Model{__velk_MOD_pi, __velk_MOD_cnst.rgas, zac, zte, ztm};
        const double saved = *d.cell;
        const double changed = saved * 1.25;
        *d.model_cell = changed;
        for (const Row &row : rows()) {
            if (std::find(d.readers.begin(), d.readers.end(), row.name) == d.readers.end()) continue;
            Args s;
            const std::vector<double> before = row.c(s);
            *d.cell = changed;
            const std::vector<double> after = row.c(s);
            *d.cell = saved;
            EXPECT_NE(after, before) << row.name << " does not follow " << d.name;
            // The same routine with the changed model, through the C++ interface.
            expect_same(row.cpp(s, model), after, row.name + " with " + d.name);
        }
    }
}

// A Model refers to caller storage: a varied table reaches the routines.
TEST(CppInterface, ModelWithOwnTable) {
    std::array<double, 16> zac{};
    std::copy(velk::standard::zac, velk::standard::zac + 16, zac.begin());
    zac[1] = 4.5;
    velk::Model m;
    m.zac = zac;
    // c zac(2) / (2 pi a), a = 50 mm (worked example, with zac(2) = 4.5)
    EXPECT_BITEQ(velk::ideal_frequency(2, 343.0, 50.0, m),
                 343.0 * (4.5 / ((velk::standard::pi + velk::standard::pi) * (0.001 * 50.0))));
    EXPECT_BITEQ(velk::ideal_frequency(3, 343.0, 50.0, m), velk::ideal_frequency(3, 343.0, 50.0));
}

}  // namespace
