"""A symbol of a database: its attributes, and its records by keys of labels."""
import collections
import collections.abc
import ctypes

from . import _operations as table
from . import records
from .errors import Error, NotFoundError
from .labels import decode, encode
from .special_values import from_python, to_python

TYPE_NAMES = {table.TRV_DT_SET: "set", table.TRV_DT_PAR: "parameter", table.TRV_DT_VAR: "variable",
              table.TRV_DT_EQU: "equation", table.TRV_DT_ALIAS: "alias"}
FIELDS = {name[len("TRV_FIELD_"):].lower(): value for name, value in vars(table).items()
          if name.startswith("TRV_FIELD_")}
FIELD_NAMES = tuple(sorted(FIELDS, key=FIELDS.get))
SUBTYPES = {
    table.TRV_DT_VAR: {name[len("TRV_VAR_"):].lower(): value for name, value in vars(table).items()
                       if name.startswith("TRV_VAR_")},
    table.TRV_DT_EQU: {name[len("TRV_EQU_"):].lower(): value for name, value in vars(table).items()
                       if name.startswith("TRV_EQU_")},
}

# The five values of a variable or equation record.
Values = collections.namedtuple("Values", FIELD_NAMES)


def subtype_code(symbol_type, subtype):
    """The number of a variable or equation type given by name or number."""
    codes = SUBTYPES[symbol_type]
    if isinstance(subtype, str) and subtype.lower() in codes:
        return codes[subtype.lower()]
    if isinstance(subtype, int) and not isinstance(subtype, bool) and subtype in codes.values():
        return subtype
    raise ValueError(f"{subtype!r} is not a {TYPE_NAMES[symbol_type]} type: use one of {', '.join(codes)}")


class Symbol:
    """A set, parameter, variable or equation of a database (or its Universe "*").

    sym[key] reads a record, sym[key] = value adds or changes one, del sym[key] removes it; a key is a tuple of
    labels, one per position (a single label for one position, () for a scalar). Values: a parameter's is a
    float, a variable's or equation's a Values tuple (level, marginal, lower, upper, scale), a set's its element
    text ("" for none). Iterating yields the keys in the library's record order."""

    def __init__(self, db, address):
        self._db = db
        self._ptr = address
        number = ctypes.c_int()
        db._call("SymbolDim", address, ctypes.byref(number))
        self.dim = number.value
        db._call("SymbolType", address, ctypes.byref(number))
        self._type = number.value
        self.name = self._text_info(table.TRV_SYMINFO_NAME)

    def _info(self, key):
        number, unused = ctypes.c_int(), ctypes.c_double()
        text = ctypes.create_string_buffer(table.TRV_SSSIZE)
        self._db._call("SymbolInfo", self._ptr, key, ctypes.byref(number), ctypes.byref(unused), text)
        return number.value, decode(text.value)

    def _text_info(self, key):
        return self._info(key)[1]

    @property
    def type(self):
        """"set", "parameter", "variable" or "equation"."""
        return TYPE_NAMES[self._type]

    @property
    def text(self):
        """The explanatory text."""
        return self._text_info(table.TRV_SYMINFO_TEXT)

    @property
    def subtype(self):
        """The variable or equation type by name ("positive", "le", ...); None for sets and parameters."""
        codes = SUBTYPES.get(self._type)
        if codes is None:
            return None
        user_info = self._info(table.TRV_SYMINFO_USERINFO)[0]
        return next((name for name, code in codes.items() if code == user_info), str(user_info))

    def _domain(self):
        if self.name == "*":  # the Universe has no domain of its own
            return [(None, "*")]
        sets = (ctypes.c_void_p * max(self.dim, 1))()
        buffers = [ctypes.create_string_buffer(table.TRV_SSSIZE) for _ in range(max(self.dim, 1))]
        names = (ctypes.c_char_p * len(buffers))(*(ctypes.addressof(b) for b in buffers))
        self._db._call("GetDomain", self._ptr, self.dim, sets, names)
        universe = self._db._universe_address()
        return [(None if not sets[d] or sets[d] == universe else self._db._symbol(sets[d]), decode(buffers[d].value))
                for d in range(self.dim)]

    @property
    def domains(self):
        """Per position: the domain set (a Symbol), "*" for any label, or a relaxed domain name (a string)."""
        return [symbol if symbol is not None else name for symbol, name in self._domain()]

    @property
    def domain_names(self):
        """Per position, the name of its domain ("*" for any label)."""
        return [name for _, name in self._domain()]

    def domain_sets(self):
        """Per position, the domain set, or None where the domain is "*" or a relaxed name."""
        return [symbol for symbol, _ in self._domain()]

    def __len__(self):
        return self._info(table.TRV_SYMINFO_RECORD_COUNT)[0]

    def clear(self):
        """Removes every record."""
        self._db._call("ClearSymbol", self._ptr)

    # ---- single records ----

    def _labels(self, key):
        if self.dim == 1 and not isinstance(key, tuple):
            key = (key,)
        if not isinstance(key, tuple):
            raise TypeError(f"a key of {self.name} is a tuple of {self.dim} labels, not {type(key).__name__} {key!r}")
        if len(key) != self.dim:
            raise ValueError(f"{self.name} has {self.dim} positions; the key {key!r} has {len(key)} labels")
        encoded = [encode(label, f"label {d + 1} of the key {key!r}") for d, label in enumerate(key)]
        return (ctypes.c_char_p * max(self.dim, 1))(*encoded)

    def _find(self, key):
        handle = ctypes.c_void_p()
        self._db._call("FindRecord", self._ptr, self._labels(key), ctypes.byref(handle), error=NotFoundError)
        return handle

    def _release(self, handle):
        self._db._lib.FreeSymbolIterator(self._db._handle, handle)

    def _read_value(self, handle):
        db = self._db
        if self._type == table.TRV_DT_SET:
            text = ctypes.create_string_buffer(table.TRV_SSSIZE)
            db._call("GetElemText", handle, text)
            return decode(text.value)
        uels = (ctypes.c_int * max(self.dim, 1))()
        values = (ctypes.c_double * records.VALUE_SLOTS)()
        db._call("GetRecordRaw", handle, self.dim, uels, values)
        if self._type == table.TRV_DT_PAR:
            return to_python(values[0])
        return Values(*(to_python(v) for v in values))

    def _value_setter(self, value):
        """Checks value for a record of this symbol and returns the calls that store it on a record handle."""
        db = self._db
        if self._type == table.TRV_DT_SET:
            text = "" if value is True else value
            raw = encode(text, f"the element text of a record of {self.name}")
            return [lambda handle: db._call("SetElemText", handle, raw)]
        if self._type == table.TRV_DT_PAR:
            number = from_python(value, f"the value of a record of {self.name}")
            return [lambda handle: db._call("SetLevel", handle, number)]
        if self._type not in (table.TRV_DT_VAR, table.TRV_DT_EQU):
            raise Error(f"records of {self.name} cannot be changed")
        if isinstance(value, collections.abc.Mapping):
            unknown = set(value) - set(FIELDS)
            if unknown:
                raise ValueError(f"{sorted(unknown)} are not fields of {self.name}: use {', '.join(FIELD_NAMES)}")
            fields = dict(value)
        elif isinstance(value, collections.abc.Sequence) and not isinstance(value, str):
            if len(value) != len(FIELD_NAMES):
                raise ValueError(f"a record of {self.name} takes {len(FIELD_NAMES)} values "
                                 f"({', '.join(FIELD_NAMES)}), not {len(value)}")
            fields = dict(zip(FIELD_NAMES, value))
        else:
            raise TypeError(f"a record of {self.name} takes a Values tuple or a dict of fields, "
                            f"not {type(value).__name__} {value!r}")
        setters = []
        for field, number in fields.items():
            number = from_python(number, f"the {field} of a record of {self.name}")
            operation = "Set" + field.capitalize()
            setters.append(lambda handle, operation=operation, number=number: db._call(operation, handle, number))
        return setters

    def __getitem__(self, key):
        handle = self._find(key)
        try:
            return self._read_value(handle)
        finally:
            self._release(handle)

    def __setitem__(self, key, value):
        setters = self._value_setter(value)
        labels = self._labels(key)
        handle = ctypes.c_void_p()
        added = not self._db._lib.FindRecord(self._db._handle, self._ptr, labels, ctypes.byref(handle))
        if added:
            self._db._call("AddRecord", self._ptr, labels, ctypes.byref(handle))
        try:
            for store in setters:
                store(handle)
        except Error:
            if added:  # a value the library refuses leaves no new record behind
                self._db._call("DeleteRecord", handle)
            raise
        finally:
            self._release(handle)

    def __delitem__(self, key):
        handle = self._find(key)
        try:
            self._db._call("DeleteRecord", handle)
        finally:
            self._release(handle)

    def __contains__(self, key):
        try:
            handle = self._find(key)
        except NotFoundError:
            return False
        self._release(handle)
        return True

    def __iter__(self):
        return iter(self.keys())

    def _keys_and_values(self, with_values=True):
        arrays = records.read(self)
        labels = self._db._labels.text_array()
        keys = [tuple(row) for row in labels[arrays.uels]] if len(arrays) else []
        if not with_values:
            return keys, None
        if self._type == table.TRV_DT_SET:
            return keys, list(records.element_texts(self, arrays))
        if self._type == table.TRV_DT_PAR:
            return keys, [to_python(v) for v in arrays.values[:, 0]]
        return keys, [Values(*map(to_python, row)) for row in arrays.values]

    def keys(self):
        """The keys of all records (tuples of labels), in the library's record order."""
        return self._keys_and_values(with_values=False)[0]

    def items(self):
        """(key, value) of all records, in the library's record order."""
        return list(zip(*self._keys_and_values()))

    # ---- all records at once ----

    def to_numpy(self, domains=None, field="level", squeeze=None):
        from .cubes import to_numpy

        return to_numpy(self, domains, field, squeeze)

    def from_numpy(self, array, domains=None, slices=None):
        from .cubes import from_numpy

        from_numpy(self, array, domains, slices)

    def to_pandas(self):
        from .frames import to_pandas

        return to_pandas(self)

    def from_pandas(self, frame):
        from .frames import from_pandas

        from_pandas(self, frame)

    def domain_violations(self):
        """The records of this symbol whose labels lie outside their domain sets (see
        Database.domain_violations)."""
        from .violations import symbol_violations

        return symbol_violations(self)

    def __eq__(self, other):
        return isinstance(other, Symbol) and other._db is self._db and other._ptr == self._ptr

    def __hash__(self):
        return hash((id(self._db), self._ptr))

    def __repr__(self):
        domain = "(" + ",".join(self.domain_names) + ")" if self.dim else ""
        return f"<tvb.Symbol {self.type} {self.name}{domain}, {len(self)} records>"
