// One benchmark per closed-form routine, with the arguments of a typical
// resonator: argon near 273 K and 100 kPa in a copper sphere of radius 50 mm.
#include <benchmark/benchmark.h>

#include "velk/velk.h"

namespace {

// Arguments live in globals and are read through references, as a host
// passes them; the calls are opaque to the optimiser (separate library).
double a1 = 50.0, a2 = 50.01, a3 = 49.99;
double fa = 2744.1e6, fb = 2744.4e6, fc = 2744.9e6;
int32_t n1 = 1, n2 = 2;
double t = 273.16, p = 100.0, cv = 312.2, kappa = 0.0164, mw = 0.039948, h = 0.9;
double eps[2] = {1e-4, -1e-4};
double gamma_ = 5.0 / 3.0, a = 50.0, dt = 4.75e-5, dv = 3.9e-5, dcu = 1.26e-4, lt = 1.44e-7;
double kcu = 400.0, f = 2500.0, c = 307.8, rho = 1.78, cp = 520.0, eta = 2.1e-5;
double rrr = 100.0, dsk = 2e-6, fmw = 2.7e9, sigma = 5.8e7, mur = 1.0, r = 1.0, rmic = 3.0;
double z = 4.4934096336364746;

void BM_Ell_Req(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(Ell_Req(&a1, &a2, &a3));
}
void BM_f_id(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(f_id(&n2, &c, &a));
}
void BM_copy_Constants(benchmark::State &s) {
    Constants dst;
    for (auto _ : s) {
        __velk_MOD___copy_velk_Constants(&__velk_MOD___def_init_velk_Constants, &dst);
        benchmark::DoNotOptimize(dst);
    }
}
void BM_cpowi(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(_velk_cpowi(0.5f, -1.5f, 7));
}
void BM_sortfreq(benchmark::State &s) {
    double out[3];
    velk_descriptor d{out, -1, 8, 0, 1, 3, 0, 8, 1, 1, 3};
    for (auto _ : s) {
        __velk_MOD_sortfreq(&d, &fc, &fa, &fb);
        benchmark::DoNotOptimize(out);
    }
}
void BM_hte(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(__velk_MOD_hte(&z));
}
void BM_htm(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(__velk_MOD_htm(&z));
}
template <void (*F)(const double *, const double *, const double *, const int32_t *, double *,
                    double *)>
void BM_Eps(benchmark::State &s) {
    double e1, e2;
    for (auto _ : s) {
        F(&fc, &fa, &fb, &n1, &e1, &e2);
        benchmark::DoNotOptimize(e1);
        benchmark::DoNotOptimize(e2);
    }
}
template <float (*F)(const double *, const double *, const int32_t *)>
void BM_dzm2(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(F(&eps[0], &eps[1], &n1));
}
void BM_O2dZ2AC(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(O2dZ2AC(eps, &n2));
}
void BM_d_sk(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(d_sk(&fmw, &sigma, &mur));
}
void BM_df_skTE(benchmark::State &s) {
    double df, g;
    for (auto _ : s) {
        df_skTE(&dsk, &a, &df, &g);
        benchmark::DoNotOptimize(df);
        benchmark::DoNotOptimize(g);
    }
}
void BM_df_skTM1n(benchmark::State &s) {
    double df, g;
    for (auto _ : s) {
        df_skTM1n(&dsk, &a, &n1, &df, &g);
        benchmark::DoNotOptimize(df);
        benchmark::DoNotOptimize(g);
    }
}
void BM_df_dcTE(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(df_dcTE(&r, &a));
}
void BM_df_dcTM1n(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(df_dcTM1n(&r, &a, &n1));
}
void BM_d_v(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(d_v(&eta, &rho, &f));
}
void BM_d_t(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(d_t(&kappa, &rho, &cp, &f));
}
void BM_I_t(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(I_t(&t, &p, &cv, &kappa, &mw, &h));
}
template <double (*F)(const double *, const double *, const double *)>
void BM_thermal_term(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(F(&gamma_, &a, &dt));
}
void BM_df_Ith(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(df_Ith(&gamma_, &a, &lt));
}
void BM_df_th(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(df_th(&gamma_, &dt, &dcu, &lt, &kappa, &kcu, &a, &f));
}
void BM_g_t(benchmark::State &s) {
    for (auto _ : s)
        benchmark::DoNotOptimize(g_t(nullptr, &p, &gamma_, &dt, &dcu, &kappa, &kcu, &a, &f));
}
void BM_g_b(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(g_b(nullptr, &p, &c, &gamma_, &dv, &dt, &f));
}
void BM_df_mic(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(df_mic(&rmic, &a, &rho, &c));
}
void BM_k_cu(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(k_cu(&t, &rrr));
}
void BM_cp_cu(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(cp_cu(&t));
}
void BM_g_Cu(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(g_Cu(&gamma_, &a, &dcu, &kappa, &kcu));
}
void BM_df_CuTh(benchmark::State &s) {
    for (auto _ : s) benchmark::DoNotOptimize(df_CuTh(&gamma_, &a, &dcu, &kappa, &kcu));
}

}  // namespace

BENCHMARK(BM_Ell_Req);
BENCHMARK(BM_f_id);
BENCHMARK(BM_copy_Constants);
BENCHMARK(BM_cpowi);
BENCHMARK(BM_sortfreq);
BENCHMARK(BM_hte);
BENCHMARK(BM_htm);
BENCHMARK(BM_Eps<Eps_TE1n>)->Name("BM_Eps_TE1n");
BENCHMARK(BM_Eps<Eps_TM1n>)->Name("BM_Eps_TM1n");
BENCHMARK(BM_dzm2<dzm2_zTE1n>)->Name("BM_dzm2_zTE1n");
BENCHMARK(BM_dzm2<dzm2_zTM1n>)->Name("BM_dzm2_zTM1n");
BENCHMARK(BM_O2dZ2AC);
BENCHMARK(BM_d_sk);
BENCHMARK(BM_df_skTE);
BENCHMARK(BM_df_skTM1n);
BENCHMARK(BM_df_dcTE);
BENCHMARK(BM_df_dcTM1n);
BENCHMARK(BM_d_v);
BENCHMARK(BM_d_t);
BENCHMARK(BM_I_t);
BENCHMARK(BM_thermal_term<g_th>)->Name("BM_g_th");
BENCHMARK(BM_thermal_term<df_dth>)->Name("BM_df_dth");
BENCHMARK(BM_thermal_term<g_thO2>)->Name("BM_g_thO2");
BENCHMARK(BM_df_Ith);
BENCHMARK(BM_df_th);
BENCHMARK(BM_g_t);
BENCHMARK(BM_g_b);
BENCHMARK(BM_df_mic);
BENCHMARK(BM_k_cu);
BENCHMARK(BM_cp_cu);
BENCHMARK(BM_g_Cu);
BENCHMARK(BM_df_CuTh);
