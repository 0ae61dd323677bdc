// Microwave triplets: ascending sort through an array descriptor, the TE1n
// and TM1n mode-family factors and the deformation parameters of a triplet.
//
// sortfreq: seven work slots w1..w7, -1 marking an empty slot.  fa goes to w4;
//   fb to w2 if fa > fb, else (also for a NaN) to w6; fc in front of the first
//   stored value greater than it, else to w7.  The non-empty slots are then
//   written out in slot order as elements 1, 2, ... of the output array, element
//   j at base + (j - 1) * stride doubles (stride 0 counts as 1).  Comparisons
//   are ordered: a NaN is never greater, so it stays where its rule put it and
//   is always written out.
//   Special cases:
//   - A value equal to -1 cannot be told from an empty slot: it is dropped and
//     one element fewer is written; elements beyond those written keep their
//     contents.
//   - Empty slots are passed over in the scan for fc.  For fc >= -1 (and a NaN)
//     this is the plain scan, since -1 is never greater than fc; an fc below -1
//     would otherwise stop at the empty w1 and belong in front of it, outside
//     the work area.  Passing over them, fc lands in w1, w3 or w5 (in front of a
//     stored value, which only ever sits in w2, w4 or w6) or in w7, so it comes
//     out in sorted place and every store stays within the seven slots.
//   - A negative stride walks down from the base address, as for a reversed
//     section whose base is the address of its element 1: element j lies
//     (j - 1) * |stride| doubles below it.  Only elements 1 to 3 of the
//     described array are ever touched, whatever the sign of the stride.
//   - A descriptor whose elements would run past either end of the address
//     space describes no storage: nothing is written and 0 is returned.
//   - Elements are stored bytewise, so a misaligned base address is harmless.
//   The inputs are read before anything is written, so the output array may
//   overlap them.
//
// hte = (4 + z^2) / (z^2 - 2); htm = (4 + 2 z^2) / (15 z^2 - 2), no pole at any
//   tabulated eigenvalue.
//
// Eps_TE1n, Eps_TM1n: with the triplet sorted, f1 <= f2 <= f3, and the mean fm,
//   eps1 = (f2^2 - f1^2) / (3 fm^2 h), eps2 = (f2^2 - f3^2) / (3 fm^2 h),
//   h = hte(zte(n)) or htm(ztm(n)).
//   Special cases: a mode number outside the table gives quiet NaN in both
//   outputs; so does a triplet of which sortfreq returns fewer than three
//   values (an input equal to -1), rather than a result computed from an
//   element it never wrote.  Three zero frequencies give NaN (0/0); equal
//   frequencies give +0.
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>

#include "frame/numeric.hpp"
#include "frame/tables.hpp"
#include "shape/shape.hpp"

namespace velk::shape {
namespace {

constexpr double empty = -1.0;
constexpr std::size_t slots = 7;

// Elements 1..count at base + (j - 1) * stride doubles lie inside the address
// space: the farthest is at most 2 * 2^31 doubles from the base.
bool within_address_space(const double *base, std::int64_t stride, int count) {
    constexpr std::uint64_t top = std::numeric_limits<std::uintptr_t>::max();
    constexpr std::uint64_t last_byte = sizeof(double) - 1;
    const std::uint64_t at = reinterpret_cast<std::uintptr_t>(base);
    const std::uint64_t step = static_cast<std::uint64_t>(stride < 0 ? -stride : stride);
    const std::uint64_t reach = static_cast<std::uint64_t>(count - 1) * step * sizeof(double);
    if (at > top - last_byte) return false;
    return stride > 0 ? reach <= top - last_byte - at : reach <= at;
}

Deformation from_triplet(double fa, double fb, double fc, double h) {
    std::array<double, 3> f{};
    if (sort_frequencies(triplet_descriptor(f.data()), fa, fb, fc) < 3) return {qnan, qnan};
    // fm = (((0 + f1) + f2) + f3) / 3
    double s = 0.0;
    s = s + f[0];
    s = s + f[1];
    s = s + f[2];
    const double fm = s / 3.0;
    // eps = (f2 f2 - fk fk) / (((fm fm) 3) h), the divisor formed for each output
    const double eps1 = (f[1] * f[1] - f[0] * f[0]) / (((fm * fm) * 3.0) * h);
    const double eps2 = (f[1] * f[1] - f[2] * f[2]) / (((fm * fm) * 3.0) * h);
    return {eps1, eps2};
}

}  // namespace

int sort_frequencies(const velk_descriptor &out, double fa, double fb, double fc) {
    double *const base = out.base;
    const std::int64_t stride = out.stride == 0 ? 1 : out.stride;

    std::array<double, slots> w;
    w.fill(empty);
    w[3] = fa;
    if (fa > fb) {
        w[1] = fb;
    } else {
        w[5] = fb;
    }
    // w1 is still empty, so the scan starts at w2 and the slot in front of
    // a stored value (w2, w4 or w6) is w1, w3 or w5.
    std::size_t k = 1;
    while (k < slots && !(w[k] != empty && w[k] > fc)) ++k;
    if (k < slots) {
        w[k - 1] = fc;
    } else {
        w[slots - 1] = fc;
    }
    // Compact in place: three values in distinct slots, so count <= 3.
    int count = 0;
    for (std::size_t i = 0; i < slots; ++i)
        if (w[i] != empty) w[count++] = w[i];

    if (count == 0 || !within_address_space(base, stride, count)) return 0;
    for (int j = 0; j < count; ++j) std::memcpy(base + j * stride, &w[j], sizeof(double));
    return count;
}

velk_descriptor triplet_descriptor(double *first) {
    velk_descriptor d{};
    d.base = first;
    d.offset = -1;
    d.elem_len = sizeof(double);
    d.version = 0;
    d.rank = 1;
    d.type = 3;  // a real element
    d.attribute = 0;
    d.span = sizeof(double);
    d.stride = 1;
    d.lbound = 1;
    d.ubound = 3;
    return d;
}

double te_family_factor(double z) {
    // (4 + z z) / (z z - 2)
    return (4.0 + z * z) / (z * z - 2.0);
}

double tm_family_factor(double z) {
    // (4 + (z z + z z)) / (15 (z z) - 2)
    return (4.0 + (z * z + z * z)) / (15.0 * (z * z) - 2.0);
}

Deformation eps_te1n(double fa, double fb, double fc, std::int32_t n, const Model &model) {
    return from_triplet(fa, fb, fc, te_family_factor(zte_at(model, n)));
}

Deformation eps_tm1n(double fa, double fb, double fc, std::int32_t n, const Model &model) {
    return from_triplet(fa, fb, fc, tm_family_factor(ztm_at(model, n)));
}

}  // namespace velk::shape
