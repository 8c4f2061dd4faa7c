#pragma once
// Characters that a text holds without showing them: a byte-order mark left inside a line, a
// zero-width or no-break space pasted from a word processor, a control character. A name that
// holds one looks right and is still refused; the message has to say why.

#include <string>

namespace qalto {

// " (it holds the invisible character U+200B)", " (it holds the invisible characters U+00A0,
// U+FEFF)" or " (it holds the byte 0xE9, no UTF-8 text)", each named once in order; empty when
// the text has none of them.
std::string InvisibleCharactersNote(const std::string& text);

}  // namespace qalto
