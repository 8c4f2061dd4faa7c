#pragma once
// Delimited text of any origin: comma, semicolon, tab or blank separated columns, a decimal
// point or a decimal comma, lines of header text before the data and an optional column
// heading line. Autolab NOVA exports are of this kind ("WE(1).Potential (V)",
// "WE(1).Current (A)", "Scan").

#include <string>
#include <string_view>
#include <vector>

#include "files/column_heading.h"
#include "files/imported_curve.h"

namespace qalto {

// The data start at the first line of two numbers or more; the line before them, when it
// holds as many cells, gives the headings. The potential and the current column are the
// first whose headings name them (with their units: V, mV; A, mA, µA, nA), else the first
// two columns in V and A; a "Scan" or "cycle number" column splits the curve into cycles.
ImportedFile ReadDelimitedText(const std::vector<std::string_view>& lines,
                               const std::string& source, const ColumnChoice& choice);

}  // namespace qalto
