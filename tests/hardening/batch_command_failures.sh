#!/usr/bin/env bash
# The batch command with a report it cannot create or write: exit code 1, the reason on stderr,
# never the closing message.
set -u
cli=$(realpath "$1")
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failed=0

# expect_failure CASE OUTPUT REASON
expect_failure() {
  "$cli" --example --output "$2" >"$work/stdout" 2>"$work/stderr"
  local code=$?
  local problem=""
  [ "$code" -eq 1 ] || problem="exit code $code, expected 1;"
  grep -qF "The report file \"$2\" $3" "$work/stderr" ||
    problem="$problem stderr: $(cat "$work/stderr");"
  ! grep -q "End of forecast" "$work/stdout" || problem="$problem the closing message was shown"
  if [ -n "$problem" ]; then
    echo "FAIL $1: $problem"
    failed=$((failed + 1))
  else
    echo "ok   $1"
  fi
}

mkdir "$work/out.txt"
expect_failure "a folder named out.txt" "$work/out.txt" "could not be created"
if [ "$(id -u)" -eq 0 ]; then
  # Permission bits do not stop root, but nobody can create a file in /proc.
  expect_failure "a folder nobody may write to" /proc/out.txt "could not be created"
else
  mkdir "$work/read-only" && chmod a-w "$work/read-only"
  expect_failure "a read-only folder" "$work/read-only/out.txt" "could not be created"
fi
if [ -e /dev/full ]; then
  expect_failure "a full disk" /dev/full "could not be written"
fi
[ "$failed" -eq 0 ]
