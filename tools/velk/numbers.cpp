#include "numbers.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace velk::tool {
namespace {

template <class T>
std::optional<T> parse_number(std::string_view s) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty() || s.front() == '+') return std::nullopt;
    T value{};
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc{} || end != s.data() + s.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<double> parse_double(std::string_view s) { return parse_number<double>(s); }
std::optional<float> parse_float(std::string_view s) { return parse_number<float>(s); }
std::optional<std::int32_t> parse_int32(std::string_view s) {
    return parse_number<std::int32_t>(s);
}

std::string round_trip(double x) {
    if (std::isnan(x)) return "nan";
    if (std::isinf(x)) return x > 0 ? "inf" : "-inf";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", x);
    return buf;
}

std::string fixed(double x, int decimals) {
    if (std::isnan(x)) return "nan";
    if (std::isinf(x)) return x > 0 ? "inf" : "-inf";
    if (x == 0.0) return "0";
    std::string out(static_cast<std::size_t>(std::snprintf(nullptr, 0, "%.*f", decimals, x)), '\0');
    std::snprintf(out.data(), out.size() + 1, "%.*f", decimals, x);
    return out;
}

}  // namespace velk::tool
