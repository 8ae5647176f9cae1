#!/usr/bin/env bash
# The batch command with a report it cannot create or write: exit code 1, the reason on stderr,
# never the closing message, and never a report that replaced the last complete one.
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
# Without --output the report goes to the current folder: where that cannot be written, --next
# prints no deliveries, and the message says how to give the report another place.
nowrite=/proc
[ "$(id -u)" -eq 0 ] || nowrite="$work/read-only"
(cd "$nowrite" && "$cli" --example --next) >"$work/stdout" 2>"$work/stderr"
code=$?
if [ "$code" -eq 1 ] && [ ! -s "$work/stdout" ] &&
  grep -qF "The report file \"$nowrite/out.txt\" could not be created" "$work/stderr" &&
  grep -qF "Name a report file in a folder that can be written with --output FILE." "$work/stderr"; then
  echo "ok   --next in a folder that cannot be written"
else
  echo "FAIL --next in a folder that cannot be written: exit $code: $(cat "$work/stderr")"
  failed=$((failed + 1))
fi
if [ -e /dev/full ]; then
  expect_failure "a full disk" /dev/full "could not be written"
fi

# A disk that fills up part-way (files may grow to 1024 bytes only): the last report stays byte
# for byte, the lines the disk took are in out.txt.incomplete, and the message names both by
# their full paths, though the command was given a relative one.
mkdir "$work/filling" && cd "$work/filling" || exit 1
folder=$(pwd -P)
"$cli" --example >/dev/null 2>&1 && mv out.txt complete.txt
printf 'the last report\r\n' >out.txt
(ulimit -f 1 && trap '' XFSZ && exec "$cli" --example --output out.txt) >stdout 2>stderr
code=$?
problem=""
[ "$code" -eq 1 ] || problem="exit code $code, expected 1;"
grep -qF "The report file \"$folder/out.txt\" could not be written" stderr &&
  grep -qF "The report \"$folder/out.txt\" was left as it was; the lines written are in \"$folder/out.txt.incomplete\"." stderr ||
  problem="$problem stderr: $(cat stderr);"
[ "$(cat out.txt)" = "$(printf 'the last report\r\n')" ] || problem="$problem out.txt changed;"
cmp -s out.txt.incomplete <(head -c 1024 complete.txt) || problem="$problem out.txt.incomplete differs;"
if [ -n "$problem" ]; then
  echo "FAIL a filling disk: $problem"
  failed=$((failed + 1))
else
  echo "ok   a filling disk"
fi

# Messages say what is wrong without echoing to the terminal what a box or a file holds, and name
# the scenario file a refused box came from.
cd "$work" || exit 1
printf '{"format": 1}' >empty.json
printf '1,2\n3,\xff\n' >bytes.csv
# expect_message CASE EXIT TEXT ARGUMENTS...
expect_message() {
  local case=$1 exit=$2 text=$3
  shift 3
  "$cli" "$@" >stdout 2>stderr
  local code=$?
  if [ "$code" -ne "$exit" ] || ! grep -qF -- "$text" stderr || LC_ALL=C grep -q $'[\x1b\xff]' stderr; then
    echo "FAIL $case: exit $code: $(cat -v stderr)"
    failed=$((failed + 1))
  else
    echo "ok   $case"
  fi
}
expect_message "an escape typed in a box" 1 '--tau: "\x1B[31m" is not a number' \
  --example --tau $'\e[31m'
# Not UTF-8: read as Windows-1252, so the message is UTF-8 text too.
expect_message "bytes of a file that are not UTF-8" 1 'row 2, column 2: "ÿ" is not a number' \
  --example --demand bytes.csv
expect_message "bytes that are not UTF-8, as the user said" 1 \
  'row 2, byte 3: 0xFF is not UTF-8 text: set the encoding to Windows-1252 (windows-1252)' \
  --example --demand bytes.csv --history-encoding utf-8
expect_message "an endless stream of zero bytes" 1 'this is not a text file: row 1, byte 1 is a NUL byte' \
  --example --demand /dev/stdin </dev/zero
expect_message "a number too large" 1 '"1e999" is a number too large to hold' \
  --example --tau 1e999
expect_message "an empty scenario" 1 \
  '--alpha-beta-periods: empty or not given (as the scenario file "empty.json" gives it)' \
  --scenario empty.json
expect_message "costs too large" 2 '--lost-sale-cost needs a number from 0 to 1e15, not "1e308"' \
  --example --lost-sale-cost 1e308 --return-cost 1e308
expect_message "an export onto a file" 2 'The export folder "empty.json" is a file, not a folder' \
  --example --export empty.json
cd / || exit 1
[ "$failed" -eq 0 ]
