"""The Python examples of the README and of the docstrings, run as doctests."""

import doctest
import re
from pathlib import Path

import numpy as np
import pytest

import velk

README = Path(__file__).resolve().parents[2] / "README.md"


def test_readme_python_examples(tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)  # examples that write files write them here
    text = README.read_text(encoding="utf-8")
    blocks = re.findall(r"```pycon\n(.*?)```", text, flags=re.S)
    assert blocks, "the README has no Python examples (```pycon blocks)"
    # The blocks are one session: later ones use what earlier ones defined.
    test = doctest.DocTestParser().get_doctest("\n".join(blocks), {}, "README", str(README), 0)
    runner = doctest.DocTestRunner(optionflags=doctest.ELLIPSIS | doctest.NORMALIZE_WHITESPACE)
    runner.run(test)
    assert runner.failures == 0 and runner.tries > 0


@pytest.mark.parametrize("module", ["velk._routines", "velk._analysis", "velk.plot"])
def test_docstring_examples(module, tmp_path):
    if module == "velk.plot":
        pytest.importorskip("matplotlib")
    mod = __import__(module, fromlist=["_"])
    finder = doctest.DocTestFinder()
    runner = doctest.DocTestRunner()
    for test in finder.find(mod, globs={"velk": velk, "np": np, "tmp": tmp_path}):
        runner.run(test)
    assert runner.failures == 0
