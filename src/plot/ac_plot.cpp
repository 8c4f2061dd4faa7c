#include "plot/ac_plot.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "model/measured_ac.h"
#include "model/model_limits.h"
#include "model/point_time.h"

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
    WidenToHarmonics(model);  // the curves slots 1..8 held come back with any other choice
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

namespace {

// Draws log10 of the power (A^2) against the frequency (Hz) up to 8.5 f as one connected line.
Outcome PlotSpectrum(PlotContext& context, const std::vector<double>& frequency,
                     const std::vector<double>& power, double f) {
  Model& m = context.model;
  const double last = (kAcHarmonics + 0.5) * f;  // Hz
  GrowingTable1<double> x{kMaxPoints + 1};
  GrowingTable2<double> y{kMaxPoints + 1, 2};
  // A bin without power is drawn at the floor of the others, 1e-300 A^2.
  int count = 0;
  for (std::size_t j = 0; j < frequency.size() && frequency[j] <= last && count < kMaxPoints; ++j) {
    x(++count) = frequency[j];
    y(count, 1) = std::log10(std::fmax(power[j], 1e-300));
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

}  // namespace

Outcome PlotAcSpectrum(PlotContext& context) {
  const Model& m = context.model;
  std::vector<double> frequency, power;
  for (int j = 1; j <= m.AcSpectrumPoints; ++j) {
    frequency.push_back(m.AcSpectrum(j, 1));
    power.push_back(m.AcSpectrum(j, 2));
  }
  return PlotSpectrum(context, frequency, power, m.AcFrequency);
}

AcHarmonicsResult MeasuredAcHarmonics(const Model& model, int slot) {
  if (!HoldsMeasuredAc(model, slot) || model.NumberOfPoints < 2) return {};
  const double interval = model.MeasuredAcInterval(slot);  // s
  return AcHarmonics(MeasuredAcRaw(model, slot), interval, 1.0 / (kAcSamplesPerPeriod * interval));
}

// Slots 1..8 show the eight envelopes of the measured AC voltammogram in `slot`.
void ShowMeasuredHarmonics(Model& model, int slot) {
  const AcHarmonicsResult h = MeasuredAcHarmonics(model, slot);  // before a slot is written
  if (h.envelope.size() <= static_cast<std::size_t>(kAcHarmonics)) return;
  for (int k = 1; k <= kAcHarmonics; ++k)
    if (static_cast<int>(h.envelope[static_cast<std::size_t>(k)].size()) != model.NumberOfPoints)
      return;
  WidenToHarmonics(model);
  model.CurveCount = kAcHarmonics;
  for (int k = 1; k <= kAcHarmonics; ++k)
    for (int i = 1; i <= model.NumberOfPoints; ++i)
      model.CurrentY(i, k) =
          h.envelope[static_cast<std::size_t>(k)][static_cast<std::size_t>(i - 1)];
}

bool ShowsMeasuredHarmonics(const Model& model, const std::string& quantity) {
  return quantity == kAllHarmonics && HoldsMeasuredAc(model, model.CurrentCurve);
}

void PrepareMeasuredAcCurves(Model& model, const std::string& quantity) {
  if (ShowsMeasuredHarmonics(model, quantity)) {
    ShowMeasuredHarmonics(model, model.CurrentCurve);
    return;
  }
  NarrowFromHarmonics(model);
  const int k = HarmonicOf(quantity);
  for (int slot = 1; slot <= std::min(model.CurveCount, kMaxCurves); ++slot) {
    if (!HoldsMeasuredAc(model, slot)) continue;
    if (quantity == "current I") {
      RestoreMeasuredAc(model, slot);
      continue;
    }
    KeepMeasuredAcAside(model, slot);
    if (k < 0) continue;
    const AcHarmonicsResult h = MeasuredAcHarmonics(model, slot);
    const std::vector<double>& shown = k == 0 ? h.dc : h.envelope[static_cast<std::size_t>(k)];
    if (static_cast<int>(shown.size()) != model.NumberOfPoints) continue;
    for (int i = 1; i <= model.NumberOfPoints; ++i)
      model.CurrentY(i, slot) = shown[static_cast<std::size_t>(i - 1)];
  }
}

Outcome PlotMeasuredAcSpectrum(PlotContext& context, int slot) {
  const AcHarmonicsResult h = MeasuredAcHarmonics(context.model, slot);
  const double f = 1.0 / (kAcSamplesPerPeriod * context.model.MeasuredAcInterval(slot));
  return PlotSpectrum(context, h.frequency, h.power, f);
}

}  // namespace qalto
