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
//     addition returns the running sum unchanged.  The bound is the sum of
//     the parts' magnitudes over the remaining members (never below any of
//     them, +inf or NaN once one is not finite), kept while the recurrence
//     makes them.
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
    // The expression grows with i: none is a number when the last is not.
    if (!bounded(200)) return 201;
    double guess = std::ceil(a2) - static_cast<double>(m0) - 1.0;
    if (!(guess < 200.0)) guess = 200.0;
    if (guess < 1.0) guess = 1.0;
    std::int32_t i = static_cast<std::int32_t>(guess);
    while (i > 1 && bounded(i - 1)) --i;
    while (i <= 200 && !bounded(i)) ++i;
    return i;
}

// What the search needs before its first step.
struct Plan {
    double a;                 // |z|
    std::int32_t m0;          // floor(a)
    cplx c;                   // 2(m0 + 1)/z
    std::int64_t scale_step;  // i_S, 64-bit: n may be near the top of the int32 range
    std::int64_t testing;     // first step in which the stop test can fire
    // No step can stop the search: it is 200 steps of the trial recurrence.
    bool runs_out() const { return testing > 200; }
};

bool plan(std::int32_t n, cplx z, Plan &p) {
    p.a = cabs(z);
    if (!(p.a < kModulusLimit)) return false;
    p.m0 = static_cast<std::int32_t>(std::floor(p.a));
    const std::int32_t nmax = n > p.m0 ? n : p.m0;
    p.c = cdiv({2.0 * static_cast<double>(p.m0 + 1), 0.0}, z);
    p.scale_step = static_cast<std::int64_t>(nmax) - p.m0 + 1;
    const std::int64_t bounded = first_bounded_step(p.m0, p.a * p.a);
    p.testing = p.scale_step > bounded ? p.scale_step : bounded;
    return true;
}

bool search(std::int32_t n, cplx z, Search &out) {
    Plan p;
    if (!plan(n, z, p)) return false;
    const double a = p.a, a2 = p.a * p.a;
    const std::int32_t m0 = p.m0;
    const cplx c = p.c;
    const std::int64_t scale_step = p.scale_step, testing = p.testing;
    out.m0 = m0;

    Trial q{1.0, 0.0, c.re, c.im};
    std::int32_t i = 1;
    if (p.runs_out()) {
        // 200 trial values, the last is the seed.
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

// |re| + |im|: never below either part; +inf or NaN for a member that is not
// finite, and a running sum of these bounds every member it has passed.
double bound_of(double re, double im) { return std::fabs(re) + std::fabs(im); }

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

// The backward recurrence w_{k-1} = (2k/z) w_k - w_{k+1}, one step at a
// time from k = nstart - 1 down to 1, over a sequence whose w[nstart] and
// w[nstart - 1] are set; tail[b] becomes a bound of every part of the members
// from 8b on (the running sum of their bounds).  The quotient 2k/z = (2k, 0)/z shares the divisor's branch (Wide:
// |Im z| > |Re z|), r and t for all k; its two divisions do not depend on the
// sequence and run ahead of it.
template <bool Wide>
struct Recurrence {
    Member *w;
    double *tail;
    double r, t;
    double ar, ai, br = 0.0, bi = 0.0;  // w_k, w_{k+1}
    double bound;

    Recurrence(Member *w_, double *tail_, std::int32_t nstart, cplx z)
        : w(w_), tail(tail_), r(Wide ? z.re / z.im : z.im / z.re),
          t(Wide ? z.im + z.re * r : z.re + z.im * r), ar(w_[nstart - 1].re),
          ai(w_[nstart - 1].im), bound(tail_[(nstart - 1) >> 3]) {}

    template <bool Record = true>
    void step(std::int32_t k) {
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
        bound = bound + bound_of(nr, ni);
        if constexpr (Record) tail[(k - 1) >> 3] = bound;
    }
};

bool is_wide(cplx z) { return std::fabs(z.im) > std::fabs(z.re); }

// w[nstart] = 0, w[nstart - 1] = 1/seed, and their bounds.
void start_sequence(Member *w, double *tail, std::int32_t nstart, cplx seed) {
    const cplx last = cdiv({1.0, 0.0}, seed);
    w[nstart] = {0.0, 0.0};
    w[nstart - 1] = {last.re, last.im};
    tail[nstart >> 3] = 0.0;
    tail[(nstart - 1) >> 3] = bound_of(last.re, last.im);
}

template <bool Wide>
void recurrence(Member *w, double *tail, std::int32_t nstart, cplx z) {
    Recurrence<Wide> rec(w, tail, nstart, z);
    std::int32_t k = nstart - 1;
    for (; k >= 1 && (k & 7) != 0; --k) rec.step(k);
    // Blocks of eight members, 8b + 7 down to 8b; the bound of slot b once.
    for (; k >= 8; k -= 8) {
        rec.template step<false>(k);
        rec.template step<false>(k - 1);
        rec.template step<false>(k - 2);
        rec.template step<false>(k - 3);
        rec.template step<false>(k - 4);
        rec.template step<false>(k - 5);
        rec.template step<false>(k - 6);
        rec.template step<false>(k - 7);
        tail[(k - 8) >> 3] = rec.bound;
    }
}

// N by the sign of Im z, and w_n / N for each order.
void normalise(const Member *w, const double *tail, std::int32_t nstart, cplx z,
               const std::int32_t *orders, int count, cplx *out) {
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

    start_sequence(w, tail, nstart, seed);
    if (is_wide(z))
        recurrence<true>(w, tail, nstart, z);
    else
        recurrence<false>(w, tail, nstart, z);
    normalise(w, tail, nstart, z, orders, count, out);
    return true;
}

// J_1 and J_0 at two arguments whose searches both run out and whose
// divisors share their branch: the two trial recurrences and then the two
// backward recurrences advance side by side, each step of one independent of
// the other's.  Sequences of up to half the stack buffer each.
template <bool Wide>
void paired_kernel(const cplx (&z)[2], const std::int32_t (&nstart)[2], const cplx (&seed)[2],
                   BesselPair (&out)[2]) {
    constexpr std::int32_t half = kBesselStackMembers / 2;
    Member stack_w[kBesselStackMembers];
    double stack_tail[kBesselStackMembers / 8 + 2];
    Member *w[2] = {stack_w, stack_w + half};
    double *tail[2] = {stack_tail, stack_tail + half / 8 + 1};
    for (int s = 0; s < 2; ++s) start_sequence(w[s], tail[s], nstart[s], seed[s]);
    Recurrence<Wide> a(w[0], tail[0], nstart[0], z[0]), b(w[1], tail[1], nstart[1], z[1]);
    // The longer sequence runs alone until the shorter one starts.
    std::int32_t k = nstart[0] - 1;
    for (; k >= nstart[1]; --k) a.step(k);
    for (k = nstart[1] - 1; k >= nstart[0]; --k) b.step(k);
    for (k = (nstart[0] < nstart[1] ? nstart[0] : nstart[1]) - 1; k >= 1; --k) {
        a.step(k);
        b.step(k);
    }
    const std::int32_t orders[2] = {1, 0};
    for (int s = 0; s < 2; ++s) {
        cplx j[2];
        normalise(w[s], tail[s], nstart[s], z[s], orders, 2, j);
        out[s] = {j[0], j[1]};
    }
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

void besselj10(const cplx (&z)[2], BesselPair (&out)[2]) {
    Plan p[2];
    const bool paired = plan(0, z[0], p[0]) && plan(0, z[1], p[1]) && p[0].runs_out() &&
                        p[1].runs_out() && p[0].m0 >= 1 && p[1].m0 >= 1 &&
                        p[0].m0 + 201 < kBesselStackMembers / 2 &&
                        p[1].m0 + 201 < kBesselStackMembers / 2 &&
                        is_wide(z[0]) == is_wide(z[1]);
    if (!paired) {
        out[0] = besselj10(z[0]);
        out[1] = besselj10(z[1]);
        return;
    }
    Trial q0{1.0, 0.0, p[0].c.re, p[0].c.im}, q1{1.0, 0.0, p[1].c.re, p[1].c.im};
    for (std::int32_t i = 1; i <= 200; ++i) {
        q0.step(p[0].c);
        q1.step(p[1].c);
    }
    const std::int32_t nstart[2] = {p[0].m0 + 201, p[1].m0 + 201};
    const cplx seed[2] = {{q0.qr, q0.qi}, {q1.qr, q1.qi}};
    if (is_wide(z[0]))
        paired_kernel<true>(z, nstart, seed, out);
    else
        paired_kernel<false>(z, nstart, seed, out);
}

bool search_runs_out_plain(std::int32_t n, cplx z, std::int32_t &m0) {
    if (n < 0) return false;
    const double a = cabs(z);
    if (!(a < kModulusLimit)) return false;
    m0 = static_cast<std::int32_t>(std::floor(a));
    // n <= m0 makes i_S = 1 (plan): the first step that can test is the
    // first whose bound is a number.
    return n <= m0 && first_bounded_step(m0, a * a) > 200;
}

// The same answer, mostly without |z| itself (a call of the runtime's cabs):
// for 1 <= e^2 <= 1e18, e = sqrt(Re^2 + Im^2) lies within 2^-52 e of the
// true modulus (two squares, a sum and a root, each rounded), and so does
// any cabs within a few ulp of it: both lie well inside [lo, hi] = e (1 -+
// 2^-46).  Where both ends have the same floor, that is m0.  The search runs
// out when the quotient (m0 + 201)/a2, a2 = fl(|z|^2), rounds below 1: so it
// does when lo^2 >= m0 + 201 (then a2 exceeds m0 + 201 by some 2^-48 of it),
// and it does not when hi^2 <= m0 + 201.  Anything nearer takes the plain
// decision.  z by reference: a copy passed in registers would be stored in
// halves and read back whole, a stall of some 5 ns per call.
bool search_runs_out(std::int32_t n, const cplx &z, std::int32_t &m0) {
    if (n < 0) return false;
    const double s = z.re * z.re + z.im * z.im;
    if (s >= 1.0 && s <= 1e18) {
        const double e = std::sqrt(s);
        const double lo = e * (1.0 - 0x1p-46), hi = e * (1.0 + 0x1p-46);
        const double f = std::floor(lo);
        if (f == std::floor(hi)) {
            const double limit = f + 201.0;
            if (lo * lo >= limit) {
                m0 = static_cast<std::int32_t>(f);
                return n <= m0;
            }
            if (hi * hi <= limit) {
                m0 = static_cast<std::int32_t>(f);
                return false;
            }
        }
    }
    return search_runs_out_plain(n, z, m0);
}

cplx normbesselj_fast(std::int32_t n, cplx z, std::int32_t nstart, cplx seed) {
    if (nstart < 1 || n < 0 || n > nstart) return kNaN;
    cplx out;
    return kernel(z, nstart, seed, &n, 1, &out) ? out : kNaN;
}

}  // namespace velk::special
