#include "app/session_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/app_fixture.h"
#include "app/script_runner.h"
#include "app/script_words.h"
#include "common/test_names.h"
#include "files/temp_folder.h"
#include "model/measured_ac.h"

namespace qalto {
namespace {

// Every value a user can reach, by control, in every form.
std::map<std::string, std::string> FormValues(App& app) {
  std::map<std::string, std::string> values;
  for (const std::string& name : App::FormNames()) {
    Form& form = *app.FindForm(name);
    for (const Control* control : form.Controls())
      values[name + "." + control->FullName()] = ControlValue(*control);
  }
  return values;
}

// A program started anew, as after quitting: it opens the session file.
struct Reopened {
  RecordingPlatform platform;
  App app{platform};
  bool opened;
  explicit Reopened(const std::string& path) : opened(app.OpenSessionFrom(path)) {}
};

class SessionTest : public AppTest {
 protected:
  std::string Path(const std::string& name) { return folder.Path(name); }

  // A measured cyclic voltammogram in a file of that name.
  std::string DataFile(const std::string& name, double scale) {
    std::string path = Path(name);
    std::ofstream data(path);
    for (int i = 0; i <= 40; ++i)
      data << 0.3 - 0.015 * i << "," << scale * (i % 13) * 1e-6 << "\n";
    return path;
  }

  // Differential pulse with t pulse and E pulse of its own, Marcus-Hush kinetics of lambda
  // 0.7 eV, four overlaid curves (two simulated, two imported, one from a file named
  // "cv $HOME.txt"), a peak report, a box holding a line break.
  void MakeWorkingDay() {
    ChooseTechnique(4);
    app.mnuInstrument_Click();
    app.Ins().tp.SetText("0.04");
    app.Ins().Epulse.SetText("-0.1");
    app.mnuExperimental_Click();
    app.Expr().lambda(1).SetText("0.7");
    app.Expr().Gamma(2).SetText("3e-10");
    app.Expr().TextInteraction.SetText("0.4");
    app.mnuOption_Click();
    app.Option().overlap.SetChecked(true);
    app.Option().cmdOK_Click();
    ASSERT_EQ(app.ChooseMenu("mnuSimulate"), MenuOutcome::kDone);
    app.Ins().Epulse.SetText("-0.05");
    ASSERT_EQ(app.ChooseMenu("mnuSimulate"), MenuOutcome::kDone);
    Import(DataFile("cv $HOME.txt", 1));
    Import(DataFile("Fe \"II\" ü.csv", -2));
    ASSERT_EQ(model.CurveCount, 4);
    app.ChooseMenu("mnuNextCurve");
    app.ChooseMenu("mnuFindPeak");
    app.Expr().Text1.SetText("KCl\nNaCl");
  }

  TempFolder folder;
};

// Save, quit, start, open, save: the same file, and everything as it was.
TEST_F(SessionTest, AWorkingDayComesBackWholeAndSavesToTheSameBytes) {
  MakeWorkingDay();
  const std::string saved = Path("day.qs");
  ASSERT_TRUE(app.SaveSessionTo(saved));
  Reopened next(saved);
  ASSERT_TRUE(next.opened) << next.platform.messages.back();
  const Model& m = next.app.model();
  const auto expected = FormValues(app);
  for (const auto& [control, value] : FormValues(next.app))  // t pulse, E pulse, lambda, ...
    EXPECT_EQ(value, expected.at(control)) << control;
  EXPECT_EQ(m.Technique, Technique::kDifferentialPulse);
  EXPECT_EQ(m.ChargeLambda(1), 0.7);
  EXPECT_EQ(m.SpeciesGamma(2), 3e-10);
  EXPECT_EQ(m.LayerInteraction, 0.4);
  EXPECT_EQ(m.CurveCount, 4);
  EXPECT_EQ(m.CurrentCurve, model.CurrentCurve);
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(Curve(m, k), Curve(model, k)) << "curve " << k;
    EXPECT_EQ(next.app.Origins()[k].name, app.Origins()[k].name);
  }
  EXPECT_EQ(next.app.Origins()[3].name, Path("cv $HOME.txt"));
  ASSERT_TRUE(next.app.ImportedCurveIn(4).has_value());
  EXPECT_EQ(next.app.ImportedCurveIn(4)->current, app.ImportedCurveIn(4)->current);
  EXPECT_EQ(next.app.Result().Text(), app.Result().Text());
  EXPECT_TRUE(next.app.MenuEnabled("mnuAnalyze"));
  const std::string again = Path("again.qs");
  ASSERT_TRUE(next.app.SaveSessionTo(again));
  EXPECT_EQ(TempFolder::Read(again), TempFolder::Read(saved));
  // The data were embedded: the files they came from are not needed any more.
  std::remove(Path("cv $HOME.txt").c_str());
  Reopened without(saved);
  EXPECT_TRUE(without.opened);
  EXPECT_EQ(Curve(without.app.model(), 3), Curve(model, 3));
}

// Chronoamperometry with its charge, a program of technique 8 read from an E(t) file and
// simulated, a hidden curve and two chosen in the curve list.
TEST_F(SessionTest, TheChargeTheCurveListAndTheProgramFileComeBack) {
  ChooseTechnique(7);
  app.mnuInstrument_Click();
  app.Ins().TextE1.SetText("-0.5");
  app.Ins().TextTSample.SetText("0.02");
  app.mnuOption_Click();
  app.Option().overlap.SetChecked(true);
  app.Option().cmdOK_Click();
  ASSERT_EQ(app.ChooseMenu("mnuSimulate"), MenuOutcome::kDone);
  const std::string program = folder.Write("triangle.csv", "t/s,E/V\n0,0.3\n6,-0.3\n12.5,0.3\n");
  platform.QueueDialogAnswer(program);
  ASSERT_EQ(app.ChooseMenu("mnuLoadProgram"), MenuOutcome::kDone);
  ChooseTechnique(8);
  ASSERT_EQ(app.ChooseMenu("mnuSimulate"), MenuOutcome::kDone);
  ASSERT_EQ(model.CurveCount, 2);
  app.SetCurveHidden(1, true);
  app.SelectCurves({1, 2});
  const std::string saved = Path("program.qs");
  ASSERT_TRUE(app.SaveSessionTo(saved));

  Reopened next(saved);
  ASSERT_TRUE(next.opened) << next.platform.messages.back();
  const Model& m = next.app.model();
  EXPECT_TRUE(next.app.CurveHidden(1));
  EXPECT_FALSE(next.app.CurveHidden(2));
  EXPECT_EQ(next.app.ChosenCurves(), (std::vector<int>{1, 2}));
  for (int i = 1; i <= model.NumberOfPoints; ++i)
    ASSERT_EQ(m.PassedCharge(i), model.PassedCharge(i)) << "point " << i;
  EXPECT_NE(model.PassedCharge(model.NumberOfPoints), 0.0);
  EXPECT_EQ(next.app.Program().File(), app.Program().File());
  EXPECT_TRUE(next.app.Program().CheckFile.Enabled());
  EXPECT_EQ(m.Program, model.Program);
  const std::string again = Path("program-again.qs");
  ASSERT_TRUE(next.app.SaveSessionTo(again));
  EXPECT_EQ(TempFolder::Read(again), TempFolder::Read(saved));
  // The reopened program simulates the curve that was saved.
  ASSERT_EQ(next.app.ChooseMenu("mnuSimulate"), MenuOutcome::kDone);
  EXPECT_EQ(Curve(m, 3), Curve(model, 2));

  // A session written before the curve list, the charge and the program file were kept still
  // opens: everything drawn, nothing chosen, the window's own table.
  std::istringstream lines(TempFolder::Read(saved));
  std::string old;
  for (std::string line; std::getline(lines, line);) {
    for (const char* newer : {"hidden ", "selected ", "program ", "corner ", "row PassedCharge "})
      if (line.rfind(newer, 0) == 0) line.clear();
    if (!line.empty()) old += line + "\n";
  }
  Reopened before(folder.Write("old.qs", old));
  ASSERT_TRUE(before.opened) << before.platform.messages.back();
  EXPECT_FALSE(before.app.CurveHidden(1));
  EXPECT_TRUE(before.app.ChosenCurves().empty());
  EXPECT_EQ(before.app.model().PassedCharge(model.NumberOfPoints), 0.0);
  EXPECT_TRUE(before.app.Program().File().fileTimes.empty());
  EXPECT_EQ(Curve(before.app.model(), 2), Curve(model, 2));
}

// A measured curve's own E(t) at uneven instants, the program of technique 8: the reopened
// session computes the same curve at the same instants.
TEST_F(SessionTest, AProgramFromMeasuredInstantsComesBack) {
  const std::string data =
      folder.Write("uneven.csv",
                   "time/s,Ewe/V,I/A\n0,0.3,0\n0.7,0.23,0\n1.2,0.18,0\n3,0,0\n3.1,-0.01,0\n"
                   "6,-0.3,0\n6.25,-0.275,0\n9.5,0.05,0\n12,0.3,0\n");
  ASSERT_EQ(Import(data), MenuOutcome::kDone);
  ASSERT_EQ(app.ChooseMenu("mnuProgramFromData"), MenuOutcome::kDone);
  ChooseTechnique(8);
  ASSERT_EQ(app.ChooseMenu("mnuSimulate"), MenuOutcome::kDone);
  ASSERT_EQ(model.NumberOfPoints, 9);
  EXPECT_EQ(model.PointTimes(5), 3.1);
  const std::string saved = Path("measured-program.qs");
  ASSERT_TRUE(app.SaveSessionTo(saved));
  EXPECT_NE(TempFolder::Read(saved).find(" measured\ncorner 0 0.3\n"), std::string::npos);

  Reopened next(saved);
  ASSERT_TRUE(next.opened) << next.platform.messages.back();
  EXPECT_EQ(next.app.model().Program, model.Program);
  ASSERT_EQ(next.app.ChooseMenu("mnuSimulate"), MenuOutcome::kDone);
  EXPECT_EQ(Curve(next.app.model(), next.app.model().CurrentCurve),
            Curve(model, model.CurrentCurve));
}

// A measured AC voltammogram shown as its second harmonic, or as its eight envelopes in curves
// 1 to 8: the reopened session shows the same, and "current I" brings back the raw current
// sampled at the program's instants, the only curve.
class MeasuredAcSession : public SessionTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(MeasuredAcSession, ComesBackWithItsRawCurrent) {
  ChooseTechnique(9);
  app.mnuInstrument_Click();
  app.Ins().Estart.SetText("0.2");
  app.Ins().Eend.SetText("0");
  app.Ins().V.SetText("0.1");
  app.Ins().TextF.SetText("10");
  app.Ins().TextAmplitude.SetText("5");
  app.Ins().ComboScan.SelectText("single");
  app.Ins().cmdOK_Click();
  std::ostringstream data;
  data << "time/s,Ewe/V,I/A\n";
  for (int j = 0; j <= 2500; ++j) {  // 2.5 s every millisecond, the program's 2 s inside
    const double t = 1e-3 * j, w = 2 * M_PI * 10 * t;
    data << t << ",0.1," << 1e-6 * std::sin(w) + 2e-7 * std::sin(2 * w + 0.4) << "\n";
  }
  Import(folder.Write("ac.csv", data.str()));
  const int slot = model.CurrentCurve;
  ASSERT_TRUE(HoldsMeasuredAc(model, slot));
  const std::vector<double> raw = MeasuredAcRaw(model, slot);
  app.mnuOption_Click();
  app.Option().ComboY.SelectText(GetParam());
  app.Option().cmdOK_Click();
  ASSERT_NE(Curve(model, slot), raw);
  const bool eight = std::string(GetParam()) == "harmonics 1-8";
  ASSERT_EQ(model.CurveCount, eight ? 8 : 1);
  // The second harmonic's envelope, 0.2 uA, in curve 2 of eight or in the curve itself.
  EXPECT_NEAR(model.CurrentY(model.NumberOfPoints / 2, eight ? 2 : slot), 2e-7, 2e-9);
  const std::string saved = Path("ac.qs");
  ASSERT_TRUE(app.SaveSessionTo(saved));

  Reopened next(saved);
  ASSERT_TRUE(next.opened) << next.platform.messages.back();
  Model& m = next.app.model();
  ASSERT_TRUE(HoldsMeasuredAc(m, slot));
  EXPECT_EQ(m.CurveCount, model.CurveCount);
  EXPECT_EQ(Curve(m, 2), Curve(model, 2));
  EXPECT_EQ(Curve(m, slot), Curve(model, slot));
  EXPECT_EQ(MeasuredAcRaw(m, slot), raw);
  next.app.mnuOption_Click();
  next.app.Option().ComboY.SelectText("current I");
  next.app.Option().cmdOK_Click();
  EXPECT_EQ(Curve(m, slot), raw);
  EXPECT_EQ(m.CurveCount, 1);
}

INSTANTIATE_TEST_SUITE_P(Choices, MeasuredAcSession,
                         ::testing::Values("harmonic 2", "harmonics 1-8"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return WordsAsName(info.param);
                         });

// Any text in any box reads back as written.
class SessionText : public SessionTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SessionText, ReadsBackAsWritten) {
  const std::string text = GetParam();
  app.mnuInstrument_Click();
  app.Ins().Noise.SetText(text);
  std::vector<std::string> words = SplitScriptLine("set X " + ScriptWord(text));
  ASSERT_EQ(words.size(), 3u);
  std::string path = Path("text.qs");
  ASSERT_TRUE(app.SaveSessionTo(path));
  Reopened next(path);
  ASSERT_TRUE(next.opened) << next.platform.messages.back();
  EXPECT_EQ(next.app.Ins().Noise.Text(), text);
}

INSTANTIATE_TEST_SUITE_P(AnyText, SessionText,
                         ::testing::Values("", " ", "cv $HOME.txt", "$$", "${x}", "\"", "a \"b\" c",
                                           "\\", "C:\\new\\table.csv", "two\nlines", "cr\r\n",
                                           "tab\there", "\x01\x7f", "µA Größe 電流", "#1",
                                           "1e-6 2e-6", "\"quoted\"", "end\\"),
                         [](const auto& info) {  // the words of the text and its place
                           return "Text" + std::to_string(info.index) + WordsAsName(info.param);
                         });

// A session that tries to do anything beyond restoring state is refused whole, naming the line.
struct Crafted {
  const char* line;
  const char* what;
};

class CraftedSession : public SessionTest, public ::testing::WithParamInterface<Crafted> {};

TEST_P(CraftedSession, ChangesNothingAndNamesTheLine) {
  app.ChooseMenu("mnuSimulate");
  const std::string before = SessionScript(app);
  std::string honest = SessionScript(app);
  size_t at = honest.find("\nfield ");
  ASSERT_NE(at, std::string::npos);
  int line = 1 + static_cast<int>(std::count(honest.begin(), honest.begin() + at + 1, '\n'));
  honest.insert(at + 1, std::string(GetParam().line) + "\n");
  const std::string path = folder.Write("crafted.qs", honest);
  platform.messages.clear();
  EXPECT_FALSE(app.OpenSessionFrom(path));
  ASSERT_EQ(platform.messages.size(), 1u);
  const std::string& message = platform.messages[0];
  EXPECT_EQ(message.rfind("Open Session Error: ", 0), 0u) << message;
  EXPECT_NE(message.find("line " + std::to_string(line) + " (" + GetParam().line + ") " +
                         GetParam().what),
            std::string::npos)
      << message;
  EXPECT_NE(message.find("Nothing of the session was applied"), std::string::npos);
  EXPECT_EQ(SessionScript(app), before);
  EXPECT_FALSE(app.ExitRequested());
  EXPECT_TRUE(platform.printedPictures.empty());
  EXPECT_FALSE(std::ifstream(Path("stolen.csv")).good());
  // No answer was left behind for the user's next dialog.
  app.ChooseMenu("mnuExport");
  EXPECT_FALSE(std::ifstream(Path("stolen.csv")).good());
}

INSTANTIATE_TEST_SUITE_P(Attacks, CraftedSession,
                         ::testing::Values(Crafted{"menu mnuExport", "writes or prints files"},
                                           Crafted{"menu mnuSave_Click", "writes or prints files"},
                                           Crafted{"plot stolen.svg", "writes or prints files"},
                                           Crafted{"answer yes", "answers a dialog"},
                                           Crafted{"menu mnuExit", "exits the program"},
                                           Crafted{"close MDIForm1", "exits the program"},
                                           Crafted{"menu mnuRunScript", "runs a command"},
                                           Crafted{"set FormIns.Estart 9", "runs a command"},
                                           Crafted{"echo hello", "prints what the program holds"}),
                         NameFrom<&Crafted::line>());

// A malformed line anywhere, even the last, leaves everything as it was.
TEST_F(SessionTest, AMalformedLineAppliesNothing) {
  app.ChooseMenu("mnuSimulate");
  const std::string good = SessionScript(app);
  Reopened fresh(Path("none.qs"));
  const std::string untouched = SessionScript(fresh.app);
  for (const char* bad :
       {"value FormIns.Estart", "value FormIns.Nowhere 1", "value FormIns.ComboScan forever",
        "field CurveCount many", "field Nothing 1", "row CurrentY 100001 1", "origin 9 fit x",
        "data 1 2", "session 1", "value FormIns.Estart \"open", "field SpeciesD(99) 1", "hidden 0",
        "selected", "corner 1 0.2", "program p.csv\ncorner 1 0.2",
        "program p.csv\ncorner 2 0\ncorner 1 0", "row CurrentY 1 0 nan", "row PotentialX 2 inf",
        "measured 1 m.csv \"\" \"\" \"\" \"\" \"\"\ndata 0.1 -nan"}) {
    const std::string path = folder.Write("bad.qs", good + bad + "\n");
    EXPECT_FALSE(fresh.app.OpenSessionFrom(path)) << bad;
    EXPECT_NE(fresh.platform.messages.back().find("line "), std::string::npos) << bad;
    EXPECT_EQ(SessionScript(fresh.app), untouched) << bad;
  }
  EXPECT_NE(fresh.platform.messages.back().find("not a finite number: -nan"), std::string::npos)
      << fresh.platform.messages.back();
}

// A giant file is refused before it is read: it took five times its size and a minute before.
TEST_F(SessionTest, AGiantFileIsRefusedUnread) {
  const std::string path = folder.Write("giant.qs", "session 1\nlog \"");
  std::filesystem::resize_file(path, (std::uintmax_t{256} << 20) + 1);  // sparse: no disk used
  EXPECT_FALSE(app.OpenSessionFrom(path));
  EXPECT_EQ(platform.messages, std::vector<std::string>{"Open Session Error: \"" + path +
                                                        "\" is larger than 256 MB."});
}

// A dialog answer is for the command right after it: a leftover never answers a later one.
TEST_F(SessionTest, ADialogAnswerDoesNotOutliveItsCommand) {
  EXPECT_EQ(RunScript("menu mnuSimulate\ndialog " + Path("late.csv") +
                      "\nmenu mnuFindPeak\nmenu mnuExport\n"),
            kExitRan)
      << err.str();
  EXPECT_FALSE(std::ifstream(Path("late.csv")).good());
}

// Run Script asks before a script that writes files, and runs it on Yes (the question, and No
// writing nothing: session_files.qs).
TEST_F(SessionTest, RunScriptRunsAScriptThatWritesFilesOnYes) {
  const std::string script = folder.Write(
      "writes.qs", "menu mnuSimulate\ndialog " + Path("out.csv") + "\nmenu mnuExport\necho done\n");
  platform.QueueConfirmAnswer(true);
  EXPECT_TRUE(app.RunScriptFrom(script));
  EXPECT_EQ(platform.questions.size(), 1u);
  EXPECT_TRUE(std::ifstream(Path("out.csv")).good());
  EXPECT_NE(app.Result().Text().find("done\n"), std::string::npos);
}

TEST_F(SessionTest, UnsavedWorkIsWhatChangedSinceTheLastSaveOrOpen) {
  EXPECT_FALSE(app.HasUnsavedWork());
  app.mnuInstrument_Click();  // opening a window, which applies the forms, is no work
  EXPECT_FALSE(app.HasUnsavedWork());
  app.ChooseMenu("mnuSimulate");
  EXPECT_TRUE(app.HasUnsavedWork());
  ASSERT_TRUE(app.SaveSessionTo(Path("w.qs")));
  EXPECT_FALSE(app.HasUnsavedWork());
  app.Ins().Estart.SetText("0.5");
  EXPECT_TRUE(app.HasUnsavedWork());
  // Open Session asks before it discards that work; No keeps it.
  platform.QueueConfirmAnswer(false);
  ASSERT_EQ(app.ChooseMenu("mnuOpenSession"), MenuOutcome::kDone);
  EXPECT_EQ(app.Ins().Estart.Text(), "0.5");
  EXPECT_EQ(platform.questions.size(), 1u);
}

TEST_F(SessionTest, ASessionRunsAsAScriptWithCommandsAfterIt) {
  app.mnuInstrument_Click();
  app.Ins().Estart.SetText("0.45");
  app.ChooseMenu("mnuSimulate");
  std::istringstream script(SessionScript(app) + "model StartPotential\nget FormIns.Estart\n");
  RecordingPlatform replayPlatform;
  App replay(replayPlatform);
  EXPECT_EQ(ScriptRunner(replay, replayPlatform, out).Run(script, err), kExitRan) << err.str();
  EXPECT_EQ(out.str(), "StartPotential = .45\nFormIns.Estart = 0.45\n");
  EXPECT_EQ(Curve(replay.model(), 1), Curve(model, 1));
}

}  // namespace
}  // namespace qalto
