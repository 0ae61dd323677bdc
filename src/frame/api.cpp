// The C++ interface of the library frame (velk.hpp).
#include "frame/cpowi.hpp"
#include "frame/ideal.hpp"
#include "velk/velk.hpp"

namespace velk {

double equal_volume_radius(double a1, double a2, double a3) {
    return frame::equal_volume_radius(a1, a2, a3);
}

double ideal_frequency(std::int32_t n, double c, double a, const Model &model) {
    return frame::ideal_frequency(n, c, a, model);
}

std::complex<float> cpowi(std::complex<float> z, std::int32_t n) {
    const frame::fcplx w = frame::cpowi({z.real(), z.imag()}, n);
    return {w.re, w.im};
}

}  // namespace velk
