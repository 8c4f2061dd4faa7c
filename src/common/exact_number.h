#pragma once
// Numbers written so that they read back bit for bit: the shortest decimal text that gives the
// same double again ("0.1", "-2.5e-07", "inf", "nan"), as sessions keep curves and values.

#include <optional>
#include <string>

namespace qalto {

std::string ExactNumber(double value);

// The double of a whole text written by ExactNumber (or any decimal number); nothing when the
// text is anything else.
std::optional<double> ReadExactNumber(const std::string& text);

// A whole decimal integer within int's range; nothing otherwise.
std::optional<int> ReadExactInteger(const std::string& text);

}  // namespace qalto
