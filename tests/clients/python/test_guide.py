"""The guides' examples run as written: the >>> sessions through doctest, the ```console sessions through the
shell (each "$ command" with the output that follows it), and each ```c block, which quotes the example
program named in its first line, is checked against that program (which the build compiles)."""
import doctest
import pathlib
import re
import subprocess

import pytest

import tvb

SOURCE = pathlib.Path(__file__).resolve().parents[3]
BUILD = pathlib.Path(tvb.__file__).resolve().parents[3]  # build/lib/python/tvb: the build under test
PAGES = ["README.md", "docs/python.md", "docs/tvf-format.md", "docs/model-link.md"]
FLAGS = doctest.NORMALIZE_WHITESPACE | doctest.ELLIPSIS


def blocks(text, language):
    return re.findall(rf"^```{language}\n(.*?)^```", text, re.M | re.S)


@pytest.fixture
def workplace(tmp_path, monkeypatch):
    """A scratch directory that looks like the source tree to the examples, which write their files there:
    include/, examples/ and build/ (the build under test) are links."""
    for folder in ("include", "examples"):
        (tmp_path / folder).symlink_to(SOURCE / folder)
    (tmp_path / "build").symlink_to(BUILD)
    monkeypatch.chdir(tmp_path)


@pytest.mark.parametrize("document", PAGES)
def test_the_documented_examples_run_as_written(workplace, document):
    text = (SOURCE / document).read_text()
    runner = doctest.DocTestRunner(optionflags=FLAGS)
    unfenced = re.sub(r"^```.*$", "", text, flags=re.M)  # a fence is no expected output
    runner.run(doctest.DocTestParser().get_doctest(unfenced, {}, document, document, 0))
    assert runner.summarize(verbose=False).failed == 0
    # The shell sessions run after the Python ones, whose files they read.
    checker = doctest.OutputChecker()
    for session in blocks(text, "console"):
        for command, expected in re.findall(r"^\$ (.*)\n((?:(?!\$ ).*\n)*)", session, re.M):
            output = subprocess.run(command, shell=True, capture_output=True, text=True).stdout
            assert checker.check_output(expected, output, FLAGS), f"{command}\n{output}"


@pytest.mark.parametrize("document", PAGES)
def test_the_quoted_c_lines_are_those_of_the_example_programs(document):
    for block in blocks((SOURCE / document).read_text(), "c"):
        first, *lines = [line.strip() for line in block.splitlines()]
        source = first.strip("/* ")
        program = iter(line.strip() for line in (SOURCE / source).read_text().splitlines())
        for line in lines:
            if line != "...":
                assert line in program, f"{source}: '{line}' is not there (in this order)"
