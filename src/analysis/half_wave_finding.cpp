#include "analysis/half_wave_finding.h"

#include <cmath>

#include "analysis/curve_extremes.h"
#include "common/point_index.h"

namespace qalto {
namespace {

// One sweep segment of curve y, points from..to (neighbouring segments share their end point):
// the first point half-way up the wave.
void FindInSegment(const Model& model, const Table1<double>& y, int s,
                   std::vector<HalfWave>& waves) {
  int from = ToPointIndex((s - 1) * model.SweepPoints);
  int to = ToPointIndex(s * model.SweepPoints);
  double high = MaxOfRange(y, from, to);  // A
  double low = MinOfRange(y, from, to);   // A
  double half = std::fabs(high - low) / 2;
  // Odd (forward) segments are measured from their smallest current, even (reverse) ones from
  // their largest.
  // Further cycles repeat the first cycle's forward and reverse sweeps, so they keep its rule.
  double base = s % 2 == 1 ? low : high;
  for (int i = from; i <= to; ++i) {
    if (std::fabs(y(i) - base) >= half) {
      waves.push_back({model.PotentialX(i), high - low});
      return;
    }
  }
}

}  // namespace

std::vector<std::vector<HalfWave>> FindHalfWavePotentials(const Model& model) {
  std::vector<std::vector<HalfWave>> curves;
  Table1<double> y(kMaxPoints + 1);  // working copy of the curve; y(0) stays 0
  for (int k = 1; k <= model.CurveCount; ++k) {
    for (int i = 1; i <= model.NumberOfPoints; ++i)
      y(i) = model.CurrentY(i, k);
    std::vector<HalfWave> waves;
    for (int s = 1; s <= 2 * model.ScanCycles; ++s)
      FindInSegment(model, y, s, waves);
    curves.push_back(waves);
  }
  return curves;
}

}  // namespace qalto
