#!/usr/bin/env bash
# Takes docs/results.png: a run of 20 sales points over 120 periods (loga, tau 1) through the
# Forecast form under Xvfb, and the results window as it opens, showing the trade-off over tau.
set -eu
build=$(realpath "${1:-build}")
picture=$(realpath "$(dirname "$0")/../docs")/results.png
cmake --build "$build" --target results_screenshot
folder=$(mktemp -d -t sales-forecast.XXXX)
trap 'rm -rf "$folder"' EXIT
cd "$folder"
xvfb-run -a -s "-screen 0 1600x1000x24" "$build/tests/ui/results_screenshot" "$picture" 2
echo "Wrote $picture"
