#!/usr/bin/env python3
"""Checks the Declare statements of hosts/excel/velk.bas against the export
table, as VBA will call the routines.

For each of the two branches (#If VBA7 And Win64: velk_64bit.dll with
PtrSafe; #Else: velk_32bit_stdcall.dll) every routine of the table must be
declared exactly once, under its own name or with an Alias of it, with one
parameter per argument: a by-reference argument ByRef with the VBA type of
the same size and layout, a by-value one ByVal; a Function with the VBA type
of the result, a Sub where there is none.

usage: check_vba.py export_table.inc velk.bas
"""
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import exportgen  # noqa: E402

# The VBA view of each argument type: how it is passed, and the VBA type whose
# storage the routine reads or writes (Double 8 bytes, Long 4, Single 4; the
# user-defined types are the header's records).
ARG = {"d": ("ByRef", "Double"), "x": ("ByRef", "Double"), "od": ("ByRef", "Double"),
       "d2": ("ByRef", "Double"), "dN": ("ByRef", "Double"), "i": ("ByRef", "Long"),
       "z": ("ByRef", "VelkComplex"), "oz": ("ByRef", "VelkComplex"),
       "C": ("ByRef", "VelkConstants"), "oC": ("ByRef", "VelkConstants"),
       "desc": ("ByRef", "VelkDescriptor"), "vf": ("ByVal", "Single"), "vi": ("ByVal", "Long")}
# Results per branch: a pointer is LongPtr on 64-bit and Long on 32-bit; an
# 8-byte integer (two singles) LongLong on 64-bit, Currency (edx:eax) on 32-bit.
RESULT = {
    "win64": {"double": "Double", "single": "Single", "complex": "LongPtr", "csingle": "LongLong"},
    "win32": {"double": "Double", "single": "Single", "complex": "Long", "csingle": "Currency"},
}
DLL = {"win64": "velk_64bit.dll", "win32": "velk_32bit_stdcall.dll"}

DECLARE = re.compile(r'^\s*Public Declare (PtrSafe )?(Sub|Function) (\w+) Lib "([^"]+)"'
                     r'(?: Alias "([^"]+)")? \(([^)]*)\)(?: As (\w+))?\s*$')
PARAM = re.compile(r"^(ByRef|ByVal) (\w+) As (\w+)$")


def parse(path):
    """The Declare statements of each branch: {branch: [(line, match)]}."""
    branch, found = None, {"win64": [], "win32": []}
    with open(path, encoding="utf-8", newline="") as f:
        text = f.read()
    errors = [] if "\r\n" in text and "\n" not in text.replace("\r\n", "") else \
        ["velk.bas does not use CRLF line ends throughout (the VBA editor imports those)"]
    for lineno, line in enumerate(text.split("\r\n"), 1):
        s = line.strip()
        if s == "#If VBA7 And Win64 Then":
            branch = "win64"
        elif s == "#Else" and branch == "win64":
            branch = "win32"
        elif s == "#End If" and branch == "win32":
            branch = None
        elif "Declare" in s and not s.startswith("'"):
            m = DECLARE.match(line)
            if not m or branch is None:
                errors.append(f"line {lineno}: a Declare outside the branches or unreadable: {s}")
            else:
                found[branch].append((lineno, m))
    return found, errors


def check(rows, found):
    errors = []
    routines = {r.name: r for r in rows if r.routine}
    for branch, declares in found.items():
        seen = set()
        for lineno, m in declares:
            ptrsafe, kind, name, lib, alias, params, result = m.groups()
            export = alias or name
            where = f"line {lineno} ({branch}, {export})"
            r = routines.get(export)
            if r is None:
                errors.append(f"{where}: not a routine of the export table")
                continue
            if export in seen:
                errors.append(f"{where}: declared twice")
            seen.add(export)
            if lib != DLL[branch]:
                errors.append(f"{where}: Lib {lib}, expected {DLL[branch]}")
            if bool(ptrsafe) != (branch == "win64"):
                errors.append(f"{where}: PtrSafe {'missing' if branch == 'win64' else 'in a pre-VBA7 branch'}")
            if name.startswith("_"):
                errors.append(f"{where}: a VBA name cannot begin with an underscore")
            plist = [p.strip() for p in params.split(",")] if params.strip() else []
            if len(plist) != len(r.params):
                errors.append(f"{where}: {len(plist)} parameters, the table has {len(r.params)}")
            for k, (text, p) in enumerate(zip(plist, r.params)):
                pm = PARAM.match(text)
                if not pm or (pm.group(1), pm.group(3)) != ARG[p.type]:
                    errors.append(f"{where}: parameter {k + 1} is '{text}', expected "
                                  f"'{ARG[p.type][0]} {p.name} As {ARG[p.type][1]}'")
            if r.result == "none":
                if kind != "Sub" or result:
                    errors.append(f"{where}: no result, so a Sub")
            elif kind != "Function" or result != RESULT[branch][r.result]:
                errors.append(f"{where}: result As {result}, expected {RESULT[branch][r.result]}")
        for missing in sorted(set(routines) - seen):
            errors.append(f"{branch}: {missing} is not declared")
    return errors


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    rows = exportgen.load(argv[1])
    found, errors = parse(argv[2])
    errors += check(rows, found)
    for e in errors:
        print("error:", e)
    print(f"{sum(len(d) for d in found.values())} Declare statements checked, {len(errors)} errors")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
