"""A database tied to a model instance: made from the model's dictionary, model symbols updated from data, the
model solved. The methods Database.from_model, Database.update and Database.solve run these."""
import collections.abc
import ctypes
import math
import weakref

from . import _operations as table
from .errors import Error, NotFoundError
from .labels import encode
from .model import SolveResult
from .symbol import Symbol

ACTIONS = {"fix": 0, "upper": 1, "lower": 2, "bounds": 3, "level": 4, "marginal": 5}
MISSING = {"zero": 0, "default": 1, "keep": 2}
PARAMETER_VARIABLE_SUFFIX = "_var"


def _free_keeping(lib, address, model):
    """Frees a database; the model it holds a solver of stays alive until then (it is an argument here)."""
    handle = ctypes.c_void_p(address)
    lib.tvbfree(ctypes.byref(handle))


def tie(db, model):
    """Fills db (new) from model's dictionary and prepares it for updates and solves."""
    db._call("InitFromDict", model._handle)
    db._call("InitUpdate", model._handle)
    # The database goes before the model: it holds a solver instance made with it.
    db._finalizer.detach()
    db._finalizer = weakref.finalize(db, _free_keeping, db._lib, db._handle_value, model)
    db._model = model
    model._databases.add(db)


def _code(value, codes, what):
    if isinstance(value, int) and not isinstance(value, bool):
        return value
    if isinstance(value, str) and value in codes:
        return codes[value]
    raise ValueError(f"{value!r} is not {what}: use one of {', '.join(codes)} or a number")


def _model_symbol(db, symbol):
    """The database symbol that names the model symbol: a Symbol, or a name. A name the database lacks that
    names a parameter of the model (its variable <name>_var) gets a parameter of that name."""
    if isinstance(symbol, Symbol):
        if symbol._db is not db:
            raise ValueError(f"the symbol {symbol.name} belongs to another database")
        return symbol
    if not isinstance(symbol, str):
        raise TypeError(f"a model symbol is a Symbol or a name, not {type(symbol).__name__} {symbol!r}")
    if symbol in db:
        return db[symbol]
    if symbol + PARAMETER_VARIABLE_SUFFIX not in db:
        raise NotFoundError(f"{symbol} is neither a symbol of the database nor a parameter of the model "
                            f"(a variable {symbol}{PARAMETER_VARIABLE_SUFFIX})")
    return db.add_parameter(symbol, ["*"] * db[symbol + PARAMETER_VARIABLE_SUFFIX].dim)


def _data_dim(db, sym):
    if sym.type == "parameter" and sym.name + PARAMETER_VARIABLE_SUFFIX in db:
        return db[sym.name + PARAMETER_VARIABLE_SUFFIX].dim
    return sym.dim


def _data_parameter(db, dim):
    """A parameter of dim positions in the database's scratch database, whose labels carry the numbers of db's
    (the model's keys are compared by number); its records are replaced by each update."""
    from .database import Database

    if db._scratch is None:
        db._scratch = Database()
    scratch = db._scratch
    labels = db.labels
    known = len(scratch.labels)
    if known < len(labels):
        numbers = scratch._labels.register(labels[known:], "a label of the model")
        if list(numbers) != list(range(known + 1, len(labels) + 1)):
            raise Error("the model's labels differ only in letter case, which a database takes for one label")
    name = f"data{dim}"
    return scratch[name] if name in scratch else scratch.add_parameter(name, ["*"] * dim)


def update(db, symbol, values, action="fix", missing="keep"):
    """See Database.update."""
    from .frames import from_pandas, records_frame

    action_code = _code(action, ACTIONS, "an action")
    missing_code = _code(missing, MISSING, "a rule for entries without data")
    sym = _model_symbol(db, symbol)
    data = _data_parameter(db, _data_dim(db, sym))
    if not isinstance(values, collections.abc.Mapping) or values:
        from_pandas(data, records_frame(values, data.dim, table.TRV_DT_PAR, 0, data.name))
    else:
        data.clear()
    unmatched = ctypes.c_int()
    db._call("UpdateModelSymbol", sym._ptr, action_code, data._ptr, missing_code, ctypes.byref(unmatched))
    return unmatched.value


def solve(db, solver):
    """See Database.solve."""
    model = getattr(db, "_model", None)
    if model is None:
        raise Error("the database is not tied to a model: make it with Database.from_model")
    seconds = ctypes.c_double()
    db._call("CallSolverTimed", encode(solver, "the solver name"), ctypes.byref(seconds))
    status = model.model_status
    objective = model.objective if status in ("optimal", "integer solution") else math.nan
    return SolveResult(status, model.solve_status, seconds.value, objective)
