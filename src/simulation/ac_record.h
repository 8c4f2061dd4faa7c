#pragma once
// The harmonics of the AC voltammogram just simulated, kept beside its current.

#include "model/model.h"

namespace qalto {

// Fourier-analyses the total current of points 1..NumberOfPoints (sampled every PointTime under
// the sine of AcFrequency) into AcHarmonics (the DC component and the envelopes of harmonics
// 1..8 at every point) and AcSpectrum (frequency and power, AcSpectrumPoints rows).
void StoreAcHarmonics(Model& model);

}  // namespace qalto
