// Files an import turns down before reading them whole: more than it could use, binary data,
// a file of nothing but line ends. The giant files are sparse: they take no room on the disk.

#include "files/import_limits.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/measurement_file.h"
#include "files/read_failure_message.h"
#include "files/temp_folder.h"

namespace qalto {
namespace {

std::string SparseFile(TempFolder& folder, const char* name, std::uintmax_t size) {
  std::string path = folder.Write(name, "");
  std::filesystem::resize_file(path, size);
  return path;
}

TEST(ImportLimitsTest, GiantAndBinaryFilesAreRefusedBeforeTheyAreRead) {
  TempFolder folder;
  std::string giant = SparseFile(folder, "giant.csv", std::uintmax_t{2} << 30);
  EXPECT_EQ(FailureOf([&] { ReadMeasurementFile(giant); }, "f"),
            "File too large in \"f\": expected at most 256 MB of measurement text, found "
            "\"2048 MB\"");
  std::string zeros = SparseFile(folder, "zeros.csv", std::uintmax_t{100} << 20);
  EXPECT_EQ(FailureOf([&] { ReadMeasurementFile(zeros); }, "f"),
            "Binary data in line 1 of \"f\": expected the text of a measurement export, found "
            "\"\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\"");
}

TEST(ImportLimitsTest, BinaryDataAreFoundAtTheirLine) {
  EXPECT_EQ(ReadFailure(std::string("E,I\n0.1,1\nBIO\0\x1A", 15)),
            "Binary data in line 3 of \"f\": expected the text of a measurement export, found "
            "\"BIO\\x00\\x1A\"");
  // UTF-16 holds a zero byte in every ASCII character, and no zero unit.
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("0.1,1e-6\n0.2,2e-6\n"))
    utf16 += std::string{c, '\0'};
  EXPECT_EQ(ReadMeasurementText(utf16, "f").curves[0].potential.size(), 2u);
}

TEST(ImportLimitsTest, LinesBeyondWhatTheStoreCouldUseAreRefused) {
  std::string ends(kMaxImportLines + 1, '\n');
  EXPECT_EQ(ReadFailure(ends),
            "Too many lines in \"f\": expected at most 1600000 lines, found \"1600001 lines\"");
  // CR LF ends one line.
  std::string crlf;
  for (size_t i = 0; i < kMaxImportLines; ++i)
    crlf += "\r\n";
  EXPECT_EQ(ReadFailure(crlf).find("Too many lines"), std::string::npos);
}

}  // namespace
}  // namespace qalto
