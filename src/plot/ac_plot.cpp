#include "plot/ac_plot.h"

#include <cmath>

#include "model/model_limits.h"

namespace qalto {

std::string HarmonicQuantity(int k) {
  return k == 0 ? std::string(kDcComponent) : "harmonic " + std::to_string(k);
}

int HarmonicOf(const std::string& quantity) {
  for (int k = 0; k <= kAcHarmonics; ++k)
    if (quantity == HarmonicQuantity(k)) return k;
  return -1;
}

bool ShowsAcHarmonics(const Model& model, const std::string& quantity) {
  if (model.AcSpectrumPoints == 0) return false;
  return HarmonicOf(quantity) >= 0 || quantity == kAllHarmonics || quantity == kPowerSpectrum;
}

void PrepareAcCurves(Model& model, const std::string& quantity) {
  if (quantity == kAllHarmonics) {
    model.CurveCount = kAcHarmonics;
    for (int k = 1; k <= kAcHarmonics; ++k)
      for (int j = model.FirstPoint; j <= model.LastPoint; ++j)
        model.CurrentY(j, k) = model.AcHarmonics(j, k);
    return;
  }
  const int k = quantity == kPowerSpectrum ? -1 : HarmonicOf(quantity);
  model.CurveCount = model.TargetCurve;
  for (int j = model.FirstPoint; j <= model.LastPoint; ++j)
    model.CurrentY(j, model.CurrentCurve) =
        k >= 0 ? model.AcHarmonics(j, k) : model.ReactionCurrents(j, model.TotalCurrentColumn);
}

Outcome PlotAcSpectrum(PlotContext& context) {
  Model& m = context.model;
  const double last = (kAcHarmonics + 0.5) * m.AcFrequency;  // Hz
  GrowingTable1<double> x{kMaxPoints + 1};
  GrowingTable2<double> y{kMaxPoints + 1, 2};
  // A bin without power is drawn at the floor of the others, 1e-300 A^2.
  int count = 0;
  for (int j = 1; j <= m.AcSpectrumPoints && m.AcSpectrum(j, 1) <= last; ++j) {
    x(++count) = m.AcSpectrum(j, 1);
    y(count, 1) = std::log10(std::fmax(m.AcSpectrum(j, 2), 1e-300));
  }
  Table1<int> styles{kMaxCurves + 1};
  styles(1) = 3;
  PlotContext own{m, context.options, context.surface};
  own.options.frequencyAxis = true;
  own.options.reverseX = false;
  own.options.timeAxis = false;
  const int curves = m.CurveCount;
  m.CurveCount = 1;
  Outcome drawn = PlotCurves(own, 1, count, x, y, styles);
  m.CurveCount = curves;
  return drawn;
}

}  // namespace qalto
