import numpy as np
import pandas as pd
import pytest

import tvb


def test_a_written_file_reads_back_every_symbol_and_value(transport, tmp_path):
    transport["d"]["seattle", "topeka"] = tvb.UNDEF
    transport["d"]["san-diego", "topeka"] = np.nan
    transport.write(tmp_path / "transport.tvf")
    for lazy in (True, False):
        with tvb.Database.read(tmp_path / "transport.tvf", lazy=lazy) as copy:
            assert [s.name for s in copy] == [s.name for s in transport]
            for sym in transport:
                assert copy[sym.name].text == sym.text and copy[sym.name].domain_names == sym.domain_names
                pd.testing.assert_frame_equal(copy[sym.name].to_pandas(), sym.to_pandas())


def test_a_lazily_read_file_is_read_symbol_by_symbol_when_used(transport, tmp_path):
    transport.write(tmp_path / "first.tvf")
    with tvb.Database.read(tmp_path / "first.tvf") as copy:
        copy["d"].from_numpy(np.ones((2, 3)))  # replaced without being read
        copy.write(tmp_path / "second.tvf")  # the unread symbols are copied from the first file
    with tvb.Database.read(tmp_path / "second.tvf") as second:
        assert second["d"].to_numpy().sum() == 6 and second["x"].items() == transport["x"].items()


def test_file_failures_carry_the_library_message(transport, tmp_path):
    with pytest.raises(tvb.Error, match="Error opening TVF file"):
        tvb.Database.read(tmp_path / "missing.tvf")
    transport["d"]["boston", "chicago"] = 1
    with pytest.raises(tvb.Error, match="label 'boston' at position 1 of a record of symbol 'd' is not in its"):
        transport.write(tmp_path / "checked.tvf")
    transport.write(tmp_path / "unchecked.tvf", check_domains=False)


def test_domain_violations_list_each_label_outside_its_domain(transport):
    assert transport.domain_violations().empty
    transport["d"]["boston", "denver"] = 1
    transport["d"]["seattle", "denver"] = 2
    transport["supply"]["boston"] = (0, 0, 0, 0, 1)
    expected = pd.DataFrame([("d", ("seattle", "denver"), 2, "denver", "j"),  # records in label-number order
                             ("d", ("boston", "denver"), 1, "boston", "i"),
                             ("d", ("boston", "denver"), 2, "denver", "j"),
                             ("supply", ("boston",), 1, "boston", "i")],
                            columns=["symbol", "record", "position", "label", "domain"])
    pd.testing.assert_frame_equal(transport.domain_violations(), expected)
    pd.testing.assert_frame_equal(transport["supply"].domain_violations(), expected[3:].reset_index(drop=True))
