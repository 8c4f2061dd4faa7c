#include "simulation/curve_slot.h"

#include "model/measured_ac.h"

namespace qalto {

void SelectCurveSlot(Model& model, bool overlapChecked) {
  NarrowFromHarmonics(model);  // the slots as they were before a measured curve's harmonics
  if (model.FitMode) {
    model.CurveCount = model.CurrentCurve = model.TargetCurve = 2;
  } else if (overlapChecked && model.CurveCount < kMaxOverlaid) {
    model.CurveCount = model.CurveCount + 1;
    model.CurrentCurve = model.TargetCurve = model.CurveCount;
  } else {
    model.CurveCount = model.CurrentCurve = model.TargetCurve = 1;
  }
  ForgetMeasuredAc(model, model.TargetCurve);
  for (int k = model.CurveCount + 1; k <= kMaxCurves; ++k)
    ForgetMeasuredAc(model, k);
}

}  // namespace qalto
