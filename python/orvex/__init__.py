"""Python interface to the Orvex two-channel signal module.

A bench script::

    import orvex

    module = orvex.open()
    module.x.mode = orvex.Mode.AMPLITUDE_CONTROL
    module.x.amplitude = 2.5           # V
    print(module.x.measured_amplitude) # V

The package calls the device library ``libOrvex`` (found as described in
``orvex._library``) and through it the adapter library. Quantities are in
volts, kelvin, hertz and seconds; a reading is the library's 32-bit value,
given as the shortest decimal that stands for it (1.234 rather than
1.2339999675750732). A failed transaction raises
``AdapterError``; a value outside the console's limits raises ``ValueError``
before anything is sent.
"""

from __future__ import annotations

from typing import Tuple

from ._library import load as _load
from .channel import Channel
from .conversions import damping, flt_alpha, flt_frequency, hpf_frequency, lpf_alpha
from .conversions import lpf_frequency
from .errors import AdapterError, LibraryError, OrvexError
from .module import Module, open
from .values import Clocks, Filter, HighPass, Mode

__version__ = "1.0.0"

__all__ = [
    "AdapterError",
    "Channel",
    "Clocks",
    "Filter",
    "HighPass",
    "LibraryError",
    "Mode",
    "Module",
    "OrvexError",
    "adapter_version",
    "damping",
    "flt_alpha",
    "flt_frequency",
    "hpf_frequency",
    "library_path",
    "lpf_alpha",
    "lpf_frequency",
    "open",
    "version",
]


def version() -> Tuple[int, int]:
    """The device library's ``(major, minor)`` version."""
    word = _load().version()
    return word >> 8, word & 0xFF


def adapter_version() -> Tuple[int, int]:
    """The adapter library's ``(major, minor)`` version."""
    word = _load().adapter_version()
    return word >> 8, word & 0xFF


def library_path() -> str:
    """The file the device library was loaded from."""
    return _load().path
