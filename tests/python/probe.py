"""Runs statements against the package in a process of its own, as the
adapter's knobs are read once per process, and prints one JSON object per
statement: its value or error, and the trace lines the statement wrote.

Usage: probe.py [--no-open] STATEMENT...
With ``--no-open`` the module is not opened first; the statements see
``orvex``, ``m`` (the opened module, unless --no-open) and ``time``.
"""

import json
import os
import sys
import time

import orvex


def _plain(value):
    """The value in a form JSON keeps: tuples become lists, enums keep their
    kind in the name."""
    if isinstance(value, orvex.Mode):
        return {"Mode": value.name}
    if isinstance(value, tuple):
        return [_plain(v) for v in value]
    if isinstance(value, (bool, int, float, str)) or value is None:
        return value
    return repr(value)


def _error(error):
    described = {"type": type(error).__name__, "text": str(error)}
    if isinstance(error, orvex.AdapterError):
        described.update(
            status=error.status,
            function=error.function,
            message=error.message,
            io_message=error.io_message,
            flush_error=None if error.flush_error is None else _error(error.flush_error),
        )
    if isinstance(error, orvex.LibraryError):
        described["tried"] = list(error.tried)
    return described


class _Trace:
    """The lines a statement adds to the trace file, when there is one."""

    def __init__(self):
        path = os.environ.get("TARVISH_TRACE", "")
        self.path = path if path and path != "stderr" else None
        self.offset = 0

    def mark(self):
        if self.path and os.path.exists(self.path):
            self.offset = os.path.getsize(self.path)

    def lines(self):
        if not self.path or not os.path.exists(self.path):
            return []
        with open(self.path, encoding="utf-8") as trace:
            trace.seek(self.offset)
            return trace.read().splitlines()


def main(arguments):
    scope = {"orvex": orvex, "time": time}
    if arguments and arguments[0] == "--no-open":
        arguments = arguments[1:]
    else:
        scope["m"] = orvex.open()
    trace = _Trace()
    for statement in arguments:
        trace.mark()
        outcome = {"statement": statement}
        try:
            try:
                code = compile(statement, "<probe>", "eval")
            except SyntaxError:
                exec(compile(statement, "<probe>", "exec"), scope)
                outcome["value"] = None
            else:
                outcome["value"] = _plain(eval(code, scope))
        except Exception as error:  # every failure is a result here
            outcome["error"] = _error(error)
        outcome["trace"] = trace.lines()
        print(json.dumps(outcome), flush=True)


if __name__ == "__main__":
    main(sys.argv[1:])
