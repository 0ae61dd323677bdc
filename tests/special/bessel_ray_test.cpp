// Accuracy of J_0 and J_1 on the ray arg z = -pi/4 that the duct model uses,
// 1 <= |z| <= 700, and of its quotient 2 J_1(z)/(z J_0(z)), against
// independent 50-digit values.
#include <cmath>
#include <cstdio>

#include "special/bessel.hpp"
#include "support/bits.hpp"

namespace {

using velk::cplx;

struct RayPoint {
    double x, j0re, j0im, j1re, j1im, fre, fim;
};

// Independent evaluation at 50 digits (mpmath), from gen_bessel_ray.py.
constexpr RayPoint kRay[] = {
#include "bessel_ray_table.inc"
};

// |got - want| / |want| of complex values, scaled to stay in range.
double complex_rel_error(cplx got, double re, double im) {
    const double scale = std::fmax(std::fabs(re), std::fabs(im));
    const double dre = (got.re - re) / scale, dim = (got.im - im) / scale;
    return std::hypot(dre, dim) / std::hypot(re / scale, im / scale);
}

TEST(BesselRay, RelativeErrorAgainstHighPrecision) {
    double worst = 0.0, worst_modulus = 0.0, worst_quotient = 0.0;
    for (const RayPoint &p : kRay) {
        const double modulus = std::sqrt(2.0) * p.x;
        const cplx z{p.x, -p.x};
        const cplx j0 = velk::special::besselj_plain(0, z);
        const cplx j1 = velk::special::besselj_plain(1, z);
        const double e = std::fmax(complex_rel_error(j0, p.j0re, p.j0im),
                                   complex_rel_error(j1, p.j1re, p.j1im));
        // Below |z| = 5 the search stops early (S targets about 1e-10), and
        // J_0 and J_1 share the error of their common normaliser.
        EXPECT_LT(e, modulus < 5.0 ? 1e-9 : 1e-14) << "|z| = " << modulus;
        const cplx f = velk::cdiv(cplx{2.0, 0.0} * j1, z * j0);
        const double eq = complex_rel_error(f, p.fre, p.fim);
        EXPECT_LT(eq, 4e-15) << "quotient, |z| = " << modulus;
        if (e > worst) {
            worst = e;
            worst_modulus = modulus;
        }
        worst_quotient = std::fmax(worst_quotient, eq);
    }
    std::printf("worst relative error on the ray: J %.3g at |z| = %.6g; 2 J_1/(z J_0) %.3g\n",
                worst, worst_modulus, worst_quotient);
}

}  // namespace
