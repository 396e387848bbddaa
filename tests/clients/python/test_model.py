"""The model link from Python: a database made from a MathProg model, updated, solved, its results as frames."""
import math
import pathlib

import pytest

import tvb

TRANSPORT = pathlib.Path(__file__).resolve().parents[3] / "examples" / "transport" / "transport.mod"


@pytest.fixture
def model():
    with tvb.Model.from_mathprog(TRANSPORT) as instance:
        yield instance


def test_solutions_read_as_frames_after_each_solve(model):
    db = tvb.Database.from_model(model)
    result = db.solve("CLP")
    assert (result.model_status, result.solve_status, result.optimal) == ("optimal", "normal", True)
    assert result.objective == pytest.approx(153.675)
    assert result.seconds >= 0
    shipments = db["x"].to_pandas()
    assert list(shipments.columns) == ["level", "marginal", "lower", "upper", "scale"]
    assert shipments.loc[("san-diego", "topeka"), "level"] == pytest.approx(275)
    assert db["demand"].to_pandas()["marginal"].tolist() == pytest.approx([0.225, 0.153, 0.126])

    assert db.update("b", {"chicago": 320}) == 0
    assert db.solve("CLP").objective == pytest.approx(153.675 + 20 * 0.153)
    assert db["b_var"]["chicago"].level == 320


def test_infeasible_scenarios_are_statuses_and_the_next_one_solves(model):
    db = tvb.Database.from_model(model)
    for scale, status in [(1.2, "infeasible"), (0.9, "optimal"), (2.0, "infeasible"), (1.0, "optimal")]:
        db.update("b", {"new-york": 325 * scale, "chicago": 300 * scale, "topeka": 275 * scale})
        result = db.solve("CLP")
        assert result.model_status == status
        assert math.isnan(result.objective) == (status != "optimal")
    assert result.objective == pytest.approx(153.675)


def test_missing_entries_keep_return_to_the_model_or_become_zero(model):
    db = tvb.Database.from_model(model)
    db.update("b", {"chicago": 320, "topeka": 200})
    for missing, chicago in [("keep", 320), ("default", 300), ("zero", 0)]:
        db.update("b", {"topeka": 250}, missing=missing)
        db.solve("CLP")
        assert db["b_var"]["chicago"].level == chicago, missing


@pytest.mark.parametrize("call, error, message", [
    (lambda db: db.update("nothing", {}), tvb.NotFoundError, "nothing is neither a symbol of the database"),
    (lambda db: db.update("b", {}, action="push"), ValueError, "'push' is not an action"),
    (lambda db: db.update("b", {"chicago": tvb.NA}), tvb.Error, "Bad value nan"),
    (lambda db: db.update("demand", {"chicago": 1}, action="upper"), tvb.Error, "actionType 1 moves"),
    (lambda db: db.solve("CPLEX"), tvb.Error, "Invalid solver name: CPLEX"),
])
def test_refusals_name_what_is_wrong(model, call, error, message):
    db = tvb.Database.from_model(model)
    with pytest.raises(error, match=message):
        call(db)


def test_values_that_match_no_entry_are_counted(model):
    db = tvb.Database.from_model(model)
    assert db.update("b", {"chicago": 300, "boston": 10}) == 1


def test_a_model_the_translator_refuses_raises_its_message(tmp_path):
    (tmp_path / "bad.mod").write_text("var x >= 0;\nminimize z: y;\nend;\n")
    with pytest.raises(tvb.Error, match="bad.mod:2: y not defined"):
        tvb.Model.from_mathprog(tmp_path / "bad.mod")


def test_closing_the_model_closes_its_databases_first(model):
    db = tvb.Database.from_model(model)
    db.solve("CLP")
    model.close()
    with pytest.raises(tvb.Error, match="the database is closed"):
        len(db)
