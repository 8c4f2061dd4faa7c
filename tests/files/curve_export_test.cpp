#include "files/curve_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_fixture.h"
#include "common/plain_number.h"
#include "files/temp_folder.h"

namespace qalto {
namespace {

class CurveExportTest : public AppTest {
 protected:
  void Point(int i, double x, double y1, double y2 = 0) {
    model.PotentialX(i) = x;
    model.CurrentY(i, 1) = y1;
    model.CurrentY(i, 2) = y2;
  }
  std::string Text(int first, int last, int curve) {
    return CurveExportText(first, last, model.PotentialX, model.CurrentY, curve);
  }
  void Export(const std::string& path) {
    platform.QueueDialogAnswer(path);
    app.mnuExport_Click();
  }

  TempFolder folder;
};

TEST_F(CurveExportTest, OneLinePerPointWithTheCurrentInTheSecondZone) {
  Point(1, 0.1, 1e-6, 5);
  Point(2, -0.025, -2.5e-7, 6);
  Point(3, 0, 0.125, 7);
  Point(4, -0.123456789012345, 123456789012345678.0, 8);
  EXPECT_EQ(Text(1, 4, 1),
            " .1 ,          1E-06 \r\n"
            "-.025 ,       -2.5E-07 \r\n"
            " 0 ,           .125 \r\n"
            "-.123456789012345 ,          1.23456789012346E+17 \r\n");
  // Only the chosen curve, only the chosen range.
  EXPECT_EQ(Text(2, 3, 2),
            "-.025 ,        6 \r\n"
            " 0 ,           7 \r\n");
  // Point 0 is never exported; an empty range gives nothing.
  EXPECT_EQ(Text(0, 1, 2), " .1 ,          5 \r\n");
  EXPECT_EQ(Text(3, 2, 1), "");
}

TEST_F(CurveExportTest, TheCurrentCurveGoesToTheChosenFile) {
  for (int i = 1; i <= 3; ++i)
    Point(i, 0.1 * i, 1e-6 * i, -1e-6 * i);
  model.FirstPoint = 1;
  model.LastPoint = 3;
  model.CurveCount = 2;
  model.CurrentCurve = 2;
  std::string path = folder.Path("curve.csv");
  Export(path);
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(platform.dialogFilters, std::vector<std::string>{"csv|*.csv|all|*.*"});
  EXPECT_EQ(TempFolder::Read(path),
            " .1 ,         -1E-06 \r\n"
            " .2 ,         -2E-06 \r\n"
            " .3 ,         -3E-06 \r\n");
  // An existing file is overwritten; an empty range gives an empty file.
  model.FirstPoint = 2;
  model.LastPoint = 1;
  Export(path);
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(TempFolder::Read(path), "");
}

TEST_F(CurveExportTest, FailuresNameTheFileAndTheReason) {
  model.FirstPoint = model.LastPoint = 1;
  model.CurrentCurve = 1;
  std::string missing = folder.Path("no such folder/curve.csv");
  Export(missing);
  Export("");
  // A pipe is refused rather than waited on.
  ASSERT_EQ(::mkfifo(folder.Path("pipe").c_str(), 0600), 0);
  Export(folder.Path("pipe"));
  std::string readOnly = folder.Write("read-only.csv", "kept");
  std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
  bool root = ::geteuid() == 0;  // root writes to read-only files anyway
  if (!root) Export(readOnly);
  std::vector<std::string> expected = {
      "Export Error: cannot write \"" + missing +
          "\": Path not found! An earlier file of that name is unchanged.",
      "Export Error: cannot write \"\": Bad file name or number! An earlier file of that name "
      "is unchanged.",
      "Export Error: cannot write \"" + folder.Path("pipe") +
          "\": Path/File access error! An earlier file of that name is unchanged."};
  if (!root) {
    expected.push_back("Export Error: cannot write \"" + readOnly +
                       "\": Permission denied! An earlier file of that name is unchanged.");
  }
  EXPECT_EQ(platform.messages, expected);
  EXPECT_FALSE(std::filesystem::exists(folder.Path("no such folder")));
  EXPECT_EQ(TempFolder::Read(readOnly), "kept");
}

TEST_F(CurveExportTest, AFailedExportLeavesTheOldFileAsItWas) {
  // Points beyond the tables' end: the export stops at the first of them, and the file
  // chosen keeps its old text; no temporary file is left beside it.
  Point(kMaxPoints - 1, 0.4999, 1e-6);
  Point(kMaxPoints, 0.5, 2e-6);
  model.FirstPoint = kMaxPoints - 1;
  model.LastPoint = kMaxPoints + 2;
  model.CurrentCurve = 1;
  std::string path = folder.Write("tail.csv", "old text that stays");
  Export(path);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].find("Subscript out of range"), std::string::npos);
  EXPECT_EQ(TempFolder::Read(path), "old text that stays");
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path("")))
    ++files;
  EXPECT_EQ(files, 1);
}

TEST_F(CurveExportTest, ExportThenImportGivesTheSameCurve) {
  // A simulated cyclic voltammogram with a baseline and noise: full double precision.
  app.mnuInstrument_Click();
  app.Ins().Estart.SetText("0.3");
  app.Ins().Eend.SetText("-0.3");
  app.Ins().Estep.SetText("0.005");
  app.Ins().ComboScan.SelectText("cycle");
  app.Ins().Noise.SetText("1e-7");
  app.Ins().TxtI0.SetText("-1e-6");
  app.mnuSimulate_Click();
  ASSERT_TRUE(platform.messages.empty());
  ASSERT_GT(model.NumberOfPoints, 200);
  auto before = std::make_unique<Model>(model);
  std::string path = folder.Path("cv.csv");
  Export(path);
  model.PotentialX.Fill(0);
  model.CurrentY.Fill(0);
  platform.QueueDialogAnswer(path);
  app.mnuImport_Click();
  ASSERT_TRUE(platform.messages.empty());
  EXPECT_EQ(model.NumberOfPoints, before->NumberOfPoints);
  // The file keeps 15 significant digits: every value reads back as the number it shows.
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    EXPECT_EQ(PlainNumber(model.PotentialX(i)), PlainNumber(before->PotentialX(i))) << i;
    EXPECT_EQ(PlainNumber(model.CurrentY(i, 1)), PlainNumber(before->CurrentY(i, 1))) << i;
    EXPECT_NEAR(model.CurrentY(i, 1), before->CurrentY(i, 1),
                1e-14 * std::fabs(before->CurrentY(i, 1)));
  }
  // Exported again, the file is the same byte for byte.
  std::string first = TempFolder::Read(path);
  Export(path);
  EXPECT_EQ(TempFolder::Read(path), first);
}

}  // namespace
}  // namespace qalto
