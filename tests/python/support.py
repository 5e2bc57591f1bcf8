"""Running the package in child processes with the adapter's knobs."""

from __future__ import annotations

import json
import os
import subprocess
import sys
from pathlib import Path
from typing import Dict, List, Optional, Sequence

HERE = Path(__file__).resolve().parent
KNOBS = ("SLOT", "MODULE_SLOT", "FAIL", "VERSION", "TRACE", "REPLY", "STATE")


def clean_environment(extra: Optional[Dict[str, str]] = None) -> Dict[str, str]:
    """This process's environment without any knob, plus extra; a value of
    None in extra removes that variable."""
    environment = {k: v for k, v in os.environ.items() if not k.startswith("TARVISH_")}
    for name, value in (extra or {}).items():
        if value is None:
            environment.pop(name, None)
        else:
            environment[name] = value
    return environment


def run(arguments: Sequence[str], knobs: Optional[Dict[str, str]] = None,
        timeout: float = 60, cwd: Optional[Path] = None) -> subprocess.CompletedProcess:
    """Runs the test's Python with these arguments and knobs."""
    return subprocess.run(
        [sys.executable, *arguments],
        env=clean_environment(knobs),
        capture_output=True,
        text=True,
        timeout=timeout,
        cwd=cwd,
    )


def orvex_command(arguments: Sequence[str], knobs: Optional[Dict[str, str]] = None,
                  timeout: float = 60) -> subprocess.CompletedProcess:
    """``python -m orvex ARGUMENTS``."""
    return run(["-m", "orvex", *arguments], knobs, timeout)


def probe(statements: Sequence[str], knobs: Optional[Dict[str, str]] = None,
          open_module: bool = True) -> List[dict]:
    """The outcome of each statement, run one after another in one child
    process (see probe.py)."""
    arguments = [str(HERE / "probe.py")] + ([] if open_module else ["--no-open"])
    done = run([*arguments, *statements], knobs)
    assert done.returncode == 0, done.stderr
    outcomes = [json.loads(line) for line in done.stdout.splitlines()]
    assert [o["statement"] for o in outcomes] == list(statements), done.stderr
    return outcomes


def probe_one(statement: str, knobs: Optional[Dict[str, str]] = None,
              open_module: bool = True) -> dict:
    return probe([statement], knobs, open_module)[0]
