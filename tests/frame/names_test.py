#!/usr/bin/env python3
"""One name per routine: the readable names of the export table are the names
of the Python package (python/velk/_routines.py, its __all__ read without
importing the extension) and of the C++ API, whose header lists each with its
export in a mapping comment and declares it.  Any rename on one side only
fails here.

usage: names_test.py TABLE SOURCE-DIR"""
import ast
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import exportgen  # noqa: E402

# Functions of the C++ API and the Python package that are not exports: they
# evaluate many arguments at once.
BATCH_ONLY = {"boundary_layer_function"}


def python_names(path):
    tree = ast.parse(open(path, encoding="utf-8").read(), path)
    for node in tree.body:
        if isinstance(node, ast.Assign) and any(
                isinstance(t, ast.Name) and t.id == "__all__" for t in node.targets):
            # Classes (Perturbation, Deformation) begin with a capital.
            return {n for n in ast.literal_eval(node.value) if n[0].islower()}
    raise ValueError(f"{path}: no __all__")


def header_mapping(text):
    """{C++ name: export} from the comment block that begins '// C++ name'."""
    lines = text.splitlines()
    start = next(k for k, line in enumerate(lines) if re.match(r"^//\s+C\+\+ name\s+export", line))
    mapping = {}
    for line in lines[start + 1:]:
        m = re.match(r"^//\s{2,}([a-z][a-z0-9_]*)\b.*?\s([A-Za-z_][A-Za-z0-9_]*)\s*$", line)
        if not m:
            break
        if m.group(1) in mapping:
            raise ValueError(f"velk.hpp lists {m.group(1)} twice")
        mapping[m.group(1)] = m.group(2)
    return mapping


def main(argv):
    rows = exportgen.load(argv[1])
    src = argv[2]
    failures = []
    # The routines of the Constants record (copy) have no C++ or Python
    # counterpart: the model replaces the record there.
    routines = {r.readable: r.name for r in rows
                if r.routine and not any(p.type in ("C", "oC") for p in r.params)}

    py = python_names(os.path.join(src, "python", "velk", "_routines.py"))
    for name in sorted(set(routines) - py):
        failures.append(f"python/velk lacks {name} ({routines[name]})")
    for name in sorted(py - set(routines) - BATCH_ONLY):
        failures.append(f"python/velk exposes {name}, which the export table does not name")

    header = open(os.path.join(src, "include", "velk", "velk.hpp"), encoding="utf-8").read()
    mapping = header_mapping(header)
    for name, export in sorted(routines.items()):
        if name not in mapping:
            failures.append(f"velk.hpp's mapping lacks {name} ({export})")
        elif mapping[name] != export:
            failures.append(f"velk.hpp maps {name} to {mapping[name]}, the table to {export}")
        if not re.search(rf"^\S.*\b{name}\(", header, re.M):
            failures.append(f"velk.hpp declares no function {name}")
    for name in sorted(set(mapping) - set(routines)):
        failures.append(f"velk.hpp's mapping lists {name}, which the export table does not name")

    for f in failures:
        print("FAIL:", f)
    print(f"names: {len(routines)} routines against python/velk and velk.hpp, "
          f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
