#include "files/import_data.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/app_fixture.h"
#include "files/instrument_samples.h"
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
  EXPECT_EQ(platform.dialogFilters, std::vector<std::string>{kImportFileFilter});
  EXPECT_EQ(model.LastPoint, 3);
  EXPECT_EQ(model.CurveCount, 1);
  EXPECT_EQ(model.CurrentY(3, 1), 3e-6);
  EXPECT_EQ(app.Ins().Eend.Text(), "0.3");
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

// The Instrument window's start, end and step from the points: the end is the extreme away
// from the first point; one point takes its step from position 2 of the store, where an
// older import left 0.4 (|0.4 - 0.25|).
TEST_F(ImportDataTest, StartEndAndStepFromThePoints) {
  struct Case {
    const char* text;
    const char* start;
    const char* end;
    const char* step;
  };
  const Case cases[] = {{"0.3,-3e-6\n0.2,-2e-6\n0.1,-1e-6\n", "0.3", "0.1", "0.1"},
                        {"0,0\n0.1,1\n0.2,2\n0.1,1\n0,0\n", "0", "0.2", "0.1"},
                        {"0.1,0\n-0.2,0\n0.3,0\n", "0.1", "0.3", "0.3"},
                        {"0.1,0\n0.4,0\n", "0.1", "0.4", "0.3"},
                        {"0.25,1e-6\n", "0.25", "0.25", "0.15"}};
  for (const Case& c : cases) {
    Import(folder.Write("points.csv", c.text));
    EXPECT_EQ(app.Ins().Estart.Text(), c.start) << c.text;
    EXPECT_EQ(app.Ins().Eend.Text(), c.end) << c.text;
    EXPECT_EQ(app.Ins().Estep.Text(), c.step) << c.text;
  }
}

TEST_F(ImportDataTest, AFailureChangesNothingTheUserHad) {
  std::string good = folder.Write("good.csv", "0.1,1e-6\n0.2,2e-6\n0.3,3e-6\n");
  Import(good);
  app.mnuClear_Click();
  app.Plot().SetCaption("Plot");
  std::string bad = folder.Write("bad.csv", "0.5,5e-6\n0.6,six\n0.7,7e-6\n0.8,8e-6\n");
  Import(bad);
  EXPECT_EQ(platform.messages,
            std::vector<std::string>{"ReadData Error: Type mismatch in line 2 of \"" + bad +
                                     "\": expected a number in column 2, found \"six\""});
  EXPECT_EQ(model.LastPoint, 3);
  EXPECT_EQ(app.Ins().Estart.Text(), "0.1");
  EXPECT_EQ(app.Result().Text(), "");
  EXPECT_EQ(app.Plot().Caption(), "Plot");
  EXPECT_EQ(model.CurrentY(1, 1), 1e-6);
  EXPECT_EQ(app.ImportedCurveIn(1)->source, good);
  // Two potentials that read, but the distance between them is no number.
  platform.messages.clear();
  std::string far = folder.Write("far.csv", "1e308,1\n-1e308,2\n");
  Import(far);
  EXPECT_EQ(platform.messages,
            std::vector<std::string>{"ReadData Error: Overflow: \"" + far + "\""});
  EXPECT_EQ(model.NumberOfPoints, 3);
  EXPECT_EQ(app.Ins().Estep.Text(), "0.1");
  EXPECT_EQ(app.Result().Text(), "");
}

TEST_F(ImportDataTest, MessagesNameTheLineOrTheFile) {
  auto message = [this](const std::string& path) {
    platform.messages.clear();
    Import(path);
    return platform.messages.size() == 1 ? platform.messages[0] : "";
  };
  model.CurveCount = 3;
  // Failures of the file: its name as the dialog gave it.
  std::string absent = folder.Path("absent.csv");
  EXPECT_EQ(message(absent), "ReadData Error: File not found: \"" + absent + "\"");
  absent = folder.Path("absent/data.csv");
  EXPECT_EQ(message(absent), "ReadData Error: File not found: \"" + absent + "\"");
  EXPECT_EQ(message(folder.Path("")),
            "ReadData Error: Path/File access error: \"" + folder.Path("") + "\"");
  EXPECT_EQ(message(""), "ReadData Error: Bad file name or number: \"\"");
  // Devices and pipes are no data files (a pipe would wait for a writer for ever).
  EXPECT_EQ(message("/dev/zero"), "ReadData Error: Path/File access error: \"/dev/zero\"");
  ASSERT_EQ(::mkfifo(folder.Path("pipe").c_str(), 0600), 0);
  EXPECT_EQ(message(folder.Path("pipe")),
            "ReadData Error: Path/File access error: \"" + folder.Path("pipe") + "\"");
  EXPECT_EQ(model.NumberOfPoints, 0);
  // A failed first import chooses no slot and enables nothing.
  EXPECT_EQ(model.CurveCount, 3);
  EXPECT_FALSE(DisplayOrAnalyzeEnabled());
  EXPECT_FALSE(app.Result().Shown());
  EXPECT_FALSE(app.ImportedCurveIn(1).has_value());
}

TEST_F(ImportDataTest, OverlaidCurvesTakeTheNextSlot) {
  std::string path = folder.Write("data.csv", "0.1,1\n0.2,2\n");
  app.Option().overlap.SetChecked(true);
  Import(path);
  folder.Write("data.csv", "0.1,10\n0.2,20\n");
  Import(path);
  EXPECT_EQ(model.CurveCount, 2);
  EXPECT_EQ(model.CurrentCurve, 2);
  EXPECT_EQ(model.TargetCurve, 2);
  EXPECT_EQ(model.CurrentY(2, 1), 2);
  EXPECT_EQ(model.CurrentY(2, 2), 20);
  EXPECT_EQ(app.Ins().TxtI0.Text(), "10");
  EXPECT_EQ(app.ImportedCurveIn(1)->current, (std::vector<double>{1, 2}));
  EXPECT_EQ(app.ImportedCurveIn(2)->current, (std::vector<double>{10, 20}));
}

TEST_F(ImportDataTest, CyclesAreChosenInTheImportWindow) {
  std::string path = folder.Write("cv.mpt", EcLabSample());
  Import(path);
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_TRUE(app.Import().Shown());
  EXPECT_EQ(app.Import().ComboCycle.Items(),
            (std::vector<std::string>{"cycle 1", "cycle 2", "all cycles"}));
  EXPECT_EQ(app.Import().lblFormat.Caption(), "EC-Lab text: Cyclic Voltammetry");
  EXPECT_EQ(model.NumberOfPoints, 2);
  EXPECT_EQ(app.Ins().V.Text(), "0.1");
  EXPECT_EQ(app.Ins().ARE.Text(), "0.071");
  EXPECT_EQ(app.Result().Text(),
            "File format =               EC-Lab text\n"
            "Curve =       cycle 1\n"
            "Number of data point =       2 \n"
            "E start =     0.1\n"
            "E end =       0.11\n"
            "E step =      0.01\n"
            "Scan rate (V/s) =           0.1\n"
            "Area (cm2) =  0.071\n");
  ASSERT_TRUE(app.Import().ComboCycle.SelectText("cycle 2"));
  EXPECT_EQ(model.NumberOfPoints, 2);
  EXPECT_EQ(model.PotentialX(1), 0.1);
  EXPECT_DOUBLE_EQ(model.CurrentY(2, 1), -2e-6);
  EXPECT_EQ(app.ImportedCurveIn(1)->label, "cycle 2");
  EXPECT_EQ(app.Ins().ComboScan.Text(), "single");
  // Overlaid: cycle 2 read off at the potentials of cycle 1; it runs the other way, so each
  // point takes its nearest measured current.
  ASSERT_TRUE(app.Import().ComboCycle.SelectText("all cycles"));
  EXPECT_EQ(model.NumberOfPoints, 2);
  EXPECT_EQ(model.CurveCount, 2);
  EXPECT_DOUBLE_EQ(model.CurrentY(2, 1), 2.5e-6);
  EXPECT_DOUBLE_EQ(model.CurrentY(2, 2), -1e-6);
  EXPECT_EQ(app.Origins()[2].name, app.Plot().Caption() + ", cycle 2");
  EXPECT_EQ(app.Ins().ComboScan.Text(), "2 cycles");
  // The columns by their headings: time/s has no unit of a potential and is taken in V.
  EXPECT_EQ(app.Import().ComboPotential.Text(), "Ewe/V");
  EXPECT_EQ(app.Import().ComboCurrent.Text(), "<I>/mA");
  ASSERT_TRUE(app.Import().ComboPotential.SelectText("time/s"));
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(model.PotentialX(1), 1.5);
  EXPECT_EQ(model.CurveCount, 1);
}

TEST_F(ImportDataTest, MorePointsThanTheStoreAreResampledKeepingThePeaks) {
  // A sweep of 250 000 points with one narrow peak of 1 A at point 123 457 (0-based).
  const int n = 250000;
  std::string text;
  text.reserve(static_cast<size_t>(n) * 16);
  for (int i = 0; i < n; ++i)
    text += std::to_string(i * 1e-5) + "," + (i == 123457 ? "1" : "0") + "\n";
  Import(folder.Write("long.csv", text));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0],
            "Import: 250000 points are more than the 100000 the curve store holds; the curve was "
            "resampled to " +
                std::to_string(model.NumberOfPoints) + " points, keeping its peaks.");
  EXPECT_LE(model.NumberOfPoints, kMaxPoints);
  EXPECT_GT(model.NumberOfPoints, kMaxPoints / 2);
  double peak = 0;
  double peakE = 0;
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    if (model.CurrentY(i, 1) > peak) {
      peak = model.CurrentY(i, 1);
      peakE = model.PotentialX(i);
    }
  }
  EXPECT_EQ(peak, 1);
  EXPECT_DOUBLE_EQ(peakE, 1.23457);
  EXPECT_EQ(model.PotentialX(1), 0);
  EXPECT_DOUBLE_EQ(model.PotentialX(model.NumberOfPoints), 2.49999);
}

}  // namespace
}  // namespace qalto

namespace qalto {
namespace {

// Two cycles overlaid on the potentials of the first: each point reads the second cycle on
// its sweep of the same direction, between its measured points; beyond its reach, its
// nearest point of that direction.
TEST_F(ImportDataTest, OverlaidCyclesAreReadOffSweepBySweep) {
  ImportedFile file;
  file.format = "delimited text";
  file.curves.resize(2);
  file.curves[0] = {"f.csv", "cycle 1", {0, 0.1, 0.2, 0.1, 0}, {0, 1, 2, -1, 0}, {}, {}};
  file.curves[1] = {"f.csv", "cycle 2", {0.05, 0.15, 0.25, 0.15, 0.05}, {10, 20, 30, -20, -10},
                    {},      {}};
  ImportResult result = PrepareImport(model, file, 0);
  ASSERT_TRUE(result.ok);
  ASSERT_EQ(result.curves.size(), 2u);
  EXPECT_EQ(result.curves[1].potential, file.curves[0].potential);
  std::vector<double> expected = {10, 15, 5, -15, -10};
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_NEAR(result.curves[1].current[i], expected[i], 1e-12) << i;
  EXPECT_EQ(result.instrument.scanIndex, 2);
  // More cycles than the store overlays: the first ones, and a message.
  file.curves.resize(kMaxOverlaid + 1, file.curves[1]);
  result = PrepareImport(model, file, 0);
  EXPECT_EQ(result.curves.size(), static_cast<size_t>(kMaxOverlaid));
  EXPECT_EQ(result.messages, std::vector<std::string>{"Import: the file holds 6 curves; the "
                                                      "first 5 are overlaid, choose one to see "
                                                      "any other."});
}

}  // namespace
}  // namespace qalto
