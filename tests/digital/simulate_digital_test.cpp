// How the digital simulation combines the half periods of a square wave, and how it fails.

#include <gtest/gtest.h>

#include <string>

#include "common/curve_peak.h"
#include "common/error_description.h"
#include "digital/digital_test_model.h"
#include "digital/simulate_digital.h"

namespace qalto {
namespace {

using curve_test::Total;
using namespace digital_test;

std::string FailureOf(Model& m, const char* beta = "0.5") {
  return ErrorDescription([&] {
    SimulateDigital(m, {TypedNumber::Read(beta), TypedNumber(7)}, ShowMessage{});
  });
}

TEST(SimulateDigital, SquareWaveNetAndAdditiveSum) {
  // A microsphere at steady state with a zero amplitude: both halves carry the same current, so
  // the square wave's net current vanishes and the additive square wave's sum is twice it.
  auto sw = PlanarReduction();
  sw->Technique = Technique::kAdditiveSquareWave;
  sw->Electrode = Electrode::kSpherical;
  sw->Radius = 1e-4;
  sw->ElectrodeArea = 4.0 * 3.141592654 * 1e-8;
  sw->PulseTime = 0.025;
  sw->PulsePotential = 0.0;
  sw->PotentialStep = 0.01;
  Simulate(*sw);
  const double steady = 96484.6 * sw->ElectrodeArea * 1e-5 * 1e-6 / 1e-4;  // n F A D C / r
  EXPECT_NEAR(Total(*sw, sw->NumberOfPoints) / (2.0 * steady), 1.0, 0.03);
  sw->Technique = Technique::kSquareWave;
  Simulate(*sw);
  EXPECT_NEAR(Total(*sw, sw->NumberOfPoints) / steady, 0.0, 1e-3);
}

// Beta 0 (0 / 0), a species the mechanism lacks, nine species, no technique, no reactant.
TEST(SimulateDigital, FailuresRaiseTheRunTimeError) {
  auto m = PlanarReduction();
  BuildAxis(*m);
  EXPECT_EQ(FailureOf(*m, "none"), "Overflow");
  m->ChargeReactionSpecies(1, 2) = 3;
  EXPECT_EQ(FailureOf(*m), "Subscript out of range");
  m->ChargeReactionSpecies(1, 2) = 2;
  m->SpeciesCount = 9;
  EXPECT_EQ(FailureOf(*m), "Subscript out of range");
  m->SpeciesCount = 2;
  m->Technique = Technique::kNone;
  EXPECT_EQ(FailureOf(*m), "Invalid procedure call or argument");
  m->Technique = Technique::kSweep;
  m->ChargeReactionStoich(1, 1) = 0.0;
  EXPECT_FALSE(FailureOf(*m).empty());
}

}  // namespace
}  // namespace qalto
