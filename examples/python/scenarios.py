"""The transport scenario sweep as a picture: demand scaled from 0.80 to 1.25 in steps of 0.01, each scale
solved on the held CLP instance (or on a Dask cluster of two worker processes with --dask), and the cost and
each market's marginal cost plotted against the scale; scales at which the plants cannot meet the demand are
shaded.

    PYTHONPATH=build/lib/python /usr/bin/python3 examples/python/scenarios.py build/scenarios.png [--dask]
"""
import argparse
import pathlib

import matplotlib

matplotlib.use("Agg")  # files only, no display
import matplotlib.pyplot as plt  # noqa: E402

import tvb  # noqa: E402

MODEL = pathlib.Path(__file__).resolve().parents[1] / "transport" / "transport.mod"
DEMAND = {"new-york": 325, "chicago": 300, "topeka": 275}


def sweep(client=None):
    scales = [round(0.80 + 0.01 * k, 2) for k in range(46)]
    scenarios = {scale: {"b": {market: scale * cases for market, cases in DEMAND.items()}} for scale in scales}
    return tvb.scenarios.run(MODEL, None, scenarios, client=client, symbols=["demand"])


def plot(results, path):
    status = results["status"]
    prices = results["demand"]["marginal"].unstack() * 1000  # dollars per case
    figure, (cost_axis, price_axis) = plt.subplots(2, 1, sharex=True, figsize=(7, 6))
    cost_axis.plot(status.index, status["objective"], marker=".")
    cost_axis.set_ylabel("cost (thousand dollars)")
    cost_axis.set_title("Transport: cost and marginal cost against demand")
    for market in prices.columns:
        price_axis.plot(prices.index, prices[market], marker=".", label=market)
    price_axis.set_ylabel("marginal cost ($ per case)")
    price_axis.set_xlabel("demand as a multiple of the model's")
    price_axis.legend()
    infeasible = status.index[status["model_status"] == "infeasible"]
    if len(infeasible):
        for axis in (cost_axis, price_axis):
            axis.axvspan(min(infeasible), max(infeasible), color="0.9", label="infeasible")
        cost_axis.text(min(infeasible), cost_axis.get_ylim()[0], " infeasible", va="bottom")
    figure.tight_layout()
    figure.savefig(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("png", nargs="?", default="scenarios.png", help="the picture to write")
    parser.add_argument("--dask", action="store_true", help="solve on a local cluster of two worker processes")
    arguments = parser.parse_args()
    if arguments.dask:
        from dask.distributed import Client, LocalCluster

        with LocalCluster(n_workers=2, threads_per_worker=1, dashboard_address=None) as cluster, Client(cluster) as c:
            results = sweep(c)
    else:
        results = sweep()
    plot(results, arguments.png)
    solved = (results["status"]["model_status"] == "optimal").sum()
    print(f"{len(results['status'])} scenarios, {solved} solved; wrote {arguments.png}")


if __name__ == "__main__":
    main()
