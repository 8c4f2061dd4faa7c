#pragma once
// Gaussian noise added to a simulated current. Without a seed it is the program's deterministic
// noise: a linear congruential generator seeded from the number of points feeds a Box-Muller
// transform, so the same parameters always give the same noisy curve. With a seed (qalto-batch
// --seed) the numbers come from the 64-bit Mersenne Twister started at that seed, so that runs
// of a parameter grid get independent noise that is still reproducible bit for bit.

#include "model/model.h"

namespace qalto {

// Adds NoiseLevel x z(i) to column `column` of ReactionCurrents for points 1..NumberOfPoints;
// every call starts the generator afresh, from NoiseSeed when it is set.
void AddNoise(Model& model, int column);

}  // namespace qalto
