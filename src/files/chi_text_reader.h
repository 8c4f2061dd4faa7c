#pragma once
// CH Instruments text export (.txt or .csv): the date, the technique, "Key (unit) = value"
// parameter lines, then the column line "Potential/V, Current/A" and the data, one table for
// all segments.

#include <string>
#include <string_view>
#include <vector>

#include "files/column_heading.h"
#include "files/imported_curve.h"

namespace qalto {

// A line of the file that starts the data table.
bool IsChiColumnLine(std::string_view line);

// True when the lines look like a CHI export: parameter lines and a column line.
bool LooksLikeChiText(const std::vector<std::string_view>& lines);

// The segments cut at the vertices and paired into cycles; scan rate, sample interval, the
// initial and the switching potentials from the parameters.
ImportedFile ReadChiText(const std::vector<std::string_view>& lines, const std::string& source,
                         const ColumnChoice& choice);

}  // namespace qalto
