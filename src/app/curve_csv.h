#pragma once
// The curve store as comma-separated text for a pipeline: a header naming each column with its
// unit, then one line per point FirstPoint..LastPoint, numbers with 17 significant digits so
// that they read back to the same doubles.

#include <string>

#include "model/model.h"

namespace qalto {

// `quantity` is the plotted quantity of the display options: "surface concentration C" gives
// concentrations in mol/L (an adsorbed species' Gamma in mol/cm2), anything else currents in A.
std::string CurveCsv(const Model& model, const std::string& quantity);

// Whether curve `curve` of a surface-concentration plot is an adsorbed species' surface excess
// Gamma (mol/cm2) rather than a concentration at the surface (mol/L): the plot puts species s in
// curve s, and after an overlaid plot's earlier species in curve SpeciesCount + s.
bool IsSurfaceExcessCurve(const Model& model, int curve);

}  // namespace qalto
