// The C++ interface of the microwave mode corrections (velk.hpp).
#include "microwave/corrections.hpp"
#include "velk/velk.hpp"

namespace velk {

double skin_depth(double x1, double x2, double x3, const Model &model) {
    return microwave::skin_depth(x1, x2, x3, model);
}

Perturbation skin_perturbation_te(double dsk, double a) {
    const cplx w = microwave::skin_te(dsk, a);
    return {w.re, w.im};
}

Perturbation skin_perturbation_tm1n(double dsk, double a, std::int32_t n, const Model &model) {
    const cplx w = microwave::skin_tm1n(dsk, a, n, model);
    return {w.re, w.im};
}

double cube_shift_te(double r, double a, const Model &model) {
    return microwave::cube_te(r, a, model);
}

double cube_shift_tm1n(double r, double a, std::int32_t n, const Model &model) {
    return microwave::cube_tm1n(r, a, n, model);
}

}  // namespace velk
