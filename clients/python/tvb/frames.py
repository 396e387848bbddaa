"""A symbol's records as a pandas DataFrame, and back.

The index has one categorical level per position, named after the position's domain, whose categories are the
labels used there in the library's record order (a scalar has a plain index of at most one row). The columns:
"text" for a set (its element texts, "" for none), "value" for a parameter, and "level", "marginal", "lower",
"upper", "scale" for a variable or equation."""
import collections.abc
import functools

import numpy as np
import pandas as pd

from . import _operations as table
from . import records
from .symbol import FIELD_NAMES

VALUE_COLUMNS = {table.TRV_DT_SET: ("text",), table.TRV_DT_PAR: ("value",), table.TRV_DT_VAR: FIELD_NAMES,
                 table.TRV_DT_EQU: FIELD_NAMES}


def _code_type(categories):
    """The integer type pandas keeps the codes of that many categories in, so that it need not convert them."""
    for code_type in (np.int8, np.int16, np.int32):
        if categories < np.iinfo(code_type).max:
            return code_type
    return np.int64


def _level(texts, level_uels, codes):
    labels = texts[level_uels]
    return pd.CategoricalIndex(labels, categories=labels), codes.astype(_code_type(len(labels)), copy=False)


def _index(sym, arrays):
    if sym.dim == 0:
        return pd.RangeIndex(len(arrays))
    texts = sym._db._labels.text_array()
    levels = []
    if arrays.positions is not None:  # the used labels of each domain set, in its order
        for labels, positions in zip(arrays.domain_uels, arrays.positions):
            used = np.bincount(positions, minlength=len(labels)) > 0
            if used.all():
                levels.append(_level(texts, labels, positions))
            else:
                levels.append(_level(texts, labels[used], (np.cumsum(used) - 1)[positions]))
    else:  # the used labels of each position, in the order of their numbers
        rank = np.zeros(len(texts), np.int64)
        for column in arrays.uels.T:
            present = np.zeros(len(texts), bool)
            present[column] = True
            used = np.flatnonzero(present)
            rank[used] = np.arange(len(used))
            levels.append(_level(texts, used, rank[column]))
    return pd.MultiIndex(levels=[level for level, _ in levels], codes=[codes for _, codes in levels],
                         names=sym.domain_names, verify_integrity=False)


def to_pandas(sym):
    arrays = records.read(sym)
    index = _index(sym, arrays)
    if sym._type == table.TRV_DT_SET:
        return pd.DataFrame({"text": records.element_texts(sym, arrays)}, index=index)
    return pd.DataFrame(arrays.values, index=index, columns=list(VALUE_COLUMNS[sym._type]), copy=False)


@functools.lru_cache(maxsize=None)
def default_values(symbol_type, user_info):
    """The five values that a new record of a variable or equation of that type receives, as the library gives
    them."""
    from .database import Database

    with Database() as scratch:
        sym = scratch._add("defaults", ["*"], symbol_type, user_info, "", None)
        sym[("record",)] = {}
        return tuple(float(v) for v in sym[("record",)])


class PreparedRecords:
    """Records checked and taken apart, not yet in any database: per position the distinct labels and each
    record's code into them, the values (records, 5) and, for a set, the element texts."""

    def __init__(self, levels, codes, values, texts):
        self.levels = levels
        self.codes = codes
        self.values = values
        self.texts = texts

    def label_numbers(self, db):
        """The records' keys as label numbers of db. Labels new there are registered in the order in which
        adding the records one by one would register them: by record, then by position."""
        dim = len(self.levels)
        uels = np.empty((len(self.values), dim), np.int32)
        if dim == 0:
            return uels
        firsts, positions, codes = [], [], []
        for d, level_codes in enumerate(self.codes):
            used, first_record = np.unique(level_codes, return_index=True)
            firsts.append(first_record * dim + d)
            positions.append(np.full(len(used), d))
            codes.append(used)
        order = np.argsort(np.concatenate(firsts), kind="stable")
        positions, codes = np.concatenate(positions)[order], np.concatenate(codes)[order]
        numbers = db._labels.register([self.levels[d][c] for d, c in zip(positions, codes)], "a label")
        for d in range(dim):
            of_code = np.zeros(len(self.levels[d]), np.int32)
            mine = positions == d
            of_code[codes[mine]] = numbers[mine]
            uels[:, d] = of_code[self.codes[d]]
        return uels


def _levels_and_codes(index, dim, name):
    if dim == 0:
        if len(index) > 1:
            raise ValueError(f"the scalar {name} takes at most one record, not {len(index)}")
        return [], []
    if isinstance(index, pd.MultiIndex):
        if index.nlevels != dim:
            raise ValueError(f"{name} has {dim} positions; the index has {index.nlevels} levels")
        index = index.remove_unused_levels()
        levels, codes = list(index.levels), [np.asarray(c) for c in index.codes]
    elif dim == 1:
        codes, uniques = pd.factorize(index)
        levels, codes = [uniques], [codes]
    else:
        raise ValueError(f"{name} has {dim} positions; the index has 1 level")
    for d, (level, code) in enumerate(zip(levels, codes)):
        if (code < 0).any():
            raise ValueError(f"the index for {name} has a missing label at position {d + 1}")
        level = list(level)
        wrong = next((label for label in level if not isinstance(label, str)), None)
        if wrong is not None:
            raise TypeError(f"labels must be strings: position {d + 1} of the index for {name} holds "
                            f"{type(wrong).__name__} {wrong!r}")
        levels[d] = level
    return levels, codes


def _numbers(column, what):
    if not (pd.api.types.is_numeric_dtype(column) or pd.api.types.infer_dtype(column, skipna=False) in
            ("floating", "integer", "mixed-integer-float", "empty")) or pd.api.types.is_bool_dtype(column):
        wrong = next((v for v in column if not isinstance(v, (int, float, np.number)) or isinstance(v, bool)),
                     column.dtype)
        raise TypeError(f"{what} must hold numbers, not {type(wrong).__name__} {wrong!r}")
    return column.to_numpy(dtype=np.float64, na_value=np.nan)


def prepare(frame, dim, symbol_type, user_info, name):
    """Checks a DataFrame (or Series) of records for a symbol of that dimension and type, without touching any
    database."""
    if isinstance(frame, pd.Series):
        if symbol_type in (table.TRV_DT_VAR, table.TRV_DT_EQU):
            raise TypeError(f"the records of {name} take a DataFrame with columns of {', '.join(FIELD_NAMES)}")
        frame = frame.to_frame(VALUE_COLUMNS[symbol_type][0])
    if not isinstance(frame, pd.DataFrame):
        raise TypeError(f"the records of {name} take a DataFrame or Series, not {type(frame).__name__}")
    levels, codes = _levels_and_codes(frame.index, dim, name)
    known = VALUE_COLUMNS[symbol_type]
    columns = list(frame.columns)
    if symbol_type == table.TRV_DT_PAR and len(columns) == 1:
        columns = ["value"]
        frame = frame.set_axis(columns, axis=1)
    unknown = [c for c in columns if c not in known]
    if unknown:
        raise ValueError(f"the frame for {name} has columns {unknown} that {name} does not take: "
                         f"use {', '.join(known)}")
    count = len(frame)
    values = np.zeros((count, records.VALUE_SLOTS))
    texts = None
    if symbol_type == table.TRV_DT_SET:
        texts = ([""] * count if "text" not in columns else
                 ["" if t is None or (isinstance(t, float) and t != t) else t for t in frame["text"]])
        values[:, 0] = [1.0 if t != "" else 0.0 for t in texts]
    elif symbol_type == table.TRV_DT_PAR:
        if "value" not in columns:
            raise ValueError(f"the frame for {name} needs a value column")
        values[:, 0] = _numbers(frame["value"], f"the value column for {name}")
    else:
        values[:] = default_values(symbol_type, user_info)
        for field, column in enumerate(FIELD_NAMES):
            if column in columns:
                values[:, field] = _numbers(frame[column], f"the {column} column for {name}")
    return PreparedRecords(levels, codes, values, texts)


def from_pandas(sym, frame):
    """Replaces sym's records by those of the frame (see to_pandas; a parameter also takes a Series or a frame
    of one column, a variable or equation any of the five columns, the others getting the defaults of its
    type). Nothing is written unless every record is acceptable."""
    user_info = sym._info(table.TRV_SYMINFO_USERINFO)[0]
    prepared = prepare(frame, sym.dim, sym._type, user_info, sym.name)
    records.write(sym, prepared.label_numbers(sym._db), prepared.values, prepared.texts)


def given_records(db, given, dim, symbol_type, user_info, name):
    """The records given to Database.add_* (see records_frame), checked, and their keys as label numbers of db,
    which registers the labels new there."""
    labels = _plain_labels(given, dim, symbol_type)
    if labels is not None:
        uels = db._labels.register(labels, "a label").reshape(-1, 1)
        return PreparedRecords(None, None, np.zeros((len(uels), records.VALUE_SLOTS)), None), uels
    prepared = prepare(records_frame(given, dim, symbol_type, user_info, name), dim, symbol_type, user_info, name)
    return prepared, prepared.label_numbers(db)


def _plain_labels(given, dim, symbol_type):
    """A one-dimensional set's records given as a list, tuple or array of label strings, which need no frame:
    registered in the order given, they are the keys. None for anything else (non-strings among them too:
    the frame names what is wrong)."""
    if symbol_type != table.TRV_DT_SET or dim != 1:
        return None
    if isinstance(given, np.ndarray):
        return given.tolist() if given.ndim == 1 and given.dtype.kind == "U" else None
    if isinstance(given, (list, tuple)) and all(isinstance(label, str) for label in given):
        return given
    return None


def records_frame(given, dim, symbol_type, user_info, name):
    """The records given to Database.add_*: a DataFrame or Series as it is; a mapping of keys to values (sets:
    element texts; variables and equations: five-value sequences or dicts of some fields); or, for a set, an
    iterable of keys."""
    if isinstance(given, (pd.DataFrame, pd.Series)):
        return given
    if isinstance(given, collections.abc.Mapping):
        keys, values = list(given.keys()), list(given.values())
    elif symbol_type == table.TRV_DT_SET and isinstance(given, collections.abc.Iterable) and not isinstance(given, str):
        keys, values = list(given), None
    else:
        raise TypeError(f"the records of {name} take a mapping or a DataFrame, not {type(given).__name__}")
    if dim == 1 and not any(isinstance(key, tuple) for key in keys):
        index = pd.Index(keys, dtype=object)  # single labels: no tuples to take apart
    else:
        keys = [key if isinstance(key, tuple) else (key,) for key in keys]
        for key in keys:
            if len(key) != dim:
                raise ValueError(f"{name} has {dim} positions; the key {key!r} has {len(key)} labels")
        if dim == 0:
            index = pd.RangeIndex(len(keys))
        elif keys:
            index = pd.MultiIndex.from_tuples(keys)
        else:
            index = pd.MultiIndex(levels=[[]] * dim, codes=[[]] * dim)
    if values is None:
        return pd.DataFrame(index=index)
    if symbol_type in (table.TRV_DT_VAR, table.TRV_DT_EQU):
        defaults = dict(zip(FIELD_NAMES, default_values(symbol_type, user_info)))
        rows = []
        for key, value in zip(keys, values):
            if isinstance(value, collections.abc.Mapping):
                unknown = set(value) - set(FIELD_NAMES)
                if unknown:
                    raise ValueError(f"{sorted(unknown)} are not fields of {name}: use {', '.join(FIELD_NAMES)}")
                rows.append({**defaults, **value})
            elif isinstance(value, collections.abc.Sequence) and len(value) == len(FIELD_NAMES):
                rows.append(dict(zip(FIELD_NAMES, value)))
            else:
                raise TypeError(f"the record {key!r} of {name} takes five values or a dict of fields, not {value!r}")
        return pd.DataFrame(rows, index=index, columns=list(FIELD_NAMES))
    column = VALUE_COLUMNS[symbol_type][0]
    return pd.DataFrame({column: pd.Series(values, index=index, dtype=object)})
