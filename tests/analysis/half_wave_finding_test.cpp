#include "analysis/half_wave_finding.h"

#include <gtest/gtest.h>

#include "app/analysis_report.h"

#include <cmath>

namespace qalto {
namespace {

constexpr double kF = 38.923;  // F/RT at 25 degrees Celsius, 1/V

// A reversible reduction wave of 10 uA with E1/2 = 0.1 V, cathodic current positive.
double Wave(double e) {
  return 1e-5 / (1 + std::exp(kF * (e - 0.1)));
}

class HalfWaveFinding : public ::testing::Test {
 protected:
  // A sweep from 0.3 V towards -0.1 V in 1 mV steps (401 points per segment), repeated back
  // and forth for the given number of segments.
  void MakeSweeps(int segments) {
    m.CurveCount = 1;
    m.SweepPoints = 401;
    m.ScanCycles = segments / 2.0;
    m.NumberOfPoints = 401 * segments;
    for (int i = 1; i <= m.NumberOfPoints; ++i) {
      int inSegment = (i - 1) % 401;
      bool forward = ((i - 1) / 401) % 2 == 0;
      m.PotentialX(i) = forward ? 0.3 - 0.001 * inSegment : -0.1 + 0.001 * inSegment;
      m.CurrentY(i, 1) = Wave(m.PotentialX(i));
    }
  }

  Model m;
  ResultWindow result;
};

TEST_F(HalfWaveFinding, ForwardAndReverseWaves) {
  // Height: the current at -0.1 V, 1e-5 / (1 + exp(-38.923 x 0.2)) = 9.9958e-6 A, half of it
  // first reached at 0.1 V (0.4903 at 0.101 V). The reverse segment is measured down from the
  // plateau to its foot at 0.3 V, 1e-5 / (1 + exp(38.923 x 0.2)) = 4.2e-9 A, where the forward
  // segment had the zero of position 0: the height is 9.9917e-6 A.
  const std::string forward = "Peak  1 :     E1/2= 0.1V    Id= 9.9958E-6A\n";
  for (int segments : {1, 2}) {
    MakeSweeps(segments);
    result.Clear();
    PrintHalfWaves(result, FindHalfWavePotentials(m));
    EXPECT_EQ(result.Text(),
              "              Curve  1 :\n" + forward +
                  (segments == 2 ? "Peak  2 :     E1/2= 0.1V    Id= 9.9917E-6A\n" : ""));
  }
}

TEST_F(HalfWaveFinding, TheFirstSegmentIncludesPositionZeroAsZeroCurrent) {
  m.CurveCount = 1;
  m.SweepPoints = 5;
  m.ScanCycles = 0.5;
  m.NumberOfPoints = 5;
  m.PotentialX(0) = 0.31;
  for (int i = 1; i <= 5; ++i) {
    m.PotentialX(i) = 0.3 - 0.01 * (i - 1);
    m.CurrentY(i, 1) = -1e-6;
  }
  m.CurrentY(0, 1) = -5;  // the store's position 0 is not copied
  PrintHalfWaves(result, FindHalfWavePotentials(m));
  // Extremes 0 (position 0) and -1 uA; from the smallest current, position 0 is half-way.
  EXPECT_EQ(result.Text(),
            "              Curve  1 :\n"
            "Peak  1 :     E1/2= 0.31V   Id= 1.E-6A\n");
}

}  // namespace
}  // namespace qalto
