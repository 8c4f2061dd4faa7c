#include "simulation/simulation_driver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "app/app_fixture.h"
#include "common/plain_number.h"
#include "simulation/curve_slot.h"

namespace qalto {
namespace {

class SimulationDriverTest : public AppTest {
 protected:
  // No electroactive species: the curves hold only what the driver adds to the faradaic current.
  void SetUp() override {
    app.mnuExperimental_Click();
    app.Expr().C(1).SetText("0");
    app.mnuInstrument_Click();
  }
  void Sweep(const std::string& start, const std::string& end, const std::string& step,
             const char* scan = "single") {
    FormIns& f = app.Ins();
    f.Estart.SetText(start);
    f.Eend.SetText(end);
    f.Estep.SetText(step);
    f.ComboScan.SelectText(scan);
  }
  // Runs Simulate; the messages it shows, but for the plotter's note on an all-zero curve.
  void Simulate() {
    platform.messages.clear();
    app.mnuSimulate_Click();
    std::erase(platform.messages, std::string("Error: No data!"));
  }
  double Total(int i) { return model.ReactionCurrents(i, model.TotalCurrentColumn); }
};

TEST_F(SimulationDriverTest, TooManyPointsStopTheRunWithItsMessage) {
  Sweep("0", "1", "0.01");
  Simulate();
  Sweep("0", "1", PlainNumber(0.5 / kMaxPoints));  // twice the points a curve holds, and one
  Simulate();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0],
            "Digital simulation Error: Too many points: " + std::to_string(2 * kMaxPoints + 1) +
                ", a curve holds at most " + std::to_string(kMaxPoints) +
                " (a larger E step (V) or a shorter range)! Please try again by other initial "
                "values.");
  EXPECT_EQ(model.FirstPoint, 1);
  EXPECT_EQ(model.LastPoint, 101);  // unchanged by the failed run
  EXPECT_TRUE(app.MenuEnabled("mnuDisplay"));
  Sweep("0", "1", "0.00002");  // 50001 points a sweep: a cycle needs 100002
  app.Ins().ComboScan.SelectText("cycle");
  Simulate();
  EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(SimulationDriverTest, ImpossibleParametersEndInTheMessage) {
  Sweep("0", "1", "0");
  Simulate();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0],
            "Digital simulation Error: Division by zero: E step (V) is 0! Please try again by "
            "other initial values.");
  Sweep("0", "1", "0.01");
  app.Ins().txttemp.SetText("-273.14");  // zero kelvin
  Simulate();
  // The plot step refreshes the model again and fails the same way, without a second message.
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0],
            "Digital simulation Error: Division by zero: T ( °C) is -273.14, 0 K! Please try "
            "again by other initial values.");
  EXPECT_EQ(platform.busyChanges.back(), false);
  app.Ins().txttemp.SetText("25");
  Sweep("1", "1", "0.01");  // one point: nothing to divide, a curve of one point
  Simulate();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(model.NumberOfPoints, 1);
}

// The fixed noise and the noise of two seeds: each repeats exactly, is Gaussian with the set
// standard deviation, and differs from the others.
TEST_F(SimulationDriverTest, NoiseIsDeterministicAndGaussian) {
  Sweep("0", "1", "0.0005");  // 2001 points
  app.Ins().Noise.SetText("1e-6");
  std::vector<std::vector<double>> curves;
  for (std::optional<std::uint64_t> seed : {std::optional<std::uint64_t>(), {7u}, {8u}}) {
    model.NoiseSeed = seed;
    Simulate();
    std::vector<double> first;
    for (int i = 1; i <= model.NumberOfPoints; ++i)
      first.push_back(model.CurrentY(i, 1));
    Simulate();
    double sum = 0, squares = 0;
    for (int i = 1; i <= model.NumberOfPoints; ++i) {
      EXPECT_EQ(model.CurrentY(i, 1), first[static_cast<size_t>(i - 1)]);
      sum += first[static_cast<size_t>(i - 1)];
      squares += first[static_cast<size_t>(i - 1)] * first[static_cast<size_t>(i - 1)];
    }
    double n = model.NumberOfPoints;
    double mean = sum / n;
    double sd = std::sqrt(squares / n - mean * mean);
    EXPECT_LT(std::fabs(mean), 0.1e-6);
    EXPECT_NEAR(sd, 1e-6, 0.1e-6);
    curves.push_back(first);
  }
  EXPECT_NE(curves[0], curves[1]);
  EXPECT_NE(curves[1], curves[2]);
}

TEST_F(SimulationDriverTest, ChargingCurrentFollowsTheSweepDirection) {
  UseAnalyticalMechanism(1);
  // Without A in the solution no faradaic current flows: only the charging current remains.
  app.mnuExperimental_Click();
  app.Expr().C(1).SetText("0");
  Sweep("0", "1", "0.01", "cycle");
  app.Ins().Cdl.SetText("1e-5");  // v = 0.01 V/s: Cd v = 1e-7 A
  Simulate();
  EXPECT_NEAR(model.CurrentY(10, 1), -1e-7, 1e-20);  // increasing potential
  EXPECT_NEAR(model.CurrentY(150, 1), 1e-7, 1e-20);  // decreasing potential
  // At the vertex the two equal potentials take the sign of the next step.
  EXPECT_NEAR(model.CurrentY(102, 1), 1e-7, 1e-20);

  // With resistance the charging current rises with the cell time constant RC / t.
  // The drop time follows step / rate: 0.01 / 0.01 = 1 s, so Cd Ru / t = 1e-5 x 25000 = 0.25.
  EXPECT_EQ(app.Ins().td.Text(), "1");
  app.Ins().txtRu.SetText("25000");
  Simulate();
  EXPECT_NEAR(model.CurrentY(1, 1), -1e-7 / 1.25, 1e-20);
  EXPECT_NEAR(model.CurrentY(2, 1), (-1e-7 + 0.25 * model.CurrentY(1, 1)) / 1.25, 1e-20);
  EXPECT_NEAR(model.CurrentY(90, 1), -1e-7, 1e-12);
}

TEST(RunSimulation, FitModeKeepsTheImportedAxis) {
  Model model;
  RecordingPlatform platform;
  model.FitMode = true;
  model.NumberOfPoints = 5;
  model.DropTime = 0.5;
  model.PotentialStep = 0.01;
  model.Technique = 2;
  model.FOverRT = 38.9;
  model.RTOverF = 1 / 38.9;
  for (int i = 0; i <= 6; ++i)
    model.PotentialX(i) = 0.1 * i;
  model.NoiseLevel = 1;  // no noise during a fit
  RunSimulation(model, SimulationInputs{}, platform);
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(model.SweepPoints, 2.5);
  EXPECT_EQ(model.CurrentCurve, 2);
  EXPECT_DOUBLE_EQ(model.PotentialX(3), 0.3);
  for (int i = 1; i <= 5; ++i)
    EXPECT_EQ(model.CurrentY(i, 2), 0);
}

}  // namespace
}  // namespace qalto
