#!/usr/bin/env bash
# The floors of the source tree, bottom to top:
#   common
#   model, drawing (the drawing surface and the picture writers)
#   the numerics: simulation, digital, chemistry, analysis, fit, files, plot
#   ui (controls, forms' base, platform)
#   forms, app, desktop
# Each folder lists the folders it may include from. Only the plotter among the numerics draws;
# no numerical folder reaches the user-facing ui, and only app and the desktop show messages,
# open file dialogs or read the clock. Also fails on a cycle of includes between files (a
# header and its source count as one), on form text read below the forms, and on Qt outside
# the desktop front end. Prints every finding and fails when there is one.
set -u
cd "$(dirname "$0")/.."
numerics='simulation digital chemistry analysis fit files plot'
declare -A allowed=(
  [common]='common'
  [model]='common model'
  [drawing]='common drawing'
  [simulation]="common model $numerics" [digital]="common model $numerics"
  [chemistry]="common model $numerics" [analysis]="common model $numerics"
  [fit]="common model $numerics" [files]="common model $numerics"
  [plot]="common model drawing $numerics"
  [ui]='common drawing ui'
  [forms]="common model drawing $numerics ui forms"
  [app]="common model drawing $numerics ui forms app"
  [desktop]="common model drawing $numerics ui forms app desktop"
)
found=0
report() {
  echo "$1"
  found=1
}
sources() { find "src/$1" -name '*.h' -o -name '*.cpp'; }
includes() { grep -ho '^#include "[a-z_]*/[a-z_0-9]*\.h"' "$1" | sed 's/#include "\(.*\)"/\1/'; }

for dir in src/*/; do
  floor=$(basename "$dir")
  [ -n "${allowed[$floor]+set}" ] || report "folder without a floor: src/$floor"
done
for floor in "${!allowed[@]}"; do
  [ -d "src/$floor" ] || continue
  for file in $(sources "$floor"); do
    for target in $(includes "$file"); do
      case " ${allowed[$floor]} " in
        *" ${target%%/*} "*) ;;
        *) report "include against the floors: $file -> $target" ;;
      esac
    done
  done
done

# Messages, dialogs and the clock belong to app and the desktop.
below_app="src/common src/model src/drawing src/ui src/forms $(printf 'src/%s ' $numerics)"
for file in $(grep -rlE 'MessageBox\(|FileDialog\(|TimeOfDay\(|std::chrono|<ctime>' \
  $below_app --include='*.h' --include='*.cpp' | grep -v '^src/ui/\(platform\|recording_platform\)\.'); do
  report "message box, file dialog or clock below app: $file"
done
# Form text becomes numbers at the forms; the numerics read only the text of files.
for file in $(grep -rlE '\bReadNumber\(|ReadBoxNumber\(' $(printf 'src/%s ' $numerics) |
  grep -v '^src/files/'); do
  report "text read as a number below the forms: $file"
done

# A cycle of includes between files, a header and its source taken as one unit.
for file in $(find src -name '*.h' -o -name '*.cpp'); do
  unit=${file#src/}
  unit=${unit%.*}
  for target in $(includes "$file"); do
    [ "${target%.h}" = "$unit" ] || echo "$unit ${target%.h}"
  done
done | sort -u | tsort >/dev/null 2>/tmp/floors_cycles.$$
if [ -s /tmp/floors_cycles.$$ ]; then
  report "include cycle between: $(sed -n 's/^tsort: \([a-z_]*\/[a-z_0-9]*\)$/\1/p' /tmp/floors_cycles.$$ | tr '\n' ' ')"
fi
rm -f /tmp/floors_cycles.$$

# Any spelling of a Qt include: <QWidget>, <QtCore/QString>, <qglobal.h>, with or without spaces.
qt_include='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]|Qt[A-Za-z]*/|q[a-z]*\.h)'
for file in $(grep -rlE "$qt_include" src tests bench | grep -v '^src/desktop/\|^tests/desktop/'); do
  report "Qt outside the desktop front end: $file"
done
exit $found
