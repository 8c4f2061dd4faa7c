#!/usr/bin/env bash
# The floors of the source tree, bottom to top: common, model, ui; the numerics (simulation,
# digital, chemistry, analysis, fit, files, plot); forms; app; desktop. An include may point
# down or sideways within the numerics, never up; Qt is included only by the desktop front end.
# Prints every include that breaks this and fails when there is one.
set -u
cd "$(dirname "$0")/.."
# Folders each floor may not include from.
declare -A forbidden=(
  [common]='model ui simulation digital chemistry analysis fit files plot forms app desktop'
  [model]='ui simulation digital chemistry analysis fit files plot forms app desktop'
  [ui]='model simulation digital chemistry analysis fit files plot forms app desktop'
  [simulation]='forms app desktop' [digital]='forms app desktop' [chemistry]='forms app desktop'
  [analysis]='forms app desktop' [fit]='forms app desktop' [files]='forms app desktop'
  [plot]='forms app desktop' [forms]='app desktop' [app]='desktop'
)
new=0
for floor in "${!forbidden[@]}"; do
  for file in $(find "src/$floor" -name '*.h' -o -name '*.cpp' 2>/dev/null); do
    for target in $(grep -ho '^#include "[a-z_]*/[a-z_0-9]*\.h"' "$file" | sed 's/#include "\(.*\)"/\1/'); do
      folder=${target%%/*}
      for f in ${forbidden[$floor]}; do
        [ "$folder" = "$f" ] || continue
        echo "include against the floors: $file -> $target"
        new=1
      done
    done
  done
done
# Any spelling of a Qt include: <QWidget>, <QtCore/QString>, <qglobal.h>, with or without spaces.
qt_include='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]|Qt[A-Za-z]*/|q[a-z]*\.h)'
for file in $(grep -rlE "$qt_include" src tests bench | grep -v '^src/desktop/\|^tests/desktop/'); do
  echo "Qt outside the desktop front end: $file"
  new=1
done
exit $new
