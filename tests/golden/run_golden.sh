#!/usr/bin/env bash
# Runs every reference case (NN-name.cmd) with the batch command in an empty folder and
# compares the exit code and the report byte for byte. A complete run (exit 0) leaves exactly
# out.txt; a run that stops part-way (exit 1 with an .out.txt) leaves its lines in
# out.txt.incomplete and no out.txt, as the folder had none; a refused input leaves nothing.
set -u
cli=$(realpath "$1")
data=$(realpath "$2")
passed=0
failed=0
for cmd in "$data"/*.cmd; do
  name=$(basename "$cmd" .cmd)
  work=$(mktemp -d)
  line=$(grep -v '^#' "$cmd" | grep -m1 'sales-forecast-cli')
  (cd "$work" && eval "\"$cli\" ${line#sales-forecast-cli}" >/dev/null 2>"$work/.stderr")
  code=$?
  want=$(cat "$data/$name.exit")
  problem=""
  [ "$code" = "$want" ] || problem="exit code $code, expected $want"
  written=""
  if [ -f "$data/$name.out.txt" ]; then
    written=out.txt
    [ "$want" = 1 ] && written=out.txt.incomplete
    cmp -s "$work/$written" "$data/$name.out.txt" || problem="$problem $written differs"
  fi
  # Nothing else: no temporary file left behind, no report beside the incomplete one.
  left=$(cd "$work" && ls -A | grep -vx -e .stderr -e "$written" | tr '\n' ' ')
  [ -z "$left" ] || problem="$problem left behind: $left"
  if [ -z "$problem" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $name: $problem"
    [ -n "$written" ] && [ -f "$work/$written" ] &&
      diff <(tr -d '\r' <"$data/$name.out.txt") <(tr -d '\r' <"$work/$written") | head -n 10
  fi
  rm -rf "$work"
done
echo "golden: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
