"""Strings between Python and the library, and a database's labels on the Python side.

Strings travel as UTF-8; bytes that are not UTF-8 (a file written elsewhere) come back as surrogate escapes
and go out again unchanged. Labels are numbered by the library in the order of their first registration and
are never removed or renumbered, so their texts are fetched once and kept."""
import ctypes
import weakref

import numpy as np

from . import _operations as table
from .errors import Error


def encode(text, what):
    """text as bytes for the library; `what` names the argument in the error."""
    if not isinstance(text, str):
        raise TypeError(f"{what} must be a string, not {type(text).__name__} {text!r}")
    if "\0" in text:
        raise ValueError(f"{what} {text!r} holds a NUL character")
    return text.encode("utf-8", "surrogateescape")


def decode(raw):
    return raw.decode("utf-8", "surrogateescape")


class LabelTable:
    """The labels of one database: texts by number and numbers of the texts registered through it."""

    def __init__(self, database):
        self._db = weakref.proxy(database)  # the database owns this table: no cycle that would delay its release
        self._texts = [""]  # number 0 is no label
        self._numbers = {}

    def count(self):
        count, unused, text = ctypes.c_int(), ctypes.c_double(), ctypes.create_string_buffer(table.TRV_SSSIZE)
        self._db._call("Info", table.TRV_INFO_UEL_COUNT, ctypes.byref(count), ctypes.byref(unused), text)
        return count.value

    def texts(self):
        """Every label, index = number (index 0 is an empty placeholder)."""
        count = self.count()
        if count >= len(self._texts):
            buffer = ctypes.create_string_buffer(table.TRV_SSSIZE)
            for number in range(len(self._texts), count + 1):
                self._db._call("GetUelByIndex", number, buffer)
                self._texts.append(decode(buffer.value))
        return self._texts

    def text_array(self):
        """The labels as a numpy object array indexed by number, for gathering many at once."""
        return np.array(self.texts(), dtype=object)

    def register(self, labels, what):
        """The numbers of `labels` (strings), registering those that are new in the order given; `what` names
        them in errors. Types are checked for all before any is registered; the library's own rules (length,
        quotes) are checked as each is registered, so the labels before a refused one stay registered."""
        encoded = [encode(label, what) for label in labels]
        numbers = []  # a list grows faster than numpy takes single items
        append, number = numbers.append, ctypes.c_int()
        merge, ptvb, out, cache = self._db._lib.MergeUel, self._db._handle, ctypes.byref(number), self._numbers
        for label, raw in zip(labels, encoded):
            known = cache.get(label)
            if known is None:
                if not merge(ptvb, raw, out):
                    raise Error(self._db.last_error())
                known = cache[label] = number.value
            append(known)
        return np.array(numbers, dtype=np.int32)
