// The model constants of velk as a value: the stored pi, the molar gas
// constant and the eigenvalue tables of the sphere.  Every routine of the C++
// interface that uses a constant takes a Model; a default-constructed Model
// holds the standard values, the same as the library's exported data at load.
//
// A Model refers to its tables (it does not copy them), so it is small and
// cheap to pass; a caller who varies a table supplies storage that outlives
// the calls.  Varying pi or rgas needs no storage:
//
//   velk::Model m;
//   m.rgas = 8.314462618;
//   double lt = velk::accommodation_length(t, p, cv, kappa, mw, h, m);
#pragma once

#include <span>

namespace velk {

namespace standard {

// pi rounded to single precision, widened exactly: 3.1415927410125732.
inline constexpr double pi = static_cast<double>(3.14159265358979f);
// Molar gas constant, J/(mol K) (CODATA 2014).
inline constexpr double rgas = 8.3144598;

// Eigenvalues, each the single-precision number nearest to the root.
// TE1n: the n-th positive root of j1(z) = 0 (tan z = z).
inline constexpr double zte[12] = {
    4.4934096f, 7.7252517f, 10.904121f, 14.066194f, 17.220755f, 20.371304f,
    23.519453f, 26.666054f, 29.8116f,   32.95639f,  36.100624f, 39.24443f,
};
// TM1n: the n-th positive root of d/dz[z j1(z)] = 0.
inline constexpr double ztm[13] = {
    2.7437072f, 6.116764f, 9.316616f,  12.485937f, 15.643867f, 18.796253f, 21.945518f,
    25.092848f, 28.238892f, 31.38404f, 34.52854f,  37.672554f, 40.816196f,
};
// Radial acoustic mode (0,n): 0, then zte(1..12), then three zeros.
inline constexpr double zac[16] = {
    0.0f,       4.4934096f, 7.7252517f, 10.904121f, 14.066194f, 17.220755f,
    20.371304f, 23.519453f, 26.666054f, 29.8116f,   32.95639f,  36.100624f,
    39.24443f,  0.0f,       0.0f,       0.0f,
};

}  // namespace standard

struct Model {
    double pi = standard::pi;      // every pi of the routines
    double rgas = standard::rgas;  // molar gas constant, J/(mol K)
    // Eigenvalue tables, mode n at [n - 1].  A mode number outside its table
    // gives quiet NaN results; nothing outside a table is read.
    std::span<const double, 16> zac{standard::zac};  // radial acoustic (0,n)
    std::span<const double, 12> zte{standard::zte};  // TE1n
    std::span<const double, 13> ztm{standard::ztm};  // TM1n
};

}  // namespace velk
