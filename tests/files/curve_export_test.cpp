#include "files/curve_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_fixture.h"
#include "files/temp_folder.h"

namespace qalto {
namespace {

class CurveExportTest : public AppTest {
 protected:
  void Export(const std::string& path) {
    platform.QueueDialogAnswer(path);
    app.mnuExport_Click();
  }

  TempFolder folder;
};

TEST_F(CurveExportTest, FailuresNameTheFileAndTheReason) {
  model.FirstPoint = model.LastPoint = 1;
  model.CurrentCurve = 1;
  Export("");
  // A pipe is refused rather than waited on.
  ASSERT_EQ(::mkfifo(folder.Path("pipe").c_str(), 0600), 0);
  Export(folder.Path("pipe"));
  std::string readOnly = folder.Write("read-only.csv", "kept");
  std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
  bool root = ::geteuid() == 0;  // root writes to read-only files anyway
  if (!root) Export(readOnly);
  std::vector<std::string> expected = {
      "Export Error: cannot write \"\": Bad file name or number! An earlier file of that name "
      "is unchanged.",
      "Export Error: cannot write \"" + folder.Path("pipe") +
          "\": Path/File access error! An earlier file of that name is unchanged."};
  if (!root) {
    expected.push_back("Export Error: cannot write \"" + readOnly +
                       "\": Permission denied! An earlier file of that name is unchanged.");
  }
  EXPECT_EQ(platform.messages, expected);
  EXPECT_EQ(TempFolder::Read(readOnly), "kept");
}

TEST_F(CurveExportTest, NothingToExportLeavesTheFileChosenAlone) {
  // No curve yet, and the first Simulate taken back: a file that holds something keeps it.
  std::string path = folder.Write("kept.csv", "measured last week");
  Export(path);
  app.ChooseMenu("mnuSimulate");
  app.ChooseMenu("mnuUndo");
  Export(path);
  EXPECT_EQ(platform.messages, std::vector<std::string>(2, "Error: No data!"));
  EXPECT_EQ(TempFolder::Read(path), "measured last week");
}

TEST_F(CurveExportTest, AFailedExportLeavesTheOldFileAsItWas) {
  // Points beyond the tables' end: the export stops at the first of them, and the file
  // chosen keeps its old text; no temporary file is left beside it.
  model.PotentialX(kMaxPoints) = 0.5;
  model.CurrentY(kMaxPoints, 1) = 2e-6;
  model.FirstPoint = kMaxPoints - 1;
  model.LastPoint = kMaxPoints + 2;
  model.CurrentCurve = 1;
  std::string path = folder.Write("tail.csv", "old text that stays");
  Export(path);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].find("Subscript out of range"), std::string::npos);
  EXPECT_EQ(TempFolder::Read(path), "old text that stays");
  EXPECT_EQ(folder.FileCount(), 1);
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
  model.PotentialX.Clear();
  model.CurrentY.Clear();
  Import(path);
  ASSERT_TRUE(platform.messages.empty());
  EXPECT_EQ(model.NumberOfPoints, before->NumberOfPoints);
  // The file keeps 15 significant digits.
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    EXPECT_NEAR(model.PotentialX(i), before->PotentialX(i), 1e-15);
    EXPECT_NEAR(model.CurrentY(i, 1), before->CurrentY(i, 1),
                1e-14 * std::fabs(before->CurrentY(i, 1)));
  }
}

TEST_F(CurveExportTest, FitExportHoldsDataFitAndResidualUnderItsHeader) {
  app.mnuExportFit_Click();  // no fit yet: no dialog
  EXPECT_EQ(platform.messages, std::vector<std::string>{"Error: No fit to export!"});
  // Data simulated with ks 0.01, fitted from ks 0.02: a fit to export.
  app.mnuInstrument_Click();
  app.Ins().ComboScan.SelectText("cycle");
  app.Ins().cmdOK_Click();
  app.mnuExperimental_Click();
  app.Expr().ks(1).SetText("0.01");
  app.mnuSimulate_Click();
  app.Expr().ks(1).SetText("0.02");
  app.Expr().CheckFitted(1).SetChecked(false);
  app.Expr().CheckFitted(11).SetChecked(true);
  app.mnuAutoFit_Click();
  ASSERT_TRUE(model.LastFit.valid);
  std::string path = folder.Path("fit.csv");
  platform.QueueDialogAnswer(path);
  app.mnuExportFit_Click();
  std::string text = TempFolder::Read(path);
  std::string header = "E (V),measured I (A),fitted I (A),residual I (A)\r\n";
  ASSERT_EQ(text.substr(0, header.size()), header);
  std::istringstream lines(text.substr(header.size()));
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    ++count;
    double e = 0, measured = 0, fitted = 0, residual = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf,%lf", &e, &measured, &fitted, &residual), 4);
    EXPECT_EQ(e, model.PotentialX(count));
    EXPECT_EQ(measured, model.CurrentY(count, 1));
    EXPECT_EQ(fitted, model.CurrentY(count, 2));
    EXPECT_EQ(residual, measured - fitted);
  }
  EXPECT_EQ(count, model.NumberOfPoints);
}

// With adsorbed species (A(ads) + e = B(ads), B = B(ads)), the surface-concentration export heads
// an adsorbed species' column as its surface excess in mol/cm2 and the dissolved one's as a
// concentration; the file reads back.
TEST_F(CurveExportTest, AnAdsorbedSpeciesColumnIsItsSurfaceExcess) {
  ASSERT_EQ(
      RunScript(
          "menu mnuMechamism\nset FormMech.charge(12) A(ads)\nset FormMech.charge(16) B(ads)\n"
          "set FormMech.chem(1) B\nset FormMech.chem(2) B(ads)\nclick FormMech.Command1\nmenu "
          "mnuSimulate\nmenu mnuOption\n"
          "select formOption.ComboY \"surface concentration C\"\nclick formOption.cmdOK\n"),
      0)
      << err.str() << out.str();
  ASSERT_EQ(model.CurveCount, 3);
  app.SelectCurves({1, 2, 3});
  const std::string path = folder.Path("surface.csv");
  Export(path);
  Import(path);
  ASSERT_TRUE(platform.messages.empty()) << platform.messages.front();
  const std::string text = TempFolder::Read(path);
  const std::string heading = text.substr(0, text.find('\r'));
  EXPECT_EQ(heading.find("\"E (V)\","), 0u) << heading;
  for (const char* unit : {",\"Gamma (mol/cm2) ", ",\"C (M) "})
    EXPECT_NE(heading.find(unit), std::string::npos) << heading;
}

}  // namespace
}  // namespace qalto
