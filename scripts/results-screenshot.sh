#!/usr/bin/env bash
# Takes the README's pictures of the results window: a run of 20 sales points over 120 periods
# (loga, tau 1) through the Forecast form under Xvfb, and the results window as it opens on one
# tab. The second argument names the picture: results (the trade-off over tau, the default),
# demand, constants, scenario or next (docs/next-deliveries.png); small takes the whole of a
# 1,024 x 700 screen, where the table has a tab of its own; season and season-demand: 20 shops
# over 364 days with a weekday pattern (bench/season/make_series.py) run with --season 7;
# catalogue: 240 articles over 400 days, a catalogue, on its Sales points tab.
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
  catalogue) name=results-catalogue; tab=6 ;;
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
  catalogue)
    # Articles that sell on some days, more at the weekend.
    python3 - "$folder/articles.csv" <<'EOF'
import random, sys
random.seed(240)
levels = [(0.1 + 0.6 * random.random(), 1 + 5 * random.random()) for _ in range(240)]
with open(sys.argv[1], "w") as out:
    out.write(",".join("article %03d" % k for k in range(1, 241)) + "\n")
    for day in range(1, 401):
        weekend = 1.6 if day % 7 in (5, 6) else 1.0
        out.write(",".join(str(int(level * weekend * random.random() * 2))
                           if random.random() < share * weekend else "0"
                           for share, level in levels) + "\n")
EOF
    history=(0 "$folder/articles.csv" 0) ;;
esac
HOME="$folder" XDG_CONFIG_HOME="$folder" xvfb-run -a -s "-screen 0 ${screen}x24" \
  "$build/tests/ui/results_screenshot" "$picture" "$tab" small "$how" "${history[@]}"
echo "Wrote $picture"
