#!/usr/bin/env python3
"""Compares the cross-build sweep outputs of two or more builds.

    compare.py NAME=FILE NAME=FILE ...

Each FILE holds one line per call, "ROUTINE INDEX" and the bit patterns of the
call's outputs (tests/host/sweep.c).  For every pair of builds and every
routine:

- routines whose results pass through no C-runtime function with
  runtime-dependent last bits must agree bit for bit (a NaN equals any NaN);
- the others (pow, exp, log, hypot, the complex exponential, square root,
  hyperbolic sine and tangent inside) are measured by the relative
  difference, relative to the magnitude of the call's result (the modulus of
  all its outputs together, so a complex or paired result counts as one), and
  must stay within the routine's bound below; a NaN or infinity on one side
  only, or a different non-finite value, is a failure.

Prints the worst difference per routine and pair, exits 1 on any failure.
"""
import itertools
import math
import struct
import sys

# Largest relative difference accepted per routine; routines not listed are
# compared bit for bit.  Why each differs is in the README (cross-build sweep).
# Builds named linux* use glibc, win* the mingw-w64 runtime (whose 32-bit and
# 64-bit versions are different implementations); BETWEEN_RUNTIMES replaces a
# bound for every pair that is not two glibc builds.
BOUNDS = {
    "Ell_Req": 1e-15,      # pow(v, 1/3)
    "k_cu": 1e-14,         # pow, exp
    "cp_cu": 1e-12,        # log and pow(10, s): s ~ 2.5 amplifies pow's last bit
    "g_b": 1e-15,          # pow(f, 3)
    "__velk_MOD_besselj": 1e-14,      # hypot (stop test) and the complex exponential
    "__velk_MOD_normbesselj": 1e-14,  # the complex exponential
    "df_ducts": 1e-10,     # Bessel quotient, complex sqrt, tanh, sinh, amplified near duct resonances
}
BETWEEN_RUNTIMES = {
    # The mingw-w64 complex tanh loses up to 2e-5 relative near its poles
    # (x/2 near i pi/2), which is where a section is half a wavelength long;
    # a sharp duct resonance carries that into the result.
    "df_ducts": 1e-6,
}


def runtime(build):
    return "mingw" if build.startswith("win") else "glibc"


def to_double(h):
    return struct.unpack("<d", struct.pack("<Q", int(h, 16)))[0]


def read(path):
    calls = {}
    with open(path) as f:
        for line in f:
            parts = line.split()
            calls[(parts[0], int(parts[1]))] = parts[2:]
    return calls


def difference(a, b):
    """(equal bits?, relative difference or None if not comparable)."""
    if len(a) != len(b):
        return False, None
    va, vb = [to_double(x) for x in a], [to_double(x) for x in b]
    same = all(x == y or (math.isnan(p) and math.isnan(q)) for x, y, p, q in zip(a, b, va, vb))
    if same:
        return True, 0.0
    for p, q in zip(va, vb):
        if math.isnan(p) != math.isnan(q):
            return False, None
        if math.isinf(p) or math.isinf(q):
            if p != q:
                return False, None
    scale = math.hypot(*(p for p in va if math.isfinite(p)))
    diff = max(abs(p - q) for p, q in zip(va, vb) if math.isfinite(p))
    if scale == 0.0:
        return False, None
    return False, diff / scale


def main(args):
    builds = []
    for arg in args:
        name, _, path = arg.partition("=")
        builds.append((name, read(path)))
    failed = False
    for (na, a), (nb, b) in itertools.combinations(builds, 2):
        if a.keys() != b.keys():
            print(f"FAIL {na} / {nb}: different calls ({len(a)} against {len(b)})")
            failed = True
        bounds = dict(BOUNDS)
        if runtime(na) != "glibc" or runtime(nb) != "glibc":
            bounds.update(BETWEEN_RUNTIMES)
        worst = {}
        for key in sorted(a.keys() & b.keys()):
            routine = key[0]
            same, rel = difference(a[key], b[key])
            w = worst.setdefault(routine, [0.0, 0, None, 0, None])
            w[3] += 1
            if same:
                continue
            w[1] += 1
            bound = bounds.get(routine, 0.0)
            if rel is None or rel > bound:
                if w[2] is None:
                    w[2] = key[1]
                failed = True
                rel = math.inf if rel is None else rel
            if rel > w[0]:
                w[0] = rel
                w[4] = key[1]
        print(f"== {na} / {nb}: worst relative difference per routine (calls differing)")
        for routine, (rel, count, bad, total, at) in sorted(worst.items()):
            verdict = "ok" if bad is None else f"FAIL (first at call {bad})"
            if at is not None:
                verdict += f", worst at call {at}"
            bound = bounds.get(routine, 0.0)
            rule = "bits" if bound == 0.0 else f"<= {bound:.0e}"
            print(f"  {routine:32s} {rel:9.2e}  {count:6d}/{total:<6d} {rule:8s} {verdict}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
