"""Finding and loading the device library ``libOrvex``.

The library is looked for, in this order:

1. the file named by the environment variable ``ORVEX_LIBRARY``, when set
   (no other place is tried then);
2. the library directory of the installation this package belongs to, when
   it was installed with the libraries (``cmake --install``);
3. ``build/lib`` of the source checkout the package sits in;
4. the system's dynamic loader (``LD_LIBRARY_PATH``, the loader's cache).

The adapter library ``libTarvish`` is loaded by the system's loader as the
device library needs it, and its functions are reached through the device
library's handle, so that the package always talks to the very adapter the
device library uses.
"""

from __future__ import annotations

import ctypes
import os
import threading
from pathlib import Path
from typing import List, Optional

from . import _exports
from .errors import LibraryError

LIBRARY_FILE = "libOrvex.so.1"
ENVIRONMENT_VARIABLE = "ORVEX_LIBRARY"
REQUIRED_MAJOR = 1

_PACKAGE_DIR = Path(__file__).resolve().parent


class Library:
    """The loaded device library, its adapter and the lock that keeps one
    transaction at a time."""

    def __init__(self, path: str, handle: ctypes.CDLL) -> None:
        self.path = path
        self.handle = handle
        self.lock = threading.RLock()

    def version(self) -> int:
        return int(self.handle.Orvex_Version())

    def adapter_version(self) -> int:
        return int(self.handle.Tarvish_Version())

    def adapter_path(self) -> str:
        """The file the adapter library was loaded from, as far as the
        system's loader tells."""
        return _file_of(self.handle.Tarvish_Version) or "libTarvish.so.1"


def version_text(word: int) -> str:
    """A version word as the libraries print it: ``1.00``."""
    return f"{word >> 8}.{word & 0xFF:02d}"


class _DlInfo(ctypes.Structure):
    _fields_ = [
        ("dli_fname", ctypes.c_char_p),
        ("dli_fbase", ctypes.c_void_p),
        ("dli_sname", ctypes.c_char_p),
        ("dli_saddr", ctypes.c_void_p),
    ]


def _file_of(function: object) -> Optional[str]:
    """The shared object a loaded function comes from, or None when the
    loader cannot say."""
    try:
        dladdr = ctypes.CDLL(None).dladdr
    except (AttributeError, OSError):
        return None
    dladdr.argtypes = [ctypes.c_void_p, ctypes.POINTER(_DlInfo)]
    dladdr.restype = ctypes.c_int
    info = _DlInfo()
    address = ctypes.cast(function, ctypes.c_void_p)
    if dladdr(address, ctypes.byref(info)) == 0 or not info.dli_fname:
        return None
    return os.fsdecode(info.dli_fname)


def _installed_library_dir() -> Optional[Path]:
    """The library directory of the installation, when the package was
    installed together with the libraries."""
    try:
        from . import _install_layout  # written by the installation
    except ImportError:
        return None
    return (_PACKAGE_DIR / _install_layout.LIBRARY_DIR).resolve()


def _checkout_library_dir() -> Optional[Path]:
    """build/lib of the source checkout, when the package sits in one (as
    python/orvex beside python/pyproject.toml)."""
    python = _PACKAGE_DIR.parent
    checkout = python.parent
    if not ((python / "pyproject.toml").is_file() and (checkout / "CMakeLists.txt").is_file()):
        return None
    return checkout / "build" / "lib"


def _candidates() -> List[Path]:
    places = [_installed_library_dir(), _checkout_library_dir()]
    return [place / LIBRARY_FILE for place in places if place is not None]


def _open(name: str, why: str, tried: List[str]) -> ctypes.CDLL:
    try:
        return ctypes.CDLL(name)
    except OSError as error:
        text = f"cannot load the Orvex device library {name} ({why}): {error}"
        if tried:
            text += "; also tried " + ", ".join(tried)
        if why != f"named by {ENVIRONMENT_VARIABLE}":
            text += f"; {ENVIRONMENT_VARIABLE} can name the library's file"
        raise LibraryError(text, [*tried, name]) from None


def _find() -> Library:
    tried: List[str] = []
    chosen = os.environ.get(ENVIRONMENT_VARIABLE, "")
    if chosen:
        handle = _open(chosen, f"named by {ENVIRONMENT_VARIABLE}", tried)
        path = chosen
    else:
        for candidate in _candidates():
            if candidate.is_file():
                handle = _open(str(candidate), "found beside the package", tried)
                path = str(candidate)
                break
            tried.append(f"{candidate} (absent)")
        else:
            handle = _open(LIBRARY_FILE, "through the system's loader", tried)
            path = _file_of(handle.Orvex_Version) or LIBRARY_FILE
    tried.append(path)
    try:
        _exports.declare(handle, {"Orvex_Version": _exports.DEVICE_EXPORTS["Orvex_Version"]})
        word = int(handle.Orvex_Version())
    except AttributeError:
        raise LibraryError(f"{path} is not the Orvex device library: it has no Orvex_Version",
                           tried) from None
    if word >> 8 != REQUIRED_MAJOR:
        raise LibraryError(
            f"the Orvex device library {path} has version {version_text(word)}; "
            f"this package needs major version {REQUIRED_MAJOR}",
            tried,
        )
    try:
        _exports.declare(handle, _exports.DEVICE_EXPORTS)
        _exports.declare(handle, _exports.ADAPTER_FUNCTIONS)
    except AttributeError as missing:
        raise LibraryError(f"the Orvex device library {path} lacks a function: {missing}",
                           tried) from None
    return Library(path, handle)


_loaded: Optional[Library] = None
_loading = threading.Lock()


def load() -> Library:
    """The device library, loaded on first use.

    Raises:
        LibraryError: no library could be loaded, or it has a major version
            other than 1; the text names the file(s) tried.
    """
    global _loaded
    with _loading:
        if _loaded is None:
            _loaded = _find()
        return _loaded
