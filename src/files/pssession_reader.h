#pragma once
// PalmSens PSTrace session file (.pssession): UTF-16 JSON whose measurements hold curves with
// an x (potential) and a y (current) array of {"v": value} points, and the method as
// "KEY=value" lines.

#include <string>

#include "files/imported_curve.h"

namespace qalto {

// The decoded text starts with a JSON object naming its measurements.
bool LooksLikePsSession(const std::string& text);

// One curve per curve of every measurement, the current scaled by its unit (MicroAmpere,
// NanoAmpere, ...); E_BEGIN, E_VTX1 and E_VTX2 (or E_END), E_STEP and SCAN_RATE from the
// measurement's method.
ImportedFile ReadPsSession(const std::string& text, const std::string& source);

}  // namespace qalto
