"""The filter formulas computed here in double precision and rounded to a
32-bit float as the library does, to check its results against."""

import math
import struct

LPF_RATE = 100000 / (2 * math.pi)
FLT_RATE = 2000 / (2 * math.pi)


def float32(value: float) -> float:
    return struct.unpack("f", struct.pack("f", value))[0]


def radicand(alpha: int, beta: int) -> float:
    return 2.0**beta - alpha / 2 - 1


def frequency(rate: float, alpha: int, beta: int) -> float:
    r = radicand(alpha, beta)
    return float32(rate / math.sqrt(r)) if r > 0 else 0.0


def damping(alpha: int, beta: int) -> float:
    r = radicand(alpha, beta)
    return float32(alpha / (4 * math.sqrt(r))) if r > 0 else 0.0


def hpf_frequency(tau: int) -> float:
    return float32(LPF_RATE / 2.0**tau)
