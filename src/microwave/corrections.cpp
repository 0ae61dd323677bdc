// Microwave mode corrections.
//
// skin_depth: delta = 1/sqrt(pi mu0 x1 x2 x3), p = ((x1 pi) mu0) x2 then
//     1/sqrt(x3 p), with the model's pi.  The factors enter only as a product,
//     so any order gives the same delta up to the rounding of the products
//     (one order of (1e9, 5.8e7, 1) lands one ulp lower).  A zero product
//     gives an infinity, a negative one NaN.
// skin_te: (df + i g) = (-1 + i) x / 2 with x = dsk/(0.001 a), formed as the
//     complex quotient (-x + i x)/(2 + 0i).  Its real part carries x*0 and its
//     imaginary part (-x)*0, so an infinite or NaN x (a = 0 included) gives
//     NaN in both parts; a finite non-zero x gives exactly -x/2 and x/2, and
//     dsk = 0 gives +0 in both.
// skin_tm1n: the TE pair times t/(t - 2), t = ztm(n)^2, as the complex
//     product (t + 0i)(u + iv) divided by (t - 2 + 0i); df = -g exactly.
// cube_te: -0.95 e, e = (r/a)^3 / (4 pi) with s^3 = s (s s), b^3 = b (b b).
// cube_tm1n: -((0.95 t - 1.152) e)/(t - 2).
// 0.95 and 1.152 are their single-precision roundings.  A mode number outside
// ztm makes the TM1n results quiet NaN; nothing outside the table is read.
// Every step is one correctly rounded double operation (sqrt included), so
// the results are reproducible to the last bit.
#include "microwave/corrections.hpp"

#include <cmath>

#include "frame/tables.hpp"

namespace velk::microwave {

double skin_depth(double x1, double x2, double x3, const Model &model) {
    // delta = 1/sqrt(pi mu0 x1 x2 x3)
    const double p = ((x1 * model.pi) * mu0) * x2;
    return 1.0 / std::sqrt(x3 * p);
}

cplx skin_te(double dsk, double a) {
    // (df + i g) = (-1 + i) x / 2
    const double x = dsk / (0.001 * a);
    return cdiv({-x, x}, {2.0, 0.0});
}

cplx skin_tm1n(double dsk, double a, std::int32_t n, const Model &model) {
    // (df + i g) = (-1 + i) x / 2 * t/(t - 2), t = ztm(n)^2
    const cplx uv = skin_te(dsk, a);
    const double z = ztm_at(model, n);
    const double t = z * z;
    return cdiv(cplx{t, 0.0} * uv, {t - 2.0, 0.0});
}

namespace {
// e = (r/a)^3 / (4 pi), lengths in mm converted to m.
double cube_ratio(double r, double a, double pi) {
    const double s = 0.001 * r;
    const double b = 0.001 * a;
    const double s3 = s * (s * s);
    const double b3 = b * (b * b);
    return s3 / ((pi * 4.0) * b3);
}
}  // namespace

double cube_te(double r, double a, const Model &model) {
    // -0.95 (r/a)^3 / (4 pi)
    const double e = cube_ratio(r, a, model.pi);
    return -(dc_te * e);
}

double cube_tm1n(double r, double a, std::int32_t n, const Model &model) {
    // -(0.95 t - 1.152)/(t - 2) (r/a)^3 / (4 pi), t = ztm(n)^2
    const double e = cube_ratio(r, a, model.pi);
    const double z = ztm_at(model, n);
    const double t = z * z;
    return -(((dc_te * t) - dc_tm) * e) / (t - 2.0);
}

}  // namespace velk::microwave
