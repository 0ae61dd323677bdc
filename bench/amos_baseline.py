#!/usr/bin/env python3
"""Baseline of the batch benchmarks: AMOS (scipy.special.jv) on the arrays
that bench/batch_bench.cpp uses, 10^5 arguments on the duct ray with |z|
spread over 1 to 700.  Prints the best time per argument of several runs, in
ns, as `j0 <ns>` and `j1j0 <ns>` (J_1 and J_0 as two calls).  Exits 77 when
SciPy is missing."""
import sys
import time

try:
    import numpy as np
    from scipy.special import jv
except ImportError:
    sys.exit(77)

N = 100000
r = 1.0 + 699.0 * np.arange(N) / (N - 1)
z = (r / np.sqrt(2.0)) * (1.0 - 1.0j)


def best(fn, repeats=7):
    t = []
    for _ in range(repeats):
        t0 = time.perf_counter()
        fn()
        t.append(time.perf_counter() - t0)
    return min(t) / N * 1e9


print(f"j0 {best(lambda: jv(0, z)):.2f}")
print(f"j1j0 {best(lambda: (jv(1, z), jv(0, z))):.2f}")
