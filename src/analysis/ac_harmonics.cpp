#include "analysis/ac_harmonics.h"

#include <cmath>
#include <complex>
#include <cstddef>
#include <numbers>

#include "analysis/fourier_transform.h"

namespace qalto {
namespace {

using Series = std::vector<std::complex<double>>;

// The weight of a bin at distance `offset` (in units of f) from the centre of its band.
double BandWeight(double offset) {
  const double d = std::fabs(offset);
  if (d <= 0.25) return 1.0;
  if (d >= 0.5) return 0.0;
  return 0.5 * (1.0 + std::cos(std::numbers::pi * (d - 0.25) / 0.25));
}

// The signed frequency of bin j of n, in units of the sine's frequency.
double BinFrequency(std::size_t j, std::size_t n, double resolution) {
  const double bin =
      j <= n / 2 ? static_cast<double>(j) : static_cast<double>(j) - static_cast<double>(n);
  return bin * resolution;
}

// The DC trend: the straight line from the DC current at the first sample to the DC current one
// sample after the last, where the transform closes the series on itself. Each is extrapolated
// from the means of the two periods of samples at its end (a periodic current's mean exactly, a
// sweep's current at the period's middle). A series shorter than four periods has none.
struct Trend {
  double start = 0;  // at sample 0
  double slope = 0;  // per sample
  double At(std::size_t i) const { return start + slope * static_cast<double>(i); }
};

double PeriodMean(const std::vector<double>& current, std::size_t first, std::size_t period) {
  double sum = 0;
  for (std::size_t i = first; i < first + period; ++i)
    sum += current[i];
  return sum / static_cast<double>(period);
}

Trend DcTrend(const std::vector<double>& current, double sample, double frequency) {
  const std::size_t n = current.size();
  const double samples = std::round(1.0 / (sample * frequency));
  if (!(samples >= 1) || 4 * samples > static_cast<double>(n)) return {};
  const auto period = static_cast<std::size_t>(samples);
  const double middle = 0.5 * (samples - 1);  // of a period, from its first sample
  const double a = PeriodMean(current, 0, period), b = PeriodMean(current, period, period);
  const double y = PeriodMean(current, n - period, period);
  const double x = PeriodMean(current, n - 2 * period, period);
  const double start = a - (b - a) / samples * middle;
  const double end = y + (y - x) / samples * (samples - middle);
  return {start, (end - start) / static_cast<double>(n)};
}

}  // namespace

AcHarmonicsResult AcHarmonics(const std::vector<double>& current, double sample, double frequency) {
  AcHarmonicsResult result;
  const std::size_t n = current.size();
  if (n < 2) return result;
  Series spectrum(current.begin(), current.end());
  FourierTransform(spectrum);
  const double resolution = 1.0 / (static_cast<double>(n) * sample * frequency);  // bin, in f

  // The bands are taken from the current less its DC trend: the transform takes the series as
  // periodic, and the DC current's jump from the last sample back to the first would otherwise
  // spread into every band near both ends (a sweep into a microelectrode's plateau showed a
  // fundamental at E start larger than its peak at E1/2). The trend is given back to the DC
  // component.
  const Trend trend = DcTrend(current, sample, frequency);
  Series trendless(n);
  for (std::size_t i = 0; i < n; ++i)
    trendless[i] = current[i] - trend.At(i);
  FourierTransform(trendless);

  // The DC component: both signs of the band around 0, a real series.
  Series band(n);
  for (std::size_t j = 0; j < n; ++j)
    band[j] = trendless[j] * BandWeight(BinFrequency(j, n, resolution));
  InverseFourierTransform(band);
  result.dc.resize(n);
  for (std::size_t i = 0; i < n; ++i)
    result.dc[i] = band[i].real() + trend.At(i);

  // Harmonic k: the positive frequencies of its band doubled, the analytic signal of the band.
  for (int k = 1; k <= kAcHarmonics; ++k) {
    for (std::size_t j = 0; j < n; ++j) {
      const double f = BinFrequency(j, n, resolution);
      band[j] = f > 0 ? 2.0 * trendless[j] * BandWeight(f - k) : 0.0;
    }
    InverseFourierTransform(band);
    std::vector<double>& envelope = result.envelope[static_cast<std::size_t>(k)];
    envelope.resize(n);
    for (std::size_t i = 0; i < n; ++i)
      envelope[i] = std::abs(band[i]);
  }

  // One-sided: a sine of amplitude a at a bin shows a^2 there.
  const std::size_t half = n / 2;
  result.frequency.resize(half + 1);
  result.power.resize(half + 1);
  for (std::size_t j = 0; j <= half; ++j) {
    const double scale = (j == 0 || 2 * j == n ? 1.0 : 2.0) / static_cast<double>(n);
    const double amplitude = scale * std::abs(spectrum[j]);
    result.frequency[j] = static_cast<double>(j) / (static_cast<double>(n) * sample);
    result.power[j] = amplitude * amplitude;
  }
  return result;
}

}  // namespace qalto
