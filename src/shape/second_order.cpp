// Second-order shape corrections of sphere eigenvalues: a mode factor that
// depends only on the eigenvalue z times the quadratic form of the two
// deformation parameters, q = e1^2 - e1 e2 + e2^2.
//
// dzm2_zTE1n: t = 22 z^2 / 375 - 2/225, z = zte(n).
// dzm2_zTM1n: r = 2 (33 z^8 - 245 z^6 + 714 z^4 - 1152 z^2 + 160) / (1125 (z^2 - 2)^3),
//             z = ztm(n); the pole at z^2 = 2 is far below ztm(1)^2 (about 7.53).
// O2dZ2AC:    t = 8 z^2 / 135, z = zac(n); the parameters come as one array.
//
// Everything is evaluated in double in the order written; only the final
// product is rounded (to nearest) to single precision and returned as such.
// Special cases: a mode number outside the table gives a quiet NaN; infinite
// or NaN parameters propagate; e1 = e2 = 0 gives +0; zac(1) = 0 makes O2dZ2AC
// +0 for every pair whose squares stay finite.
#include <cstdint>
#include <span>

#include "frame/tables.hpp"
#include "shape/shape.hpp"

namespace velk::shape {
namespace {

// (e1 e1 - e1 e2) + e2 e2
double quadratic_form(double e1, double e2) { return (e1 * e1 - e1 * e2) + e2 * e2; }

}  // namespace

double te1n_second_order_factor(double z) {
    // ((22 (z z)) / 375) - 2/225, the constant the double nearest 2/225
    return ((22.0 * (z * z)) / 375.0) - 0.008888888888888889;
}

double tm1n_second_order_factor(double z) {
    // (u + u) / (1125 w^3), u = 33 z^8 - 245 z^6 + 714 z^4 - 1152 z^2 + 160, w = z z - 2
    const double z2 = z * z;
    const double w = z * z - 2.0;
    const double z4 = (z * z) * (z * z);
    const double z8 = z4 * z4;
    const double z6 = (z * z) * z4;
    const double w3 = w * (w * w);
    double u = 33.0 * z8;
    u = u - 245.0 * z6;
    u = 714.0 * z4 + u;
    u = u - z2 * 1152.0;
    u = 160.0 + u;
    return (u + u) / (1125.0 * w3);
}

double ac_second_order_factor(double z) {
    // (8 (z z)) / 135
    return (8.0 * (z * z)) / 135.0;
}

float dzm2_te1n(double eps1, double eps2, std::int32_t n, const Model &model) {
    const double t = te1n_second_order_factor(zte_at(model, n));
    return static_cast<float>(t * quadratic_form(eps1, eps2));
}

float dzm2_tm1n(double eps1, double eps2, std::int32_t n, const Model &model) {
    const double r = tm1n_second_order_factor(ztm_at(model, n));
    return static_cast<float>(r * quadratic_form(eps1, eps2));
}

float o2dz2_ac(std::span<const double, 2> eps, std::int32_t n, const Model &model) {
    const double t = ac_second_order_factor(zac_at(model, n));
    const double e1 = eps[0], e2 = eps[1];
    // (e1 e1 - e2 e1) + e2 e2
    const double q = (e1 * e1 - e2 * e1) + e2 * e2;
    return static_cast<float>(t * q);
}

}  // namespace velk::shape
