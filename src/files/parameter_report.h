#pragma once
// The parameter report: the experiment's technique, mechanism, electrode, potential program,
// timing and per-species constants as pairs of lines, a label line and a value line, ending
// with carriage return and line feed. It is written for the user and never read back.

#include <string>

#include "app/model.h"
#include "files/file_dialog.h"
#include "ui/platform.h"

namespace qalto {

// The report's text. The kinetic tables are indexed by charge reaction but written at each
// species position all the same. A value never set gives an empty value line.
std::string ParameterReportText(const Model& model);

// Asks for the file with the Save dialog (".par" filter) and writes the report into it. A
// cancel writes nothing; a failure is shown in a message box, "Save Error: " and the
// description, and the file is closed in every case.
void WriteParameterReport(const Model& model, Platform& platform, FileDialog& dialog);

}  // namespace qalto
