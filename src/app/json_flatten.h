#pragma once
// Reading a JSON document as a flat list of cells: every scalar becomes one cell named by the
// path to it, object keys and array positions (counted from 1) joined by dots, so that
// {"curves": [{"peaks": [{"potential": 0.25}]}]} gives "curves.1.peaks.1.potential" = "0.25".
// Strings are unescaped, numbers keep their text, null becomes an empty cell.

#include <string>
#include <utility>
#include <vector>

namespace qalto {

using JsonCells = std::vector<std::pair<std::string, std::string>>;

// The cells of the document, or an error text (with the byte offset) when it is not JSON.
JsonCells FlattenJson(const std::string& text, std::string& error);

}  // namespace qalto
