#!/usr/bin/env python3
"""The MATLAB/Octave gateway (hosts/matlab/velk_mex.c) under GNU Octave.

Builds the gateway with `mkoctfile --mex` against the shared library, calls
it from Octave and compares every output, bit for bit, with the same call
made through the velk tool (`velk call`, 17 significant digits, which reads
back as the same double): readable and export names, arrays with scalar
expansion, complex Bessel arguments, two and three outputs, the arguments
that may be left out, data.  Then the errors and their identifiers.

Exit status 77 (skipped) when Octave or mkoctfile is not installed.

usage: mex_test.py --velk TOOL --lib LIBVELK --include DIR --frame DIR --names DIR
"""
import argparse
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile

# (Octave call, number of outputs, [velk call argument lists, one per element]).
# Outputs compare element by element in column order; complex values as
# real part then imaginary part.
CASES = [
    ("velk('ideal_frequency', 2, 307.85, 50)", 1, [["f_id", "2", "307.85", "50"]]),
    ("velk('f_id', [2 3; 4 5], 307.85, [50 51; 52 53])", 1,
     [["f_id", "2", "307.85", "50"], ["f_id", "4", "307.85", "52"],
      ["f_id", "3", "307.85", "51"], ["f_id", "5", "307.85", "53"]]),
    ("velk('besselj', [0 1 -3], [3+2i, 0.5, -20i])", 1,
     [["__velk_MOD_besselj", "0", "3,2"], ["__velk_MOD_besselj", "1", "0.5,0"],
      ["__velk_MOD_besselj", "-3", "0,-20"]]),
    ("velk('normbesselj', 1, 2-1i, 40, 0, 1e-3+2e-3i)", 1,
     [["__velk_MOD_normbesselj", "1", "2,-1", "40", "0", "0.001,0.002"]]),
    ("velk('skin_perturbation_tm1n', 2e-6, 50, [1 2 13 14])", 2,
     [["df_skTM1n", "2e-6", "50", str(n)] for n in (1, 2, 13, 14)]),
    ("velk('deformation_tm1n', 2617220000, 2617450000, 2617710000, 1)", 2,
     [["Eps_TM1n", "2617220000", "2617450000", "2617710000", "1"]]),
    ("velk('second_order_ac', 0.001, -0.001, 2)", 1, [["O2dZ2AC", "0.001,-0.001", "2"]]),
    ("velk('shell_shift', 1.67, 50, 0.01, 0.01641, 403.3)", 1,
     [["df_CuTh", "1.67", "50", "0.01", "0.01641", "403.3"]]),
    ("velk('sort_frequencies', [3 5], -1, 2)", 3,
     [["__velk_MOD_sortfreq", "3", "-1", "2"], ["__velk_MOD_sortfreq", "5", "-1", "2"]]),
    ("velk('cpowi', 1.5, -0.5, [3 -2 0])", 1,
     [["_velk_cpowi", "1.5", "-0.5", str(n)] for n in (3, -2, 0)]),
    ("velk('duct_perturbation', [0.5 1.5], [30 500], 1.7606, 521.7, 307.85, 1.67, 0.01641, "
     "2.097e-5, 50, [4403.1683 7570.1051], [2 3])", 2,
     [["df_ducts", "0.5,1.5", "30,500", "2", "1.7606", "521.7", "307.85", "1.67", "0.01641",
       "2.097e-5", "50", f, n] for f, n in (("4403.1683", "2"), ("7570.1051", "3"))]),
    ("velk('df_ducts', [0.5 1.5], [30 500], 2, 1.7606, 521.7, 307.85, 1.67, 0.01641, "
     "2.097e-5, 50, 4403.1683, 2)", 2,
     [["df_ducts", "0.5,1.5", "30,500", "2", "1.7606", "521.7", "307.85", "1.67", "0.01641",
       "2.097e-5", "50", "4403.1683", "2"]]),
    ("velk('bulk_halfwidth', 100, 307.85, 1.67, 1e-4, 1.2e-4, 4400)", 1,
     [["g_b", "null", "100", "307.85", "1.67", "1e-4", "1.2e-4", "4400"]]),
    ("velk('g_t', 273.16, 100, 1.67, 3e-5, 1e-5, 0.01641, 403.3, 50, 4400)", 1,
     [["g_t", "null", "100", "1.67", "3e-5", "1e-5", "0.01641", "403.3", "50", "4400"]]),
    ("velk('copper_conductivity', [273.16 20], 100)", 1,
     [["k_cu", "273.16", "100"], ["k_cu", "20", "100"]]),
    ("velk('skin_depth', 2.6e9, 6.416e7, 1)", 1, [["d_sk", "2.6e9", "6.416e7", "1"]]),
    ("velk('ideal_frequency', 0, 307.85, 50)", 1, [["f_id", "0", "307.85", "50"]]),
    ("velk('acoustic_eigenvalues')", 1, [["__velk_MOD_zac"]]),
    ("velk('default_constants')", 1, [["__velk_MOD___def_init_velk_Constants"]]),
    ("velk('copy_constants', 8.5)", 1, [["__velk_MOD___copy_velk_Constants", "8.5"]]),
]

# (Octave statement, error identifier, a piece of the message).
ERRORS = [
    ("velk('no_such_routine', 1)", "velk:unknownRoutine", "no_such_routine"),
    ("velk()", "velk:badArgument", "NAME"),
    ("velk(42)", "velk:badArgument", "NAME"),
    ("velk('f_id', 2, 307.85)", "velk:badArgument", "takes 3 arguments, not 2"),
    ("velk('f_id', 2.5, 307.85, 50)", "velk:badArgument", "(n) must hold whole numbers"),
    ("velk('f_id', NaN, 307.85, 50)", "velk:badArgument", "(n) must hold whole numbers"),
    ("velk('f_id', 2^31, 307.85, 50)", "velk:badArgument", "(n) must hold whole numbers"),
    ("velk('f_id', 2, 307.85+1i, 50)", "velk:badArgument", "(c) must be real"),
    ("velk('f_id', int32(2), 307.85, 50)", "velk:badArgument", "full double array"),
    ("velk('f_id', 2, 'abc', 50)", "velk:badArgument", "full double array"),
    ("velk('f_id', [1 2], [1 2 3], 50)", "velk:sizeMismatch", "argument 3 (c)"),
    ("velk('f_id', [1 2], [1; 2], 50)", "velk:sizeMismatch", "argument 3 (c)"),
    ("[a, b] = velk('f_id', 2, 307.85, 50)", "velk:tooManyOutputs", "1 output"),
    ("velk('g_b', 100, 307.85)", "velk:badArgument", "takes 6 or 7 arguments"),
    ("velk('duct_perturbation', [0.5 1.5], [30], 1, 1, 1, 1, 1, 1, 50, 4400, 2)",
     "velk:sizeMismatch", "(lduct)"),
    ("velk('duct_perturbation', [], [], 1, 1, 1, 1, 1, 1, 50, 4400, 2)",
     "velk:badArgument", "at least one element"),
    ("velk('df_ducts', [0.5 1.5], [30 500], 3, 1, 1, 1, 1, 1, 1, 50, 4400, 2)",
     "velk:sizeMismatch", "(nduct) must equal"),
    ("velk('constants_type')", "velk:badArgument", "type descriptor"),
    ("velk('gas_constant', 1)", "velk:badArgument", "takes no arguments"),
    ("velk('list', 1)", "velk:badArgument", "no arguments"),
]


def velk_call(tool, args):
    out = subprocess.run([tool, "call"] + args, check=True, capture_output=True, text=True).stdout
    values = []
    for line in out.splitlines():
        rhs = line.split(" = ", 1)[1]
        values.append([float(v) for v in rhs.split(",")])
    return values  # one list per output line


# names.h rows changed so that they disagree with the export table.
DRIFTS = [
    ("(thermal_penetration, d_t, double, 4)", "(thermal_penetration, d_t, single, 4)"),
    ("(thermal_penetration, d_t, double, 4)", "(thermal_depth, d_t, double, 4)"),
]


def bits(x):
    return "nan" if math.isnan(x) else struct.pack(">d", x).hex()


def expected(tool, nout, calls):
    """Per output, the flat list of expected hex patterns in column order."""
    per_out = [[] for _ in range(nout)]
    for args in calls:
        lines = velk_call(tool, args)
        if args[0] == "__velk_MOD_sortfreq":
            lines = [[v] for v in lines[0]]  # three outputs from one printed list
        for k in range(nout):
            per_out[k].extend(bits(v) for v in lines[k])
    return per_out


def main():
    ap = argparse.ArgumentParser()
    for opt in ("velk", "lib", "include", "frame", "names"):
        ap.add_argument("--" + opt, required=True)
    opt = ap.parse_args()
    octave, mkoctfile = shutil.which("octave-cli") or shutil.which("octave"), shutil.which("mkoctfile")
    if octave is None or mkoctfile is None:
        print("skipped: GNU Octave (octave, mkoctfile) is not installed "
              "(apt-get install octave liboctave-dev)")
        return 77

    with tempfile.TemporaryDirectory() as tmp:
        libdir = os.path.dirname(os.path.abspath(opt.lib))

        def mex(source_dir, output):
            return subprocess.run(
                [mkoctfile, "--mex", "-Wall", "-Wextra", "-I" + opt.include, "-I" + opt.frame,
                 os.path.join(source_dir, "velk_mex.c"), "-L" + libdir, "-lvelk",
                 "-Wl,-rpath," + libdir, "-o", os.path.join(tmp, output)],
                capture_output=True, text=True, cwd=tmp)

        build = mex(opt.names, "velk.mex")
        if build.returncode != 0 or "warning" in build.stderr:
            print(build.stdout + build.stderr)
            print("FAIL: mkoctfile --mex did not build the gateway cleanly")
            return 1
        # A names.h that disagrees with the export table must stop the gateway
        # (a wrong parameter count does not compile; a wrong result kind or
        # readable name does).
        with open(os.path.join(opt.names, "names.h"), encoding="utf-8") as f:
            names = f.read()
        for k, (row, changed) in enumerate(DRIFTS):
            if row not in names:
                print(f"FAIL: names.h has no row {row}")
                return 1
            drift = os.path.join(tmp, f"drift{k}")
            os.mkdir(drift)
            shutil.copy(os.path.join(opt.names, "velk_mex.c"), drift)
            with open(os.path.join(drift, "names.h"), "w", encoding="utf-8") as f:
                f.write(names.replace(row, changed))
            if mex(drift, f"velk_drift{k}.mex").returncode != 0:
                print(f"FAIL: the gateway with a changed names.h ({changed}) did not build")
                return 1

        script = ["function show(k, varargin)",
                  "  for o = 1:numel(varargin)",
                  "    x = varargin{o}(:);",
                  "    if iscomplex(x), x = reshape([real(x) imag(x)].', [], 1); end",
                  "    h = cell(numel(x), 1);",
                  "    for e = 1:numel(x)",
                  "      if isnan(x(e)), h{e} = 'nan'; else, h{e} = lower(num2hex(x(e))); end",
                  "    end",
                  "    printf('case %d out %d: %s\\n', k, o, strjoin(h', ' '));",
                  "  end",
                  "end"]
        # The script file must not start with a function definition.
        script.insert(0, "1;")
        for k, (call, nout, _) in enumerate(CASES):
            outs = ", ".join(f"o{j}" for j in range(nout))
            script.append(f"[{outs}] = {call}; show({k}, {outs});")
        for k, (stmt, _, _) in enumerate(ERRORS):
            script.append(f"try, {stmt}; printf('error {k}: none\\n'); catch err, "
                          f"printf('error {k}: %s | %s\\n', err.identifier, "
                          f"strrep(err.message, sprintf('\\n'), ' ')); end")
        for k in range(len(DRIFTS)):
            script.append(f"try, velk_drift{k}('list'); printf('drift {k}: none\\n'); "
                          f"catch err, printf('drift {k}: %s\\n', err.identifier); end")
        script.append("c = velk('list'); printf('list: %d %d %s %s\\n', size(c, 1), size(c, 2), c{36, 1}, c{36, 2});")
        with open(os.path.join(tmp, "run_cases.m"), "w") as f:
            f.write("\n".join(script) + "\n")
        run = subprocess.run([octave, "--no-gui", "--norc", "--quiet", "--no-window-system",
                              "run_cases.m"], capture_output=True, text=True, cwd=tmp, timeout=240)
        got = {}
        for line in run.stdout.splitlines():
            key, _, rest = line.partition(": ")
            got[key] = rest

    failures = 0

    def fail(msg):
        nonlocal failures
        failures += 1
        print("FAIL:", msg)

    for k, (call, nout, calls) in enumerate(CASES):
        want = expected(opt.velk, nout, calls)
        for o in range(nout):
            have = got.get(f"case {k} out {o + 1}")
            if have is None:
                fail(f"{call}: output {o + 1} missing")
            elif have.split() != want[o]:
                fail(f"{call}: output {o + 1} is {have}, velk call gives {' '.join(want[o])}")
    for k, (stmt, ident, piece) in enumerate(ERRORS):
        have = got.get(f"error {k}", "")
        if not have.startswith(ident + " | ") or piece not in have:
            fail(f"{stmt}: wanted {ident} with '{piece}', got '{have}'")
    for k, (_, changed) in enumerate(DRIFTS):
        if got.get(f"drift {k}") != "velk:internal":
            fail(f"names.h with {changed} gave '{got.get(f'drift {k}')}'")
    if got.get("list") != "42 3 ideal_frequency f_id":
        fail(f"velk('list') gave '{got.get('list')}'")
    if failures or run.returncode != 0:
        print(run.stdout[-3000:], run.stderr[-3000:])
        return 1
    print(f"{len(CASES)} calls bit for bit as velk call, {len(ERRORS)} errors with their identifiers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
