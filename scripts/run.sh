#!/usr/bin/env bash
# Opens the window where there is a display. Elsewhere runs the built-in example with the batch
# command and says where the report is.
set -eu
build=$1
window="$build/src/app/sales-forecast"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$window" ]; then
  exec "$window"
fi
"$build/src/sales-forecast-cli" --example --output out.txt
echo "The report is in $(pwd)/out.txt"
