"""Loads libtvbcclib.so once per process and binds its zero-terminated (c__) entries through ctypes.

The argument and result types come from the build's expansion of the operation table (_operations.py), and the
library is asked through its own interface check (c__xapiversion, c__xcheck) whether it has each operation with
the table's signature, so a package and a library of different builds refuse each other at import instead of
corrupting memory later.

Where the library is found: the file named by the environment variable TVBCCLIB_LIBRARY when it is set, else
libtvbcclib.so two directories above this package (build/lib/python/tvb -> build/lib; an installed
<prefix>/lib/python/tvb -> <prefix>/lib)."""
import ctypes
import os
import pathlib
import re

from . import _operations as table
from .errors import Error

LIBRARY_VARIABLE = "TVBCCLIB_LIBRARY"
LIBRARY_FILE = "libtvbcclib.so"

_SCALAR_TYPES = {"int": ctypes.c_int, "double": ctypes.c_double, "const char *": ctypes.c_char_p, "void": None}
# Pointers without a C type of their own in ctypes terms: handles (also the model library's *Handle_t), out
# arguments, arrays, per-position string arrays and host routines all travel as addresses.
_ADDRESS_TYPES = ("TVB_LABELS_IN", "TVB_LABELS_OUT")


def library_path():
    """The path of libtvbcclib.so that this package loads."""
    given = os.environ.get(LIBRARY_VARIABLE)
    if given:
        return pathlib.Path(given)
    return pathlib.Path(__file__).resolve().parent.parent.parent / LIBRARY_FILE


def ctype(c_type):
    """The ctype of a C type of an operation table."""
    c_type = " ".join(c_type.replace("*", " * ").split()).replace("* *", "**")
    if c_type in _SCALAR_TYPES:
        return _SCALAR_TYPES[c_type]
    if c_type.endswith("*") or c_type in _ADDRESS_TYPES or c_type.startswith("tvbHost") or c_type.endswith("Handle_t"):
        return ctypes.c_void_p
    raise Error(f"the operation table holds the C type '{c_type}', which the Python package cannot pass")


def parameter_types(parameters):
    """The ctypes of a C parameter list such as "(tvbHandle *ptvb, const char *name, int *uelNr)"."""
    inner = parameters.strip()[1:-1].strip()
    if not inner or inner == "void":
        return []
    return [ctype(re.sub(r"\w+$", "", p.strip())) for p in inner.split(",")]


def signature(codes):
    """The signature codes of a table row, "(15, 11)", as a list."""
    return [int(code) for code in codes.strip("() ").split(",")]


def bind(dll, path, entry, result, parameters):
    """The function entry of the ctypes library dll (loaded from path), typed by a table row's C result and
    parameter list; a library without it does not match the package."""
    try:
        function = getattr(dll, entry)
    except AttributeError:
        raise Error(f"{path} does not match this package: it has no entry {entry}") from None
    function.argtypes = parameter_types(parameters)
    function.restype = ctype(result)
    return function


class Library:
    """The bound entries: op.<Name> for each operation of the table (c__tvb<lower>), and the fixed entries
    (tvbcreate, tvbfree, c__xapiversion, c__xcheck, ...) under their exported names."""

    def __init__(self, path):
        self.path = path
        try:
            self._dll = ctypes.CDLL(str(path))
        except OSError as failure:
            raise Error(f"cannot load {path} (set {LIBRARY_VARIABLE} to the path of {LIBRARY_FILE}): "
                        f"{failure}") from None
        for name, result, parameters in table.FIXED_ENTRIES:
            setattr(self, name, self._bind(name, result, parameters))
        self._agree_version()
        for name, lower, result, parameters, codes in table.OPERATIONS:
            self._check(name, signature(codes))
            setattr(self, name, self._bind("c__tvb" + lower, result, parameters))

    def _bind(self, entry, result, parameters):
        return bind(self._dll, self.path, entry, result, parameters)

    def _agree_version(self):
        message = ctypes.create_string_buffer(table.TRV_SSSIZE)
        compatibility = ctypes.c_int()
        if not self.c__xapiversion(table.TVB_API_VERSION, message, ctypes.byref(compatibility)):
            raise Error(f"{self.path}: {message.value.decode(errors='replace')}")

    def _check(self, name, codes):
        message = ctypes.create_string_buffer(table.TRV_SSSIZE)
        signature = (ctypes.c_int * len(codes))(*codes)
        if not self.c__xcheck(("tvb" + name).encode(), len(codes) - 1, signature, message):
            raise Error(f"{self.path} does not match this package: {message.value.decode(errors='replace')}")


_library = None


def library():
    """The process's bound library, loaded on first use."""
    global _library
    if _library is None:
        _library = Library(library_path())
    return _library
