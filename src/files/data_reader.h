#pragma once
// Reading measured current-potential data: comma-separated text whose records are a potential
// (V) and a current (A), one record per line in the normal form "0.1,1E-06". Values are
// separated by a comma or a line break; blanks around values and blank lines are ignored, and
// a value in double quotes is read as text. Only the two-value layout is accepted.

#include <istream>

#include "app/model.h"

namespace qalto {

// Reads records until the end of the data, record n into PotentialX(n) and
// CurrentY(n, curve), and returns the number of records. The failures raise a RuntimeError:
// "Type mismatch" for a value that is missing or not a number, "Overflow" for a number beyond
// the double range, "Input past end of file" when the data end inside a record, "Bad record
// length" for a line with more than two values, "Subscript out of range" for a record beyond
// point 5000. Records read before the failure stay in the tables.
int ReadCurveRecords(std::istream& in, Model& model, int curve);

}  // namespace qalto
