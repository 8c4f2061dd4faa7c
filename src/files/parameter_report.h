#pragma once
// The parameter report: the experiment's technique, mechanism, electrode, potential program,
// timing and per-species constants as pairs of lines, a label line and a value line, ending
// with carriage return and line feed; after a fit, the uncertainty of the fitted values. It is
// written for the user and never read back.

#include <string>

#include "common/failure.h"
#include "files/text_file.h"
#include "model/model.h"

namespace qalto {

// Sends the report's lines to `writeLine`, one at a time. The kinetic tables are indexed by
// charge reaction but written at each species position all the same. A value never set gives
// an empty value line. More species than the tables hold raise after the lines before the
// first value that cannot be read.
void PrintParameterReport(const Model& model, const LineSink& writeLine);

// The report's whole text, each line ended by carriage return and line feed.
std::string ParameterReportText(const Model& model);

// Writes the report into the file fileName. A failure (the file cannot be created, a write
// fails, SpeciesCount above 8) ends the report with the message naming the file and the
// reason; the file is written whole or not at all.
Outcome WriteParameterReport(const Model& model, const std::string& fileName);

}  // namespace qalto
