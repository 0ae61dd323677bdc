#!/usr/bin/env python3
"""Packs velk-VERSION-windows.zip from the windows rows of scripts/release.files.

usage: pack_windows.py VERSION OUTPUT_DIR   (run from the top of the tree)
Stops, naming every one, when a listed file does not exist.
"""
import os
import sys
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "package"))
from release_files import read_release_files  # noqa: E402


def main(version, outdir):
    rows = read_release_files("scripts/release.files", version)["windows"]
    missing = [src for _, src in rows if not os.path.isfile(src)]
    if missing:
        for src in missing:
            print(f"scripts/release: missing {src} (listed in scripts/release.files)", file=sys.stderr)
        return 1
    top = f"velk-{version}-windows"
    path = os.path.join(outdir, top + ".zip")
    with zipfile.ZipFile(path + ".part", "w", zipfile.ZIP_DEFLATED) as z:
        for arcname, src in rows:
            z.write(src, f"{top}/{arcname}")
    os.replace(path + ".part", path)
    print(path)
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
