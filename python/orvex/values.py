"""The value types the module's readings come in."""

from __future__ import annotations

import enum
from typing import NamedTuple


class Mode(enum.IntEnum):
    """A channel's operation mode."""

    OUTPUT_OFF = 0
    MAXIMUM_DAMPING = 1
    AMPLITUDE_CONTROL = 2

    def describe(self) -> str:
        """The console's name of the mode, for example ``amplitude control``."""
        return self.name.lower().replace("_", " ")


class Filter(NamedTuple):
    """A low-pass filter (LPF or the amplitude filter FLT) of one channel.

    Attributes:
        alpha: damping coefficient, 0 to 65535, as the module holds it.
        beta: frequency exponent, as the module holds it.
        frequency: corner frequency in Hz, 0.0 when the pair has none.
        damping: damping figure, 0.0 when the pair has none.
    """

    alpha: int
    beta: int
    frequency: float
    damping: float


class HighPass(NamedTuple):
    """The high-pass filter (HPF) of one channel.

    Attributes:
        tau: time-constant exponent, as the module holds it.
        frequency: corner frequency in Hz.
    """

    tau: int
    frequency: float


class Clocks(NamedTuple):
    """The module's five clock frequencies, in Hz."""

    cpu: float
    peripheral: float
    adc: float
    dac: float
    filter: float
