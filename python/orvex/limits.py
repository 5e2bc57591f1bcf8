"""The limits every setter checks before anything is sent to the module.

They are the console program's limits. A real value is checked as the
32-bit float the device library receives, so that a value that would round
onto a limit is judged as what is sent.
"""

from __future__ import annotations

import math
import numbers
import operator
from typing import NamedTuple

from ._float32 import narrow

_FLOAT_MAX = 3.4028234663852886e38


class Limit(NamedTuple):
    """An accepted range: from ``low`` to ``high``, each end included unless
    marked open."""

    name: str
    low: float
    high: float
    unit: str = ""
    low_open: bool = False
    high_open: bool = False

    def admits(self, value: float) -> bool:
        above = value > self.low if self.low_open else value >= self.low
        below = value < self.high if self.high_open else value <= self.high
        return above and below

    def describe(self) -> str:
        """The range in words, for example ``from 0 V to below 5 V``."""
        unit = f" {self.unit}" if self.unit else ""
        low = f"above {_number(self.low)}{unit}" if self.low_open else f"from {_number(self.low)}{unit}"
        high = f"below {_number(self.high)}{unit}" if self.high_open else f"{_number(self.high)}{unit}"
        return f"{low} to {high}"


def _number(value: float) -> str:
    return str(int(value)) if float(value).is_integer() else str(value)


# The console's limits.
AMPLIFICATION = Limit("amplification", 0, 256, high_open=True)
OFFSET = Limit("offset", -10, 10, "V")
OFFSET_RANGE = Limit("offset range", 0, 10, "V", low_open=True)
AMPLITUDE = Limit("desired amplitude", 0, 5, "V", high_open=True)
POLARITY = Limit("polarity", 0, 1)
MODE = Limit("mode", 0, 2)
LPF_BETA = Limit("LPF Beta", 2, 24)
FLT_BETA = Limit("FLT Beta", 2, 24)
HPF_TAU = Limit("HPF Tau", 1, 20)
SLOT = Limit("slot", 0, 255)
CHANNEL = Limit("channel", 0, 1)

# What the conversions' C arguments hold.
ALPHA = Limit("Alpha", 0, 0xFFFF)
BETA = Limit("Beta", 0, 0xFF)
TAU = Limit("Tau", 0, 0xFF)


def _refuse(limit: Limit, value: object) -> ValueError:
    return ValueError(f"{limit.name} must be {limit.describe()}, not {value!r}")


def real(limit: Limit, value: float) -> float:
    """The value as the 32-bit float that is sent, when it lies within the
    limit.

    Raises:
        TypeError: the value is not a real number.
        ValueError: it is NaN, infinite or outside the limit.
    """
    if isinstance(value, bool) or not isinstance(value, numbers.Real):
        raise TypeError(f"{limit.name} must be a real number, not {type(value).__name__}")
    wide = float(value)
    if not math.isfinite(wide) or abs(wide) > _FLOAT_MAX:
        raise _refuse(limit, value)
    sent = narrow(wide)
    if not limit.admits(sent):
        raise _refuse(limit, value)
    return sent


def integer(limit: Limit, value: int) -> int:
    """The value when it is an integer within the limit.

    Raises:
        TypeError: the value is not an integer.
        ValueError: it lies outside the limit.
    """
    if isinstance(value, bool):
        raise TypeError(f"{limit.name} must be an integer, not bool")
    try:
        whole = operator.index(value)
    except TypeError:
        raise TypeError(f"{limit.name} must be an integer, not {type(value).__name__}") from None
    if not limit.admits(whole):
        raise _refuse(limit, value)
    return whole
