import numpy as np
import pytest

import tvb


def test_symbols_and_labels_iterate_in_creation_order(transport):
    assert [s.name for s in transport] == ["i", "j", "d", "x", "supply"] and len(transport) == 5
    assert transport.labels == ["seattle", "san-diego", "new-york", "chicago", "topeka"]


def test_symbols_are_found_by_name_in_any_letter_case(transport):
    assert transport["D"] is transport["d"]
    assert "SUPPLY" in transport and "nothere" not in transport
    with pytest.raises(KeyError, match="Cannot find symbol nothere"):
        transport["nothere"]


def test_symbols_carry_their_attributes(transport):
    d, x, supply = transport["d"], transport["x"], transport["supply"]
    assert (d.type, d.dim, d.text, d.subtype) == ("parameter", 2, "distance in thousands of miles", None)
    assert d.domains == [transport["i"], transport["j"]] and d.domain_names == ["i", "j"]
    assert (x.type, x.subtype, supply.type, supply.subtype) == ("variable", "positive", "equation", "le")
    assert repr(d) == "<tvb.Symbol parameter d(i,j), 6 records>"


@pytest.mark.parametrize("domain, domains, names", [
    ("i", ["i-set"], ["i"]),
    ("*", ["*"], ["*"]),
    ("elsewhere", ["elsewhere"], ["elsewhere"]),  # a relaxed domain name, not a symbol
])
def test_domains_are_sets_any_label_or_relaxed_names(db, domain, domains, names):
    i = db.add_set("i")
    p = db.add_parameter("p", [domain])
    assert [i if d == "i-set" else d for d in domains] == p.domains and p.domain_names == names


def test_a_database_is_freed_as_soon_as_neither_it_nor_a_symbol_of_it_is_referenced(db):
    database = tvb.Database()
    i = database.add_set("i", records=["a"])
    release = database._finalizer
    del database
    assert release.alive  # its symbol keeps it
    del i
    assert not release.alive  # at once, not at the next garbage collection


def test_a_closed_database_refuses_every_use(db):
    db.close()
    with pytest.raises(tvb.Error, match="the database is closed"):
        len(db)


@pytest.mark.parametrize("add, error, message", [
    (lambda db: db.add_parameter("1x"), tvb.Error, "'1x' is not a valid name for a TORV symbol"),
    (lambda db: db.add_parameter("I"), tvb.Error, "Symbol I exists already"),
    (lambda db: db.add_parameter(3), TypeError, "a symbol name must be a string"),
    (lambda db: db.add_set("s", []), ValueError, "needs at least one position"),
    (lambda db: db.add_parameter("p", ["*"] * 21), ValueError, "the limit is 20"),
    (lambda db: db.add_variable("v", type="sideways"), ValueError, "'sideways' is not a variable type"),
    (lambda db: db.add_parameter("p", [tvb.Database().add_set("k")]), ValueError, "belongs to another database"),
    (lambda db: db.add_parameter("p", ["i"], records={("a", "b"): 1}), ValueError, "has 1 positions"),
    (lambda db: db.add_parameter("p", ["i"], records={5: 1}), TypeError, "labels must be strings"),
    (lambda db: db.add_parameter("p", ["i"], records={"x" * 64: 1}), tvb.Error, "Label exceeds maximum size"),
    (lambda db: db.add_parameter("p", ["i"], records={"a": "1"}), TypeError, "must hold numbers"),
    (lambda db: db.add_parameter("p", ["i"], records={"a": 1, "A ": 2}), ValueError, "the key ('a',) more than once"),
    (lambda db: db.add_set("s", records=["a\0b"]), ValueError, "holds a NUL character"),
    (lambda db: db.add_set("s", records=["a", "b", "A"]), ValueError, "the key ('a',) more than once"),
    (lambda db: db.add_set("s", records=["a", 5]), TypeError,
     "labels must be strings: position 1 of the index for s holds int 5"),
    (lambda db: db.add_set("s", records=np.array([1, 2])), TypeError, "holds int64 1"),
])
def test_bad_input_names_what_is_wrong_and_adds_no_symbol(db, add, error, message):
    db.add_set("i")
    with pytest.raises(error, match=message.replace("(", r"\(").replace(")", r"\)")):
        add(db)
    assert [s.name for s in db] == ["i"]
