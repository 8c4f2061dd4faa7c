#pragma once
// A small JSON reader for the session files of PalmSens software: objects, arrays, strings,
// numbers, true, false and null, nested at most kMaxJsonDepth deep.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qalto {

inline constexpr int kMaxJsonDepth = 64;

struct JsonValue {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };
  Kind kind = Kind::kNull;
  double number = 0;
  std::string text;  // a string's value
  std::vector<JsonValue> items;
  std::vector<std::pair<std::string, JsonValue>> members;

  // The member with that key, compared without regard to case (PSTrace 5.0 writes "curves",
  // later versions "Curves"); nullptr when there is none or this is no object.
  const JsonValue* Member(std::string_view key) const;
};

// Raises a FileFormatError in line 1 naming what was expected and the text found there.
JsonValue ParseJson(std::string_view text);

}  // namespace qalto
