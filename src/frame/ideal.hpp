#pragma once
#include <cstdint>

namespace velk::frame {
double ideal_frequency(std::int32_t n, double c, double a);
double equal_volume_radius(double a1, double a2, double a3);
}  // namespace velk::frame
