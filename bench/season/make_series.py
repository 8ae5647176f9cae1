#!/usr/bin/env python3
"""Synthetic sales histories for the season figures, as wide CSV files.

daily:   20 sales points x 364 days from Monday 2024-01-01, a weekday pattern (Saturday about
         twice a Tuesday), closed on Sundays, Poisson demand around a slowly moving level.
monthly: monthly series from 2000-01: trend x multiplicative yearly pattern (a log-normal factor
         per month) x log-normal noise.
"""
import argparse
import datetime
import math
import random


def poisson(rng, mean):
    # Knuth's method for small means, a rounded normal for large ones.
    if mean > 50:
        return max(0, round(rng.gauss(mean, math.sqrt(mean))))
    limit, k, p = math.exp(-mean), 0, 1.0
    while True:
        p *= rng.random()
        if p <= limit:
            return k
        k += 1


def daily(rng, points, days):
    weekday = [1.0, 0.8, 0.9, 1.1, 1.5, 2.0, 0.0]  # Monday .. Sunday
    start = datetime.date(2024, 1, 1)
    levels = [rng.uniform(8, 40) for _ in range(points)]
    rows = []
    for day in range(days):
        date = start + datetime.timedelta(days=day)
        row = [date.isoformat()]
        for sp in range(points):
            levels[sp] *= math.exp(rng.gauss(0, 0.01))
            row.append(str(poisson(rng, levels[sp] * weekday[date.weekday()])))
        rows.append(row)
    return ["date"] + [f"shop {sp + 1}" for sp in range(points)], rows


def monthly(rng, points, months, wave):
    series = []
    for _ in range(points):
        level = rng.uniform(50, 500)
        growth = rng.uniform(-0.004, 0.01)
        # Month factors as shops see them (a December peak, a summer or a winter dip), not a
        # smooth wave: each month its own log-normal factor.
        amplitude = rng.uniform(0.1, 0.35)
        noise = rng.uniform(0.04, 0.12)
        pattern = [math.exp(rng.gauss(0, amplitude)) for _ in range(12)]
        if wave:
            phase = rng.uniform(0, 2 * math.pi)
            pattern = [1 + 2 * amplitude * math.sin(2 * math.pi * m / 12 + phase) for m in range(12)]
        values = []
        for m in range(months):
            value = level * (1 + growth) ** m * pattern[m % 12] * math.exp(rng.gauss(0, noise))
            values.append(f"{value:.1f}")
        series.append(values)
    rows = []
    for m in range(months):
        rows.append([f"{2000 + m // 12:04d}-{m % 12 + 1:02d}-01"] + [s[m] for s in series])
    return ["date"] + [f"series {sp + 1}" for sp in range(points)], rows


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("kind", choices=["daily", "monthly"])
    parser.add_argument("out")
    parser.add_argument("--points", type=int, default=20)
    parser.add_argument("--periods", type=int)
    parser.add_argument("--seed", type=int, default=34)
    parser.add_argument("--wave", action="store_true", help="a smooth yearly wave instead")
    args = parser.parse_args()
    rng = random.Random(args.seed)
    if args.kind == "daily":
        header, rows = daily(rng, args.points, args.periods or 364)
    else:
        header, rows = monthly(rng, args.points, args.periods or 120, args.wave)
    with open(args.out, "w", encoding="utf-8") as out:
        out.write(",".join(header) + "\n")
        for row in rows:
            out.write(",".join(row) + "\n")


if __name__ == "__main__":
    main()
