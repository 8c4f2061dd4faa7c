#pragma once
// Measurement files come in the encoding their software chose: UTF-8 with or without a
// byte-order mark, UTF-16 (PalmSens) or Latin-1 (EC-Lab on Windows writes "µA" and "cm²" as
// single bytes). Everything is turned into UTF-8 lines before any reader looks at it.

#include <string>
#include <string_view>
#include <vector>

namespace qalto {

struct DecodedText {
  std::string text;      // UTF-8, without byte-order marks
  std::string encoding;  // "UTF-8", "UTF-16LE", "UTF-16BE" or "Latin-1"
};

// Length of the valid UTF-8 sequence at pos (1 to 4 bytes), 0 when there is none.
size_t Utf8Length(std::string_view s, size_t pos);

// UTF-16 is recognised by its byte-order mark, UTF-8 by being valid UTF-8; anything else is
// read as Latin-1, which every byte sequence is. Byte-order marks (U+FEFF) are dropped
// wherever they stand: some exports end with a stray one. UTF-8 text is moved, not copied.
DecodedText DecodeText(std::string bytes);

// The lines of the text without their ends; CR LF, CR and LF each end one line. A last line
// without an end counts; an empty text has no lines. expected, when known, is the number of
// lines, so that the list takes no more room than it needs.
std::vector<std::string_view> SplitLines(std::string_view text, size_t expected = 0);

}  // namespace qalto
