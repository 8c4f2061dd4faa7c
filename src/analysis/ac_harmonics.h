#pragma once
// The harmonics of an AC voltammogram: the Fourier transform of its current, the DC component
// and the envelope of each harmonic k = 1..8 by band filtering around k f and the inverse
// transform (the magnitude of the analytic signal), both of the current less its DC trend (a
// line from the DC current at its start to that at its end, which the DC component gets back),
// and the power spectrum of the current.

#include <array>
#include <vector>

#include "model/model_limits.h"

namespace qalto {

struct AcHarmonicsResult {
  std::vector<double> dc;  // the current below f/2 at each sample, A (signed)
  // envelope[k][n]: amplitude of harmonic k at sample n, A (envelope[0] unused)
  std::array<std::vector<double>, kAcHarmonics + 1> envelope;
  std::vector<double> frequency;  // Hz, 0 .. the Nyquist frequency
  std::vector<double> power;      // squared amplitude of the sine at each frequency, A^2
};

// The harmonics of current sampled every `sample` seconds (at least two samples) under a sine
// of `frequency` Hz. Each band is flat within f/4 of k f and falls as a raised cosine to zero at
// f/2, so that neighbouring bands meet without overlap and the envelopes do not ring.
AcHarmonicsResult AcHarmonics(const std::vector<double>& current, double sample, double frequency);

}  // namespace qalto
