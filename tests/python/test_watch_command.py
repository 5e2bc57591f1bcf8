"""``python -m orvex watch``: CSV on standard output, a header and one
flushed line per reading, until --count readings or Ctrl+C."""

import csv
import io
import signal
import subprocess
import sys

import pytest

from support import clean_environment, orvex_command


def _rows(done):
    assert (done.returncode, done.stderr) == (0, "")
    return list(csv.reader(io.StringIO(done.stdout)))


@pytest.mark.parametrize(
    "what, replies, header, row",
    [
        ("amplitude", "1F=D204,20=E803", ["time_s", "x_V", "y_V"], ["1.234", "1.000"]),
        ("uptime", "05=100E00000002", ["time_s", "uptime_s"], ["3600.500000"]),
        (
            "housekeeping",
            "06=8913,07=0080,08=3075",
            ["time_s", "supply_5v_V", "supply_3v_V", "temperature_K"],
            ["5.001", "", "300.00"],
        ),
    ],
)
def test_watch_writes_a_header_and_one_line_per_reading(what, replies, header, row):
    done = orvex_command(
        ["watch", "--what", what, "--interval", "0.05", "--count", "4"], {"TARVISH_REPLY": replies}
    )
    rows = _rows(done)
    assert rows[0] == header
    assert [r[1:] for r in rows[1:]] == [row] * 4
    times = [float(r[0]) for r in rows[1:]]
    # Seconds since the watch began, each reading no earlier than its turn.
    assert all(t >= i * 0.05 for i, t in enumerate(times))
    assert times == sorted(times) and times[0] < 0.05


def test_amplitude_is_the_default_and_its_header_is_exact():
    done = orvex_command(["watch", "--count", "1", "--interval", "0.01"])
    assert done.stdout.splitlines()[0] == "time_s,x_V,y_V"
    assert len(_rows(done)) == 2


def _start_watch(*arguments):
    return subprocess.Popen(
        [sys.executable, "-m", "orvex", "watch", *arguments],
        env=clean_environment(),
        stdout=subprocess.PIPE,
        stderr=subprocess.PIPE,
        text=True,
        # As from a terminal: Ctrl+C raises in the program.
        preexec_fn=lambda: signal.signal(signal.SIGINT, signal.SIG_DFL),
    )


def test_each_line_is_flushed_at_once_and_ctrl_c_ends_cleanly():
    # With a reading every 30 s, the first line arrives long before a second
    # one or the end of the program could flush it.
    watch = _start_watch("--interval", "30")
    try:
        assert watch.stdout.readline() == "time_s,x_V,y_V\n"
        assert watch.stdout.readline().count(",") == 2
        watch.send_signal(signal.SIGINT)
        rest, errors = watch.communicate(timeout=10)
    finally:
        watch.kill()
    assert (watch.returncode, errors, rest) == (0, "", "")


def test_a_failure_while_watching_ends_it_with_one_line_and_status_1():
    # Receive 1 is the presence check's; each line takes two.
    done = orvex_command(["watch", "--count", "5", "--interval", "0.01"],
                         {"TARVISH_FAIL": "Receive@5"})
    assert done.returncode == 1
    assert len(done.stdout.splitlines()) == 2
    assert done.stderr == (
        "orvex: Orvex_GetMeasAmplit failed with status -100: Injected failure of Tarvish_Receive"
        " (call 5) (I/O error: Simulated I/O error)\n"
    )


def test_a_reader_that_goes_away_ends_the_watch_quietly():
    watch = _start_watch("--interval", "0.01")
    watch.stdout.readline()
    watch.stdout.close()
    assert watch.wait(timeout=10) == 0
    assert watch.stderr.read() == ""


@pytest.mark.parametrize(
    "arguments, words",
    [
        (["--interval", "0"], "the interval must be a positive number of seconds, not '0'"),
        (["--interval", "-1"], "the interval must be a positive number of seconds"),
        (["--interval", "nan"], "the interval must be a positive number of seconds"),
        (["--interval", "soon"], "the interval must be a positive number of seconds"),
        (["--count", "0"], "the count must be a positive whole number, not '0'"),
        (["--count", "2.5"], "the count must be a positive whole number"),
        (["--what", "volts"], "argument --what: invalid choice: 'volts'"),
    ],
)
def test_bad_options_are_one_line_on_standard_error_and_status_1(arguments, words):
    done = orvex_command(["watch", *arguments])
    assert (done.returncode, done.stdout) == (1, "")
    assert len(done.stderr.splitlines()) == 1 and words in done.stderr
