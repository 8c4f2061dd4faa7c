#include "files/import_data.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/app_fixture.h"
#include "files/temp_folder.h"

namespace qalto {
namespace {

class ImportDataTest : public AppTest {
 protected:
  // The user imports the file: the dialog answers with its path.
  void Import(const std::string& path) {
    platform.QueueDialogAnswer(path);
    app.mnuImport_Click();
  }
  // The menus that become available with the first curve.
  bool CurveMenusEnabled() {
    return app.MenuEnabled("mnuManualFit_Click") && app.MenuEnabled("mnuManualSeparate_Click") &&
           app.MenuEnabled("mnuDisplay") && app.MenuEnabled("mnuAnalyze");
  }
  // Before the first curve only the Display and Analyze menus are disabled.
  bool DisplayOrAnalyzeEnabled() {
    return app.MenuEnabled("mnuDisplay") || app.MenuEnabled("mnuAnalyze");
  }

  TempFolder folder;
};

TEST_F(ImportDataTest, ThreeRisingPoints) {
  std::string path = folder.Write("rising.csv", "0.1,1e-6\r\n0.2,2e-6\r\n0.3,3e-6\r\n");
  EXPECT_FALSE(DisplayOrAnalyzeEnabled());
  Import(path);
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(platform.dialogFilters, std::vector<std::string>{"csv|*.csv|all|*.*"});
  EXPECT_EQ(model.NumberOfPoints, 3);
  EXPECT_EQ(model.FirstPoint, 1);
  EXPECT_EQ(model.LastPoint, 3);
  EXPECT_EQ(model.CurveCount, 1);
  EXPECT_EQ(model.CurrentCurve, 1);
  EXPECT_EQ(model.TargetCurve, 1);
  EXPECT_EQ(model.PotentialX(3), 0.3);
  EXPECT_EQ(model.CurrentY(3, 1), 3e-6);
  EXPECT_EQ(app.Ins().Estart.Text(), "0.1");
  EXPECT_EQ(app.Ins().Eend.Text(), "0.3");
  EXPECT_EQ(app.Ins().Estep.Text(), "0.1");
  EXPECT_EQ(app.Ins().TxtI0.Text(), "1E-06");
  EXPECT_EQ(app.Result().Text(),
            "Number of data point =       3 \n"
            "E start =     0.1\n"
            "E end =       0.3\n"
            "E step =      0.1\n");
  EXPECT_TRUE(app.Result().Shown());
  EXPECT_EQ(app.Plot().Caption(), path);
  EXPECT_TRUE(CurveMenusEnabled());
  // The model's potentials change only when the Instrument window is confirmed.
  EXPECT_EQ(model.StartPotential, 0);
}

TEST_F(ImportDataTest, FallingPotentialsEndAtTheLowest) {
  Import(folder.Write("falling.csv", "0.3,-3e-6\n0.2,-2e-6\n0.1,-1e-6\n"));
  EXPECT_EQ(app.Ins().Estart.Text(), "0.3");
  EXPECT_EQ(app.Ins().Eend.Text(), "0.1");
  EXPECT_EQ(app.Ins().Estep.Text(), "0.1");
  EXPECT_EQ(app.Ins().TxtI0.Text(), "-3E-06");
}

TEST_F(ImportDataTest, TheEndIsTheExtremeAwayFromTheFirstPoint) {
  // A cycle from 0 up to 0.2 and back: the first point is the lowest, so the end is the highest.
  Import(folder.Write("cycle.csv", "0,0\n0.1,1\n0.2,2\n0.1,1\n0,0\n"));
  EXPECT_EQ(app.Ins().Estart.Text(), "0");
  EXPECT_EQ(app.Ins().Eend.Text(), "0.2");
  // Starting in the middle, the end is the highest potential.
  Import(folder.Write("middle.csv", "0.1,0\n-0.2,0\n0.3,0\n"));
  EXPECT_EQ(app.Ins().Eend.Text(), "0.3");
  EXPECT_EQ(app.Ins().Estep.Text(), "0.3");
}

TEST_F(ImportDataTest, OneRecordTakesTheStepFromPositionTwo) {
  Import(folder.Write("one.csv", "0.25,1e-6\n"));
  EXPECT_EQ(model.NumberOfPoints, 1);
  EXPECT_EQ(app.Ins().Estart.Text(), "0.25");
  EXPECT_EQ(app.Ins().Eend.Text(), "0.25");
  EXPECT_EQ(app.Ins().Estep.Text(), "0.25");  // |0 - 0.25|: position 2 was never written
  Import(folder.Write("two.csv", "0.1,0\n0.4,0\n"));
  Import(folder.Path("one.csv"));
  EXPECT_EQ(app.Ins().Estep.Text(), "0.15");  // the distance to the older value left there
}

TEST_F(ImportDataTest, AnEmptyFileFillsTheBoxesFromOldPositions) {
  Import(folder.Write("old.csv", "0.1,1e-6\n0.3,2e-6\n"));
  Import(folder.Write("empty.csv", ""));
  // No read error; only the plotter notes that there is nothing to draw.
  EXPECT_EQ(platform.messages, std::vector<std::string>{"Error: No data!"});
  EXPECT_EQ(model.NumberOfPoints, 0);
  EXPECT_EQ(model.FirstPoint, 1);
  EXPECT_EQ(model.LastPoint, 0);
  EXPECT_EQ(app.Ins().Estart.Text(), "0.1");
  EXPECT_EQ(app.Ins().Estep.Text(), "0.2");
  EXPECT_EQ(app.Ins().TxtI0.Text(), "1E-06");
}

TEST_F(ImportDataTest, AFailureLeavesCountsWindowsAndMenusAlone) {
  std::string good = folder.Write("good.csv", "0.1,1e-6\n0.2,2e-6\n0.3,3e-6\n");
  Import(good);
  app.mnuClear_Click();
  app.Plot().SetCaption("Plot");
  Import(folder.Write("bad.csv", "0.5,5e-6\n0.6,six\n0.7,7e-6\n0.8,8e-6\n"));
  EXPECT_EQ(platform.messages, std::vector<std::string>{"ReadData Error: Type mismatch"});
  EXPECT_EQ(model.NumberOfPoints, 3);
  EXPECT_EQ(model.FirstPoint, 1);
  EXPECT_EQ(model.LastPoint, 3);
  EXPECT_EQ(app.Ins().Estart.Text(), "0.1");
  EXPECT_EQ(app.Result().Text(), "");
  EXPECT_EQ(app.Plot().Caption(), "Plot");
  // The records read before the failure stay, and so does the value read before the mismatch.
  EXPECT_EQ(model.PotentialX(1), 0.5);
  EXPECT_EQ(model.CurrentY(1, 1), 5e-6);
  EXPECT_EQ(model.PotentialX(2), 0.6);
  EXPECT_EQ(model.PotentialX(3), 0.3);
}

TEST_F(ImportDataTest, AFailedFirstImportEnablesNothing) {
  model.CurveCount = 3;
  Import(folder.Write("header.csv", "E,I\n0.1,1e-6\n"));
  EXPECT_EQ(platform.messages, std::vector<std::string>{"ReadData Error: Type mismatch"});
  EXPECT_FALSE(DisplayOrAnalyzeEnabled());
  EXPECT_FALSE(app.Result().Shown());
  EXPECT_EQ(model.CurveCount, 1);  // the slot choice is made before the file is read
}

TEST_F(ImportDataTest, MessagesOfTheReaderAndOfTheFile) {
  auto message = [this](const std::string& path) {
    platform.messages.clear();
    Import(path);
    return platform.messages.size() == 1 ? platform.messages[0] : "";
  };
  EXPECT_EQ(message(folder.Write("extra.csv", "0.1,1e-6,7\n")),
            "ReadData Error: Bad record length");
  EXPECT_EQ(message(folder.Write("missing.csv", "0.1,\n0.2,1e-6\n")),
            "ReadData Error: Type mismatch");
  EXPECT_EQ(message(folder.Write("odd.csv", "0.1,1e-6\n0.2\n")),
            "ReadData Error: Input past end of file");
  EXPECT_EQ(message(folder.Path("absent.csv")), "ReadData Error: File not found");
  EXPECT_EQ(message(folder.Path("absent/data.csv")), "ReadData Error: File not found");
  EXPECT_EQ(message(folder.Path("")), "ReadData Error: Path/File access error");
  EXPECT_EQ(message(""), "ReadData Error: Bad file name or number");
  // Devices and pipes are no data files (a pipe would wait for a writer for ever).
  EXPECT_EQ(message("/dev/zero"), "ReadData Error: Path/File access error");
  ASSERT_EQ(::mkfifo(folder.Path("pipe").c_str(), 0600), 0);
  EXPECT_EQ(message(folder.Path("pipe")), "ReadData Error: Path/File access error");
  std::string many;
  for (int i = 1; i <= 5001; ++i)
    many += std::to_string(i * 0.001) + ",1e-6\n";
  EXPECT_EQ(message(folder.Write("many.csv", many)), "ReadData Error: Subscript out of range");
  EXPECT_EQ(model.NumberOfPoints, 0);
}

TEST_F(ImportDataTest, CancellingReadsTheFileChosenLast) {
  // Without an earlier choice the open fails.
  app.mnuImport_Click();
  EXPECT_EQ(platform.messages, std::vector<std::string>{"ReadData Error: Bad file name or number"});
  std::string path = folder.Write("data.csv", "0.1,1e-6\n0.2,2e-6\n");
  Import(path);
  folder.Write("data.csv", "0.1,1e-6\n0.2,2e-6\n0.3,3e-6\n");
  app.mnuImport_Click();  // cancelled
  EXPECT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(model.NumberOfPoints, 3);
  EXPECT_EQ(app.Plot().Caption(), path);
}

TEST_F(ImportDataTest, OverlaidCurvesTakeTheNextSlot) {
  std::string path = folder.Write("data.csv", "0.1,1\n0.2,2\n");
  ImportWindows windows{app.Ins(), app.Result(), app.Plot()};
  FileDialog dialog;
  platform.QueueDialogAnswer(path);
  ASSERT_TRUE(ImportData(model, windows, platform, dialog, true));
  folder.Write("data.csv", "0.1,10\n0.2,20\n");
  platform.QueueDialogAnswer(path);
  ASSERT_TRUE(ImportData(model, windows, platform, dialog, true));
  EXPECT_EQ(model.CurveCount, 2);
  EXPECT_EQ(model.CurrentCurve, 2);
  EXPECT_EQ(model.TargetCurve, 2);
  EXPECT_EQ(model.CurrentY(2, 1), 2);
  EXPECT_EQ(model.CurrentY(2, 2), 20);
  EXPECT_EQ(app.Ins().TxtI0.Text(), "10");
}

}  // namespace
}  // namespace qalto
