#pragma once
// Export of the current curve as comma-separated text that the data import reads back: one
// line per point, the potential, a comma, blanks up to the next print zone, the current, and a
// carriage return and line feed.

#include <string>

#include "common/table.h"
#include "files/file_dialog.h"
#include "files/text_file.h"
#include "ui/platform.h"

namespace qalto {

// The line of one point, without its line end: " .1 ,          1E-06 ".
std::string CurveExportLine(double potential, double current);

// Sends the lines of points first..last of curve `curve` to `writeLine`, one at a time; point
// 0 is never written. A point beyond the tables raises after the lines before it.
void PrintCurve(int first, int last, const Table1<double>& potentials,
                const Table2<double>& currents, int curve, const LineSink& writeLine);

// The whole text of points first..last, each line ended by carriage return and line feed.
std::string CurveExportText(int first, int last, const Table1<double>& potentials,
                            const Table2<double>& currents, int curve);

// Asks for the file with the Save dialog and writes the lines into it. A cancel writes
// nothing. A failure (the file cannot be created, a write fails, a point beyond the tables)
// ends the export with a message naming the file and the reason; the file is written whole or
// not at all.
void ExportCurve(Platform& platform, FileDialog& dialog, int first, int last,
                 const Table1<double>& potentials, const Table2<double>& currents, int curve);

}  // namespace qalto
