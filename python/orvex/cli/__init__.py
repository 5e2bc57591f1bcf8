"""The command line: ``python -m orvex [--slot N] info|watch ...``.

Errors are reported with one line on standard error and status 1.
"""

from __future__ import annotations

import argparse
import os
import sys
from typing import List, NoReturn, Optional

from ..errors import OrvexError
from ..module import Module, open as open_module
from . import info, watch

PROGRAM = "orvex"


class _Parser(argparse.ArgumentParser):
    """A parser whose complaints are one line on standard error, status 1."""

    def error(self, message: str) -> NoReturn:
        self.exit(1, f"{self.prog}: {message} (see --help)\n")


def _slot(text: str) -> int:
    try:
        return int(text, 0)
    except ValueError:
        raise argparse.ArgumentTypeError(f"not a slot number: {text!r}") from None


def _parser() -> argparse.ArgumentParser:
    parser = _Parser(prog=PROGRAM, description="Reads the Orvex module behind the adapter.")
    parser.add_argument(
        "--slot", type=_slot, help="select this ZPB slot (0 to 255) first; default: the adapter's"
    )
    commands = parser.add_subparsers(dest="command", required=True, metavar="COMMAND")
    info.add_command(commands)
    watch.add_command(commands)
    return parser


def _module(slot: Optional[int]) -> Module:
    """The opened module, in the given slot, checked to be present."""
    module = open_module()
    if slot is not None:
        module.slot = slot
    if not module.present():
        raise OrvexError(f"no Orvex module answers in slot {module.slot}")
    return module


def main(argv: Optional[List[str]] = None) -> int:
    """Runs the command line; returns the exit status."""
    arguments = _parser().parse_args(argv)
    try:
        return int(arguments.run(lambda: _module(arguments.slot), arguments))
    except (OrvexError, ValueError) as error:
        print(f"{PROGRAM}: {error}", file=sys.stderr)
        return 1
    except KeyboardInterrupt:
        return 130
    except BrokenPipeError:
        # The reader went away (say, `| head`): nothing is left to write to.
        _silence_stdout()
        return 0


def _silence_stdout() -> None:
    """Points standard output at the null device, so that the interpreter's
    own final flush does not fail again."""
    devnull = os.open(os.devnull, os.O_WRONLY)
    os.dup2(devnull, sys.stdout.fileno())
    os.close(devnull)
