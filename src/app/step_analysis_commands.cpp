// The Analyze menu's Cottrell and Anson commands: the lines of the first potential step of the
// active chronoamperogram (the last simulated one, or a measured one for Cottrell), with D from
// their slopes and, from Anson's intercept, the charge of adsorbed reactant.

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "analysis/step_analysis.h"
#include "app/app.h"
#include "common/constants.h"
#include "common/number_format.h"
#include "common/number_text.h"
#include "common/runtime_error.h"
#include "simulation/double_layer.h"

namespace qalto {
namespace {

constexpr const char* kFormat = "0.####E-0";

std::string Shown(double value, const char* unit) {
  return FormatNumber(value, kFormat) + unit;
}

// n F A C of the first charge reaction's oxidized species, A s / cm (C in mol/cm³).
double NFAC(const Model& m) {
  if (m.ChargeReactionCount < 1) return 0.0;
  const int ox = m.ChargeReactionSpecies(1, 1);
  const double C = ox >= 1 && ox <= m.SpeciesCount ? m.SpeciesC(ox) : 0.0;
  return m.ChargeN(1) * kFaradayPerMilliMol * m.ElectrodeArea * C;
}

void PrintFit(ResultWindow& result, const std::string& heading, const StepLineFit& fit,
              const char* slopeUnit, const char* valueUnit) {
  result.Print({PrintItem::Text(heading + " (" + std::to_string(fit.points) + " points):",
                                Separator::kLineEnd)});
  result.Print(
      {PrintItem::Text("Slope= " + Shown(fit.slope, slopeUnit), Separator::kZone),
       PrintItem::Text("Intercept= " + Shown(fit.intercept, valueUnit), Separator::kLineEnd)});
  std::vector<PrintItem> line = {
      PrintItem::Text("n²A²C²D= " + Shown(fit.squareProduct, " mol²/(cm² s)"), Separator::kZone)};
  if (fit.diffusion) {
    line.push_back(PrintItem::Text("D= " + Shown(*fit.diffusion, " cm²/s"), Separator::kLineEnd));
  } else {
    line.push_back(PrintItem::Text("", Separator::kLineEnd));
  }
  result.Print(line);
}

// The first step of the active curve under technique 7: its times and currents (A) and, for a
// simulated curve, the charge passed (C). A simulated curve's first step is the last run's; a
// measured one's are its points up to t1 of the Instrument window (all of them where t1 holds no
// number), and it has no charge: the current before its first point is not in the file.
struct FirstStep {
  std::vector<double> time, current, charge;
  bool measured = false;
};

std::optional<FirstStep> FirstStepOf(App& app, const Model& m) {
  if (m.Technique != Technique::kChronoamperometry || m.NumberOfPoints < 2 || app.CurveFailed()) {
    app.platform().MessageBox(
        "Error: No chronoamperogram! Choose 7)  Chronoamperometry in the Techniques form and "
        "simulate first.");
    return std::nullopt;
  }
  FirstStep step;
  step.measured = app.ImportedCurveIn(m.CurrentCurve).has_value();
  const double t1 = step.measured ? ReadNumber(app.Ins().TextT1.Text()) : 0.0;  // s
  const int count = std::min(static_cast<int>(m.SweepPoints), m.NumberOfPoints);
  for (int i = 1; i <= m.NumberOfPoints; ++i) {
    const double t = m.PotentialX(i);  // s
    if (step.measured ? t > t1 * (1 + 1e-9) : i > count) break;
    step.time.push_back(t);
    step.current.push_back(step.measured ? m.CurrentY(i, m.CurrentCurve)
                                         : m.ReactionCurrents(i, m.TotalCurrentColumn));
    if (!step.measured) step.charge.push_back(m.PassedCharge(i));
  }
  return step;
}

}  // namespace

void App::mnuCottrell_Click() {
  const std::optional<FirstStep> step = FirstStepOf(*this, *model_);
  if (!step) return;
  result_.Show();
  try {
    PrintFit(result_, "Cottrell: I against t^-1/2 of step 1",
             CottrellFit(step->time, step->current, NFAC(*model_)), " A s^1/2", " A");
  } catch (const RuntimeError& error) {
    platform_.MessageBox("Cottrell Error: " + error.Description());
  }
}

void App::mnuAnson_Click() {
  const Model& m = *model_;
  const std::optional<FirstStep> step = FirstStepOf(*this, m);
  if (!step) return;
  if (step->measured) {
    platform_.MessageBox(
        "Anson Error: the measured curve holds its current only: the charge before its first "
        "point (the double layer's and an adsorbed layer's) is not known. Analyze -> Cottrell "
        "takes its current.");
    return;
  }
  result_.Show();
  try {
    const StepLineFit fit = AnsonFit(step->time, step->charge, NFAC(m));
    PrintFit(result_, "Anson: Q against t^1/2 of step 1", fit, " C/s^1/2", " C");
    // The intercept less the double layer's charge for the step is the adsorbed reactant's.
    const double sign = m.AnodicPositive ? -1.0 : 1.0;
    const double dE = m.StepPotential1 - m.StartPotential;                 // V
    const double layer = -sign * CapacitanceAt(m, m.StepPotential1) * dE;  // C
    const double adsorbed = fit.intercept - layer;                         // C
    const double nFA = m.ChargeReactionCount >= 1 ? m.ChargeN(1) * kFaraday * m.ElectrodeArea : 0.0;
    std::vector<PrintItem> line = {
        PrintItem::Text("Q dl= " + Shown(layer, " C"), Separator::kZone),
        PrintItem::Text("Q ads= " + Shown(adsorbed, " C"), Separator::kZone)};
    if (nFA != 0) {
      line.push_back(PrintItem::Text("Gamma= " + Shown(sign * adsorbed / nFA, " mol/cm²"),
                                     Separator::kLineEnd));
    } else {
      line.push_back(PrintItem::Text("", Separator::kLineEnd));
    }
    result_.Print(line);
  } catch (const RuntimeError& error) {
    platform_.MessageBox("Anson Error: " + error.Description());
  }
}

}  // namespace qalto
