// A portable stand-in for the few vector operations of bessel_lanes.cpp,
// where Google Highway is not available (cross builds): four lanes of plain
// doubles, each operation a loop over the lanes, the same operation in every
// lane.  The names and signatures follow Highway's, so the kernels compile
// against either.
#pragma once

#include <cmath>
#include <cstddef>

#define HWY_BEFORE_NAMESPACE()
#define HWY_AFTER_NAMESPACE()
#define HWY_NAMESPACE portable
#define HWY_ONCE 1
#define HWY_INLINE inline
#define HWY_TARGET 0

namespace hwy::portable {

inline constexpr std::size_t kLanes = 4;

template <class T>
struct ScalableTag {};

template <class D>
struct VecOf {
    double v[kLanes];
};
template <class D>
using Vec = VecOf<D>;

template <class D>
struct Mask {
    bool m[kLanes];
};

template <class D>
std::size_t Lanes(D) {
    return kLanes;
}

template <class D>
Vec<D> Set(D, double x) {
    Vec<D> r;
    for (std::size_t i = 0; i < kLanes; ++i) r.v[i] = x;
    return r;
}
template <class D>
Vec<D> Zero(D d) {
    return Set(d, 0.0);
}
template <class D>
Vec<D> LoadU(D, const double *p) {
    Vec<D> r;
    for (std::size_t i = 0; i < kLanes; ++i) r.v[i] = p[i];
    return r;
}
template <class D>
void StoreU(Vec<D> a, D, double *p) {
    for (std::size_t i = 0; i < kLanes; ++i) p[i] = a.v[i];
}

#define VELK_LANEWISE(op)                                         \
    template <class D>                                            \
    Vec<D> operator op(Vec<D> a, Vec<D> b) {                      \
        for (std::size_t i = 0; i < kLanes; ++i) a.v[i] = a.v[i] op b.v[i]; \
        return a;                                                 \
    }
VELK_LANEWISE(+)
VELK_LANEWISE(-)
VELK_LANEWISE(*)
VELK_LANEWISE(/)
#undef VELK_LANEWISE

template <class D>
Vec<D> Neg(Vec<D> a) {
    for (std::size_t i = 0; i < kLanes; ++i) a.v[i] = -a.v[i];
    return a;
}
template <class D>
Vec<D> Abs(Vec<D> a) {
    for (std::size_t i = 0; i < kLanes; ++i) a.v[i] = std::fabs(a.v[i]);
    return a;
}
template <class D>
Mask<D> Lt(Vec<D> a, Vec<D> b) {
    Mask<D> r;
    for (std::size_t i = 0; i < kLanes; ++i) r.m[i] = a.v[i] < b.v[i];
    return r;
}
template <class D>
Mask<D> Le(Vec<D> a, Vec<D> b) {
    Mask<D> r;
    for (std::size_t i = 0; i < kLanes; ++i) r.m[i] = a.v[i] <= b.v[i];
    return r;
}
template <class D>
Mask<D> Ne(Vec<D> a, Vec<D> b) {
    Mask<D> r;
    for (std::size_t i = 0; i < kLanes; ++i) r.m[i] = a.v[i] != b.v[i];
    return r;
}
template <class D>
Vec<D> IfThenElse(Mask<D> m, Vec<D> yes, Vec<D> no) {
    for (std::size_t i = 0; i < kLanes; ++i) no.v[i] = m.m[i] ? yes.v[i] : no.v[i];
    return no;
}

}  // namespace hwy::portable

namespace hwy {
inline const char *TargetName(int) { return "portable (4 lanes)"; }
}  // namespace hwy
