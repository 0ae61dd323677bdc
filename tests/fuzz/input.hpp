// Reads a fuzzer's bytes as the raw bits of numbers: any double (NaN,
// infinities, subnormals included) or int32; past the end, zeros.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace velk::fuzz {

class Input {
public:
    Input(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}

    template <class T>
    T raw() {
        T v{};
        const std::size_t n = pos_ < size_ ? std::min(sizeof v, size_ - pos_) : 0;
        std::memcpy(&v, data_ + pos_, n);
        pos_ += sizeof v;
        return v;
    }
    double real() { return raw<double>(); }
    std::int32_t integer() { return raw<std::int32_t>(); }
    std::uint8_t byte() { return raw<std::uint8_t>(); }
    // A value in [lo, hi] from the next 4 bytes.
    double in(double lo, double hi) { return lo + (hi - lo) * (raw<std::uint32_t>() / 4294967295.0); }

private:
    const std::uint8_t *data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

inline std::uint64_t bits(double x) {
    std::uint64_t b;
    std::memcpy(&b, &x, 8);
    return b;
}

// A failed property: report it and stop, so that libFuzzer keeps the input.
[[noreturn]] inline void fail(const char *what) {
    __builtin_printf("property failed: %s\n", what);
    __builtin_trap();
}

}  // namespace velk::fuzz
