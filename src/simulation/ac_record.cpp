#include "simulation/ac_record.h"

#include <cstddef>
#include <vector>

#include "analysis/ac_harmonics.h"
#include "model/point_time.h"

namespace qalto {

void StoreAcHarmonics(Model& model) {
  const int n = model.NumberOfPoints;
  std::vector<double> current(static_cast<std::size_t>(n));
  for (int i = 1; i <= n; ++i)
    current[static_cast<std::size_t>(i - 1)] = model.ReactionCurrents(i, model.TotalCurrentColumn);
  const AcHarmonicsResult h = AcHarmonics(current, PointTime(model), model.AcFrequency);
  if (h.dc.empty()) return;
  for (int i = 1; i <= n; ++i) {
    const std::size_t at = static_cast<std::size_t>(i - 1);
    model.AcHarmonics(i, 0) = h.dc[at];
    for (int k = 1; k <= kAcHarmonics; ++k)
      model.AcHarmonics(i, k) = h.envelope[static_cast<std::size_t>(k)][at];
  }
  model.AcSpectrumPoints = static_cast<int>(h.frequency.size());
  for (int j = 1; j <= model.AcSpectrumPoints; ++j) {
    model.AcSpectrum(j, 1) = h.frequency[static_cast<std::size_t>(j - 1)];
    model.AcSpectrum(j, 2) = h.power[static_cast<std::size_t>(j - 1)];
  }
}

}  // namespace qalto
