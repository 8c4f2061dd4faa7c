// The digital simulation against the textbook results that finite differences converge to.

#include <gtest/gtest.h>

#include <cmath>

#include "digital/digital_test_model.h"
#include "digital/simulate_digital.h"

namespace qalto {
namespace {

using digital_test::BuildAxis;
using digital_test::kF;
using digital_test::PeakIndex;
using digital_test::PlanarReduction;

constexpr double kPi = 3.141592654;
constexpr double kD = 1e-5;  // cm2/s
constexpr double kC = 1e-6;  // 1 mM in mol/cm3

void Simulate(Model& m, const char* beta = "0.5", const char* pH = "7") {
  BuildAxis(m);
  SimulateDigital(m, {beta, pH}, ShowMessage{});
}

double Total(const Model& m, int i) {
  return m.ReactionCurrents(i, m.TotalCurrentColumn);
}

// A DC polarogram-like run from +0.3 V to -0.5 V in 10 mV steps: drops of 1 s sampled at the
// end, in sub-steps of 10 ms.
void DirectCurrent(Model& m) {
  m.Technique = 2;
  m.DropTime = 1.0;
  m.PulseTime = 0.01;
  m.StartPotential = 0.3;
  m.EndPotential = -0.5;
  m.PotentialStep = 0.01;
}

TEST(DigitalPhysics, ReversibleLinearSweepFollowsRandlesSevcik) {
  auto m = PlanarReduction();
  Simulate(*m);
  const int peak = PeakIndex(*m);
  const double f = m->FOverRT;
  const double randlesSevcik = 0.4463 * kF * 1.0 * kC * std::sqrt(f * 0.1 * kD);
  EXPECT_NEAR(Total(*m, peak) / randlesSevcik, 1.0, 0.02);
  // Peak 1.109 RT/F = 28.5 mV beyond E0 for a reduction, to the 1 mV step.
  EXPECT_NEAR(m->PotentialX(peak), -1.109 / f, 0.0011);
  // The surface follows Nernst: at E0 both species are at half the bulk (equal D).
  const int atE0 = 301;
  ASSERT_NEAR(m->PotentialX(atE0), 0.0, 1e-12);
  EXPECT_NEAR(m->SurfaceConcentrations(atE0, 1), m->SurfaceConcentrations(atE0, 2), 2e-6);
  EXPECT_NEAR(m->SurfaceConcentrations(atE0, 1) + m->SurfaceConcentrations(atE0, 2), 1e-3, 1e-6);
}

TEST(DigitalPhysics, IrreversibleSweepFollowsTheKineticPeak) {
  auto m = PlanarReduction();
  m->ChargeKs(1) = 1e-5;  // cm/s
  m->StartPotential = 0.1;
  m->EndPotential = -0.8;
  Simulate(*m);
  const int peak = PeakIndex(*m);
  const double f = m->FOverRT;
  const double alpha = 0.5;
  const double ip = 0.4958 * kF * kC * std::sqrt(alpha * f * 0.1 * kD);
  EXPECT_NEAR(Total(*m, peak) / ip, 1.0, 0.02);
  const double Ep =
      -(0.780 + std::log(std::sqrt(kD) / 1e-5) + 0.5 * std::log(alpha * f * 0.1)) / (alpha * f);
  EXPECT_NEAR(m->PotentialX(peak), Ep, 0.002);
}

TEST(DigitalPhysics, DirectCurrentAndNormalPulsePlateausFollowCottrell) {
  auto dc = PlanarReduction();
  DirectCurrent(*dc);
  Simulate(*dc);
  const int last = dc->NumberOfPoints;
  EXPECT_NEAR(Total(*dc, last) / (kF * kC * std::sqrt(kD / (kPi * 1.0))), 1.0, 0.01);
  // 0.3 V positive of E0 next to nothing is reduced.
  EXPECT_LT(Total(*dc, 1), 1e-5 * Total(*dc, last));

  auto np = PlanarReduction();
  DirectCurrent(*np);
  np->Technique = 3;
  np->PulseTime = 0.05;  // pulses of 50 ms from rest, in 20 sub-steps
  np->PulsePotential = -0.1;
  Simulate(*np);
  EXPECT_NEAR(Total(*np, 60) / (kF * kC * std::sqrt(kD / (kPi * 0.05))), 1.0, 0.03);
  // Every point starts from the bulk, so the plateau is the same for every potential on it.
  EXPECT_NEAR(Total(*np, 60) / Total(*np, np->NumberOfPoints), 1.0, 1e-6);
}

TEST(DigitalPhysics, SphericalElectrodeApproachesSteadyState) {
  for (double r : {1e-3, 1e-4}) {  // cm
    auto m = PlanarReduction();
    DirectCurrent(*m);
    m->Electrode = 2;
    m->Radius = r;
    m->ElectrodeArea = 4.0 * kPi * r * r;
    Simulate(*m);
    // Exact for a sphere: i = n F A D C (1/r + 1/sqrt(pi D t)) after 1 s.
    const double expected =
        kF * m->ElectrodeArea * kD * kC * (1.0 / r + 1.0 / std::sqrt(kPi * kD * 1.0));
    EXPECT_NEAR(Total(*m, m->NumberOfPoints) / expected, 1.0, 0.03) << r;
  }
}

TEST(DigitalPhysics, MultiStepReductionsAddTheirPlateaus) {
  // At a microsphere near steady state: one, two and three electrons per A at the plateaus of
  // A + e = B, B + e = C and C + e = D, waves 0.3 V apart.
  auto one = PlanarReduction();
  DirectCurrent(*one);
  one->Electrode = 2;
  one->Radius = 1e-4;
  one->ElectrodeArea = 4.0 * kPi * 1e-8;
  one->EndPotential = -1.0;
  auto three = std::make_unique<Model>(*one);
  Simulate(*one);
  const double single = Total(*one, one->NumberOfPoints);

  Model& m = *three;
  m.Mechanism = 3;
  m.SpeciesCount = 4;
  m.ChargeReactionCount = 3;
  for (int r = 1; r <= 3; ++r) {
    m.ChargeReactionSpecies(r, 1) = r;
    m.ChargeReactionSpecies(r, 2) = r + 1;
    m.ChargeReactionStoich(r, 1) = m.ChargeReactionStoich(r, 2) = 1.0;
    m.ChargeN(r) = 1.0;
    m.ChargeKs(r) = 10.0;
    m.ChargeAlpha(r) = 0.5;
    m.ChargeE0(r) = -0.3 * (r - 1);
    m.SpeciesD(r + 1) = kD;
    m.SpeciesC(r + 1) = 0.0;
  }
  Simulate(m);
  const int afterFirst = 46;   // -0.15 V
  const int afterSecond = 76;  // -0.45 V
  ASSERT_NEAR(m.PotentialX(afterFirst), -0.15, 1e-9);
  EXPECT_NEAR(Total(m, afterFirst) / single, 1.0, 0.01);
  EXPECT_NEAR(Total(m, afterSecond) / single, 2.0, 0.02);
  EXPECT_NEAR(Total(m, m.NumberOfPoints) / single, 3.0, 0.03);
  for (int r = 1; r <= 3; ++r)
    EXPECT_NEAR(m.ReactionCurrents(m.NumberOfPoints, r) / single, 1.0, 0.01);
  // Past the last wave everything at the surface has become D.
  EXPECT_NEAR(m.SurfaceConcentrations(m.NumberOfPoints, 4), 1e-3, 2e-5);

  // The two-step mechanism, whose rows follow the general rule.
  m.Mechanism = 2;
  m.SpeciesCount = 3;
  m.ChargeReactionCount = 2;
  Simulate(m);
  EXPECT_NEAR(Total(m, afterFirst) / single, 1.0, 0.01);
  EXPECT_NEAR(Total(m, m.NumberOfPoints) / single, 2.0, 0.02);
}

TEST(DigitalPhysics, CatalyticPlateauFollowsFirstOrderKinetics) {
  // A + e = B, B = A with k = 10/s: i = F A C sqrt(D k) (erf(sqrt(kt)) + exp(-kt)/sqrt(pi kt)).
  auto m = PlanarReduction();
  DirectCurrent(*m);
  m->Mechanism = 8;
  m->FirstOrderReactionCount = 1;
  m->FirstOrderReactionSpecies(1, 1) = 2;
  m->FirstOrderReactionSpecies(1, 2) = 1;
  const double k = 10.0;  // 1/s
  m->ForwardRateConstant(1) = k;
  Simulate(*m);
  const double expected =
      kF * kC * std::sqrt(kD * k) * (std::erf(std::sqrt(k)) + std::exp(-k) / std::sqrt(kPi * k));
  EXPECT_NEAR(Total(*m, m->NumberOfPoints) / expected, 1.0, 0.01);
}

TEST(DigitalPhysics, FollowingReactionShiftsThePeakAsInThePureKineticZone) {
  // A + e = B, B -> C with lambda = k RT/(F v) = 100: the wave of an EC mechanism in the pure
  // kinetic zone, i_p = 0.4958 F A C sqrt(F v D/RT), E_p = E0 - 0.780 RT/F + RT/(2F) ln lambda.
  auto m = PlanarReduction();
  m->Mechanism = 7;
  m->ScanRate = 0.01;
  m->DropTime = 0.1;
  m->SpeciesCount = 3;
  m->SpeciesD(3) = kD;
  m->FirstOrderReactionCount = 1;
  m->FirstOrderReactionSpecies(1, 1) = 2;
  m->FirstOrderReactionSpecies(1, 2) = 3;
  const double f = m->FOverRT;
  const double lambda = 100.0;
  m->ForwardRateConstant(1) = lambda * 0.01 * f;
  Simulate(*m);
  const int peak = PeakIndex(*m);
  EXPECT_NEAR(Total(*m, peak) / (0.4958 * kF * kC * std::sqrt(f * 0.01 * kD)), 1.0, 0.02);
  EXPECT_NEAR(m->PotentialX(peak), (-0.780 + 0.5 * std::log(lambda)) / f, 0.0015);
  // What B has become, C, is at the surface.
  EXPECT_GT(m->SurfaceConcentrations(peak, 3), m->SurfaceConcentrations(peak, 2));
}

TEST(DigitalPhysics, SecondOrderReactionFollowsItsRateLaw) {
  // A + B -> C in solution with equal concentrations and no electrode reaction:
  // C_A = C0 / (1 + k C0 t), and A + C stays C0.
  auto m = PlanarReduction();
  m->SpeciesCount = 3;
  m->ChargeReactionCount = 0;
  m->SpeciesC(2) = 1e-3;
  m->SpeciesD(3) = kD;
  m->SecondOrderReactionCount = 1;
  m->SecondOrderReactionSpecies(1, 1) = 1;
  m->SecondOrderReactionSpecies(1, 2) = 2;
  m->SecondOrderReactionSpecies(1, 3) = 3;
  m->ForwardRateConstant(1) = 1000.0;  // 1/(M s): k C0 = 1/s
  m->MaxIteration = 99;
  Simulate(*m);
  for (int i : {50, 100, 300, 600}) {
    const double t = i * 0.01;  // s
    EXPECT_NEAR(m->SurfaceConcentrations(i, 1) / (1e-3 / (1.0 + t)), 1.0, 0.005) << i;
    EXPECT_NEAR(m->SurfaceConcentrations(i, 1) + m->SurfaceConcentrations(i, 3), 1e-3, 1e-9);
  }
  EXPECT_GE(m->MaxIteration, 2);
  EXPECT_LE(m->MaxIteration, 10);
}

TEST(DigitalPhysics, ThinFilmChargeIsBoundedByTheFilmContent) {
  // A 10 um film of 1 mM A on 1 cm2, swept slowly from +0.3 V to -0.5 V: it is reduced
  // completely, never more, and its peak is the thin-layer peak n2 F2 v V C / (4RT) at E0.
  auto m = PlanarReduction();
  m->Electrode = 9;
  m->ElectrodeLength = 1e-3;  // cm
  m->ScanRate = 0.01;
  m->PotentialStep = 0.005;
  m->DropTime = 0.5;
  m->EndPotential = -0.5;
  Simulate(*m);
  double charge = 0.0;  // C
  for (int i = 1; i <= m->NumberOfPoints; ++i)
    charge += Total(*m, i) * m->DropTime;
  const double content = kF * 1.0 * 1e-3 * kC;  // n F V C
  EXPECT_LE(charge, content);
  EXPECT_GT(charge, 0.99 * content);
  const int peak = PeakIndex(*m);
  EXPECT_NEAR(m->PotentialX(peak), 0.0, 0.0051);
  EXPECT_NEAR(Total(*m, peak) / (kF * m->FOverRT * 0.01 * 1e-3 * kC / 4.0), 1.0, 0.02);
}

TEST(DigitalPhysics, RotatingDiskPlateauIsLevichOnEveryGrid) {
  // i_L = 0.62045 n F A D^(2/3) w^(1/2) nu^(-1/6) C at the end of a slow sweep, whatever the
  // expansion of the grid.
  for (const char* beta : {"0.5", "0.2", "0.1", "0.05"}) {
    auto m = PlanarReduction();
    m->Electrode = 8;
    m->Radius = 0.01;
    m->RotationRate = 2500.0 * kPi / 30.0;
    m->ScanRate = 0.005;
    m->PotentialStep = 0.005;
    m->DropTime = 1.0;
    m->EndPotential = -0.5;
    Simulate(*m, beta);
    const double levich = 0.62045 * kF * std::pow(kD, 2.0 / 3.0) * std::sqrt(m->RotationRate) *
                          std::pow(0.01, -1.0 / 6.0) * kC;
    const double ratio = Total(*m, m->NumberOfPoints) / levich;
    EXPECT_NEAR(ratio, 1.0, 0.005) << beta;
    // Steady state: the plateau does not change from point to point.
    EXPECT_NEAR(Total(*m, m->NumberOfPoints - 5) / levich, ratio, 1e-6);
  }
}

TEST(DigitalPhysics, ProtonsShiftTheWaveBy59MillivoltsPerPH) {
  auto neutral = PlanarReduction();
  neutral->ProtonCount(1) = 1.0;
  auto basic = std::make_unique<Model>(*neutral);
  Simulate(*neutral, "0.5", "7");
  Simulate(*basic, "0.5", "8");
  const double shift =
      basic->PotentialX(PeakIndex(*basic)) - neutral->PotentialX(PeakIndex(*neutral));
  EXPECT_NEAR(shift, -2.3 / neutral->FOverRT, 0.0011);
}

}  // namespace
}  // namespace qalto
