// The robustness sweep: every text box of every input form gets each text of a list of bad
// input, and then every command that follows runs on it: Simulate, the fits, the peak and
// half-wave finding, the theoretical peak, the transforms, Export and Save. Each case runs
// against a fresh program, as a script of user actions, in a few set-ups of technique,
// electrode and simulation mode that show different boxes. A case passes when the program
// neither crashes nor hangs; under the sanitizers any report ends the sweep with its error.
//
//   qalto_robustness_sweep                 every case
//   qalto_robustness_sweep --every 25      every 25th case (the sample the sanitizer run uses)
//   qalto_robustness_sweep --case 1234     one case, with its script and output printed
//   qalto_robustness_sweep --from 2000     the cases from 2000 on (--to N: those before N)
//   qalto_robustness_sweep --list          the cases, one line each

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/script_runner.h"
#include "ui/recording_platform.h"

namespace {

// The set-ups: each opens the forms and leaves a different choice of boxes reachable.
struct SetUp {
  const char* name;
  const char* script;
};

const SetUp kSetUps[] = {
    {"digital sweep, planar", ""},
    {"analytical cycle, sphere",
     "menu mnuMechamism\nclick FormMech.CheckDigital\nclick FormMech.Command1\n"
     "menu mnuInstrument\nclick FormIns.optElectrode(2)\nselect FormIns.ComboScan cycle\n"},
    {"analytical square wave, EC mechanism, fitted ranges shown",
     "menu mnuTech\nclick FormTech.optTech(5)\nclick FormTech.CmdOK\n"
     "menu mnuMechamism\nclick FormMech.CheckDigital\nclick FormMech.mech(7)\n"
     "click FormMech.Command1\nmenu mnuExperimental\nclick FormExpr.CheckFitted(11)\n"
     "click FormExpr.CheckFitted(41)\n"},
    {"digital DC at a rotating disk, preconcentration",
     "menu mnuTech\nclick FormTech.optTech(2)\nclick FormTech.CmdOK\n"
     "menu mnuInstrument\nclick FormIns.optElectrode(8)\ncheck FormIns.CheckPreCon on\n"},
    {"digital differential pulse, band",
     "menu mnuTech\nclick FormTech.optTech(4)\nclick FormTech.CmdOK\n"
     "menu mnuInstrument\nclick FormIns.optElectrode(10)\n"},
};

// Every form that holds text boxes, opened by its menu command (the display options once a
// curve exists).
const char* const kOpenForms =
    "menu mnuSimulate\nmenu mnuOption\nmenu mnuInstrument\nmenu mnuExperimental\n"
    "menu mnuMechamism\n";

// The bad texts; 10 kB of digits: a number far too large.
const std::string kManyDigits(10240, '9');
const std::string kBadTexts[] = {"\"\"", "\"   \"", "abc", "1e999", "-1e308",   "1e-400",
                                 "NaN",  "inf",     "1,5", "1.5.5", kManyDigits};

// What follows the bad text: every command that reads the forms or the curve.
const char* const kCommands =
    "menu mnuSimulate\nmenu mnuFindPeak\nmenu mnuFindHalfwaveE\nmenu mnuTheoPeak\n"
    "menu mnuSemi\nmenu mnuSemiInte\nmenu mnuDerivative\nmenu mnuIntegral\nmenu mnuLog\n"
    "menu mnu10X\nmenu mnuMinusY\nmenu mnuMinusX\nmenu mnuNextCurve\nmenu mnuPlot\n"
    "dialog sweep.csv\nmenu mnuExport\ndialog sweep.par\nmenu mnuSave\n"
    "dialog sweep.qs\nmenu mnuSaveSession\ndialog sweep.qs\nmenu mnuOpenSession\n"
    "menu mnuManualFit\nmenu mnuAutoFit\nmenu mnuAutoSeparate\nmenu mnuTime\n";

struct Case {
  int setUp;
  std::string box;  // the full name, "FormIns.Estart"
  std::string text;
};

// A fresh program driven by script lines.
struct Session {
  qalto::RecordingPlatform platform;
  qalto::App app{platform};
  std::ostringstream out, err;
  qalto::ScriptRunner runner{app, platform, out};
  int Run(const std::string& script) {
    std::istringstream lines(script);
    return runner.Run(lines, err);
  }
};

std::string RunScript(const std::string& script, bool echo) {
  Session session;
  std::istringstream lines(script);
  std::string line;
  // One line at a time: a line the user could not perform (a hidden box, a disabled command)
  // is skipped, and the rest still runs.
  while (std::getline(lines, line))
    session.Run(line + "\n");
  if (echo) std::cout << session.out.str() << session.err.str();
  return session.out.str();
}

// The text boxes of the forms that a user can type into after the set-up.
std::vector<std::string> ReachableBoxes(int setUp) {
  Session session;
  session.Run(std::string(kSetUps[setUp].script) + kOpenForms);
  std::vector<std::string> boxes;
  for (const char* formName : {"FormIns", "FormExpr", "FormMech", "formOption"}) {
    for (qalto::Control* control : session.app.FindForm(formName)->Controls()) {
      if (control->Kind() != qalto::ControlKind::kTextBox) continue;
      std::string name = std::string(formName) + "." + control->FullName();
      // Whether the user reaches it: the runner refuses a box that is hidden, disabled or locked.
      if (session.Run("set " + name + " 0\n") == 0) boxes.push_back(name);
    }
  }
  return boxes;
}

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  for (int s = 0; s < static_cast<int>(std::size(kSetUps)); ++s)
    for (const std::string& box : ReachableBoxes(s))
      for (const std::string& text : kBadTexts)
        cases.push_back({s, box, text});
  return cases;
}

std::string CaseScript(const Case& c) {
  return std::string(kSetUps[c.setUp].script) + kOpenForms + "set " + c.box + " " + c.text + "\n" +
         kCommands;
}

std::string Describe(size_t index, const Case& c) {
  std::string text = c.text.size() > 20 ? c.text.substr(0, 8) + "... (" +
                                              std::to_string(c.text.size()) + " characters)"
                                        : c.text;
  return "case " + std::to_string(index) + ": " + kSetUps[c.setUp].name + "; " + c.box + " = " +
         text;
}

// The case running now, for the message of a case that hangs.
char currentCase[256] = "";

void OnAlarm(int) {
  const char hang[] = "robustness sweep: no end within the time limit: ";
  ssize_t ignored = ::write(2, hang, sizeof hang - 1);
  ignored = ::write(2, currentCase, std::strlen(currentCase));
  ignored = ::write(2, "\n", 1);
  (void)ignored;
  std::_Exit(3);
}

}  // namespace

int main(int argc, char** argv) {
  size_t every = 1;
  long single = -1;
  size_t from = 0;
  size_t to = static_cast<size_t>(-1);
  bool list = false;
  unsigned timeLimit = 300;  // seconds a case may take, with room for sanitizers and a fit
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--every" && i + 1 < argc) {
      every = std::max(1L, std::atol(argv[++i]));
    } else if (arg == "--case" && i + 1 < argc) {
      single = std::atol(argv[++i]);
    } else if (arg == "--from" && i + 1 < argc) {
      from = static_cast<size_t>(std::max(0L, std::atol(argv[++i])));
    } else if (arg == "--to" && i + 1 < argc) {
      to = static_cast<size_t>(std::max(0L, std::atol(argv[++i])));
    } else if (arg == "--time-limit" && i + 1 < argc) {
      timeLimit = static_cast<unsigned>(std::atol(argv[++i]));
    } else if (arg == "--list") {
      list = true;
    } else {
      std::cerr << "usage: qalto_robustness_sweep [--every N | --case I | --list] "
                   "[--from I] [--to I] [--time-limit SECONDS]\n";
      return 2;
    }
  }
  // The files that Export and Save write go to a scratch folder.
  std::filesystem::path scratch =
      std::filesystem::temp_directory_path() / ("qalto_sweep_" + std::to_string(::getpid()));
  std::filesystem::create_directories(scratch);
  std::filesystem::current_path(scratch);
  std::signal(SIGALRM, OnAlarm);

  std::vector<Case> cases = AllCases();
  size_t ran = 0;
  for (size_t i = 0; i < cases.size(); ++i) {
    if (single >= 0 ? i != static_cast<size_t>(single) : i % every != 0 || i < from || i >= to)
      continue;
    std::string description = Describe(i, cases[i]);
    if (list) {
      std::cout << description << "\n";
      continue;
    }
    std::snprintf(currentCase, sizeof currentCase, "%s", description.c_str());
    if (single >= 0) std::cout << description << "\n" << CaseScript(cases[i]) << "----\n";
    ::alarm(timeLimit);
    RunScript(CaseScript(cases[i]), single >= 0);
    ::alarm(0);
    ++ran;
    if (ran % 100 == 0) std::cerr << "robustness sweep: " << description << "\n";
  }
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  std::filesystem::remove_all(scratch);
  if (!list)
    std::cout << "robustness sweep: " << ran << " of " << cases.size()
              << " cases ran to their end\n";
  return 0;
}
