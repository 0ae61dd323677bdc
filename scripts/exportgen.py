#!/usr/bin/env python3
"""The one reader of the export table, and everything made from it.

src/frame/export_table.inc lists every export of the library: ordinal, name,
kind, result and arguments (see the head of that file).  This script parses
it once, checks it, and writes what the build, the tests and the host
programs need:

  def                 the .def file of a DLL (names, ordinals, DATA)
  map                 the version script of the shared object
  stdcall-def         the .def file of the stdcall DLL (undecorated names)
  stdcall-c           the C source of its stdcall entries
  stdcall-implib-def  the .def file its callers link with (decorated f_id@12)
  host                the C table of the host programs and tests
                      (tests/host/callpack.h)
  dispatch            the rows of the C++ table of the tests and tools
                      (src/frame/dispatch.hpp)
and the host stubs, checked in: hosts/excel/velk.bas (the VBA module, with
hosts/excel/worksheet.bas.in, whose worksheet functions must be named VELK_
and a readable name in capitals), hosts/labview/README.md (the Call Library
Function Node table) and hosts/matlab/names.h (the MEX gateway's names).

usage: exportgen.py TABLE KIND OUTPUT [DLL-NAME]
       exportgen.py TABLE --check-hosts SOURCE-DIR   (the checked-in files are current)
       exportgen.py TABLE --write-hosts SOURCE-DIR   (rewrite them)

Python callers import it: exportgen.load(path) gives the rows.
"""
import os
import re
import sys
from dataclasses import dataclass, field

ROW = re.compile(r'^VELK_EXPORT\((\d+), ([A-Za-z0-9_]+), ([a-z]+), ([a-z]+), "([^"]*)", '
                 r'([A-Za-z0-9_]+)\)\s*$')
READABLE = re.compile(r"^[a-z][a-z0-9]*(_[a-z0-9]+)*$")
KINDS = ("routine", "data", "rodata")
RESULTS = ("double", "single", "complex", "none", "csingle", "data")
TYPES = ("d", "i", "z", "d2", "dN", "x", "od", "oz", "C", "oC", "desc", "vf", "vi")
ATTRS = re.compile(r"^(table=[1-9][0-9]*|inert|count)$")


@dataclass
class Param:
    type: str
    name: str
    unit: str
    table: int = 0       # a mode number: the size of the table it indexes
    inert: bool = False  # read, but without influence on the results
    count: bool = False  # the element count of the dN arrays


@dataclass
class Row:
    ordinal: int
    name: str
    kind: str
    result: str
    spec: str
    readable: str
    params: list = field(default_factory=list)

    @property
    def routine(self):
        return self.kind == "routine"


def parse_param(tok, where):
    parts = tok.split(":")
    if len(parts) < 3 or parts[0] not in TYPES or not re.match(r"^[a-z][a-z0-9]*$", parts[1]):
        raise ValueError(f"{where}: unreadable argument {tok!r}")
    p = Param(parts[0], parts[1], parts[2])
    for attr in parts[3:]:
        if not ATTRS.match(attr):
            raise ValueError(f"{where}: unknown attribute {attr!r} of {tok!r}")
        if attr.startswith("table="):
            p.table = int(attr[6:])
        elif attr == "inert":
            p.inert = True
        else:
            p.count = True
    if (p.table or p.count) and p.type != "i":
        raise ValueError(f"{where}: {tok!r}: only an int32 indexes a table or counts")
    return p


def load(path):
    """The rows of the export table, checked."""
    rows = []
    with open(path, encoding="utf-8") as f:
        for lineno, line in enumerate(f, 1):
            if not line.startswith("VELK_EXPORT("):
                continue
            m = ROW.match(line)
            where = f"{path}:{lineno}"
            if not m:
                raise ValueError(f"{where}: unreadable row (each row on one line)")
            row = Row(int(m.group(1)), m.group(2), m.group(3), m.group(4), m.group(5), m.group(6))
            if not READABLE.match(row.readable):
                raise ValueError(f"{where}: readable name {row.readable!r} is not snake case")
            if row.kind not in KINDS or row.result not in RESULTS:
                raise ValueError(f"{where}: bad kind or result")
            if row.routine:
                row.params = [parse_param(t, where) for t in row.spec.split()]
                if (row.result == "data") or (row.result == "csingle") != all(
                        p.type in ("vf", "vi") for p in row.params):
                    raise ValueError(f"{where}: result and by-value arguments disagree")
                if any(p.type == "dN" for p in row.params) != any(p.count for p in row.params):
                    raise ValueError(f"{where}: a dN array needs one count argument")
            elif row.result != "data":
                raise ValueError(f"{where}: a data row has result 'data'")
            rows.append(row)
    if [r.ordinal for r in rows] != list(range(1, len(rows) + 1)):
        raise ValueError(f"{path}: ordinals are not 1..N in order")
    readable = [r.readable for r in rows]
    twice = sorted({n for n in readable if readable.count(n) > 1})
    if twice:
        raise ValueError(f"{path}: readable names used twice: {', '.join(twice)}")
    names = [r.name for r in rows]
    if names != sorted(names, key=lambda s: s.encode()):
        raise ValueError(f"{path}: names are not in ascending byte order")
    return rows


HEAD = "Generated from src/frame/export_table.inc by scripts/exportgen.py; do not edit."

# ---- build files ---------------------------------------------------------------


def def_file(rows, dll, routine_entry):
    """A module-definition file: routine_entry(r) names each routine's export;
    data rows are exported by name."""
    out = [f"; {HEAD}", f"LIBRARY {dll}.dll", "EXPORTS"]
    for r in rows:
        out.append(f"  {routine_entry(r)} @{r.ordinal}" if r.routine
                   else f"  {r.name} @{r.ordinal} DATA")
    return "\n".join(out) + "\n"


def gen_def(rows, dll):
    return def_file(rows, dll, lambda r: r.name)


def gen_map(rows):
    out = [f"/* {HEAD} */", "{", "  global:"]
    out += [f"    {r.name};" for r in rows]
    out += ["  local:", "    *;", "};"]
    return "\n".join(out) + "\n"


C_PARAM = {"d": "const double *", "x": "const double *", "d2": "const double *",
           "dN": "const double *", "i": "const int32_t *", "z": "const velk_complex *",
           "od": "double *", "oz": "velk_complex *", "C": "const Constants *",
           "oC": "Constants *", "desc": "const velk_descriptor *", "vf": "float ", "vi": "int32_t "}
C_RESULT = {"double": "double", "single": "float", "complex": "velk_complex *", "none": "void",
            "csingle": "uint64_t"}


def c_params(r):
    return ", ".join(f"{C_PARAM[p.type]}{p.name}" for p in r.params)


def stdcall_symbol(r):
    return f"velk_stdcall_{r.name}"


def stack_bytes(r):
    # Every argument is an address or a 4-byte value on 32-bit x86.
    return 4 * len(r.params)


def gen_stdcall_def(rows, dll):
    return def_file(rows, dll, lambda r: f"{r.name} = {stdcall_symbol(r)}@{stack_bytes(r)}")


def gen_stdcall_implib_def(rows, dll):
    # What callers link against: the decorated stdcall names, which dlltool
    # --kill-at imports under the undecorated names that the DLL exports.
    return def_file(rows, dll, lambda r: f"{r.name}@{stack_bytes(r)}")


def gen_stdcall_c(rows):
    out = [f"/* {HEAD}",
           " *",
           " * The entries of the stdcall DLL: for every routine a function with the",
           " * routine's own parameters that the callee cleans up (stdcall) and that calls",
           " * the routine itself.  The .def file exports each under the routine's",
           " * undecorated name.  The static assertions check that the parameter types",
           " * written here from the export table are those the header declares. */",
           '#include "velk/velk.h"', ""]
    for r in rows:
        if not r.routine:
            continue
        res, params = C_RESULT[r.result], c_params(r)
        args = ", ".join(p.name for p in r.params)
        out.append(f"_Static_assert(__builtin_types_compatible_p(__typeof__(&{r.name}), "
                   f"{res} (*)({params})), \"{r.name}: table and header disagree\");")
        out.append(f"{res} __attribute__((stdcall)) {stdcall_symbol(r)}({params});")
        ret = "" if res == "void" else "return "
        out.append(f"{res} __attribute__((stdcall)) {stdcall_symbol(r)}({params}) {{")
        out.append(f"    {ret}{r.name}({args});")
        out.append("}")
        out.append("")
    return "\n".join(out)


HOST_TYPES = {t: "VELK_T_" + t.upper() for t in TYPES}
HOST_STORE = {"double": "out->d = ", "single": "out->f = ", "complex": "out->p = ", "none": ""}


def gen_host(rows):
    out = [f"/* {HEAD}", " * The export table for the host programs and tests (host/callpack.h): every",
           " * row, and for every routine a caller that converts a list of addresses (or",
           " * the by-value arguments) back to the parameter types of its declaration in",
           " * velk.h; on 32-bit Windows also a caller through a stdcall pointer. */",
           '#include "host/callpack.h"', ""]
    for conv, attr, guard in (("", "", None),
                              ("_stdcall", " __attribute__((stdcall))", "VELK_HAVE_STDCALL")):
        if guard:
            out.append(f"#if {guard}")
        for r in rows:
            if not r.routine:
                continue
            if guard:
                fn = f"(({C_RESULT[r.result]}{attr} (*)({c_params(r)}))fn)"
            else:
                fn = f"((__typeof__(&{r.name}))fn)"
            out.append(f"static void call{conv}_{r.name}(void *fn, void *const *a, "
                       "const velk_byval *v, velk_value *out) {")
            if r.result == "csingle":
                out.append(f"    (void)a;\n    out->u = {fn}(v->f[0], v->f[1], v->i);")
            else:
                args = ", ".join(f"a[{k}]" for k in range(len(r.params)))
                unused = "(void)v;" if r.result != "none" else "(void)v;\n    (void)out;"
                out.append(f"    {unused}\n    {HOST_STORE[r.result]}{fn}({args});")
            out.append("}")
        if guard:
            out.append("#endif")
        out.append("")
    out.append("const velk_row velk_rows[VELK_NROWS] = {")
    for r in rows:
        types = ", ".join(HOST_TYPES[p.type] for p in r.params) or "0"
        tables = ", ".join(str(p.table) for p in r.params) or "0"
        if r.routine:
            callers = (f"call_{r.name},\n#if VELK_HAVE_STDCALL\n     call_stdcall_{r.name},\n"
                       "#else\n     0,\n#endif\n    ")
        else:
            callers = "0, 0,"
        out.append(f'    {{{r.ordinal}, "{r.name}", VELK_KIND_{r.kind.upper()}, '
                   f'VELK_RES_{r.result.upper()}, "{r.spec}", {len(r.params)}, {{{types}}}, '
                   f"{{{tables}}}, {callers}}},")
    out.append("};")
    out.append(f"_Static_assert(sizeof velk_rows / sizeof velk_rows[0] == {len(rows)}, "
               '"export table size");')
    return "\n".join(out) + "\n"


DISPATCH_RESULT = {"double": "real", "single": "single", "complex": "complex", "none": "none",
                   "csingle": "csingle", "data": "data"}


def gen_dispatch(rows):
    # The rows of velk::dispatch::table() (src/frame/dispatch.hpp), parsed.
    out = [f"// {HEAD}"]
    for r in rows:
        params = ", ".join(
            f'{{Arg::{p.type}, "{p.name}", "{p.unit}", {p.table}, {str(p.inert).lower()}, '
            f"{str(p.count).lower()}}}" for p in r.params)
        out.append(f'{{{r.ordinal}, "{r.name}", Kind::{r.kind}, Result::{DISPATCH_RESULT[r.result]}, '
                   f'"{r.spec}", {{{params}}}, (void *)&{r.name}}},')
    return "\n".join(out) + "\n"


# ---- MATLAB/Octave ---------------------------------------------------------------


def data_count(r):
    """The number of doubles a datum holds: double, double[N], the one-field
    Constants record; 0 for what is not numbers (the type-bound table)."""
    m = re.match(r"^double(?:\[([1-9][0-9]*)\])?$", r.spec)
    if m:
        return int(m.group(1) or 1)
    return 1 if r.spec == "Constants" else 0


def gen_names_h(rows):
    out = [f"/* {HEAD}",
           " *",
           " * The readable names of the exports for the MATLAB/Octave gateway",
           " * (velk_mex.c): one row per export, in the order of the export table.",
           " *",
           " *   VELK_NAME_ROUTINE(readable, export, result, arity)",
           " *   VELK_NAME_DATA(readable, export, count)",
           " *",
           " * arity is the number of parameters (BYVAL: the by-value float, float, int32",
           " * of the complex power); each row becomes a call of the routine as velk.h",
           " * declares it, so a wrong arity does not compile.  count is the number of",
           " * doubles a datum holds (0: not numbers).  The export name works everywhere",
           " * the readable one does. */"]
    for r in rows:
        if r.routine:
            arity = "BYVAL" if r.result == "csingle" else str(len(r.params))
            out.append(f"VELK_NAME_ROUTINE({r.readable}, {r.name}, {r.result}, {arity})")
        else:
            out.append(f"VELK_NAME_DATA({r.readable}, {r.name}, {data_count(r)})")
    return "\n".join(out) + "\n"


# ---- VBA -----------------------------------------------------------------------

VBA_DLL64, VBA_DLL32 = "velk_64bit.dll", "velk_32bit_stdcall.dll"
VBA_PARAM = {"d": "Double", "x": "Double", "d2": "Double", "dN": "Double", "od": "Double",
             "i": "Long", "z": "VelkComplex", "oz": "VelkComplex", "C": "VelkConstants",
             "oC": "VelkConstants", "desc": "VelkDescriptor", "vf": "Single", "vi": "Long"}
VBA_RESULT64 = {"double": "Double", "single": "Single", "complex": "LongPtr", "csingle": "LongLong"}
VBA_RESULT32 = {"double": "Double", "single": "Single", "complex": "Long", "csingle": "Currency"}


def vba_name(r):
    """VBA names cannot begin with an underscore: module procedures lose their
    prefix and take velk_, and are declared with an Alias."""
    name = r.name
    if name.startswith("__velk_MOD___"):
        name = "velk_" + name[len("__velk_MOD___"):]
    elif name.startswith("__velk_MOD_"):
        name = "velk_" + name[len("__velk_MOD_"):]
    elif name.startswith("_"):
        name = name.lstrip("_")
    return name


def vba_declare(r, dll, results, ptrsafe):
    params = ", ".join(("ByVal " if p.type in ("vf", "vi") else "ByRef ")
                       + f"{p.name} As {VBA_PARAM[p.type]}" for p in r.params)
    name = vba_name(r)
    alias = f' Alias "{r.name}"' if name != r.name else ""
    safe = "PtrSafe " if ptrsafe else ""
    if r.result == "none":
        return f'    Public Declare {safe}Sub {name} Lib "{dll}"{alias} ({params})'
    return (f'    Public Declare {safe}Function {name} Lib "{dll}"{alias} ({params}) '
            f"As {results[r.result]}")


def vba_comment(r):
    def show(p):
        s = f"{p.name} [{p.unit}]" if p.unit not in ("-", "any") else p.name
        if p.type in ("od", "oz", "oC"):
            s += " (out)"
        if p.type == "x":
            s += " (never read)"
        if p.type == "dN":
            s += " (array: pass its first element)"
        if p.type == "d2":
            s += " (two elements: pass the first)"
        return s
    return "    ' " + r.name + "(" + ", ".join(show(p) for p in r.params) + ")"


WORKSHEET_FN = re.compile(r"^Public Function (VELK_[A-Z0-9_]+)\(", re.M)


def check_worksheet(rows, worksheet):
    """Every worksheet function is VELK_ and the readable name of a routine in
    capitals, so that a cell and every other host use one name."""
    known = {"VELK_" + r.readable.upper() for r in rows if r.routine}
    wrong = [f for f in WORKSHEET_FN.findall(worksheet) if f not in known]
    if wrong:
        raise ValueError("worksheet functions without a readable name in the export table: "
                         + ", ".join(wrong))


def gen_vba(rows, worksheet):
    check_worksheet(rows, worksheet)
    out = ['Attribute VB_Name = "velk"',
           f"' {HEAD}",
           "'",
           "' velk for Excel: the Declare statements of every routine of the library, and",
           "' worksheet functions for the common ones (see hosts/excel/README.md).",
           "' 64-bit Office calls velk_64bit.dll; 32-bit Office calls velk_32bit_stdcall.dll,",
           "' whose entries use the stdcall convention that Declare requires.  Put the DLL",
           "' next to the workbook or on the PATH.",
           "Option Explicit",
           "",
           "Public Type VelkComplex",
           "    re As Double",
           "    im As Double",
           "End Type",
           "",
           "Public Type VelkConstants",
           "    rgas As Double",
           "End Type",
           "",
           "' The rank-1 array descriptor of velk_sortfreq; addr is the address of the",
           "' first element (VarPtr), the other fields as the header describes them.",
           "Public Type VelkDescriptor",
           "#If VBA7 Then",
           "    addr As LongPtr",
           "#Else",
           "    addr As Long",
           "#End If",
           "    offset As Long",
           "    elemLen As Long",
           "    version As Long",
           "    rank As Byte",
           "    elemType As Byte",
           "    attr As Integer",
           "    span As Long",
           "    stride As Long",
           "    lower As Long",
           "    upper As Long",
           "End Type",
           "",
           "#If VBA7 And Win64 Then"]
    routines = [r for r in rows if r.routine]
    for r in routines:
        out.append(vba_comment(r))
        out.append(vba_declare(r, VBA_DLL64, VBA_RESULT64, True))
    out.append("#Else")
    for r in routines:
        out.append(vba_comment(r))
        out.append(vba_declare(r, VBA_DLL32, VBA_RESULT32, False))
    out.append("#End If")
    out.append("")
    out.append(worksheet.rstrip("\n"))
    return "\r\n".join(out) + "\r\n"


# ---- LabVIEW -------------------------------------------------------------------

LV_PARAM = {
    "d": ("Numeric", "8-byte Double", "Pointer to Value"),
    "x": ("Numeric", "8-byte Double", "Pointer to Value (never read)"),
    "od": ("Numeric", "8-byte Double", "Pointer to Value (written)"),
    "i": ("Numeric", "Signed 32-bit Integer", "Pointer to Value"),
    "d2": ("Array", "8-byte Double, 1 dimension, 2 elements", "Array Data Pointer"),
    "dN": ("Array", "8-byte Double, 1 dimension, nduct elements", "Array Data Pointer"),
    "z": ("Numeric", "Complex 8-byte Double", "Pointer to Value"),
    "oz": ("Numeric", "Complex 8-byte Double", "Pointer to Value (written; the result)"),
    "C": ("Numeric", "8-byte Double (the record's one field rgas)", "Pointer to Value"),
    "oC": ("Numeric", "8-byte Double (the record's one field rgas)",
           "Pointer to Value (written)"),
    "desc": ("Adapt to Type", "cluster of: address (unsigned pointer-sized integer), I32 "
             "offset, U32 elem_len, I32 version, I8 rank, I8 type, I16 attribute, I32 span, "
             "I32 stride, I32 lbound, I32 ubound", "Handles by Value (a pointer to the cluster)"),
    "vf": ("Numeric", "4-byte Single", "Value"),
    "vi": ("Numeric", "Signed 32-bit Integer", "Value"),
}
LV_RESULT = {"double": "Numeric, 8-byte Double", "single": "Numeric, 4-byte Single",
             "complex": "Numeric, Unsigned Pointer-sized Integer (the address of the first "
                        "argument, which holds the result)",
             "none": "Void",
             "csingle": "Numeric, Unsigned 64-bit Integer (low 4 bytes the real part, high 4 "
                        "bytes the imaginary part, as single-precision bit patterns)"}


def gen_labview(rows):
    out = ["<!-- " + HEAD + " -->", "",
           "# velk in LabVIEW: the Call Library Function Node", "",
           "Which library:", "",
           "| LabVIEW | Library name or path | Calling convention |",
           "|---|---|---|",
           "| 32-bit (Windows) | `velk_32bit.dll` | C |",
           "| 64-bit (Windows) | `velk_64bit.dll` | C (the only one on 64-bit Windows) |",
           "| Linux | `libvelk.so` | C |", "",
           "LabVIEW's C calling convention is the one `velk_32bit.dll` uses, so 32-bit LabVIEW",
           "calls it directly (`velk_32bit_stdcall.dll` serves hosts that need stdcall, such as",
           "32-bit Excel; with it choose stdcall (WINAPI)).  Select the function by name;",
           "set the node to run in any thread (the routines are reentrant).", "",
           "Parameters are listed in order, the return value first.  Every routine takes",
           "its arguments by reference: a numeric input is a *Pointer to Value*, an array",
           "an *Array Data Pointer*.  Units: radii and duct dimensions in mm, lengths of",
           "boundary layers and skin depth in m, pressure in kPa, otherwise SI.", ""]
    for r in rows:
        if not r.routine:
            continue
        out.append(f"## {r.name} (ordinal {r.ordinal}): {r.readable}")
        out.append("")
        out.append("| Parameter | Type | Data type / format | Pass |")
        out.append("|---|---|---|---|")
        out.append(f"| return type | {LV_RESULT[r.result]} | | |")
        for p in r.params:
            kind, fmt, how = LV_PARAM[p.type]
            unit = f" [{p.unit}]" if p.unit not in ("-", "any") else ""
            note = ""
            if p.table:
                note = f"; mode number 1..{p.table} (NaN results outside)"
            if p.count:
                note = "; number of elements of the arrays"
            out.append(f"| {p.name}{unit} | {kind} | {fmt} | {how}{note} |")
        out.append("")
        if any(p.type == "desc" for p in r.params):
            out += ["The cluster describes the array of three doubles that receives the sorted",
                    "frequencies; its address field must hold the address of memory that the",
                    "caller owns (DSNewPtr, released with DSDisposePtr).  Eps_TE1n and Eps_TM1n",
                    "sort a triplet themselves, so most programs never call this routine.", ""]
    out += ["## Data exports", "",
            "The exported data (" + ", ".join(f"`{r.name}`" for r in rows if not r.routine)
            + ") are not functions; LabVIEW reads them through the routines that use them.",
            ""]
    return "\n".join(out)


# ---- driver --------------------------------------------------------------------


def write_if_changed(path, text):
    try:
        with open(path, encoding="utf-8", newline="") as f:
            if f.read() == text:
                return
    except FileNotFoundError:
        pass
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(text)


def host_files(rows, source_dir):
    with open(os.path.join(source_dir, "hosts", "excel", "worksheet.bas.in"),
              encoding="utf-8") as f:
        worksheet = f.read().replace("\r\n", "\n").replace("\n", "\r\n")
    return {os.path.join(source_dir, "hosts", "excel", "velk.bas"): gen_vba(rows, worksheet),
            os.path.join(source_dir, "hosts", "labview", "README.md"): gen_labview(rows),
            os.path.join(source_dir, "hosts", "matlab", "names.h"): gen_names_h(rows)}


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    try:
        rows = load(argv[1])
    except ValueError as e:
        sys.exit(f"export table: {e}")
    kind, target = argv[2], argv[3]
    if kind in ("--check-hosts", "--write-hosts"):
        stale = []
        try:
            hosts = host_files(rows, target)
        except ValueError as e:
            sys.exit(f"host stubs: {e}")
        for path, text in hosts.items():
            if kind == "--write-hosts":
                write_if_changed(path, text)
                continue
            try:
                with open(path, encoding="utf-8", newline="") as f:
                    current = f.read()
            except FileNotFoundError:
                current = None
            if current != text:
                stale.append(path)
        for path in stale:
            print(f"{path} differs from a fresh generation "
                  f"(run scripts/exportgen.py {argv[1]} --write-hosts {target})")
        return 1 if stale else 0
    dll = argv[4] if len(argv) > 4 else "velk"
    text = {"def": lambda: gen_def(rows, dll), "stdcall-def": lambda: gen_stdcall_def(rows, dll),
            "stdcall-c": lambda: gen_stdcall_c(rows),
            "stdcall-implib-def": lambda: gen_stdcall_implib_def(rows, dll), "map": lambda: gen_map(rows),
            "host": lambda: gen_host(rows), "dispatch": lambda: gen_dispatch(rows)}.get(kind)
    if text is None:
        sys.exit(f"unknown output kind {kind}\n{__doc__}")
    write_if_changed(target, text())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
