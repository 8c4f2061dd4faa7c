#include "app/script_runner.h"

#include "app/script_words.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <stdexcept>

#include "app/invisible_characters.h"
#include "common/plain_number.h"
#include "model/model_fields.h"

namespace qalto {
namespace {

// A line that cannot run; the script stops there.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ControlReference {
  Form* form = nullptr;
  Control* control = nullptr;
};

std::string Escaped(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\n') {
      escaped += "\\n";
    } else if (c != '\r') {
      escaped += c;
    }
  }
  return escaped;
}

// "Name(3)" or "Name(3,4)" into the name and its indexes.
std::string SplitIndexes(const std::string& text, std::vector<int>& indexes) {
  size_t open = text.find('(');
  if (open == std::string::npos) return text;
  if (text.back() != ')') throw ScriptError("malformed index in " + text);
  std::string inside = text.substr(open + 1, text.size() - open - 2);
  size_t start = 0;
  while (start <= inside.size()) {
    size_t comma = inside.find(',', start);
    std::string part =
        inside.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    try {
      size_t used = 0;
      indexes.push_back(std::stoi(part, &used));
      if (used != part.size()) throw std::invalid_argument(part);
    } catch (const std::logic_error&) {
      throw ScriptError("malformed index in " + text);
    }
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return text.substr(0, open);
}

bool HasCaption(const Control& control) {
  return control.Kind() != ControlKind::kTextBox && control.Kind() != ControlKind::kComboBox;
}

}  // namespace

std::string ControlValue(const Control& control) {
  switch (control.Kind()) {
    case ControlKind::kTextBox:
      return static_cast<const TextBox&>(control).Text();
    case ControlKind::kComboBox:
      return static_cast<const ComboBox&>(control).Text();
    case ControlKind::kCheckBox:
      return static_cast<const CheckBox&>(control).Checked() ? "on" : "off";
    case ControlKind::kOptionButton:
      return static_cast<const OptionButton&>(control).Selected() ? "on" : "off";
    default:
      return static_cast<const CaptionedControl&>(control).Caption();
  }
}

int StatusOfMessage(const std::string& text) {
  auto startsWith = [&text](const char* start) { return text.rfind(start, 0) == 0; };
  if (startsWith("ReadData Error: ") || startsWith("Open Session Error: ")) return kExitImport;
  // A value whose consequence lies beyond the number range (an electrode area, Keq, nFv/RT, a
  // noisy curve) is refused with its box named, as a form limit is: a notice, not a failure.
  if (text.find(" beyond the number range") != std::string::npos) return kExitRan;
  if (text.find("simulation Error: ") != std::string::npos || startsWith("Run-time error: ") ||
      startsWith("Input Error: ") || startsWith("Error: inverse matrix")) {
    return kExitComputation;
  }
  return kExitRan;
}

ScriptRunner::ScriptRunner(App& app, RecordingPlatform& platform, std::ostream& out)
    : app_(app), platform_(platform), out_(out) {
  platform_.messageSink = [this](const std::string& text) {
    out_ << "MessageBox: " << Escaped(text) << "\n";
    NoteMessage(text);
  };
  platform_.questionSink = [this](const std::string& question, bool yes) {
    out_ << "Question: " << Escaped(question) << " " << (yes ? "Yes" : "No") << "\n";
  };
}

void ScriptRunner::NoteMessage(const std::string& text) {
  messages_.push_back(text);
  int status = typing_ ? kExitRan : StatusOfMessage(text);
  if (status == kExitRan || failureStatus_ != kExitRan) return;
  failureStatus_ = status;
  std::string where =
      lineNumber_ == 0 ? "before the script" : "line " + std::to_string(lineNumber_);
  failureText_ = where + ": " + Escaped(text);
}

int ScriptRunner::Run(std::istream& script, std::ostream& err) {
  std::vector<std::string> lines;
  for (std::string line; ReadScriptLine(script, line);)
    lines.push_back(std::move(line));
  lineNumber_ = 0;
  auto stop = [&](const std::string& line, const std::string& reason) {
    out_.flush();
    // A character that does not show is the likeliest reason a line that looks right fails.
    std::string shown =
        line.empty() || line.back() != '\r' ? line : line.substr(0, line.size() - 1);
    stopReason_ =
        "line " + std::to_string(lineNumber_) + ": " + reason + InvisibleCharactersNote(shown);
    err << stopReason_ << "\n";
    platform_.DropAnswers();
    return kExitScriptLine;
  };
  for (size_t next = 0; next < lines.size();) {
    std::string line = lines[next++];
    ++lineNumber_;
    // An editor saving UTF-8 may put a byte-order mark in front of the first line.
    if (lineNumber_ == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    if (IsCommentLine(line)) continue;
    try {
      std::vector<std::string> words = Words(line);
      if (words.empty()) continue;
      if (words[0] == "session") {
        next = RunSession(lines, next - 1);
      } else {
        RunLine(words);
      }
      // An answer is for the command that follows it; one that command left unused is dropped.
      if (words[0] != "dialog" && words[0] != "answer") platform_.DropAnswers();
    } catch (const ParameterError& error) {
      return stop(line, error.what());
    } catch (const ScriptError& error) {
      return stop(line, error.what());
    } catch (const ScriptSyntaxError& error) {
      return stop(line, error.what());
    } catch (const SessionError& error) {
      lineNumber_ = 0;  // the session's message names its line
      stopReason_ = error.what();
      out_.flush();
      err << stopReason_ << "\n";
      platform_.DropAnswers();
      return kExitScriptLine;
    } catch (const RuntimeError& error) {
      return stop(line, error.Description());
    }
    if (app_.ExitRequested()) break;
  }
  platform_.DropAnswers();
  out_.flush();
  if (failureStatus_ != kExitRan) err << failureText_ << "\n";
  return failureStatus_;
}

std::vector<std::string> ScriptRunner::Words(const std::string& line) {
  return SplitScriptLine(ExpandParameters(line, parameters, usedParameters_));
}

// The session that starts at lines[first]: its lines up to the first one that is not a
// session's, read whole and checked, then applied. The index of the line after it.
size_t ScriptRunner::RunSession(const std::vector<std::string>& lines, size_t first) {
  SessionReader reader(app_);
  size_t next = first;
  for (; next < lines.size(); ++next) {
    int number = static_cast<int>(next) + 1;
    if (IsCommentLine(lines[next])) continue;
    std::vector<std::string> words;
    try {
      words = Words(lines[next]);
    } catch (const std::exception& error) {
      throw SessionError("line " + std::to_string(number) + ": " + error.what());
    }
    if (words.empty()) continue;
    if (next > first && (words[0] == "session" || !IsSessionAction(words[0]))) break;
    reader.Take(number, words);
  }
  SessionState state = reader.Finish();
  app_.RestoreSession(std::move(state));
  lineNumber_ = static_cast<int>(next);
  return next;
}

namespace {

ControlReference Resolve(App& app, const std::string& text) {
  size_t dot = text.find('.');
  if (dot == std::string::npos) throw ScriptError("not a control: " + text);
  Form* form = app.FindForm(text.substr(0, dot));
  if (form == nullptr) throw ScriptError("unknown form: " + text.substr(0, dot));
  std::vector<int> indexes;
  std::string name = SplitIndexes(text.substr(dot + 1), indexes);
  if (indexes.size() > 1) throw ScriptError("a control has one index: " + text);
  Control* control = form->Find(name, indexes.empty() ? kNoIndex : indexes[0]);
  if (control == nullptr) throw ScriptError("unknown control: " + text);
  return {form, control};
}

std::string Rest(const std::vector<std::string>& words, size_t from) {
  std::string text;
  for (size_t i = from; i < words.size(); ++i) {
    if (i > from) text += ' ';
    text += words[i];
  }
  return text;
}

void ExpectWords(const std::vector<std::string>& words, size_t count) {
  if (words.size() != count) throw ScriptError("wrong number of words for " + words[0]);
}

}  // namespace

void ScriptRunner::RunLine(const std::vector<std::string>& words) {
  const std::string& action = words[0];
  if (action == "set" || action == "click" || action == "check" || action == "select") {
    Act(words);
  } else if (action == "get" || action == "caption") {
    Read(words);
  } else if (action == "menu") {
    ExpectWords(words, 2);
    Menu(words[1]);
  } else if (action == "activate") {
    ExpectWords(words, 2);
    Activate(words[1]);
  } else if (action == "close") {
    ExpectWords(words, 2);
    Close(words[1]);
  } else if (action == "dialog") {
    ExpectWords(words, 2);
    platform_.QueueDialogAnswer(words[1] == "cancel" ? std::nullopt
                                                     : std::optional<std::string>(words[1]));
  } else if (action == "answer") {
    ExpectWords(words, 2);
    if (words[1] != "yes" && words[1] != "no") throw ScriptError("answer takes yes or no");
    platform_.QueueConfirmAnswer(words[1] == "yes");
  } else if (action == "model") {
    ExpectWords(words, 2);
    PrintModelField(words[1]);
  } else if (action == "result") {
    out_ << app_.Result().Text();
  } else if (action == "curves") {
    PrintCurves();
  } else if (action == "plot") {
    ExpectWords(words, 2);
    Plot(words[1]);
  } else if (action == "echo") {
    out_ << Rest(words, 1) << "\n";
  } else if (IsSessionAction(action)) {
    throw ScriptError(action + " belongs to a session, after its line: session 1");
  } else {
    throw ScriptError("unknown action: " + action);
  }
}

void ScriptRunner::Act(const std::vector<std::string>& words) {
  const std::string& action = words[0];
  if (words.size() < 2) throw ScriptError(action + " needs a control");
  ControlReference ref = Resolve(app_, words[1]);
  if (!ref.form->Shown()) throw ScriptError(ref.form->Name() + " is not shown");
  if (!Reachable(*ref.form, *ref.control)) {
    throw ScriptError(words[1] + " cannot be reached (hidden or disabled)");
  }
  Control& control = *ref.control;
  std::function<void()> event;
  if (action == "set") {
    if (control.Kind() != ControlKind::kTextBox) throw ScriptError(words[1] + " is no text box");
    auto& box = static_cast<TextBox&>(control);
    if (box.Locked()) throw ScriptError(words[1] + " cannot be edited");
    std::string text = Rest(words, 2);
    event = [&box, text] { box.SetText(text); };
  } else if (action == "click") {
    ExpectWords(words, 2);
    if (control.Kind() == ControlKind::kButton) {
      event = [&control] { static_cast<Button&>(control).Click(); };
    } else if (control.Kind() == ControlKind::kCheckBox) {
      event = [&control] { static_cast<CheckBox&>(control).Click(); };
    } else if (control.Kind() == ControlKind::kOptionButton) {
      event = [&control] { static_cast<OptionButton&>(control).Click(); };
    } else {
      throw ScriptError(words[1] + " cannot be clicked");
    }
  } else if (action == "check") {
    ExpectWords(words, 3);
    if (control.Kind() != ControlKind::kCheckBox) throw ScriptError(words[1] + " is no check box");
    if (words[2] != "on" && words[2] != "off") throw ScriptError("check takes on or off");
    bool on = words[2] == "on";
    event = [&control, on] { static_cast<CheckBox&>(control).SetChecked(on); };
  } else {
    if (control.Kind() != ControlKind::kComboBox) throw ScriptError(words[1] + " is no list");
    auto& list = static_cast<ComboBox&>(control);
    std::string item = Rest(words, 2);
    bool known = false;
    for (const std::string& entry : list.Items())
      known = known || entry == item;
    if (!known) throw ScriptError(words[1] + " has no item " + item);
    event = [&list, item] { list.SelectText(item); };
  }
  // Clicking into a window that is not the active one activates it first.
  Form& form = *ref.form;
  if (app_.ActiveForm() != &form) app_.ActivateForm(form);
  GuardTyping(action == "set", event);
}

void ScriptRunner::GuardTyping(bool typing, const std::function<void()>& event) {
  typing_ = typing;
  app_.Guard(event);
  typing_ = false;
}

std::string ScriptRunner::Override(const std::string& reference, const std::string& value) {
  try {
    Control& control = *Resolve(app_, reference).control;
    std::function<void()> event;
    if (control.Kind() == ControlKind::kTextBox) {
      event = [&control, value] { static_cast<TextBox&>(control).SetText(value); };
    } else if (control.Kind() == ControlKind::kComboBox) {
      auto& list = static_cast<ComboBox&>(control);
      const std::vector<std::string>& items = list.Items();
      if (std::find(items.begin(), items.end(), value) == items.end()) {
        return reference + " has no item " + value;
      }
      event = [&list, value] { list.SelectText(value); };
    } else if (control.Kind() == ControlKind::kCheckBox ||
               control.Kind() == ControlKind::kOptionButton) {
      if (value != "on" && value != "off") return reference + " takes on or off";
      bool on = value == "on";
      if (control.Kind() == ControlKind::kCheckBox) {
        event = [&control, on] { static_cast<CheckBox&>(control).SetChecked(on); };
      } else if (on) {
        event = [&control] { static_cast<OptionButton&>(control).Click(); };
      } else {
        return reference + ": an option button is set by choosing another one of its group";
      }
    } else {
      return reference + " holds no value";
    }
    GuardTyping(control.Kind() == ControlKind::kTextBox, event);
  } catch (const ScriptError& error) {
    return error.what();
  }
  return "";
}

void ScriptRunner::Read(const std::vector<std::string>& words) {
  ExpectWords(words, 2);
  const std::string& target = words[1];
  if (words[0] == "caption" && target.find('.') == std::string::npos) {
    if (target == "MDIForm1") {
      out_ << target << " = " << kAppTitle << "\n";
      return;
    }
    Form* form = app_.FindForm(target);
    if (form == nullptr) throw ScriptError("unknown form: " + target);
    out_ << target << " = " << form->Caption() << "\n";
    return;
  }
  ControlReference ref = Resolve(app_, target);
  const Control& control = *ref.control;
  if (words[0] == "caption") {
    if (!HasCaption(control)) throw ScriptError(target + " has no caption");
    out_ << target << " = " << static_cast<const CaptionedControl&>(control).Caption() << "\n";
    return;
  }
  out_ << target << " = " << ControlValue(control);
  if (!control.Visible()) out_ << " (hidden)";
  if (!control.Enabled()) out_ << " (disabled)";
  out_ << "\n";
}

void ScriptRunner::Menu(const std::string& handler) {
  switch (app_.ChooseMenu(handler)) {
    case MenuOutcome::kDone:
      return;
    case MenuOutcome::kUnknown:
      throw ScriptError("no menu command " + handler);
    case MenuOutcome::kDisabled:
      throw ScriptError("menu command " + handler + " is disabled");
    case MenuOutcome::kNotAvailable:
      throw ScriptError("menu command " + handler + " is not available in this version");
  }
}

void ScriptRunner::Activate(const std::string& formName) {
  if (formName == "MDIForm1") {
    app_.ActivateMainWindow();
    return;
  }
  Form* form = app_.FindForm(formName);
  if (form == nullptr) throw ScriptError("unknown form: " + formName);
  if (!form->Shown()) throw ScriptError(formName + " is not shown");
  app_.ActivateForm(*form);
}

void ScriptRunner::Close(const std::string& formName) {
  if (formName == "MDIForm1") {
    app_.mnuExit_Click();
    return;
  }
  Form* form = app_.FindForm(formName);
  if (form == nullptr) throw ScriptError("unknown form: " + formName);
  if (!form->Shown()) throw ScriptError(formName + " is not shown");
  app_.CloseForm(*form);
}

void ScriptRunner::PrintModelField(const std::string& reference) {
  std::vector<int> indexes;
  std::string name = SplitIndexes(reference, indexes);
  std::optional<std::string> text = ModelFieldText(app_.model(), name, indexes);
  if (!text) throw ScriptError("no model field " + name);
  out_ << reference << " = " << *text << "\n";
}

void ScriptRunner::PrintCurves() {
  const Model& m = app_.model();
  for (int i = m.FirstPoint; i <= m.LastPoint; ++i) {
    if (i < 0 || i > kMaxPoints) break;
    out_ << PlainNumber(m.PotentialX(i));
    for (int k = 1; k <= m.CurveCount && k <= kMaxCurves; ++k) {
      out_ << "," << PlainNumber(m.CurrentY(i, k));
    }
    out_ << "\n";
  }
}

void ScriptRunner::Plot(const std::string& path) {
  if (!plotWriter) throw ScriptError("nothing has been drawn");
  std::string error = plotWriter(path);
  if (!error.empty()) throw ScriptError(error);
}

}  // namespace qalto
