#!/usr/bin/env bash
# The floors of the source tree, bottom to top: common, model, ui; the numerics (simulation,
# digital, chemistry, analysis, fit, files, plot); forms; app; desktop. An include may point
# down or sideways within the numerics, never up; Qt is included only by the desktop front end.
# Prints every include that breaks this and fails when there is one not in the list of known
# crossings below, which are waiting to be turned into result structures.
set -u
cd "$(dirname "$0")/.."
known_crossings=(
  'src/analysis/half_wave_finding.h -> app/result_window.h'
  'src/analysis/peak_finding.h -> app/result_window.h'
  'src/analysis/theoretical_peak.h -> app/result_window.h'
  'src/fit/fit_curve.h -> app/result_window.h'
  'src/fit/fit_curve.h -> forms/chemicals_form.h'
  'src/fit/fit_parameters.h -> forms/chemicals_form.h'
  'src/simulation/refresh_model.h -> forms/instrument_form.h'
)
# Folders each floor may not include from.
declare -A forbidden=(
  [common]='model ui simulation digital chemistry analysis fit files plot forms app desktop'
  [model]='ui simulation digital chemistry analysis fit files plot forms app desktop'
  [ui]='model simulation digital chemistry analysis fit files plot forms app desktop'
  [simulation]='forms app desktop' [digital]='forms app desktop' [chemistry]='forms app desktop'
  [analysis]='forms app desktop' [fit]='forms app desktop' [files]='forms app desktop'
  [plot]='forms app desktop' [forms]='app desktop' [app]='desktop'
)
is_known() {
  local c
  for c in "${known_crossings[@]}"; do [ "$c" = "$1" ] && return 0; done
  return 1
}
new=0
for floor in "${!forbidden[@]}"; do
  for file in $(find "src/$floor" -name '*.h' -o -name '*.cpp' 2>/dev/null); do
    for target in $(grep -ho '^#include "[a-z_]*/[a-z_0-9]*\.h"' "$file" | sed 's/#include "\(.*\)"/\1/'); do
      folder=${target%%/*}
      for f in ${forbidden[$floor]}; do
        [ "$folder" = "$f" ] || continue
        if is_known "$file -> $target"; then
          echo "known crossing: $file -> $target"
        else
          echo "include against the floors: $file -> $target"
          new=1
        fi
      done
    done
  done
done
for file in $(grep -rl '^#include <Q' src tests bench | grep -v '^src/desktop/\|^tests/desktop/'); do
  echo "Qt outside the desktop front end: $file"
  new=1
done
exit $new
