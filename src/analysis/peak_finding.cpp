#include "analysis/peak_finding.h"

#include <cmath>

#include "common/checked_math.h"
#include "common/point_index.h"

namespace qalto {
namespace {

// A peak of the magnitude at point i: two rising flanks of two steps each on both sides (the
// outer step must rise too, so that noise of one point is not a peak), a top at least as high
// as both neighbours, and a height above the threshold.
bool IsPeak(const Model& model, int i, int k, double threshold) {
  auto a = [&](int j) { return std::fabs(model.CurrentY(j, k)); };
  bool outerFlanks = a(i - 2) > a(i - 4) && a(i + 2) > a(i + 4);
  bool innerFlanks = a(i - 1) > a(i - 2) && a(i + 1) > a(i + 2);
  bool top = a(i) >= a(i - 1) && a(i) >= a(i + 1);
  return outerFlanks && innerFlanks && top && a(i) > threshold;
}

void ClearPeaks(Model& model, int k) {
  for (int j = 1; j <= kMaxPeaks; ++j) {
    model.PeakPotential(j, k) = 0;
    model.PeakCurrent(j, k) = 0;
    model.HalfPeakPotential(j, k) = 0;
  }
  model.PeakCount = 0;
}

void ScanPeaks(Model& model, int k, int from, int to) {
  double threshold = 0.02 * std::fabs(model.PlotYMin - model.PlotYMax);  // A
  for (int i = from + 4; i <= to - 4; ++i) {
    if (!IsPeak(model, i, k, threshold)) continue;
    // The tables hold 20 peaks per curve: on a noisy curve the first 20 in scan order are kept.
    if (model.PeakCount == kMaxPeaks) continue;
    ++model.PeakCount;
    model.PeakCurrent(model.PeakCount, k) = model.CurrentY(i, k);
    model.PeakPotential(model.PeakCount, k) = model.PotentialX(i);
  }
}

// The first point, in scan order, whose current reaches 95 % of half the first peak's height
// above a zero baseline.
void FindHalfPeakPoint(Model& model, int k) {
  double baseline = 0;  // A
  double half = std::fabs(model.PeakCurrent(1, k) - baseline) / 2;
  for (int i = model.FirstPoint + 2; i <= model.LastPoint - 2; ++i) {
    if (std::fabs(model.CurrentY(i, k) - baseline) >= 0.95 * half) {
      model.HalfPeakPotential(1, k) = model.PotentialX(i);
      return;
    }
  }
}

CurvePeaks PeaksOf(const Model& model, int k) {
  CurvePeaks found;
  for (int j = 1; j <= model.PeakCount; ++j)
    found.peaks.push_back({model.PeakPotential(j, k), model.PeakCurrent(j, k)});
  found.halfWidth = model.HalfPeakPotential(1, k) - model.PeakPotential(1, k);
  return found;
}

PeakPair Separation(const Model& model, int k) {
  double ep1 = model.PeakPotential(1, k);  // V
  double ep2 = model.PeakPotential(2, k);  // V
  return {ep2 - ep1, (ep2 + ep1) / 2};
}

// The reverse-to-forward peak current ratio of a cyclic voltammogram from currents read
// against the zero line: the reverse peak is corrected for the decaying forward current it sits
// on by 0.485 times the current at the switching point, plus 0.08.
PeakRatio Ratio(const Model& model, int k) {
  double ipc = model.PeakCurrent(1, k);   // forward peak, A
  double ipa0 = model.PeakCurrent(2, k);  // reverse peak against zero current, A
  double isp = model.CurrentY(ToPointIndex(model.SweepPoints), k);  // at the switching point, A
  double ratio = std::fabs(Div(ipa0, ipc)) + 0.485 * std::fabs(Div(isp, ipc)) + 0.08;
  return {ratio, ipc, -ratio * ipc};
}

}  // namespace

PeakReport FindPeaks(Model& model, int from, int to) {
  PeakReport report;
  try {
    for (int k = 1; k <= model.CurveCount; ++k) {
      report.curves.emplace_back();
      ClearPeaks(model, k);
      ScanPeaks(model, k, from, to);
      FindHalfPeakPoint(model, k);
      CurvePeaks& found = report.curves.back();
      found = PeaksOf(model, k);
      if (model.PeakCount == 2 && model.ScanCycles == 1) {
        found.pair = Separation(model, k);
        if (model.Technique == Technique::kSweep) found.ratio = Ratio(model, k);
      }
    }
  } catch (const RuntimeError&) {
    report.failure = std::current_exception();
  }
  return report;
}

}  // namespace qalto
