#!/usr/bin/env python3
"""Checks a built library's export table against the velk export table.

ELF (--elf): the defined dynamic symbols are exactly the table's rows.
PE (--pe): the exported names are exactly the table's rows, each at the
ordinal of its row, and every imported DLL is a system DLL.  This holds for
the stdcall DLL as well: its names are undecorated (no @N).
"""
import argparse
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import exportgen  # noqa: E402

SYSTEM_DLLS = re.compile(r"^(kernel32|msvcrt|ntdll|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$", re.I)


def elf_exports(path):
    out = subprocess.run(["nm", "-D", "--defined-only", path], check=True,
                         capture_output=True, text=True).stdout
    names = set()
    for line in out.splitlines():
        parts = line.split()
        if len(parts) == 3:
            names.add(parts[2].split("@")[0])
    return names


def pe_tables(path, objdump):
    out = subprocess.run([objdump, "-p", path], check=True, capture_output=True, text=True).stdout
    base = re.search(r"^Ordinal Base\s+(\d+)", out, re.M)
    base = int(base.group(1)) if base else 1
    exports = {}
    section = out.split("[Ordinal/Name Pointer] Table", 1)
    if len(section) == 2:
        for m in re.finditer(r"^\s*\[\s*(\d+)\]\s+(\S+)\s*$", section[1], re.M):
            exports[m.group(2)] = int(m.group(1)) + base
    imports = re.findall(r"DLL Name:\s*(\S+)", out)
    return exports, imports


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--table", required=True)
    ap.add_argument("--elf")
    ap.add_argument("--pe")
    ap.add_argument("--objdump", default="objdump")
    args = ap.parse_args()

    table = {r.name: r.ordinal for r in exportgen.load(args.table)}
    errors = []
    if len(table) != 42:
        errors.append(f"the export table holds {len(table)} rows, not 42")

    if args.elf:
        names = elf_exports(args.elf)
        for extra in sorted(names - set(table)):
            errors.append(f"{args.elf} exports {extra}, which is not in the table")
        for missing in sorted(set(table) - names):
            errors.append(f"{args.elf} does not export {missing}")
    if args.pe:
        exports, imports = pe_tables(args.pe, args.objdump)
        for name, ordinal in sorted(exports.items()):
            if name not in table:
                hint = " (a decorated stdcall name)" if "@" in name else ""
                errors.append(f"{args.pe} exports {name}, which is not in the table{hint}")
            elif table[name] != ordinal:
                errors.append(f"{name} at ordinal {ordinal}, expected {table[name]}")
        for missing in sorted(set(table) - set(exports)):
            errors.append(f"{args.pe} does not export {missing}")
        for dll in imports:
            if not SYSTEM_DLLS.match(dll):
                errors.append(f"{args.pe} imports from {dll}, not a system DLL")

    for e in errors:
        print("error:", e)
    print(f"{len(table)} exports checked, {len(errors)} errors")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
