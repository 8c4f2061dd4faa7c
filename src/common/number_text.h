#pragma once
// Reading a number typed into a text box: leading blanks are skipped and the longest numeric
// prefix is taken ("1e-3 M" reads 0.001, "1e" reads 1); a text that does not begin with a number
// reads 0. There is no validation message for numeric input anywhere in the program.

#include <string_view>

namespace qalto {

// The leading decimal number of text; raises "Overflow" when it does not fit a double.
double ReadNumber(std::string_view text);

}  // namespace qalto
