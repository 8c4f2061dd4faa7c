#pragma once
// Reading a number typed into a text box: leading blanks are skipped and the longest numeric
// prefix is taken ("1e-3 M" reads 0.001, "1e" reads 1); a text that does not begin with a number
// reads 0. There is no validation message for numeric input anywhere in the program.

#include <optional>
#include <string>
#include <string_view>

namespace qalto {

// The leading decimal number of text; raises "Overflow" when it does not fit a double.
double ReadNumber(std::string_view text);
// The same, empty when the number does not fit a double.
std::optional<double> ReadFiniteNumber(std::string_view text);

// The number of a box's text, as ReadNumber; its failure names the box by the caption the user
// sees and shows the text: "Overflow: Noise (A) is 1e999".
double ReadBoxNumber(std::string_view text, const std::string& caption);
// The same, with the caption put together by caption() only for the message of a failure.
template <typename Caption>
double ReadBoxNumberCaptioned(std::string_view text, const Caption& caption) {
  if (const std::optional<double> value = ReadFiniteNumber(text)) return *value;
  return ReadBoxNumber(text, caption());
}

// A typed text as a message shows it: whole up to 20 characters, else its start and length.
std::string ShownText(std::string_view text);

// How a text that is not wholly a number is read, for the box that shows it: "not a number,
// read as 1.5" for "1.5.5", "not a number, read as 0" for "abc", "too large a number" for
// "1e999"; empty for a number, with or without blanks around it, and for an empty text.
std::string NumberReadingNote(std::string_view text);

}  // namespace qalto
