#include "files/curve_export.h"

#include <algorithm>

#include "common/print_line.h"
#include "common/runtime_error.h"
#include "files/text_file.h"

namespace qalto {

std::string CurveExportText(int first, int last, const Table1<double>& potentials,
                            const Table2<double>& currents, int curve) {
  PrintBuffer lines("\r\n");
  // Before any curve exists the range is 0..0; point 0 is never exported.
  for (int i = std::max(first, 1); i <= last; ++i) {
    lines.Print({PrintItem::Number(potentials(i)), PrintItem::Text(",", Separator::kZone),
                 PrintItem::Number(currents(i, curve), Separator::kLineEnd)});
  }
  return lines.Text();
}

void ExportCurve(Platform& platform, FileDialog& dialog, int first, int last,
                 const Table1<double>& potentials, const Table2<double>& currents, int curve) {
  std::optional<std::string> fileName = dialog.ShowSave(platform, kDataFileFilter);
  if (!fileName) return;
  try {
    // The whole text is made before the file is touched: a curve that cannot be read out
    // leaves an existing file as it was.
    WriteTextFile(*fileName, CurveExportText(first, last, potentials, currents, curve));
  } catch (const RuntimeError& error) {
    platform.MessageBox("Export Error: " + error.Description());
  }
}

}  // namespace qalto
