#pragma once
// The cells of a line of delimited text and the numbers in them, as instrument software writes
// them: "-5.780e-5", "2,409800110763172E+000" (decimal comma), "+1.0", "0.000".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qalto {

// Cells between which blanks and tabs of any number stand.
inline constexpr char kBlanks = ' ';

std::string_view TrimmedCell(std::string_view cell);

// The cells of the line, each without the blanks around it. With kBlanks the cells are the
// runs of other characters; with any other delimiter every delimiter ends a cell, so that
// "1,,2" has an empty middle cell.
std::vector<std::string_view> SplitCells(std::string_view line, char delimiter);

// The number in the cell, written with that decimal mark ('.' or ','), or nothing when the
// cell is no number (empty, text, two marks, a bare exponent). A number beyond the double
// range is infinite.
std::optional<double> CellNumber(std::string_view cell, char decimalMark);

// The number in the cell; raises a FileFormatError in that line when the cell holds no number
// ("Type mismatch") or one beyond the double range ("Overflow"). what names the expected value
// in the message: "a number in column \"Ewe/V\"".
double RequireNumber(std::string_view cell, char decimalMark, int line, const std::string& what);

}  // namespace qalto
