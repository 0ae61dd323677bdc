"""The library's routines as NumPy functions.

Every function broadcasts its numeric arguments against each other (mode
numbers and Bessel orders included) and returns an array of the broadcast
shape, or a NumPy scalar when every argument is a scalar.  The work is done by
the compiled kernels (velk._velk) in C++ with the GIL released; each element
carries the bits of the exported C routine named in the docstring.

Argument conversion:

* real arguments accept Python and NumPy integers and floats (not bool,
  complex, strings or objects: TypeError);
* mode numbers and Bessel orders accept integers, or floats holding whole
  numbers (anything else: TypeError); values beyond the 32-bit range are
  clamped to it, so a mode number outside its table still gives NaN;
* complex arguments accept any real or complex numbers (complex128).

Units are those of the library: radii and duct dimensions in mm, penetration,
accommodation and skin depths in m, pressure in kPa, everything else SI.
Relative results are fractions of the mode frequency (multiply by 1e6 for
ppm).  Nothing is validated beyond types and shapes: infinities and NaNs
propagate, and a mode number outside its table gives NaN.
"""

import collections
import functools
import inspect
import numbers

import numpy as np

from . import _velk

__all__ = [
    "equal_volume_radius", "ideal_frequency", "cpowi",
    "besselj", "normbesselj", "boundary_layer_function",
    "sort_frequencies", "te_family_factor", "tm_family_factor",
    "deformation_te1n", "deformation_tm1n",
    "second_order_te1n", "second_order_tm1n", "second_order_ac",
    "skin_depth", "skin_perturbation_te", "skin_perturbation_tm1n",
    "cube_shift_te", "cube_shift_tm1n",
    "viscous_penetration", "thermal_penetration", "accommodation_length",
    "thermal_halfwidth", "thermal_shift", "thermal_second_order",
    "accommodation_shift", "thermal_shift_hz", "thermal_halfwidth_hz",
    "bulk_halfwidth", "mic_shift", "copper_conductivity", "copper_heat_capacity",
    "shell_halfwidth", "shell_shift", "duct_perturbation",
    "Perturbation", "Deformation",
]

Perturbation = collections.namedtuple("Perturbation", ["df", "g"])
Perturbation.__doc__ = """Relative frequency shift df = Δf/f and relative half-width g/f."""
Deformation = collections.namedtuple("Deformation", ["eps1", "eps2"])
Deformation.__doc__ = """The two deformation parameters of a nearly spherical cavity."""

_INT32_MIN, _INT32_MAX = -(2**31), 2**31 - 1


# ---- argument conversion ------------------------------------------------------

def _real(name, x):
    if isinstance(x, numbers.Real) and not isinstance(x, (bool, np.bool_)):
        return np.asarray(float(x))
    a = np.asarray(x)
    if a.dtype.kind == "O":  # e.g. Python integers beyond 64 bits, Fractions
        return _elements(name, a, "real numbers", lambda v: isinstance(v, numbers.Real), float,
                         np.float64)
    if a.dtype.kind not in "iuf":
        raise TypeError(f"{name} must be real numbers, not {_what(x, a)}")
    return a.astype(np.float64, copy=False)


def _elements(name, a, what, accept, convert, dtype):
    out = np.empty(a.shape, dtype=dtype)
    for index, v in np.ndenumerate(a):
        if isinstance(v, (bool, np.bool_)) or not accept(v):
            raise TypeError(f"{name} must be {what}, not {type(v).__name__}")
        out[index] = convert(v)
    return out


def _clamp(v):
    if isinstance(v, numbers.Integral):
        v = int(v)
    elif isinstance(v, numbers.Real) and np.isfinite(v) and float(v).is_integer():
        v = int(v)
    else:
        raise TypeError("must be integers")
    return min(max(v, _INT32_MIN), _INT32_MAX)


def _complex(name, x):
    if isinstance(x, numbers.Complex) and not isinstance(x, (bool, np.bool_)):
        return np.asarray(complex(x))
    a = np.asarray(x)
    if a.dtype.kind not in "iufc":
        raise TypeError(f"{name} must be complex numbers, not {_what(x, a)}")
    return a.astype(np.complex128, copy=False)


def _integer(name, x):
    if isinstance(x, numbers.Integral) and not isinstance(x, (bool, np.bool_)):
        return np.asarray(_clamp(x), dtype=np.int32)
    a = np.asarray(x)
    if a.dtype.kind == "O":
        def whole(v):
            try:
                _clamp(v)
                return True
            except TypeError:
                return False
        return _elements(name, a, "integers", whole, _clamp, np.int32)
    if a.dtype.kind == "f":
        with np.errstate(invalid="ignore"):
            whole = np.all(np.isfinite(a) & (a == np.floor(a)))
        if not whole:
            raise TypeError(f"{name} must be integers; got values with a fraction, inf or nan")
    elif a.dtype.kind not in "iu":
        raise TypeError(f"{name} must be integers, not {_what(x, a)}")
    return np.clip(a, _INT32_MIN, _INT32_MAX).astype(np.int32)


def _what(x, a):
    return f"dtype {a.dtype}" if isinstance(x, np.ndarray) else type(x).__name__


_CONVERT = {"d": _real, "i": _integer, "z": _complex}


def _broadcast(names, arrays):
    try:
        return np.broadcast_arrays(*arrays)
    except ValueError:
        shapes = ", ".join(f"{n} {a.shape}" for n, a in zip(names, arrays))
        raise ValueError(f"arguments do not broadcast to one shape: {shapes}") from None


def _flat(a, dtype):
    return np.ascontiguousarray(a, dtype=dtype).reshape(-1)


def _shaped(out, shape):
    out = out.reshape(shape + out.shape[1:])
    return out[()] if out.ndim == 0 else out


def _routine(kinds, result=None):
    """Wraps a function whose body is the kernel of the same name in _velk.

    kinds: one letter per argument, d real, i integer, z complex.  result: a
    namedtuple type for kernels with two results.
    """
    dtypes = {"d": np.float64, "i": np.int32, "z": np.complex128}

    def wrap(f):
        kernel = getattr(_velk, f.__name__)
        sig = inspect.signature(f)
        names = list(sig.parameters)
        assert len(names) == len(kinds), f.__name__

        @functools.wraps(f)
        def call(*args, **kwargs):
            bound = sig.bind(*args, **kwargs)
            conv = [_CONVERT[k](n, bound.arguments[n]) for k, n in zip(kinds, names)]
            arrays = _broadcast(names, conv)
            shape = arrays[0].shape
            out = kernel(*(_flat(a, dtypes[k]) for a, k in zip(arrays, kinds)))
            if result is None:
                return _shaped(out, shape)
            return result(*(_shaped(o, shape) for o in out))

        return call

    return wrap


# ---- Ideal resonator ---------------------------------------------------------------

@_routine("ddd")
def equal_volume_radius(a1, a2, a3):
    """Radius of the sphere with the volume of an ellipsoid.

    Parameters
    ----------
    a1, a2, a3 : array_like
        Semi-axes of the ellipsoid, any one length unit.

    Returns
    -------
    ndarray of float64
        (a1 a2 a3)^(1/3), in the unit of the semi-axes.

    Notes
    -----
    Export: ``Ell_Req``.  A negative product gives NaN.
    """


@_routine("idd")
def ideal_frequency(n, c, a):
    """Ideal frequency of the radial acoustic mode (0, n).

    Parameters
    ----------
    n : array_like of int
        Mode number, 1..16 (index into the table zac of eigenvalues).
    c : array_like
        Speed of sound, m/s.
    a : array_like
        Radius of the resonator, mm.

    Returns
    -------
    ndarray of float64
        f = c zac(n) / (2 pi a), Hz, with a in metres and the stored
        pi = 3.1415927410125732.  Modes 1, 14, 15, 16 have eigenvalue 0.

    Notes
    -----
    Export: ``f_id``.

    Examples
    --------
    >>> float(velk.ideal_frequency(2, 343.0, 50.0))
    4905.91757555612
    """


def cpowi(z, n):
    """Single-precision complex power z**n by repeated squaring.

    Parameters
    ----------
    z : array_like of complex
        Base, rounded to complex64.
    n : array_like of int
        Exponent; n = 0 gives 1 whatever z is, negative n raises 1/z to -n.

    Returns
    -------
    ndarray of complex64

    Notes
    -----
    Export: ``_velk_cpowi`` (the runtime's complex power routine).
    """
    zz, nn = _broadcast(["z", "n"], [_complex("z", z), _integer("n", n)])
    out = _velk.cpowi(_flat(zz, np.complex64), _flat(nn, np.int32))
    return _shaped(out, zz.shape)


# ---- Bessel functions ----------------------------------------------------------------

def besselj(n, z):
    """Bessel function of the first kind of integer order and complex argument.

    Parameters
    ----------
    n : array_like of int
        Order (negative orders: J_{-n} = (-1)^n J_n).
    z : array_like of complex
        Argument.

    Returns
    -------
    ndarray of complex128
        J_n(z) by backward (Miller) recurrence
        w_{k-1} = (2k/z) w_k - w_{k+1} from a start index found by a trial
        forward recurrence, normalised by N = (w_0 + sum 2 (-i)^k w_k) e^{iz}
        (Im z > 0; mirrored for Im z < 0, w_0 + 2 sum w_{2k} for real z);
        quiet NaN where the evaluation is not defined (z = 0, |z| not finite).

    Notes
    -----
    Export: ``__velk_MOD_besselj``.  A scalar order over an array of
    arguments runs the library's batch routine.

    Examples
    --------
    >>> j = velk.besselj([0, 1], 1.5 + 0.5j)
    >>> j.dtype, j.shape
    (dtype('complex128'), (2,))
    """
    nn, zz = _integer("n", n), _complex("z", z)
    if nn.ndim == 0:
        out = _velk.besselj_one_order(int(nn), _flat(zz, np.complex128))
        return _shaped(out, zz.shape)
    nn, zz = _broadcast(["n", "z"], [nn, zz])
    return _shaped(_velk.besselj(_flat(nn, np.int32), _flat(zz, np.complex128)), zz.shape)


@_routine("iziz")
def normbesselj(n, z, nstart, seed):
    """Normalised backward recurrence: w_n / N.

    Parameters
    ----------
    n : array_like of int
        Order wanted.
    z : array_like of complex
        Argument.
    nstart : array_like of int
        Start index of the recurrence: w_nstart = 0, w_{nstart-1} = 1/seed.
    seed : array_like of complex
        Trial value at the start index.

    Returns
    -------
    ndarray of complex128
        w_n / N, N the normalising sum of the sequence; besselj uses it.

    Notes
    -----
    Export: ``__velk_MOD_normbesselj`` (whose count argument is not read).
    """


def boundary_layer_function(z):
    """The duct model's boundary-layer function 2 J_1(z) / (z J_0(z)).

    Parameters
    ----------
    z : array_like of complex
        Argument, (1 - i) r / delta for a tube of radius r and penetration
        length delta.

    Returns
    -------
    ndarray of complex128
        The bits that duct_perturbation uses inside (no export of its own).
    """
    zz = _complex("z", z)
    return _shaped(_velk.boundary_layer_function(_flat(zz, np.complex128)), zz.shape)


# ---- Microwave triplets and shape ----------------------------------------------------

SortedTriplet = collections.namedtuple("SortedTriplet", ["f", "count"])


def sort_frequencies(fa, fb, fc):
    """The frequencies of a triplet that are not -1, ascending.

    Parameters
    ----------
    fa, fb, fc : array_like
        Frequencies, Hz; -1 marks a missing one.

    Returns
    -------
    f : ndarray of float64, shape (..., 3)
        The present frequencies in ascending order, first ``count`` of the
        last axis set (the rest 0).
    count : ndarray of int32
        How many are present.

    Notes
    -----
    Export: ``__velk_MOD_sortfreq`` (which writes through an array
    descriptor).  A NaN stays where the insertion puts it.
    """
    names = ["fa", "fb", "fc"]
    arrays = _broadcast(names, [_real(n, x) for n, x in zip(names, (fa, fb, fc))])
    f, count = _velk.sort_frequencies(*(_flat(a, np.float64) for a in arrays))
    shape = arrays[0].shape
    return SortedTriplet(f.reshape(shape + (3,)), _shaped(count, shape))


@_routine("d")
def te_family_factor(z):
    """Mode-family factor of TE modes, h = (4 + z^2) / (z^2 - 2).

    Parameters
    ----------
    z : array_like
        Eigenvalue.

    Returns
    -------
    ndarray of float64

    Notes
    -----
    Export: ``__velk_MOD_hte``.
    """


@_routine("d")
def tm_family_factor(z):
    """Mode-family factor of TM modes, h = (4 + 2 z^2) / (15 z^2 - 2).

    Parameters
    ----------
    z : array_like
        Eigenvalue.

    Returns
    -------
    ndarray of float64

    Notes
    -----
    Export: ``__velk_MOD_htm``.
    """


_DEFORMATION_DOC = """Deformation parameters from a microwave triplet of mode {mode}.

    Parameters
    ----------
    fa, fb, fc : array_like
        The three frequencies of the split mode, Hz, in any order.
    n : array_like of int
        Mode number, 1..{last}.

    Returns
    -------
    Deformation(eps1, eps2) of ndarrays of float64
        With the triplet sorted, f1 <= f2 <= f3, and its mean fm:
        eps1 = (f2^2 - f1^2) / d, eps2 = (f2^2 - f3^2) / d,
        d = 3 fm^2 h(z), h the {family} family factor at z = {table}(n).

    Notes
    -----
    Export: ``{export}``.  All three frequencies zero give NaN.
    """


@_routine("dddi", Deformation)
def deformation_te1n(fa, fb, fc, n):
    pass


@_routine("dddi", Deformation)
def deformation_tm1n(fa, fb, fc, n):
    pass


deformation_te1n.__doc__ = _DEFORMATION_DOC.format(
    mode="TE1n", last=12, family="TE", table="zte", export="Eps_TE1n")
deformation_tm1n.__doc__ = _DEFORMATION_DOC.format(
    mode="TM1n", last=13, family="TM", table="ztm", export="Eps_TM1n") + """
    Examples
    --------
    >>> e = velk.deformation_tm1n(10.0, 10.001, 10.002, 1)
    >>> float(e.eps1), float(e.eps2)
    (0.0003879902256445874, -0.00038802902272775107)
"""

_SECOND_ORDER_DOC = """Second-order shape correction of the eigenvalue of {mode} modes.

    Parameters
    ----------
    eps1, eps2 : array_like
        Deformation parameters (as deformation_tm1n returns them).
    n : array_like of int
        Mode number, {range}.

    Returns
    -------
    ndarray of float32
        single(t(z) q), with q = eps1^2 - eps1 eps2 + eps2^2 and the mode
        factor t at the eigenvalue z = {table}(n): {factor}.

    Notes
    -----
    Export: ``{export}``.
    """


@_routine("ddi")
def second_order_te1n(eps1, eps2, n):
    pass


@_routine("ddi")
def second_order_tm1n(eps1, eps2, n):
    pass


@_routine("ddi")
def second_order_ac(eps1, eps2, n):
    pass


second_order_te1n.__doc__ = _SECOND_ORDER_DOC.format(
    mode="TE1n", range="1..12", table="zte", export="dzm2_zTE1n",
    factor="t = 22 z^2 / 375 - 2/225")
second_order_tm1n.__doc__ = _SECOND_ORDER_DOC.format(
    mode="TM1n", range="1..13", table="ztm", export="dzm2_zTM1n",
    factor="t = 2 (33 z^8 - 245 z^6 + 714 z^4 - 1152 z^2 + 160)\n        / (1125 (z^2 - 2)^3)")
second_order_ac.__doc__ = _SECOND_ORDER_DOC.format(
    mode="radial acoustic (0,n)", range="1..16 (mode 1 gives 0)", table="zac",
    factor="t = 8 z^2 / 135",
    export="O2dZ2AC (which takes eps as one array of two)")


# ---- Microwave corrections ---------------------------------------------------------

@_routine("ddd")
def skin_depth(x1, x2, x3):
    """Skin depth of a metal wall, delta = 1 / sqrt(pi mu0 f sigma mu_r).

    Parameters
    ----------
    x1, x2, x3 : array_like
        The three factors, usually frequency (Hz), electrical conductivity
        (S/m) and relative permeability; they enter only as their product.

    Returns
    -------
    ndarray of float64
        Skin depth, m (with those units); mu0 = 1.25663706212e-06 H/m and the
        stored pi.

    Notes
    -----
    Export: ``d_sk``.

    Examples
    --------
    >>> float(velk.skin_depth(1.0e9, 5.8e7, 1.0))
    2.089806755292987e-06
    """


@_routine("dd", Perturbation)
def skin_perturbation_te(dsk, a):
    """Skin-depth perturbation of TE modes.

    Parameters
    ----------
    dsk : array_like
        Skin depth, m.
    a : array_like
        Cavity radius, mm.

    Returns
    -------
    Perturbation(df, g) of ndarrays of float64
        (df + i g) = (-1 + i) x / 2 with x = dsk / a (a in metres).

    Notes
    -----
    Export: ``df_skTE``.
    """


@_routine("ddi", Perturbation)
def skin_perturbation_tm1n(dsk, a, n):
    """Skin-depth perturbation of TM1n modes.

    Parameters
    ----------
    dsk : array_like
        Skin depth, m.
    a : array_like
        Cavity radius, mm.
    n : array_like of int
        Mode number, 1..13.

    Returns
    -------
    Perturbation(df, g) of ndarrays of float64
        The TE perturbation times t / (t - 2), t = ztm(n)^2; df = -g.

    Notes
    -----
    Export: ``df_skTM1n``.
    """


@_routine("dd")
def cube_shift_te(r, a):
    """Relative shift of TE modes proportional to (r/a)^3.

    Parameters
    ----------
    r : array_like
        Small length (e.g. the radius of a hole), mm.
    a : array_like
        Cavity radius, mm.

    Returns
    -------
    ndarray of float64
        -0.95 (r/a)^3 / (4 pi), with 0.95 held as 0.949999988079071.

    Notes
    -----
    Export: ``df_dcTE``.
    """


@_routine("ddi")
def cube_shift_tm1n(r, a, n):
    """Relative shift of TM1n modes proportional to (r/a)^3.

    Parameters
    ----------
    r : array_like
        Small length, mm.
    a : array_like
        Cavity radius, mm.
    n : array_like of int
        Mode number, 1..13.

    Returns
    -------
    ndarray of float64
        -(0.95 t - 1.152) / (t - 2) (r/a)^3 / (4 pi), t = ztm(n)^2.

    Notes
    -----
    Export: ``df_dcTM1n``.
    """


# ---- Boundary layers and thermal terms -----------------------------------------------

@_routine("ddd")
def viscous_penetration(eta, rho, f):
    """Viscous penetration length, delta_v = sqrt(eta / (pi rho f)).

    Parameters
    ----------
    eta : array_like
        Shear viscosity, Pa s.
    rho : array_like
        Density, kg/m^3.
    f : array_like
        Frequency, Hz.

    Returns
    -------
    ndarray of float64
        delta_v, m.

    Notes
    -----
    Export: ``d_v``.
    """


@_routine("dddd")
def thermal_penetration(kappa, rho, cp, f):
    """Thermal penetration length, delta_t = sqrt(kappa / (pi rho cp f)).

    Parameters
    ----------
    kappa : array_like
        Thermal conductivity, W/(m K).
    rho : array_like
        Density, kg/m^3.
    cp : array_like
        Specific heat capacity at constant pressure, J/(kg K).
    f : array_like
        Frequency, Hz.

    Returns
    -------
    ndarray of float64
        delta_t, m.

    Notes
    -----
    Export: ``d_t``.
    """


@_routine("dddddd")
def accommodation_length(t, p, cv, kappa, mw, h):
    """Thermal accommodation length.

    Parameters
    ----------
    t : array_like
        Temperature, K.
    p : array_like
        Pressure, kPa.
    cv : array_like
        Specific heat capacity at constant volume, J/(kg K).
    kappa : array_like
        Thermal conductivity, W/(m K).
    mw : array_like
        Molar mass, kg/mol.
    h : array_like
        Thermal accommodation coefficient.

    Returns
    -------
    ndarray of float64
        l_t = ((2 - h)/h) (kappa/P) sqrt(pi mw t / (2R)) / (1/2 + mw cv / R),
        m, with P in Pa and R = 8.3144598 J/(mol K).

    Notes
    -----
    Export: ``I_t``.
    """


_THERMAL_ARGS = """    gamma : array_like
        Ratio of the heat capacities.
    a : array_like
        Resonator radius, mm.
"""


@_routine("ddd")
def thermal_halfwidth(gamma, a, dt):
    pass


@_routine("ddd")
def thermal_shift(gamma, a, dt):
    pass


@_routine("ddd")
def thermal_second_order(gamma, a, dt):
    pass


@_routine("ddd")
def accommodation_shift(gamma, a, lt):
    pass


def _thermal_doc(summary, last, formula, dtype, export):
    return (f"{summary}\n\n    Parameters\n    ----------\n{_THERMAL_ARGS}{last}\n"
            f"    Returns\n    -------\n    ndarray of {dtype}\n        {formula}\n\n"
            f"    Notes\n    -----\n    Export: ``{export}``.\n    ")


_DT = "    dt : array_like\n        Thermal penetration length, m.\n"
thermal_halfwidth.__doc__ = _thermal_doc(
    "Thermal boundary-layer half-width, relative.", _DT,
    "(gamma - 1) dt / (2a), a in metres.", "float64", "g_th")
thermal_shift.__doc__ = _thermal_doc(
    "Thermal boundary-layer frequency shift, relative.", _DT,
    "-(gamma - 1) dt / (2a), the exact negation of thermal_halfwidth.", "float64", "df_dth")
thermal_second_order.__doc__ = _thermal_doc(
    "Second-order thermal boundary-layer term, relative.", _DT,
    "(2 gamma - 1) ((gamma - 1) / 2) (dt / a)^2.", "float64", "g_thO2")
accommodation_shift.__doc__ = _thermal_doc(
    "Accommodation-length shift term, relative, single precision.",
    "    lt : array_like\n        Thermal accommodation length, m.\n",
    "-single((gamma - 1) lt / (2a)).", "float32", "df_Ith")


@_routine("dddddddd")
def thermal_shift_hz(gamma, dt, dcu, lt, kappa, kcu, a, f):
    """Combined thermal frequency shift in Hz, the copper shell included.

    Parameters
    ----------
    gamma : array_like
        Ratio of the heat capacities.
    dt : array_like
        Thermal penetration length of the gas, m.
    dcu : array_like
        Thermal penetration length of the copper wall, m.
    lt : array_like
        Thermal accommodation length, m.
    kappa : array_like
        Thermal conductivity of the gas, W/(m K).
    kcu : array_like
        Thermal conductivity of the copper, W/(m K).
    a : array_like
        Resonator radius, mm.
    f : array_like
        Frequency, Hz.

    Returns
    -------
    ndarray of float64
        f [(gamma - 1) lt / a - (gamma - 1) dt / (2a)
        + (gamma - 1) / (2a) dcu kappa / kcu], Hz.

    Notes
    -----
    Export: ``df_th``.
    """


@_routine("ddddddd")
def thermal_halfwidth_hz(gamma, dt, dcu, kappa, kcu, a, f):
    """Combined thermal half-width in Hz, the copper shell included.

    Parameters
    ----------
    gamma : array_like
        Ratio of the heat capacities.
    dt : array_like
        Thermal penetration length of the gas, m.
    dcu : array_like
        Thermal penetration length of the copper wall, m.
    kappa : array_like
        Thermal conductivity of the gas, W/(m K).
    kcu : array_like
        Thermal conductivity of the copper, W/(m K).
    a : array_like
        Resonator radius, mm (held in single precision inside).
    f : array_like
        Frequency, Hz.

    Returns
    -------
    ndarray of float64
        f [(gamma - 1) dt / (2a) + (gamma - 1) / (2a) dcu kappa / kcu
        - (2 gamma - 1) ((gamma - 1) / 2) (dt / a)^2], Hz.

    Notes
    -----
    Export: ``g_t`` (whose unused temperature and pressure arguments are
    left out here).
    """


# ---- Bulk, microphone, copper ----------------------------------------------------------

@_routine("ddddd")
def bulk_halfwidth(c, gamma, dv, dt, f):
    """Half-width from absorption in the bulk of the gas, Hz.

    Parameters
    ----------
    c : array_like
        Speed of sound, m/s.
    gamma : array_like
        Ratio of the heat capacities.
    dv, dt : array_like
        Viscous and thermal penetration lengths, m.
    f : array_like
        Frequency, Hz.

    Returns
    -------
    ndarray of float64
        (pi^2 / c^2) ((gamma - 1) dt^2 + (4/3) dv^2) f^3, Hz.

    Notes
    -----
    Export: ``g_b`` (whose unused temperature and pressure arguments are
    left out here).
    """


@_routine("dddd")
def mic_shift(rmic, a, rho, c):
    """Relative frequency shift from the compliance of a wall microphone.

    Parameters
    ----------
    rmic : array_like
        Radius of the microphone's diaphragm, mm.
    a : array_like
        Resonator radius, mm.
    rho : array_like
        Gas density, kg/m^3.
    c : array_like
        Speed of sound, m/s.

    Returns
    -------
    ndarray of float64
        -chi rmic^2 (rho c^2 / 2) / a^3, lengths in metres, with the
        diaphragm's compliance chi = 1e-10 m/Pa.

    Notes
    -----
    Export: ``df_mic``.
    """


@_routine("dd")
def copper_conductivity(t, rrr):
    """Thermal conductivity of copper.

    Parameters
    ----------
    t : array_like
        Temperature, K.
    rrr : array_like
        Residual resistance ratio.

    Returns
    -------
    ndarray of float64
        k = 1 / (w0 + wi + wi0), W/(m K), from the residual, intrinsic and
        mixed thermal resistivities of a fit in t and rrr.

    Notes
    -----
    Export: ``k_cu``.
    """


@_routine("d")
def copper_heat_capacity(t):
    """Specific heat capacity of copper.

    Parameters
    ----------
    t : array_like
        Temperature, K.

    Returns
    -------
    ndarray of float64
        cp, J/(kg K), from log10 cp = 1.131 - 9.454 X + 12.99 X^2
        - 5.501 X^3 + 0.7637 X^4 with X = log10 t.

    Notes
    -----
    Export: ``cp_cu``.
    """


_SHELL_ARGS = """    gamma : array_like
        Ratio of the heat capacities of the gas.
    a : array_like
        Resonator radius, mm.
    dcu : array_like
        Thermal penetration length of the copper wall, m.
    kappa : array_like
        Thermal conductivity of the gas, W/(m K).
    kcu : array_like
        Thermal conductivity of the copper, W/(m K).
"""


@_routine("ddddd")
def shell_halfwidth(gamma, a, dcu, kappa, kcu):
    pass


@_routine("ddddd")
def shell_shift(gamma, a, dcu, kappa, kcu):
    pass


shell_halfwidth.__doc__ = (
    "Copper-shell term of the relative half-width.\n\n    Parameters\n    ----------\n"
    + _SHELL_ARGS + "\n    Returns\n    -------\n    ndarray of float64\n"
    "        (gamma - 1) / (2a) dcu kappa / kcu, a in metres.\n\n"
    "    Notes\n    -----\n    Export: ``g_Cu``.\n    ")
shell_shift.__doc__ = (
    "Copper-shell term of the relative frequency shift, single precision.\n\n"
    "    Parameters\n    ----------\n" + _SHELL_ARGS
    + "\n    Returns\n    -------\n    ndarray of float32\n"
    "        -single((gamma - 1) / (2a) dcu kappa / kcu).\n\n"
    "    Notes\n    -----\n    Export: ``df_CuTh``.\n    ")


# ---- Ducts --------------------------------------------------------------------------

def duct_perturbation(rduct, lduct, rho, cp, c, gamma, kappa, eta, a, f, n):
    """Perturbation of a radial mode by a duct into the resonator.

    Parameters
    ----------
    rduct, lduct : sequence of float
        Radii and lengths of the duct's cylindrical sections, mm, section 0
        at the resonator, the far end open: 1-D, of one length.
    rho : array_like
        Gas density, kg/m^3.
    cp : array_like
        Specific heat capacity at constant pressure, J/(kg K).
    c : array_like
        Speed of sound, m/s.
    gamma : array_like
        Ratio of the heat capacities.
    kappa : array_like
        Thermal conductivity, W/(m K).
    eta : array_like
        Shear viscosity, Pa s.
    a : array_like
        Resonator radius, mm.
    f : array_like
        Frequency, Hz.
    n : array_like of int
        Radial mode (0, n), 1..16.

    Returns
    -------
    Perturbation(df, g) of ndarrays of float64
        Relative frequency shift and half-width,
        df + i g = (i rho c / Z_in) / (zac(n) 4 pi a^2), a in metres, with
        Z_in the input impedance of the chain folded from its open far end:
        each section a T-network of its propagation constant
        i k sqrt(A/B) and characteristic impedance (rho c / S) / sqrt(A B),
        A = 1 + (gamma - 1) F_t, B = 1 - F_v, and F the boundary-layer function
        2 J_1(z) / (z J_0(z)).  A duct without sections gives NaN.

    Notes
    -----
    Export: ``df_ducts``.  One gas over many frequencies, or over many
    modes, runs the library's batch routines.

    Examples
    --------
    >>> df, g = velk.duct_perturbation([0.5, 1.0], [20.0, 100.0], 1.78, 520.0,
    ...                                308.0, 5/3, 0.0164, 2.1e-5, 50.0,
    ...                                [4400.0, 7560.0], 2)
    >>> df.shape, g.dtype
    ((2,), dtype('float64'))
    """
    r = _real("rduct", rduct)
    l = _real("lduct", lduct)
    if r.ndim != 1 or l.ndim != 1 or r.shape != l.shape:
        raise ValueError(f"rduct and lduct must be 1-D of one length, not shapes {r.shape} "
                         f"and {l.shape}")
    r = np.ascontiguousarray(r)
    l = np.ascontiguousarray(l)
    names = ["rho", "cp", "c", "gamma", "kappa", "eta", "a", "f"]
    gas = [_real(nm, x) for nm, x in zip(names, (rho, cp, c, gamma, kappa, eta, a, f))]
    nn = _integer("n", n)
    scalars = [float(x) for x in gas[:7]] if all(x.ndim == 0 for x in gas[:7]) else None
    if scalars is not None and nn.ndim == 0:
        ff = gas[7]
        out = _velk.duct_perturbation_over_f(r, l, *scalars, _flat(ff, np.float64), int(nn))
        return Perturbation(*(_shaped(o, ff.shape) for o in out))
    if scalars is not None and gas[7].ndim == 0:
        out = _velk.duct_perturbation_over_n(r, l, *scalars, float(gas[7]), _flat(nn, np.int32))
        return Perturbation(*(_shaped(o, nn.shape) for o in out))
    arrays = _broadcast(names + ["n"], gas + [nn])
    out = _velk.duct_perturbation(
        r, l, *(_flat(x, np.float64) for x in arrays[:8]), _flat(arrays[8], np.int32))
    return Perturbation(*(_shaped(o, arrays[0].shape) for o in out))
