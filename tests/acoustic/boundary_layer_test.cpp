// Penetration and accommodation lengths and the thermal boundary-layer
// terms, through the exported routines.
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "support/bits.hpp"
#include "velk/velk.h"

namespace {

constexpr double kGamma = 1.6666666666666667;
constexpr double kInf = std::numeric_limits<double>::infinity();

double g_th_of(double gamma, double a, double dt) { return g_th(&gamma, &a, &dt); }
double df_dth_of(double gamma, double a, double dt) { return df_dth(&gamma, &a, &dt); }
double g_thO2_of(double gamma, double a, double dt) { return g_thO2(&gamma, &a, &dt); }
float df_Ith_of(double gamma, double a, double lt) { return df_Ith(&gamma, &a, &lt); }
double g_t_of(const double *t, double p, double gamma, double dt, double dcu, double kappa,
              double kcu, double a, double f) {
    return g_t(t, &p, &gamma, &dt, &dcu, &kappa, &kcu, &a, &f);
}
double df_th_of(double gamma, double dt, double dcu, double lt, double kappa, double kcu, double a,
                double f) {
    return df_th(&gamma, &dt, &dcu, &lt, &kappa, &kcu, &a, &f);
}
double d_v_of(double eta, double rho, double f) { return d_v(&eta, &rho, &f); }
double d_t_of(double kappa, double rho, double cp, double f) { return d_t(&kappa, &rho, &cp, &f); }
double I_t_of(double t, double p, double cv, double kappa, double mw, double h) {
    return I_t(&t, &p, &cv, &kappa, &mw, &h);
}

TEST(BoundaryLayer, WorkedValues) {
    // Worked examples, every argument the double nearest the number written.
    EXPECT_BITEQ(d_v_of(2.1e-5, 1.78, 2500), 3.8757405740590114e-05);
    EXPECT_BITEQ(d_t_of(0.0164, 1.78, 520, 2500), 4.749690427134734e-05);
    EXPECT_BITEQ(I_t_of(273.16, 100, 312.2, 0.0164, 0.039948, 0.9), 1.439000828874007e-07);
    EXPECT_BITEQ(g_th_of(kGamma, 50, 4.75e-5), 0.0003166666666666667);
    EXPECT_BITEQ(g_thO2_of(kGamma, 50, 4.75e-5), 7.019444444444446e-07);
    EXPECT_BITEQ(df_th_of(kGamma, 4.75e-5, 1.26e-4, 1.44e-7, 0.0164, 400, 50, 2500),
                 -0.7867805666666667);
    // Single-precision radius 0.05000000074505806 m.
    EXPECT_BITEQ(g_t_of(nullptr, 100, kGamma, 4.75e-5, 1.26e-4, 0.0164, 400, 50, 2500),
                 0.7899978938098192);
    // Single-precision result: the double value would be -9.6e-07.
    EXPECT_BITEQ(df_Ith_of(kGamma, 50, 1.44e-7), static_cast<float>(-9.599999657439184e-07));
    EXPECT_BITEQ(df_Ith_of(kGamma, 50, 1.44e-7), -static_cast<float>(g_th_of(kGamma, 50, 1.44e-7)));
}

TEST(BoundaryLayer, SignsAtGammaOneAndOneHalf) {
    // gamma = 1: +0 from the half-widths, -0 from the shifts.
    EXPECT_BITEQ(g_th_of(1.0, 50, 4.75e-5), 0.0);
    EXPECT_BITEQ(g_thO2_of(1.0, 50, 4.75e-5), 0.0);
    EXPECT_BITEQ(g_t_of(nullptr, 100, 1.0, 4.75e-5, 1.26e-4, 0.0164, 400, 50, 2500), 0.0);
    EXPECT_BITEQ(df_dth_of(1.0, 50, 4.75e-5), -0.0);
    EXPECT_BITEQ(df_Ith_of(1.0, 50, 1.44e-7), -0.0f);
    // gamma = 0.5: 2 gamma - 1 vanishes, (gamma - 1)/2 is negative.
    EXPECT_BITEQ(g_thO2_of(0.5, 50, 4.75e-5), -0.0);
    EXPECT_LT(g_th_of(0.5, 50, 4.75e-5), 0.0);
}

TEST(BoundaryLayer, ShiftIsTheExactNegationOfTheHalfWidth) {
    const double cases[][3] = {{kGamma, 50, 4.75e-5}, {1.4, 12.5, 1e-3},  {0.5, 50, 4.75e-5},
                               {1.0, 50, 4.75e-5},    {kGamma, 50, 0.0},  {kGamma, 0.0, 1e-5},
                               {kGamma, 0.0, 0.0},    {kGamma, -3, 2e-6}, {std::nan(""), 50, 1e-5}};
    for (const auto &c : cases) {
        const double g = g_th_of(c[0], c[1], c[2]);
        const double d = df_dth_of(c[0], c[1], c[2]);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(d),
                  std::bit_cast<std::uint64_t>(g) ^ 0x8000000000000000ull)
            << c[0] << ", " << c[1] << ", " << c[2];
    }
}

TEST(BoundaryLayer, ShellTermOfTheCombinedShiftIsTheShellHalfWidth) {
    // With dt = lt = 0 and f = 1, df_th is its shell term: g_Cu's value, with
    // a positive sign (df_CuTh is its negation in single precision).
    double gamma = kGamma, a = 50, dcu = 1.26e-4, kappa = 0.0164, kcu = 400;
    const double shell = df_th_of(kGamma, 0.0, dcu, 0.0, kappa, kcu, a, 1.0);
    EXPECT_BITEQ(shell, g_Cu(&gamma, &a, &dcu, &kappa, &kcu));
    EXPECT_GT(shell, 0.0);
}

TEST(BoundaryLayer, CombinedHalfWidthIgnoresTemperatureAndPressure) {
    const double want = g_t_of(nullptr, 100, kGamma, 4.75e-5, 1.26e-4, 0.0164, 400, 50, 2500);
    const double t = std::nan("");
    for (double p : {0.0, -1.0, std::nan(""), kInf})
        EXPECT_BITEQ(g_t_of(&t, p, kGamma, 4.75e-5, 1.26e-4, 0.0164, 400, 50, 2500), want);
}

TEST(BoundaryLayer, IeeeResultsOfDegenerateArguments) {
    // Nothing is checked: IEEE results as they come.
    EXPECT_BITEQ(I_t_of(273.16, 100, 312.2, 0.0164, 0.039948, 2.0), 0.0);
    EXPECT_EQ(I_t_of(273.16, 100, 312.2, 0.0164, 0.039948, 0.0), kInf);
    EXPECT_TRUE(std::isnan(I_t_of(273.16, 100, 312.2, 0.0, 0.039948, 0.0)));
    EXPECT_BITEQ(d_v_of(0.0, 1.78, 2500), 0.0);
    EXPECT_EQ(d_v_of(2.1e-5, 0.0, 2500), kInf);
    EXPECT_TRUE(std::isnan(d_v_of(0.0, 1.78, 0.0)));
    EXPECT_EQ(d_t_of(0.0164, 1.78, 0.0, 2500), kInf);
    EXPECT_TRUE(std::isnan(d_t_of(-0.0164, 1.78, 520, 2500)));
    EXPECT_EQ(g_th_of(kGamma, 0.0, 4.75e-5), kInf);
    EXPECT_TRUE(std::isnan(g_thO2_of(kGamma, 0.0, 0.0)));
    EXPECT_EQ(df_Ith_of(kGamma, 1e-300, 1.0), -std::numeric_limits<float>::infinity());
}

}  // namespace
