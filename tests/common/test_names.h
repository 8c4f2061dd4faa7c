#pragma once
// Readable names for parameterised tests: the words of a text joined into one, each begun with a
// capital ("harmonic 2" -> "Harmonic2"), which gtest accepts as a test's name.

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <string_view>

namespace qalto {

inline std::string WordsAsName(std::string_view text) {
  std::string name;
  bool start = true;
  for (const char c : text) {
    const bool letter = std::isalnum(static_cast<unsigned char>(c));
    if (letter) name += start ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
    start = !letter;
  }
  return name;
}

// A number as a test's name: "0_002" for 0.002, "m1" for -1, "1e_05" for 1e-5.
struct NumberName {
  template <class Number>
  std::string operator()(const ::testing::TestParamInfo<Number>& info) const {
    std::string name;
    for (const char c : ::testing::PrintToString(info.param))
      name += c == '.' ? "_" : c == '-' ? (name.empty() ? "m" : "_") : std::string(1, c);
    return name;
  }
};

// The name of a case run in the digital (true) or the analytical mode.
inline std::string ModeName(const ::testing::TestParamInfo<bool>& info) {
  return info.param ? "Digital" : "Analytical";
}

// A name generator for INSTANTIATE_TEST_SUITE_P from a text field of the parameter:
// NameFrom<&Case::text>().
template <auto Field>
struct NameFrom {
  template <class Param>
  std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
    return WordsAsName(info.param.*Field);
  }
};

}  // namespace qalto
