// The analytical mode against the digital simulation of the same model, point by point: wherever
// both apply the two curves agree within 0.5 % of the peak current (n 1, A 1 cm2, C 1 mM,
// D 1e-5 cm2/s, E0' 0 V, alpha 0.5, 25 C, 0.1 V/s). Nicholson's psi, the irreversible sweep and
// the following reaction's lambda are the textbook's cases, whose analytical peaks the scenarios
// analytical_kinetics and analytical_slow_sweep check: here they carry the digital simulation
// to the textbook too. With an ohmic drop the two agree at the peak for 10 to 1000 ohm:
// digital_textbook_test.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "model/model.h"
#include "simulation/analytical_run_model.h"
#include "simulation/simulation_driver.h"

namespace qalto {
namespace {

enum class Chemistry { None, Following, Preceding, Catalytic };

struct ModeCase {
  std::string name;
  int technique = 1;
  double start = 0.4, end = -0.3, step = 0.001;  // V
  double cycles = 1;
  double ks = 1e4;  // cm/s
  Chemistry chemistry = Chemistry::None;
  double kf = 0, kb = 0;    // rate constants of the homogeneous step, 1/s
  double nuO = 1, nuR = 1;  // stoichiometric coefficients
  int electrode = 1;
  double rpm = 100, rate = 0.1, drop = 0.5;  // rotation, scan rate (V/s), DC drop time (s)
  double ru = 0;                             // ohm
  double lambda = 0;                         // Marcus-Hush reorganisation energy, eV
  double tolerance = 0.005;                  // of the peak current
};

// ks of Nicholson's psi = ks / sqrt(pi D f v) at 0.1 V/s, cm/s.
double Psi(double psi) {
  return psi * std::sqrt(std::numbers::pi * kRunD * kRunFOverRT * 0.1);
}

// kf of lambda = kf RT / (F v) at 0.1 V/s, 1/s.
double Lambda(double lambda) {
  return lambda * kRunFOverRT * 0.1;
}

// The chemistry of the case in the analytical mechanism's terms and in the digital reaction
// tables: species 3 is C (EC: B -> C; CE: C = A) or the catalyst Z (EC': B + Z -> A + Y).
void AddChemistry(const ModeCase& c, Model& m) {
  if (c.chemistry == Chemistry::None) return;
  m.SpeciesCount = 3;
  m.SpeciesD(3) = kRunD;
  if (c.chemistry == Chemistry::Following) {
    m.Mechanism = 7;
    AddFirstOrderReaction(m, 2, 3, c.kf, c.kb);
  } else if (c.chemistry == Chemistry::Preceding) {
    const double K = c.kf / c.kb;  // A at its equilibrium share of the 1 mM
    m.Mechanism = 6;
    m.SpeciesC(1) = kRunC * K / (1 + K);
    m.SpeciesC(3) = kRunC / (1 + K);
    AddFirstOrderReaction(m, 3, 1, c.kf, c.kb);
  } else {
    m.Mechanism = 8;
    m.SpeciesCount = 4;
    // The catalyst 1000 times in excess, so that k' = kf C(Z) holds: the digital consumes Z, and
    // at 100 times the excess its current is about 1 % lower.
    m.SpeciesC(3) = 1.0;  // M
    m.SpeciesD(4) = kRunD;
    AddSecondOrderReaction(m, 2, 3, 1, 4, c.kf);
  }
}

Model CaseModel(const ModeCase& c) {
  Model m = AnalyticalRunModel(c.technique, c.electrode);
  m.RotationRate = c.rpm * std::numbers::pi / 30;
  m.ScanRate = c.rate;
  m.ChargeE0(1) = 0.0;
  m.StartPotential = c.start;
  m.EndPotential = c.end;
  m.PotentialStep = c.step;
  m.ScanCycles = c.cycles;
  m.DropTime = c.technique == 1 ? c.step / m.ScanRate : c.drop;
  m.PulseTime = 0.01;
  m.PulsePotential = 0.05;
  m.ChargeKs(1) = c.ks;
  m.UncompensatedResistance = c.ru;
  m.ChargeLambda(1) = c.lambda;
  m.ChargeReactionStoich(1, 1) = c.nuO;
  m.ChargeReactionStoich(1, 2) = c.nuR;
  AddChemistry(c, m);
  return m;
}

class AnalyticalAgainstDigital : public ::testing::TestWithParam<ModeCase> {};

TEST_P(AnalyticalAgainstDigital, AgreeAtEveryPoint) {
  EXPECT_TRUE(ModesAgree(CaseModel(GetParam()), GetParam().tolerance));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AnalyticalAgainstDigital,
    ::testing::Values(
        ModeCase{.name = "ReversibleCycle"},
        ModeCase{.name = "Psi20", .start = 0.4, .end = -0.1125, .step = 0.0005, .ks = Psi(20)},
        ModeCase{.name = "Psi1", .start = 0.4, .end = -0.1125, .step = 0.0005, .ks = Psi(1)},
        ModeCase{.name = "Psi025", .start = 0.4, .end = -0.1125, .step = 0.0005, .ks = Psi(0.25)},
        ModeCase{.name = "Psi01", .start = 0.4, .end = -0.1125, .step = 0.0005, .ks = Psi(0.1)},
        ModeCase{.name = "Irreversible", .start = 0.1, .end = -0.8, .cycles = 0.5, .ks = 1e-5},
        ModeCase{.name = "EC10", .chemistry = Chemistry::Following, .kf = Lambda(10)},
        ModeCase{.name = "EC100", .chemistry = Chemistry::Following, .kf = Lambda(100)},
        ModeCase{.name = "SquareWave", .technique = 5, .step = 0.01},
        ModeCase{.name = "EC1000", .chemistry = Chemistry::Following, .kf = Lambda(1000)},
        ModeCase{.name = "CE",
                 .technique = 2,
                 .start = 0.2,
                 .end = -0.3,
                 .step = 0.005,
                 .chemistry = Chemistry::Preceding,
                 .kf = 1,
                 .kb = 100},
        ModeCase{.name = "CatalyticEC", .chemistry = Chemistry::Catalytic, .kf = 10},
        ModeCase{.name = "Stoichiometry2", .ks = Psi(1), .nuO = 2},
        // Marcus-Hush kinetics of lambda 0.3 eV, whose curved Tafel line lowers the peaks of
        // Butler-Volmer's (the scenario marcus_hush): within 0.1 % of the peak.
        ModeCase{.name = "MarcusHush", .ks = 0.01, .lambda = 0.3, .tolerance = 1e-3},
        // Rotating electrodes: the steady wave of a slow sweep at the disk (s = 0.02, 0.18 %),
        // the DC waves of the hemisphere and the cylinder once a drop lasts 4 D / k^2.
        ModeCase{.name = "DiskSweep", .cycles = 0.5, .electrode = 8, .rpm = 2500, .rate = 0.005},
        ModeCase{.name = "HemisphereDC", .technique = 2, .step = 0.01, .electrode = 7, .drop = 17},
        ModeCase{.name = "CylinderDC", .technique = 2, .step = 0.01, .electrode = 6, .drop = 120}),
    [](const ::testing::TestParamInfo<ModeCase>& info) { return info.param.name; });

}  // namespace
}  // namespace qalto
