#pragma once
// A session read from its file and checked whole before anything of it is applied: the values
// of every form, the model with its curves, what put each curve there, the imported data the
// session embeds, the result window's text, the windows shown, the curves hidden and chosen in
// the curve list, the potential program's file and the last fit. Reading it changes nothing;
// App::RestoreSession applies it.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/curve_origin.h"
#include "app/fit_table.h"
#include "files/column_heading.h"
#include "files/imported_curve.h"
#include "model/model.h"
#include "model/potential_program.h"
#include "ui/form.h"

namespace qalto {

class App;

// A line of a session that cannot be taken: "line 12: ..." with the reason.
class SessionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where a form's window stands in the main window, in pixels.
struct WindowPlace {
  int x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const WindowPlace&, const WindowPlace&) = default;
};

struct SessionValue {
  Control* control = nullptr;
  std::string value;     // as `get` prints it: a text, a list item, on or off
  bool caption = false;  // the value is the caption the control shows (a label line)
};

struct SessionState {
  std::vector<SessionValue> values;  // values and captions, in the order they were written
  std::unique_ptr<Model> model = std::make_unique<Model>();
  CurveOrigins origins;
  std::vector<std::optional<ImportedCurve>> measured =
      std::vector<std::optional<ImportedCurve>>(kMaxCurves + 1);
  ImportedFile file;  // the Import window's file; no curves when nothing was imported
  int cycleIndex = -1;
  ColumnChoice columns;
  std::string dataFile;
  int importSlot = 1;
  bool curveFailed = false;
  std::string log;
  std::map<std::string, std::string> captions;  // form name: caption
  std::vector<std::string> shown;               // forms whose windows are shown
  std::map<std::string, WindowPlace> places;
  std::vector<std::string> enabledMenus;
  std::vector<int> hidden;    // curves the plot leaves out
  std::vector<int> selected;  // curves chosen in the curve list; empty: the active one
  std::optional<PotentialProgram> programFile;  // the Potential program window's E(t) rows
  std::vector<FitBounds> fitBounds;             // the last fit's ranges (its result: the model)
};

// Whether a line's first word is one of a session's (the lines that restore state).
bool IsSessionAction(const std::string& action);

// Takes the lines of a session one by one, as words (parameters expanded, quotes undone).
class SessionReader {
 public:
  explicit SessionReader(App& app) : app_(app) {}
  // Raises SessionError naming the line when the line is not a session line or is malformed.
  void Take(int lineNumber, const std::vector<std::string>& words);
  // The whole session; raises SessionError when it is incomplete.
  SessionState Finish();

 private:
  void TakeValue(const std::vector<std::string>& words);
  void TakeField(const std::vector<std::string>& words);
  void TakeRow(const std::vector<std::string>& words);
  void TakeOrigin(const std::vector<std::string>& words);
  void TakeImport(const std::vector<std::string>& words);
  void TakeMeasured(const std::vector<std::string>& words);
  void TakeData(const std::vector<std::string>& words);
  void TakeWindow(const std::vector<std::string>& words);
  void TakeCurveList(const std::vector<std::string>& words);
  void TakeProgram(const std::vector<std::string>& words);
  void TakeCorner(const std::vector<std::string>& words);
  void TakeFit(const std::vector<std::string>& words);

  App& app_;
  SessionState state_;
  bool started_ = false;
  ImportedCurve* measured_ = nullptr;  // the curve that `data` lines fill
  bool programOpen_ = false;           // `corner` lines fill the program file
  int lineNumber_ = 0;
};

// Reads a whole session text: only session lines (and comments) are taken; any other line is
// refused with a message naming it and what it would do. Nothing is applied.
SessionState ReadSessionText(App& app, const std::string& text);

// What a line that is not part of a session would do, for the refusal: "writes or prints
// files", "answers a file dialog", "exits the program", "runs a command".
std::string WhatTheLineDoes(const std::vector<std::string>& words);

}  // namespace qalto
