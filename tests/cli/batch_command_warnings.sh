#!/usr/bin/env bash
# After a complete run the batch command warns on stderr when forecasts diverged or no rolling
# forecast was made, every line marked "Warning: " and the run it comes from, and still exits 0
# with the closing message; a run without either, or with --quiet, prints nothing on stderr.
set -u
# shellcheck source=../batch_test_setup.sh
source "$(dirname "$0")/../batch_test_setup.sh"

# expect_warning CASE EXPECTED-STDERR OPTIONS...
expect_warning() {
  local name=$1 expected=$2
  shift 2
  "$cli" "$@" >stdout 2>stderr
  local code=$?
  local problem=""
  [ "$code" -eq 0 ] || problem="exit code $code, expected 0;"
  grep -qx "End of forecast. Please see the output file" stdout || problem="$problem no closing message;"
  [ "$(cat stderr)" = "$expected" ] || problem="$problem stderr: $(cat stderr);"
  if [ -n "$problem" ]; then
    echo "FAIL $name: $problem"
    failed=$((failed + 1))
  else
    echo "ok   $name"
  fi
}

diverge="The forecasts of 1 of 5 sales points diverged, far outside their demand: sales point 2. The sound rows and the trade-off leave them out. The option --bounded-constants keeps the constants within 0 and 1."
covered="The periods for initial mu and sigma, for initial alpha and beta and the forecasting horizon cover every period of the run, so no rolling forecast was made."
for period in $(seq 1 11); do echo "$((20 + period % 3)),$((30 - period % 4))"; done >sales.csv

# The example's constants leave 0 to 1 at every horizon, but its forecasts stay sound: notes,
# not warnings.
for horizon in 0 1 2; do
  expect_warning "the example, horizon $horizon" "" --example --horizon "$horizon"
done
expect_warning "forecasts that diverge" "Warning: seed 5489, run 1: $diverge" \
  --example --sales-points 5 --periods 120
expect_warning "constants held within 0 and 1" "" \
  --example --sales-points 5 --periods 120 --bounded-constants
expect_warning "windows that cover every period" "Warning: seed 7, run 1: $covered" \
  --example --periods 11 --seed 7
expect_warning "each of several runs" \
  "$(printf 'Warning: seed 5489, run 1: %s\nWarning: seed 5489, run 2: %s' "$covered" "$covered")" \
  --example --periods=11 --runs=2
expect_warning "a sales history" "Warning: sales.csv, run 1: $covered" \
  --demand sales.csv --init-periods 4 --alpha-beta-periods 6 --warm-up 0 --horizon 1 --tau 0.5
expect_warning "quiet" "" --example --sales-points 5 --periods 120 --quiet
[ "$failed" -eq 0 ]
