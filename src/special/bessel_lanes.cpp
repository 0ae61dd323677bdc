// Vector kernels of the Bessel batch: the trial recurrence, the backward
// recurrence and the normaliser's rotated sum of many arguments side by
// side, one argument per lane.
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
// Vectors per group: independent chains in flight to hide the latency of
// each step.
constexpr std::size_t kUnroll = 2;

std::size_t Width() { return hn::Lanes(D()) * kUnroll; }

void Trial(const double *cre, const double *cim, double *seed_re, double *seed_im) {
    const D d;
    const std::size_t n = hn::Lanes(d);
    V c_re[kUnroll], c_im[kUnroll], pr[kUnroll], pi[kUnroll], qr[kUnroll], qi[kUnroll];
    for (std::size_t u = 0; u < kUnroll; ++u) {
        c_re[u] = hn::LoadU(d, cre + u * n);
        c_im[u] = hn::LoadU(d, cim + u * n);
        pr[u] = hn::Set(d, 1.0);
        pi[u] = hn::Zero(d);
        qr[u] = c_re[u];
        qi[u] = c_im[u];
    }
    for (int i = 0; i < 200; ++i) {
        for (std::size_t u = 0; u < kUnroll; ++u) {
            // q_{j+1} = c q_j - q_{j-1}
            const V nr = (c_re[u] * qr[u] - c_im[u] * qi[u]) - pr[u];
            const V ni = (c_re[u] * qi[u] + c_im[u] * qr[u]) - pi[u];
            pr[u] = qr[u];
            pi[u] = qi[u];
            qr[u] = nr;
            qi[u] = ni;
        }
    }
    for (std::size_t u = 0; u < kUnroll; ++u) {
        hn::StoreU(qr[u], d, seed_re + u * n);
        hn::StoreU(qi[u], d, seed_im + u * n);
    }
}

// w_{k-1} = (2k/z) w_k - w_{k+1}, k = kmax - 1 .. 1.  (2k, 0)/z by the
// library's division with the divisor's branch, r and t of each lane:
// narrow ((2k + 0 r)/t, (0 - 2k r)/t), wide ((2k r + 0)/t, (0 r - 2k)/t).  On
// the ray z = x(1 - i) (narrow, r = -1) both numerators are 2k exactly, so
// one quotient serves both parts, and the quotients come from a table made
// beforehand (RayQuotients).
template <bool Ray, bool Masked>
HWY_INLINE void Steps(const Group &g, double *w_re, double *w_im, std::int32_t from,
                      std::int32_t to, V (&ar)[kUnroll], V (&ai)[kUnroll], V (&br)[kUnroll],
                      V (&bi)[kUnroll]) {
    const D d;
    const std::size_t n = hn::Lanes(d), width = n * kUnroll;
    V r[kUnroll], t[kUnroll], nst[kUnroll];
    hn::Mask<D> wide[kUnroll];
    for (std::size_t u = 0; u < kUnroll; ++u) {
        r[u] = hn::LoadU(d, g.r + u * n);
        t[u] = hn::LoadU(d, g.t + u * n);
        nst[u] = hn::LoadU(d, g.nstart + u * n);
        wide[u] = hn::Ne(hn::LoadU(d, g.wide + u * n), hn::Zero(d));
    }
    const V zero = hn::Zero(d);
    for (std::int32_t k = from; k >= to; --k) {
        const V kk = hn::Set(d, static_cast<double>(k));
        const V twok = hn::Set(d, 2.0 * static_cast<double>(k));
        for (std::size_t u = 0; u < kUnroll; ++u) {
            V dr, di;
            if constexpr (Ray) {
                dr = hn::LoadU(d, g.quot + static_cast<std::size_t>(k) * width + u * n);
                di = dr;
            } else {
                const V num_r = hn::IfThenElse(wide[u], twok * r[u] + zero, twok + zero * r[u]);
                const V num_i = hn::IfThenElse(wide[u], zero * r[u] - twok, zero - twok * r[u]);
                dr = num_r / t[u];
                di = num_i / t[u];
            }
            const V nr = (dr * ar[u] - di * ai[u]) - br[u];
            const V ni = (dr * ai[u] + di * ar[u]) - bi[u];
            const std::size_t at = static_cast<std::size_t>(k - 1) * width + u * n;
            hn::StoreU(nr, d, w_re + at);
            hn::StoreU(ni, d, w_im + at);
            if constexpr (Masked) {
                // A lane starts at k = nstart - 1.
                const auto active = hn::Lt(kk, nst[u]);
                br[u] = hn::IfThenElse(active, ar[u], br[u]);
                bi[u] = hn::IfThenElse(active, ai[u], bi[u]);
                ar[u] = hn::IfThenElse(active, nr, ar[u]);
                ai[u] = hn::IfThenElse(active, ni, ai[u]);
            } else {
                br[u] = ar[u];
                bi[u] = ai[u];
                ar[u] = nr;
                ai[u] = ni;
            }
        }
    }
}

// The ray's quotients q_k = 2k/t, k = 1 .. kmax - 1, at quot[k * width +
// lane].  For odd k a division; for even k = 2m, q_k = 2 q_m: doubling is
// exact and commutes with the rounding of the quotient as long as neither
// overflows nor is subnormal: on the ray t = 2x = sqrt(2) |z| lies between
// 20 and 3000 (lanes take 14 < |z| < 2103, k < 2304), so 2k/t lies between
// 6e-4 and 230.  Half the divisions, the same bits.
void RayQuotients(const Group &g) {
    const D d;
    const std::size_t n = hn::Lanes(d), width = n * kUnroll;
    const V two = hn::Set(d, 2.0);
    V t[kUnroll];
    for (std::size_t u = 0; u < kUnroll; ++u) t[u] = hn::LoadU(d, g.t + u * n);
    for (std::int32_t k = 1; k < g.kmax; ++k) {
        const std::size_t at = static_cast<std::size_t>(k) * width;
        if ((k & 1) != 0) {
            const V twok = hn::Set(d, 2.0 * static_cast<double>(k));
            for (std::size_t u = 0; u < kUnroll; ++u)
                hn::StoreU(twok / t[u], d, g.quot + at + u * n);
        } else {
            const std::size_t half = static_cast<std::size_t>(k / 2) * width;
            for (std::size_t u = 0; u < kUnroll; ++u)
                hn::StoreU(two * hn::LoadU(d, g.quot + half + u * n), d, g.quot + at + u * n);
        }
    }
}

template <bool Ray>
void RecurrenceOf(const Group &g, double *w_re, double *w_im) {
    if constexpr (Ray) RayQuotients(g);
    const D d;
    const std::size_t n = hn::Lanes(d);
    V ar[kUnroll], ai[kUnroll], br[kUnroll], bi[kUnroll];
    for (std::size_t u = 0; u < kUnroll; ++u) {
        ar[u] = hn::LoadU(d, g.last_re + u * n);
        ai[u] = hn::LoadU(d, g.last_im + u * n);
        br[u] = hn::Zero(d);
        bi[u] = hn::Zero(d);
    }
    // Until every lane has started, then all together.
    Steps<Ray, true>(g, w_re, w_im, g.kmax - 1, g.kmin, ar, ai, br, bi);
    Steps<Ray, false>(g, w_re, w_im, g.kmin - 1, 1, ar, ai, br, bi);
}

void Recurrence(const Group &g, double *w_re, double *w_im) {
    if (g.ray)
        RecurrenceOf<true>(g, w_re, w_im);
    else
        RecurrenceOf<false>(g, w_re, w_im);
}

// sum_{k=1}^{nstart} 2 i^(q k) w_k from zero in increasing k, q = q1; the
// rotations are exchanges and sign changes, the doubling exact.  A lane adds
// nothing beyond its own nstart.
void RotatedSum(const Group &g, const double *w_re, const double *w_im, double *sr_out,
                double *si_out) {
    const D d;
    const std::size_t n = hn::Lanes(d), width = n * kUnroll;
    const V two = hn::Set(d, 2.0);
    V sr[kUnroll], si[kUnroll], nst[kUnroll];
    for (std::size_t u = 0; u < kUnroll; ++u) {
        sr[u] = hn::Zero(d);
        si[u] = hn::Zero(d);
        nst[u] = hn::LoadU(d, g.nstart + u * n);
    }
    for (std::int32_t k = 1; k <= g.kmax; ++k) {
        const unsigned q = (static_cast<unsigned>(k) * g.q1) & 3u;
        const V kk = hn::Set(d, static_cast<double>(k));
        for (std::size_t u = 0; u < kUnroll; ++u) {
            const std::size_t at = static_cast<std::size_t>(k) * width + u * n;
            const V wr = two * hn::LoadU(d, w_re + at);
            const V wi = two * hn::LoadU(d, w_im + at);
            V tr, ti;
            switch (q) {
                case 0: tr = wr; ti = wi; break;
                case 1: tr = hn::Neg(wi); ti = wr; break;
                case 2: tr = hn::Neg(wr); ti = hn::Neg(wi); break;
                default: tr = wi; ti = hn::Neg(wr); break;
            }
            if (k <= g.kmin) {
                sr[u] = sr[u] + tr;
                si[u] = si[u] + ti;
            } else {
                const auto active = hn::Le(kk, nst[u]);
                sr[u] = hn::IfThenElse(active, sr[u] + tr, sr[u]);
                si[u] = hn::IfThenElse(active, si[u] + ti, si[u]);
            }
        }
    }
    for (std::size_t u = 0; u < kUnroll; ++u) {
        hn::StoreU(sr[u], d, sr_out + u * n);
        hn::StoreU(si[u], d, si_out + u * n);
    }
}

Kernels GetKernels() {
    return Kernels{hwy::TargetName(HWY_TARGET), Width(), &Trial, &Recurrence, &RotatedSum};
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
