#include "files/import_data.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/app_fixture.h"
#include "files/temp_folder.h"

namespace qalto {
namespace {

class ImportDataTest : public AppTest {
 protected:
  TempFolder folder;
};

// The Instrument window's start, end and step from the points: the end is the extreme away
// from the first point, the step the distance of the first two.
TEST_F(ImportDataTest, StartEndAndStepFromThePoints) {
  struct Case {
    const char* text;
    const char* start;
    const char* end;
    const char* step;
  };
  const Case cases[] = {{"0,0\n0.1,1\n0.2,2\n0.1,1\n0,0\n", "0", "0.2", "0.1"},
                        {"0.1,0\n-0.2,0\n0.3,0\n", "0.1", "0.3", "0.3"}};
  for (const Case& c : cases) {
    Import(folder.Write("points.csv", c.text));
    EXPECT_EQ(app.Ins().Estart.Text(), c.start) << c.text;
    EXPECT_EQ(app.Ins().Eend.Text(), c.end) << c.text;
    EXPECT_EQ(app.Ins().Estep.Text(), c.step) << c.text;
  }
}

// An instrument's anodic-positive current comes in with the chosen sign, and turning the choice
// turns the stored curve; the import leaves the baseline boxes alone. (A plain two-column file,
// the program's own export, is read in the store's sign, so that an export reads back as it
// was.) The Option window's OK, which prepares the curves again, keeps them turned: an imported
// curve as imported, a simulated one as the next Simulate gives it.
TEST_F(ImportDataTest, CurrentsTakeTheChosenSignAndKeepItThroughTheOptionWindowsOK) {
  app.mnuSimulate_Click();
  const double cathodic = model.CurrentY(30, 1);
  ASSERT_GT(cathodic, 0.0);
  app.mnuOption_Click();
  ASSERT_TRUE(app.Option().ComboSign.SelectText("anodic positive (IUPAC)"));
  app.Option().cmdOK_Click();
  EXPECT_EQ(model.CurrentY(30, 1), -cathodic);
  app.mnuSimulate_Click();
  EXPECT_EQ(model.CurrentY(30, 1), -cathodic);
  app.mnuInstrument_Click();
  app.Ins().TxtI0.SetText("0");
  std::string file = folder.Write("signs.csv", "E (V),I (A)\n0.1,1e-6\n0.2,2e-6\n0.3,-3e-6\n");
  Import(file);
  EXPECT_EQ(model.CurrentY(2, 1), 2e-6);
  EXPECT_EQ(model.CurrentY(3, 1), -3e-6);
  EXPECT_EQ(app.Ins().TxtI0.Text(), "0");
  app.mnuOption_Click();
  ASSERT_TRUE(app.Option().ComboSign.SelectText("cathodic positive"));
  EXPECT_EQ(model.CurrentY(2, 1), -2e-6);
  Import(file);
  EXPECT_EQ(model.CurrentY(2, 1), -2e-6);
  ASSERT_TRUE(app.Option().ComboSign.SelectText("anodic positive (IUPAC)"));
  EXPECT_EQ(model.CurrentY(2, 1), 2e-6);
  app.Option().cmdOK_Click();
  EXPECT_EQ(model.CurrentY(2, 1), 2e-6);
}

// "whole measurement" joins the cycles into one curve, and the report names their points. A
// later scan chosen alone is fitted from rest, which the report says, naming the way to fit it
// after the scans before it; the first scan and the whole measurement need no such note.
TEST_F(ImportDataTest, WholeMeasurementJoinsTheCyclesAndALaterOneAloneStartsFromRest) {
  Import(folder.Write("cycles.csv",
                      "E (V),I (A),Scan\n0,1,1\n0.1,2,1\n0,3,1\n0,4,2\n0.1,5,2\n0,6,2\n"));
  for (const char* choice : {"scan 1", "whole measurement", "scan 2"}) {
    const std::size_t before = app.Result().Text().size();
    ASSERT_TRUE(app.Import().ComboCycle.SelectText(choice));
    const bool noted = app.Result().Text().find(kLaterCycleAloneNote, before) != std::string::npos;
    EXPECT_EQ(noted, std::string(choice) == "scan 2") << choice << "\n" << app.Result().Text();
    if (std::string(choice) != "whole measurement") continue;
    EXPECT_EQ(model.NumberOfPoints, 6);
    EXPECT_EQ(model.CurrentY(6, 1), -6);
    EXPECT_NE(app.Result().Text().find("scan 2 =      points 4..6\n"), std::string::npos)
        << app.Result().Text();
  }
}

// A later scan after the scans before it joins them, sets the fit window on it and says so; the
// next import takes that window back, but not one the user changed since.
TEST_F(ImportDataTest, ALaterCycleAfterTheOnesBeforeItSetsTheFitWindow) {
  Import(folder.Write("cycles.csv",
                      "E (V),I (A),Scan\n0,1,1\n0.1,2,1\n0,3,1\n0,4,2\n0.1,5,2\n0,6,"
                      "2\n0,7,3\n0.1,8,3\n0,9,3\n"));
  FormExpr& expr = app.Expr();
  ASSERT_TRUE(app.Import().ComboCycle.SelectText("scan 2 after the scans before it"));
  EXPECT_EQ(model.NumberOfPoints, 6);
  EXPECT_EQ(model.CurrentY(6, 1), -6);
  EXPECT_EQ(expr.TextFitFirst.Text() + ".." + expr.TextFitLast.Text(), "4..6");
  EXPECT_NE(app.Result().Text().find("points 4..6 (scan 2); the ones before it are its "
                                     "history, simulated, not compared"),
            std::string::npos)
      << app.Result().Text();
  EXPECT_EQ(app.Origins()[1].name,
            app.ImportedCurveIn(1)->source + ", scan 2 after the scans before it");
  ASSERT_TRUE(app.Import().ComboCycle.SelectText("scan 3 after the scans before it"));
  EXPECT_EQ(expr.TextFitFirst.Text() + ".." + expr.TextFitLast.Text(), "7..9");
  ASSERT_TRUE(app.Import().ComboCycle.SelectText("scan 1"));
  EXPECT_EQ(expr.TextFitFirst.Text() + expr.TextFitLast.Text(), "");
  ASSERT_TRUE(app.Import().ComboCycle.SelectText("scan 2 after the scans before it"));
  expr.TextFitLast.SetText("5");
  ASSERT_TRUE(app.Import().ComboCycle.SelectText("scan 1"));
  EXPECT_EQ(expr.TextFitFirst.Text() + ".." + expr.TextFitLast.Text(), "4..5");
}

// A failure of the whole file (two potentials that read, but the distance between them is no
// number) leaves the curve, the boxes and the result window as they were.
TEST_F(ImportDataTest, AFailureChangesNothingTheUserHad) {
  std::string good = folder.Write("good.csv", "0.1,1e-6\n0.2,2e-6\n0.3,3e-6\n");
  Import(good);
  app.mnuClear_Click();
  std::string far = folder.Write("far.csv", "1e308,1\n-1e308,2\n");
  Import(far);
  EXPECT_EQ(platform.messages,
            std::vector<std::string>{"ReadData Error: Overflow: \"" + far + "\""});
  EXPECT_EQ(model.NumberOfPoints, 3);
  EXPECT_EQ(model.CurrentY(1, 1), 1e-6);
  EXPECT_EQ(app.Ins().Estep.Text(), "0.1");
  EXPECT_EQ(app.Result().Text(), "");
  EXPECT_EQ(app.ImportedCurveIn(1)->source, good);
}

TEST_F(ImportDataTest, MessagesNameTheLineOrTheFile) {
  auto message = [this](const std::string& path) {
    platform.messages.clear();
    Import(path);
    return platform.messages.size() == 1 ? platform.messages[0] : "";
  };
  model.CurveCount = 3;
  // Failures of the file: its name as the dialog gave it (a missing file: import_errors.qs).
  EXPECT_EQ(message(folder.Path("")),
            "ReadData Error: Path/File access error: \"" + folder.Path("") + "\"");
  // Devices and pipes are no data files (a pipe would wait for a writer for ever).
  EXPECT_EQ(message("/dev/zero"), "ReadData Error: Path/File access error: \"/dev/zero\"");
  ASSERT_EQ(::mkfifo(folder.Path("pipe").c_str(), 0600), 0);
  EXPECT_EQ(message(folder.Path("pipe")),
            "ReadData Error: Path/File access error: \"" + folder.Path("pipe") + "\"");
  EXPECT_EQ(model.NumberOfPoints, 0);
  // A failed first import chooses no slot and enables nothing (before the first curve only the
  // Display and Analyze menus are disabled).
  EXPECT_EQ(model.CurveCount, 3);
  EXPECT_FALSE(app.MenuEnabled("mnuDisplay") || app.MenuEnabled("mnuAnalyze"));
  EXPECT_FALSE(app.Result().Shown());
  EXPECT_FALSE(app.ImportedCurveIn(1).has_value());
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
  int peak = 1;
  for (int i = 1; i <= model.NumberOfPoints; ++i)
    peak = model.CurrentY(i, 1) > model.CurrentY(peak, 1) ? i : peak;
  EXPECT_EQ(model.CurrentY(peak, 1), 1);
  EXPECT_DOUBLE_EQ(model.PotentialX(peak), 1.23457);
  EXPECT_EQ(model.PotentialX(1), 0);
  EXPECT_DOUBLE_EQ(model.PotentialX(model.NumberOfPoints), 2.49999);
}

// Two cycles overlaid on the potentials of the first: each point reads the second cycle on
// its sweep of the same direction, between its measured points; beyond its reach, its
// nearest point of that direction.
TEST_F(ImportDataTest, OverlaidCyclesAreReadOffSweepBySweep) {
  ImportedFile file;
  file.format = "delimited text";
  file.curves.resize(2);
  file.curves[0] = {"f.csv", "cycle 1", {0, 0.1, 0.2, 0.1, 0}, {0, 1, 2, -1, 0}, {}, {}, {}};
  file.curves[1] = {"f.csv", "cycle 2", {0.05, 0.15, 0.25, 0.15, 0.05}, {10, 20, 30, -20, -10}, {},
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
