#include "simulation/simulation_driver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "app/app_fixture.h"
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
  // Runs Simulate; the current curve.
  std::vector<double> Curve() {
    Simulate();
    return qalto::Curve(model, 1);
  }
};

// The fixed noise and the noise of two seeds: each repeats exactly in a new run, is Gaussian with
// the set standard deviation, and differs from the others; the next Simulate of the same run
// draws fresh noise, uncorrelated with the first.
TEST_F(SimulationDriverTest, NoiseIsDeterministicPerRunAndGaussian) {
  Sweep("0", "1", "0.0005");  // 2001 points
  app.Ins().Noise.SetText("1e-6");
  auto newRun = [this] {
    model.NoiseStream.reset();
    model.FixedNoiseState = 0;
  };
  std::vector<std::vector<double>> curves;
  for (std::optional<std::uint64_t> seed : {std::optional<std::uint64_t>(), {7u}, {8u}}) {
    model.NoiseSeed = seed;
    newRun();
    curves.push_back(Curve());
    const std::vector<double> next = Curve();
    newRun();
    EXPECT_EQ(Curve(), curves.back());
    const std::vector<double>& first = curves.back();
    const double n = static_cast<double>(first.size());
    double sum = 0, squares = 0, products = 0;
    for (std::size_t i = 0; i < first.size(); ++i)
      sum += first[i], squares += first[i] * first[i], products += first[i] * next[i];
    EXPECT_LT(std::fabs(sum / n), 0.1e-6);
    EXPECT_NEAR(std::sqrt(squares / n - sum * sum / n / n), 1e-6, 0.1e-6);
    EXPECT_LT(std::fabs(products / squares), 0.1);  // correlation of two Simulates of one run
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
  // The sweep steps by step / rate, 0.01 / 0.01 = 1 s, whatever the drop time box holds (the
  // drop of DC): Cd Ru / t = 1e-5 x 25000 = 0.25.
  app.Ins().td.SetText("5");
  app.Ins().txtRu.SetText("25000");
  Simulate();
  EXPECT_NEAR(model.CurrentY(1, 1), -1e-7 / 1.25, 1e-20);
  EXPECT_NEAR(model.CurrentY(2, 1), (-1e-7 + 0.25 * model.CurrentY(1, 1)) / 1.25, 1e-20);
  EXPECT_NEAR(model.CurrentY(90, 1), -1e-7, 1e-12);
}

}  // namespace
}  // namespace qalto
