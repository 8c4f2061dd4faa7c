#include "files/read_failure.h"

#include <gtest/gtest.h>

#include <string>

namespace qalto {
namespace {

std::string Shown(const std::string& text, size_t max = 40) {
  return QuotedForMessage(text, max);
}

// A path is shown whole, however long; a long field only by its beginning (DataReaderTest holds
// the messages of the lines).
TEST(ReadFailureTest, AFileIsNamedByItsWholePath) {
  std::string path = "/" + std::string(300, 'd') + "/cv.csv";
  EXPECT_EQ(FailureOfFile("File not found", path), "File not found: \"" + path + "\"");
}

// Control characters and bytes that are no UTF-8 text by their codes; UTF-8 text as it is;
// the length counted in characters, an escaped byte or a character of several bytes being one.
TEST(ReadFailureTest, TextIsShownReadablyAndCutByCharacters) {
  struct Case {
    std::string text;
    size_t max;
    std::string shown;
  };
  const Case cases[] = {
      {"E\t(V)", 40, "\"E\\t(V)\""},
      {std::string("1\0\x01\x1F\x7F", 5), 40, "\"1\\x00\\x01\\x1F\\x7F\""},
      {"I (µA) η € 😀", 40, "\"I (µA) η € 😀\""},
      // Latin-1 "µA", cut sequence, surrogate, stray continuation byte ("\x80" "1").
      {"\xB5\x41", 40, "\"\\xB5A\""},
      {"\xE2\x82", 40, "\"\\xE2\\x82\""},
      {"\xED\xA0\x80", 40, "\"\\xED\\xA0\\x80\""},
      {"\x80\x31", 40, "\"\\x801\""},
      {"abcd", 3, "\"abc\"..."},
      {"a", 0, "\"\"..."},
      {"\xC2\xB5\xC2\xB5\xC2\xB5", 2, "\"\xC2\xB5\xC2\xB5\"..."},
      {std::string(3, '\0'), 2, "\"\\x00\\x00\"..."}};
  for (const Case& c : cases)
    EXPECT_EQ(Shown(c.text, c.max), c.shown);
}

}  // namespace
}  // namespace qalto
