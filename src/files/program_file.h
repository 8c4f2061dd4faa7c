#pragma once
// A potential program read from a two-column text file: time (s) and potential (V) on each
// line, separated by a comma, semicolon, tab or blanks, under an optional heading line (a
// heading whose first column names the potential, "E/V,t/s", puts the potential first). The
// rows are the program's corners: the potential is linear between them.

#include <string>

#include "common/failure.h"
#include "model/potential_program.h"

namespace qalto {

// The program of the file at path, with fromFile set and fileName the path's last part. A
// failure's message is "Potential program Error: " and what was wrong where: a missing or
// unreadable file, no rows, a cell that is no number, a single column, times that do not
// increase, a potential beyond +-10 V, more rows than a curve holds points.
Expected<PotentialProgram> ReadProgramFile(const std::string& path);

// The same for the file's text; name is how messages name the file.
Expected<PotentialProgram> ReadProgramText(const std::string& text, const std::string& name);

}  // namespace qalto
