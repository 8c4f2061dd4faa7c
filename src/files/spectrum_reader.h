#pragma once
// Impedance spectra in text, recognised by the headings of their table whatever the file's
// origin: EC-Lab's PEIS export (.mpt: "freq/Hz", "Re(Z)/Ohm", "-Im(Z)/Ohm", tab-separated, a
// decimal comma where the instrument's computer writes one), Gamry's EIS table (ZCURVE:
// "Freq", "Zreal", "Zimag", a units line under the headings), CH Instruments' A.C. Impedance
// text ("Freq/Hz, Z'/ohm, Z\"/ohm") and the program's own export ("f (Hz), Z' (Ohm),
// Z'' (Ohm)").

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/imported_curve.h"

namespace qalto {

// The spectrum of the first table whose headings name a frequency, a real and an imaginary
// part; nothing when no line has such headings. A table that has them but no numbers under
// them, a frequency not above zero or too many rows raise a FileFormatError at the line.
std::optional<ImportedFile> ReadSpectrumText(const std::vector<std::string_view>& lines,
                                             const std::string& source);

}  // namespace qalto
