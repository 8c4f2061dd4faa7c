#pragma once
// Export of the current curve as comma-separated text that the data import reads back: one
// line per point, the potential, a comma, blanks up to the next print zone, the current, and a
// carriage return and line feed.

#include <string>
#include <vector>

#include "common/failure.h"
#include "common/growing_table.h"
#include "files/text_file.h"

namespace qalto {

// Columns written after the current on every line, each after a comma in the next print zone:
// column c of `table` at the line's point (the forward and reverse currents of a square wave).
struct ExtraColumns {
  const GrowingTable2<double>* table = nullptr;
  std::vector<int> columns;
};

// The line of one point, without its line end: " .1 ,          1E-06 ", then the values of
// `more` each after a comma.
std::string CurveExportLine(double potential, double current, const std::vector<double>& more = {});

// Sends the lines of points first..last of curve `curve` to `writeLine`, one at a time; point
// 0 is never written. A point beyond the tables raises after the lines before it.
void PrintCurve(int first, int last, const GrowingTable1<double>& potentials,
                const GrowingTable2<double>& currents, int curve, const LineSink& writeLine,
                const ExtraColumns& extra = {});

// The whole text of points first..last, each line ended by carriage return and line feed.
std::string CurveExportText(int first, int last, const GrowingTable1<double>& potentials,
                            const GrowingTable2<double>& currents, int curve);

// The headings the export gives its columns, each curve's heading followed by its name
// ("I (A) cv.txt, cycle 1"); the import knows the program's own file by them.
inline constexpr const char* kExportPotentialHeading = "E (V)";
inline constexpr const char* kExportCurrentHeading = "I (A)";
inline constexpr const char* kExportConcentrationHeading = "C (M)";
inline constexpr const char* kExportSurfaceExcessHeading = "Gamma (mol/cm2)";

// Writes the lines into the file fileName, after the heading line where one is given and there
// are points (the import reads such a line as the columns' headings). A failure (the file
// cannot be created, a write fails, a point beyond the tables) ends the export with the message
// naming the file and the reason; the file is written whole or not at all.
Outcome WriteCurveFile(const std::string& fileName, int first, int last,
                       const GrowingTable1<double>& potentials,
                       const GrowingTable2<double>& currents, int curve,
                       const ExtraColumns& extra = {}, const std::string& heading = "");

// The measured curve (curve 1), the fitted one (curve 2) and their difference, as
// comma-separated text: a header naming the columns with their units, then one line per point
// first..last: E, measured, fitted, measured - fitted, in seventeen digits.
inline constexpr const char* kFitExportHeader = "E (V),measured I (A),fitted I (A),residual I (A)";
std::string FitExportLine(double potential, double measured, double fitted);

// Writes the header and the lines into the file fileName; a failure is told as for
// WriteCurveFile.
Outcome WriteFitFile(const std::string& fileName, int first, int last,
                     const GrowingTable1<double>& potentials,
                     const GrowingTable2<double>& currents);

}  // namespace qalto
