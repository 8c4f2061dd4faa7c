#pragma once
// EC-Lab text export (.mpt): "EC-Lab ASCII FILE", "Nb header lines : N" (N counts the lines up
// to the column names), a header of "Key : value" and fixed-width settings, the tab-separated
// column names on line N and the data after them, with decimal points or commas as the
// Windows locale had it.

#include <string>
#include <string_view>
#include <vector>

#include "files/column_heading.h"
#include "files/imported_curve.h"

namespace qalto {

bool LooksLikeEcLabText(const std::vector<std::string_view>& lines);

// One curve per value of "cycle number" (one curve without that column); dE/dt with its unit,
// the electrode surface area, and Ei, E1 and E2 where they are set against the reference (not
// against the open-circuit potential, which the file does not give).
ImportedFile ReadEcLabText(const std::vector<std::string_view>& lines, const std::string& source,
                           const ColumnChoice& choice);

}  // namespace qalto
