// The Fourier transform against the sum that defines it, and the harmonics of a current whose
// DC part, harmonic amplitudes and power are known.

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "analysis/ac_harmonics.h"
#include "analysis/fourier_transform.h"
#include "common/test_names.h"

namespace qalto {
namespace {

using Series = std::vector<std::complex<double>>;

Series Direct(const Series& x) {
  const std::size_t n = x.size();
  Series X(n);
  for (std::size_t k = 0; k < n; ++k)
    for (std::size_t j = 0; j < n; ++j)
      X[k] += x[j] * std::polar(1.0, -2 * std::numbers::pi * double(k * j % n) / double(n));
  return X;
}

// Radix 2 (16, 1024) and Bluestein (1, 3, 12, 1000) lengths, forward and back.
class FourierTest : public testing::TestWithParam<int> {};

TEST_P(FourierTest, EqualsTheDefiningSumAndInvertsIt) {
  const std::size_t n = static_cast<std::size_t>(GetParam());
  Series x(n);
  for (std::size_t j = 0; j < n; ++j)
    x[j] = {std::sin(0.37 * double(j)) + 0.1 * double(j % 7), std::cos(1.3 * double(j))};
  Series X = x;
  FourierTransform(X);
  const Series expected = Direct(x);
  for (std::size_t k = 0; k < n; ++k)
    EXPECT_LT(std::abs(X[k] - expected[k]), 1e-9 * double(n)) << "k = " << k;
  InverseFourierTransform(X);
  for (std::size_t j = 0; j < n; ++j)
    EXPECT_LT(std::abs(X[j] - x[j]), 1e-12 * double(n)) << "j = " << j;
}

INSTANTIATE_TEST_SUITE_P(Lengths, FourierTest, testing::Values(1, 3, 12, 16, 1000, 1024),
                         NumberName());

// Currents sampled 64 times a period of 10 Hz for 5 s.
constexpr double kF = 10.0, kDt = 1.0 / (64 * kF), kW = 2 * std::numbers::pi * kF;
constexpr int kN = 64 * 50;

// 2 + 3 sin(wt) + 0.5 cos(2wt + 1) + 0.01 sin(5wt): the envelopes are the amplitudes, the DC
// component the constant, and the power at f, 2f, 5f the squared amplitudes.
TEST(AcHarmonicsTest, EnvelopesAndPowerOfAKnownCurrentAreItsAmplitudes) {
  std::vector<double> current(kN);
  for (int i = 0; i < kN; ++i) {
    const double t = i * kDt;
    current[i] =
        2 + 3 * std::sin(kW * t) + 0.5 * std::cos(2 * kW * t + 1) + 0.01 * std::sin(5 * kW * t);
  }
  const AcHarmonicsResult h = AcHarmonics(current, kDt, kF);
  ASSERT_EQ(h.dc.size(), current.size());
  const double amplitude[] = {0, 3, 0.5, 0, 0, 0.01, 0, 0, 0};
  for (int i = 0; i < kN; i += 97) {
    EXPECT_NEAR(h.dc[i], 2, 1e-9);
    for (int k = 1; k <= kAcHarmonics; ++k)
      EXPECT_NEAR(h.envelope[k][i], amplitude[k], 1e-9) << "k = " << k << ", i = " << i;
  }
  ASSERT_EQ(h.frequency.size(), kN / 2 + 1u);
  for (int k : {1, 2, 5}) {
    const std::size_t bin = static_cast<std::size_t>(50 * k);  // 0.2 Hz a bin
    EXPECT_NEAR(h.frequency[bin], k * kF, 1e-9);
    EXPECT_NEAR(h.power[bin], amplitude[k] * amplitude[k], 1e-9);
  }
  EXPECT_NEAR(h.power[0], 4, 1e-9);
  EXPECT_NEAR(h.power[7], 0, 1e-9);
}

// A sweep's DC current that rises from 0 to a plateau of 1 (a microelectrode's wave) under a
// sine of 0.05: the envelope is the sine's amplitude up to both ends and the DC component the
// wave, with no trace of the jump from the plateau back to 0 where the transform closes the
// series on itself (it made the fundamental at the first point 4 times the sine).
TEST(AcHarmonicsTest, DcTrendLeavesNoEdgeInTheEnvelopes) {
  std::vector<double> current(kN), wave(kN);
  for (int i = 0; i < kN; ++i) {
    wave[i] = 1 / (1 + std::exp(-(i * kDt - 2.5) / 0.3));
    current[i] = wave[i] + 0.05 * std::sin(kW * i * kDt);
  }
  const AcHarmonicsResult h = AcHarmonics(current, kDt, kF);
  for (int i : {0, 1, kN / 2, kN - 2, kN - 1}) {
    EXPECT_NEAR(h.envelope[1][i], 0.05, 5e-5) << i;
    EXPECT_NEAR(h.envelope[2][i], 0, 5e-5) << i;
    EXPECT_NEAR(h.dc[i], wave[i], 5e-5) << i;
  }
}

}  // namespace
}  // namespace qalto
