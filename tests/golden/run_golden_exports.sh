#!/usr/bin/env bash
# Every reference case that completes, run again with the results options, must export the
# files kept in golden-exports/NN-name/ byte for byte: the export's shape changes only on
# purpose. run.json names the report's full path, which is the scratch folder's: it is kept as
# out.txt. Given back as a scenario, run.json runs the same report again. With "--update" as
# fourth argument the kept files are written anew instead.
set -u
cli=$(realpath "$1")
data=$(realpath "$2")
kept=$(realpath "$3")
update=${4:-}
answers=(--target-fill-rate 0.9 --lost-sale-cost 2 --return-cost 1)
passed=0
failed=0
for cmd in "$data"/*.cmd; do
  name=$(basename "$cmd" .cmd)
  [ "$(cat "$data/$name.exit")" = 0 ] || continue
  work=$(mktemp -d)
  line=$(grep -v '^#' "$cmd" | grep -m1 'sales-forecast-cli')
  (cd "$work" && eval "\"$cli\" ${line#sales-forecast-cli} --export results ${answers[*]}" \
    >/dev/null 2>&1)
  sed -i "s|\"$work/|\"|" "$work/results/run.json"
  if [ "$update" = --update ]; then
    rm -rf "${kept:?}/$name" && cp -r "$work/results" "$kept/$name"
  fi
  problem=""
  for file in "$kept/$name"/*; do
    cmp -s "$file" "$work/results/$(basename "$file")" ||
      problem="$problem $(basename "$file") differs"
  done
  [ "$(ls "$work/results" | wc -l)" = "$(ls "$kept/$name" | wc -l)" ] ||
    problem="$problem other files: $(ls "$work/results" | tr '\n' ' ')"
  run=$(sed -n 's/^  "run": \([0-9]*\),$/\1/p' "$work/results/run.json")
  mkdir "$work/again"
  (cd "$work/again" && "$cli" --scenario ../results/run.json --runs "${run:-0}" >/dev/null 2>&1)
  cmp -s "$work/again/out.txt" "$data/$name.out.txt" ||
    problem="$problem run.json as a scenario runs another report"
  if [ -z "$problem" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $name:$problem"
    for file in "$kept/$name"/*; do
      diff "$file" "$work/results/$(basename "$file")" | head -n 6
    done
  fi
  rm -rf "$work"
done
echo "golden exports: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
