#include "analysis/half_wave_finding.h"

#include <cmath>

#include "analysis/curve_extremes.h"
#include "common/number_format.h"
#include "common/point_index.h"

namespace qalto {
namespace {

// One sweep segment of curve y, points from..to (neighbouring segments share their end point).
// The first point half-way up the wave is reported as wave number ++wave.
void ReportSegment(const Model& model, ResultWindow& result, const Table1<double>& y, int s,
                   int& wave) {
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
      ++wave;
      result.Print({PrintItem::Text("Peak "), PrintItem::Number(wave),
                    PrintItem::Text(": ", Separator::kZone),
                    PrintItem::Text("E1/2= " + FormatNumber(model.PotentialX(i), "0.####") + "V",
                                    Separator::kZone),
                    PrintItem::Text("Id= " + FormatNumber(high - low, "0.####E-0") + "A",
                                    Separator::kLineEnd)});
      return;
    }
  }
}

}  // namespace

void FindHalfWavePotentials(const Model& model, ResultWindow& result) {
  Table1<double> y(kMaxPoints + 1);  // working copy of the curve; y(0) stays 0
  for (int k = 1; k <= model.CurveCount; ++k) {
    result.Print({PrintItem::Zone(), PrintItem::Text("Curve "), PrintItem::Number(k),
                  PrintItem::Text(":", Separator::kLineEnd)});
    int wave = 0;
    for (int i = 1; i <= model.NumberOfPoints; ++i)
      y(i) = model.CurrentY(i, k);
    for (int s = 1; s <= 2 * model.ScanCycles; ++s)
      ReportSegment(model, result, y, s, wave);
  }
}

}  // namespace qalto
