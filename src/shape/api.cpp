// The C++ interface of the resonator shape analysis (velk.hpp).
#include "shape/shape.hpp"
#include "velk/velk.hpp"

namespace velk {

SortedTriplet sort_frequencies(double fa, double fb, double fc) {
    SortedTriplet s;
    s.count = shape::sort_frequencies(shape::triplet_descriptor(s.f.data()), fa, fb, fc);
    return s;
}

double te_family_factor(double z) { return shape::te_family_factor(z); }
double tm_family_factor(double z) { return shape::tm_family_factor(z); }

Deformation deformation_te1n(double fa, double fb, double fc, std::int32_t n, const Model &model) {
    const shape::Deformation e = shape::eps_te1n(fa, fb, fc, n, model);
    return {e.eps1, e.eps2};
}

Deformation deformation_tm1n(double fa, double fb, double fc, std::int32_t n, const Model &model) {
    const shape::Deformation e = shape::eps_tm1n(fa, fb, fc, n, model);
    return {e.eps1, e.eps2};
}

float second_order_te1n(double eps1, double eps2, std::int32_t n, const Model &model) {
    return shape::dzm2_te1n(eps1, eps2, n, model);
}

float second_order_tm1n(double eps1, double eps2, std::int32_t n, const Model &model) {
    return shape::dzm2_tm1n(eps1, eps2, n, model);
}

float second_order_ac(double eps1, double eps2, std::int32_t n, const Model &model) {
    const double eps[2] = {eps1, eps2};
    return shape::o2dz2_ac(eps, n, model);
}

}  // namespace velk
