"""Shared fixtures: the C library and the tool of a CMake build, for comparing
the package with them.  VELK_BUILD names the build directory (default
build/linux64 of the repository).  Without them those tests are skipped, and
with VELK_REQUIRE_ALL=1 (scripts/test) a missing build fails instead."""

import ctypes
import os
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]
BUILD = Path(os.environ.get("VELK_BUILD", ROOT / "build" / "linux64"))


def _need(path, what):
    if not path.exists():
        message = f"{what} not found: {path} (build the linux64 preset or set VELK_BUILD)"
        if os.environ.get("VELK_REQUIRE_ALL") == "1":
            pytest.fail(message)
        pytest.skip(message)
    return path


@pytest.fixture(scope="session")
def clib():
    """The shared library, loaded with ctypes."""
    return ctypes.CDLL(str(_need(BUILD / "libvelk.so", "libvelk.so")))


@pytest.fixture(scope="session")
def tool():
    """The command-line tool."""
    return _need(BUILD / "tools" / "velk", "the tool velk")
