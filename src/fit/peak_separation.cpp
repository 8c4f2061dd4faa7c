#include "fit/peak_separation.h"

namespace qalto {

void AddComponentCurves(Model& model) {
  model.CurveCount = 2;
  for (int r = 1; r <= model.ChargeReactionCount; ++r) {
    model.CurveCount = model.CurveCount + 1;
    for (int i = 1; i <= model.NumberOfPoints; ++i) {
      model.CurrentY(i, model.CurveCount) = model.ReactionCurrents(i, r);
    }
  }
}

}  // namespace qalto
