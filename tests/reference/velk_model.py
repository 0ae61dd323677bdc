"""Independent reference model of every velk routine, in Python floats.

Python floats are IEEE doubles with rounding to nearest, so each routine is
written here as the sequence of double operations that the library promises,
in the same order and grouping, with the same stored constants.  Single-
precision roundings go through struct.  Where a result passes through
the C runtime (pow, exp, log, cabs, cexp, csqrt, csinh, ctanh) the model calls
the C library of this machine through ctypes, so that on x86-64 glibc the
model's bits are the library's bits; test_model.py also checks those routines
against mpmath with a tolerance.

Quirks the model must follow:
 - Python raises on a division by zero and on sqrt of a negative number;
   div() and sqrt() below give the IEEE results instead.
 - Every complex quotient is the library's complex division: no scaling and
   no recovery, the |d| > |c| test strict, so a zero divisor gives NaN.
 - Complex products and sums are formed in full, with the zero imaginary part
   of a real operand taking part (0*x terms), as the library states them.
"""
import ctypes
import ctypes.util
import math

import struct

# ---- the C runtime ---------------------------------------------------------


class _Cplx(ctypes.Structure):
    # Two doubles travel like a C double _Complex in the x86-64 System V ABI
    # (both classified SSE): argument in xmm0:xmm1, result in xmm0:xmm1.
    _fields_ = [("re", ctypes.c_double), ("im", ctypes.c_double)]


_libm = ctypes.CDLL(ctypes.util.find_library("m") or "libm.so.6")
for _name, _args, _res in [("pow", [ctypes.c_double] * 2, ctypes.c_double),
                           ("exp", [ctypes.c_double], ctypes.c_double),
                           ("log", [ctypes.c_double], ctypes.c_double),
                           ("cabs", [_Cplx], ctypes.c_double),
                           ("cexp", [_Cplx], _Cplx),
                           ("csqrt", [_Cplx], _Cplx),
                           ("csinh", [_Cplx], _Cplx),
                           ("ctanh", [_Cplx], _Cplx)]:
    getattr(_libm, _name).argtypes = _args
    getattr(_libm, _name).restype = _res


def c_pow(x, y):
    return _libm.pow(x, y)


def c_exp(x):
    return _libm.exp(x)


def c_log(x):
    return _libm.log(x)


def _cfun(name):
    f = getattr(_libm, name)

    def call(z):
        r = f(_Cplx(z[0], z[1]))
        return (r.re, r.im)
    return call


c_cexp = _cfun("cexp")
c_csqrt = _cfun("csqrt")
c_csinh = _cfun("csinh")
c_ctanh = _cfun("ctanh")


def c_cabs(z):
    return _libm.cabs(_Cplx(z[0], z[1]))


# ---- IEEE helpers ----------------------------------------------------------

NAN = float("nan")
INF = float("inf")


def div(a, b):
    """a / b with the IEEE result where Python would raise."""
    if b == 0.0:
        if a == 0.0 or math.isnan(a):
            return NAN
        return math.copysign(INF, a) * math.copysign(1.0, b)
    return a / b


def sqrt(x):
    if math.isnan(x) or x < 0.0:
        return NAN
    return math.sqrt(x)


def single(x):
    """x rounded to the nearest single-precision value, widened back."""
    try:
        return struct.unpack("<f", struct.pack("<f", x))[0]
    except OverflowError:  # rounds beyond the single-precision range
        return math.copysign(INF, x)


def cadd(x, y):
    return (x[0] + y[0], x[1] + y[1])


def csub(x, y):
    return (x[0] - y[0], x[1] - y[1])


def cmul(x, y):
    a, b = x
    c, d = y
    return (a * c - b * d, a * d + b * c)


def cdiv(x, y):
    a, b = x
    c, d = y
    if abs(d) > abs(c):
        r = div(c, d)
        t = d + c * r
        return (div(a * r + b, t), div(b * r - a, t))
    r = div(d, c)
    t = c + d * r
    return (div(a + b * r, t), div(b - a * r, t))


def re(x):
    return (x, 0.0)


# ---- module data -----------------------------------------------------------

PI = 3.1415927410125732
RGAS = 8.3144598
MILLI = 0.001
_ZTE_S = ["4.4934096", "7.7252517", "10.904121", "14.066194", "17.220755", "20.371304",
          "23.519453", "26.666054", "29.8116", "32.95639", "36.100624", "39.24443"]
_ZTM_S = ["2.7437072", "6.116764", "9.316616", "12.485937", "15.643867", "18.796253",
          "21.945518", "25.092848", "28.238892", "31.38404", "34.52854", "37.672554",
          "40.816196"]
ZTE = [single(float(s)) for s in _ZTE_S]
ZTM = [single(float(s)) for s in _ZTM_S]
ZAC = [0.0] + ZTE + [0.0, 0.0, 0.0]


# ---- frame -----------------------------------------------------------------

def f_id(n, c, a):
    am = MILLI * a
    d = (PI + PI) * am
    q = div(ZAC[n - 1], d)
    return c * q


def Ell_Req(a1, a2, a3):
    v = a3 * (a1 * a2)
    return c_pow(v, 0.3333333333333333)


# ---- Bessel functions --------------------------------------------------------

def besselj_search(n, z):
    """Start-index search: returns (count, nstart, seed)."""
    a = c_cabs(z)
    m0 = math.floor(a)
    nmax = max(n, m0)
    c = cdiv(re(float(2 * (m0 + 1))), z)
    # Trial sequence q_0 = 0, q_1 = 1, q_2 = c, q_{j+1} = c*q_j - q_{j-1}
    # with the fixed c; step i first makes q_{i+2} from q_{i+1} and q_i.
    q_i, q_i1 = (1.0, 0.0), c           # q_1, q_2 at the start of step 1
    a2 = a * a
    S = NAN
    for i in range(1, 201):
        q_i2 = csub(cmul(c, q_i1), q_i)
        if m0 + i - 1 == nmax:
            S = sqrt(2e10 * c_cabs(cmul(q_i1, q_i)))
        rho1 = c_cabs(cdiv(q_i2, q_i1))
        rho2 = sqrt(div(float(m0 + i + 1), a2) - 1.0) + div(float(m0 + i), a)
        rho = rho1 if rho1 < rho2 else rho2
        if i >= nmax - m0 + 1:
            bound = S * sqrt(div(rho, rho * rho - 1.0))
            if c_cabs(q_i1) >= bound:
                return i, m0 + i, q_i2
        q_i, q_i1 = q_i1, q_i2
    return 201, m0 + 201, q_i1


def _term_neg_i(k, w):
    """2*(-i)^k * w, exactly."""
    r, i = w
    m = k % 4
    if m == 1:
        return (2.0 * i, -(2.0 * r))
    if m == 2:
        return (-(2.0 * r), -(2.0 * i))
    if m == 3:
        return (-(2.0 * i), 2.0 * r)
    return (2.0 * r, 2.0 * i)


def _term_pos_i(k, w):
    """2*i^k * w, exactly."""
    r, i = w
    m = k % 4
    if m == 1:
        return (-(2.0 * i), 2.0 * r)
    if m == 2:
        return (-(2.0 * r), -(2.0 * i))
    if m == 3:
        return (2.0 * i, -(2.0 * r))
    return (2.0 * r, 2.0 * i)


def normbesselj(n, z, nstart, count, seed):
    w = [(0.0, 0.0)] * (nstart + 1)
    w[nstart] = (0.0, 0.0)
    w[nstart - 1] = cdiv((1.0, 0.0), seed)
    for k in range(nstart - 1, 0, -1):
        w[k - 1] = csub(cmul(cdiv(re(float(2 * k)), z), w[k]), w[k + 1])
    im = z[1]
    if math.isnan(im):
        N = (0.0, 0.0)
    elif im > 0.0:
        s = (0.0, 0.0)
        for k in range(1, nstart + 1):
            s = cadd(s, _term_neg_i(k, w[k]))
        s = cadd(s, w[0])
        N = cmul(s, c_cexp(cmul((0.0, 1.0), z)))
    elif im < 0.0:
        s = (0.0, 0.0)
        for k in range(1, nstart + 1):
            s = cadd(s, _term_pos_i(k, w[k]))
        s = cadd(s, w[0])
        N = cmul(s, c_cexp(cmul((0.0, -1.0), z)))
    else:
        s = (0.0, 0.0)
        for k in range(1, nstart // 2 + 1):
            s = cadd(s, (2.0 * w[2 * k][0], 2.0 * w[2 * k][1]))
        N = cadd(s, w[0])
    return cdiv(w[n], N)


def besselj(n, z):
    count, nstart, seed = besselj_search(n, z)
    return normbesselj(n, z, nstart, count, seed)


# ---- triplets --------------------------------------------------------------

def sortfreq(fa, fb, fc):
    w = [None] + [-1.0] * 7
    w[4] = fa
    if fa > fb:
        w[2] = fb
    else:
        w[6] = fb
    for k in range(1, 8):
        if w[k] > fc:
            w[k - 1] = fc
            break
        if k == 7:
            w[7] = fc
    return [w[k] for k in range(1, 8) if w[k] != -1.0]


def hte(z):
    return div(4.0 + z * z, z * z - 2.0)


def htm(z):
    return div(4.0 + (z * z + z * z), 15.0 * (z * z) - 2.0)


def _eps(z, h, fa, fb, fc):
    f = sortfreq(fa, fb, fc)
    s = 0.0
    s = s + f[0]
    s = s + f[1]
    s = s + f[2]
    fm = s / 3.0
    d = ((fm * fm) * 3.0) * h(z)
    return div(f[1] * f[1] - f[0] * f[0], d), div(f[1] * f[1] - f[2] * f[2], d)


def Eps_TE1n(fa, fb, fc, n):
    return _eps(ZTE[n - 1], hte, fa, fb, fc)


def Eps_TM1n(fa, fb, fc, n):
    return _eps(ZTM[n - 1], htm, fa, fb, fc)


# ---- second-order shape ------------------------------------------------------

# The single-precision routines, each as its double value before the final
# rounding (the tables place cases next to rounding ties through these) and
# the routine itself.

def dzm2_zTE1n_double(e1, e2, n):
    q = (e1 * e1 - e1 * e2) + e2 * e2
    z = ZTE[n - 1]
    t = ((22.0 * (z * z)) / 375.0) - 0.008888888888888889
    return t * q


def dzm2_zTE1n(e1, e2, n):
    return single(dzm2_zTE1n_double(e1, e2, n))


def dzm2_zTM1n_double(e1, e2, n):
    q = (e1 * e1 - e1 * e2) + e2 * e2
    z = ZTM[n - 1]
    z2 = z * z
    w = z * z - 2.0
    zz = z * z
    z4 = zz * zz
    z8 = z4 * z4
    z6 = zz * z4
    w3 = w * (w * w)
    u = 33.0 * z8
    u = u - 245.0 * z6
    u = 714.0 * z4 + u
    u = u - z2 * 1152.0
    u = 160.0 + u
    r = div(u + u, 1125.0 * w3)
    return r * q


def dzm2_zTM1n(e1, e2, n):
    return single(dzm2_zTM1n_double(e1, e2, n))


def O2dZ2AC_double(eps, n):
    e1, e2 = eps
    q = (e1 * e1 - e2 * e1) + e2 * e2
    z = ZAC[n - 1]
    t = (8.0 * (z * z)) / 135.0
    return t * q


def O2dZ2AC(eps, n):
    return single(O2dZ2AC_double(eps, n))


# ---- microwave ---------------------------------------------------------------

MU0 = 1.25663706212e-06


def d_sk(x1, x2, x3):
    p = ((x1 * PI) * MU0) * x2
    return div(1.0, sqrt(x3 * p))


def df_skTE(dsk, a):
    x = div(dsk, MILLI * a)
    # (-1 + i) * x / 2 as a complex expression: the real part carries 0*x,
    # the imaginary part (-x)*0.
    u = (-x) / 2.0 + 0.0 * x
    v = x / 2.0 + (-x) * 0.0
    return u, v


def df_skTM1n(dsk, a, n):
    u, v = df_skTE(dsk, a)
    t = ZTM[n - 1] * ZTM[n - 1]
    p = cmul(re(t), (u, v))
    r = cdiv(p, re(t - 2.0))
    return r


def _cube_ratio(r, a):
    s = MILLI * r
    b = MILLI * a
    s3 = s * (s * s)
    b3 = b * (b * b)
    return div(s3, (PI * 4.0) * b3)


def df_dcTE(r, a):
    e = _cube_ratio(r, a)
    return -(0.949999988079071 * e)


def df_dcTM1n(r, a, n):
    e = _cube_ratio(r, a)
    t = ZTM[n - 1] * ZTM[n - 1]
    return div(-(((0.949999988079071 * t) - 1.1519999504089355) * e), t - 2.0)


# ---- boundary layers ---------------------------------------------------------

def d_v(eta, rho, f):
    w = f * (rho * PI)
    return sqrt(div(eta, w))


def d_t(kappa, rho, cp, f):
    w = f * ((rho * PI) * cp)
    return sqrt(div(kappa, w))


def I_t(t, p, cv, kappa, mw, h):
    P = 1000.0 * p
    u = div(kappa, P)
    s = sqrt(div(t * (mw * PI), RGAS + RGAS))
    j = div((2.0 - h) * (u * s), h)
    z = div(1.0, 0.5 + div(mw * cv, RGAS))
    return z * j


def _q(gamma, a):
    am = MILLI * a
    return div(gamma - 1.0, am + am)


def g_th(gamma, a, dt):
    return dt * _q(gamma, a)


def df_dth(gamma, a, dt):
    return -(dt * _q(gamma, a))


def df_Ith_double(gamma, a, lt):
    return lt * _q(gamma, a)


def df_Ith(gamma, a, lt):
    return -single(df_Ith_double(gamma, a, lt))


def g_thO2(gamma, a, dt):
    am = MILLI * a
    x = div(dt, am)
    e1 = (gamma - 1.0) * 0.5
    e2 = (gamma + gamma) - 1.0
    return (e2 * e1) * (x * x)


def df_th(gamma, dt, dcu, lt, kappa, kcu, a, f):
    am = MILLI * a
    q = div(gamma - 1.0, am + am)
    j = div(gamma - 1.0, am) * lt
    b = dt * q
    s = div(kappa * (q * dcu), kcu)
    return (s + (j - b)) * f


def g_t(t, p, gamma, dt, dcu, kappa, kcu, a, f):
    a_s = single(MILLI * a)
    x = div(dt, a_s)
    q = div(gamma - 1.0, a_s + a_s)
    b = q * dt
    s = div(kappa * (q * dcu), kcu)
    o = (x * x) * (((gamma + gamma) - 1.0) * ((gamma - 1.0) * 0.5))
    return ((b + s) - o) * f


# ---- bulk and microphone ------------------------------------------------------

def g_b(t, p, c, gamma, dv, dt, f):
    q = div(PI * PI, c * c)
    u = (dv * dv) * 1.3333333333333333
    w = (gamma - 1.0) * (dt * dt)
    w = w + u
    q = q * w
    return q * c_pow(f, 3.0)


CHI = 1e-10


def df_mic(rmic, a, rho, c):
    m = MILLI * rmic
    b = MILLI * a
    s = rho * (c * c)
    s = s / 2.0
    s = (m * m) * s
    b3 = b * (b * b)
    x = div(s, b3)
    x = CHI * x
    return -x


# ---- copper ------------------------------------------------------------------

P1, P2, P3, P4, P5, P6 = (1.754e-08, 2.763000011444092, 1102.0, -0.16500000655651093,
                          70.0, 1.75600004196167)


def k_cu(t, rrr):
    beta = div(0.6340000033378601, rrr)
    betar = beta / 0.0003000000142492354
    p7 = div(0.8379999995231628, c_pow(betar, 0.16609999537467957))
    w0 = div(beta, t)
    den = 1.0 + ((P1 * P3) * c_pow(t, P2 + P4)) * c_exp(-c_pow(div(P5, t), P6))
    wi = div(P1 * c_pow(t, P2), den)
    wi0 = div((p7 * wi) * w0, wi + w0)
    return div(1.0, (w0 + wi) + wi0)


def cp_cu(t):
    L = c_log(t)
    s = 1.131 - (9.454 * L) / 2.3025851249694824
    s = s + (12.99 * (L * L)) / 5.30189847946167
    s = s - (5.501 * (L * (L * L))) / 12.2080717086792
    s = (0.7637 * ((L * L) * (L * L))) / 28.110124588012695 + s
    return c_pow(10.0, s)


def g_Cu(gamma, a, dcu, kappa, kcu):
    q = _q(gamma, a)
    return div(kappa * (q * dcu), kcu)


def df_CuTh_double(gamma, a, dcu, kappa, kcu):
    return g_Cu(gamma, a, dcu, kappa, kcu)


def df_CuTh(gamma, a, dcu, kappa, kcu):
    return -single(df_CuTh_double(gamma, a, dcu, kappa, kcu))


# ---- ducts ---------------------------------------------------------------------

def _bl_function(r, k):
    z = cmul(re(r), k)
    j1 = besselj(1, z)
    j0 = besselj(0, z)
    return cdiv(cmul(re(2.0), j1), cmul(z, j0))


def df_ducts(rduct, lduct, nduct, rho, cp, c, gamma, kappa, eta, a, f, n):
    N = max(nduct, 0)
    r = [MILLI * rduct[j] for j in range(N)]
    L = [MILLI * lduct[j] for j in range(N)]
    am = MILLI * a
    S = [(r[j] * r[j]) * PI for j in range(N)]
    dv = d_v(eta, rho, f)
    kv = cdiv((1.0, -1.0), re(dv))
    dt = d_t(kappa, rho, cp, f)
    kt = cdiv((1.0, -1.0), re(dt))
    Fv = [_bl_function(r[j], kv) for j in range(N)]
    Ft = [_bl_function(r[j], kt) for j in range(N)]
    k = div(f * (PI + PI), c)
    ik = (0.0, k)
    Zs, Zp = [], []
    for j in range(N):
        A = cadd(re(1.0), cmul(re(gamma - 1.0), Ft[j]))
        B = csub(re(1.0), Fv[j])
        G = cmul(ik, c_csqrt(cdiv(A, B)))
        Z = cdiv(re(div(rho * c, S[j])), c_csqrt(cmul(A, B)))
        x = cmul(G, re(L[j]))
        Zs.append(cmul(Z, c_ctanh(cdiv(x, re(2.0)))))
        Zp.append(cdiv(Z, c_csinh(x)))
    Zin = (0.0, 0.0)
    for j in range(N - 1, -1, -1):
        U = cadd(Zs[j], Zin)
        P = cmul(U, Zp[j])
        D = cadd(cadd(Zp[j], Zs[j]), Zin)
        Zin = cadd(cdiv(P, D), Zs[j])
    W = cdiv(cmul(cmul((0.0, 1.0), re(rho)), re(c)), Zin)
    R = cdiv(W, re(ZAC[n - 1] * ((am * am) * (4.0 * PI))))
    return R
