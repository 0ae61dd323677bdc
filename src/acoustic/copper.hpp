// Copper properties and shell heat terms.  See copper.cpp.
#pragma once

namespace velk::acoustic {

// Fit constants of the thermal conductivity; several are single-precision
// values held as doubles, as fitted.
namespace kcu_fit {
inline constexpr double p1 = 1.754e-08;
inline constexpr double p2 = static_cast<double>(2.763f);    // 2.763000011444092
inline constexpr double p3 = 1102.0;
inline constexpr double p4 = static_cast<double>(-0.165f);   // -0.16500000655651093
inline constexpr double p5 = 70.0;
inline constexpr double p6 = static_cast<double>(1.756f);    // 1.75600004196167
inline constexpr double p24 = p2 + p4;                       // 2.598000004887581
inline constexpr double beta0 = static_cast<double>(0.634f);  // 0.6340000033378601
inline constexpr double betar0 = static_cast<double>(0.0003f);  // 0.0003000000142492354
inline constexpr double p7_exp = static_cast<double>(0.1661f);  // 0.16609999537467957
inline constexpr double p7_num = static_cast<double>(0.838f);   // 0.8379999995231628
}  // namespace kcu_fit

// Divisors of the heat-capacity polynomial: (ln 10)^n rounded once to single
// precision, n = 1..4.
inline constexpr double cp_ln10[4] = {
    static_cast<double>(2.3025851249694824f),  // single(ln 10)
    static_cast<double>(5.30189847946167f),
    static_cast<double>(12.2080717086792f),
    static_cast<double>(28.110124588012695f),
};

// Thermal conductivity of copper, W/(m K): t in K, rrr residual resistance ratio.
double copper_conductivity(double t, double rrr);
// Specific heat capacity of copper, J/(kg K): t in K.
double copper_heat_capacity(double t);
// Shell term of the relative half-width, (gamma - 1)/(2a) dcu kappa/kcu, a in mm.
double shell_halfwidth(double gamma, double a, double dcu, double kappa, double kcu);
// The negated shell term rounded to single precision (relative shift).
float shell_shift(double gamma, double a, double dcu, double kappa, double kcu);

}  // namespace velk::acoustic
