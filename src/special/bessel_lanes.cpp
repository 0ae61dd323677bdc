// Vector kernels of the Bessel batch: the trial recurrence, the backward
// recurrence, the normaliser's rotated sum (alone, or with another group's
// trial steps) and the complex division of many arguments side by side, one
// argument per lane.
//
// Every lane performs exactly the operations of the scalar evaluation
// (bessel_fast.cpp) in the same order: plain products, sums and quotients of
// doubles, no fused multiply-add (the build forbids contraction, and no
// fused operation is called), no reciprocal.  Lanes differ only in their
// data; the one thing that differs in their control is the start index, and
// lanes whose recurrence has not started yet keep their state (masking).
//
// With Google Highway the kernels are compiled for every x86 instruction set
// it can target (SSSE3, SSE4, AVX2, AVX-512, and a portable baseline) and the
// best one that the processor runs is chosen once; without it, a portable
// version of four lanes in plain C++ stands in.
#include <bit>
#include <cstddef>
#include <cstdint>

#if defined(VELK_HAVE_HWY)
#define HWY_COMPILE_ALL_ATTAINABLE
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "special/bessel_lanes.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>
#else
#include "special/lanes_portable.hpp"
#endif

#include "special/bessel_lanes.hpp"

HWY_BEFORE_NAMESPACE();
namespace velk::special::lanes {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using D = hn::ScalableTag<double>;
using V = hn::Vec<D>;
// Vectors per group: independent chains in flight.  A step of the
// recurrences is a chain of a product and two sums; three vectors keep the
// adder busy while each chain waits for its last step (two leave it idle,
// four spill the state out of the registers).
constexpr std::size_t kUnroll = 3;

std::size_t Width() { return hn::Lanes(D()) * kUnroll; }

// The loops over the vectors of a group are unrolled, so that every vector
// of the state stays in a register.
#define VELK_EACH_VECTOR _Pragma("GCC unroll 8")

// 2 and 1, not known to the compiler: a doubling stays a product (for the
// multiplier, idle in these loops) and is not turned into a sum (for the
// adder, which bounds them); a product by one is exact either way.
double Opaque(double x) {
    volatile double v = x;
    return v;
}

// The ray's quotient table: for odd m < kmax, 2m/t at quot[(m - 1)/2 * width
// + lane].  The recurrence takes each 2k/t as 2^e times the entry of the odd
// part m = k / 2^e: doubling is exact and commutes with the rounding of the
// quotient as long as neither overflows nor is subnormal; on the ray t = 2x =
// sqrt(2) |z| lies between 20 and 3000 (lanes take 14 < |z| < 2103, k <
// 2304), so 2k/t lies between 6e-4 and 230.  Half the divisions, the same
// bits.  The divider is idle in the recurrences, which keep the adder busy:
// a group's recurrence makes the next group's table, an entry at each even
// step and the few left after its last, and the trial steps make what is
// missing (the whole table for the first group of a run).

// Entry j (m = 2j + 1) of a table: 2m/t by lane.
HWY_INLINE void TableEntry(const double *t, double *quot, std::int32_t j) {
    const D d;
    const std::size_t n = hn::Lanes(d), width = n * kUnroll;
    const V twom = hn::Set(d, 2.0 * static_cast<double>(2 * j + 1));
    VELK_EACH_VECTOR for (std::size_t u = 0; u < kUnroll; ++u)
        hn::StoreU(twom / hn::LoadU(d, t + u * n), d,
                   quot + static_cast<std::size_t>(j) * width + u * n);
}

// q_{j+1} = c q_j - q_{j-1}, 200 steps, by lane.  On the ray c has equal
// parts (2(m0 + 1) over x(1 - i) is (a + 0 r)/t and (0 - a r)/t with r = -1,
// both a/t), so c q = (c qr - c qi, c qi + c qr) with two products.
// each(i) runs after step i: other work for the units the steps leave idle.
template <bool Ray, class Each>
HWY_INLINE void TrialOf(const Group &g, double *seed_re, double *seed_im, Each &&each) {
    const D d;
    const std::size_t n = hn::Lanes(d);
    V c_re[kUnroll], c_im[kUnroll], pr[kUnroll], pi[kUnroll], qr[kUnroll], qi[kUnroll];
    VELK_EACH_VECTOR for (std::size_t u = 0; u < kUnroll; ++u) {
        c_re[u] = hn::LoadU(d, g.cre + u * n);
        c_im[u] = hn::LoadU(d, g.cim + u * n);
        pr[u] = hn::Set(d, 1.0);
        pi[u] = hn::Zero(d);
        qr[u] = c_re[u];
        qi[u] = c_im[u];
    }
    const std::int32_t entries = Ray ? table_entries(g.kmax) : 0;
    const std::int32_t ready = Ray ? g.table_ready : 0;
    std::int32_t j = ready;
    for (std::int32_t i = 0; i < 200; ++i) {
        VELK_EACH_VECTOR for (std::size_t u = 0; u < kUnroll; ++u) {
            V nr, ni;
            if constexpr (Ray) {
                const V a = c_re[u] * qr[u], b = c_re[u] * qi[u];
                nr = (a - b) - pr[u];
                ni = (b + a) - pi[u];
            } else {
                nr = (c_re[u] * qr[u] - c_im[u] * qi[u]) - pr[u];
                ni = (c_re[u] * qi[u] + c_im[u] * qr[u]) - pi[u];
            }
            pr[u] = qr[u];
            pi[u] = qi[u];
            qr[u] = nr;
            qi[u] = ni;
        }
        if constexpr (Ray) {
            // The table's missing entries, spread evenly over the 200 steps
            // (the quotient's integer division, slow enough to hold the steps
            // back, only while some are missing).
            if (j < entries) {
                const std::int32_t until = ready + static_cast<std::int32_t>(
                    static_cast<std::int64_t>(entries - ready) * (i + 1) / 200);
                for (; j < until; ++j) TableEntry(g.t, g.quot, j);
            }
        }
        each(i);
    }
    VELK_EACH_VECTOR for (std::size_t u = 0; u < kUnroll; ++u) {
        hn::StoreU(qr[u], d, seed_re + u * n);
        hn::StoreU(qi[u], d, seed_im + u * n);
    }
}

void Trial(const Group &g, double *seed_re, double *seed_im) {
    auto none = [](std::int32_t) {};
    if (g.ray)
        TrialOf<true>(g, seed_re, seed_im, none);
    else
        TrialOf<false>(g, seed_re, seed_im, none);
}

// The state of the backward recurrences: a holds w_k, b holds w_{k+1}.
struct State {
    V ar[kUnroll], ai[kUnroll], br[kUnroll], bi[kUnroll];
    V bound[kUnroll];  // of the members not stored
};

// The bound of the members not stored (see Group::bound) with the new member
// (nr, ni).  With AVX-512: the largest part, |nr| or |ni| in one
// instruction (vrangepd, largest magnitude, sign cleared), and the largest
// so far by the bit patterns, which order non-negative doubles as their
// values and put NaN above infinity: two operations (one on the adder's
// port, one on the multiplier's) where the sum takes four (two of them on
// the adder's).  The bound stays finite until a member is not; the
// first member that is not has an infinite part (a NaN part arises only as
// infinity minus infinity, beside a sum of the same two infinities), and
// vrangepd returns infinity for it whatever it does with the NaN.
HWY_INLINE V Bounded(V bound, V nr, V ni) {
#if defined(VELK_HAVE_HWY) && HWY_ARCH_X86 && HWY_TARGET <= HWY_AVX3
    const D d;
    const hn::RebindToUnsigned<D> du;
    const V m{_mm512_range_pd(nr.raw, ni.raw, 0x0B)};
    return hn::BitCast(d, hn::Max(hn::BitCast(du, bound), hn::BitCast(du, m)));
#else
    return bound + (hn::Abs(nr) + hn::Abs(ni));
#endif
}

// The new member w_{k-1} = (nr, ni) of vector u, stored at row k - 1 or
// added to the bound, and the state moved on.  Masked: a lane starts at k =
// nstart - 1 and keeps its state before.
template <bool Masked, bool Store>
HWY_INLINE void Advance(const Group &g, std::int32_t k, std::size_t u, V nr, V ni, State &s,
                        double *w_re, double *w_im) {
    const D d;
    const std::size_t n = hn::Lanes(d), width = n * kUnroll;
    if constexpr (Store) {
        const std::size_t at = static_cast<std::size_t>(k - 1) * width + u * n;
        hn::StoreU(nr, d, w_re + at);
        hn::StoreU(ni, d, w_im + at);
    }
    if constexpr (Masked) {
        const auto active =
            hn::Lt(hn::Set(d, static_cast<double>(k)), hn::LoadU(d, g.nstart + u * n));
        if constexpr (!Store)
            s.bound[u] = hn::IfThenElse(active, Bounded(s.bound[u], nr, ni), s.bound[u]);
        s.br[u] = hn::IfThenElse(active, s.ar[u], s.br[u]);
        s.bi[u] = hn::IfThenElse(active, s.ai[u], s.bi[u]);
        s.ar[u] = hn::IfThenElse(active, nr, s.ar[u]);
        s.ai[u] = hn::IfThenElse(active, ni, s.ai[u]);
    } else {
        if constexpr (!Store) s.bound[u] = Bounded(s.bound[u], nr, ni);
        s.br[u] = s.ar[u];
        s.bi[u] = s.ai[u];
        s.ar[u] = nr;
        s.ai[u] = ni;
    }
}

// On the ray: both parts of 2k/z are q_k (see the table above), and the step is
// ((q ar - q ai) - br, (q ai + q ar) - bi) with two products.
template <bool Masked, bool Store>
HWY_INLINE void RaySteps(const Group &g, std::int32_t from, std::int32_t to, State &s,
                         double *w_re, double *w_im, std::int32_t &side) {
    const D d;
    const std::size_t n = hn::Lanes(d), width = n * kUnroll;
    // 2^e for e = 0 .. 11 (k < 2304); 2^0 hidden (see Opaque).
    const double pow2[12] = {Opaque(1.0), 2.0, 4.0, 8.0, 16.0, 32.0, 64.0, 128.0, 256.0, 512.0, 1024.0, 2048.0};
    for (std::int32_t k = from; k >= to; --k) {
        const int e = std::countr_zero(static_cast<std::uint32_t>(k));  // k = m 2^e, m odd
        const std::int32_t m = k >> e;
        const V vs = hn::Set(d, pow2[e]);
        const double *row = g.quot + static_cast<std::size_t>((m - 1) / 2) * width;
        VELK_EACH_VECTOR for (std::size_t u = 0; u < kUnroll; ++u) {
            const V q = vs * hn::LoadU(d, row + u * n);
            const V a = q * s.ar[u], b = q * s.ai[u];
            Advance<Masked, Store>(g, k, u, (a - b) - s.br[u], (b + a) - s.bi[u], s, w_re, w_im);
        }
        // The steps divide for nothing of their own: an entry of the next
        // group's table at every even k, a pace the divider keeps up with
        // and the branch predictor foresees.  Recurrence makes what is left.
        if (g.next_quot != nullptr && (k & 1) == 0 && side < g.next_entries)
            TableEntry(g.next_t, g.next_quot, side++);
    }
}

// Off the ray: (2k, 0)/z by the library's division with the divisor's
// branch, r and t of each lane: narrow ((2k + 0 r)/t, (0 - 2k r)/t), wide
// ((2k r + 0)/t, (0 r - 2k)/t).
template <bool Masked, bool Store>
HWY_INLINE void GeneralSteps(const Group &g, std::int32_t from, std::int32_t to, State &s,
                             double *w_re, double *w_im) {
    const D d;
    const std::size_t n = hn::Lanes(d);
    V r[kUnroll], t[kUnroll];
    hn::Mask<D> wide[kUnroll];
    VELK_EACH_VECTOR for (std::size_t u = 0; u < kUnroll; ++u) {
        r[u] = hn::LoadU(d, g.r + u * n);
        t[u] = hn::LoadU(d, g.t + u * n);
        wide[u] = hn::Ne(hn::LoadU(d, g.wide + u * n), hn::Zero(d));
    }
    const V zero = hn::Zero(d);
    for (std::int32_t k = from; k >= to; --k) {
        const V twok = hn::Set(d, 2.0 * static_cast<double>(k));
        VELK_EACH_VECTOR for (std::size_t u = 0; u < kUnroll; ++u) {
            const V num_r = hn::IfThenElse(wide[u], twok * r[u] + zero, twok + zero * r[u]);
            const V num_i = hn::IfThenElse(wide[u], zero * r[u] - twok, zero - twok * r[u]);
            const V dr = num_r / t[u], di = num_i / t[u];
            Advance<Masked, Store>(g, k, u, (dr * s.ar[u] - di * s.ai[u]) - s.br[u],
                            (dr * s.ai[u] + di * s.ar[u]) - s.bi[u], s, w_re, w_im);
        }
    }
}

template <bool Masked, bool Store>
HWY_INLINE void Run(const Group &g, std::int32_t from, std::int32_t to, State &s, double *w_re,
                    double *w_im, std::int32_t &side) {
    if (g.ray)
        RaySteps<Masked, Store>(g, from, to, s, w_re, w_im, side);
    else
        GeneralSteps<Masked, Store>(g, from, to, s, w_re, w_im);
}

// w_{k-1} = (2k/z) w_k - w_{k+1}, k = kmax - 1 .. 1: until every lane has
// started masked, then all together.
void Recurrence(const Group &g, double *w_re, double *w_im) {
    const D d;
    const std::size_t n = hn::Lanes(d);
    State s;
    VELK_EACH_VECTOR for (std::size_t u = 0; u < kUnroll; ++u) {
        s.ar[u] = hn::LoadU(d, g.last_re + u * n);
        s.ai[u] = hn::LoadU(d, g.last_im + u * n);
        s.br[u] = hn::Zero(d);
        s.bi[u] = hn::Zero(d);
        s.bound[u] = Bounded(hn::Zero(d), s.ar[u], s.ai[u]);  // w_{nstart-1}; w_nstart = 0
    }
    std::int32_t side = 0;  // entries of the next group's table made
    if (g.cut > g.kmax) {
        Run<true, true>(g, g.kmax - 1, g.kmin, s, w_re, w_im, side);
        Run<false, true>(g, g.kmin - 1, 1, s, w_re, w_im, side);
    } else {
        // Row k - 1 of step k is stored from k = cut on.
        Run<true, false>(g, g.kmax - 1, g.kmin, s, w_re, w_im, side);
        Run<false, false>(g, g.kmin - 1, g.cut + 1, s, w_re, w_im, side);
        Run<false, true>(g, g.cut, 1, s, w_re, w_im, side);
        VELK_EACH_VECTOR for (std::size_t u = 0; u < kUnroll; ++u)
            hn::StoreU(s.bound[u], d, g.bound + u * n);
    }
    // The next table's entries that the even steps left: one or two, more
    // where the next group starts higher.
    if (g.ray && g.next_quot != nullptr)
        for (; side < g.next_entries; ++side) TableEntry(g.next_t, g.next_quot, side);
}

// 2 i^Q w added to (sr, si): the rotation exchanges parts and changes signs
// (x + (-y) is x - y, bit for bit), the doubling is an exact product.
template <unsigned Q, bool Masked>
HWY_INLINE void AddRotated(std::int32_t k, const double *w_re, const double *w_im, V two,
                           const V (&nst)[kUnroll], V (&sr)[kUnroll], V (&si)[kUnroll]) {
    const D d;
    const std::size_t n = hn::Lanes(d), width = n * kUnroll;
    VELK_EACH_VECTOR for (std::size_t u = 0; u < kUnroll; ++u) {
        const std::size_t at = static_cast<std::size_t>(k) * width + u * n;
        const V wr = two * hn::LoadU(d, w_re + at);
        const V wi = two * hn::LoadU(d, w_im + at);
        V nr, ni;
        if constexpr (Q == 0) {
            nr = sr[u] + wr;
            ni = si[u] + wi;
        } else if constexpr (Q == 1) {
            nr = sr[u] - wi;
            ni = si[u] + wr;
        } else if constexpr (Q == 2) {
            nr = sr[u] - wr;
            ni = si[u] - wi;
        } else {
            nr = sr[u] + wi;
            ni = si[u] - wr;
        }
        if constexpr (Masked) {
            // A lane adds nothing beyond its own nstart.
            const auto active = hn::Le(hn::Set(d, static_cast<double>(k)), nst[u]);
            sr[u] = hn::IfThenElse(active, nr, sr[u]);
            si[u] = hn::IfThenElse(active, ni, si[u]);
        } else {
            sr[u] = nr;
            si[u] = ni;
        }
    }
}

// sum_{k=1}^{nstart} 2 i^(Q1 k) w_k from zero in increasing k, by lane; Q1
// = 1 for +i, 3 for -i.  Rows 1 .. open, which every lane adds, go in blocks
// of four; Finish adds the rest, each lane up to its own nstart, and stores
// the sums.
template <unsigned Q1>
struct RotatedSumOf {
    static constexpr unsigned Q2 = (2 * Q1) & 3u, Q3 = (3 * Q1) & 3u;
    const double *w_re, *w_im;
    V two, sr[kUnroll], si[kUnroll], nst[kUnroll];
    std::int32_t k = 1;     // the next row
    std::int32_t last;      // the last row added
    std::int32_t blocks;    // blocks of four rows that every lane adds

    // Inline throughout, so that the sums stay in registers.
    HWY_INLINE RotatedSumOf(const Group &g, const double *re, const double *im)
        : w_re(re), w_im(im) {
        const D d;
        const std::size_t n = hn::Lanes(d);
        two = hn::Set(d, Opaque(2.0));
        VELK_EACH_VECTOR for (std::size_t u = 0; u < kUnroll; ++u) {
            sr[u] = hn::Zero(d);
            si[u] = hn::Zero(d);
            nst[u] = hn::LoadU(d, g.nstart + u * n);
        }
        last = g.cut <= g.kmax ? g.cut - 1 : g.kmax;
        const std::int32_t open = g.kmin < last ? g.kmin : last;
        blocks = open / 4;
    }

    HWY_INLINE void Block() {
        AddRotated<Q1, false>(k, w_re, w_im, two, nst, sr, si);
        AddRotated<Q2, false>(k + 1, w_re, w_im, two, nst, sr, si);
        AddRotated<Q3, false>(k + 2, w_re, w_im, two, nst, sr, si);
        AddRotated<0, false>(k + 3, w_re, w_im, two, nst, sr, si);
        k += 4;
    }

    HWY_INLINE void Finish(double *sr_out, double *si_out) {
        while (k < 1 + 4 * blocks) Block();
        for (; k <= last; ++k) {
            switch ((static_cast<unsigned>(k) * Q1) & 3u) {
                case 0: AddRotated<0, true>(k, w_re, w_im, two, nst, sr, si); break;
                case 1: AddRotated<1, true>(k, w_re, w_im, two, nst, sr, si); break;
                case 2: AddRotated<2, true>(k, w_re, w_im, two, nst, sr, si); break;
                default: AddRotated<3, true>(k, w_re, w_im, two, nst, sr, si); break;
            }
        }
        const D d;
        const std::size_t n = hn::Lanes(d);
        VELK_EACH_VECTOR for (std::size_t u = 0; u < kUnroll; ++u) {
            hn::StoreU(sr[u], d, sr_out + u * n);
            hn::StoreU(si[u], d, si_out + u * n);
        }
    }
};

void RotatedSum(const Group &g, const double *w_re, const double *w_im, double *sr,
                double *si) {
    if (g.q1 == 1)
        RotatedSumOf<1>(g, w_re, w_im).Finish(sr, si);
    else
        RotatedSumOf<3>(g, w_re, w_im).Finish(sr, si);
}

// The trial steps of one group with the rotated sum of another: the sum
// reads its rows from the cache slower than the adder adds them, the trial
// steps keep the adder busy and read nothing.  The sum's blocks are spread
// evenly over the 200 steps (a running count, no division); each lane's sum
// is the same chain of additions in the same order as alone.
template <bool Ray, unsigned Q1>
void TrialSumOf(const Group &trial, const Group &sum, const double *w_re, const double *w_im,
                double *seed_re, double *seed_im, double *sr, double *si) {
    RotatedSumOf<Q1> s(sum, w_re, w_im);
    std::int32_t due = 0;  // 200 times the blocks due, less 200 times those added
    TrialOf<Ray>(trial, seed_re, seed_im, [&](std::int32_t) {
        for (due += s.blocks; due >= 200; due -= 200) s.Block();
    });
    s.Finish(sr, si);
}

void TrialSum(const Group &trial, const Group &sum, const double *w_re, const double *w_im,
              double *seed_re, double *seed_im, double *sr, double *si) {
    if (trial.ray) {
        if (sum.q1 == 1)
            TrialSumOf<true, 1>(trial, sum, w_re, w_im, seed_re, seed_im, sr, si);
        else
            TrialSumOf<true, 3>(trial, sum, w_re, w_im, seed_re, seed_im, sr, si);
    } else {
        if (sum.q1 == 1)
            TrialSumOf<false, 1>(trial, sum, w_re, w_im, seed_re, seed_im, sr, si);
        else
            TrialSumOf<false, 3>(trial, sum, w_re, w_im, seed_re, seed_im, sr, si);
    }
}

// velk::cdiv by lane: with r and t from the divisor's branch (wide: |yi| >
// |yr|), wide ((xr r + xi)/t, (xi r - xr)/t), narrow ((xr + xi r)/t, (xi -
// xr r)/t), where r = yr/yi, t = yi + yr r (wide) or r = yi/yr, t = yr + yi r.
// The real numerator is one sum of a product and a part (the order of a
// sum's operands does not change its bits); the imaginary ones differ in
// which part is multiplied, and both are formed.
void Divide(const double *xr, const double *xi, const double *yr, const double *yi, double *qr,
            double *qi) {
    const D d;
    const std::size_t n = hn::Lanes(d);
    for (std::size_t at = 0; at < Width(); at += n) {
        const V a = hn::LoadU(d, xr + at), b = hn::LoadU(d, xi + at);
        const V c = hn::LoadU(d, yr + at), e = hn::LoadU(d, yi + at);
        const auto wide = hn::Lt(hn::Abs(c), hn::Abs(e));
        const V num = hn::IfThenElse(wide, c, e), den = hn::IfThenElse(wide, e, c);
        const V r = num / den;
        const V t = den + num * r;
        const V re = hn::IfThenElse(wide, a * r + b, b * r + a) / t;
        const V im = hn::IfThenElse(wide, b * r - a, b - a * r) / t;
        hn::StoreU(re, d, qr + at);
        hn::StoreU(im, d, qi + at);
    }
}

Kernels GetKernels() {
    return Kernels{hwy::TargetName(HWY_TARGET), Width(), &Trial, &Recurrence, &RotatedSum,
                   &TrialSum, &Divide};
}

}  // namespace HWY_NAMESPACE
}  // namespace velk::special::lanes
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace velk::special::lanes {

#if defined(VELK_HAVE_HWY)
HWY_EXPORT(GetKernels);

const Kernels &best() {
    static const Kernels chosen = HWY_DYNAMIC_DISPATCH(GetKernels)();
    return chosen;
}

std::size_t available(const Kernels **out, std::size_t capacity) {
    static const struct All {
        Kernels sets[8];
        std::size_t count = 0;
        All() {
            const std::int64_t supported = hwy::SupportedTargets();
            auto add = [&](std::int64_t target, Kernels (*get)()) {
                if ((supported & target) != 0 && count < 8) sets[count++] = get();
            };
            (void)add;
#if HWY_TARGETS & HWY_AVX3
            add(HWY_AVX3, &N_AVX3::GetKernels);
#endif
#if HWY_TARGETS & HWY_AVX2
            add(HWY_AVX2, &N_AVX2::GetKernels);
#endif
#if HWY_TARGETS & HWY_SSE4
            add(HWY_SSE4, &N_SSE4::GetKernels);
#endif
#if HWY_TARGETS & HWY_SSSE3
            add(HWY_SSSE3, &N_SSSE3::GetKernels);
#endif
#if HWY_TARGETS & HWY_EMU128
            add(HWY_EMU128, &N_EMU128::GetKernels);
#endif
#if HWY_TARGETS & HWY_SCALAR
            add(HWY_SCALAR, &N_SCALAR::GetKernels);
#endif
        }
    } all;
    std::size_t k = 0;
    for (; k < all.count && k < capacity; ++k) out[k] = &all.sets[k];
    return k;
}
#else
const Kernels &best() {
    static const Kernels chosen = portable::GetKernels();
    return chosen;
}

std::size_t available(const Kernels **out, std::size_t capacity) {
    if (capacity == 0) return 0;
    out[0] = &best();
    return 1;
}
#endif

}  // namespace velk::special::lanes
#endif  // HWY_ONCE
