import os
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import pytest  # noqa: E402


@pytest.fixture
def built():
    """The build, the stand-ins and the catalogue that an end-to-end run needs."""
    import e2e
    e2e.require_build()

