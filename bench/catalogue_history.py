#!/usr/bin/env python3
"""Writes a sales history shaped like a large retailer's daily sales for catalogue runs.

catalogue_history.py ARTICLES DAYS [--layout wide|rows] > history.csv

Most articles sell on few days, more at the weekend, at a level that differs from article to
article; a fixed seed gives the same file every time. wide: a column per article (the layout
of the retailer's own export), its days dated; rows: a row per article, days across.
"""
import argparse
import datetime
import random
import sys


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("articles", type=int)
    parser.add_argument("days", type=int)
    parser.add_argument("--layout", choices=["wide", "rows"], default="wide")
    given = parser.parse_args()
    rng = random.Random(1941)
    columns = []
    for _ in range(given.articles):
        selling = 0.05 + 0.6 * rng.random() * rng.random()
        level = 1.0 + 4.0 * rng.random()
        column = []
        for day in range(1, given.days + 1):
            weekly = 1.6 if day % 7 in (0, 6) else 1.0
            sells = rng.random() < selling * weekly
            column.append(int(1.0 + level * weekly * rng.random()) if sells else 0)
        columns.append(column)
    out = sys.stdout
    if given.layout == "rows":
        out.write("article," + ",".join(str(d) for d in range(1, given.days + 1)) + "\n")
        for a, column in enumerate(columns, 1):
            out.write(f"art_{a}," + ",".join(map(str, column)) + "\n")
    else:
        # Dated days, so that the first column is read as the periods' key, not as an article.
        first = datetime.date(2011, 1, 29)
        out.write("date," + ",".join(f"art_{a}" for a in range(1, given.articles + 1)) + "\n")
        for d in range(given.days):
            day = (first + datetime.timedelta(days=d)).isoformat()
            out.write(day + "," + ",".join(str(column[d]) for column in columns) + "\n")


if __name__ == "__main__":
    main()
