#pragma once
// The tables of the curve store that a session writes point by point: the potentials, the
// curves, the simulation's reaction currents, surface concentrations and passed charge, the
// program's times, an AC voltammogram's harmonics and power spectrum, the raw current of a
// measured one kept aside while its slot shows a harmonic, and the curves kept while its eight
// envelopes fill slots 1..8.

#include <array>

#include "model/model.h"

namespace qalto {

struct PointTable {
  const char* name;
  int (*columns)(const Model&);
  double (*read)(const Model&, int point, int column);
  double& (*cell)(Model&, int point, int column);
};

inline const std::array<PointTable, 10>& PointTables() {
  // Every table has the rows 0..kMaxPoints.
  static const std::array<PointTable, 10> tables = {{
      {"PotentialX", [](const Model&) { return 1; },
       [](const Model& m, int i, int) { return m.PotentialX(i); },
       [](Model& m, int i, int) -> double& { return m.PotentialX(i); }},
      {"CurrentY", [](const Model& m) { return m.CurrentY.Columns(); },
       [](const Model& m, int i, int j) { return m.CurrentY(i, j); },
       [](Model& m, int i, int j) -> double& { return m.CurrentY(i, j); }},
      {"ReactionCurrents", [](const Model& m) { return m.ReactionCurrents.Columns(); },
       [](const Model& m, int i, int j) { return m.ReactionCurrents(i, j); },
       [](Model& m, int i, int j) -> double& { return m.ReactionCurrents(i, j); }},
      {"SurfaceConcentrations", [](const Model& m) { return m.SurfaceConcentrations.Columns(); },
       [](const Model& m, int i, int j) { return m.SurfaceConcentrations(i, j); },
       [](Model& m, int i, int j) -> double& { return m.SurfaceConcentrations(i, j); }},
      {"PassedCharge", [](const Model&) { return 1; },
       [](const Model& m, int i, int) { return m.PassedCharge(i); },
       [](Model& m, int i, int) -> double& { return m.PassedCharge(i); }},
      {"PointTimes", [](const Model&) { return 1; },
       [](const Model& m, int i, int) { return m.PointTimes(i); },
       [](Model& m, int i, int) -> double& { return m.PointTimes(i); }},
      {"AcHarmonics", [](const Model& m) { return m.AcHarmonics.Columns(); },
       [](const Model& m, int i, int j) { return m.AcHarmonics(i, j); },
       [](Model& m, int i, int j) -> double& { return m.AcHarmonics(i, j); }},
      {"AcSpectrum", [](const Model& m) { return m.AcSpectrum.Columns(); },
       [](const Model& m, int i, int j) { return m.AcSpectrum(i, j); },
       [](Model& m, int i, int j) -> double& { return m.AcSpectrum(i, j); }},
      {"MeasuredAcCurrent", [](const Model& m) { return m.MeasuredAcCurrent.Columns(); },
       [](const Model& m, int i, int j) { return m.MeasuredAcCurrent(i, j); },
       [](Model& m, int i, int j) -> double& { return m.MeasuredAcCurrent(i, j); }},
      {"HarmonicsKeptCurves", [](const Model& m) { return m.HarmonicsKeptCurves.Columns(); },
       [](const Model& m, int i, int j) { return m.HarmonicsKeptCurves(i, j); },
       [](Model& m, int i, int j) -> double& { return m.HarmonicsKeptCurves(i, j); }},
  }};
  return tables;
}

}  // namespace qalto
