// Marcus-Hush-Chidsey rates against the integral over the electrode's states done directly, at
// 20 overpotentials and five reorganisation energies; the table against the quadrature; the
// techniques of both models and their Butler-Volmer limit. A quasi-reversible cycle, lambda 50 eV
// and 0.3 eV: the scenario marcus_hush; both models on it: analytical_vs_digital_test.

#include "simulation/marcus_hush_rate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "simulation/analytical_run_model.h"
#include "simulation/simulation_driver.h"

namespace qalto {
namespace {

// ln of the integral of exp(-(x - L - eta)^2 / (4L)) / (1 + e^x) by Simpson's rule on 400001
// points over the whole width where the integrand exceeds e^-60 of its largest value.
double DirectLogIntegral(double L, double eta) {
  const double c = L + eta;
  auto exponent = [&](double x) {
    const double d = x - c;
    return -d * d / (4.0 * L) - (x > 0 ? x + std::log1p(std::exp(-x)) : std::log1p(std::exp(x)));
  };
  const double from = std::min(c, 0.0) - 16.0 * std::sqrt(L) - 80.0;
  const double to = std::max(c, 0.0) + 16.0 * std::sqrt(L) + 80.0;
  const int n = 400000;
  const double h = (to - from) / n;
  double highest = -INFINITY;
  for (int k = 0; k <= n; ++k)
    highest = std::max(highest, exponent(from + k * h));
  double sum = 0.0;
  for (int k = 0; k <= n; ++k) {
    const double w = (k == 0 || k == n) ? 1.0 : (k % 2 == 1 ? 4.0 : 2.0);
    sum += w * std::exp(exponent(from + k * h) - highest);
  }
  return highest + std::log(sum * h / 3.0);
}

// lambda, eV
class MarcusHushLambda : public testing::TestWithParam<double> {};

// kred / ks at E - E0 = -0.5 .. +0.45 V (20 overpotentials) within 1e-6 of the direct integral.
TEST_P(MarcusHushLambda, RateWithin1e6OfTheDirectIntegral) {
  const double L = GetParam() * kRunFOverRT;
  const MarcusHushRate rate(L);
  const double zero = DirectLogIntegral(L, 0.0);
  for (int k = 0; k < 20; ++k) {
    const double eta = (-0.5 + 0.05 * k) * kRunFOverRT;
    const double expected = DirectLogIntegral(L, eta) - zero;
    EXPECT_NEAR(rate.LogReduction(eta), expected, 1e-6)
        << "lambda " << GetParam() << " eV, eta " << eta;
  }
}

// The interpolated rate against the quadrature itself, at 4001 overpotentials across the Marcus
// region and beyond (both inverted regions, several in every cell of the table), at 0 C, 25 C and
// 100 C: within 1e-6 in ln k, its slope within 1e-5 of the quadrature's, which is the integral's
// central difference within 1e-6.
TEST_P(MarcusHushLambda, InterpolationWithin1e6OfTheQuadrature) {
  for (double kelvin : {273.15, 298.14, 373.15}) {
    const double L = GetParam() * kRunFOverRT * 298.14 / kelvin;
    const MarcusHushRate rate(L);
    const double zero = LogMarcusHushIntegral(L, 0.0).value;
    const double reach = 3.0 * L + 60.0;
    double worst = 0.0;
    for (int k = -2000; k <= 2000; ++k) {
      const double eta = reach * k / 2000.0 + 0.37 * rate.NodeSpacing();
      const MarcusHushLog table = rate.Reduction(eta);
      const MarcusHushLog direct = LogMarcusHushIntegral(L, eta);
      worst = std::max(worst, std::fabs(table.value - (direct.value - zero)));
      ASSERT_NEAR(table.value, direct.value - zero, 1e-6) << "L " << L << ", eta " << eta;
      ASSERT_NEAR(table.slope, direct.slope, 1e-5) << "L " << L << ", eta " << eta;
      const double h = 1e-3;
      const double difference =
          (LogMarcusHushIntegral(L, eta + h).value - LogMarcusHushIntegral(L, eta - h).value) /
          (2.0 * h);
      ASSERT_NEAR(direct.slope, difference, 1e-6) << "L " << L << ", eta " << eta;
    }
    EXPECT_GT(worst, 0.0);  // the table is not the quadrature itself
  }
}

INSTANTIATE_TEST_SUITE_P(Lambda, MarcusHushLambda, testing::Values(0.1, 0.3, 1.0, 5.0, 50.0),
                         NumberName());

// lambda 50 eV: within 0.1 % of Butler-Volmer with alpha 1/2 wherever eta^2 / (4L) < 1e-3
// (|E - E0| < 72 mV); beyond, the Marcus curvature bends it below (0.2 % at 0.1 V).
TEST(MarcusHushLimit, LargeLambdaIsButlerVolmerWithAlphaOneHalf) {
  const double L = 50.0 * kRunFOverRT;
  const MarcusHushRate rate(L);
  for (double E : {-0.07, -0.05, -0.01, 0.0, 0.02, 0.05, 0.07}) {
    const double eta = E * kRunFOverRT;
    EXPECT_NEAR(std::exp(rate.LogReduction(eta) + eta / 2.0), 1.0, 1e-3) << E << " V";
  }
  // And its oxidation mirrors it: kox / ks = kred(-eta) / ks.
  EXPECT_NEAR(rate.LogReduction(-3.0), rate.LogReduction(3.0) + 3.0, 1e-9);
}

// Every technique of both models takes the kinetics: a cycle through 100 ohm, differential
// pulses, the square wave and a potential step 0.1 V past E0 (ks 0.01 cm/s). Lambda 50 eV
// gives Butler-Volmer's curve within 0.1 % of its largest current; lambda 0.3 eV moves it by
// more than 0.5 %. Each technique in the digital (true) and the analytical mode.
using TechniqueCase = std::tuple<int, bool>;

class MarcusHushTechnique : public testing::TestWithParam<TechniqueCase> {
 protected:
  std::vector<double> Curve(double lambda) {
    const auto [technique, digital] = GetParam();
    Model m = AnalyticalRunModel(technique, 1);
    m.DigitalSimulation = digital;
    if (technique == 1) m.UncompensatedResistance = 100;
    m.ChargeKs(1) = 0.01;
    m.ChargeLambda(1) = lambda;
    if (technique == 4) m.DropTime = 0.5;  // s, the pulses of 25 ms within it
    m.StepPotential1 = kRunE0 - 0.1;
    m.StepTime1 = 0.5;
    m.SampleTime = 0.01;
    RunToTheEnd(m);
    std::vector<double> curve;
    for (int i = 1; i <= m.NumberOfPoints; ++i)
      curve.push_back(m.ReactionCurrents(i, m.TotalCurrentColumn));
    return curve;
  }
};

TEST_P(MarcusHushTechnique, TakesTheKineticsAndTendsToButlerVolmer) {
  const std::vector<double> butlerVolmer = Curve(0.0);
  ASSERT_FALSE(butlerVolmer.empty());
  EXPECT_LT(RelativeDifference(butlerVolmer, Curve(50.0)), 1e-3);
  EXPECT_GT(RelativeDifference(butlerVolmer, Curve(0.3)), 5e-3);
}

INSTANTIATE_TEST_SUITE_P(Techniques, MarcusHushTechnique,
                         testing::Combine(testing::Values(1, 4, 5, 7), testing::Bool()),
                         [](const testing::TestParamInfo<TechniqueCase>& info) {
                           return "Technique" + std::to_string(std::get<0>(info.param)) +
                                  (std::get<1>(info.param) ? "Digital" : "Analytical");
                         });

// The Chemicals form holds lambda to 0.1 to 50 eV; the run itself refuses what is no energy.
TEST(MarcusHushSweep, NegativeLambdaIsRefusedByName) {
  Model m = AnalyticalRunModel(1, 1);
  m.ChargeLambda(1) = -0.3;
  EXPECT_TRUE(RefusedSaying(m, "λ (eV) of reaction 1 is -.3, not a positive energy"));
}

}  // namespace
}  // namespace qalto
