import numpy as np
import pytest

import tvb

DISTANCES = np.array([[2.5, 1.7, 1.8], [2.5, 1.8, 1.4]])


def test_values_read_into_arrays_over_the_domains(transport):
    x = transport["x"]
    assert np.array_equal(transport["d"].to_numpy(), DISTANCES)
    assert np.array_equal(x.to_numpy(), [[0, 300, 0], [0, 0, 0]])
    assert np.array_equal(x.to_numpy(field="marginal"), [[0, tvb.EPS, 0], [0, 0, 0]])
    assert np.array_equal(transport["j"].to_numpy(domains=["j"]), [True, True, True])


def test_a_squeezed_read_keeps_the_labels_of_the_squeeze_sets(transport):
    coast = transport.add_set("coast", records=["topeka", "new-york"])
    assert np.array_equal(transport["d"].to_numpy(squeeze=["i", coast]), [[2.5, 1.8], [2.5, 1.4]])


def test_records_outside_the_domain_sets_are_left_out_with_a_warning(transport):
    transport["d"]["boston", "chicago"] = 9
    with pytest.warns(tvb.DroppedRecordsWarning, match="1 records of d have labels outside the domain sets"):
        assert np.array_equal(transport["d"].to_numpy(), DISTANCES)


def test_parameters_and_sets_are_written_from_arrays(transport):
    d, coast = transport["d"], transport.add_set("coast", ["j"])
    d.from_numpy(np.zeros((2, 3)))
    assert len(d) == 6  # every cell, zeros included
    d.from_numpy(DISTANCES, slices=["i", transport.add_set("east", records=["new-york"])])
    assert d.items() == [(("seattle", "new-york"), 2.5), (("san-diego", "new-york"), 2.5)]
    coast.from_numpy([True, False, True])
    assert coast.items() == [(("new-york",), ""), (("topeka",), "")]


@pytest.mark.parametrize("name, call, error, message", [
    ("d", lambda s: s.from_numpy(np.ones((3, 2))), ValueError, r"takes an array of shape \(2, 3\), not \(3, 2\)"),
    ("d", lambda s: s.from_numpy(np.full((2, 3), "a")), TypeError, "must hold numbers"),
    ("x", lambda s: s.from_numpy(np.ones((2, 3))), TypeError, "from_numpy writes sets and parameters"),
    ("d", lambda s: s.from_numpy(np.ones((2, 3)), domains=["i"]), ValueError, "names 1 sets"),
    ("d", lambda s: s.from_numpy(np.ones((2, 3)), domains=["i", "d"]), ValueError, "one-dimensional set"),
    ("d", lambda s: s.from_numpy(np.ones((2, 3)), domains=["i", "k"]), KeyError, "Cannot find symbol k"),
    ("d", lambda s: s.to_numpy(field="upper"), ValueError, "it has no field 'upper'"),
    ("x", lambda s: s.to_numpy(field="top"), ValueError, "'top' is not a field of x"),
    ("supply", lambda s: s.to_numpy(domains=["*"]), tvb.Error, "Cannot use universe as domain symbol supply"),
])
def test_bad_arrays_name_what_is_wrong_and_change_nothing(transport, name, call, error, message):
    sym = transport[name]
    before = sym.items()
    with pytest.raises(error, match=message):
        call(sym)
    assert sym.items() == before


def test_a_position_over_any_label_needs_domains_given(db):
    p = db.add_parameter("p", ["*"], records={"a": 1})
    with pytest.raises(ValueError, match="position 1 of p has no domain set"):
        p.to_numpy()
    assert np.array_equal(p.to_numpy(domains=[db.add_set("s", records=["b", "a"])]), [1, 0])
