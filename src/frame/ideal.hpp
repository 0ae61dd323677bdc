#pragma once
#include <cstdint>

#include "velk/model.hpp"

namespace velk::frame {
double ideal_frequency(std::int32_t n, double c, double a, const Model &model);
double equal_volume_radius(double a1, double a2, double a3);
}  // namespace velk::frame
