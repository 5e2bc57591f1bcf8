"""Readings decoded from fixed answers of the module (the adapter's reply
knob): units, missing readings as None, bytes outside the defined values,
and the texts cut to the library's buffers."""

import pytest

from support import probe

LONG_TEXT = "A" * 100
FIXED = {
    "06": "0080",  # 5 V supply: no reading
    "07": "8180",  # 3 V supply: raw 0x8081, read unsigned
    "08": "0080",  # temperature: raw 0x8000 is a reading
    "05": "100E00000002",  # uptime 3600 s and 512/1024 s
    "09": "0024F400",  # CPU clock 16 MHz
    "03": "0201",  # firmware: minor 2, major 1
    "02": "04030201",
    "04": (b"2026-11-27 build 42".hex()),  # longer than the 15 characters kept
    "01": LONG_TEXT.encode().hex(),
    "21": "07",  # X mode outside the three
    "18": "07",  # Y polarity byte 7
    "11": "040002",  # X LPF: Alpha 4, Beta 2
    "1C": "6C000A",  # Y FLT: Alpha 108, Beta 10
    "14": "14",  # Y HPF Tau 20
}
OTHER = {"06": "8913", "07": "0080", "08": "FFFF", "20": "D204"}

CASES = [
    (FIXED, "m.supply_5v", None),
    (FIXED, "m.supply_3v", 32.897),
    (FIXED, "m.temperature", 327.68),
    (OTHER, "m.supply_5v", 5.001),
    (OTHER, "m.supply_3v", None),
    (OTHER, "m.temperature", None),
    (OTHER, "m.y.measured_amplitude", 1.234),
    (FIXED, "m.uptime", 3600.5),
    (FIXED, "m.clocks.cpu", 16000000.0),
    (FIXED, "m.firmware_version", [1, 2]),
    (FIXED, "m.product_number", 0x01020304),
    (FIXED, "m.firmware_date", "2026-11-27 buil"),
    (FIXED, "m.product_id", "A" * 80),
    (FIXED, "m.x.mode", 7),
    (FIXED, "type(m.x.mode).__name__", "int"),
    (FIXED, "m.y.mode", {"Mode": "OUTPUT_OFF"}),
    (FIXED, "m.y.polarity", 7),
    (FIXED, "tuple(m.x.lpf)", [4, 2, 15915.494140625, 1.0]),
    (FIXED, "m.y.flt[:2]", [108, 10]),
    (FIXED, "m.y.flt.frequency == orvex.flt_frequency(108, 10)", True),
    (FIXED, "m.y.flt.damping == orvex.damping(108, 10)", True),
    (FIXED, "tuple(m.y.hpf) == (20, orvex.hpf_frequency(20))", True),
]


@pytest.fixture(scope="module")
def readings():
    results = {}
    for replies in (FIXED, OTHER):
        knob = ",".join(f"{code}={data}" for code, data in replies.items())
        statements = [s for r, s, _ in CASES if r is replies]
        for outcome in probe(statements, {"TARVISH_REPLY": knob}):
            results[(id(replies), outcome["statement"])] = outcome
    return results


@pytest.mark.parametrize("replies, statement, expected", CASES)
def test_a_reading_is_decoded_in_its_unit(readings, replies, statement, expected):
    outcome = readings[(id(replies), statement)]
    assert "error" not in outcome, outcome
    assert outcome["value"] == expected
