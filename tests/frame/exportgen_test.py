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
    'VELK_EXPORT(1, a_fn, routine, double, "i:n:-:table=16 d:p:kPa:inert")',
    'VELK_EXPORT(2, b_data, data, data, "double[3]")',
    'VELK_EXPORT(3, c_arr, routine, none, "dN:r:mm i:nduct:-:count od:df:1")',
]
BAD = {  # replacement rows -> what the message names
    "ordinal gap": (1, 'VELK_EXPORT(4, b_data, data, data, "double[3]")', "ordinals"),
    "name order": (1, 'VELK_EXPORT(2, Z_data, data, data, "double[3]")', "byte order"),
    "unknown type": (0, 'VELK_EXPORT(1, a_fn, routine, double, "q:n:-")', "unreadable argument"),
    "unknown attribute": (0, 'VELK_EXPORT(1, a_fn, routine, double, "i:n:-:tabel=16")',
                          "unknown attribute"),
    "table on a double": (0, 'VELK_EXPORT(1, a_fn, routine, double, "d:n:-:table=16")',
                          "only an int32"),
    "array without count": (2, 'VELK_EXPORT(3, c_arr, routine, none, "dN:r:mm i:nduct:-")',
                            "count"),
    "row split": (0, 'VELK_EXPORT(1, a_fn, routine, double,', "one line"),
    "bad kind": (0, 'VELK_EXPORT(1, a_fn, function, double, "d:x:-")', "kind"),
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
    real = exportgen.load(sys.argv[1])
    if len(real) != 42 or sum(r.routine for r in real) != 35:
        failures.append(f"the real table: {len(real)} rows")
    for f in failures:
        print("FAIL:", f)
    print(f"exportgen: {len(BAD)} malformed tables, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
