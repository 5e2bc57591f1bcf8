"""The 32-bit floats the device library takes and gives."""

from __future__ import annotations

import struct


def narrow(value: float) -> float:
    """The 32-bit float nearest to value (value must fit one)."""
    result: float = struct.unpack("f", struct.pack("f", value))[0]
    return result


def shortest(value: float) -> float:
    """The decimal with the fewest digits that stands for the same 32-bit
    float, so that a reading of 1.234 V comes back as 1.234 rather than
    1.2339999675750732; narrowing it again gives the library's value."""
    for digits in range(1, 10):
        candidate = float(f"{value:.{digits}g}")
        if narrow(candidate) == value:
            return candidate
    return value
