#include "desktop/chart_data.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "plot/ac_plot.h"

namespace qalto {
namespace {

constexpr double kAutoMargin = 0.04;  // share of the data span left free around the curves

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The name and kind of curve k: species concentrations are named by their species, the other
// quantities by what put the curve there.
void NameCurve(App& app, int k, bool concentrations, ChartCurve& curve) {
  const Model& m = app.model();
  const CurveOrigin& origin = app.Origins()[static_cast<size_t>(k)];
  int style = m.LineStyles(k);
  if (concentrations && m.SpeciesCount > 0) {
    int s = (k - 1) % m.SpeciesCount + 1;
    curve.name = "C(" + FromUtf8(m.SpeciesName(s)) + ")";
  } else if (origin.source == CurveSource::kMeasured) {
    curve.name = QFileInfo(FromUtf8(origin.name)).fileName();
  } else if (origin.source != CurveSource::kNone) {
    curve.name = FromUtf8(origin.name);
  } else {
    curve.name = QString("Curve %1").arg(k);
  }
  // "Dots" in the options is the default: markers for measured data, lines for computed curves.
  bool measured = origin.source == CurveSource::kMeasured && !concentrations;
  curve.markers = style == 2 || (style == 1 && measured);
}

ChartRange AutomaticRange(const Model& m, const std::vector<ChartCurve>& curves) {
  ChartRange range{m.PlotXMin, m.PlotXMax, m.PlotYMin, m.PlotYMax};
  if (range.Valid()) return range;
  // The plotter found no range (no data, or a run-time error): take the curves' own extent.
  bool first = true;
  for (const ChartCurve& curve : curves) {
    for (const QPointF& p : curve.points) {
      if (first) range = {p.x(), p.x(), p.y(), p.y()};
      first = false;
      range.xMin = std::min(range.xMin, p.x());
      range.xMax = std::max(range.xMax, p.x());
      range.yMin = std::min(range.yMin, p.y());
      range.yMax = std::max(range.yMax, p.y());
    }
  }
  double dx = std::max(range.xMax - range.xMin, 1e-12) * kAutoMargin;
  double dy = std::max(range.yMax - range.yMin, 1e-30) * kAutoMargin;
  return {range.xMin - dx, range.xMax + dx, range.yMin - dy, range.yMax + dy};
}

// A store of impedance spectra is shown as its Nyquist plot, -Z'' against Z', on the ranges of
// the plotter's square Nyquist frame.
ChartData SpectrumChart(App& app, ChartData data) {
  const Model& m = app.model();
  const int n = std::min(m.SpectrumFrequencies, kMaxPoints / 2);
  data.xTitle = "Z' / Ohm";
  data.yQuantity = "-Z''";
  data.yUnit = "Ohm";
  data.xReversed = false;
  for (int k = 1; k <= std::min(m.CurveCount, kMaxCurves); ++k) {
    if (m.LineStyles(k) < 1 || m.LineStyles(k) > 3 || app.CurveHidden(k)) continue;
    ChartCurve curve;
    curve.slot = k;
    NameCurve(app, k, false, curve);
    for (int i = 1; i <= n; ++i)
      curve.points.emplace_back(m.CurrentY(i, k), -m.CurrentY(n + i, k));
    data.curves.push_back(std::move(curve));
  }
  data.automatic = AutomaticRange(m, data.curves);
  return data;
}

// An AC voltammogram's power spectrum: log10 of the squared amplitude against the frequency, up
// to 8.5 f, as the plotter draws it.
ChartData PowerSpectrumChart(App& app, ChartData data) {
  const Model& m = app.model();
  data.xTitle = "f / Hz";
  data.yQuantity = "log P";
  data.yUnit = "";
  data.xReversed = false;
  ChartCurve curve;
  curve.slot = 1;
  curve.name = "power spectrum";
  const double last = (kAcHarmonics + 0.5) * m.AcFrequency;  // Hz
  for (int j = 1; j <= m.AcSpectrumPoints && m.AcSpectrum(j, 1) <= last; ++j)
    curve.points.emplace_back(m.AcSpectrum(j, 1), std::log10(std::max(m.AcSpectrum(j, 2), 1e-300)));
  data.curves.push_back(std::move(curve));
  data.automatic = AutomaticRange(m, data.curves);
  return data;
}

}  // namespace

ChartData ChartDataOf(App& app) {
  ChartData data;
  const Model& m = app.model();
  if (!app.Plot().HasDrawing()) return data;
  std::string quantity = app.Option().ComboY.Text();
  bool concentrations = quantity == "surface concentration C";
  if (concentrations) {
    data.yQuantity = "C";
    data.yUnit = "M";
  } else if (quantity == "charge Q") {
    data.yQuantity = "Q";
    data.yUnit = "C";
  } else if (quantity == "resistance R") {
    data.yQuantity = "R";
    data.yUnit = "Ohm";
  } else if (quantity == "conductance Cond") {
    data.yQuantity = "Cond";
    data.yUnit = "1/Ohm";
  }
  const bool time = app.Option().TimeAxis();
  const bool programTime = time && (m.Technique == Technique::kPotentialProgram ||
                                    m.Technique == Technique::kAcVoltammetry);
  if (time) data.xTitle = "t / s";
  data.xReversed = app.Option().CheckXdir.Checked() && !time;
  data.grid = m.ShowGrid;
  if (m.SpectrumFrequencies > 0) return SpectrumChart(app, std::move(data));
  if (quantity == kPowerSpectrum && m.AcSpectrumPoints > 0)
    return PowerSpectrumChart(app, std::move(data));
  int first = std::max(m.FirstPoint, 0);
  int last = std::min(m.LastPoint, kMaxPoints);
  int count = std::min(m.CurveCount, kMaxCurves);
  for (int k = 1; k <= count; ++k) {
    int style = m.LineStyles(k);
    if (style < 1 || style > 3) continue;  // the plotter leaves such curves out too
    if (app.CurveHidden(k)) continue;      // hidden in the curve list
    ChartCurve curve;
    curve.slot = k;
    NameCurve(app, k, concentrations, curve);
    for (int j = first; j <= last; ++j)
      curve.points.emplace_back(programTime ? m.PointTimes(j) : m.PotentialX(j), m.CurrentY(j, k));
    data.curves.push_back(std::move(curve));
  }
  const CurveOrigins& origins = app.Origins();
  // After a fit curve 1 holds the observed currents and curve 2 the fitted ones.
  if (!concentrations && count >= 2 && origins[2].source == CurveSource::kFit) {
    ChartCurve residual;
    residual.name = "Residual";
    residual.markers = true;
    residual.slot = 0;
    for (int j = first; j <= last; ++j)
      residual.points.emplace_back(m.PotentialX(j), m.CurrentY(j, 1) - m.CurrentY(j, 2));
    data.residual = std::move(residual);
  }
  data.automatic = AutomaticRange(m, data.curves);
  return data;
}

}  // namespace qalto
