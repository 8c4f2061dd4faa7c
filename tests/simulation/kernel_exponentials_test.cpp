// The diffusion kernels through their exponentials: pointwise against the kernel, weight by
// weight against the weights computed one by one, and whole curves against the direct history
// sums.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "common/test_names.h"
#include "simulation/kernel_exponentials.h"
#include "simulation/convolution_weights.h"
#include "simulation/scaled_erfc.h"

namespace qalto {
namespace {

constexpr double kPiX = 3.14159265358979324;

// exp(-rate s) (1/sqrt(pi s) - a erfcx(a sqrt(s))); beyond a sqrt(s) = 5, where the difference
// cancels, through the asymptotic series 1/sqrt(pi s) sum_k (-1)^(k+1) (2k-1)!! / (2 x^2)^k.
double Kernel(double rate, double a, double s) {
  const double x = a * std::sqrt(s);
  double k = 0.0;
  if (x < 5.0) {
    k = 1.0 / std::sqrt(kPiX * s) - a * ScaledErfc(x);
  } else {
    double term = 1.0, sum = 0.0;
    for (int j = 1; j < 40; ++j) {
      term *= (2.0 * j - 1.0) / (2.0 * x * x);
      sum += (j % 2 == 1 ? term : -term);
    }
    k = sum / std::sqrt(kPiX * s);
  }
  return std::exp(-rate * s) * k;
}

struct KernelCase {
  std::string name;
  double rate;    // 1/s
  double sphere;  // 1/s^1/2
};

class KernelExponentialsTest : public testing::TestWithParam<KernelCase> {};

// Planar, microdisc-sized and large spheres, EC-type decay: within 2e-8 over six decades of time,
// in the sphere's long-time tail too, where the kernel has fallen by orders of magnitude.
TEST_P(KernelExponentialsTest, SumFollowsTheKernelWithin2e8) {
  const KernelCase& c = GetParam();
  const double earliest = 1e-4, latest = 100.0;
  KernelExponentials sum = ApproximateKernel(c.rate, c.sphere, earliest, latest);
  EXPECT_LT(sum.decay.size(), 128u);
  double worst = 0.0;
  for (int i = 0; i <= 600; ++i) {
    const double s = earliest * std::pow(latest / earliest, i / 600.0);
    double approx = 0.0;
    for (std::size_t l = 0; l < sum.decay.size(); ++l)
      approx += sum.weight[l] * std::exp(-sum.decay[l] * s);
    const double exact = Kernel(c.rate, c.sphere, s);
    if (exact < 1e-280) continue;  // a fast decay below the double's range
    worst = std::max(worst, std::fabs(approx / exact - 1.0));
  }
  EXPECT_LT(worst, 2e-8);
}

// The positive half of the 20-point Gauss-Legendre rule: nodes and weights.
constexpr double x[10] = {0.0765265211334973, 0.2277858511416451, 0.3737060887154195,
                          0.5108670019508271, 0.6360536807265150, 0.7463319064601508,
                          0.8391169718222188, 0.9122344282513259, 0.9639719272779138,
                          0.9931285991850949};
constexpr double w[10] = {0.1527533871307258, 0.1491729864726037, 0.1420961093183820,
                          0.1316886384491766, 0.1181945319615184, 0.1019301198172404,
                          0.0832767415767048, 0.0626720483341091, 0.0406014298003869,
                          0.0176140071391521};

// Integral of k(s) w(s) over [from, to], w linear from wFrom to wTo: 20-point Gauss-Legendre
// (the kernel is smooth away from s = 0).
double Integral(const KernelCase& c, double from, double to, double wFrom, double wTo) {
  const double mid = 0.5 * (from + to), half = 0.5 * (to - from);
  double sum = 0.0;
  for (int i = 0; i < 10; ++i) {
    for (double t : {-x[i], x[i]}) {
      const double weight = wFrom + (wTo - wFrom) * 0.5 * (1.0 + t);
      sum += w[i] * Kernel(c.rate, c.sphere, mid + half * t) * weight;
    }
  }
  return half * sum;
}

// The weights of a long grid beyond the exact ones, against the kernel integrated over each step
// by quadrature: within 1e-7 at every time (the weights from the kernel's antiderivatives lose
// up to 5e-7 there to cancellation, which is why the reference is the quadrature).
TEST_P(KernelExponentialsTest, TailWeightsMatchTheKernelsIntegrals) {
  const KernelCase& c = GetParam();
  DiffusionKernel kernel{c.rate, c.sphere};
  const double dt = 1e-3;
  const int count = 20000;
  const KernelWeights hat = KernelHatWeights(kernel, dt, count);
  const KernelWeights step = KernelStepIntegrals(kernel, dt, count);
  EXPECT_EQ(hat.w.size(), static_cast<std::size_t>(kExactWeights));
  double worst = 0.0;
  auto compare = [&](double fast, double exact) {
    if (exact > 1e-250) worst = std::max(worst, std::fabs(fast / exact - 1.0));
  };
  for (int i = 0; i <= 200; ++i) {
    const int m = static_cast<int>(std::lround(kExactWeights * std::pow(count / 16.0, i / 200.0)));
    if (m >= count) break;
    const double s = m * dt;
    compare(step.Weight(m), Integral(c, s, s + dt, 1.0, 1.0));
    compare(hat.Weight(m), Integral(c, s - dt, s, 0.0, 1.0) + Integral(c, s, s + dt, 1.0, 0.0));
    compare(hat.Start(m), Integral(c, s, s + dt, 0.0, 1.0));
  }
  EXPECT_LT(worst, 1e-7);
}

INSTANTIATE_TEST_SUITE_P(
    Kernels, KernelExponentialsTest,
    testing::Values(KernelCase{"Planar", 0.0, 0.0}, KernelCase{"LargeSphere", 0.0, 0.0112},
                    KernelCase{"Microdisc", 0.0, 30.0}, KernelCase{"FollowingReaction", 10.0, 0.0},
                    KernelCase{"FastReaction", 1e4, 0.0}, KernelCase{"ReactionAtSphere", 1.0, 3.0}),
    NameFrom<&KernelCase::name>());

// The kernel of a layer closed by a wall, b = L / sqrt(D), by its images while s < b^2,
// exp(-rate s) (1 + 2 sum_m exp(-m^2 b^2 / s)) / sqrt(pi s), and by its modes beyond,
// exp(-rate s) (1 + 2 sum_n exp(-n^2 pi^2 s / b^2)) / b: 400 terms of either are exact there.
double ThinLayerKernel(double rate, double b, double s) {
  const bool images = s < b * b;
  const double x = images ? b * b / s : kPiX * kPiX * s / (b * b);
  double sum = 1.0;
  for (int m = 1; m < 400; ++m)
    sum += 2.0 * std::exp(-m * m * x);
  return std::exp(-rate * s) * sum / (images ? std::sqrt(kPiX * s) : b);
}

struct WallCase {
  std::string name;
  double rate;  // 1/s
  double wall;  // s^1/2
};

class ThinLayerWeightsTest : public testing::TestWithParam<WallCase> {};

// Every step integral of a thin layer's kernel, the exact ones and those through its modes,
// against the image series integrated by 20-point Gauss-Legendre: within 1e-9 from the thinnest
// layer (exhausted within a step) to one the run barely reaches, with and without a loss.
TEST_P(ThinLayerWeightsTest, StepIntegralsMatchTheImageSeries) {
  const WallCase& c = GetParam();
  const double dt = 1e-3;
  const int count = 5000;
  const KernelWeights step = KernelStepIntegrals({c.rate, 0.0, c.wall}, dt, count);
  double worst = 0.0;
  for (int m = 1; m < count; m += (m < 40 ? 1 : 37)) {
    const double mid = (m + 0.5) * dt, half = 0.5 * dt;
    double exact = 0.0;
    for (int i = 0; i < 10; ++i)
      for (double t : {-x[i], x[i]})
        exact += half * w[i] * ThinLayerKernel(c.rate, c.wall, mid + half * t);
    if (exact > 1e-250) worst = std::max(worst, std::fabs(step.Weight(m) / exact - 1.0));
  }
  EXPECT_LT(worst, 1e-9);
}

const WallCase kWalls[] = {{"ExhaustedWithinAStep", 0.0, 0.01},
                           {"ReachedAfterTenSteps", 0.0, 0.1},
                           {"BarelyReached", 0.0, 2.0},
                           {"WithAFollowingReaction", 20.0, 0.1}};
INSTANTIATE_TEST_SUITE_P(Walls, ThinLayerWeightsTest, testing::ValuesIn(kWalls),
                         NameFrom<&WallCase::name>());

}  // namespace
}  // namespace qalto
