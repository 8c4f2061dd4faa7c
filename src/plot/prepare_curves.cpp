#include "common/growing_table.h"
#include "common/table.h"
#include "model/measured_ac.h"
#include "plot/ac_plot.h"
#include "plot/plotter.h"

namespace qalto {

void PrepareCurves(Model& model, const PlotOptions& options,
                   const std::function<void()>& refreshModel) {
  if (refreshModel) refreshModel();
  const std::string& quantity = options.quantity;
  PrepareMeasuredAcCurves(model, quantity);  // before the run's, which may be drawn over them
  if (ShowsMeasuredHarmonics(model, quantity)) return;  // the current curve's, not the run's
  if (ShowsAcHarmonics(model, quantity)) {
    PrepareAcCurves(model, quantity);
  } else if (quantity == "current I" || HarmonicOf(quantity) >= 0 || quantity == kAllHarmonics ||
             quantity == kPowerSpectrum) {
    model.CurveCount = model.TargetCurve;
    CopyColumnRows(model.ReactionCurrents, model.TotalCurrentColumn, model.CurrentY,
                   model.CurrentCurve, model.FirstPoint, model.LastPoint);
  } else if (quantity == "charge Q") {
    model.CurveCount = model.TargetCurve;
    for (int j = model.FirstPoint; j <= model.LastPoint; ++j)
      model.CurrentY(j, model.CurrentCurve) = model.PassedCharge(j);
  } else if (quantity == "surface concentration C") {
    int offset = 0;
    model.CurveCount = model.SpeciesCount;
    // The overlay keeps the previous concentrations in slots 1..SpeciesCount and puts the new
    // ones after them; with more than half as many species as slots it would run past the
    // store, so such a plot is drawn without the overlay.
    if (model.OverlapPlot && 2 * model.SpeciesCount <= kMaxCurves) {
      offset = model.SpeciesCount;
      model.CurveCount = 2 * model.SpeciesCount;
    }
    for (int s = 1; s <= model.SpeciesCount; ++s) {
      CopyColumnRows(model.SurfaceConcentrations, s, model.CurrentY, offset + s, model.FirstPoint,
                     model.LastPoint);
    }
  }
}

Outcome PrepareAndPlot(PlotContext& context, const std::function<void()>& refreshModel, int first,
                       int last, const GrowingTable1<double>& x, const GrowingTable2<double>& y,
                       const Table1<int>& styles) {
  if (!context.model.FitMode) PrepareCurves(context.model, context.options, refreshModel);
  if (context.options.quantity == kPowerSpectrum && context.model.AcSpectrumPoints > 0)
    return PlotAcSpectrum(context);
  return PlotCurves(context, first, last, x, y, styles);
}

Outcome PrepareMeasuredAndPlot(PlotContext& context, int first, int last,
                               const GrowingTable1<double>& x, const GrowingTable2<double>& y,
                               const Table1<int>& styles) {
  Model& m = context.model;
  if (!m.FitMode) PrepareMeasuredAcCurves(m, context.options.quantity);
  if (context.options.quantity == kPowerSpectrum && HoldsMeasuredAc(m, m.CurrentCurve))
    return PlotMeasuredAcSpectrum(context, m.CurrentCurve);
  return PlotCurves(context, first, last, x, y, styles);
}

}  // namespace qalto
