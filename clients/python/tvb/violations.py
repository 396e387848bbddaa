"""Records whose labels lie outside the domain sets of their symbol, as a DataFrame: one row per such label."""
import ctypes

import pandas as pd

from . import records

COLUMNS = ["symbol", "record", "position", "label", "domain"]


def _rows_of(db, violation):
    """The rows of the violation the handle stands on."""
    address = ctypes.c_void_p()
    db._call("GetDVSymbol", violation, ctypes.byref(address))
    sym = db._symbol(address.value)
    outside = (ctypes.c_int * sym.dim)()
    db._call("GetDVIndicator", violation, outside)
    record = ctypes.c_void_p()
    db._call("GetDVSymbolRecord", violation, ctypes.byref(record))
    try:
        uels = (ctypes.c_int * sym.dim)()
        values = (ctypes.c_double * records.VALUE_SLOTS)()
        db._call("GetRecordRaw", record, sym.dim, uels, values)
    finally:
        db._lib.FreeSymbolIterator(db._handle, record)
    texts = db._labels.texts()
    key = tuple(texts[u] for u in uels)
    domains = sym.domain_names
    return [(sym.name, key, d + 1, key[d], domains[d]) for d in range(sym.dim) if outside[d]]


def _collect(db, violation, next_symbol):
    rows = []
    moved = ctypes.c_int()
    while violation.value:
        rows += _rows_of(db, violation)
        db._call("MoveNextDVInSymbol", violation, ctypes.byref(moved))
        if not moved.value:
            if not next_symbol:
                break
            db._call("GetFirstDVInNextSymbol", violation, ctypes.byref(moved))
            if not moved.value:
                break
    return pd.DataFrame(rows, columns=COLUMNS)


def database_violations(db):
    violation = ctypes.c_void_p()
    db._call("GetFirstDBDV", ctypes.byref(violation))
    try:
        return _collect(db, violation, next_symbol=True)
    finally:
        db._lib.FreeDVHandle(db._handle, violation)
        db._lib.DomainCheckDone(db._handle)


def symbol_violations(sym):
    db = sym._db
    violation = ctypes.c_void_p()
    db._call("GetFirstDVInSymbol", sym._ptr, ctypes.byref(violation))
    try:
        return _collect(db, violation, next_symbol=False)
    finally:
        db._lib.FreeDVHandle(db._handle, violation)
