"""One output channel of the module, X or Y."""

from __future__ import annotations

import ctypes
from typing import Any, Tuple, Union

from . import limits
from ._float32 import shortest
from ._port import Port
from .values import Filter, HighPass, Mode

_NAMES = ("X", "Y")


class Channel:
    """Channel X (0) or Y (1) of a module.

    Every property reads the module afresh; every setter checks its limit
    first and then sends the value at once. A failed transaction raises
    ``orvex.AdapterError``; a value outside its limit raises ``ValueError``
    before anything is sent.
    """

    def __init__(self, port: Port, index: int) -> None:
        self._port = port
        self._index = index

    @property
    def index(self) -> int:
        """0 for channel X, 1 for channel Y."""
        return self._index

    @property
    def name(self) -> str:
        """``"X"`` or ``"Y"``."""
        return _NAMES[self._index]

    def __repr__(self) -> str:
        return f"<orvex.Channel {self.name}>"

    def _get(self, function: str, kind: Any) -> Any:
        value = kind()
        self._port.call(function, self._index, ctypes.byref(value))
        return value.value

    def _reading(self, function: str) -> float:
        return shortest(float(self._get(function, ctypes.c_float)))

    def _set(self, function: str, value: Any) -> None:
        self._port.call(function, self._index, value)

    # ---- output settings ------------------------------------------------

    @property
    def amplification(self) -> float:
        """Amplification, a plain factor in steps of 1/256; set from 0 to
        below 256."""
        return self._reading("Orvex_GetAmplification")

    @amplification.setter
    def amplification(self, value: float) -> None:
        self._set("Orvex_SetAmplification", limits.real(limits.AMPLIFICATION, value))

    @property
    def polarity(self) -> int:
        """Polarity: 0 positive, 1 negative (the module may report any other
        non-zero byte, which also means negative); set 0 or 1."""
        return int(self._get("Orvex_GetPolarity", ctypes.c_uint8))

    @polarity.setter
    def polarity(self, value: int) -> None:
        self._set("Orvex_SetPolarity", limits.integer(limits.POLARITY, value))

    @property
    def offset(self) -> float:
        """Offset in volts, -10 V to 10 V, in steps of 10/32768 V."""
        return self._reading("Orvex_GetOffset")

    @offset.setter
    def offset(self, value: float) -> None:
        self._set("Orvex_SetOffset", limits.real(limits.OFFSET, value))

    @property
    def amplitude(self) -> float:
        """Desired amplitude in volts, from 0 V to below 5 V, in steps of
        1 mV."""
        return self._reading("Orvex_GetAmplitude")

    @amplitude.setter
    def amplitude(self, value: float) -> None:
        self._set("Orvex_SetAmplitude", limits.real(limits.AMPLITUDE, value))

    @property
    def measured_amplitude(self) -> float:
        """Measured amplitude in volts, in steps of 1 mV (read only)."""
        return self._reading("Orvex_GetMeasAmplit")

    @property
    def mode(self) -> Union[Mode, int]:
        """Operation mode, an ``orvex.Mode``; a byte the module reports
        outside the three modes comes back as a plain ``int``. Set 0 to 2."""
        raw = int(self._get("Orvex_GetOperMode", ctypes.c_uint8))
        try:
            return Mode(raw)
        except ValueError:
            return raw

    @mode.setter
    def mode(self, value: Union[Mode, int]) -> None:
        self._set("Orvex_SetOperMode", limits.integer(limits.MODE, value))

    # ---- filters ----------------------------------------------------------

    def _pair(self, function: str) -> Tuple[int, int]:
        alpha = ctypes.c_uint16()
        beta = ctypes.c_uint8()
        self._port.call(function, self._index, ctypes.byref(alpha), ctypes.byref(beta))
        return alpha.value, beta.value

    @property
    def lpf(self) -> Filter:
        """The low-pass filter in force: Alpha, Beta, corner frequency (Hz)
        and damping."""
        alpha, beta = self._pair("Orvex_GetLPF")
        handle = self._port.library.handle
        return Filter(
            alpha,
            beta,
            float(handle.Orvex_GetLPF_Frequency(alpha, beta)),
            float(handle.Orvex_GetLPF_Damping(alpha, beta)),
        )

    @property
    def flt(self) -> Filter:
        """The amplitude low-pass filter (FLT) in force: Alpha, Beta, corner
        frequency (Hz) and damping."""
        alpha, beta = self._pair("Orvex_GetFLT")
        handle = self._port.library.handle
        return Filter(
            alpha,
            beta,
            float(handle.Orvex_GetFLT_Frequency(alpha, beta)),
            float(handle.Orvex_GetFLT_Damping(alpha, beta)),
        )

    @property
    def hpf(self) -> HighPass:
        """The high-pass filter in force: Tau and corner frequency (Hz)."""
        tau = int(self._get("Orvex_GetHPF_Tau", ctypes.c_uint8))
        return HighPass(tau, float(self._port.library.handle.Orvex_GetHPF_Frequency(tau)))

    def set_lpf_beta(self, beta: int) -> None:
        """Sets the LPF Beta, 2 to 24; the module derives Alpha."""
        self._set("Orvex_SetLPF", limits.integer(limits.LPF_BETA, beta))

    def set_flt_beta(self, beta: int) -> None:
        """Sets the FLT Beta, 2 to 24; the module derives Alpha."""
        self._set("Orvex_SetFLT", limits.integer(limits.FLT_BETA, beta))

    def set_hpf_tau(self, tau: int) -> None:
        """Sets the HPF Tau, 1 to 20."""
        self._set("Orvex_SetHPF_Tau", limits.integer(limits.HPF_TAU, tau))
