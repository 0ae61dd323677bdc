"""Builds the Python package velk: CMake compiles the library, the analysis
layer and the pybind11 extension (target velk_python, with the library's
floating-point flags), and this script copies the extension into the package.

Offline, with Debian's setuptools, numpy and pybind11 (no build isolation):
    scripts/python-install          (a wheel in dist/ and a virtual environment)
or by hand:
    python3 -m pip wheel --no-build-isolation --no-index --no-deps -w dist ./python
"""

import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent


def version():
    text = (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.search(r"project\(velk VERSION ([0-9.]+)", text).group(1)


class CMakeExtension(Extension):
    def __init__(self, name):
        super().__init__(name, sources=[])


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        target = Path(self.get_ext_fullpath(ext.name)).resolve()
        build = Path(os.environ.get("VELK_PYTHON_BUILD_DIR", HERE / "build" / "cmake")).resolve()
        subprocess.run(["cmake", "-S", str(ROOT), "-B", str(build), "-G", "Ninja",
                        "-DCMAKE_BUILD_TYPE=Release", "-DVELK_TESTS=OFF", "-DVELK_TOOLS=ON",
                        "-DVELK_PYTHON=ON", f"-DPython3_EXECUTABLE={sys.executable}"],
                       check=True)
        subprocess.run(["cmake", "--build", str(build), "--target", "velk_python"], check=True)
        built = sorted((build / "python" / "velk").glob("_velk*"))
        if len(built) != 1:
            raise RuntimeError(f"expected one extension in {build / 'python' / 'velk'}, found {built}")
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(built[0], target)


setup(
    name="velk",
    version=version(),
    description="Acoustic gas thermometry: the velk library's routines as NumPy functions, "
                "budgets, reductions and plots",
    packages=["velk"],
    ext_modules=[CMakeExtension("velk._velk")],
    cmdclass={"build_ext": CMakeBuild},
    python_requires=">=3.9",
    install_requires=["numpy"],
    extras_require={"plot": ["matplotlib"], "pandas": ["pandas"]},
    zip_safe=False,
)
