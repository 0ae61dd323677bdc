// Bessel functions of the first kind J_n(z) for integer order and complex z,
// by backward recurrence (see bessel.cpp).  The plain evaluation is split
// into its three stages so that each can be checked on its own: the
// start-index search, the backward recurrence over a work sequence and the
// normaliser.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "frame/numeric.hpp"

namespace velk::special {

// Outcome of the start-index search.
struct BesselStart {
    std::int32_t count = 0;   // step in which the search stopped, 201 if it ran out
    std::int32_t nstart = 0;  // start index of the backward recurrence, m0 + count
    cplx seed;                // the last trial value made
};

// The search for order n and argument z.  Empty when |z| is not finite or so
// large that m0 + 202 does not fit a 32-bit integer.
std::optional<BesselStart> bessel_start(std::int32_t n, cplx z);

// Fills w[0..nstart] (nstart = w.size() - 1 >= 1) by the backward
// recurrence from w[nstart] = 0, w[nstart - 1] = 1/seed.
void bessel_recurrence(std::span<cplx> w, cplx z, cplx seed);

// The normaliser N of a filled sequence, by the sign of Im z.
cplx bessel_normaliser(std::span<const cplx> w, cplx z);

// w_n / N over a fresh work sequence of nstart + 1 values; quiet NaN for
// nstart < 1, n outside 0..nstart or a work sequence that cannot be obtained.
cplx normbesselj(std::int32_t n, cplx z, std::int32_t nstart, cplx seed);

// The plain evaluation: search, then normbesselj.  A negative order gives
// (-1)^n J_{-n}(z); an order with n >= nstart gives quiet NaN.
cplx besselj_plain(std::int32_t n, cplx z);

// Work sequences longer than this many members (1 GiB) are not obtained:
// the evaluation gives quiet NaN instead of exhausting the memory.
inline constexpr std::size_t kBesselMaxMembers = std::size_t{1} << 26;

// J_n(z) as the library's routines use it: the fast evaluation, the same
// bits as besselj_plain (bessel_fast.hpp).
cplx besselj_fast(std::int32_t n, cplx z);
inline cplx besselj(std::int32_t n, cplx z) { return besselj_fast(n, z); }

}  // namespace velk::special
