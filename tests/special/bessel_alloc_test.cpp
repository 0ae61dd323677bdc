// Work sequence of the Bessel routines: on the stack for every |z| below
// 2000, one heap block beyond, released before returning; quiet NaN when it
// cannot be obtained.
#include <cmath>
#include <cstdint>
#include <limits>

#include "special/bessel.hpp"
#include "support/alloc_probe.hpp"
#include "support/bits.hpp"
#include "velk/velk.h"

namespace {

using velk::test::is_quiet_nan;

velk_complex call_besselj(int32_t n, velk_complex z) {
    velk_complex out{};
    __velk_MOD_besselj(&out, &n, &z);
    return out;
}

TEST(BesselWorkSequence, NoHeapRequestBelow2000) {
    const long before = velk::test::live_blocks();
    velk::test::arm(0);
    for (double r : {0.5, 1.0, 35.0, 700.0, 1999.0}) {
        for (int32_t n : {0, 1}) {
            const double x = r / std::sqrt(2.0);
            call_besselj(n, {x, -x});  // the duct ray
            call_besselj(n, {r, 0.0});
        }
    }
    EXPECT_EQ(velk::test::requests(), 0);
    EXPECT_EQ(velk::test::live_blocks(), before);
}

TEST(BesselWorkSequence, LongSequenceFromTheHeapReleased) {
    const long before = velk::test::live_blocks();
    velk::test::arm(0);
    const velk_complex j = call_besselj(0, {2500.0, 0.0});  // nstart = 2701
    EXPECT_EQ(velk::test::requests(), 1);
    EXPECT_EQ(velk::test::live_blocks(), before);
    EXPECT_TRUE(std::isfinite(j.re));
    EXPECT_NEAR(j.re, 0.00123700925696815, 1e-15);  // independent evaluation with mpmath
}

TEST(BesselWorkSequence, RefusedOrOversizedRequestGivesQuietNaN) {
    const velk_complex z{2500.0, 1.0}, seed{1.0, 0.5};
    const int32_t n = 1, nstart = 3000, count = 16, huge = std::numeric_limits<int32_t>::max();
    velk_complex a{}, b{}, c{};
    const long before = velk::test::live_blocks();
    velk::test::arm(1);
    __velk_MOD_besselj(&a, &n, &z);
    velk::test::arm(1);
    __velk_MOD_normbesselj(&b, &n, &z, &nstart, &count, &seed);
    // A sequence of 2^31 members is never requested.
    velk::test::arm(0);
    __velk_MOD_normbesselj(&c, &n, &z, &huge, &count, &seed);
    EXPECT_EQ(velk::test::requests(), 0);
    EXPECT_EQ(velk::test::live_blocks(), before);
    for (double v : {a.re, a.im, b.re, b.im, c.re, c.im}) EXPECT_TRUE(is_quiet_nan(v));
}

}  // namespace
