#pragma once
// Export of an impedance spectrum of the curve store (Model::SpectrumFrequencies set) as
// comma-separated text: a header naming the columns, then one line per frequency, the
// frequency, Z' and Z'' in the print zones of the curve export, each line ended by carriage
// return and line feed.

#include <string>

#include "common/failure.h"
#include "model/model.h"

namespace qalto {

inline constexpr const char* kSpectrumExportHeader = "f (Hz), Z' (Ohm), Z'' (Ohm)";

// The whole text of curve `curve`'s spectrum.
std::string SpectrumExportText(const Model& model, int curve);

// Writes it into the file fileName, whole or not at all; a failure names the file and why.
Outcome WriteSpectrumFile(const std::string& fileName, const Model& model, int curve);

}  // namespace qalto
