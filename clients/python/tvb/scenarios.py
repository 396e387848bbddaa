"""Scenario runs: one model solved under many sets of parameter values, in this process on one held solver
instance, or spread over the workers of a Dask cluster with one database and one held instance per worker
thread, so that warm starts pay off there too.

    results = tvb.scenarios.run("transport.mod", None, {"low": {"b": {"chicago": 250}},
                                                        "high": {"b": {"chicago": 350}}})
    results["status"]   # a row per scenario: model_status, solve_status, seconds, objective, error
    results["x"]        # the records of x in every solved scenario, keyed by (scenario, labels...)

A scenario is the model as loaded with the parameters it names set to its values (through their variables
<name>_var); a parameter that another scenario sets keeps the model's own values in this one. A scenario that
fails, or whose model is infeasible, is a row of the status frame, not an exception that loses the others. The
library's objects never leave the process that made them: scenarios and results travel."""
import collections.abc
import math
import os
import threading

import pandas as pd

from .database import Database
from .errors import Error
from .model import Model

STATUS_COLUMNS = ["model_status", "solve_status", "seconds", "objective", "error"]


def run(model, data=None, scenarios=(), solver="CLP", client=None, symbols=None, chunk_size=None, progress=None):
    """Solves every scenario and gathers the results.

    model: the MathProg model file (or a tvb.Model loaded from one, whose files are used); data: a data file
    that replaces the model's data section, or None. scenarios: a mapping of scenario keys to scenarios, or a
    sequence of scenarios (keyed 0, 1, ...); a scenario maps parameter names to values (a mapping of keys to
    numbers, or a Series or DataFrame). client: a dask.distributed.Client to spread the scenarios over, in
    chunks of chunk_size (by default four per worker). symbols: the names of the variables and equations to
    gather (by default all). progress: a tqdm progress bar (True, False, or None: shown on a terminal).

    Returns a dict: "status", a DataFrame indexed by scenario, and one DataFrame per symbol with the records of
    the scenarios that were solved, indexed by scenario and the symbol's labels."""
    files = _files(model, data)
    keys, values = _scenarios(scenarios)
    job = (files, solver, symbols)
    if client is None:
        outcomes = _run_here(job, values, progress)
    else:
        outcomes = _run_on(client, job, values, chunk_size, progress)
    return _gather(keys, outcomes)


def _files(model, data):
    if isinstance(model, Model):
        if model.files is None:
            raise ValueError("the model was not loaded from a MathProg file: pass the file")
        return model.files if data is None else (model.files[0], os.fspath(data))
    if not isinstance(model, (str, os.PathLike)):
        raise TypeError(f"the model is a MathProg file or a tvb.Model, not {type(model).__name__}")
    return os.fspath(model), os.fspath(data) if data is not None else None


def _scenarios(scenarios):
    if isinstance(scenarios, collections.abc.Mapping):
        keys, values = list(scenarios.keys()), list(scenarios.values())
    elif isinstance(scenarios, collections.abc.Sequence) and not isinstance(scenarios, str):
        keys, values = list(range(len(scenarios))), list(scenarios)
    else:
        raise TypeError(f"the scenarios are a mapping or a sequence, not {type(scenarios).__name__}")
    for key, scenario in zip(keys, values):
        if not isinstance(scenario, collections.abc.Mapping):
            raise TypeError(f"scenario {key!r} maps parameter names to values, not {type(scenario).__name__}")
        for name in scenario:
            if not isinstance(name, str):
                raise TypeError(f"scenario {key!r} names a parameter by {type(name).__name__} {name!r}")
    return keys, values


class _Runner:
    """A database tied to one model instance and one solver, kept while scenarios come."""

    def __init__(self, files, solver):
        self.model = Model.from_mathprog(*files)
        self.db = Database.from_model(self.model)
        self.solver = solver
        self.touched = set()  # parameters of the model moved so far: each scenario sets them all

    def _set(self, name, values):
        try:
            self.db.update(name, values, action="fix", missing="default")
        finally:
            if name in self.db:  # a parameter of the model, possibly changed before a failure
                self.touched.add(name)

    def solve(self, scenario, symbols):
        try:
            for name in sorted(self.touched | set(scenario)):
                self._set(name, scenario.get(name, {}))
            result = self.db.solve(self.solver)
        except (Error, TypeError, ValueError) as failure:
            return [None, None, math.nan, math.nan, str(failure)], {}
        status = [result.model_status, result.solve_status, result.seconds, result.objective, ""]
        if not result.optimal:
            return status, {}
        if symbols is None:
            symbols = [s.name for s in self.db if s.type in ("variable", "equation")]
        return status, {name: self.db[name].to_pandas() for name in symbols}

    def close(self):
        self.db.close()
        self.model.close()


_workers = threading.local()  # a worker thread's runners, by job


def _worker_runner(files, solver):
    runners = getattr(_workers, "runners", None)
    if runners is None:
        runners = _workers.runners = {}
    runner = runners.get((files, solver))
    if runner is None:
        runner = runners[(files, solver)] = _Runner(files, solver)
    return runner


def _run_chunk(job, scenarios):
    """Runs scenarios on the worker's runner (made at the first chunk); what travels back is plain data."""
    files, solver, symbols = job
    runner = _worker_runner(files, solver)
    return [runner.solve(scenario, symbols) for scenario in scenarios]


def _progress_bar(total, progress):
    from tqdm import tqdm

    return tqdm(total=total, unit="scenario", disable=None if progress is None else not progress)


def _run_here(job, scenarios, progress):
    files, solver, symbols = job
    runner = _Runner(files, solver)
    outcomes = []
    try:
        with _progress_bar(len(scenarios), progress) as bar:
            for scenario in scenarios:
                outcomes.append(runner.solve(scenario, symbols))
                bar.update()
    finally:
        runner.close()
    return outcomes


def _run_on(client, job, scenarios, chunk_size, progress):
    from dask.distributed import as_completed

    if chunk_size is None:
        workers = max(1, len(client.scheduler_info().get("workers", {})))
        chunk_size = max(1, math.ceil(len(scenarios) / (4 * workers)))
    chunks = [scenarios[k:k + chunk_size] for k in range(0, len(scenarios), chunk_size)]
    futures = [client.submit(_run_chunk, job, chunk, pure=False) for chunk in chunks]
    sizes = {future.key: len(chunk) for future, chunk in zip(futures, chunks)}
    with _progress_bar(len(scenarios), progress) as bar:
        for future in as_completed(futures):
            bar.update(sizes[future.key])
    return [outcome for chunk in client.gather(futures) for outcome in chunk]


def _gather(keys, outcomes):
    index = pd.Index(keys, name="scenario")
    results = {"status": pd.DataFrame([status for status, _ in outcomes], index=index, columns=STATUS_COLUMNS)}
    frames = collections.defaultdict(dict)
    for key, (_, solved) in zip(keys, outcomes):
        for name, frame in solved.items():
            frames[name][key] = frame
    for name, by_scenario in frames.items():
        results[name] = pd.concat(by_scenario, names=["scenario"])
    return results
