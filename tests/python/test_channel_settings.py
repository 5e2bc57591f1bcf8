"""Every channel setting and the offset range read back as set, in the
module's steps, on the channel set and on no other."""

import math
import time

import pytest

import orvex
import oracle

ROUND_TRIPS = [
    # setting, value set, value read back
    ("amplification", 2.5, 2.5),
    ("amplification", 1.3, 333 / 256),
    ("amplification", 0, 0.0),
    ("amplification", 255.5, 255.5),
    ("offset", -1.25, -1.25),
    ("offset", 3.3, 10813 * 10 / 32768),
    ("offset", 10, 32767 * 10 / 32768),
    ("offset", -10, -10.0),
    ("amplitude", 1.234, 1.234),
    ("amplitude", 4.999, 4.999),
    ("amplitude", 0, 0.0),
    ("polarity", 1, 1),
    ("polarity", 0, 0),
    ("mode", orvex.Mode.AMPLITUDE_CONTROL, orvex.Mode.AMPLITUDE_CONTROL),
    ("mode", 1, orvex.Mode.MAXIMUM_DAMPING),
    ("mode", 0, orvex.Mode.OUTPUT_OFF),
]

# Values that no case above reads back, so that a set reaching the wrong
# channel shows.
UNTOUCHED = {"amplification": 7.0, "offset": 2.5, "amplitude": 0.777, "polarity": 1, "mode": 1}


@pytest.mark.parametrize("channel", [0, 1])
@pytest.mark.parametrize("setting, value, expected", ROUND_TRIPS)
def test_a_setting_reads_back_on_its_channel_only(module, channel, setting, value, expected):
    mine, other = module.channel(channel), module.channel(1 - channel)
    setattr(other, setting, UNTOUCHED[setting])
    setattr(mine, setting, value)
    read = getattr(mine, setting)
    assert read == pytest.approx(expected, rel=1e-7, abs=1e-9)
    assert type(read) is type(expected)
    assert getattr(other, setting) == pytest.approx(UNTOUCHED[setting], rel=1e-7)


@pytest.mark.parametrize("volts, expected", [(7.5, 7.5), (0.01, 0.01), (10, 10.0), (3.456, 3.46)])
def test_the_offset_range_reads_back_in_hundredths_of_a_volt(module, volts, expected):
    module.offset_range = volts
    assert module.offset_range == expected


@pytest.mark.parametrize("channel", [0, 1])
def test_filters_read_back_with_the_alpha_the_module_derives(module, channel):
    mine, other = module.channel(channel), module.channel(1 - channel)
    other.set_lpf_beta(10)
    other.set_flt_beta(10)
    other.set_hpf_tau(5)
    mine.set_lpf_beta(24)
    mine.set_flt_beta(12)
    mine.set_hpf_tau(7)
    alpha_24 = orvex.lpf_alpha(24, oracle.float32(math.sqrt(3) / 2))
    alpha_12 = orvex.flt_alpha(12, oracle.float32(math.sqrt(3) / 2))
    assert alpha_24 == 14186
    assert mine.lpf == orvex.Filter(
        alpha_24,
        24,
        oracle.frequency(oracle.LPF_RATE, alpha_24, 24),
        oracle.damping(alpha_24, 24),
    )
    assert mine.flt == orvex.Filter(
        alpha_12,
        12,
        oracle.frequency(oracle.FLT_RATE, alpha_12, 12),
        oracle.damping(alpha_12, 12),
    )
    assert mine.hpf == orvex.HighPass(7, oracle.hpf_frequency(7))
    assert other.lpf[:2] == (108, 10)
    assert other.flt[:2] == (108, 10)
    assert other.hpf.tau == 5


def _settle(read, wanted, seconds=3.0):
    deadline = time.monotonic() + seconds
    value = read()
    while abs(value - wanted) > 0.02 and time.monotonic() < deadline:
        time.sleep(0.02)
        value = read()
    return value


def test_the_measured_amplitude_follows_the_mode(module):
    x, y = module.x, module.y
    x.set_flt_beta(10)
    y.mode = orvex.Mode.OUTPUT_OFF
    x.amplitude = 2.0
    x.mode = orvex.Mode.AMPLITUDE_CONTROL
    assert _settle(lambda: x.measured_amplitude, 2.0) == pytest.approx(2.0, abs=0.02)
    assert y.measured_amplitude == 0.0
    x.mode = orvex.Mode.MAXIMUM_DAMPING
    assert _settle(lambda: x.measured_amplitude, 0.0) == pytest.approx(0.0, abs=0.02)
    x.mode = orvex.Mode.OUTPUT_OFF
    assert x.measured_amplitude == 0.0


def test_the_channels_are_x_and_y(module):
    assert (module.x.index, module.x.name) == (0, "X")
    assert (module.y.index, module.y.name) == (1, "Y")
    assert module.channel(0) is module.x
    assert module.channel(1) is module.y
    assert module.channels == (module.x, module.y)
