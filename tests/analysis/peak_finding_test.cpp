#include "analysis/peak_finding.h"

#include <gtest/gtest.h>

#include "app/analysis_report.h"

#include <cmath>
#include <functional>
#include <random>

namespace qalto {
namespace {

constexpr const char* kCurveLine = "              Curve  1 :\n";

class PeakFinding : public ::testing::Test {
 protected:
  // Curve 1 with n points, potentials start + step (i - 1), currents from the function.
  void MakeCurve(int n, double start, double step, const std::function<double(int)>& current) {
    m.NumberOfPoints = n;
    m.FirstPoint = 1;
    m.LastPoint = n;
    m.CurveCount = 1;
    m.CurrentCurve = 1;
    for (int i = 1; i <= n; ++i) {
      m.PotentialX(i) = start + step * (i - 1);
      m.CurrentY(i, 1) = current(i);
    }
  }
  void Find() { PrintPeaks(result, FindPeaks(m, m.FirstPoint + 2, m.LastPoint - 2)); }

  Model m;
  ResultWindow result;
};

// A Gaussian peak of 10 uA at point 51 (-0.25 V), 30 mV wide, on a sweep of 5 mV steps towards
// negative potentials, with a bump of 0.1 uA at point 81.
double GaussianWithBump(int i) {
  double u = (i - 51) * 0.005 / 0.03;
  double bump = (i - 81) / 2.0;
  return 1e-5 * std::exp(-u * u) + 1e-7 * std::exp(-bump * bump);
}

TEST_F(PeakFinding, OnePeakAboveTwoPercentOfThePlotRange) {
  MakeCurve(101, 0, -0.005, GaussianWithBump);
  m.PlotYMin = 0;
  m.PlotYMax = 1.2e-5;  // threshold 0.24 uA: the bump is ignored
  Find();
  EXPECT_EQ(m.PeakCount, 1);
  EXPECT_NEAR(m.PeakPotential(1, 1), -0.25, 1e-12);
  EXPECT_NEAR(m.PeakCurrent(1, 1), 1e-5, 1e-12);
  // Half the peak above its flat foot lies 30 mV x (ln 2)^1/2 = 24.98 mV before it.
  EXPECT_NEAR(m.HalfPeakPotential(1, 1), -0.25 + 0.03 * std::sqrt(std::log(2.0)), 1e-4);
  const std::string first = std::string(kCurveLine) +
                            "Peak  1 :     Ep= -0.25V    Ip= 1.E-5A    Ip-base= 1.E-5A             "
                            "Ep/2 - Ep= 0.025V\n";
  EXPECT_EQ(result.Text(), first);

  // A narrower plot range lowers the threshold below the bump.
  m.PlotYMax = 2e-6;  // threshold 40 nA
  result.Clear();
  Find();
  EXPECT_EQ(m.PeakCount, 2);
  EXPECT_NEAR(m.PeakPotential(2, 1), -0.4, 1e-12);
  EXPECT_EQ(result.Text(),
            first +
                "Peak  2 :     Ep= -0.4V     Ip= 1.E-7A    Ip-base= 1.E-7A             "
                "Ep/2 - Ep= 0.0084V\n");
}

TEST_F(PeakFinding, PeaksNearTheEndsAreNotFound) {
  // Triangles of height 10 uA; the scan covers points FirstPoint + 6 .. LastPoint - 6.
  auto triangleAt = [](int centre) {
    return [centre](int i) { return std::max(0.0, 10.0 - std::abs(i - centre)) * 1e-6; };
  };
  for (auto [centre, peaks] : {std::pair{7, 1}, {54, 1}, {55, 0}, {6, 0}}) {
    MakeCurve(60, 0, 0.01, triangleAt(centre));
    result.Clear();
    Find();
    EXPECT_EQ(m.PeakCount, peaks) << centre;
  }
  EXPECT_EQ(result.Text(), kCurveLine);  // only the curve line
  // Fewer than 13 points: nothing to scan.
  MakeCurve(12, 0, 0.01, triangleAt(6));
  Find();
  EXPECT_EQ(m.PeakCount, 0);
}

// A hand-made cyclic voltammogram of 100 points, switching at point 50: forward peak of 10 uA
// at point 20, reverse peak of -6 uA at point 75. The lines of a cycle of technique 1, Ep2 - Ep1
// and Ipa/Ipc by Nicholson's rule |Ipa0/Ipc| + 0.485 |Isp/Ipc| + 0.08: the scenarios
// analytical_sweep and analysis_cyclic.
double HandMadeCycle(int i) {
  return 1e-5 * std::exp(-std::pow((i - 20) / 5.0, 2)) -
         6e-6 * std::exp(-std::pow((i - 75) / 5.0, 2));
}

TEST_F(PeakFinding, TwoPeaksOfOneCycleGiveSeparationMidPointAndRatio) {
  MakeCurve(100, 0, 0.01, HandMadeCycle);
  m.CurrentY(50, 1) = 3e-6;  // current at the switching point
  m.PotentialX(75) = 0.25;   // the reverse sweep comes back: peak 2 at 0.25 V
  m.PlotYMin = -1e-5;
  m.PlotYMax = 1.2e-5;
  m.ScanCycles = 1;
  m.SweepPoints = 50;
  m.Technique = Technique::kSweep;
  Find();
  ASSERT_EQ(m.PeakCount, 2);
  EXPECT_EQ(m.PeakCurrent(1, 1), 1e-5);
  EXPECT_EQ(m.PeakCurrent(2, 1), -6e-6);
  EXPECT_NE(result.Text().find("Ipa/Ipc"), std::string::npos);

  // A second technique keeps the separation lines but not the ratio lines.
  m.Technique = Technique::kDc;
  result.Clear();
  Find();
  EXPECT_NE(result.Text().find("Ep2 - Ep1 = "), std::string::npos);
  EXPECT_EQ(result.Text().find("Ipa/Ipc"), std::string::npos);
  // Two cycles: neither.
  m.ScanCycles = 2;
  result.Clear();
  Find();
  EXPECT_EQ(result.Text().find("Ep2 - Ep1"), std::string::npos);
}

// A steady wave of 50 uA rising 100 mV after the start, on a sweep of 3 mV steps, with noise of
// 1 uA; and a peak of 10 uA with the same noise: the noise's extremes on the plateau are no
// peak, the peak stays one.
TEST_F(PeakFinding, NoiseOnAPlateauIsNoPeak) {
  std::mt19937 generator(7);
  std::normal_distribution<double> noise(0, 1e-6);
  auto wave = [&](int i) {
    return 5e-5 / (1 + std::exp(-(i - 34) * 0.003 * 38.9)) + noise(generator);
  };
  m.PlotYMin = -1e-5;
  m.PlotYMax = 6e-5;
  for (int seed = 0; seed < 20; ++seed) {
    generator.seed(seed);
    MakeCurve(200, 0.3, -0.003, wave);
    Find();
    EXPECT_EQ(m.PeakCount, 0) << "seed " << seed;
  }
  auto peak = [&](int i) { return GaussianWithBump(i) + noise(generator) / 10; };
  m.PlotYMax = 1.2e-5;
  for (int seed = 0; seed < 20; ++seed) {
    generator.seed(seed);
    MakeCurve(101, 0, -0.005, peak);
    Find();
    ASSERT_EQ(m.PeakCount, 1) << "seed " << seed;
    EXPECT_NEAR(m.PeakPotential(1, 1), -0.25, 0.0101);
  }
}

// A broad peak whose flat top ripples (an oversampled measurement): one peak, at its highest
// point, not one per ripple.
TEST_F(PeakFinding, ARipplingTopIsOnePeak) {
  MakeCurve(300, 0, 0.001, [](int i) {
    const double u = (i - 150) / 60.0;
    return 1e-5 * std::exp(-u * u * u * u) + 5e-8 * std::cos(2 * M_PI * (i - 150) / 16.0);
  });
  m.PlotYMin = 0;
  m.PlotYMax = 1.2e-5;
  Find();
  EXPECT_EQ(m.PeakCount, 1);
  EXPECT_NEAR(m.PeakPotential(1, 1), 0.149, 1e-12);
}

TEST_F(PeakFinding, AtMostTwentyPeaksPerCurveAreKept) {
  // A saw of 30 teeth, one every 10 points.
  MakeCurve(320, 0, 0.001, [](int i) { return (5 - std::abs((i % 10) - 5)) * 1e-6 + 1e-7; });
  Find();
  EXPECT_EQ(m.PeakCount, 20);
  EXPECT_NEAR(m.PeakPotential(20, 1), 0.001 * (205 - 1), 1e-12);
  EXPECT_NE(result.Text().find("Peak  20 :"), std::string::npos);
  EXPECT_EQ(result.Text().find("Peak  21 :"), std::string::npos);
}

}  // namespace
}  // namespace qalto
