"""Self-test of the reference model: it must reproduce the library's worked
values bit for bit (or to the digits stated where a value goes through pow,
exp or log), and its runtime-dependent routines must agree with an mpmath
evaluation of the same formulas within a tolerance."""
import math
import struct

import mpmath
import pytest

import velk_model as m


def bits(x):
    return struct.unpack("<Q", struct.pack("<d", x))[0]


def same(got, want):
    assert bits(got) == bits(want), f"{got!r} [{bits(got):016x}] != {want!r} [{bits(want):016x}]"


def test_module_data():
    same(m.PI, 3.1415927410125732)
    same(m.ZTE[0], 4.4934096336364746)
    same(m.ZAC[1], m.ZTE[0])
    assert m.ZTM[12] == 40.816196441650391 and m.ZTE[11] == 39.244430541992188
    assert m.ZAC[0] == m.ZAC[13] == m.ZAC[15] == 0.0 and len(m.ZAC) == 16


# (routine, arguments, worked value): one result compared bit for bit.
WORKED = [
    (m.f_id, (2, 343.0, 50.0), 4905.91757555612),
    (m.f_id, (1, 343.0, 50.0), 0.0),
    (m.Ell_Req, (1.0, 1.0, 1.0), 1.0),
    (m.hte, (4.4934096336364746,), 1.3298383272829126),
    (m.htm, (2.7437071800231934,), 0.17179986400191308),
    (m.dzm2_zTE1n, (1.0, 0.0, 1), 1.1756339073181152),
    (m.dzm2_zTM1n, (1.0, 0.0, 1), 0.3516111969947815),
    (m.O2dZ2AC, ((1.0, 0.0), 2), 1.1964876651763916),
    (m.dzm2_zTE1n, (0.001, -0.001, 1), 3.5269017644168343e-06),
    (m.dzm2_zTM1n, (0.001, -0.001, 1), 1.0548335467319703e-06),
    (m.O2dZ2AC, ((0.001, -0.001), 2), 3.5894631764676888e-06),
    (m.d_sk, (1.0e9, 5.8e7, 1.0), 2.089806755292987e-06),
    (m.d_sk, (5.8e7, 1.0, 1.0e9), 2.089806755292987e-06),
    (m.df_dcTE, (1.0, 50.0), -6.047887593303226e-07),
    (m.df_dcTM1n, (1.0, 50.0, 1), -6.909316141217317e-07),
    (m.df_dcTM1n, (1.0, 50.0, 2), -6.182348766868555e-07),
    (m.d_v, (2.1e-5, 1.78, 2500.0), 3.8757405740590114e-05),
    (m.d_t, (0.0164, 1.78, 520.0, 2500.0), 4.749690427134734e-05),
    (m.I_t, (273.16, 100.0, 312.2, 0.0164, 0.039948, 0.9), 1.439000828874007e-07),
    (m.I_t, (273.16, 100.0, 312.2, 0.0164, 0.039948, 2.0), 0.0),
    (m.g_th, (1.6666666666666667, 50.0, 4.75e-5), 0.0003166666666666667),
    (m.g_thO2, (1.6666666666666667, 50.0, 4.75e-5), 7.019444444444446e-07),
    (m.df_th, (1.6666666666666667, 4.75e-5, 1.26e-4, 1.44e-7, 0.0164, 400.0, 50.0, 2500.0),
     -0.7867805666666667),
    (m.g_t, (273.16, 100.0, 1.6666666666666667, 4.75e-5, 1.26e-4, 0.0164, 400.0, 50.0, 2500.0),
     0.7899978938098192),
    (m.g_t, (math.nan, math.nan, 1.6666666666666667, 4.75e-5, 1.26e-4, 0.0164, 400.0, 50.0,
             2500.0), 0.7899978938098192),
    (m.df_Ith, (1.6666666666666667, 50.0, 1.44e-7), -9.599999657439184e-07),
    (m.g_b, (0.0, 0.0, 308.0, 5.0 / 3.0, 3.2e-5, 3.9e-5, 3671.0), 0.01224635314638657),
    (m.df_mic, (6.0, 60.0, 1.78, 308.0), -1.4071493333333337e-06),
    (m.df_mic, (0.0, 60.0, 1.78, 308.0), -0.0),
    (m.g_Cu, (1.6666666666666667, 50.0, 1.26e-4, 0.0164, 400.0), 3.444e-08),
    (m.df_CuTh, (1.6666666666666667, 50.0, 1.26e-4, 0.0164, 400.0), -3.44399992968647e-08),
    # gamma = 1 and 0.5: signed zeros
    (m.df_dth, (1.0, 50.0, 4.75e-5), -0.0),
    (m.df_Ith, (1.0, 50.0, 1.44e-7), -0.0),
    (m.g_thO2, (0.5, 50.0, 4.75e-5), -0.0),
    (m.df_CuTh, (1.0, 50.0, 1.26e-4, 0.0164, 400.0), -0.0),
]


@pytest.mark.parametrize("fn,args,want", WORKED, ids=[w[0].__name__ for w in WORKED])
def test_worked_values(fn, args, want):
    same(fn(*args), want)


def test_pairs():
    for order in [(10.0, 10.001, 10.002), (10.002, 10.0, 10.001), (10.001, 10.002, 10.0)]:
        e1, e2 = m.Eps_TE1n(*order, 1)
        same(e1, 5.012388846996361e-05)
        same(e2, -5.012890060826227e-05)
        e1, e2 = m.Eps_TM1n(*order, 1)
        same(e1, 0.0003879902256445874)
        same(e2, -0.00038802902272775107)
    same(m.Eps_TE1n(3.0, 3.0, 3.0, 1)[0], 0.0)
    df, g = m.df_skTE(2.0e-6, 50.0)
    same(df, -1.9999999999999998e-05)
    same(g, 1.9999999999999998e-05)
    for n, want in [(1, 2.7235982833870335e-05), (2, 2.1129471209303134e-05)]:
        df, g = m.df_skTM1n(2.0e-6, 50.0, n)
        same(df, -want)
        same(g, want)
    assert m.sortfreq(3.0, 1.0, 2.0) == [1.0, 2.0, 3.0] == m.sortfreq(1.0, 3.0, 2.0)
    assert m.sortfreq(3.0, -1.0, 2.0) == [2.0, 3.0]


# Bessel functions: the search's count and start index, and J_n to the
# digits given with each worked example.
BESSEL = [
    (0, (1.0, 0.0), 10, 11, (0.76519768656, 0.0)),
    (1, (1.0, 0.0), 10, 11, (0.440050585746, 0.0)),
    (0, (3.0, 2.0), 16, 19, (-1.24923487961, -0.947983792058)),
    (5, (3.0, 2.0), 18, 21, (-0.0988579898487, 0.0859246625629)),
    (0, (2.0, -2.0), 15, 17, (0.0276544783807, 1.77999496483)),
    (1, (2.0, -2.0), 15, 17, (1.61701878835, 0.272609582294)),
    (0, (0.5, -0.5), 12, 12, None),
    (1, (0.5, -0.5), 13, 13, None),
    (0, (14.7, 0.0), 201, 215, None),
    (0, (14.5, 0.0), 196, 210, None),
    (0, (0.1, 0.0), 4, 4, (0.997502081599, 0.0)),
]


@pytest.mark.parametrize("n,z,count,nstart,want", BESSEL)
def test_bessel_worked(n, z, count, nstart, want):
    c, ns, _ = m.besselj_search(n, z)
    assert (c, ns) == (count, nstart)
    if want is not None:
        got = m.besselj(n, z)
        for g, w in zip(got, want):
            assert abs(g - w) <= 6e-12 * max(1.0, abs(w))
        if z[1] == 0.0:
            same(got[1], 0.0)


def test_bessel_edges():
    r = m.besselj(0, (0.0, 0.0))
    assert math.isnan(r[0]) and math.isnan(r[1])
    assert m.besselj_search(0, (0.0, 0.0))[:2] == (201, 201)
    # tiny argument: one step, the result 1, e^{-iz} or e^{iz}
    assert m.besselj_search(0, (1e-6, 0.0))[:2] == (1, 1)
    same(m.besselj(0, (1e-6, 0.0))[0], 1.0)
    z = (3e-6, 4e-6)
    got, want = complex(*m.besselj(0, z)), complex(*m.c_cexp((z[1], -z[0])))
    assert abs(got - want) <= 2.3e-16
    # conjugate symmetry, bit for bit
    for n, z in [(0, (3.0, 2.0)), (1, (7.5, -7.5)), (4, (0.3, 1.9))]:
        a = m.besselj(n, z)
        b = m.besselj(n, (z[0], -z[1]))
        same(a[0], b[0])
        same(a[1], -b[1])


def test_bessel_against_mpmath():
    """The recurrence from its modest start index is good to about 1e-12."""
    mpmath.mp.dps = 30
    for n, z in [(0, (1.0, 0.0)), (1, (2.0, -2.0)), (0, (30.0, -30.0)), (1, (30.0, -30.0)),
                 (3, (5.0, 1.0)), (0, (100.0, -100.0)), (7, (0.9, 0.2))]:
        got = complex(*m.besselj(n, z))
        want = complex(mpmath.besselj(n, mpmath.mpc(*z)))
        assert abs(got - want) <= 5e-11 * abs(want), (n, z, got, want)


def test_runtime_routines_against_mpmath():
    """The routines through pow, exp, log, cabs and the complex functions,
    against the same formulas in 40-digit arithmetic."""
    mp = mpmath.mp
    mp.dps = 40
    f = mpmath.mpf
    for t, rrr in [(4.0, 100.0), (20.0, 50.0), (77.0, 100.0), (300.0, 50.0)]:
        beta = f(0.6340000033378601) / rrr
        betar = beta / f(0.0003000000142492354)
        p7 = f(0.8379999995231628) / betar ** f(0.16609999537467957)
        w0 = beta / t
        wi = (f(m.P1) * f(t) ** f(m.P2)) / (1 + (f(m.P1) * m.P3) * f(t) ** (f(m.P2) + f(m.P4))
                                            * mpmath.exp(-(f(m.P5) / t) ** f(m.P6)))
        wi0 = p7 * wi * w0 / (wi + w0)
        want = 1 / (w0 + wi + wi0)
        assert abs(m.k_cu(t, rrr) - want) <= 1e-14 * want
    # cp_cu: the decimal values to ten digits; the table of k_cu likewise
    for t, want in [(4.0, 0.1115670700), (20.0, 7.809802866), (77.0, 184.4417878),
                    (273.16, 361.4567781), (300.0, 363.6299379)]:
        assert abs(m.cp_cu(t) - want) <= 2e-10 * want
    assert abs(m.cp_cu(1.0) - 13.52072563194277) <= 1e-15 * 13.52
    for t, rrr, want in [(4.0, 100.0, 630.4311520), (20.0, 50.0, 1368.021044),
                         (273.16, 100.0, 403.3149441), (300.0, 50.0, 396.2137963)]:
        assert abs(m.k_cu(t, rrr) - want) <= 5e-10 * want
    assert abs(m.Ell_Req(2.0, 2.0, 2.0) - 2.0) <= 4.5e-16
    # df_ducts, one short section (k L about 0.2), against the open-line formula Z tanh(Gamma L)
    # evaluated in mpmath with mpmath's Bessel functions.
    rho, cp, c, gamma, kappa, eta, a, fr = 1.78, 520.0, 308.0, 5 / 3, 0.0164, 2.1e-5, 50.0, 2500.0
    r, L = 0.001 * 1.5, 0.001 * 4.0
    pi = f(m.PI)

    def F(delta):
        z = r * (1 - 1j) / delta
        return 2 * mpmath.besselj(1, z) / (z * mpmath.besselj(0, z))
    dv = mpmath.sqrt(eta / (fr * rho * pi))
    dt = mpmath.sqrt(kappa / (fr * rho * pi * cp))
    A = 1 + (gamma - 1) * F(dt)
    B = 1 - F(dv)
    k = fr * 2 * pi / c
    G = 1j * k * mpmath.sqrt(A / B)
    Z = rho * c / (r * r * pi) / mpmath.sqrt(A * B)
    zin = Z * mpmath.tanh(G * L)
    want = complex(1j * rho * c / zin / (f(m.ZAC[1]) * (0.05 * 0.05) * 4 * pi))
    got = complex(*m.df_ducts([1.5], [4.0], 1, rho, cp, c, gamma, kappa, eta, a, fr, 2))
    assert abs(got - want) <= 1e-10 * abs(want)
    assert got.real > 0 and got.imag > 0


def test_duct_edges():
    args = (1.78, 520.0, 308.0, 5 / 3, 0.0164, 2.1e-5, 50.0, 2500.0)
    for r in [m.df_ducts([1.0], [10.0], 0, *args, 2), m.df_ducts([1.0], [10.0], 1, *args, 1),
              m.df_ducts([1.0], [0.0], 1, *args, 2)]:
        assert math.isnan(r[0]) and math.isnan(r[1])
    a = m.df_ducts([1.0, 2.0], [10.0, 30.0], 2, *args, 3)
    b = m.df_ducts([2.0, 1.0], [30.0, 10.0], 2, *args, 3)
    assert a != b
