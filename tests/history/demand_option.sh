#!/usr/bin/env bash
# The batch command's --demand: the demand of a simulated run, read back from a file in either
# dialect, gives the same report but for its parameter lines; a bad file or a count option beside
# it leaves the report alone.
set -u
# shellcheck source=../batch_test_setup.sh
source "$(dirname "$0")/../batch_test_setup.sh"

"$cli" --example >/dev/null 2>&1 || exit 1
mv out.txt simulated.txt
# The example's demand is whole numbers, so the report's matrix holds it exactly.
tr -d '\r' <simulated.txt | sed -n '/^Actual demand matrix/,/^ $/p' | sed '1d;$d' >matrix.txt
tr ' ' ',' <matrix.txt >demand.csv
{ printf 'North;South;East\r\n'; sed 's/ /;/g; s/$/\r/' matrix.txt; } >demand-semicolons.csv
# The simulated report with its three parameter lines replaced by the one a file gives.
expected() { sed "2,4d; 1a Demand read from $1\r" simulated.txt; }

for file in demand.csv demand-semicolons.csv; do
  "$cli" --example --demand "$file" --runs 2 >/dev/null 2>&1
  check "$file gives the simulated report" cmp -s out.txt <(expected "$file")
done

# The same demand with a sales point per row and the periods across, as retail exports write it.
awk '{ for (c = 1; c <= NF; ++c) cell[c, NR] = $c } END {
  printf "article"; for (r = 1; r <= NR; ++r) printf ",%d", r; print ""
  split("North South East", name, " ")
  for (c = 1; c <= NF; ++c) { printf "%s", name[c]; for (r = 1; r <= NR; ++r) printf ",%s", cell[c, r]; print "" }
}' matrix.txt >demand-rows.csv
"$cli" --example --demand demand-rows.csv --runs 2 >/dev/null 2>&1
check "demand-rows.csv gives the simulated report" cmp -s out.txt <(expected demand-rows.csv)

# Numbers for names: wide would read it too, so it is refused until the layout is set.
awk -F, 'NR > 1 { $1 = 100 + NR } 1' OFS=, demand-rows.csv >ambiguous.csv
cp out.txt before.txt
"$cli" --example --demand ambiguous.csv >/dev/null 2>stderr.txt
code=$?
check "a file both wide and rows read exits with 1" test "$code" -eq 1
check "it names the layout option" grep -qF -- '(--history-layout)' stderr.txt
check "it leaves the report alone" cmp -s out.txt before.txt
"$cli" --example --demand ambiguous.csv --history-layout rows --runs 2 >/dev/null 2>&1
check "--history-layout rows reads it" cmp -s out.txt <(expected ambiguous.csv)

cp out.txt before.txt
printf '1,2\n3\n' >bad.csv
"$cli" --example --demand bad.csv >/dev/null 2>stderr.txt
code=$?
check "a bad file exits with 1" test "$code" -eq 1
check "a bad file is named with its fault" \
  grep -qxF 'The sales history "bad.csv": row 2 has 1 cell where row 1 has 2' stderr.txt
check "a bad file leaves the report alone" cmp -s out.txt before.txt

"$cli" --example --demand demand.csv --periods 24 >/dev/null 2>stderr.txt
code=$?
check "--periods beside --demand is a usage error" test "$code" -eq 2
check "the usage error says why" grep -qF -- '--periods cannot be used with --demand' stderr.txt
check "the usage error leaves the report alone" cmp -s out.txt before.txt
[ "$failed" -eq 0 ]
