#!/usr/bin/env bash
# After a complete run the batch command warns on stderr, every line marked "Warning: ", when
# forecasts may diverge or no rolling forecast was made, and still exits 0 with the closing
# message; a run without either prints nothing on stderr.
set -u
# shellcheck source=../batch_test_setup.sh
source "$(dirname "$0")/../batch_test_setup.sh"

# expect_warning CASE EXPECTED-STDERR OPTIONS...
expect_warning() {
  local name=$1 expected=$2
  shift 2
  "$cli" --example "$@" >stdout 2>stderr
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

expect_warning "constants that leave 0 to 1" \
  "Warning: The smoothing constants of 3 of 3 sales points left 0 to 1 or their sigma fell below 0, so their forecasts may diverge: sales points 1, 2, 3. The option --bounded-constants keeps the constants within 0 and 1."
expect_warning "constants held within 0 and 1" "" --bounded-constants
expect_warning "windows that cover every period" \
  "Warning: The periods for initial mu and sigma, for initial alpha and beta and the forecasting horizon cover every period of the run, so no rolling forecast was made." \
  --periods 11 --bounded-constants
[ "$failed" -eq 0 ]
