#!/usr/bin/env bash
# The kinetic grid as a Slurm job array of chunks: array task c runs rows c*CHUNK+1 to
# (c+1)*CHUNK of the manifest one after another in one process, each row writing its own record
# and curves, as if it had a process of its own. 1000 rows in chunks of 100:
#   examples/grid/make_manifest.sh 40 25 > jobs.tsv && mkdir -p runs
#   sbatch --array=0-9 examples/grid/slurm_chunks.sh
#   qalto-batch --merge runs/*.json > table.tsv
#SBATCH --job-name=qalto-grid
#SBATCH --ntasks=1
#SBATCH --cpus-per-task=1
#SBATCH --time=00:10:00
#SBATCH --output=runs/%A_%a.log
set -euo pipefail
script=${QALTO_SCRIPT:-examples/grid/cv_kinetics.qs}
chunk=${QALTO_CHUNK:-100}
first=$((SLURM_ARRAY_TASK_ID * chunk + 1))
rows=$(($(grep -cv '^[[:space:]]*$' jobs.tsv) - 1))
last=$((first + chunk - 1 < rows ? first + chunk - 1 : rows))
# The exit status is the highest of the chunk's tasks; each task's own is in its record.
exec qalto-batch "$script" --manifest jobs.tsv --tasks "$first-$last" \
  --json 'runs/{}.json' --out 'runs/{}.csv'
