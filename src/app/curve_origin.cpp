#include "app/curve_origin.h"

#include <iterator>

#include "common/plain_number.h"

namespace qalto {
namespace {

constexpr const char* kTechniqueNames[] = {"",
                                           "",
                                           "DC",
                                           "normal pulse",
                                           "differential pulse",
                                           "square wave",
                                           "additive square wave",
                                           "chronoamperometry"};

bool IsFit(const std::string& handler) {
  return handler == "mnuManualFit_Click" || handler == "mnuAutoFit_Click";
}

bool IsSeparation(const std::string& handler) {
  return handler == "mnuManualSeparate_Click" || handler == "mnuAutoSeparate_Click";
}

}  // namespace

std::string SimulationName(const Model& model) {
  std::string name;
  if (model.ChargeReactionCount >= 1) name = "ks " + NumberText(model.ChargeKs(1)) + " cm/s, ";
  if (model.Technique == Technique::kSweep) return name + NumberText(model.ScanRate) + " V/s";
  if (model.Technique == Technique::kImpedance)
    return name + "impedance at " + NumberText(model.DcPotential) + " V";
  const int t = Number(model.Technique);
  constexpr int kNamed = static_cast<int>(std::size(kTechniqueNames));
  return name + (t >= 0 && t < kNamed ? kTechniqueNames[t] : "");
}

void NoteCurveOrigins(CurveOrigins& origins, const Model& model, const std::string& handler,
                      const std::string& dataFileName) {
  int current = model.CurrentCurve;
  if (current < 1 || current > kMaxCurves) return;
  if (handler == "mnuSimulate_Click") {
    origins[static_cast<size_t>(current)] = {CurveSource::kSimulation, SimulationName(model)};
  } else if (handler == "mnuImport_Click") {
    origins[static_cast<size_t>(model.TargetCurve)] = {CurveSource::kMeasured, dataFileName};
  } else if (IsFit(handler) || IsSeparation(handler)) {
    // The measured data stay in curve 1 and the fitted curve goes to curve 2; a separation adds
    // one curve per charge reaction after them.
    origins[2] = {CurveSource::kFit, "Fit"};
    for (int k = 3; k <= model.CurveCount && k <= kMaxCurves; ++k) {
      origins[static_cast<size_t>(k)] = {CurveSource::kComponent,
                                         "Reaction " + std::to_string(k - 2)};
    }
  }
}

}  // namespace qalto
