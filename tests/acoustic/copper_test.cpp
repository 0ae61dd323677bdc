// Copper conductivity and heat capacity, shell heat terms.
#include <cmath>
#include <limits>

#include "acoustic/copper.hpp"
#include "support/bits.hpp"
#include "velk/velk.h"

namespace {

using velk::test::rel_error;
constexpr double inf = std::numeric_limits<double>::infinity();

double kcu(double t, double rrr) { return k_cu(&t, &rrr); }
double cpcu(double t) { return cp_cu(&t); }
double gcu(double gamma, double a, double dcu, double kappa, double kc) {
    return g_Cu(&gamma, &a, &dcu, &kappa, &kc);
}
float dfcu(double gamma, double a, double dcu, double kappa, double kc) {
    return df_CuTh(&gamma, &a, &dcu, &kappa, &kc);
}

TEST(CopperConstants, SinglePrecisionValuesAsFitted) {
    namespace k = velk::acoustic::kcu_fit;
    EXPECT_BITEQ(k::p1, 1.754e-08);
    EXPECT_BITEQ(k::p2, 2.763000011444092);
    EXPECT_BITEQ(k::p3, 1102.0);
    EXPECT_BITEQ(k::p4, -0.16500000655651093);
    EXPECT_BITEQ(k::p5, 70.0);
    EXPECT_BITEQ(k::p6, 1.75600004196167);
    EXPECT_BITEQ(k::p24, 2.598000004887581);
    EXPECT_BITEQ(k::beta0, 0.6340000033378601);
    EXPECT_BITEQ(k::betar0, 0.0003000000142492354);
    EXPECT_BITEQ(k::p7_exp, 0.16609999537467957);
    EXPECT_BITEQ(k::p7_num, 0.8379999995231628);
    const auto &d = velk::acoustic::cp_ln10;
    EXPECT_BITEQ(d[0], 2.3025851249694824);
    EXPECT_BITEQ(d[1], 5.30189847946167);
    EXPECT_BITEQ(d[2], 12.2080717086792);
    EXPECT_BITEQ(d[3], 28.110124588012695);
    EXPECT_NE(d[0], 2.302585092994046);  // not the double ln 10
}

struct CopperRow {
    double t, k100, k50, cp;
};

// k_cu at rrr 100 and 50, and cp_cu, against a table within a relative tol.
template <std::size_t N>
void expect_rows(const CopperRow (&rows)[N], double tol) {
    for (const CopperRow &r : rows) {
        EXPECT_LE(rel_error(kcu(r.t, 100), r.k100), tol) << "t = " << r.t;
        EXPECT_LE(rel_error(kcu(r.t, 50), r.k50), tol) << "t = " << r.t;
        EXPECT_LE(rel_error(cpcu(r.t), r.cp), tol) << "t = " << r.t;
    }
}

TEST(CopperProperties, TableToTenDigits) {
    // worked example, ten significant digits
    const CopperRow rows[] = {
        {4, 630.4311520, 315.3408484, 0.1115670700},
        {20, 2412.010839, 1368.021044, 7.809802866},
        {77, 542.1781954, 511.5854763, 184.4417878},
        {273.16, 403.3149441, 398.1602260, 361.4567781},
        {300, 400.8597665, 396.2137963, 363.6299379},
    };
    expect_rows(rows, 5e-10);
}

TEST(CopperProperties, HeatCapacityAtOneKelvin) {
    // ln 1 = 0 leaves exactly 1.131 in the exponent (worked example: about 13.52072563194277)
    EXPECT_BITEQ(cpcu(1.0), std::pow(10.0, 1.131));
    EXPECT_LE(rel_error(cpcu(1.0), 13.52072563194277), 1e-15);
}

TEST(CopperProperties, InvalidArguments) {
    EXPECT_TRUE(std::isnan(kcu(0.0, 100)));
    EXPECT_TRUE(std::isnan(kcu(20, 0.0)));
    EXPECT_TRUE(std::isnan(kcu(20, inf)));
    EXPECT_TRUE(std::isnan(kcu(-20, 100)));
    EXPECT_BITEQ(cpcu(0.0), inf);
    EXPECT_TRUE(std::isnan(cpcu(-1.0)));
}

TEST(ShellTerms, WorkedValues) {
    // worked example
    const double gamma = 1.6666666666666667, a = 50, dcu = 1.26e-4, kappa = 0.0164, kc = 400;
    EXPECT_BITEQ(gcu(gamma, a, dcu, kappa, kc), 3.444e-08);
    EXPECT_BITEQ(dfcu(gamma, a, dcu, kappa, kc), -3.44399992968647e-08f);
    EXPECT_BITEQ(static_cast<double>(dfcu(gamma, a, dcu, kappa, kc)), -3.44399992968647e-08);
}

TEST(ShellTerms, ShiftIsTheNegatedHalfwidthInSinglePrecision) {
    const double cases[][5] = {
        {1.4, 60, 2.3e-4, 0.026, 390}, {1.6666666666666667, 30, 7.1e-5, 0.0177, 12.5},
        {1.3, 1e-30, 1e-10, 1e10, 1e-20},  // beyond the single range: -inf
        {1.3, 1e30, 1e-10, 1e-10, 1e10},   // single subnormal range
    };
    for (const auto &c : cases) {
        const double g = gcu(c[0], c[1], c[2], c[3], c[4]);
        EXPECT_BITEQ(dfcu(c[0], c[1], c[2], c[3], c[4]), -static_cast<float>(g)) << g;
    }
    EXPECT_BITEQ(dfcu(1.3, 1e-30, 1e-10, 1e10, 1e-20), -std::numeric_limits<float>::infinity());
}

TEST(ShellTerms, UnitRatioOfHeatCapacitiesGivesSignedZeros) {
    EXPECT_BITEQ(gcu(1.0, 50, 1.26e-4, 0.0164, 400), 0.0);
    EXPECT_BITEQ(dfcu(1.0, 50, 1.26e-4, 0.0164, 400), -0.0f);
}

TEST(ShellTerms, ZeroRadiusOrConductivity) {
    EXPECT_BITEQ(gcu(1.4, 0.0, 1.26e-4, 0.0164, 400), inf);
    EXPECT_BITEQ(gcu(1.4, 50, 1.26e-4, 0.0164, 0.0), inf);
    EXPECT_TRUE(std::isnan(gcu(1.0, 0.0, 1.26e-4, 0.0164, 400)));
    EXPECT_BITEQ(dfcu(1.4, 50, 1.26e-4, 0.0164, 0.0), -std::numeric_limits<float>::infinity());
}

}  // namespace
