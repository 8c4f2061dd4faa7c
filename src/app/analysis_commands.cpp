// The commands of the Analyze menu: peak and half-wave finding, theoretical peak values and
// the curve transforms, which act on the selected curves.

#include "analysis/curve_integral.h"
#include "analysis/log_wave.h"
#include "app/analysis_report.h"
#include "app/app.h"
#include "common/number_text.h"
#include "simulation/curve_derivatives.h"

namespace qalto {

bool App::HasCurve() {
  if (!curveFailed_) return true;
  platform_.MessageBox(
      "Error: No curve! The last simulation failed; simulate again or import data.");
  return false;
}

void App::mnuFindPeak_Click() {
  if (!HasCurve()) return;
  Model& m = *model_;
  result_.Show();
  PrintPeaks(result_, FindPeaks(m, m.FirstPoint + 2, m.LastPoint - 2));
}

void App::mnuFindHalfwaveE_Click() {
  if (!HasCurve()) return;
  result_.Show();
  PrintHalfWaves(result_, FindHalfWavePotentials(*model_));
}

void App::mnuTheoPeak_Click() {
  Refresh();
  result_.Show();
  PrintTheoreticalPeak(result_, TheoreticalPeak(*model_, ins_->RadiusValue()));
}

void App::mnuSemi_Click() {
  if (!HasCurve()) return;
  ForSelectedCurves(
      [this] { SemiDifferentiateCurve(*model_, model_->PotentialX, model_->CurrentY); });
  PlotCurves();
}

// The semi-integral is the semi-derivative of the running integral.
void App::mnuSemiInte_Click() {
  if (!HasCurve()) return;
  ForSelectedCurves([this] {
    IntegrateCurve(*model_, model_->PotentialX, model_->CurrentY);
    SemiDifferentiateCurve(*model_, model_->PotentialX, model_->CurrentY);
  });
  PlotCurves();
}

void App::mnuDerivative_Click() {
  if (!HasCurve()) return;
  ForSelectedCurves([this] { DifferentiateCurve(*model_, model_->PotentialX, model_->CurrentY); });
  PlotCurves();
}

void App::mnuIntegral_Click() {
  if (!HasCurve()) return;
  ForSelectedCurves([this] { IntegrateCurve(*model_, model_->PotentialX, model_->CurrentY); });
  PlotCurves();
}

void App::mnuLog_Click() {
  if (!HasCurve()) return;
  ForSelectedCurves([this] { LogWaveCurve(*model_, model_->CurrentY); });
  PlotCurves();
}

}  // namespace qalto
