import os
import pathlib
import subprocess
import sys

import pytest

FAKES = os.environ.get("TVB_CLIENT_FAKES")


def import_with(library):
    environment = dict(os.environ, TVBCCLIB_LIBRARY=str(library))
    return subprocess.run([sys.executable, "-c", "import tvb"], env=environment, capture_output=True, text=True)


@pytest.mark.skipif(not FAKES, reason="TVB_CLIENT_FAKES names the fake libraries of the build (CTest sets it)")
@pytest.mark.parametrize("variant, message", [
    ("missing", "cannot load {path} (set TVBCCLIB_LIBRARY to the path of libtvbcclib.so)"),
    ("refusing_api", "{path}: fake tvbcclib: API version 2 refused"),
    ("lacking_setdebug", "{path} does not match this package: fake tvbcclib: tvbSetDebug is not in this build"),
    ("withholding_getlevel", "{path} does not match this package: it has no entry c__tvbgetlevel"),
])
def test_a_library_that_does_not_match_is_refused_at_import(variant, message):
    path = pathlib.Path(FAKES) / variant / "libtvbcclib.so"
    run = import_with(path)
    assert run.returncode != 0 and "tvb.errors.Error: " + message.format(path=path) in run.stderr
