// The single-precision complex integer power exported by value.
#include <cstring>
#include <limits>

#include "support/bits.hpp"
#include "velk/velk.h"

namespace {

struct F2 {
    float re, im;
};

F2 unpack(uint64_t v) {
    F2 f;
    const uint32_t lo = static_cast<uint32_t>(v), hi = static_cast<uint32_t>(v >> 32);
    std::memcpy(&f.re, &lo, 4);
    std::memcpy(&f.im, &hi, 4);
    return f;
}

TEST(ComplexPower, ZeroExponentGivesOne) {
    for (float re : {0.0f, 2.5f, std::numeric_limits<float>::quiet_NaN()}) {
        const F2 r = unpack(_velk_cpowi(re, -1.0f, 0));
        EXPECT_BITEQ(r.re, 1.0f);
        EXPECT_BITEQ(r.im, 0.0f);
    }
}

TEST(ComplexPower, PowersOfTheImaginaryUnitAreExact) {
    // i^k cycles through i, -1, -i, 1; (-i)^k likewise, negative k as 1/i.
    const F2 expect[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    for (int k = -9; k <= 9; ++k) {
        const F2 r = unpack(_velk_cpowi(0.0f, 1.0f, k));
        const F2 e = expect[((k % 4) + 4) % 4];
        EXPECT_EQ(r.re, e.re) << "k = " << k;
        EXPECT_EQ(r.im, e.im) << "k = " << k;
    }
}

TEST(ComplexPower, SmallIntegersAndReciprocals) {
    F2 r = unpack(_velk_cpowi(1.0f, 2.0f, 3));  // (1+2i)^3 = -11 - 2i
    EXPECT_EQ(r.re, -11.0f);
    EXPECT_EQ(r.im, -2.0f);
    r = unpack(_velk_cpowi(2.0f, 0.0f, -3));  // 1/8
    EXPECT_EQ(r.re, 0.125f);
    EXPECT_EQ(r.im, 0.0f);
    // The most negative exponent does not overflow the exponent's negation.
    r = unpack(_velk_cpowi(1.0f, 0.0f, std::numeric_limits<int32_t>::min()));
    EXPECT_EQ(r.re, 1.0f);
    EXPECT_EQ(r.im, 0.0f);
}

}  // namespace
