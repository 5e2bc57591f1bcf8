"""A failed transaction raises AdapterError with the status, the failing
function's name and the adapter's two texts fetched right after the failure,
and then the adapter's buffers are flushed, as the console does."""

import re

import pytest

from support import probe, probe_one

# Every Send fails with -7 and every slot and check call with its own status.
EVERY_CALL_FAILS = {"TARVISH_FAIL": "Send=-7,GetSlot=-8,SetSlot=-9,Check=-10"}

FAILING = [
    # statement, function named, status, failing adapter function
    ("m.x.amplification", "Orvex_GetAmplification", -7, "Send"),
    ("m.y.amplification = 2", "Orvex_SetAmplification", -7, "Send"),
    ("m.x.polarity", "Orvex_GetPolarity", -7, "Send"),
    ("m.y.polarity = 1", "Orvex_SetPolarity", -7, "Send"),
    ("m.x.offset", "Orvex_GetOffset", -7, "Send"),
    ("m.y.offset = 1", "Orvex_SetOffset", -7, "Send"),
    ("m.offset_range", "Orvex_GetOffsetRange", -7, "Send"),
    ("m.offset_range = 5", "Orvex_SetOffsetRange", -7, "Send"),
    ("m.x.amplitude", "Orvex_GetAmplitude", -7, "Send"),
    ("m.y.amplitude = 1", "Orvex_SetAmplitude", -7, "Send"),
    ("m.x.measured_amplitude", "Orvex_GetMeasAmplit", -7, "Send"),
    ("m.y.mode", "Orvex_GetOperMode", -7, "Send"),
    ("m.x.mode = 1", "Orvex_SetOperMode", -7, "Send"),
    ("m.x.lpf", "Orvex_GetLPF", -7, "Send"),
    ("m.y.set_lpf_beta(3)", "Orvex_SetLPF", -7, "Send"),
    ("m.y.flt", "Orvex_GetFLT", -7, "Send"),
    ("m.x.set_flt_beta(3)", "Orvex_SetFLT", -7, "Send"),
    ("m.x.hpf", "Orvex_GetHPF_Tau", -7, "Send"),
    ("m.y.set_hpf_tau(3)", "Orvex_SetHPF_Tau", -7, "Send"),
    ("m.supply_5v", "Orvex_Get5V", -7, "Send"),
    ("m.supply_3v", "Orvex_Get3V", -7, "Send"),
    ("m.temperature", "Orvex_GetTemp", -7, "Send"),
    ("m.clocks", "Orvex_GetClkCPU", -7, "Send"),
    ("m.uptime", "Orvex_GetUptime", -7, "Send"),
    ("m.firmware_version", "Orvex_FW_Ver", -7, "Send"),
    ("m.firmware_date", "Orvex_FW_Date", -7, "Send"),
    ("m.product_id", "Orvex_Prod_ID", -7, "Send"),
    ("m.product_number", "Orvex_Prod_No", -7, "Send"),
    ("m.present()", "Orvex_Check", -10, "Check"),
    ("m.slot", "Tarvish_GetSlot", -8, "GetSlot"),
    ("m.slot = 3", "Tarvish_SetSlot", -9, "SetSlot"),
]


@pytest.fixture(scope="module")
def failures(tmp_path_factory):
    trace = tmp_path_factory.mktemp("errors") / "trace"
    knobs = dict(EVERY_CALL_FAILS, TARVISH_TRACE=str(trace))
    return {o["statement"]: o for o in probe([s for s, *_ in FAILING], knobs)}


@pytest.mark.parametrize("statement, function, status, adapter", FAILING)
def test_a_failed_call_names_the_function_and_the_adapters_texts(
    failures, statement, function, status, adapter
):
    error = failures[statement]["error"]
    assert error["type"] == "AdapterError"
    assert (error["function"], error["status"]) == (function, status)
    assert re.fullmatch(rf"Injected failure of Tarvish_{adapter} \(call \d+\)", error["message"])
    assert error["io_message"] == "Simulated I/O error"
    assert error["flush_error"] is None
    assert error["text"] == (
        f"{function} failed with status {status}: {error['message']}"
        " (I/O error: Simulated I/O error)"
    )


@pytest.mark.parametrize("statement, function, status, adapter", FAILING)
def test_the_texts_are_fetched_right_after_the_failure_and_the_buffers_flushed(
    failures, statement, function, status, adapter
):
    trace = failures[statement]["trace"]
    assert re.fullmatch(rf"Tarvish_{adapter}\(.*\) = {status}", trace[-4])
    assert trace[-3].startswith("Tarvish_IO_ErrorMessage() = ")
    assert trace[-2].startswith("Tarvish_ErrorMessage() = ")
    assert trace[-1] == "Tarvish_Flush_LPT() = 0"


def test_a_failed_receive_reports_the_receive_and_the_next_call_works():
    first, second = probe(
        ["m.x.amplitude", "m.x.amplitude"], {"TARVISH_FAIL": "Receive@1"}
    )
    assert first["error"]["function"] == "Orvex_GetAmplitude"
    assert first["error"]["status"] == -100
    assert first["error"]["message"] == "Injected failure of Tarvish_Receive (call 1)"
    assert second["value"] == 1.0


def test_a_failed_flush_after_a_failure_is_reported_with_it():
    # The first flush is the one at opening; the second follows the failure.
    outcome = probe_one("m.uptime", {"TARVISH_FAIL": "Receive@1,Flush_LPT@2=-5"})
    error = outcome["error"]
    assert error["function"] == "Orvex_GetUptime"
    assert error["message"] == "Injected failure of Tarvish_Receive (call 1)"
    flush = error["flush_error"]
    assert (flush["function"], flush["status"]) == ("Tarvish_Flush_LPT", -5)
    assert flush["message"] == "Injected failure of Tarvish_Flush_LPT (call 2)"
    assert "flushing the adapter's buffers then failed too: Tarvish_Flush_LPT" in error["text"]


def test_a_port_that_does_not_open_is_not_flushed_and_a_later_open_retries(tmp_path):
    trace = tmp_path / "trace"
    first, second = probe(
        ["orvex.open()", "orvex.open().present()"],
        {"TARVISH_FAIL": "Open@1", "TARVISH_TRACE": str(trace)},
        open_module=False,
    )
    assert first["error"]["function"] == "Tarvish_Open"
    assert first["error"]["message"] == "Injected failure of Tarvish_Open (call 1)"
    assert not any("Flush" in line for line in first["trace"])
    assert second["value"] is True
    assert second["trace"][:2] == ["Tarvish_Version() = 0x0100", "Tarvish_Open() = 0"]
