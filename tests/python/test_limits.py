"""Every setter checks the console's limits before any transfer: a value
outside is refused with ValueError naming the limit and nothing reaches the
adapter (its trace stays empty); a value on a limit goes out with the exact
bytes."""

import pytest

from support import probe

REFUSED = [
    # statement, words of the limit in the error text
    ("m.x.amplification = -0.001", "from 0 to below 256"),
    ("m.y.amplification = 256", "from 0 to below 256"),
    # as the 32-bit float the library receives, this is 256
    ("m.x.amplification = 255.99999999", "from 0 to below 256"),
    ("m.x.amplification = float('nan')", "from 0 to below 256"),
    ("m.x.amplification = float('inf')", "from 0 to below 256"),
    ("m.x.amplification = 1e39", "from 0 to below 256"),
    ("m.x.offset = -10.001", "from -10 V to 10 V"),
    ("m.y.offset = 10.001", "from -10 V to 10 V"),
    ("m.x.offset = float('-inf')", "from -10 V to 10 V"),
    ("m.offset_range = 0", "above 0 V to 10 V"),
    ("m.offset_range = -1", "above 0 V to 10 V"),
    ("m.offset_range = 10.01", "above 0 V to 10 V"),
    ("m.offset_range = float('nan')", "above 0 V to 10 V"),
    ("m.x.amplitude = -0.001", "from 0 V to below 5 V"),
    ("m.y.amplitude = 5", "from 0 V to below 5 V"),
    ("m.x.amplitude = 4.99999999", "from 0 V to below 5 V"),
    ("m.x.amplitude = float('nan')", "from 0 V to below 5 V"),
    ("m.x.polarity = -1", "from 0 to 1"),
    ("m.y.polarity = 2", "from 0 to 1"),
    ("m.x.mode = -1", "from 0 to 2"),
    ("m.y.mode = 3", "from 0 to 2"),
    ("m.x.set_lpf_beta(1)", "from 2 to 24"),
    ("m.y.set_lpf_beta(25)", "from 2 to 24"),
    ("m.x.set_flt_beta(1)", "from 2 to 24"),
    ("m.y.set_flt_beta(25)", "from 2 to 24"),
    ("m.x.set_hpf_tau(0)", "from 1 to 20"),
    ("m.y.set_hpf_tau(21)", "from 1 to 20"),
    ("m.slot = -1", "from 0 to 255"),
    ("m.slot = 256", "from 0 to 255"),
    ("m.channel(2)", "from 0 to 1"),
]

WRONG_TYPE = [
    "m.x.amplification = '1'",
    "m.x.offset = None",
    "m.x.polarity = 1.0",
    "m.x.mode = '2'",
    "m.x.set_hpf_tau(2.5)",
    "m.slot = '3'",
]

ACCEPTED = [
    # statement, the one adapter call it makes
    ("m.x.amplification = 0", "Tarvish_Send(1, [15 00 00], 3, 1) = 0"),
    ("m.y.amplification = 255.99", "Tarvish_Send(1, [16 FD FF], 3, 1) = 0"),
    ("m.x.offset = -10", "Tarvish_Send(1, [0F 00 80], 3, 1) = 0"),
    ("m.y.offset = 10", "Tarvish_Send(1, [10 FF 7F], 3, 1) = 0"),
    ("m.offset_range = 0.01", "Tarvish_Send(1, [0E 01 00], 3, 1) = 0"),
    ("m.offset_range = 10", "Tarvish_Send(1, [0E E8 03], 3, 1) = 0"),
    ("m.x.amplitude = 0", "Tarvish_Send(1, [19 00 00], 3, 1) = 0"),
    ("m.y.amplitude = 4.999", "Tarvish_Send(1, [1A 87 13], 3, 1) = 0"),
    ("m.x.polarity = 1", "Tarvish_Send(1, [17 01], 2, 1) = 0"),
    ("m.y.polarity = 0", "Tarvish_Send(1, [18 00], 2, 1) = 0"),
    ("m.x.mode = orvex.Mode.MAXIMUM_DAMPING", "Tarvish_Send(1, [21 01], 2, 1) = 0"),
    ("m.y.mode = 2", "Tarvish_Send(1, [22 02], 2, 1) = 0"),
    ("m.x.set_lpf_beta(2)", "Tarvish_Send(1, [11 02], 2, 1) = 0"),
    ("m.y.set_lpf_beta(24)", "Tarvish_Send(1, [12 18], 2, 1) = 0"),
    ("m.x.set_flt_beta(2)", "Tarvish_Send(1, [1B 02], 2, 1) = 0"),
    ("m.y.set_flt_beta(24)", "Tarvish_Send(1, [1C 18], 2, 1) = 0"),
    ("m.x.set_hpf_tau(1)", "Tarvish_Send(1, [13 01], 2, 1) = 0"),
    ("m.y.set_hpf_tau(20)", "Tarvish_Send(1, [14 14], 2, 1) = 0"),
    ("m.channel(1).set_hpf_tau(3)", "Tarvish_Send(1, [14 03], 2, 1) = 0"),
    ("m.slot = 255", "Tarvish_SetSlot(255, 1, 0) = 0"),
    ("m.slot = 0", "Tarvish_SetSlot(0, 1, 0) = 0"),
]


@pytest.fixture(scope="module")
def outcomes(tmp_path_factory):
    trace = tmp_path_factory.mktemp("limits") / "trace"
    statements = [s for s, _ in REFUSED] + WRONG_TYPE + [s for s, _ in ACCEPTED]
    return {o["statement"]: o for o in probe(statements, {"TARVISH_TRACE": str(trace)})}


@pytest.mark.parametrize("statement, limit", REFUSED)
def test_a_value_outside_its_limit_is_refused_before_any_transfer(outcomes, statement, limit):
    outcome = outcomes[statement]
    assert outcome["error"]["type"] == "ValueError"
    assert limit in outcome["error"]["text"]
    assert outcome["trace"] == []


@pytest.mark.parametrize("statement", WRONG_TYPE)
def test_a_value_of_the_wrong_type_is_refused_before_any_transfer(outcomes, statement):
    assert outcomes[statement]["error"]["type"] == "TypeError"
    assert outcomes[statement]["trace"] == []


@pytest.mark.parametrize("statement, call", ACCEPTED)
def test_a_value_on_its_limit_is_sent(outcomes, statement, call):
    assert "error" not in outcomes[statement]
    assert outcomes[statement]["trace"] == [call]
