import math

import pytest

import tvb

INF = float("inf")


@pytest.mark.parametrize("name, key, value", [
    ("i", "seattle", "on the coast"),
    ("j", ("chicago",), ""),
    ("d", ("seattle", "chicago"), 1.7),
    ("x", ("seattle", "chicago"), tvb.Values(300, tvb.EPS, 0, INF, 1)),
    ("supply", "seattle", tvb.Values(350, 0, -INF, 350, 1)),
])
def test_records_read_by_key(transport, name, key, value):
    assert transport[name][key] == value


def test_records_are_edited_by_key(transport):
    d, x, j = transport["d"], transport["x"], transport["j"]
    d["boston", "chicago"] = 3
    d["SEATTLE", "chicago"] = 1.5
    x["san-diego", "topeka"] = {"upper": 40}
    j["denver"] = "in the mountains"
    del d["san-diego", "topeka"]
    assert (d["boston", "chicago"], d["seattle", "chicago"], len(d)) == (3, 1.5, 6)
    assert x["san-diego", "topeka"] == tvb.Values(0, 0, 0, 40, 1)  # the other fields of a positive variable
    assert j["denver"] == "in the mountains" and ("boston", "chicago") in d and ("san-diego", "topeka") not in d
    d.clear()
    assert len(d) == 0 and list(d) == []


def test_records_iterate_in_the_order_their_labels_were_first_registered(transport):
    assert list(transport["j"]) == [("new-york",), ("chicago",), ("topeka",)]
    assert transport["supply"].items() == [(("seattle",), tvb.Values(350, 0, -INF, 350, 1))]


@pytest.mark.parametrize("value, expected", [
    (tvb.UNDEF, tvb.UNDEF), (1e300, tvb.UNDEF), (tvb.NA, tvb.NA), (float("nan"), tvb.NA), (tvb.EPS, tvb.EPS),
    (INF, INF), (-INF, -INF), (-0.0, -0.0),
])
def test_special_values_come_back_as_python_values(db, value, expected):
    p = db.add_parameter("p", ["*"])
    p["a"] = value
    assert p["a"] is expected or (p["a"] == expected and math.copysign(1, p["a"]) == math.copysign(1, expected))


@pytest.mark.parametrize("name, key, value, error, message", [
    ("d", ("a", "b"), "far", TypeError, "the value of a record of d must be a number"),
    ("d", ("a",), 1, ValueError, "d has 2 positions"),
    ("d", ("a", 7), 1, TypeError, "label 2 of the key"),
    ("x", ("a", "b"), (1, 2), ValueError, "takes 5 values"),
    ("x", ("a", "b"), {"lvl": 1}, ValueError, r"\['lvl'\] are not fields of x"),
    ("j", "denver", 5, TypeError, "element text of a record of j must be a string"),
    ("j", "denver", "t" * 256, tvb.Error, "Explanatory text too long"),
    ("d", ("a" * 64, "b"), 1, tvb.Error, "Label exceeds maximum size"),
])
def test_a_refused_record_is_not_added(transport, name, key, value, error, message):
    sym = transport[name]
    before = sym.items()
    with pytest.raises(error, match=message):
        sym[key] = value
    assert sym.items() == before


def test_missing_records_raise_key_errors_with_the_library_message(transport):
    with pytest.raises(KeyError, match="Cannot find element boston"):
        transport["d"]["boston", "chicago"]
    with pytest.raises(tvb.NotFoundError, match=r'Cannot find record \("seattle","seattle"\)'):
        del transport["d"]["seattle", "seattle"]
