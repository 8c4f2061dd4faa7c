// The main window's own curve commands: plotting, curve stepping, scaling, sign inversion,
// reversal and clearing the result window.

#include "app/app.h"
#include "plot/plotter.h"
#include "plot/spectrum_plot.h"

namespace qalto {

void App::PlotCurves() {
  Model& m = *model_;
  PlotContext context{m, option_.PlotSettings(), plot_.surface};
  if (m.SpectrumFrequencies > 0) {
    if (Outcome failed = PlotSpectra(context)) platform_.MessageBox(failed->message);
    return;
  }
  if (Outcome failed = qalto::PlotCurves(context, m.FirstPoint, m.LastPoint, m.PotentialX,
                                         m.CurrentY, m.LineStyles))
    platform_.MessageBox(failed->message);
}

void App::PrepareAndPlot() {
  Model& m = *model_;
  if (m.SpectrumFrequencies > 0) {  // a spectrum has no other quantity to prepare
    Refresh();
    PlotCurves();
    return;
  }
  PlotContext context{m, option_.PlotSettings(), plot_.surface};
  if (Outcome failed = qalto::PrepareAndPlot(
          context, [this] { Refresh(); }, m.FirstPoint, m.LastPoint, m.PotentialX, m.CurrentY,
          m.LineStyles))
    platform_.MessageBox(failed->message);
}

void App::mnuOption_Click() {
  ShowForm(option_);
}

void App::mnuPlot_Click() {
  PlotCurves();
}

void App::FormPlot_Form_Resize() {
  PlotCurves();
}

void App::mnuNextCurve_Click() {
  Model& m = *model_;
  m.CurrentCurve = m.CurrentCurve < m.CurveCount ? m.CurrentCurve + 1 : 1;
  result_.Print({PrintItem::Text("Curve Number is "),
                 PrintItem::Number(m.CurrentCurve, Separator::kLineEnd)});
}

void App::mnuClear_Click() {
  result_.Clear();
}

void App::ScalePotentials(double factor) {
  if (!HasCurve()) return;
  Model& m = *model_;
  for (int i = 1; i <= m.NumberOfPoints; ++i)
    m.PotentialX(i) = m.PotentialX(i) * factor;
  PlotCurves();
}

// Scales the current curve; a factor of -1 inverts its sign exactly.
void App::ScaleCurrentCurve(double factor) {
  if (!HasCurve()) return;
  Model& m = *model_;
  for (int i = 1; i <= m.NumberOfPoints; ++i) {
    m.CurrentY(i, m.CurrentCurve) = m.CurrentY(i, m.CurrentCurve) * factor;
  }
  PlotCurves();
}

void App::mnuMinusX_Click() {
  if (!HasCurve()) return;
  Model& m = *model_;
  int n = m.NumberOfPoints;
  std::vector<double> x(static_cast<size_t>(n) + 1);
  std::vector<double> y(static_cast<size_t>(n) + 1);
  for (int i = 1; i <= n; ++i) {
    x[static_cast<size_t>(i)] = m.PotentialX(n + 1 - i);
    y[static_cast<size_t>(i)] = m.CurrentY(n + 1 - i, m.CurrentCurve);
  }
  for (int i = 1; i <= n; ++i) {
    m.PotentialX(i) = x[static_cast<size_t>(i)];
    m.CurrentY(i, m.CurrentCurve) = y[static_cast<size_t>(i)];
  }
  PrepareAndPlot();
}

}  // namespace qalto
