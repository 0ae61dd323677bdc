// The vector kernels of the Bessel batch (bessel_lanes.cpp): J_n of many
// arguments side by side, one argument per lane, for arguments whose
// start-index search runs out (see bessel_batch.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

namespace velk::special::lanes {

// A group of `width` lanes (width() of the kernel set), parameters by lane.
struct Group {
    const double *cre, *cim;  // trial coefficient 2(m0 + 1)/z
    const double *r, *t;      // the divisor's ratio and scale (see Recurrence)
    const double *wide;       // 1 where |Im z| > |Re z|, else 0
    const double *nstart;     // start index, as a double
    const double *last_re, *last_im;  // w_{nstart-1} = 1/seed
    std::int32_t kmax;        // largest start index of the group
    std::int32_t kmin;        // smallest start index of the group
    bool ray;                 // every lane narrow with r = -1 (z = x(1 - i))
    double *quot;             // the ray's table: kmax / 2 * width doubles
    // Rows from cut on are not stored; recurrence bounds them instead, in
    // bound (by lane: never below |Re w_k| or |Im w_k| of those members and
    // w_{nstart-1}, not finite once one is not; the largest of them, or their
    // sum on targets without AVX-512), and rotated_sum stops before them.
    // cut = kmax + 1 stores every row; else cut < kmin - 1.
    std::int32_t cut;
    double *bound;
    // The ray's table may be made ahead, by the previous group's recurrence:
    // entries below table_ready are in quot already, trial makes the rest.
    // When next_quot is set (this group and the next on the ray), this
    // group's recurrence makes the next group's whole table (next_entries
    // entries, divisors next_t) into next_quot, a buffer other than quot.
    std::int32_t table_ready;
    const double *next_t;
    double *next_quot;
    std::int32_t next_entries;
    unsigned q1;              // 1 for Im z < 0 (powers of i), 3 for Im z > 0 (of -i)
};

// Entries of the ray's table of a group whose largest start index is kmax:
// the odd m below kmax.
inline std::int32_t table_entries(std::int32_t kmax) { return kmax / 2; }

struct Kernels {
    const char *target;  // instruction set, for reports
    std::size_t width;   // lanes per group
    // 200 steps of the trial recurrence (coefficients cre, cim); seeds by
    // lane.  On the ray it also fills the quotient table of the recurrence.
    void (*trial)(const Group &g, double *seed_re, double *seed_im);
    // Rows 0 .. kmax - 2 of the work sequences (row k holds member k of every
    // lane, at k * width + lane); rows from a lane's own nstart - 1 on are
    // not its members and are set by the caller.  On the ray it needs the
    // table that trial has made.
    void (*recurrence)(const Group &g, double *w_re, double *w_im);
    // The rotated sums sum_{k=1}^{nstart} 2 (sign i)^k w_k by lane, up to
    // row cut - 1.
    void (*rotated_sum)(const Group &g, const double *w_re, const double *w_im, double *sr,
                        double *si);
    // trial of one group and rotated_sum of another at once (the sum's rows
    // are not the trial group's to change): the same values as the two
    // calls.
    void (*trial_sum)(const Group &trial, const Group &sum, const double *w_re,
                      const double *w_im, double *seed_re, double *seed_im, double *sr,
                      double *si);
    // (qr + i qi) = (xr + i xi)/(yr + i yi) by lane, width lanes, each the
    // library's complex division (velk::cdiv) with its branch; q may be x or y.
    void (*divide)(const double *xr, const double *xi, const double *yr, const double *yi,
                   double *qr, double *qi);
};

// The kernels of the best instruction set this processor runs, chosen once.
const Kernels &best();
// Every kernel set this build has that the processor runs, best first.
std::size_t available(const Kernels **out, std::size_t capacity);

}  // namespace velk::special::lanes
