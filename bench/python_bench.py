"""The Python package with a 1,000,000-record two-dimensional parameter (1,000 x 1,000 labels), beside pandas.

Building it from numpy arrays (two label arrays and a value array) and reading it back into numpy and into
pandas are set beside pandas' own construction of the same Series with a MultiIndex; writing and reading it as a
TVF file beside DataFrame.to_csv and pandas.read_csv of the same data. Prints the best of a few runs and the
ratios against the targets. Building can be no faster than the library's dense array write, which from_numpy
calls once: the benchmark prints that floor and how far the build lies above it.

    PYTHONPATH=build/lib/python /usr/bin/python3 bench/python_bench.py [--labels N]"""
import argparse
import os
import tempfile
import time

import numpy as np
import pandas as pd

import tvb


def best_time(work, repeats):
    """The shortest of `repeats` runs of work() in seconds, with its last result."""
    best, result = float("inf"), None
    for _ in range(repeats):
        result = None  # the previous run's result goes first, as it would in a program that rebuilds
        start = time.perf_counter()
        result = work()
        best = min(best, time.perf_counter() - start)
    return best, result


def build_database(i_labels, j_labels, values, parts):
    """The database of the two sets and the parameter; appends to parts the seconds spent before from_numpy
    and in it."""
    start = time.perf_counter()
    db = tvb.Database()
    i = db.add_set("i", records=i_labels)
    j = db.add_set("j", records=j_labels)
    p = db.add_parameter("p", [i, j])
    written = time.perf_counter()
    p.from_numpy(values)
    parts.append((written - start, time.perf_counter() - written))
    return db


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--labels", type=int, default=1000, help="labels per position (records: its square)")
    parser.add_argument("--repeats", type=int, default=7)
    arguments = parser.parse_args()
    n, repeats = arguments.labels, arguments.repeats
    i_labels = np.array([f"i{k}" for k in range(n)])
    j_labels = np.array([f"j{k}" for k in range(n)])
    values = np.random.default_rng(1).uniform(1.0, 100.0, (n, n))
    print(f"parameter p(i,j): {n * n:,} records over {n} x {n} labels, best of {repeats} runs")

    pandas_build, series = best_time(lambda: pd.Series(
        values.reshape(-1), index=pd.MultiIndex.from_product([i_labels, j_labels], names=["i", "j"])), repeats)
    pandas_columns, _ = best_time(lambda: pd.Series(values.reshape(-1), index=pd.MultiIndex.from_arrays(
        [np.repeat(i_labels, n), np.tile(j_labels, n)], names=["i", "j"])), 1)
    parts = []
    tvb_build, db = best_time(lambda: build_database(i_labels, j_labels, values, parts), repeats)
    before_write, dense_write = np.min(parts, axis=0)
    p = db["p"]
    rewrite, _ = best_time(lambda: p.from_numpy(values), repeats)
    # The same parameter over any label ("*"): no domain sets, so its records move one by one.
    with tvb.Database() as elsewhere:
        anywhere = elsewhere.add_parameter("anywhere", ["*", "*"])
        anywhere.from_pandas(p.to_pandas())
        record_by_record, _ = best_time(anywhere.to_pandas, 1)
    to_numpy, array = best_time(p.to_numpy, repeats)
    to_pandas, frame = best_time(p.to_pandas, repeats)
    assert np.array_equal(array, values) and np.array_equal(frame["value"].to_numpy(), series.to_numpy())

    with tempfile.TemporaryDirectory() as directory:
        csv, tvf = os.path.join(directory, "p.csv"), os.path.join(directory, "p.tvf")
        frame_for_csv = series.to_frame("value")
        csv_write, _ = best_time(lambda: frame_for_csv.to_csv(csv), max(1, repeats // 2))
        csv_read, _ = best_time(lambda: pd.read_csv(csv, index_col=["i", "j"]), max(1, repeats // 2))
        tvf_write, _ = best_time(lambda: db.write(tvf), repeats)

        def read_tvf():
            with tvb.Database.read(tvf) as copy:
                return copy["p"].to_pandas()

        tvf_read, _ = best_time(read_tvf, repeats)
        csv_bytes, tvf_bytes = os.path.getsize(csv), os.path.getsize(tvf)
    db.close()

    def row(what, seconds, baseline=None, target=None):
        ratio = "" if baseline is None else f"{seconds / baseline:8.2f}x"
        print(f"  {what:<58} {seconds * 1e3:9.1f} ms {ratio:>9}  {target or ''}")

    print("\nbuilding and reading, against pandas' own MultiIndex construction (target: within 2x)")
    row("pandas: Series over MultiIndex.from_product", pandas_build)
    row("tvb: two sets and the parameter from numpy arrays", tvb_build, pandas_build,
        "ok" if tvb_build <= 2 * pandas_build else "MISSED")
    row("  of which the two sets and the empty parameter", before_write, pandas_build)
    row("  of which from_numpy: the library's dense array write", dense_write, pandas_build)
    row("tvb: from_numpy replacing the parameter's records", rewrite, pandas_build)
    gap = tvb_build - dense_write
    print(f"  floor: the dense array write alone is {dense_write / pandas_build:.2f}x pandas; the build is "
          f"{gap * 1e3:.1f} ms ({gap / pandas_build:.2f}x) above it")
    row("tvb: to_numpy", to_numpy, pandas_build, "ok" if to_numpy <= 2 * pandas_build else "MISSED")
    row("tvb: to_pandas (categorical MultiIndex)", to_pandas, pandas_build,
        "ok" if to_pandas <= 2 * pandas_build else "MISSED")
    row("pandas: read_csv of the same data", csv_read, pandas_build)
    row("pandas: Series over MultiIndex.from_arrays of label columns", pandas_columns, pandas_build)
    row("tvb: to_pandas of it over '*' (record by record)", record_by_record, pandas_build)

    csv_round, tvf_round = csv_write + csv_read, tvf_write + tvf_read
    print("\nfile round trip, against DataFrame.to_csv + pandas.read_csv (target: at least 10x faster)")
    row(f"pandas: to_csv + read_csv ({csv_bytes / 1e6:.1f} MB)", csv_round)
    row(f"tvb: write + read into pandas ({tvf_bytes / 1e6:.1f} MB)", tvf_round, csv_round)
    row("  of which write", tvf_write)
    row("  of which read (Database.read, to_pandas)", tvf_read)
    speedup = csv_round / tvf_round
    print(f"  TVF round trip {speedup:.1f}x faster than CSV: {'ok' if speedup >= 10 else 'MISSED'}")


if __name__ == "__main__":
    main()
