"""velk.budget and velk.reduce against the tool's JSON output."""

import json
import subprocess

import numpy as np
import pytest

import velk


def tool_json(tool, *args):
    done = subprocess.run([str(tool), *args, "--format", "json"], check=True,
                          capture_output=True, text=True)
    return json.loads(done.stdout)


@pytest.fixture(scope="module")
def budget_input():
    return velk.example("budget")


@pytest.fixture(scope="module")
def reduce_input():
    return velk.example("reduce")


@pytest.fixture(scope="module")
def reduction(reduce_input):
    return velk.reduce(reduce_input)


def test_budget_is_the_tools_document(tool, tmp_path, budget_input):
    path = tmp_path / "in.json"
    path.write_text(json.dumps(budget_input))
    want = tool_json(tool, "budget", str(path))
    # A dict, a JSON text, a path as str and as Path: the same document.
    for source in (budget_input, json.dumps(budget_input), str(path), path):
        assert velk.budget(source).to_dict() == want
    b = velk.budget(budget_input)
    assert json.loads(b.to_json()) == want
    modes = want["radial_modes"]
    np.testing.assert_array_equal(b.n, [m["n"] for m in modes])
    assert b.n.dtype == np.int32 and b.shift_ppm.dtype == np.float64
    np.testing.assert_array_equal(b.half_width_ppm, [m["sum"]["half_width_ppm"] for m in modes])
    for key, term in b.terms.items():
        assert term["shift_ppm"].shape == b.n.shape, key
    total = sum(t["shift_ppm"] for t in b.terms.values())
    np.testing.assert_allclose(total, b.shift_ppm, rtol=1e-12, atol=1e-9)


def test_reduce_is_the_tools_document(tool, reduce_input, reduction):
    assert reduction.to_dict() == tool_json(tool, "reduce")
    doc = reduction.to_dict()
    points = doc["state_points"]
    np.testing.assert_array_equal(reduction.pressure_kPa, [p["pressure_kPa"] for p in points])
    m = reduction.modes
    assert len(m["n"]) == sum(len(p["modes"]) for p in points)
    first = points[0]["modes"][0]
    assert m["c_m_s"][0] == first["c_m_s"] and m["point"][0] == 0
    assert np.isfinite(m["u_c_m_s"]).all() and (m["u_c_m_s"] > 0).all()
    assert reduction.radius_mm == doc["radius_mm"]
    mw = doc["microwave_modes"]
    np.testing.assert_array_equal(reduction.microwave["radius_mm"], [m["radius_mm"] for m in mw])
    assert list(reduction.microwave["family"]) == [m["family"] for m in mw]


def test_monte_carlo_is_reproducible(reduce_input):
    a = velk.reduce(reduce_input, monte_carlo=20, seed=7).to_dict()
    b = velk.reduce(reduce_input, monte_carlo=20, seed=7).to_dict()
    assert a == b and a != velk.reduce(reduce_input).to_dict()


def test_load_result_reads_the_tools_output(tool, tmp_path):
    path = tmp_path / "out.json"
    path.write_text(json.dumps(tool_json(tool, "budget")))
    assert isinstance(velk.load_result(path), velk.BudgetResult)
    with pytest.raises(ValueError, match="not a budget"):
        velk.load_result({"something": 1})


def test_bad_input(budget_input, tmp_path):
    broken = json.loads(json.dumps(budget_input))
    del broken["gas"]
    with pytest.raises(ValueError, match="gas"):
        velk.budget(broken)
    with pytest.raises(ValueError, match="not valid JSON"):
        velk.budget("{ not json")
    with pytest.raises(ValueError):
        velk.budget({**budget_input, "radial_modes": [99]})
    with pytest.raises(ValueError):
        velk.budget({**budget_input, "gas": {**budget_input["gas"], "pressure_kPa": float("nan")}})
    with pytest.raises(TypeError):
        velk.budget(42)
    with pytest.raises(OSError):
        velk.budget(str(tmp_path / "missing.json"))
    with pytest.raises(ValueError, match="monte_carlo"):
        velk.reduce(velk.example("reduce"), monte_carlo=-1)


def test_dataframes(budget_input, reduction):
    pandas = pytest.importorskip("pandas")
    b = velk.budget(budget_input)
    df = b.to_dataframe()
    assert isinstance(df, pandas.DataFrame)
    assert len(df) == sum(len(m["terms"]) for m in b.to_dict()["radial_modes"])
    assert {"n", "term", "shift_ppm", "half_width_ppm"} <= set(df.columns)
    dr = reduction.to_dataframe()
    assert len(dr) == len(reduction.modes["n"])
    np.testing.assert_array_equal(dr["c_m_s"].to_numpy(), reduction.modes["c_m_s"])
