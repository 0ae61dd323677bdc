// J_n(z) by backward recurrence, the fast evaluation of besselj_plain.
//
// Method
//   The same search, recurrence and normaliser as besselj_plain, operation
//   for operation on every value that reaches the result; what is left out
//   cannot change a bit of it:
//   - Search steps in which the stop test cannot fire make only the trial
//     value: steps before i_S, and steps whose bound rho2 is not a number
//     (then rho = rho2 and the bound is NaN).  rho2 is a number from the
//     first step with (m0 + i + 1)/a^2 - 1 >= 0 on, which is found directly
//     (the expression grows with i); once |z|^2 > m0 + 201 no step can stop
//     the search and it is a plain recurrence of 200 steps.
//   - The quotients 2k/z of the recurrence share the divisor's branch and
//     its r and t; only the two final divisions depend on k, and they do not
//     depend on the sequence, so they run ahead of it.
//   - The powers of +-i in the normaliser are exact rotations (swap and sign).
//   - The normaliser's sum stops adding once every remaining term is below a
//     quarter of the spacing of doubles at both running parts: each such
//     addition returns the running sum unchanged.  The bound is the largest
//     part of the remaining members, kept while the recurrence makes them.
//   - J_1 and J_0 of one argument with floor|z| >= 1 come from one search,
//     one sequence and one normaliser (the search does not depend on n <= m0).
//   - The work sequence lives on the stack up to kBesselStackMembers members,
//     on the heap beyond.
//
// Special cases and accuracy: those of besselj_plain.
#include "bessel_fast.hpp"

#include <bit>
#include <cfloat>
#include <cmath>
#include <limits>
#include <new>

namespace velk::special {
namespace {

constexpr cplx kNaN{qnan, qnan};
constexpr double kModulusLimit = 2147483446.0;  // floor(a) + 202 fits int32

struct Search {
    std::int32_t m0;
    std::int32_t nstart;
    cplx seed;
};

// The trial recurrence q_{j+1} = c q_j - q_{j-1}: p holds q_j, q holds q_{j+1}.
struct Trial {
    double pr, pi, qr, qi;
    void step(cplx c) {
        const double nr = (c.re * qr - c.im * qi) - pr;
        const double ni = (c.re * qi + c.im * qr) - pi;
        pr = qr;
        pi = qi;
        qr = nr;
        qi = ni;
    }
};

// First step i in 1..200 whose bound rho2 is a number, 201 if none.
std::int32_t first_bounded_step(std::int32_t m0, double a2) {
    auto bounded = [&](std::int32_t i) {
        return static_cast<double>(m0 + i + 1) / a2 - 1.0 >= 0.0;
    };
    double guess = std::ceil(a2) - static_cast<double>(m0) - 1.0;
    if (!(guess < 200.0)) guess = 200.0;
    if (guess < 1.0) guess = 1.0;
    std::int32_t i = static_cast<std::int32_t>(guess);
    while (i > 1 && bounded(i - 1)) --i;
    while (i <= 200 && !bounded(i)) ++i;
    return i;
}

bool search(std::int32_t n, cplx z, Search &out) {
    const double a = cabs(z);
    if (!(a < kModulusLimit)) return false;
    const std::int32_t m0 = static_cast<std::int32_t>(std::floor(a));
    const std::int32_t nmax = n > m0 ? n : m0;
    const cplx c = cdiv({2.0 * static_cast<double>(m0 + 1), 0.0}, z);
    const double a2 = a * a;
    // i_S as a 64-bit value: n may be near the top of the int32 range.
    const std::int64_t scale_step = static_cast<std::int64_t>(nmax) - m0 + 1;
    const std::int64_t bounded = first_bounded_step(m0, a2);
    const std::int64_t testing = scale_step > bounded ? scale_step : bounded;
    out.m0 = m0;

    Trial q{1.0, 0.0, c.re, c.im};
    std::int32_t i = 1;
    if (testing > 200) {
        // No step can stop the search: 200 trial values, the last is the seed.
        for (; i + 1 <= 200; i += 2) {
            q.step(c);
            q.step(c);
        }
        out.nstart = m0 + 201;
        out.seed = {q.qr, q.qi};
        return true;
    }
    for (; i < scale_step; ++i) q.step(c);
    const double s = std::sqrt(2e10 * cabs(cplx{q.qr, q.qi} * cplx{q.pr, q.pi}));
    for (; i < testing; ++i) q.step(c);
    for (; i <= 200; ++i) {
        const cplx q1{q.qr, q.qi};
        q.step(c);
        const cplx q2{q.qr, q.qi};
        const double rho1 = cabs(cdiv(q2, q1));
        const double rho2 = std::sqrt(static_cast<double>(m0 + i + 1) / a2 - 1.0) +
                            static_cast<double>(m0 + i) / a;
        const double rho = rho1 < rho2 ? rho1 : rho2;
        if (cabs(q1) >= s * std::sqrt(rho / (rho * rho - 1.0))) {
            out.nstart = m0 + i;
            out.seed = q2;
            return true;
        }
    }
    out.nstart = m0 + 201;
    out.seed = {q.qr, q.qi};
    return true;
}

struct Member {
    double re, im;  // no initialiser: the work storage is filled before use
};

// Largest part of a member; +inf for a member that is not finite.
double bound_of(double re, double im) {
    const double u = std::fabs(re), v = std::fabs(im);
    if (!(u <= DBL_MAX && v <= DBL_MAX)) return INFINITY;
    return u > v ? u : v;
}

// A quarter of the spacing of doubles at |s| for normal s; 0 for zero and
// subnormal s (no term is then skipped); +inf for infinite or NaN s.
double quarter_spacing(double s) {
    const std::uint64_t e = std::bit_cast<std::uint64_t>(s) & 0x7ff0000000000000ull;
    return std::bit_cast<double>(e) * 0x1p-54;
}

// 2 i^q (re + i im) added to (sr, si): an exact rotation and doubling.
template <unsigned Q>
void add_rotated(double &sr, double &si, Member w) {
    if constexpr (Q == 0) {
        sr = sr + 2.0 * w.re;
        si = si + 2.0 * w.im;
    } else if constexpr (Q == 1) {
        sr = sr + -(2.0 * w.im);
        si = si + 2.0 * w.re;
    } else if constexpr (Q == 2) {
        sr = sr + -(2.0 * w.re);
        si = si + -(2.0 * w.im);
    } else {
        sr = sr + 2.0 * w.im;
        si = si + -(2.0 * w.re);
    }
}

// sum_{k=1}^{nstart} 2 (sign i)^k w_k from zero in increasing k; Q1 = 1 for
// +i (Im z < 0), 3 for -i (Im z > 0).  tail[b] bounds every member from 8b on.
template <unsigned Q1>
cplx rotated_sum(const Member *w, const double *tail, std::int32_t nstart) {
    constexpr unsigned Q2 = (2 * Q1) & 3u, Q3 = (3 * Q1) & 3u;
    double sr = 0.0, si = 0.0;
    std::int32_t k = 1;
    for (; k + 3 <= nstart; k += 4) {
        if ((k & 7) == 1 && k > 1) {
            const double lr = quarter_spacing(sr), li = quarter_spacing(si);
            if (2.0 * tail[k >> 3] < (lr < li ? lr : li)) return {sr, si};
        }
        add_rotated<Q1>(sr, si, w[k]);
        add_rotated<Q2>(sr, si, w[k + 1]);
        add_rotated<Q3>(sr, si, w[k + 2]);
        add_rotated<0>(sr, si, w[k + 3]);
    }
    for (; k <= nstart; ++k) {
        switch ((static_cast<unsigned>(k) * Q1) & 3u) {
            case 0: add_rotated<0>(sr, si, w[k]); break;
            case 1: add_rotated<1>(sr, si, w[k]); break;
            case 2: add_rotated<2>(sr, si, w[k]); break;
            default: add_rotated<3>(sr, si, w[k]); break;
        }
    }
    return {sr, si};
}

// w_{k-1} = (2k/z) w_k - w_{k+1} for k = nstart - 1 .. 1, from w[nstart] and
// w[nstart - 1]; tail[b] becomes the largest part of the members from 8b on.
// The quotient 2k/z = (2k, 0)/z shares the divisor's branch (Wide: |Im z| >
// |Re z|), r and t for all k; its two divisions do not depend on the
// sequence and run ahead of it.
template <bool Wide>
void recurrence(Member *w, double *tail, std::int32_t nstart, cplx z) {
    const double r = Wide ? z.re / z.im : z.im / z.re;
    const double t = Wide ? z.im + z.re * r : z.re + z.im * r;
    double ar = w[nstart - 1].re, ai = w[nstart - 1].im, br = 0.0, bi = 0.0;  // w_k, w_{k+1}
    double largest = tail[(nstart - 1) >> 3];
    for (std::int32_t k = nstart - 1; k >= 1; --k) {
        const double twok = 2.0 * static_cast<double>(k);
        // (2k, 0)/z: wide ((2k r + 0)/t, (0 r - 2k)/t), else ((2k + 0 r)/t, (0 - 2k r)/t)
        const double dr = Wide ? (twok * r + 0.0) / t : (twok + 0.0 * r) / t;
        const double di = Wide ? (0.0 * r - twok) / t : (0.0 - twok * r) / t;
        const double nr = (dr * ar - di * ai) - br;
        const double ni = (dr * ai + di * ar) - bi;
        w[k - 1] = {nr, ni};
        br = ar;
        bi = ai;
        ar = nr;
        ai = ni;
        const double b = bound_of(nr, ni);
        largest = b > largest ? b : largest;
        tail[(k - 1) >> 3] = largest;
    }
}

// The recurrence from nstart, the normaliser, and w_n / N for each order;
// false when the work storage cannot be obtained.
bool kernel(cplx z, std::int32_t nstart, cplx seed, const std::int32_t *orders, int count,
            cplx *out) {
    Member stack_w[kBesselStackMembers];
    double stack_tail[kBesselStackMembers / 8 + 1];
    Member *w = stack_w;
    double *tail = stack_tail;
    // Longer sequences: one heap block holding the members and their bounds.
    struct Release {
        void *block = nullptr;
        ~Release() { ::operator delete(block); }
    } heap;
    if (nstart >= kBesselStackMembers) {
        const std::size_t len = static_cast<std::size_t>(nstart) + 1;
        if (len > kBesselMaxMembers) return false;
        heap.block = ::operator new(len * sizeof(Member) + (len / 8 + 1) * sizeof(double),
                                    std::nothrow);
        if (!heap.block) return false;
        w = static_cast<Member *>(heap.block);
        tail = reinterpret_cast<double *>(w + len);
    }

    const cplx last = cdiv({1.0, 0.0}, seed);
    w[nstart] = {0.0, 0.0};
    w[nstart - 1] = {last.re, last.im};
    tail[nstart >> 3] = 0.0;
    tail[(nstart - 1) >> 3] = bound_of(last.re, last.im);
    if (std::fabs(z.im) > std::fabs(z.re))
        recurrence<true>(w, tail, nstart, z);
    else
        recurrence<false>(w, tail, nstart, z);

    cplx norm{0.0, 0.0};
    const cplx w0{w[0].re, w[0].im};
    if (z.im > 0.0) {
        norm = (rotated_sum<3>(w, tail, nstart) + w0) * cexp({-z.im, z.re});  // e^{iz}
    } else if (z.im < 0.0) {
        norm = (rotated_sum<1>(w, tail, nstart) + w0) * cexp({z.im, -z.re});  // e^{-iz}
    } else if (z.im == 0.0) {
        cplx sum{0.0, 0.0};
        for (std::int32_t k = 1; k <= nstart / 2; ++k)
            sum = sum + cplx{2.0 * w[2 * k].re, 2.0 * w[2 * k].im};
        norm = sum + w0;
    }
    for (int j = 0; j < count; ++j) out[j] = cdiv({w[orders[j]].re, w[orders[j]].im}, norm);
    return true;
}

cplx evaluate(std::int32_t n, cplx z) {
    Search s;
    if (!search(n, z, s) || n >= s.nstart) return kNaN;
    cplx out;
    return kernel(z, s.nstart, s.seed, &n, 1, &out) ? out : kNaN;
}

}  // namespace

cplx besselj_fast(std::int32_t n, cplx z) {
    if (n >= 0) return evaluate(n, z);
    if (n == std::numeric_limits<std::int32_t>::min()) return kNaN;
    const cplx j = evaluate(-n, z);
    return (n & 1) != 0 ? cplx{-j.re, -j.im} : j;
}

BesselPair besselj10(cplx z) {
    Search s;
    if (!search(0, z, s)) return {kNaN, kNaN};
    if (s.m0 < 1) return {evaluate(1, z), evaluate(0, z)};
    // nstart >= m0 + 1 >= 2: both orders lie inside the sequence.
    const std::int32_t orders[2] = {1, 0};
    cplx out[2];
    if (!kernel(z, s.nstart, s.seed, orders, 2, out)) return {kNaN, kNaN};
    return {out[0], out[1]};
}

cplx normbesselj_fast(std::int32_t n, cplx z, std::int32_t nstart, cplx seed) {
    if (nstart < 1 || n < 0 || n > nstart) return kNaN;
    cplx out;
    return kernel(z, nstart, seed, &n, 1, &out) ? out : kNaN;
}

}  // namespace velk::special
