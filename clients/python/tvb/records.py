"""All records of a symbol at once, as numpy arrays of label numbers and values.

A symbol whose every position has a domain set, and whose cube over those sets is not much larger than its
records, moves through the array transfer operations: one library call per value field, numpy doing the rest.
Other symbols (positions over the Universe or relaxed domain names, records outside their domain sets, sets
with their element texts, variables and equations written, parameters with zeros among records that do not
fill their cube) move record by record: one or two library calls per record.

Records come out in the library's record order (ascending label numbers, position by position); the cube's
row-major order is that same order, since domain positions follow the label numbers."""
import ctypes

import numpy as np

from . import _operations as table
from .errors import Error
from .labels import encode

# The cube over the domain sets is used while it has at most this many cells per record (plus a small
# allowance), and never more cells than this.
CUBE_CELLS_PER_RECORD = 16
CUBE_CELLS_ALLOWANCE = 1 << 16
CUBE_MAX_CELLS = 1 << 27
VALUE_SLOTS = 5  # the value array of one record in the library's raw record operations
TEXT_LIMIT = table.TRV_SSSIZE - 1


class RecordArrays:
    """The records of a symbol: values (records, fields) float64, one field for a set (its element-text number)
    or a parameter, five for a variable or an equation; and the keys, either as label numbers (records, dim)
    int32 or, when read through the cube, as the positions of each record's labels in the domain sets."""

    def __init__(self, values, uels=None, domain_uels=None, positions=None):
        self.values = values
        self._uels = uels
        self.domain_uels = domain_uels  # per position, the label numbers of the domain set in record order
        self.positions = positions  # per position, each record's position in that domain set

    def __len__(self):
        return len(self.values)

    @property
    def uels(self):
        if self._uels is None:
            self._uels = np.empty((len(self), len(self.positions)), np.int32)
            for d, (labels, positions) in enumerate(zip(self.domain_uels, self.positions)):
                self._uels[:, d] = labels[positions]
        return self._uels


def value_fields(sym):
    return VALUE_SLOTS if sym._type in (table.TRV_DT_VAR, table.TRV_DT_EQU) else 1


def _cube_fits(cells, records):
    return cells <= min(CUBE_CELLS_PER_RECORD * records + CUBE_CELLS_ALLOWANCE, CUBE_MAX_CELLS)


def _symbol_array(symbols):
    return (ctypes.c_void_p * len(symbols))(*(s._ptr for s in symbols))


def read(sym):
    """Every record of sym (loading it from its source first)."""
    count = len(sym)
    if count and sym._type in (table.TRV_DT_PAR, table.TRV_DT_VAR, table.TRV_DT_EQU) and sym.dim > 0:
        arrays = _read_through_cube(sym, count)
        if arrays is not None:
            return arrays
    return walk(sym, count)


def walk(sym, count):
    """The records of sym through one record handle: its label numbers and values, record by record."""
    db, lib = sym._db, sym._db._lib
    dim = sym.dim
    uels = np.empty((count, max(dim, 1)), np.int32)
    values = np.zeros((count, value_fields(sym)))  # the library writes one value for sets and parameters
    if count:
        handle = ctypes.c_void_p()
        db._call("FindFirstRecord", sym._ptr, ctypes.byref(handle))
        try:
            get, move, ptvb, rec = lib.GetRecordRaw, lib.RecordMoveNext, db._handle, handle.value
            key_base, key_stride = uels.ctypes.data, uels.strides[0]
            value_base, value_stride = values.ctypes.data, values.strides[0]
            for k in range(count):
                if not get(ptvb, rec, dim, key_base + k * key_stride, value_base + k * value_stride):
                    raise Error(db.last_error())
                if k + 1 < count and not move(ptvb, rec):
                    raise Error(db.last_error())
        finally:
            lib.FreeSymbolIterator(db._handle, handle)
    return RecordArrays(values, uels=uels[:, :dim])


def domain_labels(domain):
    """The label numbers of a one-dimensional set in record order: position k of a cube over it is entry k."""
    return walk(domain, len(domain)).uels[:, 0]


def _read_through_cube(sym, count):
    domains = sym.domain_sets()
    if any(d is None for d in domains):
        return None
    cards = [len(d) for d in domains]
    cells = int(np.prod(cards, dtype=np.int64))
    if not _cube_fits(cells, count):
        return None
    db = sym._db
    extents = (ctypes.c_int * sym.dim)(*cards)
    symbols = _symbol_array(domains)
    fields = value_fields(sym)
    cube = np.empty(cells)
    dropped = ctypes.c_int()
    in_cube = [None]  # the field the cube holds

    def read_field(field):
        if in_cube[0] != field:
            db._call("SparseSymbolToDenseArray", cube.ctypes.data, extents, sym._ptr, symbols, field,
                     ctypes.byref(dropped))
            in_cube[0] = field
        return dropped.value == 0

    if cells == count:  # every cell holds a record
        if not read_field(0):
            return None
        if fields == 1:
            values = cube.reshape(count, 1)
        else:
            values = np.empty((count, fields))
            for field in range(fields):
                read_field(field)
                values[:, field] = cube
        positions = []
        for d in range(sym.dim):
            shape = [1] * sym.dim
            shape[d] = cards[d]
            axis = np.arange(cards[d], dtype=np.min_scalar_type(-cards[d])).reshape(shape)
            positions.append(np.broadcast_to(axis, cards).reshape(-1))
    else:
        # A record's cell has some non-zero value; a record whose values are all zero cannot be told from an
        # empty cell, and the symbol is then walked instead.
        occupied = np.zeros(cells, bool)
        for field in range(fields):
            if not read_field(field):
                return None
            occupied |= cube != 0
        cells_of_records = np.flatnonzero(occupied)
        if len(cells_of_records) != count:
            return None
        values = np.empty((count, fields))
        for field in range(fields):
            read_field(field)
            values[:, field] = cube[cells_of_records]
        positions = list(np.unravel_index(cells_of_records, cards))
    return RecordArrays(values, domain_uels=[domain_labels(d) for d in domains], positions=positions)


def _refuse_duplicate(db, name, key):
    texts = db._labels.texts()
    raise ValueError(f"the records for {name} hold the key {tuple(texts[u] for u in key)} more than once "
                     "(labels that differ only in letter case or trailing blanks are one label)")


def check_unique(db, name, uels):
    """Refuses keys that occur twice."""
    if len(uels) < 2:
        return
    if uels.shape[1] == 0:
        _refuse_duplicate(db, name, ())
    ordered = uels[np.lexsort(uels.T[::-1])]
    twice = np.flatnonzero((ordered[1:] == ordered[:-1]).all(axis=1))
    if len(twice):
        _refuse_duplicate(db, name, ordered[twice[0]])


def write(sym, uels, values, texts=None, keys_checked=False):
    """Replaces the records of sym by the given ones: uels (records, dim) registered label numbers, values
    (records, 5), texts (sets: one string per record, "" for none). Everything is checked before the symbol
    changes; keys that occur twice are refused (keys_checked: check_unique has passed them already)."""
    encoded = None
    if texts is not None:
        encoded = [encode(t, "an element text") if t != "" else b"" for t in texts]
        for raw, text in zip(encoded, texts):
            if len(raw) > TEXT_LIMIT:
                raise ValueError(f"the element text {text[:20]!r}... has {len(raw)} bytes; the limit is {TEXT_LIMIT}")
    if sym._type == table.TRV_DT_PAR and sym.dim > 0 and len(uels) > 0 and _write_through_cube(sym, uels, values):
        return
    if not keys_checked:
        check_unique(sym._db, sym.name, uels)
    sym._db._call("ClearSymbol", sym._ptr)
    _add_raw(sym, uels, values, encoded, range(len(uels)))


def _add_raw(sym, uels, values, texts, indexes):
    db = sym._db
    if uels.shape[1] == 0:
        uels = np.zeros((len(uels), 1), np.int32)  # scalars: a key array that is never read
    uels = np.ascontiguousarray(uels, np.int32)
    values = np.ascontiguousarray(values, np.float64)
    add, ptvb, ptr = db._lib.AddRecordRaw, db._handle, sym._ptr
    key_base, key_stride = uels.ctypes.data, uels.strides[0]
    value_base, value_stride = values.ctypes.data, values.strides[0]
    for k in map(int, indexes):
        text = texts[k] if texts is not None else b""
        if not add(ptvb, ptr, key_base + k * key_stride, value_base + k * value_stride, text):
            raise Error(db.last_error())


def _write_through_cube(sym, uels, values):
    domains = sym.domain_sets()
    if any(d is None for d in domains):
        return False
    count = len(uels)
    cards = [len(d) for d in domains]
    cells = int(np.prod(cards, dtype=np.int64))
    if not _cube_fits(cells, count):
        return False
    label_count = sym._db._labels.count()
    positions = []
    for d, domain in enumerate(domains):
        position_of = np.full(label_count + 1, -1, np.int64)
        position_of[domain_labels(domain)] = np.arange(cards[d])
        position = position_of[uels[:, d]]
        if (position < 0).any():
            return False  # records outside the domain sets go record by record
        positions.append(position)
    cell_of = np.ravel_multi_index(positions, cards)
    if count > 1:
        twice = np.flatnonzero(np.bincount(cell_of, minlength=cells) > 1)
        if len(twice):
            _refuse_duplicate(sym._db, sym.name, uels[np.flatnonzero(cell_of == twice[0])[0]])
    cube = np.zeros(cells)
    cube[cell_of] = values[:, 0]
    extents = (ctypes.c_int * sym.dim)(*cards)
    symbols = _symbol_array(domains)
    if count == cells:
        sym._db._call("DenseArrayToSymbol", sym._ptr, symbols, cube.ctypes.data, extents)
        return True
    # The slice writer makes records of the non-zero cells only; records whose value is zero follow one by one.
    sym._db._call("DenseArraySlicesToSymbol", sym._ptr, symbols, symbols, cube.ctypes.data, extents)
    _add_raw(sym, uels, values, None, np.flatnonzero(values[:, 0] == 0))
    return True


def element_texts(sym, arrays):
    """The element texts of the records of a set read by `read` ("" for none). A text number means the same
    text for the whole life of a database, so each is asked for once, on a record that has it."""
    numbers = arrays.values[:, 0].astype(np.int64)
    known = sym._db._texts
    labels = None
    for number in np.unique(numbers):
        if number > 0 and number not in known:
            if labels is None:
                labels = sym._db._labels.text_array()
            record = int(np.flatnonzero(numbers == number)[0])
            known[int(number)] = sym[tuple(labels[arrays.uels[record]])]
    texts = np.empty(len(numbers), dtype=object)
    texts[:] = [known.get(int(n), "") if n > 0 else "" for n in numbers]
    return texts
