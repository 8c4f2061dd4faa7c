#pragma once
// Reading measured current-potential data: comma-separated text whose records are a potential
// (V) and a current (A), one record per line in the normal form "0.1,1E-06". Values are
// separated by a comma or a line break; blanks around values and blank lines are ignored, and
// a value in double quotes is read as text. Only the two-value layout is accepted.

#include <istream>

#include "files/imported_curve.h"
#include "files/read_failure.h"
#include "model/model.h"

namespace qalto {

// Reads records until the end of the data, appending each to the curve's potentials (V) and
// currents (A), and returns the number of records. A failure in the data raises a
// DataReadError naming the line and the text found there:
//   "Type mismatch"          a value that is missing or not a number (the value);
//   "Overflow"               a number beyond the double range (the number);
//   "Input past end of file" the data end inside a record (the record's potential);
//   "Bad record length"      a line with more than two values (what follows the current).
// A read of the medium that fails raises a plain "Device I/O error". Records read before the
// failure stay in the curve.
int ReadCurveRecords(std::istream& in, ImportedCurve& curve);

}  // namespace qalto
