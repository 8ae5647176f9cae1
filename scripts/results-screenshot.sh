#!/usr/bin/env bash
# Takes docs/results.png: a run of 20 sales points over 120 periods (loga, tau 1) through the
# Forecast form under Xvfb, and the results window as it opens, showing the trade-off over tau.
# With "next" as second argument, docs/next-deliveries.png: the same window on its Next
# deliveries tab.
set -eu
build=$(realpath "${1:-build}")
name=results
tab=2
if [ "${2:-}" = next ]; then
  name=next-deliveries
  tab=4
fi
picture=$(realpath "$(dirname "$0")/../docs")/$name.png
cmake --build "$build" --target results_screenshot
folder=$(mktemp -d -t sales-forecast.XXXX)
trap 'rm -rf "$folder"' EXIT
cd "$folder"
xvfb-run -a -s "-screen 0 1600x1000x24" "$build/tests/ui/results_screenshot" "$picture" "$tab"
echo "Wrote $picture"
