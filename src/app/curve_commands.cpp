// The main window's own curve commands: plotting, curve stepping, scaling, sign inversion,
// reversal and clearing the result window. Scaling, sign inversion and reversal act on the
// selected curves.

#include <utility>

#include "app/app.h"
#include "plot/ac_plot.h"
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
  if (context.options.quantity == kPowerSpectrum && m.AcSpectrumPoints > 0) {
    if (Outcome failed = PlotAcSpectrum(context)) platform_.MessageBox(failed->message);
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

// Scales the selected curves; a factor of -1 inverts their sign exactly.
void App::ScaleCurrentCurve(double factor) {
  if (!HasCurve()) return;
  Model& m = *model_;
  for (int k : SelectedCurves()) {
    for (int i = 1; i <= m.NumberOfPoints; ++i)
      m.CurrentY(i, k) = m.CurrentY(i, k) * factor;
  }
  PlotCurves();
}

// Reverses the order of the points: the potentials and the selected curves.
void App::mnuMinusX_Click() {
  if (!HasCurve()) return;
  Model& m = *model_;
  const int n = m.NumberOfPoints;
  auto reverse = [n](auto&& value) {
    for (int i = 1, j = n; i < j; ++i, --j)
      std::swap(value(i), value(j));
  };
  reverse([&m](int i) -> double& { return m.PotentialX(i); });
  for (int k : SelectedCurves())
    reverse([&m, k](int i) -> double& { return m.CurrentY(i, k); });
  PrepareAndPlot();
}

}  // namespace qalto
