#!/usr/bin/env bash
# A catalogue of 250 articles (three blocks) run whole and as 2 and 3 shards: the shards' exports
# merged equal the whole run's byte for byte. Merges of shards that do not make one run, and
# shards of runs that would search tau over the whole catalogue, are refused.
set -u
# shellcheck source=../batch_test_setup.sh
source "$(dirname "$0")/../batch_test_setup.sh"

# Articles 1..250 over 60 days, names with a comma (one with quotes and a line end too); a weekly
# rhythm, some wild enough to diverge.
awk 'BEGIN {
  srand(7); printf "article"; for (t = 1; t <= 60; ++t) printf ",%d", t; print ""
  for (a = 1; a <= 250; ++a) {
    if (a == 150) printf "\"art \"\"%d\"\",\nline\"", a; else printf "\"art, %d\"", a
    for (t = 1; t <= 60; ++t) printf ",%d", (rand() < 0.5 ? int(rand() * (t % 7 < 2 ? 9 : 5)) : 0)
    print ""
  }
}' >articles.csv
run=(--demand articles.csv --init-periods 15 --alpha-beta-periods 8 --warm-up 0 --horizon 1
  --tau 0.8 --season 7 --lost-sale-cost 4 --return-cost 0 --export-series --quiet)

"$cli" "${run[@]}" --export whole >/dev/null 2>&1
check "the whole catalogue exports" test -f whole/season.csv

for shards in 2 3; do
  folders=()
  for ((k = 1; k <= shards; ++k)); do
    "$cli" "${run[@]}" --shard "$k/$shards" --export "s$k-$shards" >/dev/null 2>&1
    folders=("s$k-$shards" "${folders[@]}")  # given out of order
  done
  check "shard 2/$shards holds its own sales points, numbered as in the file" \
    grep -qE '^,articles.csv,1,as_forecast,2[0-9]{2},"art, 2' "s2-$shards/summary.csv"
  "$cli" --merge-exports "${folders[@]}" --export "merged$shards" 2>stderr.txt
  check "$shards shards merge" test "$?" -eq 0 -a ! -s stderr.txt
  for file in summary.csv next.csv tradeoff.csv series.csv season.csv run.json; do
    check "$shards shards merged: $file is the whole run's" cmp -s whole/"$file" "merged$shards/$file"
  done
  check "$shards shards merged: no pool.csv" test ! -e "merged$shards/pool.csv"
done

"$cli" "${run[@]}" --tau 0.9 --export other --shard 2/3 >/dev/null 2>&1
# A shard whose next.csv is a pipe with no writer: refused, not waited for.
cp -r s2-2 piped && rm piped/next.csv && mkfifo piped/next.csv
# refusal case | folders | what the message names
while IFS='|' read -r name folders message; do
  read -ra given <<<"$folders"
  cp -r merged2 out
  "$cli" --merge-exports "${given[@]}" --export out 2>stderr.txt
  check "$name: exits with 1" test "$?" -eq 1
  check "$name: says so" grep -qF -- "$message" stderr.txt
  check "$name: the folder stays as it was" cmp -s out/summary.csv merged2/summary.csv
  rm -rf out
done <<'CASES'
a gap|s1-3 s3-3|sales points 101 to 200 are in none of the folders
a gap at the start|s2-3 s3-3|sales points 1 to 100 are in none of the folders
a missing last shard|s1-3 s2-3|the folders hold 2 of the 3 shards
an overlap|s1-3 s2-3 s2-3 s3-3|"s2-3" and "s2-3" both hold sales points 101 to 200
slices of different splits|s1-2 s2-3 s3-3|hold shards of different runs
a different scenario|s1-3 other s3-3|hold shards of different runs
not a shard|whole|its run.json names no shard
a pipe for a file|s1-2 piped|is a pipe
CASES

# option | the usage error names
while IFS='|' read -r option message; do
  read -ra given <<<"$option"
  "$cli" "${run[@]}" --export refused "${given[@]}" >/dev/null 2>stderr.txt
  check "$option: a usage error" test "$?" -eq 2
  check "$option: says why" grep -qF -- "$message" stderr.txt
done <<'CASES'
--shard 1/2 --target-fill-rate 0.9|--target-fill-rate searches tau over the whole catalogue
--shard 1/2 --target-service-level 0.9|--target-service-level searches tau
--shard 1/2 --check-from 40|--check-from searches tau
--shard 3/2|--shard needs K/N
--shard 0/2|--shard needs K/N
--shard 1/4|fewer than 4 shards
--shard 2|--shard needs K/N
CASES
check "a refused shard writes nothing" test ! -e refused

"$cli" "${run[@]}" --return-cost 1 --shard 1/2 --export costs >/dev/null 2>&1
check "with both costs a shard leaves out the cost tau" grep -qF '"cost_tau": null' costs/run.json
check "and notes it" grep -qF 'The cost tau is left out of a shard' costs/run.json
"$cli" "${run[@]}" --export s1-2 >/dev/null 2>&1
check "a whole run into a shard's folder leaves no pool.csv" test ! -e s1-2/pool.csv
[ "$failed" -eq 0 ]
