"""The bench script of the README runs as shown over the simulated module."""

import re
from pathlib import Path

from support import run

README = Path(__file__).resolve().parent.parent.parent / "README.md"


def _bench_script() -> str:
    python_section = README.read_text().split("\n## Python\n", 1)[1]
    return re.search(r"```python\n(.*?)```", python_section, re.S).group(1)


def test_the_bench_script_prints_the_measured_amplitude_and_five_readings():
    done = run(["-c", _bench_script()])
    assert (done.returncode, done.stderr) == (0, "")
    lines = done.stdout.splitlines()
    assert len(lines) == 6
    assert re.fullmatch(r"measured: 2\.(49\d|50\d) V", lines[0])
    assert all(re.fullmatch(r"\d+\.\d{3} s +2\.(49\d|50\d) V", line) for line in lines[1:])
