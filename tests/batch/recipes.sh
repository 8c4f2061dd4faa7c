#!/usr/bin/env bash
# The other recipes of the manual: noisy tasks run twice with the same seeds give identical
# records and curves (wall-clock figures aside, under "timing"); another seed gives other noise;
# a task with a bad parameter fails alone with its message and status; the Slurm array script
# runs a task from SLURM_ARRAY_TASK_ID and the chunk script a chunk of rows; --sshlogin runs
# tasks through GNU parallel's login list.
#   recipes.sh QALTO_BATCH SOURCE_FOLDER
set -euo pipefail
batch=$1
source=$2
command -v parallel >/dev/null || { echo "GNU parallel is not installed (tools/install-deps.sh)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
script=$source/examples/grid/cv_kinetics.qs
"$source/examples/grid/make_manifest.sh" 2 3 >jobs.tsv
printf '0.0000\t1e400\t7\n' >>jobs.tsv  # task 7: a rate constant beyond the range of numbers
run_grid() {  # folder, extra options...
  local folder=$1
  shift
  mkdir -p "$folder"
  parallel --will-cite --joblog "$folder/joblog" "$batch" "$script" --manifest jobs.tsv \
    --task {} --set FormIns.Noise=1e-7 --json "$folder/{}.json" --out "$folder/{}.csv" "$@" \
    ::: 1 2 3 4 5 6 7 >"$folder/stdout" 2>"$folder/stderr" || true
}
run_grid first
run_grid second
for task in 1 2 3 4 5 6; do
  cmp first/$task.csv second/$task.csv
  diff <(grep -v '"timing"' first/$task.json) <(grep -v '"timing"' second/$task.json)
  grep -q "\"seed\": $task," first/$task.json
done
# The noise is there, and another seed changes it.
"$batch" "$script" --manifest jobs.tsv --task 1 --set FormIns.Noise=1e-7 --seed 99 --out other.csv
! cmp -s first/1.csv other.csv
"$batch" "$script" --manifest jobs.tsv --task 1 --out quiet.csv
! cmp -s first/1.csv quiet.csv

# Task 7 failed with status 3 and its message; its record says so; the six others ran.
# The job log's columns 1 and 7 are the job's sequence number (here the task) and exit value.
awk -F'\t' 'NR > 1 { status[$1] = $7 }
  END { for (t = 1; t <= 6; t++) if (status[t] != 0) exit 1; exit status[7] != 3 }' \
  first/joblog || { cat first/joblog; exit 1; }
grep -q 'line 13: Digital simulation Error: Overflow: ks (cm/s) of reaction 1 is 1e400!' first/stderr
grep -q '"exit_status": 3,' first/7.json
[ ! -e first/7.csv ]
# A task past the last row and a script with a parameter the manifest lacks.
status=0; "$batch" "$script" --manifest jobs.tsv --task 8 2>err.txt || status=$?
[ "$status" -eq 1 ] && grep -q 'task 8 is beyond the last row of jobs.tsv (7 tasks)' err.txt
status=0; "$batch" "$script" --param E0=0 2>err.txt || status=$?
[ "$status" -eq 2 ] && grep -q 'line 12: parameter ks is not set' err.txt

# The merged table of the first run: seven rows, task 7 with status 3.
"$batch" --merge first/*.json >table.tsv
[ "$(($(wc -l <table.tsv) - 1))" -eq 7 ]
awk -F'\t' 'NR == 1 { for (c = 1; c <= NF; c++) col[$c] = c; next }
  $col["task"] == 7 && $col["exit_status"] == 3 { found = 1 } END { exit !found }' table.tsv

# The Slurm array script, as Slurm would start its task 5 (without sbatch here).
mkdir -p runs
PATH=$(dirname "$batch"):$PATH SLURM_ARRAY_TASK_ID=5 QALTO_SCRIPT=$script \
  bash "$source/examples/grid/slurm_array.sh"
grep -q '"task": 5,' runs/5.json && grep -q '"seed": 5,' runs/5.json
status=0; PATH=$(dirname "$batch"):$PATH SLURM_ARRAY_TASK_ID=7 QALTO_SCRIPT=$script \
  bash "$source/examples/grid/slurm_array.sh" >/dev/null 2>&1 || status=$?
[ "$status" -eq 3 ]

# The chunked recipes: rows in chunks through parallel -I @@, and the Slurm chunk script's array
# task 1 (rows 4 to 6 in chunks of 3), give the records and curves of one process per row.
mkdir -p chunks
parallel --will-cite -I @@ "$batch" "$script" --manifest jobs.tsv --tasks @@ \
  --set FormIns.Noise=1e-7 --json 'chunks/{}.json' --out 'chunks/{}.csv' ::: 1-3 4-7 \
  >/dev/null 2>&1 || true
for task in 1 2 3 4 5 6 7; do
  diff <(grep -v '"timing"' first/$task.json) <(grep -v '"timing"' chunks/$task.json)
done
for task in 1 2 3 4 5 6; do cmp first/$task.csv chunks/$task.csv; done
rm -f runs/*
PATH=$(dirname "$batch"):$PATH SLURM_ARRAY_TASK_ID=1 QALTO_CHUNK=3 QALTO_SCRIPT=$script \
  bash "$source/examples/grid/slurm_chunks.sh"
[ "$(ls runs/*.json | wc -l)" -eq 3 ] && grep -q '"task": 6,' runs/6.json

# Through --sshlogin with the local host ":" (a remote host needs ssh, which this test lacks).
parallel --will-cite --sshlogin 2/: --workdir "$work" "$batch" "$script" --manifest jobs.tsv \
  --task {} --json ssh_{}.json ::: 1 2 3 >/dev/null
[ "$(ls ssh_*.json | wc -l)" -eq 3 ]
echo "seeded runs repeat, a bad task fails alone, Slurm and --sshlogin recipes run"
