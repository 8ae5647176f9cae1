#!/usr/bin/env bash
# What the package installs beside the programs: each manual page names every option its
# program's --help offers and no other, and renders without a complaint from man or mandoc;
# the example scenario is the one --example runs, and the example sales history runs.
# Arguments: the batch command, the folder of the built pages, the examples, and the window
# program where it is built.
set -u
cli=$(realpath "$1")
pages=$(realpath "$2")
examples=$(realpath "$3")
window=${4:-}
# shellcheck source=../batch_test_setup.sh
source "$(dirname "$0")/../batch_test_setup.sh" "$cli"

fail() {
  echo "FAIL $1"
  failed=$((failed + 1))
}

# check_page PROGRAM: the options of --help and of the page's OPTIONS section are the same.
check_page() {
  local program=$1 page=$pages/$(basename "$1").1
  local offered described
  offered=$(QT_QPA_PLATFORM=offscreen "$program" --help | grep -E '^ +-' |
    grep -o -- '--[a-z0-9-]*[a-z0-9]' | sort -u)
  described=$(sed -n '/^\.SH OPTIONS/,/^\.SH /p' "$page" | sed 's/\\-/-/g' |
    grep -o -- '--[a-z0-9-]*[a-z0-9]' | sort -u)
  [ -n "$offered" ] && [ "$offered" = "$described" ] ||
    fail "$(basename "$page"): options of --help and of the page differ: $(diff <(echo "$offered") <(echo "$described") | grep '^[<>]' | tr '\n' ' ')"
  if command -v mandoc >/dev/null; then
    mandoc -Tlint "$page" >lint 2>&1 || fail "$(basename "$page"): mandoc -Tlint: $(cat lint)"
  fi
  if command -v man >/dev/null; then
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>warnings >/dev/null
    [ ! -s warnings ] || fail "$(basename "$page"): man: $(cat warnings)"
  fi
}

check_page "$cli"
[ -z "$window" ] || check_page "$window"

# Without a display the window says so in its own words, and fails.
if [ -n "$window" ]; then
  if env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$window" 2>nodisplay; then
    fail "sales-forecast started without a display"
  fi
  grep -q "^sales-forecast: there is no display to open the window on" nodisplay ||
    fail "sales-forecast without a display said: $(cat nodisplay)"
fi

"$cli" --example --save-scenario example.sfscenario --quiet >/dev/null && mv out.txt example.txt
cmp -s example.sfscenario "$examples/small.sfscenario" ||
  fail "small.sfscenario is not the scenario of --example"
"$cli" --scenario "$examples/small.sfscenario" --quiet >/dev/null
cmp -s out.txt example.txt || fail "small.sfscenario runs another report than --example"
"$cli" --demand "$examples/sales.csv" --init-periods 4 --alpha-beta-periods 6 --warm-up 0 \
  --horizon 1 --tau 0.5 --quiet >/dev/null || fail "the example sales history does not run"

[ "$failed" -eq 0 ] && echo "installed documents: all passed"
[ "$failed" -eq 0 ]
