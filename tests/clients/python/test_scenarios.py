"""Scenario runs in this process and on a Dask cluster of two worker processes."""
import pathlib

import pandas as pd
import pytest

import tvb

TRANSPORT = pathlib.Path(__file__).resolve().parents[3] / "examples" / "transport" / "transport.mod"


def demand(scale):
    return {"b": {"new-york": 325 * scale, "chicago": 300 * scale, "topeka": 275 * scale}}


# Scales, a scenario that sets nothing (the model's own demand), one infeasible and one that fails.
SCENARIOS = {**{f"s{k}": demand(0.8 + 0.05 * k) for k in range(6)}, "none": {}, "high": demand(1.3),
             "wrong": {"nothing": {"chicago": 1}}}


def test_failed_and_infeasible_scenarios_are_rows_and_the_others_solve():
    results = tvb.scenarios.run(TRANSPORT, None, SCENARIOS, progress=False)
    status = results["status"]
    assert list(status.index) == list(SCENARIOS)
    assert status.loc["high", "model_status"] == "infeasible"
    assert "nothing is neither a symbol of the database" in status.loc["wrong", "error"]
    assert status.loc["none", "objective"] == pytest.approx(153.675)  # the demand of s5 does not linger
    assert status.loc["s4", "objective"] == pytest.approx(153.675)
    solved = set(results["x"].index.get_level_values("scenario"))
    assert solved == {f"s{k}" for k in range(6)} | {"none"}
    assert results["b_var"].loc[("s0", "chicago"), "level"] == pytest.approx(240)


def test_a_cluster_of_two_worker_processes_gives_the_results_of_one_process():
    distributed = pytest.importorskip("dask.distributed")
    here = tvb.scenarios.run(TRANSPORT, None, SCENARIOS, symbols=["x", "demand"], progress=False)
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None) as cluster, \
            distributed.Client(cluster) as client:
        spread = tvb.scenarios.run(TRANSPORT, None, SCENARIOS, client=client, symbols=["x", "demand"],
                                   chunk_size=2, progress=False)
    columns = ["model_status", "solve_status", "objective", "error"]
    pd.testing.assert_frame_equal(here["status"][columns], spread["status"][columns])
    pd.testing.assert_frame_equal(here["x"], spread["x"])
    pd.testing.assert_frame_equal(here["demand"], spread["demand"])


def test_the_example_draws_the_sweep(tmp_path):
    import os
    import subprocess
    import sys

    example = pathlib.Path(__file__).resolve().parents[3] / "examples" / "python" / "scenarios.py"
    picture = tmp_path / "sweep.png"
    done = subprocess.run([sys.executable, str(example), str(picture)], capture_output=True, text=True,
                          env=os.environ)
    assert done.returncode == 0, done.stderr
    assert "46 scenarios, 26 solved" in done.stdout
    assert picture.read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"
