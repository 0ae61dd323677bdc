/*
 * velk: model corrections for acoustic and microwave resonances of a
 * gas-filled, nearly spherical copper resonator.
 *
 * The one public header of the library.  Usable from C and C++.
 *
 * Conventions
 *  - Every routine argument is passed by reference (the routine receives
 *    addresses), except the by-value complex power routine _velk_cpowi.
 *  - Radii and duct dimensions in mm; penetration, accommodation and skin
 *    depths in m; pressure in kPa; everything else in SI units.
 *  - Routines with several results write them through trailing out
 *    arguments: the relative frequency shift first, then the half-width.
 *  - Five routines return single-precision values (float).
 *  - The two complex-valued procedures take the address of a 16-byte result
 *    area as an explicit first parameter, write the real part and then the
 *    imaginary part there, and return that same address.
 *  - Mode numbers index the eigenvalue tables from 1.  A mode number outside
 *    its table gives quiet NaN results; nothing outside a table is read.
 *  - Nothing is validated otherwise: infinities and NaNs propagate.
 *  - On 32-bit x86 every routine is cdecl; callers need only 4-byte stack
 *    alignment.  On x86-64 the platform's C convention applies.
 *  - Routines keep no state and may be called from any number of threads.
 *    The Bessel routines and df_ducts keep their work storage on the stack
 *    (about 40 KB) for |z| below 2000, and obtain it from the heap beyond.
 */
#ifndef VELK_VELK_H
#define VELK_VELK_H

#include <stdint.h>

/* Version of this header and of the library it declares.  The build checks
 * these against the project's version (CMakeLists.txt), the one place where
 * it is set. */
#define VELK_VERSION_MAJOR 1
#define VELK_VERSION_MINOR 1
#define VELK_VERSION_PATCH 0
#define VELK_VERSION_STRING "1.1.0"

#if defined(_WIN32) && !defined(_WIN64)
#define VELK_CALL __cdecl
#else
#define VELK_CALL
#endif

#if defined(VELK_BUILDING)
#if defined(_WIN32)
#define VELK_API
#define VELK_DATA
#else
#define VELK_API __attribute__((visibility("default")))
#define VELK_DATA __attribute__((visibility("default")))
#endif
#elif defined(_WIN32) && !defined(VELK_STATIC)
#define VELK_API
#define VELK_DATA __declspec(dllimport)
#else
#define VELK_API
#define VELK_DATA
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The record type Constants: one double, the molar gas constant. */
typedef struct Constants {
    double rgas; /* molar gas constant, J/(mol K) */
} Constants;

/* A double-precision complex value: real part first (16 bytes). */
typedef struct velk_complex {
    double re;
    double im;
} velk_complex;

/*
 * Rank-1 array descriptor received by __velk_MOD_sortfreq.  Only the base
 * address and the stride are read; element j (from 1) of the output lies at
 * base + (j - 1) * stride doubles, a stride of 0 counting as 1.  The base
 * address is pointer-sized; the other fields keep their widths and order.
 */
typedef struct velk_descriptor {
    double *base;       /* address of the first element */
    int32_t offset;     /* -1 */
    uint32_t elem_len;  /* 8 */
    int32_t version;    /* 0 */
    int8_t rank;        /* 1 */
    int8_t type;        /* 3, a real element */
    int16_t attribute;  /* 0 */
    int32_t span;       /* 8 */
    int32_t stride;     /* 1 for contiguous storage */
    int32_t lbound;     /* 1 */
    int32_t ubound;     /* 3 */
} velk_descriptor;

/* Type descriptor of Constants. */
typedef struct velk_vtab {
    int32_t hash;                               /* fixed type code */
    uint32_t size;                              /* 8 */
    const void *parent;                         /* null */
    const Constants *def_init;                  /* the default record */
    void(VELK_CALL *copy)(const Constants *src, Constants *dst);
    const void *final;                          /* null */
    const void *deallocate;                     /* null */
} velk_vtab;

/* ---- Exported data (writable except the default record) ---------------- */
VELK_DATA extern Constants __velk_MOD_cnst;                        /* rgas = 8.3144598 */
VELK_DATA extern const Constants __velk_MOD___def_init_velk_Constants; /* default value */
VELK_DATA extern velk_vtab __velk_MOD___vtab_velk_Constants;
VELK_DATA extern double __velk_MOD_pi;      /* 3.1415927410125732, pi in single precision */
VELK_DATA extern double __velk_MOD_zac[16]; /* radial acoustic eigenvalues, mode (0,n) at [n-1] */
VELK_DATA extern double __velk_MOD_zte[12]; /* TE1n eigenvalues */
VELK_DATA extern double __velk_MOD_ztm[13]; /* TM1n eigenvalues */

/* ---- Library frame ------------------------------------------------------- */
/* Copies the 8-byte record *src to *dst. */
VELK_API void VELK_CALL __velk_MOD___copy_velk_Constants(const Constants *src, Constants *dst);
/* Radius of the sphere with the volume of the ellipsoid with semi-axes a1, a2, a3 (any one unit). */
VELK_API double VELK_CALL Ell_Req(const double *a1, const double *a2, const double *a3);
/* Ideal frequency (Hz) of radial mode (0,n), n = 1..16; c speed of sound m/s, a radius mm. */
VELK_API double VELK_CALL f_id(const int32_t *n, const double *c, const double *a);
/* Single-precision complex power (re + i im)^n, by value.  The result is
 * returned as a 64-bit integer: real part in the low four bytes, imaginary
 * part in the high four.  n = 0 gives (1, 0); negative n raises 1/z to -n. */
VELK_API uint64_t VELK_CALL _velk_cpowi(float re, float im, int32_t n);

/* ---- Complex Bessel functions of the first kind --------------------------- */
/* J_n(z) by backward recurrence.  result: 16-byte area written and returned.
 * A negative order gives (-1)^n J_{-n}(z).  z = 0 gives NaN.  A non-finite
 * |z|, |z| >= 2147483446, an order beyond the start index (possible only for
 * |n| > |z| + 199) or a work sequence that cannot be obtained gives quiet NaN
 * in both parts. */
VELK_API velk_complex *VELK_CALL __velk_MOD_besselj(velk_complex *result, const int32_t *n,
                                                   const velk_complex *z);
/* The backward recurrence and normalisation from start index nstart with the
 * search's last trial value seed; count is accepted and not read.  nstart < 1
 * or n outside 0..nstart gives quiet NaN in both parts. */
VELK_API velk_complex *VELK_CALL __velk_MOD_normbesselj(velk_complex *result, const int32_t *n,
                                                       const velk_complex *z,
                                                       const int32_t *nstart,
                                                       const int32_t *count,
                                                       const velk_complex *seed);

/* ---- Resonator shape --------------------------------------------------- */
/* Sorts fa, fb, fc ascending into the array described by *fsort: element j
 * (from 1) at base + (j - 1) * stride doubles, a negative stride walking down
 * from base.  A value equal to -1 counts as empty and is dropped; only as many
 * elements as remain (at most three) are written, the rest keep their
 * contents.  A descriptor whose elements would run past either end of the
 * address space gets nothing written. */
VELK_API void VELK_CALL __velk_MOD_sortfreq(const velk_descriptor *fsort, const double *fa,
                                           const double *fb, const double *fc);
/* Mode-family factors of TE1n and TM1n triplets at eigenvalue z. */
VELK_API double VELK_CALL __velk_MOD_hte(const double *z);
VELK_API double VELK_CALL __velk_MOD_htm(const double *z);
/* Deformation parameters from a TE1n (n = 1..12) or TM1n (n = 1..13) triplet
 * fa, fb, fc (any order, any one unit).  A frequency equal to -1 (the empty
 * mark of sortfreq) gives quiet NaN in both outputs. */
VELK_API void VELK_CALL Eps_TE1n(const double *fa, const double *fb, const double *fc,
                                const int32_t *n, double *eps1, double *eps2);
VELK_API void VELK_CALL Eps_TM1n(const double *fa, const double *fb, const double *fc,
                                const int32_t *n, double *eps1, double *eps2);
/* Second-order eigenvalue corrections for deformation parameters eps1, eps2. */
VELK_API float VELK_CALL dzm2_zTE1n(const double *eps1, const double *eps2, const int32_t *n);
VELK_API float VELK_CALL dzm2_zTM1n(const double *eps1, const double *eps2, const int32_t *n);
/* eps: the two deformation parameters as one array; n radial mode 1..16. */
VELK_API float VELK_CALL O2dZ2AC(const double eps[2], const int32_t *n);

/* ---- Microwave corrections ------------------------------------------------ */
/* Skin depth 1/sqrt(pi mu0 x1 x2 x3): frequency Hz, conductivity S/m, relative permeability, any order. */
VELK_API double VELK_CALL d_sk(const double *x1, const double *x2, const double *x3);
/* Skin-depth shift df and half-width g (relative) of TE modes; dsk m, a mm. */
VELK_API void VELK_CALL df_skTE(const double *dsk, const double *a, double *df, double *g);
/* The same for TM1n modes, n = 1..13. */
VELK_API void VELK_CALL df_skTM1n(const double *dsk, const double *a, const int32_t *n, double *df,
                                 double *g);
/* Relative shifts proportional to (r/a)^3 of TE and TM1n modes; r, a in mm. */
VELK_API double VELK_CALL df_dcTE(const double *r, const double *a);
VELK_API double VELK_CALL df_dcTM1n(const double *r, const double *a, const int32_t *n);

/* ---- Boundary layers and thermal terms ------------------------------------- */
/* Viscous penetration length (m): eta Pa s, rho kg/m3, f Hz. */
VELK_API double VELK_CALL d_v(const double *eta, const double *rho, const double *f);
/* Thermal penetration length (m): kappa W/(m K), rho kg/m3, cp J/(kg K), f Hz. */
VELK_API double VELK_CALL d_t(const double *kappa, const double *rho, const double *cp,
                             const double *f);
/* Thermal accommodation length (m): t K, p kPa, cv J/(kg K), kappa W/(m K),
 * mw kg/mol, h accommodation coefficient. */
VELK_API double VELK_CALL I_t(const double *t, const double *p, const double *cv,
                             const double *kappa, const double *mw, const double *h);
/* Relative thermal boundary-layer half-width, its shift, its second-order
 * term: gamma, a mm, dt m. */
VELK_API double VELK_CALL g_th(const double *gamma, const double *a, const double *dt);
VELK_API double VELK_CALL df_dth(const double *gamma, const double *a, const double *dt);
VELK_API double VELK_CALL g_thO2(const double *gamma, const double *a, const double *dt);
/* Relative accommodation-length shift term: gamma, a mm, lt m. */
VELK_API float VELK_CALL df_Ith(const double *gamma, const double *a, const double *lt);
/* Combined thermal frequency shift (Hz). */
VELK_API double VELK_CALL df_th(const double *gamma, const double *dt, const double *dcu,
                               const double *lt, const double *kappa, const double *kcu,
                               const double *a, const double *f);
/* Combined thermal half-width (Hz); t is never read and may be null, p has no influence. */
VELK_API double VELK_CALL g_t(const double *t, const double *p, const double *gamma,
                             const double *dt, const double *dcu, const double *kappa,
                             const double *kcu, const double *a, const double *f);

/* ---- Bulk absorption and microphone ----------------------------------------- */
/* Bulk-absorption half-width (Hz); t is never read and may be null, p has no influence. */
VELK_API double VELK_CALL g_b(const double *t, const double *p, const double *c,
                             const double *gamma, const double *dv, const double *dt,
                             const double *f);
/* Relative shift by a microphone of radius rmic mm in a resonator of radius a mm. */
VELK_API double VELK_CALL df_mic(const double *rmic, const double *a, const double *rho,
                                const double *c);

/* ---- Copper ------------------------------------------------------------------ */
/* Thermal conductivity of copper, W/(m K): t K, rrr residual resistance ratio. */
VELK_API double VELK_CALL k_cu(const double *t, const double *rrr);
/* Specific heat capacity of copper, J/(kg K): t K. */
VELK_API double VELK_CALL cp_cu(const double *t);
/* Shell term of the relative half-width and (single, negated) of the shift:
 * gamma, a mm, dcu m, kappa W/(m K), kcu W/(m K). */
VELK_API double VELK_CALL g_Cu(const double *gamma, const double *a, const double *dcu,
                              const double *kappa, const double *kcu);
VELK_API float VELK_CALL df_CuTh(const double *gamma, const double *a, const double *dcu,
                                const double *kappa, const double *kcu);

/* ---- Ducts ---------------------------------------------------------------- */
/* Relative shift df and half-width g of radial mode n (1..16) caused by a
 * chain of nduct cylindrical sections (radii rduct and lengths lduct in mm,
 * section 1 at the resonator, open far end).  df and g are always written;
 * nduct <= 0 gives NaN, a mode number outside 1..16 or work storage that
 * cannot be obtained quiet NaN. */
VELK_API void VELK_CALL df_ducts(const double *rduct, const double *lduct, const int32_t *nduct,
                                const double *rho, const double *cp, const double *c,
                                const double *gamma, const double *kappa, const double *eta,
                                const double *a, const double *f, const int32_t *n, double *df,
                                double *g);

#ifdef __cplusplus
}
#endif

#endif /* VELK_VELK_H */
