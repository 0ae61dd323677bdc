"""velk: the model of a gas-filled, nearly spherical copper resonator for
acoustic gas thermometry, as NumPy functions.

Every routine of the library is here under a readable name (its docstring
names the C export), broadcasting over all numeric arguments, with the bits of
the C exports; budget() and reduce() run the tool's budget and data reduction
and return result objects; velk.plot draws them (needs matplotlib).
"""

from ._analysis import BudgetResult, ReduceResult, budget, example, load_result, reduce
from ._routines import *  # noqa: F401,F403
from ._routines import __all__ as _routine_names

from ._velk import version as __version__  # the library's, VELK_VERSION_STRING

__all__ = list(_routine_names) + [
    "budget", "reduce", "example", "load_result", "BudgetResult", "ReduceResult"]


def __getattr__(name):
    # velk.plot imports matplotlib only when it is used.
    if name == "plot":
        import importlib
        return importlib.import_module(".plot", __name__)
    raise AttributeError(f"module 'velk' has no attribute {name!r}")
