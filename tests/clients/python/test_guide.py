import doctest
import pathlib

import pytest

SOURCE = pathlib.Path(__file__).resolve().parents[3]


def python_examples(document):
    """The >>> examples of a page: all of docs/python.md, the first Python session of the README."""
    text = (SOURCE / document).read_text()
    if document == "README.md":
        text = text.split("## A first Python session")[1].split("```")[1]
    return doctest.DocTestParser().get_doctest(text, {}, document, document, 0)


@pytest.mark.parametrize("document", ["docs/python.md", "README.md"])
def test_the_documented_examples_run_as_written(tmp_path, monkeypatch, document):
    monkeypatch.chdir(tmp_path)  # the examples write files
    runner = doctest.DocTestRunner(optionflags=doctest.NORMALIZE_WHITESPACE | doctest.ELLIPSIS)
    runner.run(python_examples(document))
    assert runner.summarize(verbose=False).failed == 0
