#!/usr/bin/env bash
# qalto-batch never reports success for what it did not do, nor destroys its inputs: a script
# that cannot be read, outputs over the script, the manifest or each other, an empty output name,
# a manifest with a byte-order mark or an invisible character, a Latin-1 parameter in the
# record, a write that fails, the time limit, TERM from a scheduler, the file-size limit, and
# records to merge that are no regular files.
#   truthful_runner.sh QALTO_BATCH
set -euo pipefail
batch=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Runs a command; its status must be the first argument and its standard error must hold the
# second.
expect() {
  local want=$1 pattern=$2
  shift 2
  local status=0
  "$@" >out.txt 2>err.txt || status=$?
  if [ "$status" -ne "$want" ]; then
    echo "status $status, expected $want: $*"; cat err.txt; exit 1
  fi
  if [ -n "$pattern" ] && ! grep -qF -- "$pattern" err.txt; then
    echo "no \"$pattern\" from: $*"; cat err.txt; exit 1
  fi
}

printf 'echo $E0\n' >e0.qs
printf 'E0\n0.1\n' >jobs.tsv
expect 1 "cannot read $work: Is a directory" "$batch" "$work"
expect 1 "cannot read /dev/zero: not a regular file" "$batch" /dev/zero
expect 1 "cannot read missing.qs: No such file or directory" "$batch" missing.qs
expect 1 "--out e0.qs would overwrite the script e0.qs" "$batch" e0.qs --out e0.qs --param E0=1
expect 1 "--json ./jobs.tsv would overwrite the manifest jobs.tsv" \
  "$batch" e0.qs --manifest jobs.tsv --task 1 --json ./jobs.tsv
expect 1 "--out and --json name the same file: r" "$batch" e0.qs --param E0=1 --out r --json r
# Names that meet only through a link, to a file or to a folder, and a file's other name.
ln -s e0.qs link.csv && mkdir runs && ln -s runs alias && ln e0.qs hard.csv
expect 1 "--out link.csv would overwrite the script e0.qs" "$batch" e0.qs --out link.csv --param E0=1
expect 1 "--out hard.csv would overwrite the script e0.qs" "$batch" e0.qs --out hard.csv --param E0=1
expect 1 "--out and --json name the same file: alias/1.csv" \
  "$batch" e0.qs --manifest jobs.tsv --tasks 1 --out 'alias/{}.csv' --json 'runs/{}.csv'
[ "$(cat e0.qs)" = 'echo $E0' ] && [ "$(cat jobs.tsv)" = "$(printf 'E0\n0.1')" ]
[ ! -e r ] && [ -z "$(ls runs)" ]
# A script of comments alone runs nothing and says so of a parameter it was given; its record
# says it ran.
printf '\xEF\xBB\xBF# nothing to do\n\n  # indented\r\n' >comments.qs
expect 0 "the script does not use parameter x" "$batch" comments.qs --param x=1
expect 0 "" "$batch" comments.qs --json comments.json
grep -qF '"status": "ran"' comments.json
# The tasks of one process are checked together before the first runs: a manifest that task 3's
# curves would overwrite leaves no files of tasks 1 and 2, and the record of task 1 (11.json)
# may not be overwritten by the curves of task 11.
seq 0 11 | sed '1s/.*/E0/' >3.csv
expect 1 "--out 3.csv would overwrite the manifest 3.csv" \
  "$batch" e0.qs --manifest 3.csv --tasks 1-4 --out '{}.csv'
[ ! -e 1.csv ] && [ ! -e 2.csv ] && [ "$(wc -l <3.csv)" -eq 12 ]
expect 1 "--out of task 11 and --json of task 1 name the same file: 11.json" \
  "$batch" e0.qs --manifest 3.csv --tasks 1,11 --json '{}1.json' --out '{}.json'
[ ! -e 11.json ] && [ ! -e 1.json ]
expect 0 "" "$batch" e0.qs --manifest 3.csv --tasks 1-3,2 --json '{}.json' --out '{}.out'
expect 1 "--out needs a file name" "$batch" e0.qs --out ""
expect 1 "cannot write nowhere/r.json: No such file or directory" \
  "$batch" e0.qs --param E0=1 --json nowhere/r.json

# A byte-order mark is accepted; a zero-width space is named.
printf '\xef\xbb\xbfE0\n0.1\n' >bom.tsv
expect 0 "" "$batch" e0.qs --manifest bom.tsv --task 1
grep -qx 0.1 out.txt
printf 'E0\xe2\x80\x8b\n0.1\n' >hidden.tsv
expect 1 'not a parameter name: "E0' "$batch" e0.qs --manifest hidden.tsv --task 1
grep -qF "(it holds the invisible character U+200B)" err.txt

# The same in a script, from a file or from standard input.
printf '\xef\xbb\xbfecho $E0\n' >marked.qs
expect 0 "" "$batch" marked.qs --param E0=1
expect 0 "" sh -c "cat marked.qs | '$batch' - --param E0=2"
grep -qx 2 out.txt
printf 'set FormIns.V\xc2\xa0 1\n' >hidden.qs
expect 2 "(it holds the invisible character U+00A0)" "$batch" hidden.qs

# A Latin-1 value keeps the record valid UTF-8.
printf 'name\nlabor\xe9\n' >latin.tsv
printf 'echo $name\n' >name.qs
"$batch" name.qs --manifest latin.tsv --task 1 --json latin.json >/dev/null
iconv -f UTF-8 -t UTF-8 latin.json >/dev/null
grep -qF '"name": "labor\u00e9"' latin.json

# Digital cycles of 12000 points, one after another: longer than the limits below.
{
  printf 'menu mnuInstrument\nset FormIns.Estep 0.0001\nselect FormIns.ComboScan cycle\n'
  printf 'click FormIns.cmdOK\n'
  for i in $(seq 5000); do printf 'menu mnuSimulate\n'; done
} >long.qs
expect 5 "time limit of 1 s reached" "$batch" long.qs --time-limit 1 --json limit.json
grep -qF '"status": "time limit"' limit.json
grep -qF '"exit_status": 5' limit.json

# TERM, as a scheduler sends it at its time-out: the record says "stopped", no temporary file
# is left.
"$batch" long.qs --json stopped.json --out stopped.csv >/dev/null 2>&1 &
pid=$!
sleep 1
kill -TERM $pid
status=0
wait $pid || status=$?
[ "$status" -eq 143 ] || { echo "TERM: status $status"; exit 1; }
grep -qF '"status": "stopped"' stopped.json
grep -qF 'stopped by signal TERM' stopped.json
[ ! -e stopped.csv ]
[ -z "$(find . -name '.*.??????')" ] || { echo "temporary files left"; ls -a; exit 1; }

# The file-size limit: the write fails with its reason, and its temporary file goes.
printf 'menu mnuSimulate\n' >short.qs
status=0
(ulimit -f 1 && "$batch" short.qs --out big.csv >/dev/null 2>err.txt) || status=$?
[ "$status" -eq 1 ] || { echo "file-size limit: status $status"; exit 1; }
grep -qF "cannot write big.csv: File too large" err.txt
[ -z "$(find . -name '.*.??????')" ] || { echo "temporary files left"; ls -a; exit 1; }

# Records to merge that are no regular files are named and skipped, a pipe without opening it.
mkfifo pipe
expect 1 "pipe: not a regular file, skipped" "$batch" --merge latin.json pipe /dev/zero
grep -qF "/dev/zero: not a regular file, skipped" err.txt
[ "$(wc -l <out.txt)" -eq 2 ]
expect 1 "--out latin.json would overwrite the record latin.json" \
  "$batch" --merge --out latin.json latin.json limit.json
echo "qalto-batch told the truth"
