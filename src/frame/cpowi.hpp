#pragma once
#include <cstdint>

namespace velk::frame {
struct fcplx {
    float re = 0.0f;
    float im = 0.0f;
};
fcplx cpowi(fcplx z, std::int32_t n);
}  // namespace velk::frame
