#!/usr/bin/env bash
# Takes the README's pictures of the results window: a run of 20 sales points over 120 periods
# (loga, tau 1) through the Forecast form under Xvfb, and the results window as it opens on one
# tab. The second argument names the picture: results (the trade-off over tau, the default),
# demand, constants, scenario or next (docs/next-deliveries.png); small takes the whole of a
# 1,024 x 700 screen, where the table has a tab of its own; season and season-demand: 20 shops
# over 364 days with a weekday pattern (bench/season/make_series.py) run with --season 7.
set -eu
build=$(realpath "${1:-build}")
here=$(realpath "$(dirname "$0")")
shot=${2:-results}
screen=1600x1000
how=window
case "$shot" in
  results) name=results; tab=2 ;;
  demand) name=results-demand; tab=0 ;;
  constants) name=results-constants; tab=1 ;;
  scenario) name=results-scenario; tab=3 ;;
  next) name=next-deliveries; tab=4 ;;
  small) name=results-1024x700; tab=0; screen=1024x700; how=screen ;;
  season) name=results-season; tab=5 ;;
  season-demand) name=results-season-demand; tab=0 ;;
  *) echo "unknown picture $shot" >&2; exit 2 ;;
esac
picture=$here/../docs/$name.png
cmake --build "$build" --target results_screenshot
folder=$(mktemp -d -t sales-forecast.XXXX)
trap 'rm -rf "$folder"' EXIT
cd "$folder"
# Settings of their own, so that a remembered place does not move the window.
history=()
case "$shot" in
  season*)
    python3 "$here/../bench/season/make_series.py" daily "$folder/shops.csv"
    history=(2 "$folder/shops.csv" 7) ;;
esac
HOME="$folder" XDG_CONFIG_HOME="$folder" xvfb-run -a -s "-screen 0 ${screen}x24" \
  "$build/tests/ui/results_screenshot" "$picture" "$tab" small "$how" "${history[@]}"
echo "Wrote $picture"
