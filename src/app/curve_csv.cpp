#include "app/curve_csv.h"

#include <cstdio>

namespace qalto {

std::string CurveCsv(const Model& model, const std::string& quantity) {
  bool concentrations = quantity == "surface concentration C";
  const char* unit = concentrations ? " (mol/L)" : quantity == "charge Q" ? " (C)" : " (A)";
  std::string csv = model.Technique == Technique::kChronoamperometry ? "time (s)" : "potential (V)";
  int curves = model.CurveCount < kMaxCurves ? model.CurveCount : kMaxCurves;
  for (int k = 1; k <= curves; ++k) {
    csv += ",curve " + std::to_string(k) + unit;
  }
  csv += "\n";
  char number[32];
  for (int i = model.FirstPoint; i <= model.LastPoint && i <= kMaxPoints; ++i) {
    if (i < 0) continue;
    std::snprintf(number, sizeof number, "%.17g", model.PotentialX(i));
    csv += number;
    for (int k = 1; k <= curves; ++k) {
      std::snprintf(number, sizeof number, ",%.17g", model.CurrentY(i, k));
      csv += number;
    }
    csv += "\n";
  }
  return csv;
}

}  // namespace qalto
