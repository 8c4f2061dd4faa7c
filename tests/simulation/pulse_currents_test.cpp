#include "simulation/pulse_currents.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/checked_math.h"
#include "common/int16.h"
#include "common/runtime_error.h"
#include "simulation/kinetic_currents.h"
#include "simulation/kinetic_test_model.h"
#include "simulation/potential_axis.h"

namespace qalto {
namespace {

// A staircase from start to end and back (cycle) with the given step, as the driver builds it.
Model StaircaseModel(double start, double end, double step, double cycles) {
  Model model = KineticTestModel();
  model.StartPotential = start;
  model.EndPotential = end;
  model.PotentialStep = step;
  model.ScanCycles = cycles;
  model.SweepDirection = end > start ? 1 : -1;
  BuildPotentialAxis(model);
  return model;
}

double F(const Model& model, const KineticArguments& args, double E) {
  return PlanarKineticCurrent(model, AtPotential(args, E));
}

// The superposition sums evaluated term by term, each term with its own model evaluation.
double DirectSquareWavePlanar(const Model& model, const KineticArguments& args, int i) {
  double h = args.P / 2;
  int d = Sgn(model.PotentialX(i) - model.PotentialX(i - 1));
  if (d == 0) d = 1;
  double Ia = F(model, args, args.E - d * h);
  double Ib = F(model, args, args.E + d * h);
  int K = i - 2;
  double Ebase = model.StartPotential;
  if (i > model.SweepPoints) {
    K = ToInt16(i - model.SweepPoints - 2);
    Ebase = model.EndPotential;
  }
  double S = 0;
  for (int m = 0; m <= K; ++m) {
    double Em = Ebase + d * (m * model.PotentialStep);
    double q = i - m;
    S = S + (1 / std::sqrt(q + 1) - 2 / std::sqrt(q) + 1 / std::sqrt(q - 1)) * F(model, args, Em);
  }
  return (1 / std::sqrt(2.0) - 2) * Ib + Ia + S;
}

template <typename G>
double DirectAdditiveSum(const Model& model, int i, G g) {
  double S = 0;
  for (int m = -100; m <= i - 2; ++m) {
    double Em = model.StartPotential + (m * model.PotentialStep) * model.SweepDirection;
    double q = i - m;
    S = S + (1 / std::sqrt(q + 1) - 1 / std::sqrt(q - 1)) * g(Em);
  }
  return S;
}

double DirectAdditivePlanar(const Model& model, const KineticArguments& args, int i) {
  auto N = [&](double E) { return NernstReducedFraction(model, AtPotential(args, E)); };
  double Pplus = N(args.E + args.P / 2);
  double Pminus = N(args.E - args.P / 2);
  return Pminus / std::sqrt(2.0) + Pplus + DirectAdditiveSum(model, i, N);
}

double DirectAdditiveSpherical(const Model& model, const KineticArguments& args, int i) {
  auto g = [&](double E) { return SphericalKineticCurrent(model, AtPotential(args, E)); };
  double A = g(args.E - args.P / 2);
  double B = g(args.E + args.P / 2);
  return B / std::sqrt(2.0) + A + DirectAdditiveSum(model, i, g);
}

TEST(SquareWavePlanarCurrent, FirstPointHasNoHistory) {
  Model model = StaircaseModel(0.0, -0.3, 0.01, 0.5);
  KineticArguments args = KineticTestReaction();
  args.E = model.PotentialX(1);
  StaircaseHistory history;
  double h = args.P / 2;  // the sweep goes down: d = -1
  double expected =
      (1 / std::sqrt(2.0) - 2) * F(model, args, args.E - h) + F(model, args, args.E + h);
  EXPECT_EQ(SquareWavePlanarCurrent(model, args, 1, history), expected);
}

TEST(SquareWavePlanarCurrent, OnTheDiffusionPlateauIsTheCottrellDifference) {
  // Every step far negative of E0 draws the Cottrell current C: the superposition leaves
  // C (1/sqrt(i+1) - 1/sqrt(i)) at point i.
  Model model = StaircaseModel(-0.8, -1.2, 0.01, 0.5);
  KineticArguments args = KineticTestReaction();
  StaircaseHistory history;
  double C = Cottrell(args);
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    args.E = model.PotentialX(i);
    double expected = C * (1 / std::sqrt(i + 1.0) - 1 / std::sqrt(double(i)));
    EXPECT_NEAR(SquareWavePlanarCurrent(model, args, i, history), expected, 1e-6 * C) << i;
  }
}

TEST(SquareWavePlanarCurrent, HistorySumsEqualTheTermByTermSums) {
  Model model = StaircaseModel(0.2, -0.2, 0.005, 2);
  KineticArguments args = KineticTestReaction();
  args.CR = 0.4e-3;
  StaircaseHistory history;  // kept over the whole run, as the driver does
  double C = Cottrell(args);
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    args.E = model.PotentialX(i) + 1e-4 * std::sin(i);
    args.CO = 1e-3 * (1 + 0.2 * std::sin(0.1 * i));  // as in the second step of mechanism 2
    double fast = SquareWavePlanarCurrent(model, args, i, history);
    EXPECT_NEAR(fast, DirectSquareWavePlanar(model, args, i), 1e-12 * C) << i;
  }
  // In a fit the sweep length is half the imported points, not rounded.
  model.SweepPoints = 80.5;
  for (int i = 79; i <= 90; ++i) {
    args.E = model.PotentialX(i);
    EXPECT_NEAR(SquareWavePlanarCurrent(model, args, i, history),
                DirectSquareWavePlanar(model, args, i), 1e-12 * C)
        << i;
  }
}

TEST(AdditiveSquareWave, OnThePlateauTheHistoryTelescopes) {
  // With the same response G at every step the sum over the 100 early steps and the staircase
  // collapses to G (1/sqrt(i+101) + 1/sqrt(i+100)). The early steps reach 1 V above the start.
  Model model = StaircaseModel(-1.8, -2.2, 0.01, 0.5);
  KineticArguments args = KineticTestReaction();
  args.ks = 1e4;
  StaircaseHistory history;
  double D = args.sqrtDO * args.sqrtDO;
  double G = Cottrell(args) + args.n * args.CO * D / model.Radius;
  for (int i = 1; i <= model.NumberOfPoints; i += 7) {
    args.E = model.PotentialX(i);
    double tail = 1 / std::sqrt(i + 101.0) + 1 / std::sqrt(i + 100.0);
    EXPECT_NEAR(AdditiveSquareWavePlanarCurrent(model, args, i, history), tail, 1e-12) << i;
    EXPECT_NEAR(AdditiveSquareWaveSphericalCurrent(model, args, i, history), G * tail,
                1e-6 * G * tail)
        << i;
  }
}

TEST(AdditiveSquareWave, HistorySumsEqualTheTermByTermSums) {
  Model model = StaircaseModel(0.15, -0.25, 0.005, 1);
  KineticArguments args = KineticTestReaction();
  args.CR = 0.3e-3;
  StaircaseHistory history;
  double C = Cottrell(args);
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    args.E = model.PotentialX(i);
    args.CO = 1e-3 * (1 + 0.2 * std::cos(0.07 * i));
    EXPECT_NEAR(AdditiveSquareWavePlanarCurrent(model, args, i, history),
                DirectAdditivePlanar(model, args, i), 1e-12)
        << i;
    EXPECT_NEAR(AdditiveSquareWaveSphericalCurrent(model, args, i, history),
                DirectAdditiveSpherical(model, args, i), 1e-12 * C)
        << i;
  }
}

TEST(DifferentialPulsePlanarCurrent, ReversiblePeakAtHalfWaveMinusHalfPulse) {
  // Reversible couple, long drop: the peak lies at E0 - P/2 and its height is
  // C (1 - s) / (1 + s) with s = exp(n f P / 2).
  Model model = KineticTestModel();
  model.DropTime = 1e6;
  KineticArguments args = KineticTestReaction();
  args.ks = 1e4;
  args.P = -0.05;
  double best = 0;
  double bestE = 0;
  for (double E = 0.0; E <= 0.05; E += 1e-4) {
    args.E = E;
    double current = DifferentialPulsePlanarCurrent(model, args);
    if (current > best) {
      best = current;
      bestE = E;
    }
  }
  double s = std::exp(model.FOverRT * args.P / 2);
  EXPECT_NEAR(bestE, 0.025, 1.5e-4);
  EXPECT_NEAR(best, Cottrell(args) * (1 - s) / (1 + s), 1e-5 * Cottrell(args));
}

TEST(DifferentialPulseSphericalCurrent, ReducesToPlanarForALargeSphere) {
  Model model = KineticTestModel();
  model.Radius = 1e6;
  KineticArguments args = KineticTestReaction();
  args.P = -0.05;
  for (double E = -0.2; E <= 0.2; E += 0.05) {
    args.E = E;
    EXPECT_NEAR(DifferentialPulseSphericalCurrent(model, args),
                DifferentialPulsePlanarCurrent(model, args), 1e-9 * Cottrell(args));
  }
}

TEST(SquareWaveSphericalCurrent, VanishesOnTheDiffusionPlateau) {
  Model model = KineticTestModel();
  KineticArguments args = KineticTestReaction();
  args.ks = 1e4;
  args.E = -0.9;
  EXPECT_NEAR(SquareWaveSphericalCurrent(model, args), 0.0, 1e-9 * Cottrell(args));
  args.E = 0.0;
  EXPECT_LT(SquareWaveSphericalCurrent(model, args), 0.0);  // E + P is the less reducing step
}

TEST(PulseCurrents, OverflowRaises) {
  Model model = StaircaseModel(0.0, -0.3, 0.01, 0.5);
  KineticArguments args = KineticTestReaction();
  StaircaseHistory history;
  args.E0 = 100.0;
  EXPECT_THROW(SquareWavePlanarCurrent(model, args, 5, history), RuntimeError);
  EXPECT_THROW(AdditiveSquareWaveSphericalCurrent(model, args, 5, history), RuntimeError);
  EXPECT_THROW(DifferentialPulsePlanarCurrent(model, args), RuntimeError);
  args.E0 = -100.0;  // exp(n f (E - E0)) overflows in the Nernst fraction
  EXPECT_THROW(AdditiveSquareWavePlanarCurrent(model, args, 5, history), RuntimeError);
  // A pulse longer than the drop leaves a negative time.
  args = KineticTestReaction();
  model.DropTime = 0.001;
  EXPECT_THROW(DifferentialPulsePlanarCurrent(model, args), RuntimeError);
}

}  // namespace
}  // namespace qalto
