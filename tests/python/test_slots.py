"""The slot belongs to the adapter: read and set through any module object,
and the module answers only in its own slot."""

from support import probe

SLOTS = [
    # knobs, statements, their values in order
    (
        {"TARVISH_MODULE_SLOT": "7"},
        ["m.slot", "m.present()", "setattr(m, 'slot', 7)", "m.slot", "m.present()",
         "orvex.open().slot", "m.x.amplification"],
        [0, False, None, 7, True, 7, 1.0],
    ),
    ({"TARVISH_SLOT": "9"}, ["m.slot", "m.present()"], [9, True]),
    ({"TARVISH_MODULE_SLOT": "none"}, ["m.present()"], [False]),
]


def test_the_module_answers_in_its_slot():
    for knobs, statements, values in SLOTS:
        assert [o.get("value", o.get("error")) for o in probe(statements, knobs)] == values


def test_a_slot_without_a_module_fails_with_the_adapters_words():
    error = probe(["m.x.amplitude"], {"TARVISH_MODULE_SLOT": "3"})[0]["error"]
    assert error["function"] == "Orvex_GetAmplitude"
    assert error["message"] == "No acknowledge from slot 0"
    assert error["io_message"] == "I2C address not acknowledged"


def test_the_port_is_opened_once_per_process(tmp_path):
    trace = tmp_path / "trace"
    probe(["orvex.open()", "orvex.open()"], {"TARVISH_TRACE": str(trace)})
    calls = trace.read_text().splitlines()
    assert calls.count("Tarvish_Open() = 0") == 1
    assert calls.count("Tarvish_Flush_LPT() = 0") == 1
