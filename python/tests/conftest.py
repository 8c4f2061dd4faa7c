import os
import pathlib
import subprocess

import pytest

REPO = pathlib.Path(__file__).resolve().parents[2]


@pytest.fixture(scope="session")
def batch():
    """Runs qalto-batch with a script text and options; returns the completed process."""
    program = os.environ.get("QALTO_BATCH", str(REPO / "build" / "qalto-batch"))

    def run(script, *options, cwd=None):
        return subprocess.run([program, *options, "-"], input=script, text=True,
                              capture_output=True, cwd=cwd)
    return run


@pytest.fixture(scope="session")
def instruments():
    folder = pathlib.Path(os.environ.get("QALTO_INSTRUMENTS", REPO.parent / "shared" / "instruments"))
    if not folder.is_dir():
        pytest.skip(f"the instrument files are not beside the project ({folder})")
    return folder
