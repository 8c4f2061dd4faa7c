#include "simulation/noise.h"

#include <cmath>
#include <cstdint>
#include <random>

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

// A uniform number in (0, 1] from the top 53 bits of one draw: never 0, so its logarithm is finite.
double UniformOpenZero(std::mt19937_64& engine) {
  constexpr double kUnit = 1.0 / 9007199254740992.0;  // 2^-53
  return static_cast<double>((engine() >> 11) + 1) * kUnit;
}

// The Mersenne Twister's sequence is fixed by the C++ standard, so a seed gives the same numbers
// with every compiler and library.
void AddSeededNoise(Model& model, int column, std::uint64_t seedValue) {
  if (!model.NoiseStream) model.NoiseStream.emplace(seedValue);
  std::mt19937_64& engine = *model.NoiseStream;
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    double radius = std::sqrt(-2 * std::log(UniformOpenZero(engine)));
    double z = radius * std::cos(kTwoPi * UniformOpenZero(engine));
    model.ReactionCurrents(i, column) += model.NoiseLevel * z;
  }
}

// The fixed generator: two numbers a point, the first sets the radius, the second the angle. A
// run's first noisy Simulate starts it from the number of points; later ones draw on from where
// the previous stopped (its period, 199 017 numbers, holds about 99 500 noisy points).
void AddFixedNoise(Model& model, int column) {
  double seed = model.FixedNoiseState > 0 ? model.FixedNoiseState : 2.0 * model.NumberOfPoints;
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    seed = NextSeed(seed);
    double rho = Sqrt(2 * Log(kModulus / seed));
    seed = NextSeed(seed);
    double z = rho * std::cos(kTwoPi * seed / kModulus);
    model.ReactionCurrents(i, column) += model.NoiseLevel * z;
  }
  model.FixedNoiseState = seed;
}

}  // namespace

void AddNoise(Model& model, int column) {
  if (model.NoiseSeed)
    AddSeededNoise(model, column, *model.NoiseSeed);
  else
    AddFixedNoise(model, column);
}

}  // namespace qalto
