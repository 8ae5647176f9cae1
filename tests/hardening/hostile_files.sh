#!/usr/bin/env bash
# The files a hostile user gives the batch command, counted: files of the user changed, export
# folders that mix two runs, temporary files left behind and runs that hang. Every count must be
# 0. TRIALS (default 30) sets how often 8 runs export into one folder at once.
set -u
# shellcheck source=../batch_test_setup.sh
source "$(dirname "$0")/../batch_test_setup.sh"
trials=${TRIALS:-30}
changed=0
mixed=0
left=0
hangs=0

note() {  # note COUNTER CASE
  echo "FAIL $2"
  eval "$1=\$(($1 + 1))"
}

# Runs the command with a time limit; a run that needs it counts as a hang. The status is in $code.
run() {
  timeout 20 "$cli" "$@" >stdout 2>stderr
  code=$?
  if [ "$code" -eq 124 ]; then
    note hangs "$*"
  fi
}

# Every entry with its mode, owner and kind, and every file's content.
snapshot() {
  find . -mindepth 1 -not -name stdout -not -name stderr -printf '%p %m %u %y\n' | sort
  find . -type f -not -name stdout -not -name stderr -exec md5sum {} + | sort
}

# The user's files: a sales history, a scenario, an earlier export and a folder of notes; a
# folder x, a link L to the folder itself, links round in a circle, a folder of the user's own
# file under an export's name, an export whose marker was changed, and a scenario whose box holds
# a NUL byte and an escape sequence.
"$cli" --example --save-scenario sc.json --export res >/dev/null 2>&1
tr -d '\r' <out.txt | sed -n '/^Actual demand matrix/,/^ $/p' | sed '1d;$d' | tr ' ' ',' >s.csv
ln -s s.csv link.csv
mkdir notes && echo mine >notes/notes.txt
echo "a file" >plain
mkdir x && ln -s . L && ln -s loop2 loop1 && ln -s loop1 loop2
mkdir mine && echo mine >mine/summary.csv
cp -r res marked && echo mine >marked/.sales-forecast-export
sed 's/"tau": "[^"]*"/"tau": "0.5\\u0000; \\u001b[2J"/' sc.json >nul.json

# Every hostile shape: refused before anything is written, with its exit status and a part of
# its message. Paths: a pair of which one would write over the other, by any spelling; export
# folders that hold what is not an earlier export; links round in a circle; a box's control
# characters, shown whole and escaped.
while IFS='|' read -r status said args; do
  before=$(snapshot)
  # shellcheck disable=SC2086
  run $args
  [ "$code" -eq "$status" ] || note changed "$args: exit $code, expected $status"
  [ "$before" = "$(snapshot)" ] || note changed "$args: a file changed"
  grep -qF -- "$said" stderr || note changed "$args: said $(cat stderr)"
  ! grep -q $'\e' stderr || note changed "$args: an escape sequence reached the terminal"
done <<EOF
2|the same file|--example --demand s.csv --output s.csv
2|the same file|--scenario sc.json --output sc.json
2|the same file|--example --demand s.csv --save-scenario s.csv
2|the same file|--scenario sc.json --save-scenario sc.json
2|which an export replaces whole|--example --export res --output res/summary.csv
2|which an export replaces whole|--example --export res --output res/run.json
2|the same file|--example --save-scenario k.json --output k.json
2|which an export replaces whole|--example --demand res/series.csv --export res
2|the same file|--example --demand s.csv --output link.csv
2|the same file|--example --output x/../R --save-scenario R
2|the same file|--example --output $PWD/R --save-scenario R
2|the same file|--example --output L/R --save-scenario R
2|the same file|--scenario L/x/../sc.json --save-scenario $PWD/L/sc.json
2|which an export replaces whole|--example --export L/res --output res/out.txt
2|holds "notes.txt", which is not a file of an export|--example --export notes
2|holds "summary.csv" but not the marker|--example --export mine
2|a marker .sales-forecast-export that an export did not write|--example --export marked
2|is a file, not a folder|--example --export plain
2|is a file, not a folder|--example --export plain/res
2|leads round in a circle|--example --output loop1
2|leads round in a circle|--example --export loop1
1|"0.5\\x00; \\x1B[2J" is not a number|--scenario nul.json
EOF
[ "$(cat mine/summary.csv)" = mine ] || note changed "a user's summary.csv was replaced"

# A report keeps its mode, is written through a link, and may have a name of 250 bytes.
printf 'old\r\n' >mode.txt && chmod 600 mode.txt
run --example --output mode.txt
[ "$(stat -c %a mode.txt)" = 600 ] || note changed "a report's mode 600 became $(stat -c %a mode.txt)"
mkdir kept && ln -s kept/real.txt linked.txt
run --example --output linked.txt
[ -L linked.txt ] && [ -s kept/real.txt ] || note changed "a report that is a symbolic link"
long=$(printf 'n%.0s' $(seq 1 250))
run --example --output "$long"
[ "$code" -eq 0 ] && [ -s "$long" ] || note changed "a report named with 250 bytes: $(cat stderr)"

# Inputs that are no files: refused at once, never waited for.
mkfifo fifo
for args in "--example --demand fifo" "--scenario fifo" "--example --output fifo"; do
  # shellcheck disable=SC2086
  run $args
  [ "$code" -eq 1 ] || [ "$code" -eq 124 ] || note hangs "$args: exit $code, expected 1"
done
printf '1,2\n3,4\n' | "$cli" --example --demand /dev/stdin --output stdin.txt >/dev/null 2>&1 ||
  note changed "--demand /dev/stdin is refused"

# 8 runs exporting into one folder at once: the folder holds the files of one run, whole.
mkdir ref
for seed in 1 2 3 4 5 6 7 8; do
  "$cli" --example --seed "$seed" --export "ref/$seed" --output "ref/out$seed.txt" >/dev/null 2>&1
done
for trial in $(seq 1 "$trials"); do
  for seed in 1 2 3 4 5 6 7 8; do
    "$cli" --example --seed "$seed" --export shared --output "ref/out$seed.txt" >/dev/null 2>&1 &
  done
  wait
  seed=$(sed -n 's/^  "seed": \([0-9]*\),$/\1/p' shared/run.json)
  for file in summary.csv series.csv tradeoff.csv; do
    cmp -s "shared/$file" "ref/$seed/$file" || { note mixed "trial $trial: $file"; break; }
  done
done

# Stopped by a signal: exit status 128 + its number, the last report kept, the lines of a run
# stopped part-way beside it (none where the signal fell between two runs), no temporary file
# left.
full=(--sales-points 100 --periods 600 --init-periods 12 --alpha-beta-periods 12 --warm-up 0
  --horizon 1 --tau 1 --p2-low 1 --p2-up 3 --output big.txt)
set -m  # jobs of their own, which a shell without it starts deaf to SIGINT
for signal in TERM INT HUP; do
  printf 'old\r\n' >big.txt
  rm -f big.txt.incomplete
  "$cli" "${full[@]}" --runs 100 >stdout 2>stderr &
  pid=$!
  sleep 1
  kill -s "$signal" "$pid"
  wait "$pid" 2>/dev/null
  code=$?
  [ "$code" -eq $((128 + $(kill -l "$signal"))) ] &&
    grep -q 'The run was stopped before it finished' stderr &&
    { [ -s big.txt.incomplete ] || ! grep -q 'big.txt.incomplete' stderr; } ||
    note left "SIG$signal: exit $code, $(tail -n 1 stderr)"
  tail -c 40 big.txt | grep -qa -e 'Total Return' -e old || note left "SIG$signal: big.txt broken"
done
"$cli" "${full[@]}" --runs 100 >/dev/null 2>&1 &
pid=$!
sleep 1
kill -s KILL "$pid"
wait "$pid" 2>/dev/null
# A wait for the standard input ends on a stop signal too.
mkfifo waiting
"$cli" --example --demand /dev/stdin <waiting >stdout 2>stderr &
pid=$!
exec 4>waiting
sleep 0.5
kill -s TERM "$pid"
wait "$pid"
code=$?
exec 4>&-
[ "$code" -eq 143 ] && grep -q 'stopped' stderr || note hangs "reading /dev/stdin: exit $code"
set +m

# A file-size limit fails the write with its message; a disk that takes nothing leaves no empty
# file.
printf 'old\r\n' >limited.txt
{ (ulimit -f 1 && exec "$cli" --example --output limited.txt) >stdout 2>stderr; } 2>/dev/null
code=$?
[ "$code" -eq 1 ] && grep -q 'File too large' stderr || note left "ulimit -f 1: exit $code"
[ "$(cat limited.txt)" = "$(printf 'old\r\n')" ] || note changed "ulimit -f 1: the report changed"
rm -f limited.txt.incomplete
{ (ulimit -f 0 && exec "$cli" --example --output limited.txt) >stdout 2>stderr; } 2>/dev/null
[ ! -e limited.txt.incomplete ] || note left "ulimit -f 0: an empty limited.txt.incomplete"

left=$((left + $(find . -name '.sf-*' | wc -l)))
[ "$left" -eq 0 ] || find . -name '.sf-*'

printf '%-24s %s\n' "user files changed" "$changed" "mixed exports" "$mixed of $trials trials" \
  "temporary files left" "$left" "hangs" "$hangs"
[ $((changed + mixed + left + hangs)) -eq 0 ]
