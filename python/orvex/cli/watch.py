"""``orvex watch``: readings as CSV on standard output, one line per
reading, until ``--count`` readings or Ctrl+C."""

from __future__ import annotations

import argparse
import math
import sys
import time
from typing import Any, Callable, Dict, List, NamedTuple, Optional

from ..module import Module


class Series(NamedTuple):
    """What one kind of watch reads: the CSV header after ``time_s`` and a
    function giving one line's values as text."""

    columns: List[str]
    read: Callable[[Module], List[str]]


def _field(value: Optional[float], form: str) -> str:
    # A reading the module does not have is an empty field.
    return "" if value is None else format(value, form)


SERIES: Dict[str, Series] = {
    "amplitude": Series(
        ["x_V", "y_V"],
        lambda m: [_field(m.x.measured_amplitude, ".3f"), _field(m.y.measured_amplitude, ".3f")],
    ),
    "uptime": Series(["uptime_s"], lambda m: [_field(m.uptime, ".6f")]),
    "housekeeping": Series(
        ["supply_5v_V", "supply_3v_V", "temperature_K"],
        lambda m: [
            _field(m.supply_5v, ".3f"),
            _field(m.supply_3v, ".3f"),
            _field(m.temperature, ".2f"),
        ],
    ),
}


def _interval(text: str) -> float:
    try:
        seconds = float(text)
    except ValueError:
        seconds = math.nan
    if not (math.isfinite(seconds) and seconds > 0):
        raise argparse.ArgumentTypeError(f"the interval must be a positive number of seconds, not {text!r}")
    return seconds


def _count(text: str) -> int:
    try:
        count = int(text)
    except ValueError:
        count = 0
    if count < 1:
        raise argparse.ArgumentTypeError(f"the count must be a positive whole number, not {text!r}")
    return count


def add_command(commands: Any) -> None:
    parser = commands.add_parser("watch", help="log readings as CSV until --count or Ctrl+C")
    parser.add_argument("--what", choices=sorted(SERIES), default="amplitude",
                        help="what to read (default: amplitude, the measured amplitude of X and Y)")
    parser.add_argument("--interval", type=_interval, default=0.1, metavar="S",
                        help="seconds between readings (default: 0.1)")
    parser.add_argument("--count", type=_count, metavar="N",
                        help="stop after N readings (default: until Ctrl+C)")
    parser.set_defaults(run=run)


def _emit(line: str) -> None:
    sys.stdout.write(line + "\n")
    sys.stdout.flush()


def watch(module: Module, series: Series, interval: float, count: Optional[int]) -> None:
    """Writes the header and then one line per reading. Readings keep to a
    fixed schedule from the start; one that runs late moves the schedule
    rather than being followed by a burst."""
    _emit(",".join(["time_s", *series.columns]))
    start = time.monotonic()
    due = start
    taken = 0
    while count is None or taken < count:
        wait = due - time.monotonic()
        if wait > 0:
            time.sleep(wait)
        at = time.monotonic() - start
        _emit(",".join([f"{at:.6f}", *series.read(module)]))
        taken += 1
        due = max(due + interval, time.monotonic())


def run(open_module: Callable[[], Module], arguments: argparse.Namespace) -> int:
    try:
        watch(open_module(), SERIES[arguments.what], arguments.interval, arguments.count)
    except KeyboardInterrupt:
        pass  # Ctrl+C is the usual end of a watch.
    return 0
