#!/usr/bin/env python3
"""The one version, everywhere it shows: the project's version (CMake), the
header's VELK_VERSION_* macros, `velk --version` and the soname of the shared
object (libvelk.so.MAJOR).

usage: check_version.py --version X.Y.Z --header velk.h --velk TOOL --lib LIBVELK
"""
import argparse
import re
import subprocess
import sys


def main():
    ap = argparse.ArgumentParser()
    for opt in ("version", "header", "velk", "lib"):
        ap.add_argument("--" + opt, required=True)
    opt = ap.parse_args()
    problems = []
    major, minor, patch = opt.version.split(".")

    with open(opt.header, encoding="utf-8") as f:
        header = f.read()
    macros = dict(re.findall(r"^#define VELK_VERSION_(\w+) (\S+)$", header, re.M))
    want = {"MAJOR": major, "MINOR": minor, "PATCH": patch, "STRING": f'"{opt.version}"'}
    for key, value in want.items():
        if macros.get(key) != value:
            problems.append(f"velk.h: VELK_VERSION_{key} is {macros.get(key)}, not {value}")

    tool = subprocess.run([opt.velk, "--version"], capture_output=True, text=True)
    if tool.returncode != 0 or tool.stdout != f"velk {opt.version}\n":
        problems.append(f"velk --version printed {tool.stdout!r} (status {tool.returncode})")

    dyn = subprocess.run(["readelf", "-d", opt.lib], capture_output=True, text=True, check=True).stdout
    soname = re.search(r"\(SONAME\)\s+Library soname: \[(.*)\]", dyn)
    if soname is None or soname.group(1) != f"libvelk.so.{major}":
        problems.append(f"soname of {opt.lib} is {soname.group(1) if soname else None}, "
                        f"not libvelk.so.{major}")

    for p in problems:
        print("FAIL:", p)
    if not problems:
        print(f"version {opt.version}: header, velk --version and soname agree")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
