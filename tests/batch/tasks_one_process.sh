#!/usr/bin/env bash
# Many tasks in one process give what one process per task gives: the same standard output and
# error, the same records (but for their wall-clock seconds), the same curve files, and as exit
# status the highest of the tasks'. The manifest mixes good rows with a row whose ks is no
# number, a row whose ks no simulation can take (status 3), and the tasks name a row beyond the
# manifest (status 1) and one row twice.
#   tasks_one_process.sh QALTO_BATCH SOURCE_FOLDER
set -euo pipefail
batch=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
{
  printf 'E0\tks\tseed\n'
  printf '0.01\t1\t1\n0.02\t0.01\t2\n'
  printf '0.03\tnone\t3\n'
  printf '0.04\t1e400\t4\n'
  printf -- '-0.02\t0.001\t5\n'
} >jobs.tsv
script="$source/examples/grid/cv_kinetics.qs"
tasks="1-2,6,3-5,1"
mkdir apart together
worst=0
: >apart.out
: >apart.err
for task in 1 2 6 3 4 5 1; do
  status=0
  "$batch" "$script" --manifest jobs.tsv --task "$task" --json "apart/$task.json" \
    --out "apart/$task.csv" >>apart.out 2>>apart.err || status=$?
  [ "$status" -gt "$worst" ] && worst=$status
done
status=0
"$batch" "$script" --manifest jobs.tsv --tasks "$tasks" --json 'together/{}.json' \
  --out 'together/{}.csv' >together.out 2>together.err || status=$?
[ "$status" -eq "$worst" ] || { echo "status $status, one process per task: $worst"; exit 1; }
[ "$worst" -ne 0 ] || { echo "no task failed: the manifest no longer tests the statuses"; exit 1; }
cmp apart.out together.out
cmp apart.err together.err
for file in apart/*; do
  name=$(basename "$file")
  case "$name" in
    *.json) diff <(sed 's/"seconds": [^,}]*//' "$file") \
                 <(sed 's/"seconds": [^,}]*//' "together/$name") ;;
    *) cmp "$file" "together/$name" ;;
  esac
done
[ "$(ls apart | wc -l)" -eq "$(ls together | wc -l)" ] || { echo "other files written"; exit 1; }
# A script from a pipe is read once for all the tasks: the second task runs it too.
mkdir piped
"$batch" <(cat "$script") --manifest jobs.tsv --tasks 1-2 --out 'piped/{}.csv' >/dev/null
cmp apart/1.csv piped/1.csv
cmp apart/2.csv piped/2.csv
echo "tasks $tasks: the same output, records and curves as one process per task, status $status"
