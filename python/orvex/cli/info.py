"""``orvex info``: everything the module tells, one ``name: value unit``
line each."""

from __future__ import annotations

import argparse
from typing import Any, Callable, Iterator, List, Optional, Tuple

from .. import adapter_version, library_path, version
from ..channel import Channel
from ..module import Module
from ..values import Filter, Mode

Line = Tuple[str, str]


def add_command(commands: Any) -> None:
    parser = commands.add_parser(
        "info", help="print identification, housekeeping, clocks and every setting"
    )
    parser.set_defaults(run=run)


def _quantity(value: Optional[float], form: str, unit: str = "") -> str:
    if value is None:
        return "n/a"
    text = format(value, form)
    return f"{text} {unit}" if unit else text


def _polarity(value: int) -> str:
    return f"{value} ({'negative' if value else 'positive'})"


def _mode(value: Any) -> str:
    name = value.describe() if isinstance(value, Mode) else "invalid mode"
    return f"{int(value)} ({name})"


def _filter(prefix: str, values: Filter) -> Iterator[Line]:
    yield f"{prefix}.alpha", str(values.alpha)
    yield f"{prefix}.beta", str(values.beta)
    yield f"{prefix}.frequency", _quantity(values.frequency, ".7g", "Hz")
    yield f"{prefix}.damping", _quantity(values.damping, ".4f")


def _channel(channel: Channel) -> Iterator[Line]:
    p = channel.name.lower()
    yield f"{p}.amplification", _quantity(channel.amplification, ".4f")
    yield f"{p}.polarity", _polarity(channel.polarity)
    yield f"{p}.offset", _quantity(channel.offset, "+.4f", "V")
    yield f"{p}.amplitude", _quantity(channel.amplitude, ".3f", "V")
    yield f"{p}.measured_amplitude", _quantity(channel.measured_amplitude, ".3f", "V")
    yield f"{p}.mode", _mode(channel.mode)
    yield from _filter(f"{p}.lpf", channel.lpf)
    hpf = channel.hpf
    yield f"{p}.hpf.tau", str(hpf.tau)
    yield f"{p}.hpf.frequency", _quantity(hpf.frequency, ".7g", "Hz")
    yield from _filter(f"{p}.flt", channel.flt)


def lines(module: Module) -> Iterator[Line]:
    """Every line of the report, read in order."""
    major, minor = version()
    yield "library", library_path()
    yield "library_version", f"{major}.{minor:02d}"
    major, minor = adapter_version()
    yield "adapter_version", f"{major}.{minor:02d}"
    yield "slot", str(module.slot)
    yield "product_id", module.product_id
    yield "product_number", str(module.product_number)
    major, minor = module.firmware_version
    yield "firmware_version", f"{major}-{minor:02d}"
    yield "firmware_date", module.firmware_date
    yield "supply_5v", _quantity(module.supply_5v, ".3f", "V")
    yield "supply_3v", _quantity(module.supply_3v, ".3f", "V")
    yield "temperature", _quantity(module.temperature, ".2f", "K")
    for name, hertz in module.clocks._asdict().items():
        yield f"clock_{name}", _quantity(hertz, ".0f", "Hz")
    yield "uptime", _quantity(module.uptime, ".3f", "s")
    yield "offset_range", _quantity(module.offset_range, ".2f", "V")
    for channel in module.channels:
        yield from _channel(channel)


def run(open_module: Callable[[], Module], arguments: argparse.Namespace) -> int:
    # Everything is read first, so that a failure prints no half report.
    report: List[Line] = list(lines(open_module()))
    print("\n".join(f"{name}: {value}" for name, value in report), flush=True)
    return 0
