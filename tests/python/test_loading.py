"""Where the package finds the device library, and what it says when it
cannot use one."""

import os
import shutil
import subprocess
from pathlib import Path

import pytest

from support import probe_one

PACKAGE = Path(__file__).resolve().parent.parent.parent / "python" / "orvex"


def _compile(tmp_path: Path, name: str, source: str) -> Path:
    """A shared library built from source with the project's C compiler."""
    c_file = tmp_path / f"{name}.c"
    c_file.write_text(source)
    library = tmp_path / f"{name}.so"
    compiler = os.environ.get("ORVEX_TEST_CC") or "cc"
    subprocess.run([compiler, "-shared", "-fPIC", "-o", str(library), str(c_file)], check=True)
    return library


def _copy_package(root: Path) -> Path:
    """The package copied below root, without any generated file."""
    target = root / "orvex"
    shutil.copytree(PACKAGE, target, ignore=shutil.ignore_patterns("__pycache__", "_install_layout.py"))
    return root


def _outside(tmp_path: Path, **knobs) -> dict:
    """Knobs for a child that finds only the package copied to tmp_path."""
    return {"PYTHONPATH": str(tmp_path), "ORVEX_LIBRARY": None, "LD_LIBRARY_PATH": None, **knobs}


def test_a_named_library_that_does_not_exist_is_reported_by_its_name():
    missing = "/nonexistent/libOrvex.so.1"
    error = probe_one("orvex.version()", {"ORVEX_LIBRARY": missing}, open_module=False)["error"]
    assert error["type"] == "LibraryError"
    assert missing in error["text"] and "ORVEX_LIBRARY" in error["text"]
    assert error["tried"] == [missing]


@pytest.mark.parametrize(
    "source, words",
    [
        ("unsigned short Orvex_Version(void) { return 0x0200; }", "has version 2.00"),
        ("unsigned short Orvex_Version(void) { return 0x0001; }", "has version 0.01"),
        ("int unrelated(void) { return 0; }", "is not the Orvex device library"),
        ("unsigned short Orvex_Version(void) { return 0x0103; }", "lacks a function"),
    ],
)
def test_a_library_that_is_not_a_version_1_device_library_is_refused(tmp_path, source, words):
    library = _compile(tmp_path, "libfake", source)
    error = probe_one("orvex.version()", {"ORVEX_LIBRARY": str(library)}, open_module=False)
    assert error["error"]["type"] == "LibraryError"
    assert str(library) in error["error"]["text"] and words in error["error"]["text"]


def test_an_adapter_of_another_major_version_is_refused_at_open():
    first, second, third = [
        probe_one(s, {"TARVISH_VERSION": "0x0200"}, open_module=False)
        for s in ("orvex.adapter_version()", "orvex.version()", "orvex.open()")
    ]
    assert first["value"] == [2, 0]
    assert second["value"] == [1, 0]
    assert third["error"]["type"] == "LibraryError"
    assert "libTarvish.so.1 has version 2.00" in third["error"]["text"]
    assert third["trace"] == []


def test_in_a_checkout_the_library_comes_from_build_lib(tmp_path, library_file):
    _copy_package(tmp_path / "python")
    (tmp_path / "python" / "pyproject.toml").write_text("")
    (tmp_path / "CMakeLists.txt").write_text("")
    (tmp_path / "build" / "lib").mkdir(parents=True)
    (tmp_path / "build" / "lib" / "libOrvex.so.1").symlink_to(library_file)
    outcome = probe_one("orvex.library_path()", _outside(tmp_path / "python"), open_module=False)
    assert outcome["value"] == str(tmp_path / "build" / "lib" / "libOrvex.so.1")


def test_an_installed_package_takes_the_library_of_its_installation(tmp_path, library_file):
    site = _copy_package(tmp_path / "lib" / "python3" / "site-packages")
    (site / "orvex" / "_install_layout.py").write_text('LIBRARY_DIR = "../../.."\n')
    (tmp_path / "lib" / "libOrvex.so.1").symlink_to(library_file)
    outcome = probe_one("orvex.open().product_number", _outside(site), open_module=False)
    assert outcome["value"] == 4711
    path = probe_one("orvex.library_path()", _outside(site), open_module=False)["value"]
    assert path == str(tmp_path / "lib" / "libOrvex.so.1")


def test_elsewhere_the_system_loader_finds_the_library(tmp_path, library_file):
    _copy_package(tmp_path)
    knobs = _outside(tmp_path, LD_LIBRARY_PATH=str(library_file.parent))
    outcome = probe_one("orvex.library_path()", knobs, open_module=False)
    assert Path(outcome["value"]).resolve() == library_file


def test_a_library_found_nowhere_is_reported_with_what_was_tried(tmp_path):
    _copy_package(tmp_path)
    error = probe_one("orvex.version()", _outside(tmp_path), open_module=False)["error"]
    assert error["type"] == "LibraryError"
    assert "libOrvex.so.1 (through the system's loader)" in error["text"]
    assert "ORVEX_LIBRARY" in error["text"]
    assert error["tried"] == ["libOrvex.so.1"]


def test_importing_the_package_loads_nothing(tmp_path):
    outcome = probe_one("orvex.Mode(2).name", {"ORVEX_LIBRARY": "/nonexistent"}, open_module=False)
    assert outcome["value"] == "AMPLITUDE_CONTROL"
