#pragma once
// Gaussian noise added to a simulated current, drawn from the run's stream: the first noisy
// Simulate of a run starts it and each later one draws on, so that curves of one run carry
// independent noise while the whole run repeats bit for bit. Without a seed the stream is the
// program's fixed generator (a linear congruential generator started from the number of points,
// through a Box-Muller transform: a run's first noisy curve depends on its parameters alone);
// with a seed (qalto-batch --seed) it is the 64-bit Mersenne Twister started at that seed.

#include "model/model.h"

namespace qalto {

// Adds NoiseLevel x z(i) to column `column` of ReactionCurrents for points 1..NumberOfPoints.
// Each call draws on from the run's stream, which the first call starts.
void AddNoise(Model& model, int column);

}  // namespace qalto
