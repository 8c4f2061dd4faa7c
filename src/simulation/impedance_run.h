#pragma once
// Simulate for technique 10: the impedance spectrum of the mechanism at the DC potential,
// computed in the frequency domain (simulation/impedance.h) and written into the curve store as
// a spectrum (Model::SpectrumFrequencies): Z' at points 1..n, Z'' at n+1..2n, the frequencies
// in PotentialX. In a fit the frequencies are the measured spectrum's, already in the store.

#include <optional>
#include <string>

#include "model/model.h"
#include "simulation/simulation_driver.h"

namespace qalto {

// Why the spectrum cannot be computed for this electrode or mechanism, if it cannot.
std::optional<std::string> MissingImpedanceModel(const Model& model);

SimulationOutcome RunImpedance(Model& model, const SimulationInputs& inputs);

}  // namespace qalto
