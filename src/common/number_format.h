#pragma once
// The number display formats of the program, as format patterns:
//   "0.###e-#", "#.###e-#", "0.##e-0", "0.####E-0", "0E-0"  scientific: one digit before the
//       point, at most as many decimals as the pattern has places (trailing zeros dropped, the
//       point kept even when no decimal follows), exponent signed only when negative;
//   "0.####", "0.##", "0"  fixed: at most that many decimals, the point kept ("1.").
// 0.001 in "0.###e-#" is "1.e-3", 1000 is "1.e3".

#include <string>
#include <string_view>

namespace qalto {

// Raises "Overflow" for an infinity or NaN.
std::string FormatNumber(double value, std::string_view pattern);

}  // namespace qalto
