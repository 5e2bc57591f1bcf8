"""The adapter's port: opened once per process, and every transaction run
under one lock with the console's failure handling: the adapter's two error
texts are fetched right after a failure, then its buffers are flushed."""

from __future__ import annotations

from typing import Any, Optional

from ._library import Library, REQUIRED_MAJOR, version_text
from .errors import AdapterError, LibraryError


def _text(raw: Optional[bytes]) -> str:
    return raw.decode("utf-8", "replace") if raw else ""


class Port:
    """The adapter's single port, shared by every module object."""

    def __init__(self, library: Library) -> None:
        self.library = library
        self._opened = False
        self._flushed = False

    def open(self) -> None:
        """Checks the adapter's version, opens the port unless it is open and
        empties the adapter's buffers once, as the console does at start."""
        with self.library.lock:
            word = self.library.adapter_version()
            if word >> 8 != REQUIRED_MAJOR:
                raise LibraryError(
                    f"the Tarvish adapter library {self.library.adapter_path()} has version "
                    f"{version_text(word)}; this package needs major version {REQUIRED_MAJOR}",
                    [self.library.adapter_path()],
                )
            if not self._opened:
                # Nothing to flush on a port that did not open.
                self.call("Tarvish_Open", flush=False)
                self._opened = True
            if not self._flushed:
                self.call("Tarvish_Flush_LPT", flush=False)
                self._flushed = True

    def call(self, function: str, *arguments: Any, flush: bool = True) -> None:
        """Runs one library function that returns a status.

        Raises:
            AdapterError: the status was not 0.
        """
        with self.library.lock:
            status = int(getattr(self.library.handle, function)(*arguments))
            if status != 0:
                raise self._failure(function, status, flush)

    def _failure(self, function: str, status: int, flush: bool) -> AdapterError:
        handle = self.library.handle
        io_message = _text(handle.Tarvish_IO_ErrorMessage())
        message = _text(handle.Tarvish_ErrorMessage())
        flush_error = None
        if flush:
            flushed = int(handle.Tarvish_Flush_LPT())
            if flushed != 0:
                flush_error = self._failure("Tarvish_Flush_LPT", flushed, False)
        return AdapterError(status, function, message, io_message, flush_error)
