// sortfreq through a descriptor of any stride (0, +-1, +-2, +-3) and
// Eps_TE1n / Eps_TM1n with any three doubles and any mode number.
// Properties: nothing is written outside the three described elements; for
// three positive values the output is the three inputs in ascending order;
// the deformation parameters are written, do not depend on the order of the
// triplet, are quiet NaN for a mode number outside the table, and for positive
// frequencies eps1 >= 0 >= eps2 (where they are not NaN).
#include <algorithm>
#include <array>
#include <cmath>

#include "input.hpp"
#include "shape/shape.hpp"
#include "velk/velk.h"

using velk::fuzz::bits;
using velk::fuzz::fail;

namespace {

constexpr double kFill = -7.0;

void sort_checks(double fa, double fb, double fc, int stride) {
    // 13 doubles, the base in the middle: strides up to +-3 stay inside.
    std::array<double, 13> buf;
    buf.fill(kFill);
    velk_descriptor d = velk::shape::triplet_descriptor(&buf[6]);
    d.stride = stride;
    __velk_MOD_sortfreq(&d, &fa, &fb, &fc);
    const int step = stride == 0 ? 1 : stride;
    for (int j = 0; j < 13; ++j) {
        const int k = j - 6;
        const bool described = k == 0 || k == step || k == 2 * step;
        if (!described && bits(buf[j]) != bits(kFill)) fail("sortfreq wrote outside its elements");
    }
    if (fa > 0 && fb > 0 && fc > 0) {
        std::array<double, 3> want{fa, fb, fc};
        std::sort(want.begin(), want.end());
        for (int j = 0; j < 3; ++j)
            if (bits(buf[6 + j * step]) != bits(want[j])) fail("sortfreq: positive inputs not sorted");
    }
}

void eps_checks(void (*eps)(const double *, const double *, const double *, const int32_t *,
                            double *, double *),
                double fa, double fb, double fc, int32_t n, int table) {
    const double order[6][3] = {{fa, fb, fc}, {fa, fc, fb}, {fb, fa, fc},
                                {fb, fc, fa}, {fc, fa, fb}, {fc, fb, fa}};
    double e1[6], e2[6];
    for (int k = 0; k < 6; ++k) {
        e1[k] = e2[k] = kFill;
        eps(&order[k][0], &order[k][1], &order[k][2], &n, &e1[k], &e2[k]);
        if (bits(e1[k]) == bits(kFill) || bits(e2[k]) == bits(kFill)) fail("Eps: output not written");
    }
    const bool positive = fa > 0 && fb > 0 && fc > 0;
    if (n < 1 || n > table) {
        for (int k = 0; k < 6; ++k)
            if (!std::isnan(e1[k]) || !std::isnan(e2[k])) fail("Eps: mode outside the table not NaN");
        return;
    }
    if (!positive) return;
    for (int k = 1; k < 6; ++k)
        if (bits(e1[k]) != bits(e1[0]) || bits(e2[k]) != bits(e2[0]))
            fail("Eps: result depends on the order of the triplet");
    if (e1[0] < 0 || e2[0] > 0) fail("Eps: positive triplet gave eps1 < 0 or eps2 > 0");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    velk::fuzz::Input in(data, size);
    const double fa = in.real(), fb = in.real(), fc = in.real();
    const int stride = static_cast<int>(in.byte() % 7) - 3;
    const int32_t n = in.integer();
    sort_checks(fa, fb, fc, stride);
    eps_checks(&Eps_TE1n, fa, fb, fc, n, 12);
    eps_checks(&Eps_TM1n, fa, fb, fc, n, 13);
    return 0;
}
