#pragma once
// Reading a measurement file of any supported kind, recognised from its content whatever its
// name: EC-Lab binary and text, Gamry DTA, PalmSens session and CSV, CH Instruments text, the
// program's own two-column CSV, and delimited text of any other origin (Autolab NOVA among
// them); and impedance spectra (files/spectrum_reader.h) of any of them.

#include <string>

#include "files/column_heading.h"
#include "files/imported_curve.h"

namespace qalto {

// The file's curves and settings; source names the file in the curves. The choice names the
// potential and current columns where the user picked them. A file that is not understood
// (or has no chosen column) raises a FileFormatError placed at its line.
ImportedFile ReadMeasurementText(std::string bytes, const std::string& source,
                                 const ColumnChoice& choice = {});

// Reads the whole file and then its text; failures of the file itself (not found, a folder,
// a failing read) raise a RuntimeError with the run-time library's description.
ImportedFile ReadMeasurementFile(const std::string& path, const ColumnChoice& choice = {});

}  // namespace qalto
