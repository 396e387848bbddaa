"""The special values as Python floats.

Every database of this package holds its caller special values equal to the stored ones, so the library
translates nothing and the doubles in numpy arrays and DataFrames are the stored values themselves:
+infinity and -infinity are float("inf") and float("-inf"); not available is a NaN (any NaN written is stored
as not available); undefined is tvb.UNDEF (1e300) and epsilon tvb.EPS (the smallest positive subnormal).
Single values read through the package come back as the named objects tvb.UNDEF, tvb.NA and tvb.EPS, which
are floats, so `value is tvb.NA` and `value == tvb.EPS` both work; in arrays, test NA with numpy.isnan."""
import ctypes
import numbers

from . import _operations as table
from ._library import library


class SpecialValue(float):
    """A float that is one of the library's special values, shown by its name."""

    def __new__(cls, value, name):
        special = super().__new__(cls, value)
        special.name = name
        return special

    def __repr__(self):
        return "tvb." + self.name

    __str__ = __repr__

    def __reduce__(self):
        return (_named, (self.name,))


def _stored_values():
    values = (ctypes.c_double * 5)()
    library().GetSpecialValues(None, values)
    return values


STORED = _stored_values()
UNDEF = SpecialValue(STORED[table.TRV_SV_UNDEF], "UNDEF")
NA = SpecialValue(STORED[table.TRV_SV_NA], "NA")
EPS = SpecialValue(STORED[table.TRV_SV_EPS], "EPS")


def _named(name):
    return {"UNDEF": UNDEF, "NA": NA, "EPS": EPS}[name]


def to_python(value):
    """A stored double as the package hands it out: the named object for UNDEF, NA and EPS."""
    if value != value:
        return NA
    if value == UNDEF:
        return UNDEF
    if value == EPS:
        return EPS
    return value


def from_python(value, what):
    """A number given by the caller as a double; `what` names it in the TypeError for anything else."""
    if isinstance(value, numbers.Real) and not isinstance(value, bool):
        return float(value)
    raise TypeError(f"{what} must be a number, not {type(value).__name__} {value!r}")
