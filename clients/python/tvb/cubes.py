"""A symbol's values as a numpy array over domain sets, and back, through the array transfer operations: the
library reads and writes the array's own buffer. Position k along a dimension is the k-th label of its domain
set in the library's record order."""
import ctypes
import warnings

import numpy as np

from . import _operations as table
from . import records
from .errors import DroppedRecordsWarning
from .symbol import FIELDS, Symbol


def _sets(sym, given, argument):
    """The one-dimensional sets named by `given` (Symbols or names), or sym's own domain sets for None."""
    if given is None:
        sets = sym.domain_sets()
        for d, (found, name) in enumerate(zip(sets, sym.domain_names)):
            if found is None:
                raise ValueError(f"position {d + 1} of {sym.name} has no domain set (its domain is {name!r}): "
                                 f"give {argument}=")
        return sets
    if isinstance(given, (str, Symbol)):
        given = [given]
    given = list(given)
    if len(given) != sym.dim:
        raise ValueError(f"{sym.name} has {sym.dim} positions; {argument}= names {len(given)} sets")
    sets = []
    for d, s in enumerate(given):
        if isinstance(s, str):
            s = sym._db[s]
        elif not isinstance(s, Symbol):
            raise TypeError(f"{argument}[{d}] must be a set or its name, not {type(s).__name__} {s!r}")
        if s._db is not sym._db or s.dim != 1:
            raise ValueError(f"{argument}[{d}] must be a one-dimensional set of the database of {sym.name}, "
                             f"not {s.name}")
        sets.append(s)
    return sets


def _field(sym, field):
    if sym._type in (table.TRV_DT_VAR, table.TRV_DT_EQU):
        if field in FIELDS:
            return FIELDS[field]
        raise ValueError(f"{field!r} is not a field of {sym.name}: use one of {', '.join(FIELDS)}")
    if field != "level":
        raise ValueError(f"{sym.name} is a {sym.type}: it has no field {field!r}")
    return 0


def _symbols(sets):
    return (ctypes.c_void_p * len(sets))(*(s._ptr for s in sets))


def to_numpy(sym, domains=None, field="level", squeeze=None):
    """sym's values as an array with one axis per position, over the domain sets (by default sym's own); with
    squeeze, only the labels of the squeeze sets along each axis. A set gives a boolean array of its records;
    a variable or equation the values of one field ("level", "marginal", "lower", "upper", "scale"). Cells
    without a record are 0. Records with a label outside the domain sets are left out with a
    DroppedRecordsWarning."""
    number = _field(sym, field)
    domain_sets = _sets(sym, domains, "domains")
    shaping_sets = domain_sets if squeeze is None else _sets(sym, squeeze, "squeeze")
    shape = tuple(len(s) for s in shaping_sets)
    is_set = sym._type == table.TRV_DT_SET
    array = np.zeros(shape, np.int32 if is_set else np.float64)
    dropped = ctypes.c_int()
    extents = (ctypes.c_int * sym.dim)(*shape)
    if array.size == 0:
        dropped.value = len(sym)
    elif squeeze is None:
        sym._db._call("SparseSymbolToDenseArray", array.ctypes.data, extents, sym._ptr, _symbols(domain_sets),
                      number, ctypes.byref(dropped))
    else:
        sym._db._call("SparseSymbolToSqzdArray", array.ctypes.data, extents, sym._ptr, _symbols(shaping_sets),
                      _symbols(domain_sets), number, ctypes.byref(dropped))
    if dropped.value and squeeze is None:
        warnings.warn(f"{dropped.value} records of {sym.name} have labels outside the domain sets "
                      f"({', '.join(s.name for s in domain_sets)}) and are not in the array",
                      DroppedRecordsWarning, stacklevel=3)
    return array != 0 if is_set else array


def _checked_array(sym, array, shape):
    array = np.asarray(array)
    wanted = "booleans" if sym._type == table.TRV_DT_SET else "numbers"
    if array.dtype.kind not in ("b", "i", "u") + (("f",) if wanted == "numbers" else ()):
        raise TypeError(f"the array for {sym.name} must hold {wanted}, not {array.dtype}")
    if array.shape != shape:
        raise ValueError(f"{sym.name} over its domain sets takes an array of shape {shape}, not {array.shape}")
    return array


def from_numpy(sym, array, domains=None, slices=None):
    """Replaces sym's records by the array over the domain sets (by default sym's own). A parameter gets a
    record for every cell, zeros included; with slices (one set per position) only the non-zero cells at the
    labels of the slice sets. A set gets a record, without element text, for every true cell (within the
    slices)."""
    if sym._type not in (table.TRV_DT_SET, table.TRV_DT_PAR):
        raise TypeError(f"from_numpy writes sets and parameters; {sym.name} is a {sym.type}: use from_pandas")
    domain_sets = _sets(sym, domains, "domains")
    slice_sets = None if slices is None else _sets(sym, slices, "slices")
    shape = tuple(len(s) for s in domain_sets)
    array = _checked_array(sym, array, shape)
    if sym._type == table.TRV_DT_PAR:
        cube = np.ascontiguousarray(array, np.float64)
        extents = (ctypes.c_int * sym.dim)(*shape)
        if slice_sets is None:
            sym._db._call("DenseArrayToSymbol", sym._ptr, _symbols(domain_sets), cube.ctypes.data, extents)
        else:
            sym._db._call("DenseArraySlicesToSymbol", sym._ptr, _symbols(slice_sets), _symbols(domain_sets),
                          cube.ctypes.data, extents)
        return
    # A set's cube cells would become element-text numbers; its records are written by label numbers instead.
    member = array != 0
    labels = [records.domain_labels(s) for s in domain_sets]
    if slice_sets is not None:
        for d, s in enumerate(slice_sets):
            outside = ~np.isin(labels[d], records.domain_labels(s))
            member[(slice(None),) * d + (outside,)] = False
    positions = np.nonzero(member)
    uels = np.empty((len(positions[0]), sym.dim), np.int32)
    for d in range(sym.dim):
        uels[:, d] = labels[d][positions[d]]
    records.write(sym, uels, np.zeros((len(uels), records.VALUE_SLOTS)), None)
