#!/usr/bin/env python3
"""Checks a built library's export table against the velk export table.

ELF (--elf): the defined dynamic symbols are exactly the implemented rows.
PE (--pe): the exported names are exactly the implemented rows, each at the
ordinal of its row, and every imported DLL is a system DLL.
With --require-all every one of the table's rows must be implemented.
"""
import argparse
import re
import subprocess
import sys

SYSTEM_DLLS = re.compile(r"^(kernel32|msvcrt|ntdll|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$", re.I)


def read_rows(path, pattern):
    rows = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = re.match(pattern, line)
            if m:
                rows[m.group(2)] = int(m.group(1))
    return rows


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
    ap.add_argument("--implemented", required=True)
    ap.add_argument("--elf")
    ap.add_argument("--pe")
    ap.add_argument("--objdump", default="objdump")
    ap.add_argument("--require-all", action="store_true")
    args = ap.parse_args()

    table = read_rows(args.table, r"^VELK_EXPORT\((\d+), (\w+),")
    implemented = read_rows(args.implemented, r"^VELK_IMPLEMENTED\((\d+), (\w+)\)")
    errors = []
    if len(table) != 42 or sorted(table.values()) != list(range(1, 43)):
        errors.append("the export table does not hold the 42 ordinals")
    for name, ordinal in implemented.items():
        if table.get(name) != ordinal:
            errors.append(f"{name}: implemented at ordinal {ordinal}, table says {table.get(name)}")
    if args.require_all and set(implemented) != set(table):
        errors.append(f"rows not implemented: {sorted(set(table) - set(implemented))}")

    if args.elf:
        names = elf_exports(args.elf)
        for extra in sorted(names - set(implemented)):
            errors.append(f"{args.elf} exports {extra}, which is not an implemented row")
        for missing in sorted(set(implemented) - names):
            errors.append(f"{args.elf} does not export {missing}")
    if args.pe:
        exports, imports = pe_tables(args.pe, args.objdump)
        for name, ordinal in sorted(exports.items()):
            if name not in implemented:
                errors.append(f"{args.pe} exports {name}, which is not an implemented row")
            elif implemented[name] != ordinal:
                errors.append(f"{name} at ordinal {ordinal}, expected {implemented[name]}")
        for missing in sorted(set(implemented) - set(exports)):
            errors.append(f"{args.pe} does not export {missing}")
        for dll in imports:
            if not SYSTEM_DLLS.match(dll):
                errors.append(f"{args.pe} imports from {dll}, not a system DLL")

    for e in errors:
        print("error:", e)
    print(f"{len(implemented)} exports checked, {len(errors)} errors")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
