// J_n over arrays of arguments, bit for bit the values of besselj_fast.
//
// Method
//   Each argument is evaluated on its own (the recurrence is a serial chain
//   of dependent steps), but independent arguments run side by side: one
//   argument per lane of a vector (bessel_lanes.cpp), several vectors in
//   flight.  Lanes take the arguments whose start-index search makes no stop
//   test (|z|^2 > floor|z| + 201, floor|z| >= the order, Im z not 0): their
//   search is 200 plain trial steps, the same for every lane.  The other
//   arguments (small |z|, real z, very large |z|, non-finite z) go to the
//   scalar evaluation one by one.
//   The arguments are taken in chunks of 1024.  A chunk's lane arguments are
//   sorted (a counting sort) by the sign of Im z, by whether they lie on the
//   ray z = x(1 - i), and by start index, and taken in groups of the
//   kernel's width (the last group padded with a repeat of its last
//   argument).  In a group:
//   - the trial recurrences run together, from c = 2(m0 + 1)/z; each lane's
//     seed gives its w_{nstart-1} = 1/seed (both quotients the library's
//     division, in lanes);
//   - the backward recurrences run aligned on k, so that 2k is the same in
//     every lane: a lane whose start index lies below the group's largest
//     waits (keeps its state) until k = nstart - 1.  On the ray the two
//     quotients of 2k/z are one, and for even k it is twice that of k/2
//     (exact doubling), so half the divisions are left.  They come from a
//     table that the previous group's recurrence makes on the side (or, for
//     the first group, the trial steps);
//   - on the ray, the members from row cut = 12 sqrt(max |z|) + 8 up are not
//     kept: they are far below the normaliser's sum (J_k(z) falls off fast
//     with k there, the sum grows as e^{|Im z|}).  The recurrence bounds
//     them instead (never below any part of them, not finite once one is
//     not).  The scalar evaluation stops adding once every remaining term
//     is below a quarter of the spacing at both parts of the running sum,
//     where each addition returns the sum unchanged; the lanes add the rows
//     below the cut and check the same condition for the rows above it.  A
//     lane that fails the check takes the scalar evaluation: none on the
//     benchmark grid; on the ray, every argument from |z| of about 2021 on
//     (its sequence overflows), and now and then one where a part of the
//     sum nearly cancels (x = 0x1.683da7716bc45p+3);
//   - otherwise the rotated sum runs over all members of each lane, up to its
//     own nstart; adding terms that the scalar evaluation leaves out gives
//     the same bits.  A group's rotated sum runs with the next group's
//     trial steps (it reads its rows from the cache slower than the adder
//     could add them; the trial steps read nothing);
//   - the exponential and the normaliser's product are formed per lane with
//     the scalar operations, the quotients w_n/N in lanes.
//   Nothing is kept between calls; the work storage (one block for the
//   largest group of the array) comes from the heap and is released before
//   returning; if it cannot be obtained, the chunk's arguments take the
//   scalar evaluation.
#include "special/bessel_batch.hpp"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <limits>
#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

#include "velk/velk.hpp"

namespace velk::special {
namespace {

// Start indices above this take the scalar evaluation (|z| above about 2100).
constexpr std::int32_t kLaneMaxStart = kBesselStackMembers - 1;

struct LaneArg {
    std::size_t index;  // position in the caller's array
    cplx z;
    std::int32_t nstart;
    bool wide;
    double r, t;
    unsigned q1;
    bool ray;
};

// Orders evaluated per argument: {|n|} or {1, 0}; negate for (-1)^n J_{-n}
// with a negative odd n.
struct Orders {
    std::int32_t order[2];
    int count;
    bool negate;
};

// The parts of an argument, from the library's complex type or the
// standard one (the C++ interface's arrays, read where they are).
cplx parts(const cplx &z) { return z; }
cplx parts(const std::complex<double> &z) { return {z.real(), z.imag()}; }

// The argument goes into out first, part by part, and is read from there:
// a copy assembled on the stack from its two parts and read back whole
// would wait for both stores (a stall of some 5 ns per argument).
bool lane_argument(std::size_t index, double re, double im, std::int32_t top_order,
                   LaneArg &out) {
    out.z.re = re;
    out.z.im = im;
    const cplx &z = out.z;
    if (!(z.im > 0.0 || z.im < 0.0)) return false;  // real z or NaN
    std::int32_t m0;
    if (!search_runs_out(top_order, z, m0) || m0 < 1) return false;
    const std::int32_t nstart = m0 + 201;
    if (nstart > kLaneMaxStart) return false;
    out.index = index;
    out.nstart = nstart;
    out.wide = std::fabs(z.im) > std::fabs(z.re);
    out.r = out.wide ? z.re / z.im : z.im / z.re;
    out.t = out.wide ? z.im + z.re * out.r : z.re + z.im * out.r;
    out.q1 = z.im < 0.0 ? 1u : 3u;
    out.ray = !out.wide && out.r == -1.0;
    return true;
}

// The first row of the work sequences that the lanes need not keep (see
// Group::cut).  On the ray J_k(z) falls off fast with k against the
// normaliser's sum, which grows as e^{|Im z|}: relative to it, members from
// about 10 sqrt|z| on are below 2^-60.  Rows from 12 sqrt|z| + 8 on are left
// out; a lane whose sum could change by them after all takes the scalar
// evaluation.  Off the ray, and where the cut would not lie below every
// lane's start, every row is kept.
std::int32_t cut_row(const lanes::Group &g, const Orders &orders) {
    const std::int32_t keep = g.kmax + 1;
    if (!g.ray) return keep;
    const double top_modulus = static_cast<double>(g.kmax - 200);  // above every |z|
    std::int32_t cut = static_cast<std::int32_t>(std::ceil(12.0 * std::sqrt(top_modulus))) + 8;
    for (int j = 0; j < orders.count; ++j) cut = std::max(cut, orders.order[j] + 1);
    return cut < g.kmin - 1 ? cut : keep;
}

// Lane data and work storage start on a cache line: a vector that straddles
// two lines costs the recurrences (which load and store rows of vectors at
// every step) about a seventh of their time.  A row, width * 8 bytes, keeps
// the vectors of the widest kernels on whole lines.
constexpr std::align_val_t kWorkAlignment{64};

struct AlignedDelete {
    void operator()(double *p) const { ::operator delete[](p, kWorkAlignment); }
};

// count doubles set to zero, on a cache line; throws std::bad_alloc as a
// std::vector would.
std::unique_ptr<double[], AlignedDelete> aligned_zeros(std::size_t count) {
    std::unique_ptr<double[], AlignedDelete> p(
        static_cast<double *>(::operator new[](count * sizeof(double), kWorkAlignment)));
    std::fill(p.get(), p.get() + count, 0.0);
    return p;
}

// The lanes' evaluation of a sorted list of arguments; sink(index, j, value)
// receives order j of the argument at position index.
template <class Sink, class Scalar>
void run_lanes(std::span<const LaneArg> args, const Orders &orders, Sink &sink, Scalar &scalar,
               const lanes::Kernels &kernels, double *w_re, double *w_im, double *quot,
               std::size_t work_rows) {
    const std::size_t width = kernels.width;
    const auto lane = aligned_zeros(21 * width);
    double *cre = lane.get(), *cim = cre + width, *r = cim + width, *t = r + width,
           *wide = t + width, *nst = wide + width, *last_re = nst + width,
           *last_im = last_re + width, *sr = last_im + width, *si = sr + width,
           *bound = si + width, *one = bound + width, *zero = one + width,
           *norm_re = zero + width, *norm_im = norm_re + width, *v_re = norm_im + width,
           *v_im = v_re + width, *z_re = v_im + width, *z_im = z_re + width;
    double *next_t = z_im + width;
    // Start indices by lane, of this group and of the previous one, whose
    // rotated sum runs with this group's trial steps.
    double *const starts[2] = {nst, next_t + width};
    std::fill(one, one + width, 1.0);
    // A group: up to width arguments of the same kind (sign of Im z, ray).
    auto group_end = [&](std::size_t first) {
        std::size_t end = first + 1;
        while (end < args.size() && end - first < width && args[end].q1 == args[first].q1 &&
               args[end].ray == args[first].ray)
            ++end;
        return end;
    };
    // The argument of lane l of the group [first, end): the last one repeated
    // as padding.
    auto lane_of = [&](std::size_t first, std::size_t end, std::size_t l) {
        return &args[first + (l < end - first ? l : end - first - 1)];
    };
    // Two tables on the ray: a group's own, and the next group's, which its
    // recurrence makes.
    const std::size_t half = work_rows * width;
    std::int32_t ready = 0;
    unsigned parity = 0;
    // A group whose rows are made but not yet summed.
    struct Pending {
        lanes::Group grp;
        const LaneArg *g[64];
        std::size_t count;  // lanes that are not padding
    } prev{};
    bool pending = false;
    // The rest of the pending group, once its sums (sr, si) are formed:
    // N = (sum + w_0) e^{+-iz} by lane, a lane whose rows from the cut on
    // could have changed its sum to the scalar evaluation, and w_n/N.
    auto finish = [&](const Pending &p) {
        bool done[64];
        for (std::size_t l = 0; l < width; ++l) {
            done[l] = l >= p.count;
            if (!done[l] && p.grp.cut <= p.grp.kmax) {
                // The members from the cut on would not change the sum: each
                // is below a quarter of the spacing at both of its parts.
                const double lr = quarter_spacing(sr[l]), li = quarter_spacing(si[l]);
                if (!(2.0 * bound[l] < (lr < li ? lr : li))) {
                    scalar(p.g[l]->index);
                    done[l] = true;
                }
            }
            if (done[l]) {  // padding, or taken by the scalar evaluation
                norm_re[l] = 1.0;
                norm_im[l] = 0.0;
                continue;
            }
            const cplx z = p.g[l]->z;
            const cplx e = z.im > 0.0 ? cexp({-z.im, z.re}) : cexp({z.im, -z.re});  // e^{+-iz}
            const cplx norm = (cplx{sr[l], si[l]} + cplx{w_re[l], w_im[l]}) * e;
            norm_re[l] = norm.re;
            norm_im[l] = norm.im;
        }
        for (int j = 0; j < orders.count; ++j) {
            const std::size_t row = static_cast<std::size_t>(orders.order[j]) * width;
            kernels.divide(w_re + row, w_im + row, norm_re, norm_im, v_re, v_im);  // w_n / N
            for (std::size_t l = 0; l < width; ++l)
                if (!done[l])
                    sink(p.g[l]->index, j,
                         orders.negate ? cplx{-v_re[l], -v_im[l]} : cplx{v_re[l], v_im[l]});
        }
    };
    for (std::size_t first = 0, end = args.empty() ? 0 : group_end(0); first < args.size();
         parity ^= 1u) {
        const LaneArg *g[64];
        for (std::size_t l = 0; l < width; ++l) g[l] = lane_of(first, end, l);

        lanes::Group grp{};
        grp.kmax = 0;
        grp.kmin = std::numeric_limits<std::int32_t>::max();
        for (std::size_t l = 0; l < width; ++l) {
            cre[l] = 2.0 * static_cast<double>(g[l]->nstart - 200);  // 2(m0 + 1)
            z_re[l] = g[l]->z.re;
            z_im[l] = g[l]->z.im;
            r[l] = g[l]->r;
            t[l] = g[l]->t;
            wide[l] = g[l]->wide ? 1.0 : 0.0;
            starts[parity][l] = static_cast<double>(g[l]->nstart);
            grp.kmax = std::max(grp.kmax, g[l]->nstart);
            grp.kmin = std::min(grp.kmin, g[l]->nstart);
        }
        grp.cre = cre;
        grp.cim = cim;
        grp.r = r;
        grp.t = t;
        grp.wide = wide;
        grp.nstart = starts[parity];
        grp.last_re = last_re;
        grp.last_im = last_im;
        grp.ray = g[0]->ray;
        grp.quot = quot + parity * half;
        grp.q1 = g[0]->q1;
        grp.bound = bound;
        grp.cut = cut_row(grp, orders);
        grp.table_ready = grp.ray ? ready : 0;
        const std::size_t next = end, next_end = next < args.size() ? group_end(next) : next;
        ready = 0;
        if (grp.ray && next < args.size() && args[next].ray) {
            std::int32_t next_kmax = 0;
            for (std::size_t l = 0; l < width; ++l) {
                const LaneArg *a = lane_of(next, next_end, l);
                next_t[l] = a->t;
                next_kmax = std::max(next_kmax, a->nstart);
            }
            grp.next_t = next_t;
            grp.next_quot = quot + (parity ^ 1u) * half;
            grp.next_entries = lanes::table_entries(next_kmax);
            ready = grp.next_entries;
        }

        kernels.divide(cre, zero, z_re, z_im, cre, cim);  // c = 2(m0 + 1)/z
        if (pending) {
            // The seeds, for now, with the previous group's sums.
            kernels.trial_sum(grp, prev.grp, w_re, w_im, last_re, last_im, sr, si);
            finish(prev);
        } else {
            kernels.trial(grp, last_re, last_im);
        }
        kernels.divide(one, zero, last_re, last_im, last_re, last_im);  // 1/seed
        kernels.recurrence(grp, w_re, w_im);
        // Each lane's first two members: w_nstart = 0, w_{nstart-1} = 1/seed.
        for (std::size_t l = 0; l < width && grp.cut > grp.kmax; ++l) {
            const std::size_t top = static_cast<std::size_t>(g[l]->nstart) * width + l;
            w_re[top] = 0.0;
            w_im[top] = 0.0;
            w_re[top - width] = last_re[l];
            w_im[top - width] = last_im[l];
        }
        prev.grp = grp;
        std::copy(g, g + width, prev.g);
        prev.count = end - first;
        pending = true;
        first = next;
        end = next_end;
    }
    if (pending) {
        kernels.rotated_sum(prev.grp, w_re, w_im, sr, si);
        finish(prev);
    }
}

// The batch: lanes where they serve, `scalar(k)` for the rest.  The
// arguments are taken a chunk at a time, so that the bookkeeping stays small
// and in cache whatever the length of the array.
template <class T, class Sink, class Scalar>
void evaluate(std::span<const T> z, const Orders &orders, Sink sink,
              const lanes::Kernels &kernels, Scalar scalar) {
    constexpr std::size_t kChunk = 1024;
    // By kind and start index: a counting sort, linear in the number of
    // arguments (start indices are at most kLaneMaxStart).
    constexpr std::size_t kStarts = kLaneMaxStart + 1;
    auto key = [](const LaneArg &a) {
        const std::size_t kind = (a.q1 == 1u ? 0u : 2u) + (a.ray ? 0u : 1u);
        return kind * kStarts + static_cast<std::size_t>(a.nstart);
    };
    const std::int32_t top = orders.order[0] > orders.order[orders.count - 1]
                                 ? orders.order[0]
                                 : orders.order[orders.count - 1];
    const std::size_t chunk = z.size() < kChunk ? z.size() : kChunk;
    std::vector<LaneArg> args, sorted(chunk);
    args.reserve(chunk);
    std::vector<std::size_t> rest;
    std::vector<std::uint32_t> place(4 * kStarts + 1);
    // One work block serves every chunk of a long array: its rows bound the
    // start index of every lane argument, floor|z| + 201 <= floor(|Re z| +
    // |Im z|) + 201, with a row to spare for the rounding of that sum.  A
    // block grown chunk by chunk would come fresh from the system each time,
    // page by page (some 2 ms over the benchmark array).
    constexpr std::size_t kRowsMax = static_cast<std::size_t>(kLaneMaxStart) + 1;
    std::size_t planned = 0;
    if (z.size() > chunk) {
        double reach = 0.0;
        for (const T &v : z) {
            const cplx w = parts(v);
            const double s = std::fabs(w.re) + std::fabs(w.im);
            if (s > reach) reach = s;
        }
        planned = reach < static_cast<double>(kRowsMax) ? static_cast<std::size_t>(reach) + 203
                                                        : kRowsMax;
        planned = std::min(planned, kRowsMax);
    }
    std::unique_ptr<double[], AlignedDelete> work;
    std::size_t work_rows = 0;
    for (std::size_t from = 0; from < z.size(); from += chunk) {
        const std::size_t to = z.size() - from < chunk ? z.size() : from + chunk;
        args.clear();
        rest.clear();
        std::int32_t kmax = 0;
        for (std::size_t k = from; k < to; ++k) {
            // Made in place: a copy read back at once from the stores that
            // made it waits for them.
            LaneArg &a = args.emplace_back();
            const cplx w = parts(z[k]);
            if (lane_argument(k, w.re, w.im, top, a)) {
                kmax = std::max(kmax, a.nstart);
            } else {
                args.pop_back();
                rest.push_back(k);
            }
        }
        const std::size_t rows = static_cast<std::size_t>(kmax) + 1;
        if (!args.empty() && rows > work_rows) {
            const std::size_t grown = std::min(std::max(rows, planned), kRowsMax);
            work.reset(static_cast<double *>(::operator new[](
                4 * grown * kernels.width * sizeof(double), kWorkAlignment, std::nothrow)));
            work_rows = work ? grown : 0;
        }
        if (!args.empty() && !work) {
            for (const LaneArg &a : args) scalar(a.index);
        } else if (!args.empty()) {
            // Counts, then places, over the keys the chunk has.
            std::size_t lo = place.size(), hi = 0;
            for (const LaneArg &a : args) {
                lo = std::min(lo, key(a));
                hi = std::max(hi, key(a) + 1);
            }
            std::fill(place.begin() + static_cast<std::ptrdiff_t>(lo),
                      place.begin() + static_cast<std::ptrdiff_t>(hi) + 1, 0u);
            for (const LaneArg &a : args) ++place[key(a) + 1];
            for (std::size_t b = lo + 1; b <= hi; ++b) place[b] += place[b - 1];
            for (const LaneArg &a : args) sorted[place[key(a)]++] = a;
            run_lanes(std::span<const LaneArg>(sorted.data(), args.size()), orders, sink, scalar, kernels,
                      work.get(), work.get() + work_rows * kernels.width,
                      work.get() + 2 * work_rows * kernels.width, work_rows);
        }
        for (std::size_t k : rest) scalar(k);
    }
}

}  // namespace

namespace {

template <class T>
void orders_batch(std::int32_t n, std::span<const T> z, std::span<T> out,
                  const lanes::Kernels &kernels) {
    auto put = [&](std::size_t k, cplx v) { out[k] = T{v.re, v.im}; };
    if (n == std::numeric_limits<std::int32_t>::min()) {
        for (std::size_t k = 0; k < z.size(); ++k) put(k, besselj_fast(n, parts(z[k])));
        return;
    }
    const Orders orders{{n < 0 ? -n : n, 0}, 1, n < 0 && (n & 1) != 0};
    evaluate(
        z, orders, [&](std::size_t k, int, cplx v) { put(k, v); }, kernels,
        [&](std::size_t k) { put(k, besselj_fast(n, parts(z[k]))); });
}

// sink(k, pair) receives J_1 and J_0 of z[k].
template <class T, class PairSink>
void pairs_batch(std::span<const T> z, PairSink sink, const lanes::Kernels &kernels) {
    const Orders orders{{1, 0}, 2, false};
    evaluate(
        z, orders,
        [&](std::size_t k, int j, cplx v) { sink(k, j == 0, v); }, kernels,
        [&](std::size_t k) {
            const BesselPair p = besselj10(parts(z[k]));
            sink(k, true, p.j1);
            sink(k, false, p.j0);
        });
}

}  // namespace

void besselj_batch(std::int32_t n, std::span<const cplx> z, std::span<cplx> out,
                   const lanes::Kernels &kernels) {
    orders_batch(n, z, out, kernels);
}

void besselj_batch(std::int32_t n, std::span<const std::complex<double>> z,
                   std::span<std::complex<double>> out, const lanes::Kernels &kernels) {
    orders_batch(n, z, out, kernels);
}

void besselj10_batch(std::span<const cplx> z, std::span<BesselPair> out,
                     const lanes::Kernels &kernels) {
    pairs_batch(
        z, [&](std::size_t k, bool j1, cplx v) { (j1 ? out[k].j1 : out[k].j0) = v; }, kernels);
}

void besselj10_batch(std::span<const std::complex<double>> z,
                     std::span<std::complex<double>> j1, std::span<std::complex<double>> j0,
                     const lanes::Kernels &kernels) {
    pairs_batch(
        z, [&](std::size_t k, bool first, cplx v) { (first ? j1 : j0)[k] = {v.re, v.im}; },
        kernels);
}

}  // namespace velk::special
