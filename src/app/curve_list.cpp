// The curve list of the main window: which curves a transform acts on, which one is active,
// which the plot shows, and Undo of the commands that change the curves.

#include <algorithm>

#include "app/app.h"

namespace qalto {

std::vector<int> App::SelectedCurves() const {
  std::vector<int> chosen;
  for (int k : selected_) {
    if (k >= 1 && k <= model_->CurveCount) chosen.push_back(k);
  }
  if (chosen.empty() && model_->CurrentCurve >= 1 && model_->CurrentCurve <= kMaxCurves)
    chosen.push_back(model_->CurrentCurve);
  return chosen;
}

void App::SelectCurves(const std::vector<int>& curves) {
  selected_ = curves;
  std::sort(selected_.begin(), selected_.end());
  selected_.erase(std::unique(selected_.begin(), selected_.end()), selected_.end());
}

void App::SetActiveCurve(int curve) {
  if (curve < 1 || curve > model_->CurveCount) return;
  model_->CurrentCurve = curve;
}

bool App::CurveHidden(int curve) const {
  return curve >= 1 && curve <= kMaxCurves && hidden_[static_cast<size_t>(curve)];
}

void App::SetCurveHidden(int curve, bool hidden) {
  if (curve < 1 || curve > kMaxCurves) return;
  hidden_[static_cast<size_t>(curve)] = hidden;
}

std::string App::CurveName(int curve) const {
  if (curve >= 1 && curve <= kMaxCurves) {
    const CurveOrigin& origin = origins_[static_cast<size_t>(curve)];
    if (origin.source != CurveSource::kNone && !origin.name.empty()) return origin.name;
  }
  return "Curve " + std::to_string(curve);
}

bool App::IsUndoable(const std::string& handler) {
  static const char* const kUndoable[] = {
      "mnuSimulate_Click",       "mnuImport_Click",       "mnuManualFit_Click", "mnuAutoFit_Click",
      "mnuManualSeparate_Click", "mnuAutoSeparate_Click", "mnuGlobalFit_Click", "mnuSemi_Click",
      "mnuSemiInte_Click",       "mnuDerivative_Click",   "mnuIntegral_Click",  "mnuLog_Click",
      "mnu1000X_Click",          "mnu10X_Click",          "mnu01X_Click",       "mnu0001X_Click",
      "mnu1000Y_Click",          "mnu10Y_Click",          "mnu01Y_Click",       "mnu0001Y_Click",
      "mnuMinusY_Click",         "mnuMinusX_Click"};
  return std::find(std::begin(kUndoable), std::end(kUndoable), handler) != std::end(kUndoable);
}

CurveSet App::TakeCurves() const {
  CurveSet set = TakeCurveSet(*model_);
  set.origins = origins_;
  set.hidden = hidden_;
  set.imported = importedCurves_;
  return set;
}

void App::PutCurves(const CurveSet& set) {
  PutCurveSet(set, *model_);
  origins_ = set.origins;
  hidden_ = set.hidden;
  importedCurves_ = set.imported;
}

void App::mnuUndo_Click() {
  std::optional<CurveSet> before = history_.Pop();
  if (!before) {
    platform_.MessageBox("Nothing to undo.");
    return;
  }
  PutCurves(*before);
  curveFailed_ = false;
  // Taking back the first curve leaves an empty plot, not a complaint that there is no data.
  if (model_->CurveCount > 0) {
    PlotCurves();
  } else {
    plot_.surface.Clear();
  }
}

void App::ForSelectedCurves(const std::function<void()>& transform) {
  Model& m = *model_;
  const int active = m.CurrentCurve;
  for (int k : SelectedCurves()) {
    m.CurrentCurve = k;
    transform();
  }
  m.CurrentCurve = active;
}

}  // namespace qalto
