#!/usr/bin/env python3
"""The export table's reader (scripts/exportgen.py): the real table parses
with its attributes, and each kind of malformed table is refused with the
line at fault rather than turned into wrong .def files or declarations."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import exportgen  # noqa: E402

GOOD = [
    'VELK_EXPORT(1, a_fn, routine, double, "i:n:-:table=16 d:p:kPa:inert", a_fn)',
    'VELK_EXPORT(2, b_data, data, data, "double[3]", b_data)',
    'VELK_EXPORT(3, c_arr, routine, none, "dN:r:mm i:nduct:-:count od:df:1", c_arr)',
]
BAD = {  # replacement rows -> what the message names
    "ordinal gap": (1, 'VELK_EXPORT(4, b_data, data, data, "double[3]", b_data)', "ordinals"),
    "name order": (1, 'VELK_EXPORT(2, Z_data, data, data, "double[3]", z_data)', "byte order"),
    "unknown type": (0, 'VELK_EXPORT(1, a_fn, routine, double, "q:n:-", a_fn)', "unreadable argument"),
    "unknown attribute": (0, 'VELK_EXPORT(1, a_fn, routine, double, "i:n:-:tabel=16", a_fn)',
                          "unknown attribute"),
    "table on a double": (0, 'VELK_EXPORT(1, a_fn, routine, double, "d:n:-:table=16", a_fn)',
                          "only an int32"),
    "array without count": (2, 'VELK_EXPORT(3, c_arr, routine, none, "dN:r:mm i:nduct:-", c_arr)',
                            "count"),
    "row split": (0, 'VELK_EXPORT(1, a_fn, routine, double,', "one line"),
    "bad kind": (0, 'VELK_EXPORT(1, a_fn, function, double, "d:x:-", a_fn)', "kind"),
    "no readable name": (0, 'VELK_EXPORT(1, a_fn, routine, double, "d:x:-")', "unreadable row"),
    "readable not snake case": (0, 'VELK_EXPORT(1, a_fn, routine, double, "d:x:-", A_Fn)',
                                "snake case"),
    "readable used twice": (1, 'VELK_EXPORT(2, b_data, data, data, "double[3]", a_fn)', "twice"),
}


def load(rows):
    with tempfile.NamedTemporaryFile("w", suffix=".inc", delete=False) as f:
        f.write("/* test table */\n" + "\n".join(rows) + "\n")
    try:
        return exportgen.load(f.name)
    finally:
        os.unlink(f.name)


def main():
    failures = []
    rows = load(GOOD)
    p = rows[0].params
    if (p[0].table, p[0].inert, p[1].inert, rows[2].params[1].count) != (16, False, True, True):
        failures.append("attributes not read")
    for what, (at, row, message) in BAD.items():
        table = list(GOOD)
        table[at] = row
        try:
            load(table)
            failures.append(f"{what}: accepted")
        except ValueError as e:
            if message not in str(e):
                failures.append(f"{what}: message '{e}' does not say '{message}'")
    names_h = exportgen.gen_names_h(rows)
    for line in ("VELK_NAME_ROUTINE(a_fn, a_fn, double, 2)", "VELK_NAME_DATA(b_data, b_data, 3)",
                 "VELK_NAME_ROUTINE(c_arr, c_arr, none, 3)"):
        if line not in names_h.splitlines():
            failures.append(f"names.h lacks {line}")
    for fn, ok in (("VELK_A_FN", True), ("VELK_C_ARR", True), ("VELK_B_DATA", False),
                   ("VELK_AFN", False)):
        try:
            exportgen.check_worksheet(rows, f"Public Function {fn}(ByVal x As Double) As Variant\n")
            if not ok:
                failures.append(f"worksheet function {fn} accepted")
        except ValueError:
            if ok:
                failures.append(f"worksheet function {fn} refused")
    real = exportgen.load(sys.argv[1])
    if len(real) != 42 or sum(r.routine for r in real) != 35:
        failures.append(f"the real table: {len(real)} rows")
    for f in failures:
        print("FAIL:", f)
    print(f"exportgen: {len(BAD)} malformed tables, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
