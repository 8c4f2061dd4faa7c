// Digital simulations set up and run as a user runs them, through the windows and the Simulate
// command, against the textbook results and the analytical model. The digital_*.qs scenarios run
// the same experiments and show their numbers.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_fixture.h"
#include "app/script_runner.h"

namespace qalto {
namespace {

constexpr double kF = 96484.6;
constexpr double kPi = 3.141592654;
constexpr double kD = 1e-5;  // cm2/s, every species

class DigitalExperiment : public AppTest {
 protected:
  // Runs script lines as the script runner does; every line runs (a failed simulation sets the
  // exit status but ends no script), and the messages they show are in platform.messages.
  void Run(const std::string& script) {
    platform.messages.clear();
    std::istringstream lines(script);
    std::ostringstream out;
    std::ostringstream err;
    ScriptRunner runner(app, platform, out);
    ASSERT_NE(runner.Run(lines, err), kExitScriptLine) << err.str();
  }
  void Simulate() { Run("menu mnuSimulate\n"); }

  double Total(int i) const { return model.ReactionCurrents(i, model.TotalCurrentColumn); }
  std::vector<double> Curve() const {
    std::vector<double> curve;
    for (int i = 1; i <= model.NumberOfPoints; ++i)
      curve.push_back(model.CurrentY(i, model.CurrentCurve));
    return curve;
  }
  // Index of the largest (sign +1) or smallest (sign -1) total current in first..last.
  int Extreme(int first, int last, int sign) const {
    int best = first;
    for (int i = first; i <= last; ++i) {
      if (sign * Total(i) > sign * Total(best)) best = i;
    }
    return best;
  }
  // Bulk concentration of Fe+3, mol/cm3.
  double BulkOxidized() const { return model.SpeciesC(1) * 1e-3; }
};

// Fe+3 + e = Fe+2 (E0 0.1 V, ks 1e4 cm/s), planar electrode of 1 cm2, 0.3 -> -0.3 V at 0.1 V/s
// in 1 mV steps.
constexpr const char* kFastSweep = R"(
menu mnuInstrument
set FormIns.Estep 0.001
set FormIns.V 0.1
)";

TEST_F(DigitalExperiment, ReversibleCyclicVoltammogramFollowsRandlesSevcik) {
  Run(std::string(kFastSweep) + "select FormIns.ComboScan cycle\n");
  Simulate();
  ASSERT_TRUE(platform.messages.empty());
  ASSERT_EQ(model.NumberOfPoints, 1202);
  const int n1 = model.SweepPoints;
  const int cathodic = Extreme(1, n1, 1);
  const int anodic = Extreme(n1 + 1, model.NumberOfPoints, -1);
  const double f = model.FOverRT;
  const double randlesSevcik = 0.4463 * kF * 1.0 * BulkOxidized() * std::sqrt(f * 0.1 * kD);
  EXPECT_NEAR(Total(cathodic) / randlesSevcik, 1.0, 0.02);
  EXPECT_NEAR(model.PotentialX(cathodic), 0.1 - 1.109 / f, 0.0011);
  const double separation = model.PotentialX(anodic) - model.PotentialX(cathodic);  // V
  EXPECT_GE(separation, 0.057 - 1e-9);
  EXPECT_LE(separation, 0.061 + 1e-9);
  // Reversible: the peaks lie symmetrically about E0.
  EXPECT_NEAR(0.5 * (model.PotentialX(anodic) + model.PotentialX(cathodic)), 0.1, 0.0011);
}

TEST_F(DigitalExperiment, DigitalAndAnalyticalSweepsAgreeAtEveryPoint) {
  Run(kFastSweep);
  Simulate();
  ASSERT_TRUE(model.DigitalSimulation);
  const std::vector<double> digital = Curve();
  UseAnalyticalMechanism(1);
  Simulate();
  ASSERT_FALSE(model.DigitalSimulation);
  const std::vector<double> analytical = Curve();
  ASSERT_EQ(digital.size(), 601u);
  ASSERT_EQ(analytical.size(), digital.size());
  const double peak = *std::max_element(analytical.begin(), analytical.end());
  for (size_t i = 0; i < digital.size(); ++i) {
    EXPECT_NEAR(digital[i], analytical[i], 0.02 * peak) << "point " << i + 1;
  }
}

// DC, normal pulse and differential pulse in steps of 0.0625 V (exact in binary), from both
// ends; pre-equilibration off so that the bulk is the same whichever end the sweep starts from.
TEST_F(DigitalExperiment, DirectCurrentAndPulsePointsDoNotDependOnThePointBefore) {
  Run(R"(
menu mnuExperimental
click FormExpr.CheckPreEqu
menu mnuInstrument
set FormIns.Estep 0.0625
)");
  for (int technique : {2, 3, 4}) {
    Run("menu mnuTech\nclick FormTech.optTech(" + std::to_string(technique) +
        ")\nclick FormTech.CmdOK\nmenu mnuInstrument\n");
    Run("set FormIns.Estart 0.5\nset FormIns.Eend -0.5\n");
    Simulate();
    const std::vector<double> forward = Curve();
    ASSERT_EQ(forward.size(), 17u);
    Run("set FormIns.Estart -0.5\nset FormIns.Eend 0.5\n");
    Simulate();
    const std::vector<double> backward = Curve();
    ASSERT_EQ(backward.size(), forward.size());
    for (size_t i = 0; i < forward.size(); ++i) {
      EXPECT_EQ(forward[i], backward[forward.size() - 1 - i]) << technique << " " << i;
    }
    EXPECT_GT(*std::max_element(forward.begin(), forward.end()), 1e-5) << technique;
  }
  // DC over a cycle: the return sweep repeats the forward sweep point for point.
  Run(R"(
menu mnuTech
click FormTech.optTech(2)
click FormTech.CmdOK
menu mnuInstrument
set FormIns.Estart 0.5
set FormIns.Eend -0.5
select FormIns.ComboScan cycle
)");
  Simulate();
  const int n1 = model.SweepPoints;
  for (int i = 1; i <= n1; ++i)
    EXPECT_EQ(Total(n1 + i), Total(n1 - i + 1)) << i;
  // The DC plateau is Cottrell's at the drop time of 6.25 s.
  const double cottrell = kF * BulkOxidized() * std::sqrt(kD / (kPi * model.DropTime));
  EXPECT_NEAR(Total(n1) / cottrell, 1.0, 0.01);
}

TEST_F(DigitalExperiment, TotalIsTheFaradaicSumWithoutChargingAndResistance) {
  // Fe+3 + e = Fe+2 and C + 2e = D, a cycle at 10 mV/s.
  Run(R"(
menu mnuMechamism
set FormMech.charge(22) C
set FormMech.charge(24) 2
set FormMech.charge(26) D
click FormMech.Command1
menu mnuExperimental
set FormExpr.C(3) 1e-3
menu mnuInstrument
select FormIns.ComboScan cycle
)");
  Simulate();
  ASSERT_EQ(model.TotalCurrentColumn, 3);
  std::vector<double> plain;
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    EXPECT_EQ(Total(i), model.ReactionCurrents(i, 1) + model.ReactionCurrents(i, 2)) << i;
    plain.push_back(Total(i));
  }
  EXPECT_GT(model.ReactionCurrents(101, 2), model.ReactionCurrents(101, 1));  // 2 electrons
  // C d adds C d v toward negative potentials and takes it away on the return.
  Run("set FormIns.Cdl 1e-5\n");
  Simulate();
  const int n1 = model.SweepPoints;
  EXPECT_NEAR(Total(50) - plain[49], 1e-5 * 0.01, 1e-18);
  EXPECT_NEAR(Total(n1 + 50) - plain[n1 + 49], -1e-5 * 0.01, 1e-18);
}

TEST_F(DigitalExperiment, SurfaceConcentrationsOfACoupleAddUpToTheBulk) {
  // A slow charge transfer: the surface is far from Nernst, yet with equal D what is reduced
  // appears as the reduced species.
  Run(R"(
menu mnuExperimental
set FormExpr.ks(1) 1e-3
menu mnuInstrument
select FormIns.ComboScan cycle
)");
  Simulate();
  const double bulk = model.SpeciesC(1) + model.SpeciesC(2);  // M
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    const double sum = model.SurfaceConcentrations(i, 1) + model.SurfaceConcentrations(i, 2);
    EXPECT_NEAR(sum / bulk, 1.0, 1e-10) << i;
  }
  // Far from equilibrium at E0 on the way down: more Fe+3 left than Nernst's half.
  EXPECT_GT(model.SurfaceConcentrations(41, 1), 0.6 * bulk);
}

TEST_F(DigitalExperiment, MicrodiscReachesTheSteadyStatePlateau) {
  // A 5 um disc, simulated as the hemisphere of the same steady-state current 4 n F D C r.
  Run(R"(
menu mnuInstrument
click FormIns.optElectrode(4)
set FormIns.radius 5e-4
select FormIns.ComboScan cycle
)");
  Simulate();
  ASSERT_TRUE(platform.messages.empty());
  const double steady = 4.0 * kF * kD * BulkOxidized() * 5e-4;  // A
  const int n1 = model.SweepPoints;
  // From 0.2 V past E0 on, forward and back, the plateau with the planar transient of the
  // hemisphere's area decaying on top of it (1.3 % at -0.1 V, 0.85 % at -0.3 V: 1.946 nA).
  for (int i = 81; i <= n1 + 41; ++i) {
    EXPECT_GT(Total(i) / steady, 1.0) << i;
    EXPECT_LT(Total(i) / steady, 1.015) << i;
  }
  EXPECT_NEAR(Total(n1) / 1.946e-9, 1.0, 0.005);
  // No peak: the largest current is no more than 2 % above the plateau.
  EXPECT_LT(Total(Extreme(1, model.NumberOfPoints, 1)) / steady, 1.02);
  // The return runs along the forward wave, not through an anodic peak.
  EXPECT_GT(Total(model.NumberOfPoints - 40), 0.0);
}

TEST_F(DigitalExperiment, RotatingElectrodeCurrentLevelsOff) {
  Run("menu mnuInstrument\nset FormIns.Eend -0.5\n");
  Simulate();
  const int peak = Extreme(1, model.NumberOfPoints, 1);
  EXPECT_LT(Total(model.NumberOfPoints), 0.6 * Total(peak));  // planar: a peak, then decay
  for (int electrode : {6, 7, 8}) {
    Run("click FormIns.optElectrode(" + std::to_string(electrode) + ")\n");
    Simulate();
    ASSERT_TRUE(platform.messages.empty()) << electrode;
    const int last = model.NumberOfPoints;
    // From 0.2 V past E0 on, the current stays within 0.1 % of its last value.
    for (int i = 81; i <= last; ++i)
      EXPECT_NEAR(Total(i) / Total(last), 1.0, 1e-3) << electrode << " " << i;
    EXPECT_GT(Total(last), 0.0);
  }
}

TEST_F(DigitalExperiment, InputThatCannotRunEndsInTheSimulationMessage) {
  const std::string grid = "Digital simulation Error: Subscript out of range: the grid needs";
  const std::string zero = "Digital simulation Error: Division by zero";
  const std::string overflow = "Digital simulation Error: Overflow: t drop  (s) is 0!";
  const auto shown = [this](const std::string& start) {
    for (const std::string& m : platform.messages) {
      if (m.rfind(start, 0) == 0) return true;
    }
    return false;
  };
  Run("menu mnuInstrument\nset FormIns.TextExpanding 0.01\n");  // more than 200 grid points
  Simulate();
  EXPECT_TRUE(shown(grid));
  EXPECT_EQ(model.LastPoint, 0);  // nothing was stored
  Run("set FormIns.TextExpanding 0.5\nset FormIns.Estep 0\n");
  Simulate();
  EXPECT_TRUE(shown(zero));
  Run("set FormIns.Estep 0.005\nset FormIns.td 0\n");
  Simulate();
  EXPECT_TRUE(shown(overflow));  // zero time step and length scale: 0 / 0
  Run(R"(
set FormIns.td 0.5
menu mnuTech
click FormTech.optTech(4)
click FormTech.CmdOK
menu mnuInstrument
set FormIns.tp 0
)");
  Simulate();
  EXPECT_TRUE(shown(zero));
  EXPECT_EQ(model.LastPoint, 0);
  Run("set FormIns.tp 0.025\n");
  Simulate();
  EXPECT_EQ(model.LastPoint, 121);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(DigitalExperiment, SingularSurfaceBlockShowsOneMessageAndTheRunCompletes) {
  // ks = 1e20 cm/s: both rate factors near E0 exceed the surface conductance by more than the
  // precision of a double, so the surface block is singular in floating point.
  Run(R"(
menu mnuExperimental
set FormExpr.ks(1) 1e20
menu mnuInstrument
set FormIns.Estart 0.11
set FormIns.Eend 0.09
)");
  Simulate();
  EXPECT_EQ(platform.messages,  // once for the run, with the number of steps that met it
            std::vector<std::string>{"Error: inverse matrix D=0 at 5 time steps"});
  EXPECT_EQ(model.NumberOfPoints, 5);
  EXPECT_EQ(model.LastPoint, 5);
  EXPECT_TRUE(app.MenuEnabled("mnuAnalyze"));
}

}  // namespace
}  // namespace qalto
