#pragma once
// Peak separation: beside the observed data (curve 1) and the total simulated current (curve 2),
// the current of each charge reaction of the latest simulation becomes a curve of its own.

#include "model/model.h"

namespace qalto {

// Curves 2 + r = ReactionCurrents column r for r = 1..ChargeReactionCount; CurveCount follows.
void AddComponentCurves(Model& model);

}  // namespace qalto
