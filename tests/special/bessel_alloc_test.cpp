// Work sequence of the Bessel routines: one request per call, released
// before returning, and quiet NaN when it cannot be obtained.
#include <cstdint>

#include "special/bessel.hpp"
#include "support/alloc_probe.hpp"
#include "support/bits.hpp"
#include "velk/velk.h"

namespace {

using velk::test::is_quiet_nan;

TEST(BesselWorkSequence, OneRequestReleased) {
    const velk_complex z{3.0, 2.0};
    const int32_t n = 0;
    velk_complex out{};
    const long before = velk::test::live_blocks();
    velk::test::arm(0);
    __velk_MOD_besselj(&out, &n, &z);
    EXPECT_EQ(velk::test::requests(), 1);
    EXPECT_EQ(velk::test::live_blocks(), before);
    EXPECT_TRUE(std::isfinite(out.re));
}

TEST(BesselWorkSequence, RefusedRequestGivesQuietNaN) {
    const velk_complex z{3.0, 2.0}, seed{1.0, 0.5};
    const int32_t n = 1, nstart = 19, count = 16;
    velk_complex a{}, b{};
    const long before = velk::test::live_blocks();
    velk::test::arm(1);
    __velk_MOD_besselj(&a, &n, &z);
    velk::test::arm(1);
    __velk_MOD_normbesselj(&b, &n, &z, &nstart, &count, &seed);
    velk::test::arm(0);
    EXPECT_EQ(velk::test::live_blocks(), before);
    for (double v : {a.re, a.im, b.re, b.im}) EXPECT_TRUE(is_quiet_nan(v));
}

}  // namespace
