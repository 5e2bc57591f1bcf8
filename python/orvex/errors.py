"""The exceptions of the package."""

from __future__ import annotations

from typing import Optional, Sequence, Tuple


class OrvexError(Exception):
    """The base of every error this package raises on its own."""


class LibraryError(OrvexError):
    """The device library or the adapter library cannot be used.

    Raised when no ``libOrvex`` can be loaded, or when a loaded library has a
    major version other than 1. ``tried`` lists every file (or name handed to
    the system loader) that was tried, in order.
    """

    def __init__(self, message: str, tried: Sequence[str] = ()) -> None:
        super().__init__(message)
        self.tried: Tuple[str, ...] = tuple(tried)

    def __str__(self) -> str:
        return str(self.args[0])


class AdapterError(OrvexError):
    """A transaction with the module failed.

    Attributes:
        status: the adapter's non-zero status, unchanged.
        function: the name of the library function that failed, for example
            ``"Orvex_GetAmplification"`` or ``"Tarvish_SetSlot"``.
        message: the adapter's error text, fetched right after the failure.
        io_message: the adapter's input/output error text, fetched with it.
        flush_error: after the failure the adapter's buffers are flushed, so
            that the next transaction starts clean; when that flush failed
            too, its own error, else ``None``.
    """

    def __init__(
        self,
        status: int,
        function: str,
        message: str,
        io_message: str,
        flush_error: Optional["AdapterError"] = None,
    ) -> None:
        super().__init__(status, function, message, io_message)
        self.status = status
        self.function = function
        self.message = message
        self.io_message = io_message
        self.flush_error = flush_error

    def __str__(self) -> str:
        text = (
            f"{self.function} failed with status {self.status}: {self.message}"
            f" (I/O error: {self.io_message})"
        )
        if self.flush_error is not None:
            text += f"; flushing the adapter's buffers then failed too: {self.flush_error}"
        return text
