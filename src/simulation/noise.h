#pragma once
// Deterministic Gaussian noise: a linear congruential generator seeded from the number of points
// feeds a Box-Muller transform, so the same parameters always give the same noisy curve.

#include "app/model.h"

namespace qalto {

// Adds NoiseLevel x z(i) to column `column` of ReactionCurrents for points 1..NumberOfPoints.
void AddNoise(Model& model, int column);

}  // namespace qalto
