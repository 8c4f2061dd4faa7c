#pragma once
// The qalto-batch script runner: a script of user actions, one per line, run against App as a
// person would perform them with mouse and keyboard. Message boxes are printed as
// "MessageBox: <text>" lines the moment they are shown. A line may refer to parameters
// ($name, ${name}) whose values the run supplies.

#include <functional>
#include <iosfwd>
#include <set>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/script_parameters.h"
#include "ui/recording_platform.h"

namespace qalto {

// Exit statuses of qalto-batch.
inline constexpr int kExitRan = 0;          // every line ran and no computation failed
inline constexpr int kExitCommandLine = 1;  // bad command line, manifest, task or output file
inline constexpr int kExitScriptLine = 2;   // a line could not run; the script stopped there
inline constexpr int kExitComputation = 3;  // a simulation, fit or other computation failed
inline constexpr int kExitImport = 4;       // a data import failed

class ScriptRunner {
 public:
  // The platform must be the one App was built with; the runner answers its dialogs and
  // prints its message boxes.
  ScriptRunner(App& app, RecordingPlatform& platform, std::ostream& out);

  // Runs the script to its end or to the first line that cannot run. Returns the exit status:
  // kExitScriptLine after writing "line N: <reason>" to err; else the status of the first
  // failure a message box reported (kExitComputation, kExitImport), its text also written to err
  // as "line N: <text>"; else kExitRan.
  int Run(std::istream& script, std::ostream& err);

  // Puts a value into a control before the script runs, as "Form.Control(i)": a text box takes
  // the text, a check box or option button "on" or "off", a list the item. Its change handler
  // runs as for a typed change. Returns an error text, empty on success.
  std::string Override(const std::string& control, const std::string& value);

  // The values of $name references, and the names the script referred to.
  ScriptParameters parameters;
  const std::set<std::string>& UsedParameters() const { return usedParameters_; }
  // The number of the line running or last run, from 1.
  int LineNumber() const { return lineNumber_; }
  // Every message box text shown, in order.
  const std::vector<std::string>& Messages() const { return messages_; }
  // What Run wrote to err: the line that stopped the script, else the first failure shown;
  // empty when the run succeeded.
  const std::string& Error() const { return stopReason_.empty() ? failureText_ : stopReason_; }

  // Writes the plot window as last drawn to an .svg or .png file; returns an error text, empty
  // on success. Without a writer the plot action answers that nothing has been drawn.
  std::function<std::string(const std::string& path)> plotWriter;

 private:
  std::vector<std::string> Words(const std::string& line);
  size_t RunSession(const std::vector<std::string>& lines, size_t first);
  void RunLine(const std::vector<std::string>& words);
  void Act(const std::vector<std::string>& words);
  void Read(const std::vector<std::string>& words);
  void Menu(const std::string& handler);
  void Activate(const std::string& formName);
  void Close(const std::string& formName);
  void PrintModelField(const std::string& reference);
  void PrintCurves();
  void Plot(const std::string& path);

  void NoteMessage(const std::string& text);
  // Runs the event of an action; typing says it changes a text box.
  void GuardTyping(bool typing, const std::function<void()>& event);

  App& app_;
  RecordingPlatform& platform_;
  std::ostream& out_;
  std::set<std::string> usedParameters_;
  std::vector<std::string> messages_;
  std::string stopReason_;
  int lineNumber_ = 0;
  int failureStatus_ = kExitRan;
  std::string failureText_;
  // A text box is being changed: its change handler's messages (a derived field beyond the
  // number range) are notices, since no computation of the run failed.
  bool typing_ = false;
};

// What `get` prints for the control: a text box's text, a list's chosen item, "on" or "off" for
// check and option buttons, a caption otherwise.
std::string ControlValue(const Control& control);

// The exit status that a message box text reports: kExitImport for a failed import,
// kExitComputation for a failed simulation, fit or other computation, kExitRan for notices.
int StatusOfMessage(const std::string& text);

}  // namespace qalto
