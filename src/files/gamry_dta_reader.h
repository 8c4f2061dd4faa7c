#pragma once
// Gamry Framework data file (.DTA): "EXPLAIN", "TAG\t<technique>", tagged header lines
// "KEY\tTYPE\tvalue[\tflag]\tlabel", then tables "NAME\tTABLE[\tcount]" with a names row, a
// units row and data rows, each beginning with a tab.

#include <string>
#include <string_view>
#include <vector>

#include "files/column_heading.h"
#include "files/imported_curve.h"

namespace qalto {

bool LooksLikeGamryDta(const std::vector<std::string_view>& lines);

// One curve per working-electrode table (CURVE, CURVE1, CURVE2, ...) from its Vf and Im
// columns; the open-circuit table and the ring's WE2CURVE are left out. SCANRATE, STEPSIZE
// and AREA with the units of their labels; VINIT and the scan limits, with EOC added where a
// potential is set against the open circuit.
ImportedFile ReadGamryDta(const std::vector<std::string_view>& lines, const std::string& source,
                          const ColumnChoice& choice);

}  // namespace qalto
