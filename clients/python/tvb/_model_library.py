"""Loads librunddclib.so, the model-instance library that libtvbcclib.so ties databases to, and binds the
model-instance operations of its tables (_operations.MODEL_OPERATIONS) through ctypes, after agreeing the
interface version and asking the library's check entry for each, as _library does for libtvbcclib.so.

The file is the one beside libtvbcclib.so, which that library loads as well: the process holds one copy, and the
model instances made here are the ones the databases see."""
import ctypes

from . import _operations as table
from ._library import bind, library_path, signature
from .errors import Error

LIBRARY_FILE = "librunddclib.so"

# The protocol's entries of the model-instance library, outside its tables: (entry, result, parameters).
_MANDATORY = (
    ("tvpXCreate", "int", "(void **pt)"),
    ("CtvpXCreateD", "int", "(void **pt, const char *dir)"),
    ("tvpXFree", "int", "(void **pt)"),
    ("CtvpXCheck", "int", "(const char *name, int nargs, const int *sig, char *msg)"),
    ("CtvpXAPIVersion", "int", "(int api, char *msg, int *compatibility)"),
)


class ModelLibrary:
    """The bound entries, each under its operation's name (tvpLoadMathProg, tvpModelStat, ...), and the
    mandatory ones under their entry names (tvpXCreate, tvpXFree, ...)."""

    def __init__(self, path):
        self.path = path
        try:
            self._dll = ctypes.CDLL(str(path))
        except OSError as failure:
            raise Error(f"cannot load {path}: {failure}") from None
        for entry, result, parameters in _MANDATORY:
            setattr(self, entry, self._bind(entry, result, parameters))
        message = ctypes.create_string_buffer(table.TRV_SSSIZE)
        compatibility = ctypes.c_int()
        if not self.CtvpXAPIVersion(table.RUNDD_TVP_API_VERSION, message, ctypes.byref(compatibility)):
            raise Error(f"{path}: {message.value.decode(errors='replace')}")
        for name, entry, result, parameters, codes in table.MODEL_OPERATIONS:
            codes = signature(codes)
            if not self.CtvpXCheck(name.encode(), len(codes) - 1, (ctypes.c_int * len(codes))(*codes), message):
                raise Error(f"{path} does not match this package: {message.value.decode(errors='replace')}")
            setattr(self, name, self._bind(entry, result, parameters))

    def _bind(self, entry, result, parameters):
        return bind(self._dll, self.path, entry, result, parameters)


_library = None


def model_library():
    """The process's bound model-instance library, loaded on first use from beside libtvbcclib.so."""
    global _library
    if _library is None:
        _library = ModelLibrary(library_path().parent / LIBRARY_FILE)
    return _library
