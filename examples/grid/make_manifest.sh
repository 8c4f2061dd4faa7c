#!/usr/bin/env bash
# Writes the manifest of a grid of formal potentials E0 (V) by standard rate constants ks
# (cm/s), one task per pair, with a noise seed per task:
#   make_manifest.sh E0_COUNT KS_COUNT > jobs.tsv
# E0 runs in equal steps from -0.05 V to 0.05 V, ks in equal logarithmic steps from 1 cm/s down
# to 1e-3 cm/s, from reversible to irreversible electron transfer at 10 mV/s.
set -euo pipefail
e0_count=${1:?E0_COUNT}
ks_count=${2:?KS_COUNT}
awk -v ne="$e0_count" -v nk="$ks_count" 'BEGIN {
  OFS = "\t"
  print "E0", "ks", "seed"
  task = 0
  for (i = 0; i < ne; i++) {
    e0 = ne > 1 ? -0.05 + 0.1 * i / (ne - 1) : 0
    for (j = 0; j < nk; j++) {
      ks = nk > 1 ? 10 ^ (-3 * j / (nk - 1)) : 1
      printf "%.4f\t%.4g\t%d\n", e0, ks, ++task
    }
  }
}'
