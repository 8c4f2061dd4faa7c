#include "simulation/square_wave_halves.h"

namespace qalto {

std::vector<int> SquareWaveHalfColumns(const Model& model, int curve) {
  if (!model.DigitalSimulation || model.Technique != Technique::kSquareWave) return {};
  const int net = model.TotalCurrentColumn;
  if (net < 1 || net + 2 >= model.ReactionCurrents.Columns()) return {};
  bool kept = false;  // a square-wave run fills the columns; the runs of other techniques clear
  for (int i = model.FirstPoint; i <= model.LastPoint; ++i) {
    if (i < 1 || i > model.NumberOfPoints) return {};
    if (model.CurrentY(i, curve) != model.ReactionCurrents(i, net)) return {};
    kept = kept || model.ReactionCurrents(i, net + 1) != 0.0;
  }
  if (!kept) return {};
  return {net + 1, net + 2};
}

}  // namespace qalto
