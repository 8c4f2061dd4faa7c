// Every reader fed with broken versions of files it understands: cut anywhere, re-encoded,
// with a column heading gone, with cells that are no numbers, with the header alone, and
// grown to a million lines. The reading always ends, in curves of finite values of equal
// length or in a FileFormatError placed at a line of the file with a printable message. The
// inputs come from fixed seeds, so every run checks the same cases.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
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
  int lines = 1;
  for (char c : text)
    lines += c == '\n' || c == '\r';
  return lines;
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
      for (size_t i = 0; i < curve.potential.size(); ++i) {
        EXPECT_TRUE(std::isfinite(curve.potential[i]) && std::isfinite(curve.current[i])) << i;
      }
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

// The samples of every layout, ours and, where the folder is there, the real exports.
std::vector<std::string> Samples() {
  std::vector<std::string> samples = {EcLabSample(),
                                      EcLabDecimalCommaSample(),
                                      ChiSample(),
                                      GamrySample(),
                                      PalmSensCsvSample(),
                                      PsSessionSample(),
                                      "E (V);I (A)\n0,1;1e-6\n0,2;2e-6\n"};
  std::filesystem::path folder = QALTO_INSTRUMENTS_DIR;
  if (std::filesystem::is_directory(folder)) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
      if (!entry.is_regular_file() || entry.path().filename() == "SOURCES.md") continue;
      // The small ones only: the large ones add time, not layouts.
      if (entry.file_size() > 120000) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      samples.push_back(bytes.str());
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
  // front or taken away, an odd byte dropped.
  std::string WrongEncoding(const std::string& text) {
    switch (Below(3)) {
      case 0: {
        std::string wide = "\xFF\xFE";
        for (char c : text) {
          wide += c;
          wide += '\0';
        }
        return wide;
      }
      case 1:
        return "\xFE\xFF" + text;
      default:
        return text.size() > 2 ? text.substr(2) : text;
    }
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

  // The text up to its first line that starts with a digit, a sign or a tab and a digit.
  static std::string HeaderOnly(const std::string& text) {
    size_t pos = 0;
    while (pos < text.size()) {
      size_t end = text.find('\n', pos);
      std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
      size_t first = line.find_first_not_of(" \t");
      if (first != std::string::npos &&
          std::string("0123456789-+").find(line[first]) != std::string::npos) {
        return text.substr(0, pos);
      }
      if (end == std::string::npos) break;
      pos = end + 1;
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
    for (int round = 0; round < 30 && !HasFailure(); ++round, ++rounds) {
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

// The import as the user runs it, on broken files and with every column chosen in turn: a
// failure shows one "ReadData Error: " and leaves the curve, the Instrument window and the
// result window as they were.
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
  std::string path = folder.Path("fuzz.txt");
  Mutations mutations(7);
  int imports = 0, failed = 0, choices = 0, refused = 0;
  for (const std::string& sample : Samples()) {
    for (int round = 0; round < 4 && !HasFailure(); ++round) {
      platform.QueueDialogAnswer(folder.Write("good.txt", "0.1,1\n0.2,2\n"));
      app.mnuImport_Click();
      folder.Write("fuzz.txt", round == 0 ? sample : mutations.NonNumericCell(sample));
      platform.QueueDialogAnswer(path);
      failed += ExpectUnchangedAfterAFailure([&] { app.mnuImport_Click(); });
      ++imports;
      std::vector<std::string> columns = app.Import().ComboPotential.Items();
      for (const std::string& column : columns) {
        refused +=
            ExpectUnchangedAfterAFailure([&] { app.Import().ComboPotential.SelectText(column); });
        refused +=
            ExpectUnchangedAfterAFailure([&] { app.Import().ComboCurrent.SelectText(column); });
        choices += 2;
      }
    }
  }
  // Both ends are reached, for the files and for the columns (a time or a text column).
  EXPECT_GT(failed, 5);
  EXPECT_LT(failed, imports - 5);
  EXPECT_GT(refused, 5);
  EXPECT_LT(refused, choices - 5);
}

// A sample's last data line repeated until the file holds a million lines.
std::string MillionLines(const std::string& sample, const std::string& row) {
  std::string text = sample;
  text.reserve(text.size() + row.size() * 1000000);
  for (int i = 0; i < 1000000; ++i)
    text += row;
  return text;
}

// Built when the test runs, not when the program starts: every test process would pay for it.
struct LongFile {
  const char* name;
  std::function<std::string()> text;
  bool reads;
};

void PrintTo(const LongFile& file, std::ostream* out) {
  *out << file.name;
}

class LongFileTest : public ::testing::TestWithParam<LongFile> {};

TEST_P(LongFileTest, AMillionLinesEnd) {
  EXPECT_EQ(CheckReading(GetParam().text()), GetParam().reads);
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

INSTANTIATE_TEST_SUITE_P(
    Readers, LongFileTest,
    ::testing::Values(
        LongFile{"EcLab",
                 [] { return MillionLines(EcLabSample() + "\r\n", "2\t1.9\t0.1\t1E-3\t3.0\r\n"); },
                 true},
        LongFile{"Chi", [] { return MillionLines(ChiSample(), "0.100, 1.000e-6\n"); }, true},
        LongFile{
            "Gamry",
            [] { return MillionLines(GamrySample(), "\t3\t1\t0.1\t1E-7\t0\t0\t0\t9\t.\t0\n"); },
            true},
        LongFile{"Delimited", [] { return MillionLines("E (V);I (A)\n", "0,1;1e-6\n"); }, true},
        LongFile{"TwoColumnCsv", [] { return MillionLines("", "0.1,1e-6\n"); }, true},
        // A million lines of header text without data, and a million broken data lines.
        LongFile{"HeaderAlone", [] { return MillionLines("", "Potential (V)\n"); }, false},
        LongFile{"ShortLines", [] { return MillionLines("E (V),I (A)\n0.1,1\n", "0.1\n"); }, false},
        // A session holds its points on one line; twice the store's points in one curve.
        LongFile{"Session", [] { return LongSession(200000); }, true},
        // Nested deeper than any session file.
        LongFile{"DeepSession", [] { return "{\"measurements\":" + std::string(100000, '['); },
                 false}));

}  // namespace
}  // namespace qalto
