#!/usr/bin/env python3
"""Reads the VERSIONINFO resource back from a DLL, as Windows shows it in the
file's properties, and checks it against the project version.

The PE is walked by hand: the resource directory (data directory 2) down
to the RT_VERSION entry, then the VS_VERSIONINFO blocks: the fixed file info
(signature 0xFEEF04BD, file and product version as four 16-bit parts) and
the StringFileInfo strings.

usage: check_version.py DLL VERSION NAME
"""
import struct
import sys

RT_VERSION = 16


def sections(pe):
    lfanew = struct.unpack_from("<I", pe, 0x3C)[0]
    if pe[lfanew:lfanew + 4] != b"PE\0\0":
        raise ValueError("not a PE image")
    nsect, optsize = struct.unpack_from("<H", pe, lfanew + 6)[0], struct.unpack_from("<H", pe, lfanew + 20)[0]
    opt = lfanew + 24
    magic = struct.unpack_from("<H", pe, opt)[0]
    dirs = opt + (96 if magic == 0x10B else 112)
    res_rva = struct.unpack_from("<I", pe, dirs + 2 * 8)[0]
    table = []
    for k in range(nsect):
        s = opt + optsize + 40 * k
        vsize, va, rawsize, rawptr = struct.unpack_from("<IIII", pe, s + 8)
        table.append((va, max(vsize, rawsize), rawptr))
    return res_rva, table


def offset_of(rva, table):
    for va, size, raw in table:
        if va <= rva < va + size:
            return raw + rva - va
    raise ValueError(f"RVA {rva:#x} in no section")


def version_resource(pe):
    res_rva, table = sections(pe)
    if not res_rva:
        raise ValueError("no resource directory")
    root = offset_of(res_rva, table)

    def entries(off):
        named, ids = struct.unpack_from("<HH", pe, off + 12)
        for k in range(named + ids):
            yield struct.unpack_from("<II", pe, off + 16 + 8 * k)

    node = None
    for ident, target in entries(root):
        if ident == RT_VERSION:
            node = target
    if node is None:
        raise ValueError("no RT_VERSION resource")
    for _ in range(2):  # name, then language: the first of each
        if not node & 0x80000000:
            raise ValueError("malformed resource tree")
        node = next(entries(root + (node & 0x7FFFFFFF)))[1]
    data_rva, size = struct.unpack_from("<II", pe, root + node)
    start = offset_of(data_rva, table)
    return pe[start:start + size]


def blocks(blob, off, end):
    """The VS_VERSIONINFO-style blocks in blob[off:end]: (key, type, value, children)."""
    while off + 6 <= end:
        length, vlen, vtype = struct.unpack_from("<HHH", blob, off)
        if length == 0:
            break
        k = off + 6
        key_end = k
        while blob[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = blob[k:key_end].decode("utf-16-le")
        v = (key_end + 2 + 3) & ~3
        vbytes = vlen * 2 if vtype == 1 else vlen
        value = blob[v:v + vbytes]
        children = (v + vbytes + 3) & ~3
        yield key, vtype, value, (children, off + length)
        off = (off + length + 3) & ~3


def read(path):
    with open(path, "rb") as f:
        blob = version_resource(f.read())
    (key, _, fixed, (c0, c1)), = list(blocks(blob, 0, len(blob)))[:1]
    if key != "VS_VERSION_INFO":
        raise ValueError(f"root block {key!r}")
    sig, _, fms, fls, pms, pls = struct.unpack_from("<IIIIII", fixed, 0)
    if sig != 0xFEEF04BD:
        raise ValueError(f"fixed file info signature {sig:#x}")
    split = lambda ms, ls: (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)  # noqa: E731
    strings = {}
    for key, _, _, (s0, s1) in blocks(blob, c0, c1):
        if key != "StringFileInfo":
            continue
        for _, _, _, (t0, t1) in blocks(blob, s0, s1):
            for name, _, value, _ in blocks(blob, t0, t1):
                strings[name] = value.decode("utf-16-le").rstrip("\0")
    return split(fms, fls), split(pms, pls), strings


def main(argv):
    if len(argv) != 4:
        sys.exit(__doc__)
    path, version, name = argv[1:]
    want = tuple(int(x) for x in (version.split(".") + ["0"] * 4)[:4])
    try:
        fileversion, productversion, strings = read(path)
    except (ValueError, struct.error) as e:
        print(f"error: {path}: {e}")
        return 1
    errors = []
    if fileversion != want:
        errors.append(f"file version {fileversion}, expected {want}")
    if productversion != want:
        errors.append(f"product version {productversion}, expected {want}")
    for key, value in (("FileVersion", version), ("ProductVersion", version),
                       ("OriginalFilename", name + ".dll"), ("ProductName", "velk")):
        if strings.get(key) != value:
            errors.append(f"{key} is {strings.get(key)!r}, expected {value!r}")
    if "velk" not in strings.get("FileDescription", ""):
        errors.append(f"FileDescription {strings.get('FileDescription')!r}")
    for e in errors:
        print("error:", e)
    print(f"{path}: version {'.'.join(map(str, fileversion))}, "
          f"{strings.get('FileDescription')!r}: {len(errors)} errors")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
