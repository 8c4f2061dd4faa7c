#include "simulation/noise.h"

#include <cmath>

#include "common/checked_math.h"
#include "common/constants.h"

namespace qalto {
namespace {

constexpr double kModulus = 199017;
constexpr double kMultiplier = 24298;
constexpr double kIncrement = 99991;

// One step of the generator: one more than the remainder, so the result is in 1..m.
double NextSeed(double seed) {
  seed = seed * kMultiplier + kIncrement;
  return (seed + 1) - std::floor(seed / kModulus) * kModulus;
}

}  // namespace

void AddNoise(Model& model, int column) {
  double seed = 2.0 * model.NumberOfPoints;
  double counter = seed;
  double rho = 0;
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    // Each point takes two numbers: the first sets the radius, the second the angle.
    for (;;) {
      seed = NextSeed(seed);
      counter = counter - 1;
      if (std::fmod(counter, 2.0) == 0.0) break;
      rho = Sqrt(2 * Log(kModulus / seed));
    }
    double z = rho * std::cos(kTwoPi * seed / kModulus);
    model.ReactionCurrents(i, column) += model.NoiseLevel * z;
  }
}

}  // namespace qalto
