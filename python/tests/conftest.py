import os
import subprocess
import sys

import pytest

import orvdocs  # noqa: F401  (registers the library once for the test process)

EXAMPLES = os.environ.get("ORVDOCS_EXAMPLES",
                          os.path.join(os.path.dirname(__file__), "..", "examples"))
DATA = os.path.join(os.environ.get("ORVDOCS_DATA_DIR",
                                   os.path.join(os.path.dirname(__file__), "..", "..", "data")), "store")


def run_example(name, *args):
    """Runs an example script as its own process; returns its standard output."""
    done = subprocess.run([sys.executable, os.path.join(EXAMPLES, name), *map(str, args)],
                          capture_output=True, text=True, env=dict(os.environ), timeout=120)
    assert done.returncode == 0, done.stderr
    return done.stdout


@pytest.fixture(scope="session")
def sample_store(tmp_path_factory):
    """A store file built by the example builder: (path, loan address, sick-leave address)."""
    path = tmp_path_factory.mktemp("store") / "sample.db"
    out = run_example("make_sample_store.py", path, DATA)
    words = out.split()
    loan = int(words[words.index("loan") + 3].rstrip(","))
    sick = int(words[words.index("sick") + 4])
    return str(path), loan, sick
