"""Model instances of librunddclib.so: MathProg models loaded through GLPK's translator, which databases tie to
(Database.from_model), update and solve.

    model = tvb.Model.from_mathprog("transport.mod")
    db = tvb.Database.from_model(model)
    db.update("b", {"chicago": 320}, action="fix")
    db.solve("CLP")                       # SolveResult(model_status='optimal', solve_status='normal', ...)
    db["x"].to_pandas()

A model is freed when its Python object goes (or by close()); a database made from it keeps it alive."""
import collections
import ctypes
import os
import weakref

from . import _operations as table
from ._model_library import model_library
from .errors import Error
from .labels import decode, encode


def _status_names(prefix):
    """Status names by code from the constants of rundd.h (RUNDD_MODEL_OPTIMAL -> "optimal"); model types
    (RUNDD_MODEL_TYPE_*) are no statuses."""
    return {value: name[len(prefix):].lower().replace("_", " ") for name, value in vars(table).items()
            if name.startswith(prefix) and not name.startswith(prefix + "TYPE_")}


MODEL_STATUS = _status_names("RUNDD_MODEL_")
SOLVE_STATUS = _status_names("RUNDD_SOLVE_")


class SolveResult(collections.namedtuple("SolveResult", "model_status solve_status seconds objective")):
    """What a solve gave: the model status ("optimal", "infeasible", "unbounded", ...), the solve status
    ("normal", "iteration limit", ...), the processor time of the solver call in seconds, and the objective's
    value (NaN without a solution)."""

    @property
    def optimal(self):
        return self.model_status == "optimal"


def _free(lib, address):
    handle = ctypes.c_void_p(address)
    lib.tvpXFree(ctypes.byref(handle))


class Model:
    """A model instance: its columns, rows, objective and solution, and the dictionary that names them."""

    def __init__(self, system_directory=None):
        """An empty instance. system_directory: where the solver configuration (trvcmpNT.txt) is read; by
        default the directory of librunddclib.so."""
        self._lib = model_library()
        handle = ctypes.c_void_p()
        if system_directory is None:
            made = self._lib.tvpXCreate(ctypes.byref(handle))
        else:
            made = self._lib.CtvpXCreateD(ctypes.byref(handle), encode(os.fspath(system_directory), "the directory"))
        if not made:
            raise Error("no model instance could be made")
        self._ptr = handle.value
        self._finalizer = weakref.finalize(self, _free, self._lib, handle.value)
        self._databases = weakref.WeakSet()  # tied to it: they go first
        self.files = None  # the MathProg files it was loaded from

    @classmethod
    def from_mathprog(cls, model_file, data_file=None, system_directory=None):
        """A model instance loaded from a MathProg model file and, when given, a data file that replaces the
        model's data section. A model the translator refuses raises tvb.Error with its message."""
        model = cls(system_directory)
        try:
            model.load_mathprog(model_file, data_file)
        except BaseException:
            model.close()
            raise
        return model

    def load_mathprog(self, model_file, data_file=None):
        """Replaces what the instance holds by the MathProg model (and data)."""
        message = ctypes.create_string_buffer(table.TRV_SSSIZE)
        model_path = encode(os.fspath(model_file), "the model file")
        data_path = encode(os.fspath(data_file), "the data file") if data_file is not None else b""
        if not self._lib.tvpLoadMathProg(self._handle, model_path, data_path, message, len(message)):
            raise Error(decode(message.value))
        self.files = (os.fspath(model_file), os.fspath(data_file) if data_file is not None else None)

    @property
    def _handle(self):
        if not self._finalizer.alive:
            raise Error("the model is closed")
        return self._ptr

    @property
    def model_status(self):
        """The model status of the last solve ("optimal", "infeasible", ...; "no solution" before any)."""
        code = self._lib.tvpModelStat(self._handle)
        return MODEL_STATUS.get(code, str(code))

    @property
    def solve_status(self):
        """The solve status of the last solve ("normal", "iteration limit", ...)."""
        code = self._lib.tvpSolveStat(self._handle)
        return SOLVE_STATUS.get(code, str(code))

    @property
    def objective(self):
        """The objective's value at the last solution."""
        return self._lib.tvpGetObjVal(self._handle)

    @property
    def shape(self):
        """(columns, rows)."""
        return self._lib.tvpN(self._handle), self._lib.tvpM(self._handle)

    def close(self):
        """Frees the instance, after closing the databases made from it (they hold solvers made with it).
        Closing twice does nothing."""
        for db in list(self._databases):
            db.close()
        self._finalizer()

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.close()

    def __repr__(self):
        if not self._finalizer.alive:
            return "<tvb.Model (closed)>"
        columns, rows = self.shape
        source = f" from {self.files[0]}" if self.files else ""
        return f"<tvb.Model{source}: {columns} columns, {rows} rows>"
