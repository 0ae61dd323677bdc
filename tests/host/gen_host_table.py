#!/usr/bin/env python3
"""Writes the C table of the exports for the host programs and tests.

From the one export table it writes, for every row, its ordinal, name, kind,
result kind and argument spec, and for every routine a caller that converts
a list of addresses (or the by-value arguments) back to the parameter types
of the routine's declaration in velk.h, so that hosts call each routine
through a pointer of its own type.

usage: gen_host_table.py export_table.inc output.c
"""
import re
import sys

ROW = re.compile(r'^VELK_EXPORT\((\d+), ([A-Za-z0-9_]+), ([a-z]+), ([a-z]+), "([^"]*)"\)')
KINDS = {"routine": "VELK_KIND_ROUTINE", "data": "VELK_KIND_DATA", "rodata": "VELK_KIND_RODATA"}
RESULTS = {"double": "VELK_RES_DOUBLE", "single": "VELK_RES_SINGLE", "complex": "VELK_RES_COMPLEX",
           "none": "VELK_RES_NONE", "csingle": "VELK_RES_CSINGLE", "data": "VELK_RES_DATA"}
STORE = {"double": "out->d = ", "single": "out->f = ", "complex": "out->p = ", "none": ""}


def main(table, output):
    rows = []
    with open(table, encoding="utf-8") as f:
        for line in f:
            m = ROW.match(line)
            if m:
                rows.append((int(m.group(1)), m.group(2), m.group(3), m.group(4), m.group(5)))
    if [r[0] for r in rows] != list(range(1, len(rows) + 1)):
        sys.exit("export table: ordinals are not 1..N in order")
    out = ["/* Generated from src/frame/export_table.inc by tests/host/gen_host_table.py. */",
           '#include "host/callpack.h"', ""]
    for ordinal, name, kind, result, spec in rows:
        if kind != "routine":
            continue
        fn = f"((__typeof__(&{name}))fn)"
        out.append(f"static void call_{name}(void *fn, void *const *a, const velk_byval *v, "
                   "velk_value *out) {")
        if result == "csingle":
            out.append(f"    (void)a;\n    out->u = {fn}(v->f[0], v->f[1], v->i);")
        else:
            nargs = len(spec.split())
            args = ", ".join(f"a[{k}]" for k in range(nargs))
            unused = "(void)v;" if result != "none" else "(void)v;\n    (void)out;"
            out.append(f"    {unused}\n    {STORE[result]}{fn}({args});")
        out.append("}")
    out.append("")
    out.append(f"const velk_row velk_rows[VELK_NROWS] = {{")
    for ordinal, name, kind, result, spec in rows:
        caller = f"call_{name}" if kind == "routine" else "0"
        out.append(f'    {{{ordinal}, "{name}", {KINDS[kind]}, {RESULTS[result]}, "{spec}", '
                   f"{caller}}},")
    out.append("};")
    out.append(f"_Static_assert(sizeof velk_rows / sizeof velk_rows[0] == {len(rows)}, "
               '"export table size");')
    text = "\n".join(out) + "\n"
    try:
        with open(output, encoding="utf-8") as f:
            if f.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(output, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
