#pragma once
// Export of the current curve as comma-separated text that the data import reads back: one
// line per point, the potential, a comma, blanks up to the next print zone, the current, and a
// carriage return and line feed.

#include <string>

#include "common/table.h"
#include "files/file_dialog.h"
#include "ui/platform.h"

namespace qalto {

// The lines of points first..last of curve `curve`; point 0 is never written.
std::string CurveExportText(int first, int last, const Table1<double>& potentials,
                            const Table2<double>& currents, int curve);

// Asks for the file with the Save dialog and writes the lines into it. A cancel writes
// nothing. A failure (the file cannot be created, a write fails) is shown in a message box,
// "Export Error: " and the description; the file is closed in every case.
void ExportCurve(Platform& platform, FileDialog& dialog, int first, int last,
                 const Table1<double>& potentials, const Table2<double>& currents, int curve);

}  // namespace qalto
