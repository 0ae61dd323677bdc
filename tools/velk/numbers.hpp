// Numbers on the command line and in reports: strict parsing of doubles,
// floats and 32-bit integers (the whole text must be the number), and
// printing with 17 significant digits, which reads back to the same double.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velk::tool {

// A decimal floating-point number (no hexadecimal), "inf", "-inf" or "nan"
// (any case); a leading '+' is allowed.  Empty on anything else.
std::optional<double> parse_double(std::string_view s);
// The same, rounded once to single precision.
std::optional<float> parse_float(std::string_view s);
// A decimal integer in the int32 range.
std::optional<std::int32_t> parse_int32(std::string_view s);

// 17 significant digits ("%.17g"), "nan", "inf" or "-inf"; -0 keeps its sign.
std::string round_trip(double x);
// Fixed-point with the given number of decimals; exactly 0 prints as "0".
std::string fixed(double x, int decimals);

}  // namespace velk::tool
