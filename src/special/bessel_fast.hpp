// J_n(z) by the same backward recurrence as besselj_plain (bessel.hpp), with
// the same bits, doing only the work that can change a bit of the result.
#pragma once

#include <bit>
#include <cstdint>

#include "frame/numeric.hpp"
#include "special/bessel.hpp"

namespace velk::special {

// J_n(z); the same value as besselj_plain(n, z), bit for bit (a NaN result is
// NaN in both).
cplx besselj_fast(std::int32_t n, cplx z);

// J_1(z) and J_0(z) of one argument.  Where both orders are not above
// floor|z| the two share one search, one recurrence and one normaliser.
struct BesselPair {
    cplx j1;
    cplx j0;
};
BesselPair besselj10(cplx z);

// The same at two arguments: out[k] = besselj10(z[k]).  Where both searches
// run out (|z|^2 > floor|z| + 201) the two evaluations advance side by side.
void besselj10(const cplx (&z)[2], BesselPair (&out)[2]);

// Where the start-index search for order n at z makes no stop test (it runs
// out: |z|^2 > floor|z| + 201 and n <= floor|z|), it is 200 steps of the trial
// recurrence with coefficient c = 2(m0 + 1)/z, nstart = m0 + 201 and the seed
// the last trial value: what the batch evaluation does in lanes.  True, with
// m0 = floor|z|, when it runs out.
bool search_runs_out(std::int32_t n, const cplx &z, std::int32_t &m0);
// The same from |z| = cabs(z) in every case: the reference of the one above,
// which decides most arguments without it.
bool search_runs_out_plain(std::int32_t n, cplx z, std::int32_t &m0);

// normbesselj (bessel.hpp) through the same kernel.
cplx normbesselj_fast(std::int32_t n, cplx z, std::int32_t nstart, cplx seed);

// A quarter of the spacing of doubles at |s| for normal s; 0 for zero and
// subnormal s; +inf for infinite or NaN s.  A term below it (in magnitude)
// added to s returns s unchanged.
inline double quarter_spacing(double s) {
    const std::uint64_t e = std::bit_cast<std::uint64_t>(s) & 0x7ff0000000000000ull;
    return std::bit_cast<double>(e) * 0x1p-54;
}

// Longest work sequence (nstart + 1 members) served from the stack, which
// covers every |z| below 2000; longer ones come from the heap.
inline constexpr std::int32_t kBesselStackMembers = 2304;

}  // namespace velk::special
