#pragma once
// Fits driven the way the user drives them: a cyclic voltammogram is simulated into curve 1 as
// the "measured" data, the Chemicals boxes are moved away from the true values and marked as
// fitted, and the fit command runs.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "app/app_fixture.h"

namespace qalto {

// A fit on threads is the serial fit to the last bit: its iterations, least squares, every
// parameter's value and standard error, and each curve's least squares.
inline void ExpectSameFit(const FitResult& serial, const FitResult& threaded, int threads) {
  ASSERT_TRUE(threaded.valid) << threads;
  EXPECT_EQ(serial.iterations, threaded.iterations) << threads;
  EXPECT_EQ(serial.sumOfSquares, threaded.sumOfSquares) << threads;
  ASSERT_EQ(serial.parameters.size(), threaded.parameters.size()) << threads;
  for (size_t p = 0; p < serial.parameters.size(); ++p) {
    EXPECT_EQ(serial.parameters[p].value, threaded.parameters[p].value) << threads;
    EXPECT_EQ(serial.parameters[p].standardError, threaded.parameters[p].standardError) << threads;
  }
  ASSERT_EQ(serial.curves.size(), threaded.curves.size()) << threads;
  for (size_t c = 0; c < serial.curves.size(); ++c)
    EXPECT_EQ(serial.curves[c].sumOfSquares, threaded.curves[c].sumOfSquares) << threads;
}

class FitTest : public AppTest {
 protected:
  // The Instrument window (left open for more boxes) set to a cycle from start to end and back
  // in steps of `step` at `rate` V/s, without noise.
  void Sweep(const char* start, const char* end, const char* step, const std::string& rate) {
    app.mnuInstrument_Click();
    FormIns& ins = app.Ins();
    ins.Estart.SetText(start);
    ins.Eend.SetText(end);
    ins.Estep.SetText(step);
    ins.V.SetText(rate);
    ins.Noise.SetText("0");
    ins.ComboScan.SelectText("cycle");
  }

  // A cycle from 0.3 V to -0.3 V and back in 1 mV steps (1202 points) at 10 mV/s, planar
  // electrode, analytical mechanism `mechanism`, no parameter marked as fitted.
  void CyclicVoltammogram(int mechanism, const std::string& noise = "0") {
    UseAnalyticalMechanism(mechanism);
    Sweep("0.3", "-0.3", "0.001", "0.01");
    app.Ins().Noise.SetText(noise);
    app.Ins().cmdOK_Click();
    app.mnuExperimental_Click();
    for (int code : {1,  2,  3,  4,  5,  6,  7,  8,  11, 12, 13, 21, 22, 23, 31, 32, 33,
                     41, 42, 43, 44, 51, 52, 53, 54, 71, 72, 73, 74, 75, 76, 77, 78}) {
      Expr().CheckFitted(code).SetChecked(false);
    }
  }

  // The default digital experiment (Fe3+ + e = Fe2+, planar, D = 1e-5 cm2/s) with ks 0.01 cm/s
  // and E0 0.1 V, swept from 0.4 V to -0.2 V and back in 2 mV steps (602 points) at `rate` V/s.
  void DigitalCycle(const std::string& rate) {
    Sweep("0.4", "-0.2", "0.002", rate);
    app.Ins().cmdOK_Click();
    app.mnuExperimental_Click();
    ASSERT_TRUE(model.DigitalSimulation);
    Expr().CheckFitted(1).SetChecked(false);
    Expr().ks(1).SetText("0.01");
    Expr().Eze(1).SetText("0.1");
  }

  // Simulates the "measured" curve into curve 1.
  void Measure() {
    app.mnuSimulate_Click();
    ASSERT_EQ(model.CurveCount, 1);
  }

  // The largest magnitude of the current of that curve.
  double LargestMagnitude(int curve) {
    double largest = 0;
    for (int i = 1; i <= model.NumberOfPoints; ++i)
      largest = std::max(largest, std::fabs(model.CurrentY(i, curve)));
    return largest;
  }

  // Simulates curve 1 and adds Gaussian noise of sigma = `fraction` of the largest current.
  void MeasureWithNoise(double fraction, unsigned seed) {
    Measure();
    std::mt19937 generator(seed);
    std::normal_distribution<double> noise(0.0, fraction * LargestMagnitude(1));
    for (int i = 1; i <= model.NumberOfPoints; ++i)
      model.CurrentY(i, 1) += noise(generator);
  }

  void Fit(int code, const std::string& minimum, const std::string& maximum) {
    Expr().CheckFitted(code).SetChecked(true);
    auto [low, high] = Expr().RangeBoxes(code);
    low->SetText(minimum);
    high->SetText(maximum);
  }

  FormExpr& Expr() { return app.Expr(); }

  // The last fit's 95 % interval of that code holds the truth.
  bool Covers(int code, double truth) {
    return Fitted(code).lower95 <= truth && truth <= Fitted(code).upper95;
  }

  // The profiles of the last fit: E0's is the interval of its standard error, ks's one of its own
  // that covers the truth.
  void ExpectProfilesOfE0AndKs(double trueKs) {
    const FittedParameter& e0 = Fitted(31);
    const FittedParameter& ks = Fitted(11);
    ASSERT_TRUE(e0.profiled && ks.profiled);
    const double half = 0.5 * (e0.upper95 - e0.lower95);
    EXPECT_NEAR(e0.profileLower, e0.lower95, 0.1 * half);
    EXPECT_NEAR(e0.profileUpper, e0.upper95, 0.1 * half);
    EXPECT_LT(ks.profileLower, trueKs);
    EXPECT_GT(ks.profileUpper, trueKs);
  }

  // The last fit's parameter of that code.
  const FittedParameter& Fitted(int code) {
    for (const FittedParameter& p : model.LastFit.parameters) {
      if (p.code == code) return p;
    }
    ADD_FAILURE() << "code " << code << " not fitted";
    static FittedParameter none;
    return none;
  }
};

}  // namespace qalto
