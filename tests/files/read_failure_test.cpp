#include "files/read_failure.h"

#include <gtest/gtest.h>

#include <string>

namespace qalto {
namespace {

std::string Shown(const std::string& text, size_t max = 40) {
  return QuotedForMessage(text, max);
}

TEST(ReadFailureTest, TheMessageNamesTheLineOrTheFile) {
  EXPECT_EQ(FailureInLine("Type mismatch", 1, "Potential (V)"),
            "Type mismatch in line 1: \"Potential (V)\"");
  EXPECT_EQ(FailureInLine("Bad record length", 12345, ""), "Bad record length in line 12345: \"\"");
  EXPECT_EQ(FailureOfFile("File not found", "/home/lab/cv.csv"),
            "File not found: \"/home/lab/cv.csv\"");
  // A long path is shown whole, a long field only by its beginning.
  std::string path = "/" + std::string(300, 'd') + "/cv.csv";
  EXPECT_EQ(FailureOfFile("File not found", path), "File not found: \"" + path + "\"");
  EXPECT_EQ(FailureInLine("Type mismatch", 2, std::string(41, 'x')),
            "Type mismatch in line 2: \"" + std::string(40, 'x') + "\"...");
  DataReadError error("Overflow", 7, "1e999");
  EXPECT_EQ(error.Description(), "Overflow in line 7: \"1e999\"");
  EXPECT_EQ(error.Line(), 7);
  EXPECT_EQ(error.Found(), "1e999");
}

TEST(ReadFailureTest, ControlCharactersAndBrokenTextAreShownByTheirCodes) {
  EXPECT_EQ(Shown("E\t(V)"), "\"E\\t(V)\"");
  EXPECT_EQ(Shown(std::string("1\0\x01\x1F\x7F", 5)), "\"1\\x00\\x01\\x1F\\x7F\"");
  // UTF-8 text is kept: a micro sign, a Greek letter, a three- and a four-byte character.
  EXPECT_EQ(Shown("I (\xC2\xB5"
                  "A) \xCE\xB7 \xE2\x82\xAC \xF0\x9F\x98\x80"),
            "\"I (\xC2\xB5"
            "A) \xCE\xB7 \xE2\x82\xAC \xF0\x9F\x98\x80\"");
  // A Latin-1 micro sign, a cut sequence, an overlong form, a surrogate, a C1 control
  // character, a stray continuation byte, bytes that never start a character.
  EXPECT_EQ(Shown("\xB5"
                  "A"),
            "\"\\xB5A\"");
  EXPECT_EQ(Shown("\xE2\x82"), "\"\\xE2\\x82\"");
  EXPECT_EQ(Shown("\xC0\x80"), "\"\\xC0\\x80\"");
  EXPECT_EQ(Shown("\xE0\x80\x80"), "\"\\xE0\\x80\\x80\"");
  EXPECT_EQ(Shown("\xED\xA0\x80"), "\"\\xED\\xA0\\x80\"");
  EXPECT_EQ(Shown("\xF4\x90\x80\x80"), "\"\\xF4\\x90\\x80\\x80\"");
  EXPECT_EQ(Shown("\xC2\x85"), "\"\\xC2\\x85\"");
  EXPECT_EQ(Shown("\x80"
                  "1"),
            "\"\\x801\"");
  EXPECT_EQ(Shown("\xFE\xFF"), "\"\\xFE\\xFF\"");
}

TEST(ReadFailureTest, TheLengthCountsCharacters) {
  EXPECT_EQ(Shown("abc", 3), "\"abc\"");
  EXPECT_EQ(Shown("abcd", 3), "\"abc\"...");
  EXPECT_EQ(Shown("", 0), "\"\"");
  EXPECT_EQ(Shown("a", 0), "\"\"...");
  // A character of several bytes, or an escaped byte, is one character.
  EXPECT_EQ(Shown("\xC2\xB5\xC2\xB5\xC2\xB5", 2), "\"\xC2\xB5\xC2\xB5\"...");
  EXPECT_EQ(Shown(std::string(3, '\0'), 2), "\"\\x00\\x00\"...");
}

}  // namespace
}  // namespace qalto
