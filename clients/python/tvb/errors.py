"""The exceptions of the package."""


class Error(Exception):
    """A failure that the library reported (its message), or that the package found before calling it."""

    def __str__(self):
        return str(self.args[0]) if self.args else ""


class NotFoundError(Error, KeyError):
    """A symbol or record that is not there; also a KeyError, so that dict idioms work."""


class DroppedRecordsWarning(UserWarning):
    """Records left out of an array because a label lies outside the domain sets it was read over."""
