#!/usr/bin/env bash
# A catalogue through the batch command: 230 articles in rows, run in blocks of 100, and the
# same as a long table. Its files hold what runs of each block alone give, whatever the number of
# jobs; it writes only what is asked for (its report with --output), and a bad cell deep in the
# file leaves the last export alone.
set -u
# shellcheck source=../batch_test_setup.sh
source "$(dirname "$0")/../batch_test_setup.sh"

# Articles 1..230 over 40 days: mostly zeros, a weekly rhythm.
awk 'BEGIN {
  srand(33); printf "article"; for (t = 1; t <= 40; ++t) printf ",%d", t; print ""
  for (a = 1; a <= 230; ++a) {
    printf "art %d", a
    for (t = 1; t <= 40; ++t) printf ",%d", (rand() < 0.4 ? int(rand() * (t % 7 < 2 ? 9 : 5)) : 0)
    print ""
  }
}' >articles.csv
# The third block alone: articles 201..230.
{ head -n 1 articles.csv; sed -n '202,231p' articles.csv; } >block3.csv
boxes=(--init-periods 5 --alpha-beta-periods 8 --warm-up 0 --horizon 1 --tau 0.8)

"$cli" --demand articles.csv "${boxes[@]}" >/dev/null 2>stderr.txt
code=$?
check "a catalogue that would write nothing is a usage error" test "$code" -eq 2
check "it names the option to add" grep -qF -- 'add --export DIR' stderr.txt
check "no report is written" test ! -e out.txt
"$cli" --demand articles.csv "${boxes[@]}" --output report.txt --jobs 2 --quiet >/dev/null 2>&1
check "--output writes a catalogue's report" test -f report.txt
check "its matrix rows hold every sales point" \
  test "$(sed -n '5p' report.txt | tr -d '\r' | wc -w)" -eq 230
check "its lost-sale rows are numbered as in the file" grep -q '^ 230 ' report.txt
check "its blocks' files are gone" test -z "$(find . -maxdepth 1 -name '.sf-*')"

"$cli" --demand articles.csv "${boxes[@]}" --export ex --jobs 1 --quiet >/dev/null 2>&1
check "a catalogue exports" test -f ex/summary.csv -a -f ex/next.csv -a -f ex/tradeoff.csv
check "series.csv only when asked" test ! -e ex/series.csv
"$cli" --demand articles.csv "${boxes[@]}" --export ex2 --export-series --jobs 2 --quiet \
  >/dev/null 2>&1
check "--export-series adds series.csv" test -f ex2/series.csv
for file in summary.csv next.csv tradeoff.csv; do
  check "$file is the same with one job and two" cmp -s ex/"$file" ex2/"$file"
done

"$cli" --demand block3.csv "${boxes[@]}" --export alone --export-series --quiet >/dev/null 2>&1
# A sales point's rows but for its number (and the file name in summary.csv).
rows_of() {  # rows_of FILE FIRST_FIELD: the rows of art 201..230, from their name on
  grep -E '(^|,)art 2(0[1-9]|[12][0-9]|30),' "$1" | cut -d, -f"$2"- 
}
check "summary.csv rows of block 3 are its run's alone" \
  cmp -s <(rows_of ex2/summary.csv 6) <(rows_of alone/summary.csv 6)
check "next.csv rows of block 3 are its run's alone" \
  cmp -s <(rows_of ex2/next.csv 2) <(rows_of alone/next.csv 2)
check "series.csv rows of block 3 are its run's alone" \
  cmp -s <(rows_of ex2/series.csv 2) <(rows_of alone/series.csv 2)

# The same articles as a long table, day by day: a row per article and day.
awk -F, 'NR > 1 { for (t = 2; t <= NF; ++t) print $1 "," (t - 1) "," $t }' articles.csv |
  sort -t, -k2,2n -s | { echo "article,day,units"; cat; } >long.csv
"$cli" --demand long.csv "${boxes[@]}" --export long --quiet >/dev/null 2>&1
check "a long table of 230 articles runs as a catalogue" test -f long/summary.csv
check "its summary.csv is the rows file's but for the source" \
  cmp -s <(cut -d, -f1,3- long/summary.csv) <(cut -d, -f1,3- ex/summary.csv)
for file in next.csv tradeoff.csv; do
  check "its $file is the rows file's" cmp -s long/"$file" ex/"$file"
done

sed '150s/,[0-9]*$/,7x/' articles.csv >bad.csv
"$cli" --demand bad.csv "${boxes[@]}" --export ex --quiet >/dev/null 2>stderr.txt
code=$?
check "a bad cell deep in the file exits with 1" test "$code" -eq 1
check "it is named by row and column" grep -qF 'row 150, column 41' stderr.txt
check "the export stays as it was" cmp -s ex/summary.csv ex2/summary.csv
[ "$failed" -eq 0 ]
