"""The filter conversions, computed by the device library's own exports.

They never touch the adapter and work before ``orvex.open()``. With
R = 2^Beta - Alpha/2 - 1, a low-pass filter's corner frequency is
K / sqrt(R) with K = 100000/(2 pi) Hz for the LPF and 2000/(2 pi) Hz for the
amplitude filter FLT, and its damping is Alpha / (4 sqrt(R)); both are 0.0
when R is not positive. Results are the library's 32-bit floats.
"""

from __future__ import annotations

import numbers
from typing import Tuple

from . import limits
from ._library import load


def _pair(alpha: int, beta: int) -> Tuple[int, int]:
    return limits.integer(limits.ALPHA, alpha), limits.integer(limits.BETA, beta)


def _damping_argument(damping: float) -> float:
    if isinstance(damping, bool) or not isinstance(damping, numbers.Real):
        raise TypeError(f"damping must be a real number, not {type(damping).__name__}")
    return float(damping)


def lpf_frequency(alpha: int, beta: int) -> float:
    """The LPF corner frequency in Hz of the pair (Alpha 0 to 65535, Beta 0
    to 255; Beta is meaningful up to 31)."""
    return float(load().handle.Orvex_GetLPF_Frequency(*_pair(alpha, beta)))


def flt_frequency(alpha: int, beta: int) -> float:
    """The amplitude filter's (FLT) corner frequency in Hz of the pair."""
    return float(load().handle.Orvex_GetFLT_Frequency(*_pair(alpha, beta)))


def damping(alpha: int, beta: int) -> float:
    """The damping of the pair, the same for LPF and FLT."""
    return float(load().handle.Orvex_GetLPF_Damping(*_pair(alpha, beta)))


def lpf_alpha(beta: int, damping: float) -> int:
    """The LPF Alpha that gives the damping at this Beta, rounded to the
    nearest integer; 0 for a damping that is not positive or NaN, at most
    65535."""
    beta = limits.integer(limits.BETA, beta)
    return int(load().handle.Orvex_GetLPF_Alpha(beta, _damping_argument(damping)))


def flt_alpha(beta: int, damping: float) -> int:
    """The FLT Alpha that gives the damping at this Beta (as ``lpf_alpha``)."""
    beta = limits.integer(limits.BETA, beta)
    return int(load().handle.Orvex_GetFLT_Alpha(beta, _damping_argument(damping)))


def hpf_frequency(tau: int) -> float:
    """The HPF corner frequency in Hz for Tau (0 to 255): 100000/(2 pi) / 2^Tau."""
    return float(load().handle.Orvex_GetHPF_Frequency(limits.integer(limits.TAU, tau)))
