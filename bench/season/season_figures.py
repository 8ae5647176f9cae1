#!/usr/bin/env python3
"""as_forecast figures of runs with and without a season, over the sound rows of series.csv.

    bench/season/season_figures.py build/src/sales-forecast-cli [--tau 0]

daily:   20 synthetic shops x 364 days, weekday pattern, closed Sundays; M = 7, S = 28, A = 14,
         H = 1, constants within 0 and 1. Prints the MAE of forecast_as_forecast against demand
         with and without the season, and the largest delivery_as_forecast of a Sunday.
monthly: synthetic monthly series (trend x yearly pattern x noise), the pattern once as a factor
         per month, once as a smooth wave (which the lag-12 test at S = 36 rarely finds); M = 12, S = 36, A = 12,
         H = 1, constants within 0 and 1. Prints the geometric mean over the series of the MAE
         relative to the naive forecast (the demand of the period before), with and without.
"""
import argparse
import csv
import datetime
import math
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))


def run(cli, history, work, name, season, init, alpha_beta, tau):
    folder = os.path.join(work, name)
    command = [cli, "--demand", history, "--init-periods", str(init), "--alpha-beta-periods",
               str(alpha_beta), "--horizon", "1", "--tau", str(tau), "--warm-up", "0",
               "--bounded-constants", "--output", os.path.join(work, name + ".txt"),
               "--export", folder, "--quiet"]
    if season:
        command += ["--season", str(season)]
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    with open(os.path.join(folder, "summary.csv"), newline="") as summary:
        diverged = {row["sales_point"] for row in csv.DictReader(summary)
                    if row["evaluation"] == "as_forecast" and row["diverged"] == "1"}
    rows = {}
    with open(os.path.join(folder, "series.csv"), newline="") as series:
        for row in csv.DictReader(series):
            if row["sales_point"] in diverged or row["demand"] == "":
                continue
            rows.setdefault(row["sales_point"], []).append(row)
    return rows


def daily_figures(rows):
    errors, sundays = [], []
    for series in rows.values():
        for row in series:
            if row["forecast_as_forecast"] == "":
                continue
            errors.append(abs(float(row["forecast_as_forecast"]) - float(row["demand"])))
            if datetime.date.fromisoformat(row["date"]).weekday() == 6:
                sundays.append(float(row["delivery_as_forecast"]))
    return sum(errors) / len(errors), max(sundays)


def relative_mae(rows):
    logs = []
    for series in rows.values():
        demand = [float(row["demand"]) for row in series]
        model, naive = [], []
        for at, row in enumerate(series):
            if row["forecast_as_forecast"] == "" or at == 0:
                continue
            model.append(abs(float(row["forecast_as_forecast"]) - demand[at]))
            naive.append(abs(demand[at - 1] - demand[at]))
        if sum(naive) > 0:
            logs.append(math.log(sum(model) / sum(naive)))
    return math.exp(sum(logs) / len(logs)), len(logs)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("cli")
    parser.add_argument("--tau", default="0")
    parser.add_argument("--monthly-series", type=int, default=100)
    args = parser.parse_args()
    cli = os.path.abspath(args.cli)
    make = os.path.join(HERE, "make_series.py")
    with tempfile.TemporaryDirectory() as work:
        daily = os.path.join(work, "daily.csv")
        subprocess.run([sys.executable, make, "daily", daily], check=True)
        without = daily_figures(run(cli, daily, work, "daily0", 0, 28, 14, args.tau))
        with_season = daily_figures(run(cli, daily, work, "daily7", 7, 28, 14, args.tau))
        print(f"daily, tau {args.tau}: MAE of forecast_as_forecast {without[0]:.4f} without a "
              f"season, {with_season[0]:.4f} with M = 7 ({100 * (1 - with_season[0] / without[0]):.1f}% "
              f"below); largest Sunday delivery_as_forecast {with_season[1]:g} (without: {without[1]:g})")
        # A history holds at most 100 sales points.
        for shape in ["month factors", "smooth wave"]:
            monthly = os.path.join(work, "monthly.csv")
            subprocess.run([sys.executable, make, "monthly", monthly, "--points",
                            str(args.monthly_series), "--periods", "120"] +
                           (["--wave"] if shape == "smooth wave" else []), check=True)
            base, count = relative_mae(run(cli, monthly, work, "monthly0", 0, 36, 12, args.tau))
            season, _ = relative_mae(run(cli, monthly, work, "monthly12", 12, 36, 12, args.tau))
            print(f"monthly ({shape}), tau {args.tau}, {count} synthetic series: geometric mean "
                  f"of relative MAE {base:.4f} without a season, {season:.4f} with M = 12 "
                  f"({100 * (1 - season / base):.1f}% below)")


if __name__ == "__main__":
    main()
