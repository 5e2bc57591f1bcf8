"""``pip install --no-build-isolation`` builds and installs the package
without network, and the installed package runs."""

import shutil
import subprocess
import sys
from pathlib import Path

from support import clean_environment, run

SOURCE = Path(__file__).resolve().parent.parent.parent / "python"


def test_pip_installs_a_working_package(tmp_path):
    # Built from a copy, so that the build leaves nothing in the checkout.
    source = tmp_path / "source"
    shutil.copytree(SOURCE, source, ignore=shutil.ignore_patterns("__pycache__", "build", "*.egg-info"))
    site = tmp_path / "site"
    subprocess.run(
        [sys.executable, "-m", "pip", "install", "--quiet", "--no-build-isolation", "--no-deps",
         "--no-index", "--target", str(site), str(source)],
        env=clean_environment({"PIP_DISABLE_PIP_VERSION_CHECK": "1"}),
        check=True,
        capture_output=True,
    )
    knobs = {"PYTHONPATH": str(site)}
    where = run(["-c", "import orvex; print(orvex.__file__)"], knobs, cwd=tmp_path)
    assert Path(where.stdout.strip()).parent == site / "orvex"
    assert (site / "orvex" / "py.typed").is_file()
    info = run(["-m", "orvex", "info"], knobs, cwd=tmp_path)
    assert "product_id: Orvex two-channel signal module, simulated\n" in info.stdout
    script = subprocess.run(
        [str(site / "bin" / "orvex"), "watch", "--count", "1"],
        env=clean_environment(knobs), capture_output=True, text=True, check=True,
    )
    assert script.stdout.startswith("time_s,x_V,y_V\n")
