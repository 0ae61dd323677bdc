// Test helpers: results compared as bit patterns (printed in hex when they
// differ), and a relative error that treats NaN and infinities explicitly.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace velk::test {

inline std::string describe(double x) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g [0x%016llx]", x,
                  static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(x)));
    return buf;
}

inline std::string describe(float x) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.9g [0x%08x]", static_cast<double>(x),
                  static_cast<unsigned>(std::bit_cast<std::uint32_t>(x)));
    return buf;
}

template <class T>
::testing::AssertionResult same_bits(const char *ae, const char *ee, T actual, T expected) {
    using U = std::conditional_t<sizeof(T) == 8, std::uint64_t, std::uint32_t>;
    if (std::bit_cast<U>(actual) == std::bit_cast<U>(expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << ae << " = " << describe(actual) << "\n  expected "
                                         << ee << " = " << describe(expected);
}

inline bool is_quiet_nan(double x) {
    return std::isnan(x) && (std::bit_cast<std::uint64_t>(x) & 0x0008000000000000ull) != 0;
}

// |got - want| / |want|; 0 when both are the same NaN class or the same
// infinity, +inf when only one of them is NaN or infinite, |got| for want = 0.
inline double rel_error(double got, double want) {
    if (std::isnan(want) || std::isnan(got))
        return std::isnan(want) && std::isnan(got) ? 0.0 : std::numeric_limits<double>::infinity();
    if (std::isinf(want) || std::isinf(got))
        return got == want ? 0.0 : std::numeric_limits<double>::infinity();
    if (want == 0.0) return std::fabs(got);
    return std::fabs(got - want) / std::fabs(want);
}

}  // namespace velk::test

// Bit-for-bit comparison of doubles or floats (both sides the same type).
#define EXPECT_BITEQ(actual, expected) \
    EXPECT_PRED_FORMAT2(::velk::test::same_bits, actual, expected)
#define ASSERT_BITEQ(actual, expected) \
    ASSERT_PRED_FORMAT2(::velk::test::same_bits, actual, expected)
