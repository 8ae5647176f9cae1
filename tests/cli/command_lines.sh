#!/usr/bin/env bash
# The batch command as scripts call it, in the C locale and in a German one (decimal comma):
# each command line's exit status and first line of output, then scenario files and run.json
# carried from one locale to the other, which run the same report there.
set -u
# shellcheck source=../batch_test_setup.sh
source "$(dirname "$0")/../batch_test_setup.sh"

# A German locale of the test's own, so that the machine needs none generated.
mkdir locales
localedef -i de_DE -f UTF-8 locales/de_DE.UTF-8 >/dev/null 2>&1 ||
  { echo "FAIL localedef could not build de_DE.UTF-8 (Debian package locales)"; exit 1; }
de() { LOCPATH=$work/locales LC_ALL=de_DE.UTF-8 "$cli" "$@"; }
c() { LC_ALL=C.UTF-8 "$cli" "$@"; }

fail() {
  echo "FAIL $1"
  failed=$((failed + 1))
}

# expect LOCALE EXIT FIRST-LINE ARGUMENTS...: stdout and stderr together.
expect() {
  local locale=$1 status=$2 first=$3
  shift 3
  local output code
  output=$("$locale" "$@" 2>&1)
  code=$?
  [ "$code" = "$status" ] && [ "$(head -n 1 <<<"$output")" = "$first" ] ||
    fail "$locale $*: exit $code, first line: $(head -n 1 <<<"$output")"
}

done_line="End of forecast. Please see the output file"
expect c 0 "$done_line" --example --sales-points=20 --tau=0.8 --quiet
expect c 0 "$done_line" --example --bounded-constants --model=sqrot --runs=2 --output=r.txt
expect de 0 "$done_line" --example --tau 0,8 --quiet
expect de 0 "$done_line" --example --tau=0.8 --p2-low .5 --target-fill-rate=0.95 --quiet
expect de 0 "$done_line" --example --tau 8e-1 --lost-sale-cost 2.5 --return-cost=1 --quiet
expect c 0 "sales-forecast-cli 1.0" --version
expect c 2 "sales-forecast-cli: --check-from must be a period from 13 to 24 (after S + A + H + 1, at most P), not 12" --example --check-from 12 --quiet
expect c 2 'sales-forecast-cli: --check-from needs a period, a whole number from 1, not "x"' --example --check-from x
expect c 0 "$done_line" --example --check-from 24 --quiet
expect de 0 "Usage: sales-forecast-cli [OPTION]..." --help
expect c 1 'sales-forecast-cli: --alpha-beta-periods: empty or not given'
expect c 1 'sales-forecast-cli: --sales-points: empty or not given' --example --sales-points=
expect c 1 'sales-forecast-cli: --tau: empty or not given' --example --tau=
expect c 1 'sales-forecast-cli: --tau: "0,8" is not a number; the decimal separator on this computer is "."' \
  --example --tau 0,8
expect de 1 'sales-forecast-cli: --tau: "0.8.1" is not a number' --example --tau=0.8.1
expect de 1 'sales-forecast-cli: --p2-up: "x" is not a number' --example --p2-up x
expect c 1 'sales-forecast-cli: --periods: must be a whole number from 0 to 600' --example --periods 601
expect c 1 'sales-forecast-cli: --init-periods, --alpha-beta-periods and --horizon add up to 601; together they must not exceed 600' \
  --example --init-periods=300 --alpha-beta-periods=300
expect c 1 'sales-forecast-cli: --init-periods: 4 periods are too few for --season 2: the season indices need at least 5 (two whole seasons and one period more)' \
  --example --season 2
expect c 0 "$done_line" --example --init-periods 7 --season 3 --quiet
expect c 2 'sales-forecast-cli: unknown option --colour' --colour red
expect c 2 'sales-forecast-cli: unknown option --sales_points; did you mean --sales-points?' --sales_points=3
expect c 2 'sales-forecast-cli: option --periods needs a value' --example --periods
expect c 2 'sales-forecast-cli: option --summary takes no value' --summary=yes
expect c 2 'sales-forecast-cli: unexpected argument "stray"' --example stray
expect c 2 'sales-forecast-cli: --runs needs a whole number of at least 1, not "2,5"' --runs=2,5
expect de 2 'sales-forecast-cli: --target-fill-rate needs a number above 0 and at most 1, not "0,95"' \
  --example --target-fill-rate 0,95
c --colour >/dev/null 2>stderr
[ "$(cat stderr)" = "$(printf '%s\n%s' 'sales-forecast-cli: unknown option --colour' \
  "Try 'sales-forecast-cli --help' for more information.")" ] ||
  fail "a usage error is one line and where to read more: $(cat stderr)"

# A scenario saved under the German locale runs the same report under C, and back; the file
# is the same whichever locale saved it.
small=(--example --tau 0,8 --p2-low 1,5)
mkdir de c
(cd de && de "${small[@]}" --save-scenario s.sfscenario --export results --quiet >/dev/null) ||
  fail "saved under de_DE"
grep -q ',' de/out.txt || fail "the German report has decimal commas"
(cd c && c --example --tau 0.8 --p2-low 1.5 --save-scenario s.sfscenario --quiet >/dev/null) ||
  fail "saved under C"
cmp -s de/s.sfscenario c/s.sfscenario || fail "the same scenario file in both locales"
grep -q '"tau": "0.8"' de/s.sfscenario || fail "the tau of the file: $(grep tau de/s.sfscenario)"
# run_in LOCALE FOLDER SCENARIO: the scenario run in a folder of its own.
run_in() {
  mkdir "$2" && (cd "$2" && "$1" --scenario "$3" --quiet >/dev/null)
}
run_in c c-of-scenario "$work/de/s.sfscenario"
cmp -s c-of-scenario/out.txt c/out.txt || fail "the scenario of de_DE runs the C report under C"
run_in c c-of-run-json "$work/de/results/run.json"
cmp -s c-of-run-json/out.txt c/out.txt || fail "run.json of de_DE runs the C report under C"
run_in de de-of-scenario "$work/c/s.sfscenario"
cmp -s de-of-scenario/out.txt de/out.txt || fail "the scenario of C runs the German report"

# The longest stretch of coming periods a run has (H = 590 at 100 sales points) leaves run.json
# small, so that it runs the export again as a scenario; the coming periods are in next.csv.
longest=(--example --sales-points 100 --periods 600 --init-periods 4 --alpha-beta-periods 0
  --horizon 590 --quiet)
mkdir longest && (cd longest && c "${longest[@]}" --export results >/dev/null) ||
  fail "the longest coming stretch exported"
[ "$(wc -c <longest/results/run.json)" -lt 65536 ] ||
  fail "run.json of the longest coming stretch: $(wc -c <longest/results/run.json) bytes"
run_in c longest-again "$work/longest/results/run.json"
cmp -s longest-again/out.txt longest/out.txt || fail "run.json of the longest coming stretch runs it again"

# A scenario names its sales history by its absolute path and how it is read: opened from
# another folder it reads the file again, and says so when the file is gone.
mkdir history
{
  echo 'Woche;Milch;Brot'
  for week in 02 09 16 23 30; do echo "2023-01-$week;1.234;5"; done
  for week in 06 13 20 27; do echo "2023-02-$week;2.000;7"; done
  for week in 06 13 20; do echo "2023-03-$week;1.500;6"; done
} >history/sales.csv
expect c 1 'The sales history "history/sales.csv": row 2, column 2: "1.234" may have a decimal point or a point between thousands, and no number in the file has a decimal comma to tell which: set the decimal separator to a comma or a point' \
  --example --demand history/sales.csv
(cd history && c --example --demand sales.csv --history-decimal=comma \
  --save-scenario s.sfscenario --quiet >/dev/null) || fail "run on the history"
grep -q "\"path\": \"$work/history/sales.csv\"" history/s.sfscenario ||
  fail "the scenario names its history: $(cat history/s.sfscenario)"
run_in c history-again "$work/history/s.sfscenario"
cmp -s history-again/out.txt history/out.txt || fail "the scenario reads its history again"
mv history/sales.csv history/moved.csv
expect c 1 "The sales history \"$work/history/sales.csv\" of the scenario file \"$work/history/s.sfscenario\" is gone: no file has that name now" \
  --scenario "$work/history/s.sfscenario"
expect c 2 'sales-forecast-cli: --history-layout, --history-columns, --history-duplicates, --history-header, --history-decimal, --history-missing, --history-date-order and --history-encoding need a sales history: --demand, or a scenario that names one' \
  --example --history-missing zero

[ "$failed" -eq 0 ] && echo "command lines: all passed"
[ "$failed" -eq 0 ]
