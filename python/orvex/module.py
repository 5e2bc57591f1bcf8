"""The module on the bus, reached through the adapter's port."""

from __future__ import annotations

import ctypes
from typing import Any, Optional, Tuple

from . import _exports, limits
from ._float32 import shortest
from ._library import load
from ._port import Port
from .channel import Channel
from .values import Clocks

_port: Optional[Port] = None


def open() -> "Module":  # noqa: A001 - the package's entry point, orvex.open()
    """Opens the adapter's port and returns the module behind it.

    The port is opened once per process and never closed; a later call
    returns another module object on the same port. The module sits in the
    slot the adapter has selected (``Module.slot``).

    Raises:
        orvex.LibraryError: a library cannot be loaded or has the wrong
            major version.
        orvex.AdapterError: the port could not be opened.
    """
    global _port
    library = load()
    with library.lock:
        if _port is None:
            _port = Port(library)
        _port.open()
    return Module(_port)


def _no_reading(value: float) -> Optional[float]:
    # The library marks a missing reading with -1.0; no reading is negative.
    return None if value < 0 else value


class Module:
    """An Orvex module in the adapter's selected slot.

    Every property asks the module afresh; nothing is cached. Get one with
    ``orvex.open()``.
    """

    def __init__(self, port: Port) -> None:
        self._port = port
        self._channels = (Channel(port, 0), Channel(port, 1))

    def __repr__(self) -> str:
        return "<orvex.Module>"

    def _get(self, function: str, kind: Any) -> Any:
        value = kind()
        self._port.call(function, ctypes.byref(value))
        return value.value

    def _reading(self, function: str) -> float:
        return shortest(float(self._get(function, ctypes.c_float)))

    # ---- slot and presence ------------------------------------------------

    @property
    def slot(self) -> int:
        """The ZPB slot the adapter addresses, 0 to 255. It belongs to the
        adapter, so every module object of the process shares it."""
        slot = ctypes.c_uint8()
        self._port.call(
            "Tarvish_GetSlot", ctypes.byref(slot), _exports.SLOT_MODULE, _exports.SLOT_KEEP
        )
        return int(slot.value)

    @slot.setter
    def slot(self, value: int) -> None:
        slot = limits.integer(limits.SLOT, value)
        self._port.call("Tarvish_SetSlot", slot, _exports.SLOT_MODULE, _exports.SLOT_KEEP)

    def present(self) -> bool:
        """Whether an Orvex module answers in the selected slot."""
        return bool(self._get("Orvex_Check", ctypes.c_uint8))

    # ---- identification ---------------------------------------------------

    @property
    def firmware_version(self) -> Tuple[int, int]:
        """The firmware's ``(major, minor)`` version."""
        word = int(self._get("Orvex_FW_Ver", ctypes.c_uint16))
        return word >> 8, word & 0xFF

    def _text(self, function: str, size: int) -> str:
        buffer = ctypes.create_string_buffer(size)
        self._port.call(function, buffer)
        return buffer.value.decode("latin-1")

    @property
    def firmware_date(self) -> str:
        """The firmware's date text, at most 15 characters."""
        return self._text("Orvex_FW_Date", _exports.FIRMWARE_DATE_SIZE)

    @property
    def product_id(self) -> str:
        """The product identification text, at most 80 characters."""
        return self._text("Orvex_Prod_ID", _exports.PRODUCT_ID_SIZE)

    @property
    def product_number(self) -> int:
        """The product number, 0 to 4294967295."""
        return int(self._get("Orvex_Prod_No", ctypes.c_uint32))

    # ---- channels ---------------------------------------------------------

    @property
    def x(self) -> Channel:
        """Channel X (0)."""
        return self._channels[0]

    @property
    def y(self) -> Channel:
        """Channel Y (1)."""
        return self._channels[1]

    @property
    def channels(self) -> Tuple[Channel, Channel]:
        """Both channels, X first."""
        return self._channels

    def channel(self, number: int) -> Channel:
        """Channel ``number``: 0 is X, 1 is Y."""
        return self._channels[limits.integer(limits.CHANNEL, number)]

    @property
    def offset_range(self) -> float:
        """The module's offset range in volts (one for both channels), in
        steps of 0.01 V; set above 0 V to 10 V."""
        return self._reading("Orvex_GetOffsetRange")

    @offset_range.setter
    def offset_range(self, value: float) -> None:
        self._port.call("Orvex_SetOffsetRange", limits.real(limits.OFFSET_RANGE, value))

    # ---- housekeeping -----------------------------------------------------

    @property
    def supply_5v(self) -> Optional[float]:
        """The 5 V supply in volts, or ``None`` when the module has no
        reading."""
        return _no_reading(self._reading("Orvex_Get5V"))

    @property
    def supply_3v(self) -> Optional[float]:
        """The 3.3 V supply in volts, or ``None`` when the module has no
        reading."""
        return _no_reading(self._reading("Orvex_Get3V"))

    @property
    def temperature(self) -> Optional[float]:
        """The module's temperature in kelvin, or ``None`` when it has no
        reading."""
        return _no_reading(self._reading("Orvex_GetTemp"))

    @property
    def clocks(self) -> Clocks:
        """The five clock frequencies in Hz."""
        functions = (
            "Orvex_GetClkCPU",
            "Orvex_GetClkPer",
            "Orvex_GetClkADC",
            "Orvex_GetClkDAC",
            "Orvex_GetClkFilt",
        )
        return Clocks(*(self._reading(f) for f in functions))

    @property
    def uptime(self) -> float:
        """Seconds since the module started, in steps of 1/1024 s."""
        return float(self._get("Orvex_GetUptime", ctypes.c_double))
