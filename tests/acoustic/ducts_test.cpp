// Duct admittance: a chain of sections against the transmission-line
// formula, the direction of the chain, NaN cases and wide sections.
#include <climits>
#include <cmath>
#include <complex>
#include <cstdint>
#include <vector>

#include "support/bits.hpp"
#include "velk/velk.h"

namespace {

using velk::test::is_quiet_nan;
using lcplx = std::complex<long double>;

// Argon near 273 K and 100 kPa; mode (0,2) of a 50 mm resonator.
struct Argon {
    double rho = 1.78, cp = 520, c = 307.8, gamma = 1.6666666666666667, kappa = 0.0164,
           eta = 2.1e-5, a = 50, f = 4400;
    std::int32_t n = 2;
};

struct Out {
    double df, g;
};

Out ducts(const Argon &s, const std::vector<double> &r, const std::vector<double> &l,
          std::int32_t nduct) {
    Out o{-7.0, -7.0};  // must be overwritten
    df_ducts(r.empty() ? nullptr : r.data(), l.empty() ? nullptr : l.data(), &nduct, &s.rho,
             &s.cp, &s.c, &s.gamma, &s.kappa, &s.eta, &s.a, &s.f, &s.n, &o.df, &o.g);
    return o;
}

Out ducts(const Argon &s, const std::vector<double> &r, const std::vector<double> &l) {
    return ducts(s, r, l, static_cast<std::int32_t>(r.size()));
}

// 2 J_1(z)/(z J_0(z)) at z = x - ix (50 digits), 700 <= x <= 1e6.
struct WideRef {
    double x, re, im;
};
const WideRef kWide[] = {
#include "wide_sections_table.inc"
};

// 2 J_1(z)/(z J_0(z)) at z = x - ix, with the library's besselj; from the
// table where x is within 1e-12 of one of its arguments.
lcplx boundary_function(double x) {
    for (const WideRef &w : kWide)
        if (std::fabs(x / w.x - 1) < 1e-12) return lcplx(w.re, w.im);
    const velk_complex z{x, -x};
    velk_complex j0, j1;
    const std::int32_t zero = 0, one = 1;
    __velk_MOD_besselj(&j0, &zero, &z);
    __velk_MOD_besselj(&j1, &one, &z);
    const lcplx lz(x, -x), l0(j0.re, j0.im), l1(j1.re, j1.im);
    return 2.0L * l1 / (lz * l0);
}

// Independent evaluation: each section a uniform lossy line, the open far
// end carried to the resonator by Zin = Z (Zload + Z t)/(Z + Zload t),
// t = tanh(Gamma L); for one section Zin = Z tanh(Gamma L).
lcplx line_formula(const Argon &s, const std::vector<double> &r, const std::vector<double> &l) {
    const long double pi = __velk_MOD_pi;
    const double dv = d_v(&s.eta, &s.rho, &s.f), dt = d_t(&s.kappa, &s.rho, &s.cp, &s.f);
    const lcplx ik(0.0L, s.f * 2.0L * pi / s.c);
    lcplx zin = 0.0L;
    for (std::size_t j = r.size(); j-- > 0;) {
        const long double rm = 0.001L * r[j], lm = 0.001L * l[j];
        const lcplx fv = boundary_function(0.001 * r[j] / dv);
        const lcplx ft = boundary_function(0.001 * r[j] / dt);
        const lcplx a = 1.0L + (s.gamma - 1.0L) * ft, b = 1.0L - fv;
        const lcplx gamma = ik * std::sqrt(a / b);
        const lcplx z = (s.rho * (long double)s.c / (pi * rm * rm)) / std::sqrt(a * b);
        const lcplx t = std::tanh(gamma * lm);
        zin = z * (zin + z * t) / (z + zin * t);
    }
    const long double am = 0.001L * s.a;
    return lcplx(0.0L, s.rho * (long double)s.c) / zin /
           ((long double)__velk_MOD_zac[s.n - 1] * 4.0L * pi * am * am);
}

double rel_to(const Out &o, lcplx want) {
    return (double)(std::abs(lcplx(o.df, o.g) - want) / std::abs(want));
}

TEST(Ducts, SingleSectionIsTheOpenLine) {
    const Argon s;
    const double sections[][2] = {{0.5, 10}, {0.25, 1}, {3, 200}, {1, 1000}, {10, 50}};
    for (const auto &sec : sections) {
        const std::vector<double> r{sec[0]}, l{sec[1]};
        const Out o = ducts(s, r, l);
        const lcplx want = line_formula(s, r, l);
        EXPECT_LT(rel_to(o, want), 1e-13) << "r = " << sec[0] << ", L = " << sec[1];
        EXPECT_LT(std::fabs(o.g - (double)want.imag()) / std::fabs((double)want.imag()), 1e-13)
            << "r = " << sec[0] << ", L = " << sec[1];
    }
}

TEST(Ducts, ShortOpenSectionRaisesAndDamps) {
    Argon s;
    const double k = s.f * (2 * __velk_MOD_pi) / s.c;
    const std::vector<double> r{0.5}, l{1.0};
    ASSERT_LT(k * 0.001, 0.1);
    const Out o = ducts(s, r, l);
    EXPECT_GT(o.df, 0.0);
    EXPECT_GT(o.g, 0.0);
}

TEST(Ducts, ChainFoldsFromTheOpenEnd) {
    const Argon s;
    const std::vector<double> r{0.5, 1.5, 0.8}, l{10, 30, 5};
    const std::vector<double> rr{0.8, 1.5, 0.5}, lr{5, 30, 10};
    const Out o = ducts(s, r, l), rev = ducts(s, rr, lr);
    EXPECT_LT(rel_to(o, line_formula(s, r, l)), 1e-13);
    EXPECT_LT(rel_to(rev, line_formula(s, rr, lr)), 1e-13);
    // Section 1 is the one at the resonator: the reversed chain differs.
    EXPECT_GT(std::fabs(o.df - rev.df), 1e-3 * std::fabs(o.df));
    EXPECT_NE(o.g, rev.g);
    // Only the first nduct elements are read.
    const std::vector<double> r4{0.5, 1.5, 0.8, std::nan("")}, l4{10, 30, 5, -1};
    const Out o3 = ducts(s, r4, l4, 3);
    EXPECT_BITEQ(o3.df, o.df);
    EXPECT_BITEQ(o3.g, o.g);
}

TEST(Ducts, NaNCases) {
    const Argon s;
    const std::vector<double> r{0.5}, l{10};
    // No section: Zin stays 0, 0/0.
    for (std::int32_t nduct : {0, -1, INT32_MIN}) {
        const Out o = ducts(s, {}, {}, nduct);
        EXPECT_TRUE(std::isnan(o.df) && std::isnan(o.g)) << nduct;
    }
    // A zero length: the shunt arm divides by sinh(0).
    const Out zl = ducts(s, {0.5, 1.0}, {10, 0});
    EXPECT_TRUE(std::isnan(zl.df) && std::isnan(zl.g));
    // zac(n) = 0 (n = 1, 14..16) and mode numbers outside the table.
    for (std::int32_t n : {1, 14, 16, 0, 17, -1, INT32_MIN, INT32_MAX}) {
        Argon m = s;
        m.n = n;
        const Out o = ducts(m, r, l);
        EXPECT_TRUE(std::isnan(o.df) && std::isnan(o.g)) << n;
        if (n < 1 || n > 16) {
            EXPECT_TRUE(is_quiet_nan(o.df) && is_quiet_nan(o.g)) << n;
        }
    }
}

TEST(Ducts, WideSectionsFollowTheLineFormula) {
    // x = r/delta with delta the smaller penetration length (here viscous).
    // Up to about 707.1 the boundary-layer function is the quotient of the
    // Bessel values; beyond, where z J_0(z) and then J_0 itself leave the
    // double range, it comes from the wide route and the outputs follow the
    // line formula with 50-digit values of F.  The thermal argument is wider
    // still (x dv/dt).
    const Argon s;
    const double dv = d_v(&s.eta, &s.rho, &s.f), dt = d_t(&s.kappa, &s.rho, &s.cp, &s.f);
    ASSERT_LT(dv, dt);
    for (double x : {10.0, 100.0, 400.0, 650.0, 700.0, 705.0, 707.2, 708.0, 714.5, 730.0, 1e4}) {
        // Sections whose viscous and thermal x are both in the table or both below 700.
        const double xt = x * dv / dt;
        if (x > 700.0 && !(xt < 700.0)) {
            bool listed = false;
            for (const WideRef &w : kWide) listed = listed || std::fabs(xt / w.x - 1) < 1e-12;
            if (!listed) {
                // Pick the gas so that the thermal x is x as well.
                Argon m = s;
                m.kappa = s.kappa * (dv * dv) / (dt * dt);
                const double dtm = d_t(&m.kappa, &m.rho, &m.cp, &m.f);
                ASSERT_LT(std::fabs(dtm / dv - 1), 1e-14);
                const std::vector<double> r{1000 * x * dv}, l{10};
                const Out o = ducts(m, r, l);
                EXPECT_LT(rel_to(o, line_formula(m, r, l)), 1e-13) << x;
                continue;
            }
        }
        const std::vector<double> r{1000 * x * dv}, l{10};
        const Out o = ducts(s, r, l);
        EXPECT_LT(rel_to(o, line_formula(s, r, l)), 1e-13) << x;
    }
}

TEST(Ducts, LongLossySectionsStayFinite) {
    // Helium-like gas at about 1 kPa in a capillary: the attenuation times
    // the length, Re(Gamma L), runs past 710, where sinh overflows.  The line
    // then looks like its characteristic impedance, and the chain in front of
    // it follows the line formula.
    Argon s;
    s.rho = 0.0034;
    s.eta = 1e-4;
    s.kappa = 0.032;
    s.cp = 5300;
    s.c = 263;
    s.f = 6585;
    for (double length : {300.0, 900.0, 5000.0, 1e6}) {
        const std::vector<double> r{6.5, 0.38, 0.37}, l{75, 3.5, length};
        const Out o = ducts(s, r, l);
        EXPECT_TRUE(std::isfinite(o.df) && std::isfinite(o.g)) << length;
        EXPECT_LT(rel_to(o, line_formula(s, r, l)), 1e-13) << length;
    }
}

}  // namespace
