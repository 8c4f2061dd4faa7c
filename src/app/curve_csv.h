#pragma once
// The curve store as comma-separated text for a pipeline: a header naming each column with its
// unit, then one line per point FirstPoint..LastPoint, numbers with 17 significant digits so
// that they read back to the same doubles.

#include <string>

#include "model/model.h"

namespace qalto {

// `quantity` is the plotted quantity of the display options: "surface concentration C" gives
// concentrations in mol/L, anything else currents in A.
std::string CurveCsv(const Model& model, const std::string& quantity);

}  // namespace qalto
