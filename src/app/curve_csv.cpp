#include "app/curve_csv.h"

#include <charconv>

namespace qalto {

bool IsSurfaceExcessCurve(const Model& model, int curve) {
  if (model.SpeciesCount < 1 || curve < 1) return false;
  const int species = (curve - 1) % model.SpeciesCount + 1;
  return species < model.SpeciesAdsorbed.Size() && model.SpeciesAdsorbed(species) == 1;
}

std::string CurveCsv(const Model& model, const std::string& quantity) {
  bool concentrations = quantity == "surface concentration C";
  const char* unit = quantity == "charge Q" ? " (C)" : " (A)";
  std::string csv = model.Technique == Technique::kChronoamperometry ? "time (s)" : "potential (V)";
  int curves = model.CurveCount < kMaxCurves ? model.CurveCount : kMaxCurves;
  for (int k = 1; k <= curves; ++k) {
    if (concentrations) unit = IsSurfaceExcessCurve(model, k) ? " (mol/cm2)" : " (mol/L)";
    csv += ",curve " + std::to_string(k) + unit;
  }
  csv += "\n";
  // 17 significant digits, as printf's %.17g writes them.
  char number[32];
  auto append = [&csv, &number](double value) {
    csv.append(
        number,
        std::to_chars(number, number + sizeof number, value, std::chars_format::general, 17).ptr);
  };
  for (int i = model.FirstPoint; i <= model.LastPoint && i <= kMaxPoints; ++i) {
    if (i < 0) continue;
    append(model.PotentialX(i));
    for (int k = 1; k <= curves; ++k) {
      csv += ',';
      append(model.CurrentY(i, k));
    }
    csv += '\n';
  }
  return csv;
}

}  // namespace qalto
