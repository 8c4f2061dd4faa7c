#include "simulation/analytical_point.h"

namespace qalto {

// The closed-form response functions are not part of the program yet: no combination of
// technique and electrode has a faradaic current, so only charging current, ohmic drop,
// baseline and noise make up a curve.
void PrepareAnalyticalRun(Model&, AnalyticalRun&) {}

double AnalyticalReactionCurrent(Model& model, AnalyticalRun&, ReactionPoint& point) {
  model.ReactionCurrents(point.i, point.r) = 0.0;
  return 0.0;
}

void TransformAnalyticalColumns(Model&, AnalyticalRun&) {}

}  // namespace qalto
