"""A database of the library, owned by its Python object: freed by close(), at the end of a with block, or
when the object goes."""
import ctypes
import os
import weakref

from . import _operations as table
from . import special_values
from ._library import library
from .errors import Error, NotFoundError
from .labels import LabelTable, decode, encode
from . import records
from .symbol import Symbol, subtype_code


def _free(lib, address):
    handle = ctypes.c_void_p(address)
    lib.tvbfree(ctypes.byref(handle))


class Database:
    """An in-memory database of sets, parameters, variables and equations.

    db["d"] is the symbol named d (any letter case), len(db) the number of symbols, and iterating yields them
    in creation order. Failures of the library raise tvb.Error with its message."""

    def __init__(self, system_directory=None):
        """A new, empty database. system_directory: where the external libraries are looked for (by default
        beside libtvbcclib.so)."""
        self._lib = library()
        handle = ctypes.c_void_p()
        message = ctypes.create_string_buffer(table.TRV_SSSIZE)
        if system_directory is None:
            made = self._lib.tvbcreate(ctypes.byref(handle), message, len(message))
        else:
            directory = encode(os.fspath(system_directory), "the system directory")
            made = self._lib.tvbcreated(ctypes.byref(handle), directory, message, len(message))
        if not made:
            raise Error(decode(message.value))
        self._handle_value = handle.value
        self._finalizer = weakref.finalize(self, _free, self._lib, handle.value)
        # Values travel untranslated: see special_values.
        mode = ctypes.c_int()
        self._lib.SetSpecialValuesX(self._handle_value, special_values.STORED, ctypes.byref(mode))
        self._labels = LabelTable(self)
        # address -> Symbol, so that one symbol has one Python object while it is used. Weak: symbols keep their
        # database alive, and a cycle would leave a database to the garbage collector instead of freeing it.
        self._symbols = weakref.WeakValueDictionary()
        self._texts = {}  # element-text number -> text; numbers never change their text
        self._universe = None
        self._model = None  # the model instance it is tied to (from_model)
        self._scratch = None  # a database of the data parameters of model updates

    @classmethod
    def read(cls, path, lazy=True):
        """A database filled from the TVF file at path. Lazy: each symbol's records are read from the file,
        which stays open, the first time they are needed; lazy=False reads everything and closes the file."""
        db = cls()
        try:
            db._call("InitFromTVF", encode(os.fspath(path), "the file name"))
            if not lazy:
                db._call("CloseTVF", 1)
        except BaseException:
            db.close()
            raise
        return db

    def write(self, path, check_domains=True):
        """Writes the whole database to a new TVF file at path. Domains are stored checked by the TVF library
        (records outside them then fail the write) unless check_domains is False."""
        self._call("WriteTVF", encode(os.fspath(path), "the file name"), 0 if check_domains else 1)

    @classmethod
    def from_model(cls, model, system_directory=None):
        """A database tied to a tvb.Model: the labels of its dictionary and a symbol per variable and equation,
        whose records are read from the model when first used and again after each solve. The model stays alive
        while the database does."""
        from .model_link import tie

        db = cls(system_directory)
        try:
            tie(db, model)
        except BaseException:
            db.close()
            raise
        return db

    def update(self, symbol, values, action="fix", missing="keep"):
        """Writes values into the model entries of symbol: a variable or equation of the model, or a parameter
        of it (given by name: the model's variable <name>_var). values: a mapping of keys to numbers, or a
        Series or DataFrame as from_pandas takes it. action: "fix" (level and both bounds), "upper", "lower",
        "bounds" (both: fixed), "level" or "marginal". missing, for entries without a value: "keep" them,
        "zero", or "default" (the level at preparation for "fix", the variable's own bounds). Returns the
        number of values that matched no entry of the model."""
        from .model_link import update

        return update(self, symbol, values, action, missing)

    def solve(self, solver="CLP"):
        """Solves the model with the solver of that name ("CLP" keeps its instance between solves, "GLPK"
        runs afresh) and returns a tvb.SolveResult: model status, solve status, seconds, objective. An
        infeasible model is a solve that completed: its status says so. The model's symbols show the new
        solution when next read."""
        from .model_link import solve

        return solve(self, solver)

    def close(self):
        """Frees the database; its symbols must not be used afterwards. Closing twice does nothing."""
        self._finalizer()
        self._handle_value = None
        if self._scratch is not None:
            self._scratch.close()

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.close()

    @property
    def _handle(self):
        if self._handle_value is None:
            raise Error("the database is closed")
        return self._handle_value

    def last_error(self):
        message = ctypes.create_string_buffer(table.TRV_SSSIZE)
        self._lib.GetLastError(self._handle, message)
        return decode(message.value)

    def _call(self, operation, *arguments, error=Error):
        """Runs operation (a name of the operation table) on this database; a failure raises error with the
        library's message."""
        if not getattr(self._lib, operation)(self._handle, *arguments):
            raise error(self.last_error())

    def _info(self, key):
        number, unused, text = ctypes.c_int(), ctypes.c_double(), ctypes.create_string_buffer(table.TRV_SSSIZE)
        self._call("Info", key, ctypes.byref(number), ctypes.byref(unused), text)
        return number.value

    def _symbol(self, address):
        symbol = self._symbols.get(address)
        if symbol is None:
            symbol = self._symbols[address] = Symbol(self, address)
        return symbol

    def __len__(self):
        return self._info(table.TRV_INFO_SYMBOL_COUNT)

    def __iter__(self):
        address = ctypes.c_void_p()
        for index in range(len(self)):
            self._call("GetSymbolByIndex", index, ctypes.byref(address))
            yield self._symbol(address.value)

    def __getitem__(self, name):
        address = ctypes.c_void_p()
        self._call("FindSymbol", encode(name, "a symbol name"), ctypes.byref(address), error=NotFoundError)
        return self._symbol(address.value)

    def __contains__(self, name):
        try:
            self[name]
        except NotFoundError:
            return False
        return True

    @property
    def labels(self):
        """Every label of the database, in the order of their numbers (the order of first registration)."""
        return self._labels.texts()[1:]

    @property
    def universe(self):
        """The Universe "*": the one-dimensional set whose records are the labels."""
        return self._symbol(self._universe_address())

    def _universe_address(self):
        if self._universe is None:
            address = ctypes.c_void_p()
            self._call("GetSymbolByIndex", -1, ctypes.byref(address))
            self._universe = address.value
        return self._universe

    def add_set(self, name, domains=("*",), text="", records=None):
        """A new set over domains (see add_parameter). records: keys (a label, or a tuple of labels), a mapping
        of keys to element texts, or a DataFrame as from_pandas takes it."""
        return self._add(name, domains, table.TRV_DT_SET, 0, text, records)

    def add_parameter(self, name, domains=(), text="", records=None):
        """A new parameter. domains: one entry per position, each a set of this database (a Symbol or its
        name), "*" for any label, or another name kept as a relaxed domain name; none makes a scalar. records:
        a mapping of keys to values, or a DataFrame or Series as from_pandas takes it."""
        return self._add(name, domains, table.TRV_DT_PAR, 0, text, records)

    def add_variable(self, name, domains=(), type="free", text="", records=None):
        """A new variable of the variable type `type` ("free", "positive", "binary", ... or its number).
        records: a mapping of keys to (level, marginal, lower, upper, scale) or to dicts of some of those
        fields, or a DataFrame as from_pandas takes it."""
        return self._add(name, domains, table.TRV_DT_VAR, subtype_code(table.TRV_DT_VAR, type), text, records)

    def add_equation(self, name, domains=(), type="eq", text="", records=None):
        """A new equation of the equation type `type` ("eq", "ge", "le", "nb" or its number); records as for
        add_variable."""
        return self._add(name, domains, table.TRV_DT_EQU, subtype_code(table.TRV_DT_EQU, type), text, records)

    def _add(self, name, domains, symbol_type, user_info, text, given):
        from . import frames

        if isinstance(domains, (str, Symbol)):
            domains = (domains,)
        domains = list(domains)
        dim = len(domains)
        if dim > table.GLOBAL_MAX_INDEX_DIM:
            raise ValueError(f"{name} has {dim} positions; the limit is {table.GLOBAL_MAX_INDEX_DIM}")
        if symbol_type == table.TRV_DT_SET and dim == 0:
            raise ValueError(f"the set {name} needs at least one position")
        sets = (ctypes.c_void_p * max(dim, 1))()
        names = [b"*"] * max(dim, 1)
        for d, domain in enumerate(domains):
            if isinstance(domain, Symbol):
                if domain._db is not self:
                    raise ValueError(f"the domain {domain.name} of {name} belongs to another database")
                sets[d] = domain._ptr
            elif isinstance(domain, str) and domain != "*" and domain in self:
                sets[d] = self[domain]._ptr
            else:
                names[d] = encode(domain, f"domain {d + 1} of {name}")
        # The records are checked, and their labels registered, before the symbol exists: a symbol cannot be
        # removed again.
        prepared = uels = None
        if given is not None:
            prepared, uels = frames.given_records(self, given, dim, symbol_type, user_info, name)
            records.check_unique(self, name, uels)
        address = ctypes.c_void_p()
        self._call("AddSymbolX", encode(name, "a symbol name"), dim, symbol_type, user_info,
                   encode(text, "the explanatory text"), sets, (ctypes.c_char_p * len(names))(*names),
                   ctypes.byref(address))
        symbol = self._symbol(address.value)
        if prepared is not None:
            records.write(symbol, uels, prepared.values, prepared.texts, keys_checked=True)
        return symbol

    def domain_violations(self):
        """The records of every symbol whose labels lie outside their domain sets, as a DataFrame with one row
        per label outside: symbol, record (the key), position (from 1), label, domain."""
        from .violations import database_violations

        return database_violations(self)

    def __repr__(self):
        if self._handle_value is None:
            return "<tvb.Database (closed)>"
        return f"<tvb.Database: {len(self)} symbols, {len(self.labels)} labels>"
