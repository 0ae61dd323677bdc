"""The correction budget and the data reduction as Python objects.

budget() and reduce() take the JSON input of ``velk budget`` and ``velk
reduce`` (a path, a JSON string or a dict), run the library's analysis layer
and return the document the tool writes with ``--format json``, wrapped in a
result object: per-mode values as NumPy arrays, the whole document through
to_dict()/to_json(), a pandas DataFrame through to_dataframe() when pandas is
installed.  Bad input raises ValueError with the tool's message.
"""

import copy
import json
import os

import numpy as np

from . import _velk

__all__ = ["budget", "reduce", "example", "BudgetResult", "ReduceResult", "load_result"]


def _input_text(source):
    if isinstance(source, dict):
        return json.dumps(source, allow_nan=False)
    if isinstance(source, os.PathLike):
        with open(source, encoding="utf-8") as f:
            return f.read()
    if isinstance(source, str):
        if source.lstrip().startswith("{"):
            return source
        with open(source, encoding="utf-8") as f:
            return f.read()
    raise TypeError(f"input must be a dict, a JSON string or a path, not {type(source).__name__}")


def example(which="budget"):
    """The built-in example input of ``velk budget`` or ``velk reduce``, as a dict."""
    return json.loads(_velk.example(which))


def _column(rows, *path, dtype=np.float64):
    out = []
    for r in rows:
        for p in path:
            r = r.get(p) if isinstance(r, dict) else None
        out.append(np.nan if r is None else r)
    return np.asarray(out, dtype=dtype)


class _Result:
    def __init__(self, doc):
        self._doc = doc

    def to_dict(self):
        """The tool's JSON document as nested dicts and lists (a copy)."""
        return copy.deepcopy(self._doc)

    def to_json(self, indent=2):
        """The tool's JSON document as text."""
        return json.dumps(self._doc, indent=indent)

    def _frame(self, rows):
        try:
            import pandas
        except ImportError:
            raise ImportError("to_dataframe() needs pandas (Debian: python3-pandas)") from None
        return pandas.DataFrame(rows)


class BudgetResult(_Result):
    """The correction budget of the radial modes (``velk budget``).

    Attributes (arrays over the radial modes, in the order of the input):
    n, f_id_Hz, shift_ppm and half_width_ppm (the sums), predicted_frequency_Hz,
    predicted_half_width_Hz, and terms: {key: {"shift_ppm": array,
    "half_width_ppm": array}} for every correction; labels maps the keys to
    readable names.
    """

    def __init__(self, doc):
        super().__init__(doc)
        modes = doc["radial_modes"]
        self.n = _column(modes, "n", dtype=np.int32)
        self.f_id_Hz = _column(modes, "f_id_Hz")
        self.shift_ppm = _column(modes, "sum", "shift_ppm")
        self.half_width_ppm = _column(modes, "sum", "half_width_ppm")
        self.predicted_frequency_Hz = _column(modes, "predicted", "frequency_Hz")
        self.predicted_half_width_Hz = _column(modes, "predicted", "half_width_Hz")
        self.labels = {}
        for m in modes:
            for t in m["terms"]:
                self.labels.setdefault(t["key"], t["label"])
        self.terms = {}
        for key in self.labels:
            rows = [next((t for t in m["terms"] if t["key"] == key), {}) for m in modes]
            self.terms[key] = {"shift_ppm": _column(rows, "shift_ppm"),
                               "half_width_ppm": _column(rows, "half_width_ppm")}

    def to_dataframe(self):
        """One row per mode and correction: n, f_id_Hz, term, label, shift_ppm, half_width_ppm."""
        rows = [{"n": m["n"], "f_id_Hz": m["f_id_Hz"], "term": t["key"], "label": t["label"],
                 "shift_ppm": t["shift_ppm"], "half_width_ppm": t["half_width_ppm"]}
                for m in self._doc["radial_modes"] for t in m["terms"]]
        return self._frame(rows)

    def __repr__(self):
        return f"<velk.BudgetResult: {len(self.n)} radial modes, {len(self.terms)} corrections>"


class ReduceResult(_Result):
    """The data reduction (``velk reduce``): radius, speed of sound, isotherm.

    Scalars: radius_mm, eps1, eps2, result (dict: temperature or gas
    constant).  Arrays over the state points: pressure_kPa, temperature_K,
    c_m_s, u_c_stat_m_s, residual_ppm.  Arrays over every measured mode of
    every point (``modes``, a dict): point, n, frequency_Hz, c_m_s,
    deviation_ppm, excess_half_width_ppm, u_c_m_s (the standard uncertainty of
    that c from the propagated inputs and the scatter, NaN when absent).
    ``microwave`` holds the microwave modes alike (family "TE" or "TM", n,
    f_mean_Hz, radius_mm, deviation_ppm, excess_half_width_ppm).  ``isotherm`` is the fit:
    {"terms": [...], "dof": ..., "chi2_reduced": ...} as in the document.
    """

    def __init__(self, doc):
        super().__init__(doc)
        self.radius_mm = doc.get("radius_mm")
        self.eps1 = doc.get("eps1")
        self.eps2 = doc.get("eps2")
        self.result = doc.get("result", {})
        self.isotherm = doc.get("isotherm", {})
        points = doc.get("state_points", [])
        self.pressure_kPa = _column(points, "pressure_kPa")
        self.temperature_K = _column(points, "temperature_K")
        self.c_m_s = _column(points, "c_m_s")
        self.u_c_stat_m_s = _column(points, "u_c_stat_m_s")
        self.residual_ppm = _column(points, "residual_ppm")
        u = {q.get("quantity"): q.get("u") for q in doc.get("uncertainties", [])}
        rows = []
        for k, p in enumerate(points):
            for m in p.get("modes", []):
                row = dict(m, point=k, pressure_kPa=p.get("pressure_kPa"))
                row["u_c_m_s"] = u.get(f"c[{k}] (0,{m['n']})")
                rows.append(row)
        self._mode_rows = rows
        self.modes = {key: _column(rows, key, dtype=dt) for key, dt in (
            ("point", np.int32), ("n", np.int32), ("pressure_kPa", np.float64),
            ("frequency_Hz", np.float64), ("half_width_Hz", np.float64), ("c_m_s", np.float64),
            ("deviation_ppm", np.float64), ("excess_half_width_ppm", np.float64),
            ("u_c_m_s", np.float64))}
        mw = doc.get("microwave_modes", [])
        self.microwave = {key: _column(mw, key, dtype=dt) for key, dt in (
            ("n", np.int32), ("f_mean_Hz", np.float64), ("radius_mm", np.float64),
            ("deviation_ppm", np.float64), ("excess_half_width_ppm", np.float64))}
        self.microwave["family"] = np.array([m.get("family", "TM") for m in mw], dtype=str)

    def to_dataframe(self):
        """One row per measured acoustic mode of every state point."""
        return self._frame(self._mode_rows)

    def __repr__(self):
        return (f"<velk.ReduceResult: radius {self.radius_mm} mm, {len(self.c_m_s)} state points, "
                f"result {self.result}>")


def budget(input):
    """The correction budget of a resonator, as ``velk budget --format json``.

    Parameters
    ----------
    input : dict, str or path
        The tool's budget input: a dict, a JSON text or the path of a file.

    Returns
    -------
    BudgetResult

    Examples
    --------
    >>> b = velk.budget(velk.example("budget"))
    >>> b.n.dtype, b.shift_ppm.shape == b.n.shape
    (dtype('int32'), True)
    """
    return BudgetResult(json.loads(_velk.budget_json(_input_text(input))))


def reduce(input, monte_carlo=0, seed=1):
    """The data reduction, as ``velk reduce --format json``.

    Parameters
    ----------
    input : dict, str or path
        The tool's reduction input: a dict, a JSON text or the path of a file.
    monte_carlo : int, optional
        Number of Monte Carlo trials of the uncertainty check (0: none).
    seed : int, optional
        Seed of the Monte Carlo generator.

    Returns
    -------
    ReduceResult

    Examples
    --------
    >>> r = velk.reduce(velk.example("reduce"))
    >>> r.modes["c_m_s"].shape == r.modes["n"].shape
    True
    """
    if not isinstance(monte_carlo, int) or monte_carlo < 0:
        raise ValueError("monte_carlo must be a count of trials, 0 or more")
    return ReduceResult(json.loads(_velk.reduce_json(_input_text(input), monte_carlo, seed)))


def load_result(source):
    """A budget or reduction result from the tool's JSON output (dict, text or path)."""
    doc = json.loads(_input_text(source))
    if "radial_modes" in doc:
        return BudgetResult(doc)
    if "state_points" in doc:
        return ReduceResult(doc)
    raise ValueError("not a budget or reduction result of velk")
