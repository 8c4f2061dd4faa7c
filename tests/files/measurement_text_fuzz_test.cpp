// Every reader fed with broken versions of files it understands: cut anywhere, re-encoded,
// with a column heading gone, with cells that are no numbers, with the header alone, and
// grown to a million lines. The reading always ends, in curves of finite values of equal
// length or in a FileFormatError placed at a line of the file with a printable message. The
// inputs come from fixed seeds, so every run checks the same cases.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "app/app_fixture.h"
#include "files/file_format_error.h"
#include "files/instrument_samples.h"
#include "files/measurement_file.h"
#include "files/read_failure.h"
#include "files/temp_folder.h"

namespace qalto {
namespace {

int LineCount(const std::string& text) {
  return 1 + static_cast<int>(
                 std::ranges::count_if(text, [](char c) { return c == '\n' || c == '\r'; }));
}

// Reads the text and checks how it ended; true when it gave curves.
bool CheckReading(const std::string& text) {
  SCOPED_TRACE(testing::Message() << "input of " << text.size() << " bytes: \""
                                  << text.substr(0, 120) << "\"");
  try {
    ImportedFile file = ReadMeasurementText(text, "fuzz.txt");
    EXPECT_FALSE(file.curves.empty());
    for (const ImportedCurve& curve : file.curves) {
      EXPECT_EQ(curve.potential.size(), curve.current.size());
      for (size_t i = 0; i < curve.potential.size(); ++i)
        EXPECT_TRUE(std::isfinite(curve.potential[i]) && std::isfinite(curve.current[i])) << i;
    }
    return true;
  } catch (const FileFormatError& error) {
    EXPECT_GE(error.Line(), 0);
    // UTF-16 text has a line break every other byte at most, so the byte count bounds it.
    EXPECT_LE(error.Line(), LineCount(text));
    std::string message = error.MessageFor("fuzz.txt");
    EXPECT_EQ(QuotedForMessage(message, message.size()), "\"" + message + "\"")
        << "not printable: " << message;
  }
  return false;
}

// How many broken versions of each sample a test reads: a sample in every test run, many more
// when QALTO_FUZZ=full asks for the whole sweep (docs/qalto.html, "Testing").
int Rounds(int sample) {
  const char* fuzz = std::getenv("QALTO_FUZZ");
  return fuzz != nullptr && std::string(fuzz) == "full" ? 40 * sample : sample;
}

// The samples of every layout, ours and, where the folder is there, the real exports.
std::vector<std::string> Samples() {
  std::vector<std::string> samples = {EcLabSample(),
                                      ChiSample(),
                                      GamrySample(),
                                      PsSessionSample(),
                                      PalmSensCsvSample(),
                                      "0.1,1e-6\n0.2,2e-6\n0.3,-1e-6\n",
                                      "E (V);I (A)\n0,1;1e-6\n0,2;2e-6\n",
                                      "-0,500,-1,000e-05\n-0,490,-9,500e-06\n-0,480,1,250e-06\n"};
  std::filesystem::path folder = QALTO_INSTRUMENTS_DIR;
  if (!std::filesystem::is_directory(folder)) {
    std::cout << "[  NOTE    ] no instrument corpus at " << folder
              << ": broken versions of the program's own samples only\n";
  } else {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
      if (!entry.is_regular_file() || entry.path().filename() == "SOURCES.md") continue;
      // The small ones only: the large ones add time, not layouts.
      if (entry.file_size() > 120000) continue;
      samples.push_back(TempFolder::Read(entry.path().string()));
    }
  }
  return samples;
}

class Mutations {
 public:
  explicit Mutations(unsigned seed) : random_(seed) {}

  size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }

  std::string Truncated(const std::string& text) { return text.substr(0, Below(text.size() + 1)); }

  // Bytes read in the wrong encoding: every byte widened to UTF-16, a byte-order mark put in
  // front or the first two bytes taken away.
  std::string WrongEncoding(const std::string& text) {
    if (size_t choice = Below(3); choice != 0)
      return choice == 1 ? "\xFE\xFF" + text : text.substr(std::min<size_t>(2, text.size()));
    std::string wide = "\xFF\xFE";
    for (char c : text)
      wide += std::string{c, '\0'};
    return wide;
  }

  // A character of a line that carries letters (a heading) removed up to the next delimiter.
  std::string MissingColumn(const std::string& text) {
    size_t pos = text.find_first_of("EIV", Below(text.size()));
    if (pos == std::string::npos) return text;
    size_t end = text.find_first_of("\t,;\n", pos);
    return text.substr(0, pos) + (end == std::string::npos ? "" : text.substr(end + 1));
  }

  // A digit replaced by a letter, a point by a second point, a minus by a word.
  std::string NonNumericCell(const std::string& text) {
    std::string changed = text;
    for (int tries = 0; tries < 20; ++tries) {
      size_t pos = Below(changed.size());
      char c = changed[pos];
      if (c >= '0' && c <= '9') {
        changed[pos] = "xO lE"[Below(5)];
        return changed;
      }
      if (c == '.' || c == '-') {
        changed.insert(pos, c == '.' ? "." : "n/a");
        return changed;
      }
    }
    return changed;
  }

  // The text up to its first line that starts with a digit or a sign, after blanks.
  static std::string HeaderOnly(const std::string& text) {
    for (size_t pos = 0; pos < text.size(); pos = text.find('\n', pos) + 1) {
      size_t first = text.find_first_not_of(" \t", pos);
      if (first < text.size() && std::string("0123456789-+").find(text[first]) != std::string::npos)
        return text.substr(0, pos);
      if (text.find('\n', pos) == std::string::npos) break;
    }
    return text;
  }

 private:
  std::mt19937 random_;
};

TEST(MeasurementTextFuzzTest, BrokenFilesEndInCurvesOrInAPlacedFailure) {
  Mutations mutations(20261206);
  int read = 0;
  int rounds = 0;
  for (const std::string& sample : Samples()) {
    CheckReading(Mutations::HeaderOnly(sample));
    for (int round = 0; round < Rounds(30) && !HasFailure(); ++round, ++rounds) {
      read += CheckReading(mutations.Truncated(sample));
      read += CheckReading(mutations.WrongEncoding(sample));
      read += CheckReading(mutations.MissingColumn(sample));
      read += CheckReading(mutations.NonNumericCell(sample));
      rounds += 3;
    }
  }
  // Both ends are reached many times over.
  EXPECT_GT(read, rounds / 20);
  EXPECT_LT(read, rounds - rounds / 20);
}

// The import as the user runs it, on broken files: a failure shows one "ReadData Error: " and
// leaves the curve, the Instrument window and the result window as they were.
class ImportFuzzTest : public AppTest {
 protected:
  // True when the action failed.
  bool ExpectUnchangedAfterAFailure(const std::function<void()>& action) {
    platform.messages.clear();
    std::string result = app.Result().Text();
    std::string start = app.Ins().Estart.Text();
    int points = model.NumberOfPoints;
    double first = model.CurrentY(1, model.TargetCurve);
    action();
    if (platform.messages.empty() || platform.messages[0].rfind("ReadData Error: ", 0) != 0)
      return false;
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(app.Result().Text(), result);
    EXPECT_EQ(app.Ins().Estart.Text(), start);
    EXPECT_EQ(model.NumberOfPoints, points);
    EXPECT_EQ(model.CurrentY(1, model.TargetCurve), first);
    return true;
  }
};

TEST_F(ImportFuzzTest, AFailedImportChangesNothing) {
  TempFolder folder;
  Mutations mutations(7);
  int imports = 0, failed = 0;
  for (const std::string& sample : Samples()) {
    for (int round = 0; round < Rounds(6) && !HasFailure(); ++round) {
      Import(folder.Write("good.txt", "0.1,1\n0.2,2\n"));
      platform.QueueDialogAnswer(
          folder.Write("fuzz.txt", round == 0 ? sample : mutations.NonNumericCell(sample)));
      failed += ExpectUnchangedAfterAFailure([&] { app.mnuImport_Click(); });
      ++imports;
    }
  }
  // Both ends are reached.
  EXPECT_GT(failed, 5);
  EXPECT_LT(failed, imports - 5);
}

// A sample's last data line repeated until the file holds a million lines.
std::string MillionLines(const std::string& sample, const std::string& row) {
  std::string text = sample;
  text.reserve(text.size() + row.size() * 1000000);
  for (int i = 0; i < 1000000; ++i)
    text += row;
  return text;
}

// A session whose one curve holds the points.
std::string LongSession(int points) {
  std::string values;
  for (int i = 0; i < points; ++i)
    values += "{\"v\":1},";
  values.pop_back();
  return "{\"measurements\":[{\"curves\":[{\"xaxisdataarray\":{\"datavalues\":[" + values +
         "]},\"yaxisdataarray\":{\"datavalues\":[" + values + "]}}]}]}";
}

// Every reader on a million lines, built one at a time when the test runs; true where it
// reads.
TEST(LongFileTest, AMillionLinesEnd) {
  const std::pair<std::function<std::string()>, bool> files[] = {
      {[] { return MillionLines(EcLabSample() + "\r\n", "2\t1.9\t0.1\t1E-3\t3.0\r\n"); }, true},
      {[] { return MillionLines(ChiSample(), "0.100, 1.000e-6\n"); }, true},
      {[] { return MillionLines(GamrySample(), "\t3\t1\t0.1\t1E-7\t0\t0\t0\t9\t.\t0\n"); }, true},
      {[] { return MillionLines("E (V);I (A)\n", "0,1;1e-6\n"); }, true},
      // A million lines of header text without data, and a million broken data lines.
      {[] { return MillionLines("", "Potential (V)\n"); }, false},
      {[] { return MillionLines("E (V),I (A)\n0.1,1\n", "0.1\n"); }, false},
      // A session holds its points on one line; twice the store's points in one curve.
      {[] { return LongSession(200000); }, true},
      // Nested deeper than any session file.
      {[] { return "{\"measurements\":" + std::string(100000, '['); }, false}};
  int index = 0;
  for (const auto& [text, reads] : files)
    EXPECT_EQ(CheckReading(text()), reads) << "file " << index++;
}

}  // namespace
}  // namespace qalto
