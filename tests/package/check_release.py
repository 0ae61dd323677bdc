#!/usr/bin/env python3
"""Unpacks the release archives made by scripts/release and checks them
against scripts/release.files: exactly the listed files, the DLLs built for
the right machine, the header as in the tree, the shared object's soname and
links, the tool's version, the Debian package's fields.

usage: check_release.py --version X.Y.Z --dist DIR --files scripts/release.files
"""
import argparse
import os
import re
import struct
import subprocess
import sys
import tarfile
import tempfile
import zipfile

from release_files import read_release_files

PE_MACHINE = {"velk_32bit": 0x14C, "velk_32bit_stdcall": 0x14C, "velk_64bit": 0x8664}
HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "include", "velk", "velk.h")

problems = []


def problem(msg):
    problems.append(msg)


def compare(what, have, want):
    for name in sorted(set(want) - set(have)):
        problem(f"{what}: {name} is missing")
    for name in sorted(set(have) - set(want)):
        problem(f"{what}: {name} is not in scripts/release.files")


def pe_machine(data):
    if data[:2] != b"MZ" or len(data) < 0x40:
        return None
    (pe,) = struct.unpack_from("<I", data, 0x3C)
    if data[pe:pe + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", data, pe + 4)[0]


def check_windows(path, top, rows):
    with open(HEADER, "rb") as f:
        header = f.read()
    with zipfile.ZipFile(path) as z:
        names = [n for n in z.namelist() if not n.endswith("/")]
        compare(os.path.basename(path), names, [f"{top}/{a}" for a, _ in rows])
        for name in names:
            data = z.read(name)
            stem, ext = os.path.splitext(os.path.basename(name))
            if ext == ".dll" and pe_machine(data) != PE_MACHINE.get(stem):
                problem(f"{name}: not a Windows DLL for the machine of {stem}")
            if name.endswith("include/velk/velk.h") and data != header:
                problem(f"{name}: differs from include/velk/velk.h")


def check_linux(path, top, rows, version):
    with tempfile.TemporaryDirectory() as tmp:
        with tarfile.open(path) as t:
            members = [m for m in t.getmembers() if not m.isdir()]
            compare(os.path.basename(path), [m.name for m in members], [f"{top}/{a}" for a, _ in rows])
            if hasattr(tarfile, "data_filter"):
                t.extractall(tmp, members=members, filter="tar")
            else:
                t.extractall(tmp, members=members)
        root = os.path.join(tmp, top)
        lib = os.path.join(root, "lib")
        links = {"libvelk.so": "libvelk.so.1", "libvelk.so.1": f"libvelk.so.{version}"}
        for link, target in links.items():
            p = os.path.join(lib, link)
            if not os.path.islink(p) or os.readlink(p) != target:
                problem(f"{top}/lib/{link} is not a link to {target}")
        real = os.path.join(lib, f"libvelk.so.{version}")
        if os.path.isfile(real):
            dyn = subprocess.run(["readelf", "-hd", real], capture_output=True, text=True).stdout
            if "X86-64" not in dyn or "Library soname: [libvelk.so.1]" not in dyn:
                problem(f"{top}/lib/libvelk.so.{version}: not an x86-64 shared object with soname libvelk.so.1")
        tool = os.path.join(root, "bin", "velk")
        if os.path.isfile(tool):
            out = subprocess.run([tool, "--version"], capture_output=True, text=True).stdout
            if out != f"velk {version}\n":
                problem(f"{top}/bin/velk --version printed {out!r}")


def check_deb(path, rows, version):
    fields = {}
    for key in ("Package", "Version", "Architecture", "Depends"):
        fields[key] = subprocess.run(["dpkg-deb", "-f", path, key], capture_output=True,
                                     text=True).stdout.strip()
    want = {"Package": "velk", "Version": version, "Architecture": "amd64"}
    for key, value in want.items():
        if fields[key] != value:
            problem(f"{os.path.basename(path)}: {key} is {fields[key]!r}, not {value!r}")
    if "libc6" not in fields["Depends"]:
        problem(f"{os.path.basename(path)}: Depends ({fields['Depends']!r}) does not name libc6")
    listing = subprocess.run(["dpkg-deb", "-c", path], capture_output=True, text=True,
                             check=True).stdout
    files = []
    for line in listing.splitlines():
        if line.startswith("d"):
            continue
        name = re.split(r"\s+", line, maxsplit=5)[5].split(" -> ")[0]
        files.append(name[1:] if name.startswith("./") else name)
    compare(os.path.basename(path), files, [p for p, _ in rows])


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--version", required=True)
    ap.add_argument("--dist", required=True)
    ap.add_argument("--files", required=True)
    opt = ap.parse_args()
    rows = read_release_files(opt.files, opt.version)
    archives = {
        "windows": os.path.join(opt.dist, f"velk-{opt.version}-windows.zip"),
        "linux": os.path.join(opt.dist, f"velk-{opt.version}-linux-x86_64.tar.gz"),
        "deb": os.path.join(opt.dist, f"velk_{opt.version}_amd64.deb"),
    }
    for kind, path in archives.items():
        if not os.path.isfile(path):
            problem(f"{path} does not exist")
        elif kind == "windows":
            check_windows(path, f"velk-{opt.version}-windows", rows["windows"])
        elif kind == "linux":
            check_linux(path, f"velk-{opt.version}-linux-x86_64", rows["linux"], opt.version)
        else:
            check_deb(path, rows["deb"], opt.version)
    for p in problems:
        print("FAIL:", p)
    if not problems:
        print("release archives hold exactly the files of scripts/release.files")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
