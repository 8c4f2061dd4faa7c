// The Analyze menu's Cottrell and Anson commands: the lines of the first potential step of the
// last simulated chronoamperogram, with D from their slopes and, from Anson's intercept, the
// charge of adsorbed reactant.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/step_analysis.h"
#include "app/app.h"
#include "common/constants.h"
#include "common/number_format.h"
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

// The points of the first step of the last run, when it was a chronoamperogram.
bool FirstStep(App& app, Model& m, std::vector<double>& time, int& count) {
  if (m.Technique != Technique::kChronoamperometry || m.NumberOfPoints < 2 || app.CurveFailed()) {
    app.platform().MessageBox(
        "Error: No chronoamperogram! Choose 7)  Chronoamperometry in the Techniques form and "
        "simulate first.");
    return false;
  }
  count = std::min(static_cast<int>(m.SweepPoints), m.NumberOfPoints);
  time.clear();
  for (int i = 1; i <= count; ++i)
    time.push_back(m.PotentialX(i));
  return true;
}

}  // namespace

void App::mnuCottrell_Click() {
  Model& m = *model_;
  std::vector<double> time;
  int count = 0;
  if (!FirstStep(*this, m, time, count)) return;
  std::vector<double> current;
  for (int i = 1; i <= count; ++i)
    current.push_back(m.ReactionCurrents(i, m.TotalCurrentColumn));
  result_.Show();
  try {
    PrintFit(result_, "Cottrell: I against t^-1/2 of step 1", CottrellFit(time, current, NFAC(m)),
             " A s^1/2", " A");
  } catch (const RuntimeError& error) {
    platform_.MessageBox("Cottrell Error: " + error.Description());
  }
}

void App::mnuAnson_Click() {
  Model& m = *model_;
  std::vector<double> time;
  int count = 0;
  if (!FirstStep(*this, m, time, count)) return;
  std::vector<double> charge;
  for (int i = 1; i <= count; ++i)
    charge.push_back(m.PassedCharge(i));
  result_.Show();
  try {
    const StepLineFit fit = AnsonFit(time, charge, NFAC(m));
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
