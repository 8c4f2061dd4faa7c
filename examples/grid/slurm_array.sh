#!/usr/bin/env bash
# A Slurm job array of the kinetic grid: one array task per manifest row, each writing its own
# record and curves; rows are counted from 1, so the array runs from 1 to the number of rows.
# Make the manifest and the output folder first, submit from the folder that holds them, and
# gather the records when the array is done:
#   examples/grid/make_manifest.sh 40 25 > jobs.tsv && mkdir -p runs
#   sbatch --array=1-1000%100 examples/grid/slurm_array.sh
#   qalto-batch --merge runs/*.json > table.tsv
#SBATCH --job-name=qalto-grid
#SBATCH --ntasks=1
#SBATCH --cpus-per-task=1
#SBATCH --time=00:10:00
#SBATCH --output=runs/%A_%a.log
set -euo pipefail
script=${QALTO_SCRIPT:-examples/grid/cv_kinetics.qs}
task=$SLURM_ARRAY_TASK_ID
# qalto-batch reads the task number from SLURM_ARRAY_TASK_ID and the seed from the row's
# seed column; its exit status is the task's state in sacct.
exec qalto-batch "$script" --manifest jobs.tsv --json "runs/$task.json" --out "runs/$task.csv"
