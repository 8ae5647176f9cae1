#!/usr/bin/env bash
# The batch command's --demand: the demand of a simulated run, read back from a file in either
# dialect, gives the same report but for its parameter lines; a bad file or a count option beside
# it leaves the report alone.
set -u
# shellcheck source=../batch_test_setup.sh
source "$(dirname "$0")/../batch_test_setup.sh"

check() {  # check CASE CONDITION...
  local name=$1
  shift
  if "$@"; then
    echo "ok   $name"
  else
    echo "FAIL $name"
    failed=$((failed + 1))
  fi
}

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
