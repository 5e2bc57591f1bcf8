"""The package's tests run over the simulated adapter. The device library is
ORVEX_LIBRARY when set (CTest sets it to the build tree's), else the one the
package finds itself. No knob of the test run's environment reaches the
library or the child processes."""

import os
import sys
from pathlib import Path

import pytest

for _name in [n for n in os.environ if n.startswith("TARVISH_")]:
    del os.environ[_name]

_HERE = Path(__file__).resolve().parent
# The package of this checkout, for this process and every child.
_PACKAGE_DIR = str(_HERE.parent.parent / "python")
_paths = [p for p in os.environ.get("PYTHONPATH", "").split(os.pathsep) if p]
if _PACKAGE_DIR not in _paths:
    os.environ["PYTHONPATH"] = os.pathsep.join([_PACKAGE_DIR, *_paths])
sys.path[:0] = [_PACKAGE_DIR, str(_HERE)]

import orvex  # noqa: E402


@pytest.fixture(scope="session")
def library_file() -> Path:
    """The device library the tests run over."""
    return Path(orvex.library_path()).resolve()


@pytest.fixture(scope="session")
def module() -> orvex.Module:
    """The module over the simulated adapter of the test process itself.
    Its settings are shared by every test of the session: a test sets what
    it reads."""
    return orvex.open()
