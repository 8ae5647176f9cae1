#!/usr/bin/env bash
# The batch command's results options end to end: the summary after the closing message, the
# export folder, next.csv alone on stdout, the seed, and the exit codes for a folder that cannot
# be made (2) and an export file that cannot be written (1, the old file left in place).
set -u
# shellcheck source=../batch_test_setup.sh
source "$(dirname "$0")/../batch_test_setup.sh"

fail() {
  echo "FAIL $1"
  failed=$((failed + 1))
}

"$cli" --example --summary --export results --target-fill-rate 0.95 --lost-sale-cost 5 \
  --return-cost 1 >stdout 2>stderr
[ $? -eq 0 ] || fail "a run with every results option: exit code"
[ "$(head -n 1 stdout)" = "End of forecast. Please see the output file" ] ||
  fail "the closing message comes first"
for line in "as_forecast, periods 12 to 24, sound sales points 3 of 3:" "Fill rate: " \
  "Cycle service level: " "as_reported, periods 4 to 24, sound sales points 3 of 3:" \
  "Lost sales: 108" "Returns: 203" "Warnings: 0" "Note: The smoothing constants of 3 sound" \
  "Target fill rate 0.95, as_forecast: tau " "Target fill rate 0.95, as_reported: tau " \
  "Cheapest tau of the grid, as_forecast: " "Normal-theory tau for the costs: 0.96742" \
  "Deliveries to decide now, for period 25, sound sales points 3 of 3:" \
  "At the run's tau 0.5: " "At the target fill rate tau " "At the cheapest tau " \
  "Sales point 3: "; do
  grep -q "^$line" stdout || fail "summary line \"$line\""
done
[ ! -s stderr ] || fail "nothing on stderr: $(cat stderr)"
for file in summary.csv series.csv tradeoff.csv next.csv run.json; do
  [ -s "results/$file" ] || fail "results/$file written"
done
[ "$(ls -A results | wc -l)" -eq 6 ] && [ -f results/.sales-forecast-export ] ||
  fail "nothing but the five files and the marker in the folder"

# --next: stdout holds next.csv and nothing else, the same as the export's; the closing message
# and the summary go to stderr.
"$cli" --example --next --summary --target-fill-rate 0.95 --lost-sale-cost 5 --return-cost 1 \
  >stdout 2>stderr
[ $? -eq 0 ] || fail "--next: exit code"
cmp -s stdout results/next.csv || fail "--next prints next.csv: $(head -n 2 stdout)"
grep -q "^End of forecast" stderr && grep -q "^Deliveries to decide now" stderr ||
  fail "--next: the closing message and the summary on stderr"

# A dated sales history names its coming periods by its dates, continued a month at a time from
# month end to month end, in the summary and in every row --next prints.
{
  echo "date,north,south"
  for month in 01 02 03 04 05 06 07 08 09 10 11 12; do
    echo "$(date -d "2023-$month-01 +1 month -1 day" +%F),$((10 + 10#$month % 4)),$((20 - 10#$month % 3))"
  done
} >dated.csv
"$cli" --demand dated.csv --init-periods 3 --alpha-beta-periods 4 --warm-up 0 --horizon 2 \
  --tau 0.5 --next --summary --output dated.txt >stdout 2>stderr
[ $? -eq 0 ] || fail "a dated history: exit code $(cat stderr)"
grep -q "^Deliveries to decide now, for period 14 (2024-02-29), sound sales points " stderr ||
  fail "a dated history: the summary names the date $(grep Deliveries stderr)"
[ "$(cut -d, -f3,4 stdout | sort -u | tr '\n' ' ')" = "13,2024-01-31 14,2024-02-29 period,date " ] ||
  fail "a dated history: --next dates the coming periods $(cut -d, -f3,4 stdout | tr '\n' ' ')"

# The default seed is the one every report was made with; another seed draws other demand.
cp out.txt default.txt
"$cli" --example --seed 5489 >/dev/null 2>&1 && cmp -s out.txt default.txt ||
  fail "--seed 5489 keeps the report"
"$cli" --example --seed 7 >/dev/null 2>&1 && ! cmp -s out.txt default.txt ||
  fail "--seed 7 changes the report"

# A folder that cannot be made: refused before the run.
touch in-the-way
rm out.txt
"$cli" --example --export in-the-way/results >stdout 2>stderr
[ $? -eq 2 ] || fail "an export folder under a file: exit code"
grep -q 'The export folder "in-the-way/results" could not be created' stderr ||
  fail "an export folder under a file: message $(cat stderr)"
[ ! -e out.txt ] || fail "an export folder under a file: no run"

# A folder in the way of an export file: refused before the run, the old files as they were.
echo "old" >results/summary.csv
rm results/series.csv && mkdir results/series.csv
"$cli" --example --export results >stdout 2>stderr
[ $? -eq 2 ] || fail "a folder in the way of an export file: exit code"
grep -q 'The export folder "results" holds "series.csv", which is not a file of an export' stderr ||
  fail "a folder in the way of an export file: message $(cat stderr)"
[ "$(cat results/summary.csv)" = "old" ] || fail "the old summary.csv stays"
[ ! -e out.txt ] || fail "a folder in the way of an export file: no run"
[ -z "$(find . -name '.sf-*')" ] || fail "no temporary file left"

# Bad options: exit 2 and the reason.
for options in "--tau-grid 0:3:0" "--target-fill-rate 2" "--target-service-level 0" "--lost-sale-cost -1 --return-cost 1" \
  "--seed x"; do
  # shellcheck disable=SC2086
  "$cli" --example $options >stdout 2>stderr
  [ $? -eq 2 ] && grep -q "^sales-forecast-cli: --" stderr || fail "$options: exit 2 and reason"
done

[ "$failed" -eq 0 ] && echo "export command: all passed"
[ "$failed" -eq 0 ]
