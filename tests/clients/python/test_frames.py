import numpy as np
import pandas as pd
import pytest

import tvb

INF = float("inf")


def frames_of(db):
    return {s.name: s.to_pandas() for s in db}


def test_frames_have_categorical_levels_named_after_the_domains_and_a_column_per_value(transport):
    d, x, i = (transport[n].to_pandas() for n in ("d", "x", "i"))
    assert d.index.names == ["i", "j"] and list(d.columns) == ["value"]
    assert list(d.index.levels[1]) == ["new-york", "chicago", "topeka"]
    assert isinstance(d.index.levels[0], pd.CategoricalIndex)
    assert d.loc[("san-diego", "topeka"), "value"] == 1.4
    assert list(x.columns) == ["level", "marginal", "lower", "upper", "scale"]
    assert list(x.loc[("seattle", "chicago")]) == [300, tvb.EPS, 0, INF, 1]
    assert i.to_dict()["text"] == {("seattle",): "on the coast", ("san-diego",): ""}


@pytest.mark.parametrize("over", ["domain sets", "any label"])
def test_every_symbol_comes_back_from_its_own_frame(transport, over):
    """Symbols over domain sets move through cubes, those over any label record by record: both agree."""
    target = tvb.Database()
    for sym in transport:
        domains = [d.name if isinstance(d, tvb.Symbol) and over == "domain sets" else "*" for d in sym.domains]
        add = {"set": target.add_set, "parameter": target.add_parameter}.get(sym.type)
        copy = (add(sym.name, domains) if add else
                getattr(target, "add_" + sym.type)(sym.name, domains, type=sym.subtype))
        copy.from_pandas(sym.to_pandas())
    for name, frame in frames_of(transport).items():
        pd.testing.assert_frame_equal(target[name].to_pandas(), frame, check_names=over == "domain sets")


@pytest.mark.parametrize("values", [
    [0.0, 0.0, 3.0],  # zeros among records that do not fill the cube
    [np.nan, tvb.UNDEF, -0.0],
    [INF, -INF, tvb.EPS],
])
def test_parameter_values_round_trip_bit_for_bit(transport, values):
    d = transport["d"]
    index = pd.MultiIndex.from_tuples([("seattle", "topeka"), ("san-diego", "chicago"), ("san-diego", "new-york")])
    d.from_pandas(pd.Series(values, index=index))
    back = d.to_pandas()["value"]
    assert back.to_numpy().tobytes() == np.array([values[0], values[2], values[1]]).tobytes()


def test_variables_take_some_columns_and_the_rest_from_their_type(transport):
    x = transport["x"]
    x.from_pandas(pd.DataFrame({"level": [5.0]}, index=pd.MultiIndex.from_tuples([("seattle", "topeka")])))
    assert x.items() == [(("seattle", "topeka"), tvb.Values(5, 0, 0, INF, 1))]


@pytest.mark.parametrize("frame, error, message", [
    (pd.DataFrame({"value": [1.0], "cost": [2.0]}, index=pd.MultiIndex.from_tuples([("a", "b")])), ValueError,
     r"columns \['cost'\]"),
    (pd.Series(["far"], index=pd.MultiIndex.from_tuples([("a", "b")])), TypeError, "must hold numbers"),
    (pd.Series([1.0], index=pd.MultiIndex.from_tuples([("a", 2)])), TypeError, "position 2 of the index"),
    (pd.Series([1.0], index=pd.Index(["a"])), ValueError, "d has 2 positions; the index has 1 level"),
    (pd.Series([1.0, 2.0], index=pd.MultiIndex.from_tuples([("a", "b"), ("A", "b ")])), ValueError, "more than once"),
    ([1.0], TypeError, "take a DataFrame or Series, not list"),
])
def test_a_refused_frame_changes_nothing(transport, frame, error, message):
    d = transport["d"]
    before = d.to_pandas()
    with pytest.raises(error, match=message):
        d.from_pandas(frame)
    pd.testing.assert_frame_equal(d.to_pandas(), before)
