#include "app/curve_origin.h"

namespace qalto {
namespace {

bool IsFit(const std::string& handler) {
  return handler == "mnuManualFit_Click" || handler == "mnuAutoFit_Click";
}

bool IsSeparation(const std::string& handler) {
  return handler == "mnuManualSeparate_Click" || handler == "mnuAutoSeparate_Click";
}

}  // namespace

void NoteCurveOrigins(CurveOrigins& origins, const Model& model, const std::string& handler,
                      const std::string& dataFileName) {
  int current = model.CurrentCurve;
  if (current < 1 || current > kMaxCurves) return;
  if (handler == "mnuSimulate_Click") {
    origins[static_cast<size_t>(current)] = {CurveSource::kSimulation,
                                             "Simulation " + std::to_string(current)};
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
