#pragma once
// The plain-number rule of the result window, used wherever a number is written without a
// format pattern: up to 15 significant digits, no zero before the decimal point (".1"),
// exponent form with a signed exponent of at least two digits ("1E-06", "1.5E+15") for
// magnitudes below 1E-05 and from 1E+15 up.

#include <string>

namespace qalto {

// The number alone: "-.25", "1E-06", "42".
std::string PlainNumber(double value);

// The number as the print operation writes it: one leading blank when non-negative, one
// trailing blank (" 42 ", "-.25 ").
std::string PrintedNumber(double value);

// The number as a text box shows it when the program writes a number into it: the plain form
// with a zero before the decimal point ("0.5", "-0.025", "1E-06").
std::string NumberText(double value);

}  // namespace qalto
