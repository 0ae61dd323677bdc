// Boundary-layer function of wide duct sections: the Hankel route against
// 50-digit values, its meeting with the quotient of the Bessel values at the
// switch, and df_ducts finite and smooth over the laboratory's gases, ducts
// and frequencies.
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <vector>

#include "acoustic/ducts.hpp"
#include "acoustic/wide_sections.hpp"
#include "special/bessel.hpp"
#include "support/bits.hpp"
#include "velk/velk.hpp"

namespace {

namespace ac = velk::acoustic;
using velk::cplx;

struct WideRef {
    double x, re, im;
};
const WideRef kWide[] = {
#include "wide_sections_table.inc"
};

double rel(cplx got, double re, double im) {
    return std::hypot(got.re - re, got.im - im) / std::hypot(re, im);
}

// The quotient as the duct routine forms it from the Bessel values.
cplx direct(cplx z) {
    const cplx j1 = velk::special::besselj(1, z), j0 = velk::special::besselj(0, z);
    return velk::cdiv(cplx{2.0, 0.0} * j1, z * j0);
}

TEST(WideSections, HankelRouteAgainst50Digits) {
    for (const WideRef &w : kWide) {
        const cplx z{w.x, -w.x};
        EXPECT_LT(rel(ac::boundary_function_wide(z), w.re, w.im), 1e-15) << "x = " << w.x;
        // F is even and F(conj z) = conj F(z).
        const cplx m = ac::boundary_function_wide({-w.x, w.x});
        const cplx c = ac::boundary_function_wide({w.x, w.x});
        EXPECT_LT(rel(m, w.re, w.im), 1e-15) << "x = " << w.x;
        EXPECT_LT(rel(c, w.re, -w.im), 1e-15) << "x = " << w.x;
    }
}

// The boundary-layer function of the C++ interface, one argument and over an
// array, is the one the ducts use: accurate on the wide ray as well.
TEST(WideSections, InterfaceFunctionIsTheDuctsOne) {
    std::vector<velk::complex> z;
    for (const WideRef &w : kWide) z.push_back({w.x, -w.x});
    z.push_back({35.0, -35.0});  // an ordinary argument among them
    std::vector<velk::complex> f(z.size());
    velk::boundary_layer_function(z, f);
    for (std::size_t k = 0; k < std::size(kWide); ++k) {
        const velk::complex one = velk::boundary_layer_function(z[k]);
        EXPECT_LT(rel({one.real(), one.imag()}, kWide[k].re, kWide[k].im), 1e-15)
            << "x = " << kWide[k].x;
        EXPECT_BITEQ(f[k].real(), one.real()) << "x = " << kWide[k].x;
        EXPECT_BITEQ(f[k].imag(), one.imag()) << "x = " << kWide[k].x;
    }
    const cplx d = direct({35.0, -35.0});
    EXPECT_BITEQ(f.back().real(), d.re);
    EXPECT_BITEQ(f.back().imag(), d.im);
}

TEST(WideSections, GuardKeepsTheQuotientWhereItIsFinite) {
    for (const WideRef &w : kWide) {
        const cplx z{w.x, -w.x};
        const cplx q = direct(z);  // may overflow: only flags, nothing traps here
        const cplx g = ac::boundary_function_guarded(z, direct);
        const bool usable = std::isfinite(q.re) && std::isfinite(q.im) && (q.re != 0 || q.im != 0);
        if (usable) {
            EXPECT_BITEQ(g.re, q.re) << "x = " << w.x;
            EXPECT_BITEQ(g.im, q.im) << "x = " << w.x;
            // No jump at the switch: both routes agree with the reference.
            EXPECT_LT(rel(q, w.re, w.im), 2e-15) << "x = " << w.x;
        } else {
            EXPECT_GE(w.x, 707.0) << "the quotient fails below the known range";
            EXPECT_LT(rel(g, w.re, w.im), 1e-15) << "x = " << w.x;
        }
    }
    std::feclearexcept(FE_ALL_EXCEPT);
}

TEST(WideSections, GuardedRouteRaisesNoFlags) {
    for (double x : {690.0, 700.0, 707.05, 707.1, 707.5, 714.5, 729.0, 731.0, 1e4, 1e6}) {
        std::feclearexcept(FE_ALL_EXCEPT);
        const cplx f = ac::boundary_function_guarded({x, -x}, direct);
        EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW), 0) << "x = " << x;
        EXPECT_TRUE(std::isfinite(f.re) && std::isfinite(f.im)) << "x = " << x;
    }
}

// Argon-like gas from 1 kPa to 20 MPa (density, and the penetration lengths
// with it, follow the pressure), ducts from 0.1 to 10 mm, 100 Hz to 50 kHz:
// finite everywhere, no flag raised, and smooth along the pressure (steps of
// 2.5 %): no step moves the result by more than four times the larger of
// its neighbouring steps, which a jump at any step would break (beside
// steps of 1e-5 of the largest value: narrow ducts at low pressure meet arguments near
// |z| = 0.1, where the Bessel recurrence is accurate to about 1e-6 and its
// start index changes in steps).
TEST(WideSections, DuctsFiniteAndSmoothAtAnyPressure) {
    for (double rmm : {0.1, 1.0, 3.0, 10.0}) {
        for (double f : {100.0, 2000.0, 20000.0, 50000.0}) {
            std::vector<double> v[2];
            for (int s = 0; s <= 400; ++s) {
                const double p = 1e3 * std::pow(2e4, s / 400.0);  // Pa
                const ac::DuctGas gas{p * 1.76e-5, 520.3, 307.8, 1.6667, 0.01642, 2.1e-5};
                const std::vector<double> r{rmm}, l{4.0};  // short: no duct resonance
                std::feclearexcept(FE_ALL_EXCEPT);
                const ac::DuctPerturbation d = ac::duct_perturbation(r, l, gas, 50.0, f, 2, velk::Model{});
                ASSERT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW), 0)
                    << "r = " << rmm << " mm, f = " << f << " Hz, p = " << p << " Pa";
                ASSERT_TRUE(std::isfinite(d.df) && std::isfinite(d.g))
                    << "r = " << rmm << " mm, f = " << f << " Hz, p = " << p << " Pa";
                v[0].push_back(d.df);
                v[1].push_back(d.g);
            }
            for (int k = 0; k < 2; ++k) {
                double scale = 0;
                for (double x : v[k]) scale = std::fmax(scale, std::fabs(x));
                for (std::size_t s = 2; s + 1 < v[k].size(); ++s) {
                    const double before = std::fabs(v[k][s - 1] - v[k][s - 2]);
                    const double step = std::fabs(v[k][s] - v[k][s - 1]);
                    const double after = std::fabs(v[k][s + 1] - v[k][s]);
                    EXPECT_LE(step, 4.0 * std::fmax(before, after) + 1e-5 * scale)
                        << (k ? "g" : "df") << ": r = " << rmm << " mm, f = " << f
                        << " Hz, step " << s;
                }
            }
        }
    }
}

}  // namespace
