#!/usr/bin/env bash
# Runs the built-in example with the batch command and says where the report is.
set -eu
build=$1
"$build/src/sales-forecast-cli" --example --output out.txt
echo "The report is in $(pwd)/out.txt"
