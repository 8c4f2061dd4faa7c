#pragma once
// The data table of a measurement file read into curves: the chosen potential and current
// columns of every data line, split into cycles by a cycle column or at the vertices of the
// potential program.

#include <string>
#include <string_view>
#include <vector>

#include "files/column_heading.h"
#include "files/imported_curve.h"
#include "files/table_layout.h"

namespace qalto {

// The rows of the table in file order, in V and A, with their cycle numbers and times (empty
// without such a column).
struct TableRows {
  std::vector<double> potential;  // V
  std::vector<double> current;    // A
  std::vector<double> cycle;
  std::vector<double> time;  // s
};

// Reads the chosen columns of every non-blank line of the layout. A line with too few cells,
// with more than the layout's width, or a cell that is no number raises a FileFormatError at
// that line (numbered from 1).
TableRows ReadTableRows(const std::vector<std::string_view>& lines, const TableLayout& layout,
                        const CurveColumns& columns);

// One curve per run of equal cycle numbers, labelled "<word> <number>"; one curve without a
// label when all rows share one number.
std::vector<ImportedCurve> SplitAtCycleNumbers(const TableRows& rows, const std::string& word);

// The rows cut into sweeps at the turns of the potential, a vertex closing its sweep, and two
// sweeps making a cycle labelled "cycle <n>"; a single sweep or cycle is one curve without a
// label.
std::vector<ImportedCurve> SplitAtVertices(const TableRows& rows);

// Gives every curve the source and settings. Without a scan rate in the settings, the rate
// is the one the times of the longest curve show, where the curves have times.
void Stamp(std::vector<ImportedCurve>& curves, const std::string& source,
           const InstrumentSettings& settings);

// Notes in the file the headings of its table and the two columns its curves come from.
void NoteColumns(ImportedFile& file, const std::vector<std::string_view>& headings,
                 const CurveColumns& columns);

}  // namespace qalto
