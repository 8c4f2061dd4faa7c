#pragma once
// The plotter: draws the curves of the curve store into the plot window as a framed box with
// tick marks, labels, axis titles, an optional dashed zero line and an optional grid, and fills
// the curve store with the quantity chosen in the display options before a plot.

#include <functional>

#include "common/failure.h"
#include "common/growing_table.h"
#include "common/table.h"
#include "drawing/drawing_surface.h"
#include "model/model.h"
#include "plot/plot_options.h"

namespace qalto {

// What a plot reads and draws on: the model, the display settings and the plot window.
struct PlotContext {
  Model& model;
  PlotOptions options;
  DrawingSurface& surface;
};

// Draws curves 1..CurveCount, points first..last, of y against x, curve k in the style
// styles(k) (1 dots, 2 small squares, 3 connected line, anything else not drawn). Writes the
// plot ranges into the model when automatic scaling is on. A run-time error ends the drawing
// quietly; what is drawn stays. Ranges of no width end it with the failure "Error: No data!".
Outcome PlotCurves(PlotContext& context, int first, int last, const GrowingTable1<double>& x,
                   const GrowingTable2<double>& y, const Table1<int>& styles);

// Runs the model refresh, then copies the quantity the options name from the simulation's
// results into the curve store. Run-time errors reach the caller.
void PrepareCurves(Model& model, const PlotOptions& options,
                   const std::function<void()>& refreshModel);

// PrepareCurves unless a fit is running (it keeps its own curves), then PlotCurves.
Outcome PrepareAndPlot(PlotContext& context, const std::function<void()>& refreshModel, int first,
                       int last, const GrowingTable1<double>& x, const GrowingTable2<double>& y,
                       const Table1<int>& styles);

// The curves as they stand when the current one is no run's: the measured AC voltammograms
// among them prepared for the quantity (unless a fit is running), the power spectrum the current
// curve's own where it is one of them; then PlotCurves.
Outcome PrepareMeasuredAndPlot(PlotContext& context, int first, int last,
                               const GrowingTable1<double>& x, const GrowingTable2<double>& y,
                               const Table1<int>& styles);

}  // namespace qalto
