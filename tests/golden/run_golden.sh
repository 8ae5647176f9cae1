#!/usr/bin/env bash
# Runs every reference case (NN-name.cmd) with the batch command in an empty folder and
# compares the exit code and out.txt byte for byte; a case without .out.txt must leave no file.
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
  if [ -f "$data/$name.out.txt" ]; then
    cmp -s "$work/out.txt" "$data/$name.out.txt" || problem="$problem out.txt differs"
  elif [ -e "$work/out.txt" ]; then
    problem="$problem out.txt was created"
  fi
  if [ -z "$problem" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $name: $problem"
    [ -f "$data/$name.out.txt" ] && [ -f "$work/out.txt" ] &&
      diff <(tr -d '\r' <"$data/$name.out.txt") <(tr -d '\r' <"$work/out.txt") | head -n 10
  fi
  rm -rf "$work"
done
echo "golden: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
