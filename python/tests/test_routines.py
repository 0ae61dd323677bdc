"""The NumPy functions: the bits of the C exports over random arrays,
broadcasting and dtypes, and the errors of bad arguments."""

import ctypes
from ctypes import POINTER, byref, c_double, c_float, c_int32, c_uint64

import numpy as np
import pytest

import velk

RNG = np.random.default_rng(20261210)
N = 64  # random elements per routine

dp = POINTER(c_double)
ip = POINTER(c_int32)


class Complex(ctypes.Structure):
    _fields_ = [("re", c_double), ("im", c_double)]


def reals(n=N):
    """Positive and some negative values over twelve decades, and a few
    specials, so that NaN, infinity and signed zero paths are compared too."""
    x = 10.0 ** RNG.uniform(-6, 4, n) * RNG.choice([1.0, 1.0, 1.0, -1.0], n)
    x[RNG.integers(0, n, 3)] = RNG.choice([0.0, -0.0, np.inf, np.nan], 3)
    return x


def modes(n=N):
    return RNG.integers(-2, 19, n).astype(np.int32)  # inside and outside every table


def cplx(n=N):
    return RNG.uniform(-30, 30, n) + 1j * RNG.uniform(-30, 30, n)


def bits(a):
    a = np.asarray(a)
    return a.view({8: np.uint64, 4: np.uint32, 16: np.uint64}[a.dtype.itemsize])


# name, export, argument kinds (d real, i mode number), result: d double,
# f single, p a pair through two out references.  The arguments are those of
# the export in its order; t and p of g_t and g_b are added below.
TABLE = [
    ("equal_volume_radius", "Ell_Req", "ddd", "d"),
    ("ideal_frequency", "f_id", "idd", "d"),
    ("te_family_factor", "__velk_MOD_hte", "d", "d"),
    ("tm_family_factor", "__velk_MOD_htm", "d", "d"),
    ("deformation_te1n", "Eps_TE1n", "dddi", "p"),
    ("deformation_tm1n", "Eps_TM1n", "dddi", "p"),
    ("second_order_te1n", "dzm2_zTE1n", "ddi", "f"),
    ("second_order_tm1n", "dzm2_zTM1n", "ddi", "f"),
    ("skin_depth", "d_sk", "ddd", "d"),
    ("skin_perturbation_te", "df_skTE", "dd", "p"),
    ("skin_perturbation_tm1n", "df_skTM1n", "ddi", "p"),
    ("cube_shift_te", "df_dcTE", "dd", "d"),
    ("cube_shift_tm1n", "df_dcTM1n", "ddi", "d"),
    ("viscous_penetration", "d_v", "ddd", "d"),
    ("thermal_penetration", "d_t", "dddd", "d"),
    ("accommodation_length", "I_t", "dddddd", "d"),
    ("thermal_halfwidth", "g_th", "ddd", "d"),
    ("thermal_shift", "df_dth", "ddd", "d"),
    ("thermal_second_order", "g_thO2", "ddd", "d"),
    ("accommodation_shift", "df_Ith", "ddd", "f"),
    ("thermal_shift_hz", "df_th", "dddddddd", "d"),
    ("thermal_halfwidth_hz", "g_t", "ddddddd", "d"),
    ("bulk_halfwidth", "g_b", "ddddd", "d"),
    ("mic_shift", "df_mic", "dddd", "d"),
    ("copper_conductivity", "k_cu", "dd", "d"),
    ("copper_heat_capacity", "cp_cu", "d", "d"),
    ("shell_halfwidth", "g_Cu", "ddddd", "d"),
    ("shell_shift", "df_CuTh", "ddddd", "f"),
]
UNREAD_T_P = {"g_t", "g_b"}  # exports with two leading arguments they never read


def call_export(lib, export, kinds, result, args):
    fn = getattr(lib, export)
    fn.restype = {"d": c_double, "f": c_float, "p": None}[result]
    refs = [c_int32(int(a)) if k == "i" else c_double(float(a)) for k, a in zip(kinds, args)]
    if export in UNREAD_T_P:
        refs = [c_double(0.0), c_double(0.0)] + refs
    if result == "p":
        x, y = c_double(), c_double()
        fn(*(byref(r) for r in refs), byref(x), byref(y))
        return x.value, y.value
    return fn(*(byref(r) for r in refs))


@pytest.mark.parametrize("name,export,kinds,result", TABLE, ids=[t[0] for t in TABLE])
def test_bits_of_the_export(clib, name, export, kinds, result):
    args = [modes() if k == "i" else reals() for k in kinds]
    got = getattr(velk, name)(*args)
    want = [call_export(clib, export, kinds, result, a) for a in zip(*args)]
    if result == "p":
        for part, w in zip(got, zip(*want)):
            assert part.dtype == np.float64
            np.testing.assert_array_equal(bits(part), bits(np.array(w)))
    else:
        dtype = np.float32 if result == "f" else np.float64
        assert got.dtype == dtype
        np.testing.assert_array_equal(bits(got), bits(np.array(want, dtype=dtype)))


def test_bits_of_second_order_ac(clib):
    e1, e2, n = reals(), reals(), modes()
    clib.O2dZ2AC.restype = c_float
    want = [clib.O2dZ2AC((c_double * 2)(a, b), byref(c_int32(int(k)))) for a, b, k in zip(e1, e2, n)]
    np.testing.assert_array_equal(bits(velk.second_order_ac(e1, e2, n)),
                                  bits(np.array(want, dtype=np.float32)))


def test_bits_of_bessel_functions(clib):
    # Orders beyond the argument too, real arguments as complex, and z = 0 (NaN).
    n = RNG.integers(-40, 41, N).astype(np.int32)
    z = cplx()
    z[:4] = [0.0, 2.5, -1j, 1e-3 + 0j]
    clib.__velk_MOD_besselj.restype = POINTER(Complex)
    clib.__velk_MOD_normbesselj.restype = POINTER(Complex)

    def ref_besselj(k, w):
        out = Complex()
        clib.__velk_MOD_besselj(byref(out), byref(c_int32(int(k))), byref(Complex(w.real, w.imag)))
        return complex(out.re, out.im)

    want = np.array([ref_besselj(k, w) for k, w in zip(n, z)])
    got = velk.besselj(n, z)
    assert got.dtype == np.complex128
    np.testing.assert_array_equal(bits(got), bits(want))
    # One order over many arguments runs the batch routine: the same bits.
    want1 = np.array([ref_besselj(7, w) for w in z])
    np.testing.assert_array_equal(bits(velk.besselj(7, z)), bits(want1))
    np.testing.assert_array_equal(bits(velk.besselj(np.int64(7), z.reshape(8, 8))),
                                  bits(want1.reshape(8, 8)))

    nstart = RNG.integers(30, 80, N).astype(np.int32)
    seed = cplx() * 1e-10
    n = np.abs(n)
    want = []
    for k, w, s, ss in zip(n, z, nstart, seed):
        out = Complex()
        clib.__velk_MOD_normbesselj(byref(out), byref(c_int32(int(k))), byref(Complex(w.real, w.imag)),
                                    byref(c_int32(int(s))), byref(c_int32(0)),
                                    byref(Complex(ss.real, ss.imag)))
        want.append(complex(out.re, out.im))
    np.testing.assert_array_equal(bits(velk.normbesselj(n, z, nstart, seed)), bits(np.array(want)))


def test_bits_of_cpowi(clib):
    z = cplx().astype(np.complex64) / 10
    n = RNG.integers(-6, 7, N).astype(np.int32)
    clib._velk_cpowi.restype = c_uint64
    clib._velk_cpowi.argtypes = [c_float, c_float, c_int32]
    raw = np.array([clib._velk_cpowi(w.real, w.imag, int(k)) for w, k in zip(z, n)], dtype=np.uint64)
    got = velk.cpowi(z, n)
    assert got.dtype == np.complex64
    np.testing.assert_array_equal(got.view(np.uint64), raw)  # real part in the low half


def test_bits_of_ducts(clib):
    # Physical gases: the batch over frequencies, over modes and the general loop.
    rduct = RNG.uniform(0.2, 2.0, 3)
    lduct = RNG.uniform(1.0, 200.0, 3)
    gas = dict(rho=1.78, cp=520.3, c=307.8, gamma=5 / 3, kappa=0.0164, eta=2.1e-5, a=50.0)
    fn = clib.df_ducts
    fn.restype = None

    def ref(f, n, **g):
        df, g_ = c_double(), c_double()
        d = {**gas, **g}
        fn((c_double * 3)(*rduct), (c_double * 3)(*lduct), byref(c_int32(3)),
           *(byref(c_double(d[k])) for k in ("rho", "cp", "c", "gamma", "kappa", "eta", "a")),
           byref(c_double(f)), byref(c_int32(int(n))), byref(df), byref(g_))
        return df.value, g_.value

    def check(got, want):
        for part, w in zip(got, zip(*want)):
            np.testing.assert_array_equal(bits(part), bits(np.array(w)))

    f = RNG.uniform(1000, 20000, 16)
    check(velk.duct_perturbation(rduct, lduct, *gas.values(), f, 3), [ref(x, 3) for x in f])
    n = np.arange(-1, 19, dtype=np.int64)
    check(velk.duct_perturbation(rduct, lduct, *gas.values(), 4400.0, n), [ref(4400.0, k) for k in n])
    rho = RNG.uniform(0.1, 10, 16)
    got = velk.duct_perturbation(rduct, lduct, rho, gas["cp"], gas["c"], gas["gamma"], gas["kappa"],
                                 gas["eta"], gas["a"], f, 2)
    check(got, [ref(x, 2, rho=r) for x, r in zip(f, rho)])


def test_sort_frequencies():
    f, count = velk.sort_frequencies([3.0, -1.0, 5.0], 1.0, [[2.0], [-1.0]])
    assert f.shape == (2, 3, 3) and count.shape == (2, 3) and count.dtype == np.int32
    np.testing.assert_array_equal(count, [[3, 2, 3], [2, 1, 2]])
    np.testing.assert_array_equal(f[0, 0], [1.0, 2.0, 3.0])
    np.testing.assert_array_equal(f[1, 1, :1], [1.0])


def test_broadcasting_shapes_and_scalars():
    # Orders and mode numbers broadcast like every other argument.
    f = velk.ideal_frequency(np.arange(1, 5)[:, None], [300.0, 310.0, 320.0], 50.0)
    assert f.shape == (4, 3) and f.dtype == np.float64
    assert f[1, 2] == velk.ideal_frequency(2, 320.0, 50.0)
    j = velk.besselj(np.arange(3)[:, None, None], np.ones((2, 5)) * (1 + 1j))
    assert j.shape == (3, 2, 5)
    # All scalars: a NumPy scalar of the result's type, as NumPy's ufuncs give.
    for value, dtype in ((velk.ideal_frequency(2, 343.0, 50.0), np.float64),
                         (velk.second_order_ac(1e-3, -1e-3, 2), np.float32),
                         (velk.besselj(1, 2.0), np.complex128),
                         (velk.skin_perturbation_te(2e-6, 50.0).g, np.float64)):
        assert np.ndim(value) == 0 and type(value) is dtype
    # Empty arrays give empty results.
    assert velk.viscous_penetration([], 1.0, 1.0).shape == (0,)
    # Integer, float32 and non-contiguous inputs are converted, not refused.
    a = np.arange(20, dtype=np.float32)[::4] + 40
    np.testing.assert_array_equal(velk.ideal_frequency(np.int16(3), 343, a),
                                  velk.ideal_frequency(3, 343.0, a.astype(np.float64)))


def test_mode_numbers_outside_the_tables_give_nan():
    n = [0, -1, 17, 2**31, -(2**40), 2**70, 2.0]
    f = velk.ideal_frequency(n, 343.0, 50.0)
    assert np.isnan(f[:-1]).all() and f[-1] == velk.ideal_frequency(2, 343.0, 50.0)
    assert np.isnan(velk.second_order_tm1n(1e-3, 1e-3, 14))
    assert np.isnan(velk.skin_perturbation_tm1n(1e-6, 50.0, [0, 14]).df).all()
    assert np.isnan(velk.duct_perturbation([1.0], [10.0], 1.78, 520.0, 308.0, 5 / 3, 0.0164,
                                           2.1e-5, 50.0, 4400.0, 17).df)


@pytest.mark.parametrize("call,error,match", [
    (lambda: velk.ideal_frequency(2, "343", 50.0), TypeError, "c must be real"),
    (lambda: velk.ideal_frequency(2, 343.0 + 1j, 50.0), TypeError, "c must be real"),
    (lambda: velk.ideal_frequency(2, None, 50.0), TypeError, "c must be real"),
    (lambda: velk.ideal_frequency(True, 343.0, 50.0), TypeError, "n must be integers"),
    (lambda: velk.ideal_frequency(2.5, 343.0, 50.0), TypeError, "n must be integers"),
    (lambda: velk.ideal_frequency([2, np.nan], 343.0, 50.0), TypeError, "n must be integers"),
    (lambda: velk.besselj(1, "1+1j"), TypeError, "z must be complex"),
    (lambda: velk.ideal_frequency(2, 343.0), TypeError, "missing"),
    (lambda: velk.ideal_frequency([2, 3], [1.0, 2.0, 3.0], 50.0), ValueError, "broadcast"),
    (lambda: velk.besselj([0, 1], [1j, 2j, 3j]), ValueError, "broadcast"),
    (lambda: velk.duct_perturbation([1.0, 2.0], [10.0], 1.78, 520.0, 308.0, 5 / 3, 0.0164,
                                    2.1e-5, 50.0, 4400.0, 2), ValueError, "one length"),
    (lambda: velk.duct_perturbation([[1.0]], [[10.0]], 1.78, 520.0, 308.0, 5 / 3, 0.0164,
                                    2.1e-5, 50.0, 4400.0, 2), ValueError, "1-D"),
    (lambda: velk.duct_perturbation([1.0], [10.0], 1.78, 520.0, 308.0, 5 / 3, 0.0164,
                                    2.1e-5, 50.0, [1.0, 2.0], [2, 3, 4]), ValueError, "broadcast"),
])
def test_bad_arguments(call, error, match):
    with pytest.raises(error, match=match):
        call()


def test_the_kernels_refuse_what_the_layer_would_never_pass():
    # Different lengths or silent narrowing are refused, not read past.
    with pytest.raises(ValueError):
        velk._velk.ideal_frequency(np.ones(2, np.int32), np.ones(3), np.ones(3))
    with pytest.raises(TypeError):
        velk._velk.ideal_frequency(np.ones(3), np.ones(3), np.ones(3))


def test_every_routine_names_its_export():
    exports = {name: export for name, export, _, _ in TABLE}
    exports.update(second_order_ac="O2dZ2AC", besselj="__velk_MOD_besselj",
                   normbesselj="__velk_MOD_normbesselj", cpowi="_velk_cpowi",
                   sort_frequencies="__velk_MOD_sortfreq", duct_perturbation="df_ducts")
    for name in velk._routines.__all__:
        f = getattr(velk, name)
        if name in ("Perturbation", "Deformation", "boundary_layer_function"):
            continue
        assert f"``{exports[name]}" in f.__doc__, name
        assert "Parameters" in f.__doc__ and "Returns" in f.__doc__, name
