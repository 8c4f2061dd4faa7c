// How the digital simulation turns the sub-step currents into the columns of ReactionCurrents,
// adds charging and ohmic drop, and fails.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/runtime_error.h"
#include "digital/digital_test_model.h"
#include "digital/simulate_digital.h"

namespace qalto {
namespace {

using digital_test::BuildAxis;
using digital_test::PeakIndex;
using digital_test::PlanarReduction;

void Simulate(Model& m, const char* beta = "0.5") {
  BuildAxis(m);
  SimulateDigital(m, {beta, "7"}, ShowMessage{});
}

double Total(const Model& m, int i) {
  return m.ReactionCurrents(i, m.TotalCurrentColumn);
}

std::string FailureOf(Model& m, const char* beta = "0.5") {
  try {
    SimulateDigital(m, {beta, "7"}, ShowMessage{});
  } catch (const RuntimeError& e) {
    return e.Description();
  }
  return "";
}

TEST(SimulateDigital, TotalIsTheFaradaicSumWithoutChargingAndResistance) {
  // A + e = B and C + e = D with their waves 0.3 V apart.
  auto m = PlanarReduction();
  m->Mechanism = 4;
  m->SpeciesCount = 4;
  m->ChargeReactionCount = 2;
  m->ChargeReactionSpecies(2, 1) = 3;
  m->ChargeReactionSpecies(2, 2) = 4;
  m->ChargeReactionStoich(2, 1) = m->ChargeReactionStoich(2, 2) = 1.0;
  m->ChargeN(2) = 2.0;
  m->ChargeKs(2) = 10.0;
  m->ChargeAlpha(2) = 0.5;
  m->ChargeE0(2) = -0.3;
  for (int s = 3; s <= 4; ++s)
    m->SpeciesD(s) = 1e-5;
  m->SpeciesC(3) = 1e-3;
  m->MaxIteration = 5;
  Simulate(*m);
  EXPECT_EQ(m->TotalCurrentColumn, 3);
  for (int i = 1; i <= m->NumberOfPoints; ++i) {
    EXPECT_EQ(Total(*m, i), m->ReactionCurrents(i, 1) + m->ReactionCurrents(i, 2));
  }
  EXPECT_EQ(m->MaxIteration, 0);  // no second-order reaction
  // Before the second wave only the first reaction carries current.
  EXPECT_GT(m->ReactionCurrents(250, 1), 0.0);
  EXPECT_NEAR(m->ReactionCurrents(250, 2), 0.0, 1e-9);
  // The two-electron wave of C is larger than the one-electron wave of A.
  EXPECT_GT(m->ReactionCurrents(m->NumberOfPoints, 2), 1.5 * m->ReactionCurrents(300, 1));
}

TEST(SimulateDigital, ChargingCurrentFollowsTheSweepDirection) {
  auto plain = PlanarReduction();
  plain->ScanCycles = 1;
  auto charged = std::make_unique<Model>(*plain);
  charged->DoubleLayerCapacitance = 2e-5;  // F
  Simulate(*plain);
  Simulate(*charged);
  const double Cdv = 2e-5 * 0.1;  // A
  const int vertex = plain->SweepPoints;
  // Sweeping toward negative potentials charges the double layer with a reduction-signed
  // current; the vertex point, at the same potential as the one before, has none.
  EXPECT_NEAR(Total(*charged, 10) - Total(*plain, 10), Cdv, 1e-15);
  EXPECT_NEAR(Total(*charged, vertex + 1) - Total(*plain, vertex + 1), 0.0, 1e-15);
  EXPECT_NEAR(Total(*charged, vertex + 10) - Total(*plain, vertex + 10), -Cdv, 1e-15);
  // The reaction columns carry the faradaic current only.
  EXPECT_EQ(charged->ReactionCurrents(10, 1), plain->ReactionCurrents(10, 1));
}

TEST(SimulateDigital, UncompensatedResistanceDelaysAndLowersThePeak) {
  // A slow charge transfer: the ohmic drop of the previous point's current then shifts the
  // potential of the next without setting it swinging.
  auto plain = PlanarReduction();
  plain->ChargeKs(1) = 1e-4;  // cm/s
  auto resistive = std::make_unique<Model>(*plain);
  resistive->UncompensatedResistance = 100.0;  // ohm
  Simulate(*plain);
  Simulate(*resistive);
  const int p0 = PeakIndex(*plain);
  const int p1 = PeakIndex(*resistive);
  const double drop = 100.0 * Total(*plain, p0);  // V
  EXPECT_LT(resistive->PotentialX(p1), plain->PotentialX(p0) - 0.5 * drop);
  EXPECT_GT(resistive->PotentialX(p1), plain->PotentialX(p0) - 1.5 * drop);
  EXPECT_LT(Total(*resistive, p1), Total(*plain, p0));
}

TEST(SimulateDigital, DifferentialPulseIsTheCurrentAfterThePulseMinusTheCurrentBefore) {
  // With a zero pulse the difference is the decay of the Cottrell current over the pulse time,
  // F A C sqrt(D / pi) (1 / sqrt(1 s) - 1 / sqrt(0.95 s)), once A is reduced as it arrives.
  auto dp = PlanarReduction();
  dp->Technique = 4;
  dp->DropTime = 1.0;
  dp->PulseTime = 0.05;
  dp->PulsePotential = 0.0;
  dp->PotentialStep = 0.01;
  Simulate(*dp);
  const double cottrell = 96484.6 * 1e-6 * std::sqrt(1e-5 / 3.141592654);  // A s^1/2
  const double decay = cottrell * (1.0 - 1.0 / std::sqrt(0.95));
  EXPECT_NEAR(dp->ReactionCurrents(61, 1), decay, 0.001 * cottrell);

  // A real pulse gives a peak near E0 - pulse/2.
  dp->PulsePotential = -0.05;
  Simulate(*dp);
  EXPECT_NEAR(dp->PotentialX(PeakIndex(*dp)), 0.025, 0.0101);
  EXPECT_GT(Total(*dp, PeakIndex(*dp)), 0.0);
}

TEST(SimulateDigital, SquareWaveNetAndAdditiveSum) {
  // A microsphere at steady state with a zero amplitude: both halves carry the same current, so
  // the square wave's net current vanishes and the additive square wave's sum is twice it.
  auto sw = PlanarReduction();
  sw->Technique = 6;
  sw->Electrode = 2;
  sw->Radius = 1e-4;
  sw->ElectrodeArea = 4.0 * 3.141592654 * 1e-8;
  sw->PulseTime = 0.025;
  sw->PulsePotential = 0.0;
  sw->PotentialStep = 0.01;
  Simulate(*sw);
  const double steady = 96484.6 * sw->ElectrodeArea * 1e-5 * 1e-6 / 1e-4;  // n F A D C / r
  EXPECT_NEAR(Total(*sw, sw->NumberOfPoints) / (2.0 * steady), 1.0, 0.03);
  sw->Technique = 5;
  Simulate(*sw);
  EXPECT_NEAR(Total(*sw, sw->NumberOfPoints) / steady, 0.0, 1e-3);
  const int net = sw->TotalCurrentColumn;
  EXPECT_NEAR(sw->ReactionCurrents(sw->NumberOfPoints, net + 1) / steady, 1.0, 0.03);
}

TEST(SimulateDigital, PulseTechniquesStartEveryPointFromTheBulk) {
  // The same potentials in reverse order give the same currents point by point.
  auto forward = PlanarReduction();
  forward->Technique = 3;
  forward->DropTime = 0.5;
  forward->PulseTime = 0.025;
  forward->PotentialStep = 0.01;
  auto backward = std::make_unique<Model>(*forward);
  backward->StartPotential = forward->EndPotential;
  backward->EndPotential = forward->StartPotential;
  backward->PulsePotential = -forward->PulsePotential;  // a fixed pulse toward negative
  Simulate(*forward);
  BuildAxis(*backward);
  backward->SweepPoints = 0;  // every point counts as return sweep: the pulse keeps its sign
  SimulateDigital(*backward, {"0.5", "7"}, ShowMessage{});
  const int n = forward->NumberOfPoints;
  for (int i = 1; i <= n; ++i) {
    EXPECT_NEAR(forward->ReactionCurrents(i, 1), backward->ReactionCurrents(n + 1 - i, 1), 1e-15);
  }
}

TEST(SimulateDigital, SurfaceConcentrationsAreWrittenForEverySpecies) {
  auto m = PlanarReduction();
  m->SurfaceConcentrations(1, 3) = 42.0;  // beyond the species: left alone
  Simulate(*m);
  EXPECT_NEAR(m->SurfaceConcentrations(1, 1), 1e-3, 1e-8);
  EXPECT_NEAR(m->SurfaceConcentrations(1, 2), 0.0, 1e-8);
  // Close to Nernst at E - E0 = -0.3 V, C_A / C_B = exp(-0.3 F/RT), with a fast transfer.
  const double ratio = m->SurfaceConcentrations(m->NumberOfPoints, 1) /
                       m->SurfaceConcentrations(m->NumberOfPoints, 2);
  EXPECT_NEAR(ratio / std::exp(-0.3 * m->FOverRT), 1.0, 0.05);
  EXPECT_GT(m->SurfaceConcentrations(m->NumberOfPoints, 2), 5e-4);
  EXPECT_EQ(m->SurfaceConcentrations(1, 3), 42.0);
}

TEST(SimulateDigital, FailuresRaiseTheRunTimeError) {
  {
    auto m = PlanarReduction();
    BuildAxis(*m);
    EXPECT_EQ(FailureOf(*m, "0.01").rfind("Subscript out of range: the grid needs 310", 0), 0u);
    EXPECT_EQ(FailureOf(*m, "none"), "Overflow");  // beta 0: 0 / 0
  }
  {
    auto m = PlanarReduction();
    BuildAxis(*m);
    m->DropTime = 0.0;  // no time per point: a first box of zero width
    EXPECT_EQ(FailureOf(*m), "Overflow");
  }
  {
    auto m = PlanarReduction();
    m->Technique = 3;
    BuildAxis(*m);
    m->PulseTime = 0.0;
    EXPECT_EQ(FailureOf(*m), "Division by zero");
  }
  {
    auto m = PlanarReduction();
    BuildAxis(*m);
    m->ChargeReactionSpecies(1, 2) = 3;  // a species the mechanism does not have
    EXPECT_EQ(FailureOf(*m), "Subscript out of range");
    m->ChargeReactionSpecies(1, 2) = 2;
    m->SpeciesCount = 9;
    EXPECT_EQ(FailureOf(*m), "Subscript out of range");
    m->SpeciesCount = 2;
    m->Technique = 7;
    EXPECT_EQ(FailureOf(*m), "Invalid procedure call or argument");
  }
  {
    auto m = PlanarReduction();
    BuildAxis(*m);
    m->ChargeReactionStoich(1, 1) = 0.0;
    EXPECT_FALSE(FailureOf(*m).empty());
  }
}

}  // namespace
}  // namespace qalto
