#!/usr/bin/env python3
"""Tests of the velk command-line tool, run by CTest; one group per command.

  expected  the built-in budget against the reviewed expected output
  formats   table, CSV and JSON parsed back and compared with each other
  errors    each input and usage error: its message, exit status 2, no output
  call      velk call on worked values, bit for bit, and its usage errors
  readme    the README shows the built-in examples' input and output
  reduce    velk reduce: expected output, formats, Monte Carlo, input errors
  generated the reduction example is what its generator (--make) writes
"""
import argparse
import copy
import csv
import io
import json
import math
import os
import re
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
VELK = None


def run(*args, stdin=None):
    p = subprocess.run([VELK, *args], input=stdin, capture_output=True, text=True, timeout=60)
    return p.returncode, p.stdout, p.stderr


def check(cond, what):
    if not cond:
        raise AssertionError(what)


def expected_text(name):
    """An expected output kept beside these tests."""
    with open(os.path.join(HERE, name), encoding="utf-8") as f:
        return f.read()


def check_built_in(command, name, what):
    """velk COMMAND exits 0 and prints the expected output NAME (printed if not)."""
    code, out, err = run(command)
    check(code == 0, f"velk {command} exits {code}: {err}")
    expected = expected_text(name)
    if out != expected:
        sys.stdout.write(out)
        raise AssertionError(f"the built-in {what} differs from {name} (printed above)")
    return expected


def bits(x):
    return struct.unpack("<Q", struct.pack("<d", x))[0]


def example():
    with open(os.path.join(HERE, "..", "velk", "example.json"), encoding="utf-8") as f:
        return json.load(f)


def reduce_example():
    with open(os.path.join(HERE, "..", "velk", "reduce_example.json"), encoding="utf-8") as f:
        return json.load(f)


def value(x):
    """A number of an input document, with or without its uncertainty."""
    return x["value"] if isinstance(x, dict) else x


# ---------------------------------------------------------------- expected
def test_expected():
    expected = check_built_in("budget", "budget_expected.txt", "budget")
    # The example file given as FILE, and on standard input, gives the same.
    path = os.path.join(HERE, "..", "velk", "example.json")
    check(run("budget", path)[1] == expected, "velk budget example.json differs from the built-in budget")
    with open(path, encoding="utf-8") as f:
        check(run("budget", "-", stdin=f.read())[1] == expected, "velk budget - differs")
    check(run("example")[1].strip() == open(path, encoding="utf-8").read().strip(),
          "velk example does not print example.json")


# ----------------------------------------------------------------- formats
def table_cells(text):
    """The radial-mode rows of the table: {label path: [values]}."""
    rows, section = {}, ""
    for line in text.splitlines():
        if line in ("shift / ppm", "half-width / ppm", "shift standard uncertainty / ppm", "dominant input"):
            section = line.split(" /")[0]
            continue
        m = re.match(r"^(\s*)(\S.*?)\s{2,}(\S.*)$", line)
        if not m or line.startswith("microwave"):
            if line.startswith("microwave"):
                section = "microwave"
            continue
        label = (section + ": " if m.group(1) else "") + m.group(2)
        if section == "microwave" and not m.group(1):
            label = "microwave: " + m.group(2)
        rows[label] = m.group(3).split()
    return rows


def test_formats():
    code, table, err = run("budget")
    check(code == 0, f"velk budget exits {code}: {err}")
    code, csv_text, _ = run("budget", "--format", "csv")
    check(code == 0, "velk budget --format csv fails")
    code, json_text, _ = run("budget", "--format", "json")
    check(code == 0, "velk budget --format json fails")
    doc = json.loads(json_text)

    # CSV: the radial-mode block, an empty line, the microwave block.
    acoustic, microwave = csv_text.split("\n\n")
    modes = list(csv.DictReader(io.StringIO(acoustic)))
    tms = list(csv.DictReader(io.StringIO(microwave)))
    check([int(r["n"]) for r in modes] == [2, 3, 4, 5, 6], "CSV modes")
    check([int(r["tm_n"]) for r in tms] == [1, 2, 3], "CSV TM modes")

    # JSON and CSV carry the same doubles, bit for bit.
    for row, mode in zip(modes, doc["radial_modes"]):
        check(float(row["f_id_Hz"]) == mode["f_id_Hz"], "f_id in CSV and JSON")
        for term in mode["terms"]:
            for kind in ("shift", "half_width"):
                check(bits(float(row[f"{term['key']}_{kind}_ppm"])) == bits(term[f"{kind}_ppm"]),
                      f"{term['key']} {kind} in CSV and JSON")
        # The sums are the sums of the terms; the predictions follow from them.
        for kind in ("shift", "half_width"):
            total = sum(t[f"{kind}_ppm"] for t in mode["terms"])
            check(abs(total - mode["sum"][f"{kind}_ppm"]) < 1e-9, f"{kind} sum of mode {mode['n']}")
            check(float(row[f"sum_{kind}_ppm"]) == mode["sum"][f"{kind}_ppm"], "sums in CSV and JSON")
        f = mode["f_id_Hz"]
        pred = mode["predicted"]
        check(math.isclose(pred["frequency_Hz"], f * (1 + mode["sum"]["shift_ppm"] * 1e-6), rel_tol=1e-15),
              "predicted frequency")
        check(math.isclose(pred["half_width_Hz"], f * mode["sum"]["half_width_ppm"] * 1e-6, rel_tol=1e-12),
              "predicted half-width")
        check(float(row["predicted_frequency_Hz"]) == pred["frequency_Hz"], "prediction in CSV and JSON")
        # Uncertainties: the same in CSV and JSON; each names an input that has one.
        uncertain = set()
        flat_paths(example(), "", uncertain)
        for term in mode["terms"] + [dict(mode["sum"], key="sum")]:
            u = term["shift_uncertainty"]
            check(bits(float(row[f"{term['key']}_shift_u_ppm"])) == bits(u["u_ppm"]), f"{term['key']} u in CSV")
            check(row[f"{term['key']}_shift_u_dominant"] == u["dominant"], f"{term['key']} dominant in CSV")
            check(u["dominant"] in uncertain or (u["u_ppm"] == 0 and u["dominant"] == ""),
                  f"dominant input {u['dominant']!r} of {term['key']}")
    for row, tm in zip(tms, doc["microwave"]["tm_modes"]):
        for key in ("f_Hz", "skin_depth_m", "skin_shift_ppm", "skin_half_width_ppm", "second_order_shape_ppm"):
            check(float(row[key]) == tm[key], f"TM1{tm['n']} {key} in CSV and JSON")
        check(float(row["eps1"]) == doc["microwave"]["eps1"], "eps1 in CSV and JSON")

    # The table shows the same values rounded to its decimals.
    cells = table_cells(table)
    labels = [t["label"] for t in doc["radial_modes"][0]["terms"]]
    for k, mode in enumerate(doc["radial_modes"]):
        check(float(cells["ideal frequency / Hz"][k]) == round(mode["f_id_Hz"], 4), "table frequency")
        for j, label in enumerate(labels):
            term = mode["terms"][j]
            for section, kind in (("shift", "shift_ppm"), ("half-width", "half_width_ppm")):
                shown = float(cells[f"{section}: {label}"][k])
                check(abs(shown - term[kind]) <= 0.5e-4 + 1e-12, f"table {section} {label} of mode {mode['n']}")
            shown = float(cells[f"shift standard uncertainty: {label}"][k])
            check(abs(shown - term["shift_uncertainty"]["u_ppm"]) <= 0.5e-4 + 1e-12, f"table uncertainty {label}")
        check(abs(float(cells["shift standard uncertainty: sum"][k]) - mode["sum"]["shift_uncertainty"]["u_ppm"])
              <= 0.5e-4 + 1e-12, "table uncertainty of the sum")
        check(abs(float(cells["predicted frequency / Hz"][k]) - mode["predicted"]["frequency_Hz"]) <= 0.5e-4,
              "table predicted frequency")
    for k, tm in enumerate(doc["microwave"]["tm_modes"]):
        check(abs(float(cells["microwave: skin depth / um"][k]) - tm["skin_depth_m"] * 1e6) <= 0.5e-4,
              "table skin depth")

    # The three thermal shifts add up to the library's combined shift df_th.
    lt = doc["thermal_accommodation_length_m"]
    kcu = doc["wall"]["thermal_conductivity_W_m_K"]
    gas = {k: value(v) for k, v in example()["gas"].items()}
    for mode in doc["radial_modes"]:
        pl = mode["penetration_lengths_m"]
        args = [gas["gamma"], pl["thermal"], pl["wall_thermal"], lt, gas["thermal_conductivity_W_m_K"], kcu,
                example()["resonator"]["radius_mm"], mode["f_id_Hz"]]
        code, out, err = run("call", "df_th", *[repr(float(a)) for a in args])
        check(code == 0, f"velk call df_th: {err}")
        combined = float(out.split("=")[1]) / mode["f_id_Hz"] * 1e6
        terms = {t["key"]: t for t in mode["terms"]}
        thermal = sum(terms[k]["shift_ppm"] for k in
                      ("thermal_boundary_layer", "thermal_accommodation", "copper_shell"))
        check(abs(thermal - combined) < 1e-6, f"thermal shifts {thermal} against df_th {combined}")


def flat_paths(doc, path, out):
    """The paths of the numbers that carry an uncertainty."""
    if isinstance(doc, dict) and "value" in doc and "u" in doc:
        out.add(path)
    elif isinstance(doc, dict):
        for k, v in doc.items():
            flat_paths(v, f"{path}.{k}" if path else k, out)
    elif isinstance(doc, list):
        for k, v in enumerate(doc):
            flat_paths(v, f"{path}[{k}]", out)


# ------------------------------------------------------------------ errors
def set_path(doc, path, value):
    *head, last = path
    for key in head:
        doc = doc[key]
    if value is DELETE:
        del doc[last]
    else:
        doc[last] = value


DELETE = object()

# (what, changes [(path, value)], expected message after "velk budget: FILE: ")
INPUT_ERRORS = [
    ("missing field", [(("gas", "density_kg_m3"), DELETE)], "missing field gas.density_kg_m3"),
    ("missing object", [(("microwave",), DELETE)], "missing field microwave"),
    ("non-numeric value", [(("gas", "density_kg_m3"), "1.76")],
     'gas.density_kg_m3 must be a number, not a string ("1.76")'),
    ("null value", [(("resonator", "rrr"), None)], "resonator.rrr must be a number, not null"),
    ("negative radius", [(("resonator", "radius_mm"), -50.0)],
     "resonator.radius_mm must be positive, not -50.0"),
    ("zero frequency", [(("microwave", "triplet_Hz", 1), 0)], "microwave.triplet_Hz[1] must be positive, not 0"),
    ("radial mode outside the tables", [(("radial_modes",), [2, 14])],
     "radial_modes[1] = 14 is outside the table of radial modes ((0,2) to (0,13))"),
    ("radial mode (0,1)", [(("radial_modes",), [1])],
     "radial_modes[0] = 1 is outside the table of radial modes ((0,2) to (0,13))"),
    ("TM mode outside the table", [(("microwave", "triplet_mode"), 14)],
     "microwave.triplet_mode = 14 is outside the table of TM1n modes (1 to 13)"),
    ("negative TM mode", [(("microwave", "tm_modes"), [1, -3])],
     "microwave.tm_modes[1] = -3 is outside the table of TM1n modes (1 to 13)"),
    ("fractional mode number", [(("radial_modes",), [2.5])], "radial_modes[0] must be an integer, not 2.5"),
    ("gamma not above 1", [(("gas", "gamma"), 1.0)], "gas.gamma must be greater than 1, not 1.0"),
    ("cp not above cv", [(("gas", "cp_J_kg_K"), 300.0)],
     "gas.cp_J_kg_K (300.0) must be greater than gas.cv_J_kg_K (312.4)"),
    ("accommodation above 1", [(("gas", "accommodation_coefficient"), 1.5)],
     "gas.accommodation_coefficient must lie in (0, 1], not 1.5"),
    ("RRR below 1", [(("resonator", "rrr"), 0.5)], "resonator.rrr must be at least 1, not 0.5"),
    ("unknown field", [(("gas", "pressure_Pa"), 1e5)], "unknown field gas.pressure_Pa"),
    ("unknown top-level field", [(("duct",), [])], "unknown field duct"),
    ("duct wider than the resonator", [(("ducts", 1, "sections", 0, "radius_mm"), 60.0)],
     "ducts[1].sections[0].radius_mm must be positive and below the resonator radius, not 60.0"),
    ("duct without sections", [(("ducts", 0, "sections"), [])], "ducts[0].sections must list at least one section"),
    ("repeated duct name", [(("ducts", 1, "name"), "inlet")], "ducts[1].name repeats the name inlet"),
    ("unsafe name", [(("microphones", 0, "name"), "a,b")],
     'microphones[0].name must be letters, digits, \'-\' or \'_\', not "a,b"'),
    ("triplet of two", [(("microwave", "triplet_Hz"), [1e9, 1.1e9])],
     "microwave.triplet_Hz must hold 3 frequencies, not 2"),
    ("ducts not an array", [(("ducts",), {})], "ducts must be an array, not an object"),
    ("section not an object", [(("ducts", 0, "sections", 0), 3)], "ducts[0].sections[0] must be an object, not 3"),
    ("negative uncertainty", [(("gas", "pressure_kPa"), {"value": 100.0, "u": -1})],
     "gas.pressure_kPa.u must not be negative, not -1"),
    ("uncertainty as text", [(("gas", "pressure_kPa"), {"value": 100.0, "u": "1 kPa"})],
     'gas.pressure_kPa.u must be a number or a percentage such as "0.2%", not "1 kPa"'),
    ("uncertainty without a value", [(("gas", "gamma"), {"u": "1%"})], "missing field gas.gamma.value"),
    ("uncertain value not physical", [(("gas", "gamma"), {"value": 0.9, "u": "1%"})],
     "gas.gamma.value must be greater than 1, not 0.9"),
    ("unknown field of an uncertain value", [(("gas", "gamma"), {"value": 1.67, "u": 0.01, "k": 2})],
     "unknown field gas.gamma.k"),
]

RAW_ERRORS = [
    ("malformed JSON", '{"gas": {"temperature_K": 273.16,}}', "not valid JSON: at line 1, column 34: syntax error"),
    ("empty file", "", "not valid JSON: at line 1, column 1: syntax error"),
    ("not an object", "[1, 2]", "the input must be an object, not an array"),
    ("infinite value", None, "gas.pressure_kPa.value must be finite, not beyond the double range"),
]


def expect_error(args, message, stdin=None, status=2):
    code, out, err = run(*args, stdin=stdin)
    check(code == status, f"{args}: exit status {code}, not {status} ({err.strip()})")
    check(out == "", f"{args}: standard output not empty: {out[:200]!r}")
    check(err.count("\n") == 1 and message in err, f"{args}: message {err!r} lacks {message!r}")


def test_errors():
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "input.json")
        for what, changes, message in INPUT_ERRORS:
            doc = copy.deepcopy(example())
            for where, value in changes:
                set_path(doc, where, value)
            with open(path, "w", encoding="utf-8") as f:
                json.dump(doc, f)
            try:
                expect_error(["budget", path], f"velk budget: {path}: {message}\n")
            except AssertionError as e:
                raise AssertionError(f"{what}: {e}") from None
        for what, text, message in RAW_ERRORS:
            if text is None:  # 1e999 reads as infinity
                text = json.dumps(example()).replace('"pressure_kPa": {"value": 100.0', '"pressure_kPa": {"value": 1e999')
            with open(path, "w", encoding="utf-8") as f:
                f.write(text)
            try:
                expect_error(["budget", path], message)
            except AssertionError as e:
                raise AssertionError(f"{what}: {e}") from None
        expect_error(["budget", os.path.join(tmp, "none.json")],
                     f"velk budget: {os.path.join(tmp, 'none.json')}: cannot open: No such file or directory\n")
        expect_error(["budget", tmp], f"velk budget: {tmp}: cannot read: Is a directory\n")
    # Usage errors of the command line itself.
    expect_error(["budget", "--format", "xml"], "--format")
    expect_error(["budget", "a.json", "b.json"], "velk: ")
    expect_error([], "velk: ")
    expect_error(["frobnicate"], "velk: ")


# -------------------------------------------------------------------- call
# (arguments, {printed name: worked value}); every value from the worked
# examples of the routines, compared bit for bit.
WORKED = [
    (["f_id", "2", "343", "50"], {"f_id": "4905.91757555612"}),
    (["d_sk", "1.0e9", "5.8e7", "1.0"], {"d_sk": "2.089806755292987e-06"}),
    (["df_skTM1n", "2.0e-6", "50.0", "1"], {"df": "-2.7235982833870335e-05", "g": "2.7235982833870335e-05"}),
    (["Eps_TM1n", "10.002", "10", "10.001", "1"],
     {"eps1": "0.0003879902256445874", "eps2": "-0.00038802902272775107"}),
    (["O2dZ2AC", "0.001,-0.001", "2"], {"O2dZ2AC": "3.5894631764676888e-06"}),
    (["df_Ith", "1.6666666666666667", "50", "1.44e-7"], {"df_Ith": "-9.599999657439184e-07"}),
    (["g_b", "null", "nan", "308", "1.6666666666666667", "3.2e-5", "3.9e-5", "3671"],
     {"g_b": "0.01224635314638657"}),
    (["d_v", "2.1e-5", "1.78", "2500"], {"d_v": "3.8757405740590114e-05"}),
    (["df_th", "1.6666666666666667", "4.75e-5", "1.26e-4", "1.44e-7", "0.0164", "400", "50", "2500"],
     {"df_th": "-0.7867805666666667"}),
    (["df_dth", "1", "50", "4.75e-5"], {"df_dth": "-0.0"}),
    (["__velk_MOD_sortfreq", "3", "1", "2"], {"fsort": "1,2,3"}),
    (["__velk_MOD___copy_velk_Constants", "3.5"], {"dst.rgas": "3.5"}),
    (["__velk_MOD_pi"], {"__velk_MOD_pi": "3.1415927410125732"}),
    (["_velk_cpowi", "1.5", "-2", "3"], {"_velk_cpowi": "-14.625,-5.5"}),  # (1.5 - 2i)^3 by hand
]

# Worked values given to about 12 digits: J0(3 + 2i).
ABOUT = [(["__velk_MOD_besselj", "0", "3,2"], "__velk_MOD_besselj", (-1.24923487961, -0.947983792058), 1e-11)]


def parse_output(out):
    values = {}
    for line in out.splitlines():
        name, _, value = line.partition(" = ")
        values[name] = value
    return values


def same_numbers(printed, worked):
    got, want = printed.split(","), worked.split(",")
    if len(got) != len(want):
        return False
    for g, w in zip(got, want):
        x = float(g)
        if bits(x) != bits(float(w)) or g != "%.17g" % x:  # round-trip text, 17 digits
            return False
    return True


def test_call():
    for args, expected in WORKED:
        code, out, err = run("call", *args)
        check(code == 0 and err == "", f"velk call {args}: exit {code}, {err}")
        got = parse_output(out)
        check(list(got) == list(expected), f"velk call {args}: printed {list(got)}, not {list(expected)}")
        for name, value in expected.items():
            check(same_numbers(got[name], value), f"velk call {args}: {name} = {got[name]}, worked value {value}")
    for args, name, (re_, im), tol in ABOUT:
        code, out, _ = run("call", *args)
        check(code == 0, f"velk call {args} fails")
        x, y = (float(v) for v in parse_output(out)[name].split(","))
        check(abs(x - re_) <= tol * abs(re_) and abs(y - im) <= tol * abs(im), f"velk call {args}: {x},{y}")
    # Usage errors: status 2, a message, nothing on standard output.
    expect_error(["call", "fid", "2", "343", "50"], "velk call: no export named 'fid'")
    expect_error(["call", "f_id", "2", "343"], "velk call: f_id takes 3 arguments (n c a), 2 given")
    expect_error(["call", "__velk_MOD_pi", "1"], "velk call: __velk_MOD_pi is data and takes no arguments")
    expect_error(["call", "f_id", "2.5", "343", "50"], "velk call: argument n of f_id: '2.5' is not an int32")
    expect_error(["call", "f_id", "2", "fast", "50"], "velk call: argument c of f_id: 'fast' is not a number")
    expect_error(["call", "__velk_MOD_besselj", "0", "3"],
                 "velk call: argument z of __velk_MOD_besselj: '3' is not a complex number re,im")
    expect_error(["call", "df_ducts", "1", "10", "2", "1.78", "520", "308", "1.67", "0.0164", "2.1e-5", "50",
                  "4400", "2"], "velk call: argument rduct of df_ducts has 1 value, nduct is 2")
    expect_error(["call"], "velk: ")


# ------------------------------------------------------------------ readme
def test_readme():
    with open(os.path.join(HERE, "..", "..", "README.md"), encoding="utf-8") as f:
        readme = f.read()
    blocks = re.findall(r"```json\n(.*?)```", readme, re.S)
    check(any(json.loads(b) == example() for b in blocks), "README shows no JSON block equal to the example")
    texts = re.findall(r"```text\n(.*?)```", readme, re.S)
    check(expected_text("budget_expected.txt") in texts, "README does not show the built-in budget")
    check(any(json.loads(b) == reduce_example() for b in blocks), "README does not show the reduction example")
    check(expected_text("reduce_expected.txt") in texts, "README does not show the built-in reduction")


# ------------------------------------------------------------------ reduce
# (what, changes [(path, value)], expected message after "velk reduce: FILE: ")
REDUCE_ERRORS = [
    ("repeated term", [(("isotherm", "terms"), ["A0", "A1", "A2", "A3", "A-1", "A-1"])],
     "isotherm.terms[5] repeats a term"),
    ("too few points", [(("state_points",), "first 2")],
     "state_points: the isotherm's 3 terms need at least as many state points, not 2"),
    ("mode measured twice", [(("state_points", 3, "modes", 2, "n"), 3)],
     "state_points[3].modes[2].n: mode (0,3) is measured twice"),
    ("zero half-width", [(("state_points", 1, "modes", 0, "half_width_Hz"), 0.0)],
     "state_points[1].modes[0].half_width_Hz must be positive, not 0.0"),
    ("negative half-width", [(("microwave", "triplets", 0, "half_widths_Hz", 1), -2.0)],
     "microwave.triplets[0].half_widths_Hz[1] must be positive, not -2.0"),
    ("TM triplet twice", [(("microwave", "triplets", 1, "mode"), 1)],
     "microwave.triplets[1].mode: TM11 is measured twice"),
    ("shape triplet missing", [(("microwave", "shape_triplet_mode"), 4)],
     "microwave.shape_triplet_mode: no triplet of TM14 is given"),
    ("unknown term", [(("isotherm", "terms"), ["A0", "B1"])],
     'isotherm.terms[1] must be "A-1", "A0", "A1", "A2" or "A3", not a string ("B1")'),
    ("no A0", [(("isotherm", "terms"), ["A1", "A2"])], "isotherm.terms must include A0"),
    ("no radius at all", [(("microwave",), DELETE)], "missing field resonator.radius_mm"),
    ("too few distinct pressures", [(("state_points", k, "pressure_kPa"), 100.0) for k in range(6)],
     "isotherm.terms: the state points' pressures cannot determine 3 terms (too few distinct pressures)"),
    ("non-physical gas", [(("state_points", 0, "gamma"), 0.5)], "state_points[0].gamma must be greater than 1, not 0.5"),
    ("mode outside the table", [(("state_points", 0, "modes", 0, "n"), 1)],
     "state_points[0].modes[0].n = 1 is outside the table of radial modes ((0,2) to (0,13))"),
    ("unknown field", [(("state_points", 0, "pressure_Pa"), 1e5)], "unknown field state_points[0].pressure_Pa"),
]


def test_reduce():
    expected = check_built_in("reduce", "reduce_expected.txt", "reduction")
    path = os.path.join(HERE, "..", "velk", "reduce_example.json")
    check(run("reduce", path)[1] == expected, "velk reduce reduce_example.json differs from the built-in one")
    check(json.loads(run("example", "reduce")[1]) == reduce_example(), "velk example reduce")

    # JSON and CSV carry the same doubles; the result and its uncertainty.
    doc = json.loads(run("reduce", "--format", "json")[1])
    blocks = run("reduce", "--format", "csv")[1].split("\n\n")
    check(len(blocks) == 6, "CSV blocks")
    modes = list(csv.DictReader(io.StringIO(blocks[1])))
    flat = [m for p in doc["state_points"] for m in p["modes"]]
    check(len(modes) == len(flat) == 30, "30 acoustic modes")
    for row, m in zip(modes, flat):
        check(bits(float(row["c_m_s"])) == bits(m["c_m_s"]), "c in CSV and JSON")
        check(1 <= m["iterations"] <= 10, f"iterations {m['iterations']}")
    quantities = {r["quantity"]: r for r in csv.DictReader(io.StringIO(blocks[4]))}
    t = doc["uncertainties"][-1]
    check(t["quantity"] == "T" and float(quantities["T"]["u"]) == t["u"], "u(T) in CSV and JSON")
    check(abs(doc["result"]["temperature_K"] - 273.16) < t["u"], "the example's temperature is recovered")
    inputs = {b["input"] for b in t["budget"]}
    uncertain = set()
    flat_paths(reduce_example(), "", uncertain)
    check(inputs <= uncertain and "gas.molar_mass_kg_mol" in inputs, "the budget names the uncertain inputs")

    # Monte Carlo: reproducible for a seed, no progress bar when standard
    # error is not a terminal, close to the linear propagation.
    a = run("reduce", "--monte-carlo", "40", "--seed", "7", "--format", "json")
    b = run("reduce", "--monte-carlo", "40", "--seed", "7", "--format", "json")
    check(a[0] == 0 and a == b and a[2] == "", "Monte Carlo is reproducible and quiet")
    mc = json.loads(a[1])["monte_carlo"]
    check(mc["trials"] == 40 and mc["rejected"] == 0, "Monte Carlo trials")
    check(0.5 < mc["sd"] / t["u_inputs"] < 1.5, f"Monte Carlo sd {mc['sd']} against {t['u_inputs']}")
    check(run("reduce", "--monte-carlo", "40", "--seed", "8", "--format", "json")[1] != a[1], "the seed matters")
    expect_error(["reduce", "--monte-carlo", "0"], "velk: ")

    # R and k_B when the temperature is given.
    given = reduce_example()
    given["isotherm"]["temperature_K"] = 273.16
    code, out, err = run("reduce", "-", "--format", "json", stdin=json.dumps(given))
    res = json.loads(out)["result"]
    check(code == 0 and abs(res["gas_constant_J_mol_K"] / 8.314462618 - 1) < 2e-6, "R from the given T")
    check(res["boltzmann_constant_J_K"] == res["gas_constant_J_mol_K"] / 6.02214076e23, "k_B = R / N_A")

    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "input.json")
        for what, changes, message in REDUCE_ERRORS:
            doc = copy.deepcopy(reduce_example())
            for where, v in changes:
                if v == "first 2":
                    doc["state_points"] = doc["state_points"][:2]
                else:
                    set_path(doc, where, v)
            with open(path, "w", encoding="utf-8") as f:
                json.dump(doc, f)
            try:
                expect_error(["reduce", path], f"velk reduce: {path}: {message}\n")
            except AssertionError as e:
                raise AssertionError(f"{what}: {e}") from None
        with open(path, "w", encoding="utf-8") as f:
            f.write('{"gas": ')
        expect_error(["reduce", path], "not valid JSON")


def test_generated():
    out = subprocess.run([MAKE], capture_output=True, text=True, timeout=60, check=True).stdout
    with open(os.path.join(HERE, "..", "velk", "reduce_example.json"), encoding="utf-8") as f:
        check(out == f.read(), "reduce_example.json differs from what velk_make_reduce_example writes")


MAKE = None


def main():
    global VELK, MAKE
    ap = argparse.ArgumentParser()
    ap.add_argument("--velk", required=True)
    ap.add_argument("--make")
    ap.add_argument("group", choices=["expected", "formats", "errors", "call", "readme", "reduce", "generated"])
    a = ap.parse_args()
    VELK = a.velk
    MAKE = a.make
    globals()["test_" + a.group]()
    print(f"velk {a.group}: passed")


if __name__ == "__main__":
    main()
