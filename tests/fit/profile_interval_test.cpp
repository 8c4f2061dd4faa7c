// Profile-likelihood intervals on least squares whose profile is known exactly: a quadratic
// gives the interval of the standard error, a quadratic in ln k the asymmetric one of a rate
// constant, a flat side ends open on its bound; failures and a fit without freedom are named.

#include "fit/profile_interval.h"

#include <gtest/gtest.h>

#include <cmath>

#include "fit/parameter_uncertainty.h"

namespace qalto {
namespace {

constexpr double kS = 2e-12;  // least square at the optimum, A^2
constexpr int kDof = 40;

// A fitted parameter at `value` whose Wald interval is value -/+ `half` (in its coordinate).
FittedParameter Parameter(double value, double half, bool log, double minimum, double maximum) {
  FittedParameter p;
  p.name = "ks(1)";
  p.value = value;
  p.determined = true;
  p.logScale = log;
  p.lower95 = log ? value * std::exp(-half) : value - half;
  p.upper95 = log ? value * std::exp(half) : value + half;
  p.minimum = minimum;
  p.maximum = maximum;
  return p;
}

// The distance from the optimum where S (1 + t^2 / dof) is reached by S + k d^2.
double Crossing(double k) {
  const double t = StudentT975(kDof);
  return std::sqrt(kS * t * t / kDof / k);
}

TEST(ProfileInterval, QuadraticProfileGivesTheSymmetricInterval) {
  const double k = 1e-10;  // A^2 per unit^2
  const double d = Crossing(k);
  int calls = 0;
  auto S = [&](double v) -> Expected<double> {
    ++calls;
    return kS + k * (v - 3.0) * (v - 3.0);
  };
  // A Wald interval three times too narrow: the search widens it.
  Expected<ProfileInterval> found = ProfileOf(Parameter(3.0, d / 3, false, -10, 10), kS, kDof, S);
  ASSERT_TRUE(found) << found.Error().message;
  EXPECT_NEAR(found.Value().lower.value, 3.0 - d, 1e-3 * d);
  EXPECT_NEAR(found.Value().upper.value, 3.0 + d, 1e-3 * d);
  EXPECT_FALSE(found.Value().lower.open || found.Value().upper.open);
  EXPECT_EQ(found.Value().refits, calls);
  EXPECT_LT(calls, 20);
}

TEST(ProfileInterval, RateConstantProfileIsSymmetricInItsLogarithm) {
  const double k = 4e-11;  // A^2 per (ln unit)^2
  const double d = Crossing(k);
  auto S = [&](double v) -> Expected<double> {
    const double u = std::log(v / 0.01);
    return kS + k * u * u;
  };
  Expected<ProfileInterval> found =
      ProfileOf(Parameter(0.01, 1.5 * d, true, 1e-5, 100), kS, kDof, S);
  ASSERT_TRUE(found) << found.Error().message;
  EXPECT_NEAR(std::log(found.Value().lower.value / 0.01), -d, 1e-3 * d);
  EXPECT_NEAR(std::log(found.Value().upper.value / 0.01), d, 1e-3 * d);
}

TEST(ProfileInterval, SideTheDataDoNotLimitEndsOpenOnItsBound) {
  // A reversible wave: any ks above the optimum fits as well, below it the fit worsens.
  auto S = [&](double v) -> Expected<double> {
    return v >= 0.01 ? kS : kS + 1e-10 * std::pow(std::log(v / 0.01), 2);
  };
  Expected<ProfileInterval> found = ProfileOf(Parameter(0.01, 0.1, true, 1e-5, 10), kS, kDof, S);
  ASSERT_TRUE(found) << found.Error().message;
  EXPECT_FALSE(found.Value().lower.open);
  EXPECT_LT(found.Value().lower.value, 0.01);
  EXPECT_TRUE(found.Value().upper.open);
  EXPECT_DOUBLE_EQ(found.Value().upper.value, 10);
  // A parameter already on its bound has that side open at once.
  found = ProfileOf(Parameter(10, 0.1, true, 1e-5, 10), kS, kDof, S);
  ASSERT_TRUE(found);
  EXPECT_TRUE(found.Value().upper.open);
}

TEST(ProfileInterval, FailuresAndFitsWithoutFreedomAreNamed) {
  auto failing = [](double) -> Expected<double> { return Failure{"Digital simulation Error: x"}; };
  Expected<ProfileInterval> found = ProfileOf(Parameter(1, 0.1, false, 0, 2), kS, kDof, failing);
  ASSERT_FALSE(found);
  EXPECT_EQ(found.Error().message, "Digital simulation Error: x");
  auto flat = [](double) -> Expected<double> { return kS; };
  found = ProfileOf(Parameter(1, 0.1, false, 0, 2), kS, 0, flat);
  ASSERT_FALSE(found);
  EXPECT_EQ(found.Error().message,
            "Error: ks(1) has no profile: the fit has no degree of freedom!");
}

}  // namespace
}  // namespace qalto
