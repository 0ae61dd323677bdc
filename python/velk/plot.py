"""Plots of budgets and reductions (needs matplotlib).

Every function takes a result object (velk.budget, velk.reduce), the tool's
JSON output as a dict, or the path of such a file, and draws on a new
matplotlib Figure (or on the axes given).  No pyplot state is used, so the
functions work in scripts, notebooks and servers alike:

>>> fig = velk.plot.budget(velk.budget(velk.example("budget")))
>>> fig.savefig(str(tmp / "budget.png"))

KINDS names what save() and ``python3 -m velk plot KIND`` draw: budget (the
corrections of each radial mode, stacked bars of shift and half-width in
ppm), reduce (the four panels below on one page), speed (each mode's speed of
sound against frequency as its deviation from the mean, ppm, with
uncertainty bars), halfwidth (the excess half-widths against frequency, ppm),
radius (the microwave radius of each mode, ppm from the mean) and isotherm (c^2 against p
with the fit and its residuals).
"""

import numpy as np
from matplotlib.figure import Figure

from ._analysis import BudgetResult, ReduceResult, load_result

__all__ = ["KINDS", "budget", "reduce", "speed", "halfwidth", "radius", "isotherm", "save"]

KINDS = ("budget", "reduce", "speed", "halfwidth", "radius", "isotherm")
SIZES = {"budget": (10.0, 5.0), "reduce": (12.0, 8.0)}  # inches; the rest 6 x 4.5
DEFAULT_SIZE = (6.0, 4.5)


def _result(source, cls):
    r = source if isinstance(source, (BudgetResult, ReduceResult)) else load_result(source)
    if not isinstance(r, cls):
        raise ValueError(f"this plot needs a {'budget' if cls is BudgetResult else 'reduction'} "
                         f"result, not a {type(r).__name__}")
    return r


def _axes(ax, size=DEFAULT_SIZE):
    if ax is not None:
        return ax.figure, ax
    fig = Figure(figsize=size, layout="constrained")
    return fig, fig.add_subplot()


def _stacked(ax, x, parts, labels, colours, width=0.8):
    """Bars of signed parts stacked away from zero, positive up, negative down."""
    up = np.zeros(len(x))
    down = np.zeros(len(x))
    for values, label, colour in zip(parts, labels, colours):
        v = np.nan_to_num(values)
        bottom = np.where(v >= 0, up, down)
        ax.bar(x, v, width, bottom=bottom, label=label, color=colour)
        up += np.where(v >= 0, v, 0)
        down += np.where(v < 0, v, 0)
    ax.axhline(0, color="black", linewidth=0.6)


def budget(result, fig=None):
    """The corrections of each radial mode: stacked bars of shift and half-width, ppm."""
    b = _result(result, BudgetResult)
    fig = fig or Figure(figsize=SIZES["budget"], layout="constrained")
    ax_f, ax_g = fig.subplots(1, 2, sharex=True)
    x = np.arange(len(b.n))
    keys = list(b.terms)
    cmap = _colours(len(keys))
    labels = [b.labels[k] for k in keys]
    _stacked(ax_f, x, [b.terms[k]["shift_ppm"] for k in keys], labels, cmap)
    _stacked(ax_g, x, [b.terms[k]["half_width_ppm"] for k in keys], labels, cmap)
    ax_f.plot(x, b.shift_ppm, "kD", markersize=4, label="sum")
    ax_g.plot(x, b.half_width_ppm, "kD", markersize=4, label="sum")
    for ax, what in ((ax_f, "Relative frequency shift Δf/f (ppm)"),
                     (ax_g, "Relative half-width g/f (ppm)")):
        ax.set_xticks(x, [f"(0,{n})\n{f / 1000:.2f} kHz" for n, f in zip(b.n, b.f_id_Hz)])
        ax.set_xlabel("Radial mode, ideal frequency")
        ax.set_ylabel(what)
        ax.grid(axis="y", alpha=0.3)
    ax_g.legend(fontsize="small", loc="upper left", bbox_to_anchor=(1.0, 1.0))
    fig.suptitle("Correction budget of the radial modes")
    return fig


def _colours(n):
    from matplotlib import colormaps
    cmap = colormaps["tab20"]
    return [cmap(i % 20) for i in range(n)]


def _by_point(r):
    m = r.modes
    for k in range(len(r.c_m_s)):
        sel = m["point"] == k
        yield k, sel, f"{r.pressure_kPa[k]:g} kPa"


def _per_point_axes(ax, ylabel, title):
    """A zero line, labels and a legend of pressures for a plot against frequency."""
    ax.axhline(0, color="black", linewidth=0.6)
    ax.set_xlabel("Frequency f (kHz)")
    ax.set_ylabel(ylabel)
    ax.set_title(title)
    ax.legend(fontsize="small", title="pressure")


def speed(result, ax=None):
    """Speed of sound of each mode against frequency: deviation from the point's mean, ppm."""
    r = _result(result, ReduceResult)
    fig, ax = _axes(ax)
    m = r.modes
    for k, sel, label in _by_point(r):
        mean = r.c_m_s[k]
        dev = (m["c_m_s"][sel] - mean) / mean * 1e6
        err = m["u_c_m_s"][sel] / mean * 1e6
        ax.errorbar(m["frequency_Hz"][sel] / 1000, dev, yerr=np.nan_to_num(err), fmt="o-",
                    markersize=4, capsize=3, label=label)
    _per_point_axes(ax, "(c − mean c) / mean c (ppm)", "Speed of sound of each mode")
    return fig


def halfwidth(result, ax=None):
    """Excess half-width of each mode against frequency, (g_meas − g_pred)/f in ppm."""
    r = _result(result, ReduceResult)
    fig, ax = _axes(ax)
    m = r.modes
    for k, sel, label in _by_point(r):
        ax.plot(m["frequency_Hz"][sel] / 1000, m["excess_half_width_ppm"][sel], "s-",
                markersize=4, label=label)
    _per_point_axes(ax, "(g_meas − g_pred) / f (ppm)", "Excess half-widths")
    return fig


def radius(result, ax=None):
    """Microwave radius of each TE1n or TM1n mode as its deviation from the mean, ppm."""
    r = _result(result, ReduceResult)
    fig, ax = _axes(ax)
    mw = r.microwave
    x = np.arange(len(mw["n"]))
    if len(x):
        ax.plot(x, mw["deviation_ppm"], "o", markersize=6)
        ax.set_xticks(x, [f"{fam}1{n}" for fam, n in zip(mw["family"], mw["n"])])
    ax.axhline(0, color="black", linewidth=0.6)
    ax.set_xlabel("Microwave mode")
    ax.set_ylabel("(a_n − mean a) / mean a (ppm)")
    title = "Microwave radius of each mode"
    if r.radius_mm is not None:
        title += f"\n(radius used {r.radius_mm:.6f} mm)"
    ax.set_title(title)
    return fig


def _fit_curve(r, p_pa):
    c2 = np.zeros_like(p_pa)
    for t in r.isotherm.get("terms", []):
        k = int(t["term"][1:])
        c2 = c2 + t["value"] * p_pa ** k
    return c2


def isotherm(result, axes=None):
    """c^2 against p with the fitted isotherm, and the residuals in ppm below."""
    r = _result(result, ReduceResult)
    if axes is None:
        fig = Figure(figsize=DEFAULT_SIZE, layout="constrained")
        ax, ax_res = fig.subplots(2, 1, sharex=True, height_ratios=[2, 1])
    else:
        ax, ax_res = axes
        fig = ax.figure
    p = r.pressure_kPa
    ax.plot(p, r.c_m_s ** 2, "o", label="state points")
    if len(p):
        grid = np.linspace(0.0, float(np.nanmax(p)) * 1.05, 200)
        ax.plot(grid, _fit_curve(r, grid * 1000), "-", label="fit")
    ax.set_ylabel("c² (m²/s²)")
    ax.set_title("Isotherm")
    ax.legend(fontsize="small")
    ax_res.plot(p, r.residual_ppm, "o")
    ax_res.axhline(0, color="black", linewidth=0.6)
    ax_res.set_xlabel("Pressure p (kPa)")
    ax_res.set_ylabel("Residual of c² (ppm)")
    return fig


def reduce(result, fig=None):
    """The reduction on one page: speed, half-widths, radii, isotherm with residuals."""
    r = _result(result, ReduceResult)
    fig = fig or Figure(figsize=SIZES["reduce"], layout="constrained")
    grid = fig.add_gridspec(3, 2, height_ratios=[3, 2, 1])
    speed(r, fig.add_subplot(grid[0, 0]))
    halfwidth(r, fig.add_subplot(grid[0, 1]))
    radius(r, fig.add_subplot(grid[1:, 0]))
    top = fig.add_subplot(grid[1, 1])
    isotherm(r, (top, fig.add_subplot(grid[2, 1], sharex=top)))
    fig.suptitle(f"Reduction: radius {r.radius_mm:.6f} mm; {_result_text(r.result)}")
    return fig


_RESULT_NAMES = {"temperature_K": ("T", "K"), "gas_constant_J_mol_K": ("R", "J/(mol K)"),
                 "boltzmann_constant_J_K": ("k_B", "J/K")}


def _result_text(result):
    parts = []
    for key, value in result.items():
        symbol, unit = _RESULT_NAMES.get(key, (key, ""))
        parts.append(f"{symbol} = {value:.9g} {unit}".rstrip())
    return ", ".join(parts)


_DRAW = {"budget": budget, "reduce": reduce, "speed": speed, "halfwidth": halfwidth,
         "radius": radius, "isotherm": isotherm}


def save(kind, result, path, dpi=100):
    """Draws one of KINDS and writes it to path (.png, .svg or .pdf by its suffix).

    The figure is SIZES[kind] (else DEFAULT_SIZE) inches; a PNG has that size
    times dpi in pixels.  Returns the Figure.
    """
    if kind not in _DRAW:
        raise ValueError(f"kind must be one of {', '.join(KINDS)}, not {kind!r}")
    suffix = str(path).rsplit(".", 1)[-1].lower()
    if suffix not in ("png", "svg", "pdf"):
        raise ValueError(f"the file must end in .png, .svg or .pdf: {path}")
    fig = _DRAW[kind](result)
    fig.savefig(path, dpi=dpi, format=suffix)
    return fig
