#pragma once
// Simulate for technique 10: the impedance spectrum of the mechanism at the DC potential,
// computed in the frequency domain (simulation/impedance.h) and written into the curve store as
// a spectrum (Model::SpectrumFrequencies): Z' at points 1..n, Z'' at n+1..2n, the frequencies
// in PotentialX. In a fit the frequencies are the measured spectrum's, already in the store.

#include <complex>
#include <optional>
#include <string>
#include <vector>

#include "common/failure.h"
#include "model/model.h"

namespace qalto {

// Why the spectrum cannot be computed for this electrode or mechanism, if it cannot.
std::optional<std::string> MissingImpedanceModel(const Model& model);

// The spectrum at the model's DC potential and frequencies (the store's own in a fit), the
// solution's pH shifting the reactions with protons; overlap is the display options' box.
// A failure leaves the store as it was: the run was refused before anything was written.
Outcome RunImpedance(Model& model, bool overlap, double pH);

// Puts a spectrum (a measured one, or one just computed) into the store: beside the curves
// there when overlap is on and they are spectra of as many frequencies, else into slot 1.
void StoreSpectrum(Model& model, bool overlap, const std::vector<double>& frequencies,
                   const std::vector<std::complex<double>>& z);

}  // namespace qalto
