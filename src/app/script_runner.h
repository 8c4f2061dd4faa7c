#pragma once
// The qalto-batch script runner: a script of user actions, one per line, run against App as a
// person would perform them with mouse and keyboard. Message boxes are printed as
// "MessageBox: <text>" lines the moment they are shown.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "app/app.h"
#include "ui/recording_platform.h"

namespace qalto {

class ScriptRunner {
 public:
  // The platform must be the one App was built with; the runner answers its dialogs and
  // prints its message boxes.
  ScriptRunner(App& app, RecordingPlatform& platform, std::ostream& out);

  // Runs the script to its end or to the first line that cannot run. Returns the exit status:
  // 0 when every line ran, 2 after writing "line N: <reason>" to err.
  int Run(std::istream& script, std::ostream& err);

  // Writes the plot window as last drawn to an .svg or .png file; returns an error text, empty
  // on success. Without a writer the plot action answers that nothing has been drawn.
  std::function<std::string(const std::string& path)> plotWriter;

 private:
  void RunLine(const std::vector<std::string>& words);
  void Act(const std::vector<std::string>& words);
  void Read(const std::vector<std::string>& words);
  void Menu(const std::string& handler);
  void Activate(const std::string& formName);
  void Close(const std::string& formName);
  void PrintModelField(const std::string& reference);
  void PrintCurves();
  void Plot(const std::string& path);

  App& app_;
  RecordingPlatform& platform_;
  std::ostream& out_;
};

// What `get` prints for the control: a text box's text, a list's chosen item, "on" or "off" for
// check and option buttons, a caption otherwise.
std::string ControlValue(const Control& control);
// The control can be reached by the user: it and every frame around it are visible and enabled.
bool Reachable(const Form& form, const Control& control);

// Splits a script line into words: blanks separate, double quotes hold a word with blanks.
std::vector<std::string> SplitScriptLine(const std::string& line);

}  // namespace qalto
