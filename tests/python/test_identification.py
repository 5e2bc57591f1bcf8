"""Versions, identification, housekeeping, clocks and uptime of the
simulated module."""

import time

import pytest

import orvex


def test_both_libraries_report_version_1_00():
    assert orvex.version() == (1, 0)
    assert orvex.adapter_version() == (1, 0)


def test_the_module_identifies_itself(module):
    assert module.present() is True
    assert module.firmware_version == (1, 5)
    assert module.firmware_date == "Nov 27 2026"
    assert module.product_id == "Orvex two-channel signal module, simulated"
    assert module.product_number == 4711


def test_housekeeping_reads_the_supplies_and_the_temperature(module):
    assert module.supply_5v == pytest.approx(5.0, abs=0.05)
    assert module.supply_3v == pytest.approx(3.3, abs=0.05)
    assert module.temperature == pytest.approx(300, abs=5)
    # Readings come in whole millivolts.
    assert round(module.supply_5v * 1000, 6).is_integer()


def test_the_clocks_are_read_in_hertz(module):
    assert module.clocks == orvex.Clocks(
        cpu=48e6, peripheral=24e6, adc=12e6, dac=96e3, filter=100e3
    )


def test_the_uptime_counts_seconds(module):
    first = module.uptime
    time.sleep(0.2)
    second = module.uptime
    assert 0.15 <= second - first
    assert (second * 1024).is_integer()


def test_open_again_gives_a_module_on_the_same_port(module):
    again = orvex.open()
    assert again is not module
    assert again.present()
    module.x.amplification = 3.5
    assert again.x.amplification == 3.5
