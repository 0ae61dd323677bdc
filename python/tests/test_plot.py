"""Each plot written to a file: a valid image of the expected size."""

import json
import re
import struct
import subprocess
import sys

import pytest

import velk

pytest.importorskip("matplotlib")
import velk.plot  # noqa: E402


def png_size(path):
    data = path.read_bytes()
    assert data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR"
    return struct.unpack(">II", data[16:24])


@pytest.fixture(scope="module")
def results(tmp_path_factory):
    d = tmp_path_factory.mktemp("results")
    out = {}
    for kind, result in (("budget", velk.budget(velk.example("budget"))),
                         ("reduce", velk.reduce(velk.example("reduce")))):
        path = d / f"{kind}.json"
        path.write_text(result.to_json())
        out[kind] = path
    return out


@pytest.mark.parametrize("kind", velk.plot.KINDS)
def test_png_of_each_kind(kind, results, tmp_path):
    source = results["budget" if kind == "budget" else "reduce"]
    path = tmp_path / f"{kind}.png"
    velk.plot.save(kind, source, path, dpi=80)
    w, h = velk.plot.SIZES.get(kind, velk.plot.DEFAULT_SIZE)
    assert png_size(path) == (round(w * 80), round(h * 80))


def test_command_line_svg_and_pdf(results, tmp_path):
    for suffix in ("svg", "pdf"):
        out = tmp_path / f"reduce.{suffix}"
        subprocess.run([sys.executable, "-m", "velk", "plot", "reduce", str(results["reduce"]),
                        "-o", str(out)], check=True)
        data = out.read_bytes()
        if suffix == "svg":
            root = re.search(rb'<svg[^>]* width="([0-9.]+)pt" height="([0-9.]+)pt"', data)
            assert root and (float(root[1]), float(root[2])) == (12 * 72, 8 * 72)
        else:
            assert data.startswith(b"%PDF-") and b"/MediaBox [ 0 0 864 576 ]" in data
    # Standard input, and the labels carry units.
    out = tmp_path / "budget.svg"
    subprocess.run([sys.executable, "-m", "velk", "plot", "budget", "-", "-o", str(out)],
                   input=results["budget"].read_bytes(), check=True)
    assert "(ppm)" in out.read_text()


@pytest.mark.parametrize("args,message", [
    (["plot", "budget", "REDUCE", "-o", "x.png"], "needs a budget result"),
    (["plot", "reduce", "BUDGET", "-o", "x.gif"], ".png, .svg or .pdf"),
    (["plot", "budget", "MISSING", "-o", "x.png"], "No such file"),
])
def test_command_line_errors(args, message, results, tmp_path):
    args = [str(results["reduce"]) if a == "REDUCE" else str(results["budget"]) if a == "BUDGET"
            else str(tmp_path / "missing.json") if a == "MISSING" else a for a in args]
    args[-1] = str(tmp_path / args[-1])
    done = subprocess.run([sys.executable, "-m", "velk", *args], capture_output=True, text=True)
    assert done.returncode == 2 and message in done.stderr
    assert not (tmp_path / "x.png").exists()
