// Malformed data thrown at the import: random bytes, pieces of numbers and separators in any
// order, valid files with one byte changed, endless lines, NUL bytes, numbers beyond the double
// range. Whatever the file holds, the reading ends, and it ends either in records of finite
// values or in a failure placed at a line with a message fit for a message box. The inputs come
// from a fixed seed, so every run checks the same cases.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_fixture.h"
#include "files/data_reader.h"
#include "files/temp_folder.h"

namespace qalto {
namespace {

const std::vector<std::string>& Pieces() {
  static const std::vector<std::string> pieces = {"0",
                                                  "1",
                                                  "-0.5",
                                                  ".25",
                                                  "1e-6",
                                                  "-2.5E-07",
                                                  "1E+308",
                                                  "-1e308",
                                                  "1e999",
                                                  "-1e999",
                                                  "1d-3",
                                                  "4.9e-324",
                                                  "1e-400",
                                                  "+",
                                                  "-",
                                                  ".",
                                                  "e",
                                                  "E",
                                                  "D",
                                                  "x",
                                                  "abc",
                                                  "Potential (V)",
                                                  ",",
                                                  ",",
                                                  ",",
                                                  ",",
                                                  "\n",
                                                  "\n",
                                                  "\r\n",
                                                  "\r\n",
                                                  "\r",
                                                  " ",
                                                  "  ",
                                                  "\t",
                                                  "\"",
                                                  "\"\"",
                                                  std::string(1, '\0'),
                                                  ";",
                                                  "\xEF\xBB\xBF",
                                                  "\xEF\xBB",
                                                  "\xFF",
                                                  "\xC2\xB5",
                                                  "\x85",
                                                  std::string(1000, '9'),
                                                  std::string(500, ' '),
                                                  std::string(300, ','),
                                                  std::string(200, '\n')};
  return pieces;
}

class Inputs {
 public:
  explicit Inputs(unsigned seed) : random_(seed) {}

  std::string RandomBytes() {
    std::string text(Below(2000), '\0');
    for (char& c : text)
      c = static_cast<char>(Below(256));
    return text;
  }

  std::string RandomPieces() {
    std::string text;
    for (int count = Below(200); count > 0; --count)
      text += Pieces()[Below(static_cast<int>(Pieces().size()))];
    return text;
  }

  // A good file of a few records with one byte replaced, inserted or removed.
  std::string MutatedRecords() {
    std::string text;
    for (int count = 1 + Below(20); count > 0; --count)
      text += std::to_string(Below(2000) * 0.001) + "," + std::to_string(Below(1000)) + "e-9\r\n";
    size_t pos = static_cast<size_t>(Below(static_cast<int>(text.size())));
    char byte = static_cast<char>(Below(256));
    switch (Below(3)) {
      case 0:
        text[pos] = byte;
        break;
      case 1:
        text.insert(pos, 1, byte);
        break;
      default:
        text.erase(pos, 1);
    }
    return text;
  }

  std::string Any() {
    switch (Below(4)) {
      case 0:
        return RandomBytes();
      case 1:
        return MutatedRecords();
      default:
        return RandomPieces();
    }
  }

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  double Uniform() { return std::uniform_real_distribution<double>(0, 1)(random_); }

 private:
  std::mt19937 random_;
};

// The text before, count times the character, the text after.
std::string Run(const std::string& before, size_t count, char c, const std::string& after) {
  std::string text = before;
  text.append(count, c);
  text.append(after);
  return text;
}

// Inputs that are known to be hard, beside the random ones.
std::vector<std::string> HardInputs() {
  std::string records5001;
  for (int i = 1; i <= 5001; ++i)
    records5001 += std::to_string(i) + ",1\n";
  return {
      "",
      std::string(1, '\0'),
      std::string(100000, '\0'),
      std::string(1000000, '1'),
      std::string(1000000, ','),
      std::string(1000000, '"'),
      std::string(1000000, '\n'),
      std::string(1000000, ' '),
      Run("0.1,", 1000000, ' ', "1"),
      Run("0.1,1,", 1000000, 'x', ""),
      Run("\"", 1000000, 'a', ""),
      "1e999,1e999\n",
      "-1e999,0\n",
      "1e308,1e308\n-1e308,-1e308\n",
      Run("1", 400, '0', ",1\n"),
      "\xEF\xBB\xBF",
      "\xEF",
      "\xEF\xBB",
      "\"\n\"\n\"\n",
      "\",\",\",\"",
      "0.1,\"1e-6",
      records5001,
      records5001.substr(0, records5001.size() - 7),
  };
}

const std::regex& FailurePattern() {
  static const std::regex pattern(
      "(Type mismatch|Overflow|Input past end of file|Bad record length)"
      " in line [1-9][0-9]*: \"[^]*\"(\\.\\.\\.)?");
  return pattern;
}

// Printable text for a message box: no control characters, every byte part of UTF-8 text.
bool IsPrintableUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    size_t length = c < 0x80                 ? 1
                    : c >= 0xC2 && c <= 0xDF ? 2
                    : c >= 0xE0 && c <= 0xEF ? 3
                    : c >= 0xF0 && c <= 0xF4 ? 4
                                             : 0;
    if (length == 0 || i + length > text.size() || (c < 0x20 || c == 0x7F)) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

int LineCount(const std::string& text) {
  int lines = 1;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
      ++lines;
  }
  return lines;
}

// Reads the text and checks how it ended; the text itself is shown when a check fails. True
// when the text read as records.
bool CheckReading(const std::string& text) {
  std::istringstream in(text);
  ImportedCurve curve;
  SCOPED_TRACE(testing::Message() << "input of " << text.size() << " bytes: \""
                                  << text.substr(0, 200) << "\"");
  try {
    int n = ReadCurveRecords(in, curve);
    EXPECT_GE(n, 0);
    EXPECT_EQ(curve.potential.size(), static_cast<size_t>(n));
    EXPECT_EQ(curve.current.size(), static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      EXPECT_TRUE(std::isfinite(curve.potential[i])) << i;
      EXPECT_TRUE(std::isfinite(curve.current[i])) << i;
    }
    return true;
  } catch (const DataReadError& error) {
    EXPECT_TRUE(std::regex_match(error.Description(), FailurePattern())) << error.Description();
    EXPECT_TRUE(IsPrintableUtf8(error.Description())) << error.Description();
    EXPECT_GE(error.Line(), 1);
    EXPECT_LE(error.Line(), LineCount(text));
    EXPECT_LE(error.Found().size(), 400u);
  }
  // Anything else thrown ends the test as an error.
  return false;
}

TEST(DataImportFuzzTest, MalformedDataEndInRecordsOrInAPlacedFailure) {
  for (const std::string& text : HardInputs())
    CheckReading(text);
  Inputs inputs(20240611);
  int read = 0;
  const int kRounds = 20000;
  for (int round = 0; round < kRounds && !HasFailure(); ++round)
    read += CheckReading(inputs.Any());
  // Both ends are reached many times over.
  EXPECT_GT(read, kRounds / 20);
  EXPECT_LT(read, kRounds - kRounds / 20);
}

// A value as a measuring program might write it: any magnitude, with E, e or D exponents or
// none, sometimes in quotes, with blanks around.
std::string WrittenValue(Inputs& inputs, double value) {
  char text[40];
  const char* formats[] = {"%.17g", "%.6e", "%.3f", "%g", "%.15E"};
  std::snprintf(text, sizeof text, formats[inputs.Below(5)], value);
  std::string written = text;
  if (inputs.Below(10) == 0) {
    for (char& c : written) {
      if (c == 'e' || c == 'E') c = 'D';
    }
  }
  if (inputs.Below(5) == 0) written = "\"" + written + "\"";
  const char* blanks[] = {"", "", " ", "\t", "   "};
  return blanks[inputs.Below(5)] + written + blanks[inputs.Below(5)];
}

TEST(DataImportFuzzTest, WellFormedDataReadAsWritten) {
  Inputs inputs(7);
  const char* lineEnds[] = {"\r\n", "\n", "\r"};
  for (int round = 0; round < 2000 && !HasFailure(); ++round) {
    int count = inputs.Below(50);
    std::string text = inputs.Below(10) == 0 ? "\xEF\xBB\xBF" : "";
    std::vector<double> expected;
    for (int i = 0; i < count; ++i) {
      for (int k = 0; k < 2; ++k) {
        double value = (inputs.Uniform() - 0.5) * std::pow(10.0, inputs.Below(600) - 300);
        std::string written = WrittenValue(inputs, value);
        expected.push_back(ReadNumber(written.substr(written.find_first_not_of(" \t\""))));
        text += written;
        // Between the two values a comma, or a line break when the values stand one per line.
        if (k == 0 && inputs.Below(10) != 0) {
          text += ",";
        } else {
          text += lineEnds[inputs.Below(3)];
          if (inputs.Below(20) == 0) text += lineEnds[inputs.Below(3)];  // a blank line
        }
      }
    }
    std::istringstream in(text);
    ImportedCurve curve;
    ASSERT_EQ(ReadCurveRecords(in, curve), count) << text;
    for (int i = 0; i < count; ++i) {
      ASSERT_EQ(curve.potential[i], expected[2 * i]) << text;
      ASSERT_EQ(curve.current[i], expected[2 * i + 1]) << text;
    }
  }
}

// The import as the user runs it: the message box says "ReadData Error: " and nothing has
// changed, or the data are in and reported.
class ImportFuzzTest : public AppTest {};

TEST_F(ImportFuzzTest, FuzzedFilesEndInTheirMessageOrInACurve) {
  TempFolder folder;
  std::string path = folder.Path("fuzz.csv");
  Inputs inputs(99);
  std::vector<std::string> texts = HardInputs();
  for (int round = 0; round < 300; ++round)
    texts.push_back(inputs.Any());
  int imported = 0;
  for (const std::string& text : texts) {
    if (HasFailure()) break;
    folder.Write("fuzz.csv", text);
    app.mnuClear_Click();
    platform.messages.clear();
    int before = model.NumberOfPoints;
    double firstBefore = model.PotentialX(1);
    platform.QueueDialogAnswer(path);
    app.mnuImport_Click();
    SCOPED_TRACE(text.substr(0, 200));
    bool failed =
        !platform.messages.empty() && platform.messages.front().rfind("ReadData Error: ", 0) == 0;
    if (failed) {
      EXPECT_EQ(platform.messages.size(), 1u);
      EXPECT_EQ(model.NumberOfPoints, before);
      EXPECT_EQ(model.PotentialX(1), firstBefore);
      EXPECT_EQ(app.Result().Text(), "");
    } else {
      // Only the plotter may speak, when all the currents are zero.
      for (const std::string& message : platform.messages)
        EXPECT_EQ(message, "Error: No data!");
      EXPECT_NE(app.Result().Text().find("Number of data point = "), std::string::npos);
      EXPECT_EQ(model.FirstPoint, 1);
      EXPECT_EQ(model.LastPoint, model.NumberOfPoints);
      ++imported;
    }
  }
  EXPECT_GT(imported, 20);
  EXPECT_LT(imported, static_cast<int>(texts.size()) - 20);
}

}  // namespace
}  // namespace qalto
