#pragma once
// Gaussian noise added to a simulated current. Without a seed it is the program's deterministic
// noise: a linear congruential generator seeded from the number of points feeds a Box-Muller
// transform, so the same parameters always give the same noisy curve. With a seed (qalto-batch
// --seed) the numbers come from the 64-bit Mersenne Twister started at that seed, so that runs
// of a parameter grid get independent noise that is still reproducible bit for bit, and each
// Simulate of one run draws fresh numbers from it.

#include "model/model.h"

namespace qalto {

// Adds NoiseLevel x z(i) to column `column` of ReactionCurrents for points 1..NumberOfPoints.
// Without a seed every call starts the fixed generator afresh; with NoiseSeed set it draws on from
// the run's stream, which the first call starts at the seed.
void AddNoise(Model& model, int column);

}  // namespace qalto
