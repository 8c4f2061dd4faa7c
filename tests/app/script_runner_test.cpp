#include "app/script_runner.h"
#include "app/script_words.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qalto {
namespace {

struct ScriptResult {
  int status;
  std::string out;
  std::string err;
};

ScriptResult RunScript(const std::string& script) {
  RecordingPlatform platform;
  platform.SetClock(0);
  App app(platform);
  std::ostringstream out, err;
  ScriptRunner runner(app, platform, out);
  std::istringstream in(script);
  int status = runner.Run(in, err);
  return {status, out.str(), err.str()};
}

TEST(SplitScriptLine, BlanksSeparateAndQuotesHoldBlanks) {
  EXPECT_EQ(SplitScriptLine("set  FormIns.Estart\t0.3"),
            (std::vector<std::string>{"set", "FormIns.Estart", "0.3"}));
  EXPECT_EQ(SplitScriptLine("select FormIns.ComboScan \"2 cycles\""),
            (std::vector<std::string>{"select", "FormIns.ComboScan", "2 cycles"}));
  EXPECT_EQ(SplitScriptLine("set FormIns.Noise \"\""),
            (std::vector<std::string>{"set", "FormIns.Noise", ""}));
  EXPECT_TRUE(SplitScriptLine("   ").empty());
}

TEST(ScriptRunner, EveryLineEndEndsALine) {
  // Line feeds, carriage return and line feed, and lone carriage returns (an old Mac editor's):
  // the same lines, numbered alike. A lone carriage return used to run the whole script together
  // into its first line, so that a script opening with a comment did nothing with status 0.
  for (const char* end : {"\n", "\r\n", "\r"}) {
    SCOPED_TRACE(::testing::PrintToString(end));
    const std::string e = end;
    ScriptResult result = RunScript("# a comment" + e + "menu mnuSimulate" + e +
                                    "model NumberOfPoints" + e + e + "echo \"a\\rb\"" + e + "jump");
    EXPECT_EQ(result.status, kExitScriptLine);
    EXPECT_EQ(result.out, "NumberOfPoints = 121\na\rb\n");
    EXPECT_EQ(result.err, "line 6: unknown action: jump\n");
  }
  std::istringstream lines("a\r\rb\r\nc");
  std::vector<std::string> read;
  for (std::string line; ReadScriptLine(lines, line);)
    read.push_back(line);
  EXPECT_EQ(read, (std::vector<std::string>{"a", "", "b", "c"}));
}

TEST(ScriptRunner, RefusesWhatAUserCannotDo) {
  const std::pair<const char*, const char*> cases[] = {
      // the script, the start of the error
      {"set FormIns.Estart 1\n", "line 1: FormIns is not shown"},
      {"menu mnuInstrument\nset FormIns.radius 1\n", "line 2: FormIns.radius cannot be reached"},
      {"menu mnuMechamism\nclick FormMech.CheckDigital\nclick FormMech.Command1\nmenu "
       "mnuInstrument\nclick FormIns.optElectrode(5)\n",
       "line 5: FormIns.optElectrode(5) cannot be reached"},
      {"menu mnuTime\n", "line 1: menu command mnuTime is disabled"},
      // Theoretical Peak is for the analytical models; the program starts digital.
      {"menu mnuTheoPeak\n", "line 1: menu command mnuTheoPeak is disabled"},
      {"menu mnuFly\n", "line 1: no menu command mnuFly"},
      {"jump\n", "line 1: unknown action: jump"},
      {"get FormIns.Nothing\n", "line 1: unknown control: FormIns.Nothing"},
      {"model Nothing\n", "line 1: no model field Nothing"},
      {"model PotentialX(100001)\n", "line 1: Subscript out of range"},
      {"menu mnuMechamism\nset FormMech.mech(2) x\n", "line 2: FormMech.mech(2) cannot be reached"},
      {"menu mnuInstrument\nselect FormIns.ComboScan forever\n",
       "line 2: FormIns.ComboScan has no item forever"},
      {"close FormIns\n", "line 1: FormIns is not shown"},
      {"plot x.svg\n", "line 1: nothing has been drawn"},
      {"echo \"open\n", "line 1: unterminated quote"},
  };
  for (const auto& [script, reason] : cases) {
    SCOPED_TRACE(script);
    ScriptResult run = RunScript(script);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind(reason, 0), 0u) << run.err;
  }
}

// The first failure sets the status and is named with its line on standard error (the message
// boxes as printed: limits.qs; messages of runs that exit 0: import_data.qs, overflows.qs).
TEST(ScriptRunner, FailuresSetTheStatusAndNameTheirLine) {
  ScriptResult run = RunScript("menu mnuInstrument\nset FormIns.Estep 0\nmenu mnuSimulate\n");
  EXPECT_EQ(run.status, kExitComputation);
  EXPECT_EQ(run.err,
            "line 3: Digital simulation Error: Division by zero: E step (V) is 0! Please try "
            "again by other initial values.\n");
  run = RunScript("dialog absent.csv\nmenu mnuImport\nmenu mnuSimulate\n");
  EXPECT_EQ(run.status, kExitImport);
  EXPECT_EQ(run.err, "line 2: ReadData Error: File not found: \"absent.csv\"\n");
  EXPECT_EQ(StatusOfMessage("Error: inverse matrix D=0"), kExitComputation);
  EXPECT_EQ(StatusOfMessage("Run-time error: Overflow"), kExitComputation);
}

TEST(ScriptRunner, ExitEndsTheScript) {
  ScriptResult run = RunScript("echo one\nmenu mnuExit\necho two\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "one\n");
}

}  // namespace
}  // namespace qalto
