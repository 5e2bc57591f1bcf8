"""``python -m orvex info``: one ``name: value unit`` line per value."""

import re
from pathlib import Path

import pytest

from support import orvex_command

NAMES = (
    "library library_version adapter_version slot product_id product_number firmware_version"
    " firmware_date supply_5v supply_3v temperature clock_cpu clock_peripheral clock_adc"
    " clock_dac clock_filter uptime offset_range"
).split() + [
    f"{c}.{name}"
    for c in "xy"
    for name in (
        "amplification polarity offset amplitude measured_amplitude mode lpf.alpha lpf.beta"
        " lpf.frequency lpf.damping hpf.tau hpf.frequency flt.alpha flt.beta flt.frequency"
        " flt.damping"
    ).split()
]


def _report(done):
    assert (done.returncode, done.stderr) == (0, "")
    lines = done.stdout.splitlines()
    assert all(re.fullmatch(r"[a-z0-9_.]+: \S.*", line) for line in lines), lines
    return dict(line.split(": ", 1) for line in lines), [line.split(": ")[0] for line in lines]


def test_info_reports_every_value_once_in_order(library_file):
    values, names = _report(orvex_command(["info"]))
    assert names == NAMES
    expected = {
        "library_version": "1.00",
        "adapter_version": "1.00",
        "slot": "0",
        "product_id": "Orvex two-channel signal module, simulated",
        "product_number": "4711",
        "firmware_version": "1-05",
        "firmware_date": "Nov 27 2026",
        "clock_cpu": "48000000 Hz",
        "clock_dac": "96000 Hz",
        "offset_range": "10.00 V",
        "x.amplification": "1.0000",
        "x.polarity": "0 (positive)",
        "y.offset": "+0.0000 V",
        "y.amplitude": "1.000 V",
        "x.measured_amplitude": "0.000 V",
        "y.mode": "0 (output off)",
        "x.lpf.alpha": "108",
        "x.lpf.beta": "10",
        "x.lpf.frequency": "511.2793 Hz",
        "x.lpf.damping": "0.8674",
        "y.hpf.tau": "5",
        "y.hpf.frequency": "497.3592 Hz",
        "y.flt.frequency": "10.22559 Hz",
    }
    assert {name: values[name] for name in expected} == expected
    assert re.fullmatch(r"5\.\d{3} V", values["supply_5v"])
    assert re.fullmatch(r"\d{3}\.\d{2} K", values["temperature"])
    assert re.fullmatch(r"\d+\.\d{3} s", values["uptime"])
    assert Path(values["library"]).resolve() == library_file


def test_info_shows_missing_readings_and_unknown_modes():
    values, _ = _report(orvex_command(["info"], {"TARVISH_REPLY": "07=0080,08=FFFF,21=07,18=01"}))
    assert values["supply_3v"] == "n/a"
    assert values["temperature"] == "n/a"
    assert values["x.mode"] == "7 (invalid mode)"
    assert values["y.polarity"] == "1 (negative)"


def test_info_selects_the_slot_given():
    values, _ = _report(orvex_command(["--slot", "0x07", "info"], {"TARVISH_MODULE_SLOT": "7"}))
    assert values["slot"] == "7"


@pytest.mark.parametrize(
    "arguments, knobs, line",
    [
        (["info"], {"TARVISH_MODULE_SLOT": "none"}, "orvex: no Orvex module answers in slot 0"),
        (["--slot", "256", "info"], {}, "orvex: slot must be from 0 to 255, not 256"),
        (["--slot", "seven", "info"], {}, "orvex: argument --slot: not a slot number: 'seven'"),
        (["info"], {"ORVEX_LIBRARY": "/nonexistent/libOrvex.so.1"},
         "orvex: cannot load the Orvex device library /nonexistent/libOrvex.so.1"),
        (["info"], {"TARVISH_FAIL": "Open"}, "orvex: Tarvish_Open failed with status -100"),
        ([], {}, "orvex: the following arguments are required: COMMAND"),
        (["status"], {}, "orvex: argument COMMAND: invalid choice: 'status'"),
    ],
)
def test_an_error_is_one_line_on_standard_error_and_status_1(arguments, knobs, line):
    done = orvex_command(arguments, knobs)
    assert done.returncode == 1
    assert done.stdout == ""
    assert len(done.stderr.splitlines()) == 1
    assert done.stderr.startswith(line)


def test_a_failure_in_the_middle_of_info_prints_no_half_report():
    # Receive 1 is the presence check's, then come the product number, the
    # firmware version and the 5 V supply.
    done = orvex_command(["info"], {"TARVISH_FAIL": "Receive@4"})
    assert (done.returncode, done.stdout) == (1, "")
    assert done.stderr == (
        "orvex: Orvex_Get5V failed with status -100: Injected failure of Tarvish_Receive"
        " (call 4) (I/O error: Simulated I/O error)\n"
    )
