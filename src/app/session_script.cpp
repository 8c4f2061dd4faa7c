#include "app/session_script.h"

#include "app/script_runner.h"

namespace qalto {
namespace {

// The input forms in the order their values reach the model, each with the menu that opens it.
struct SessionForm {
  const char* name;
  const char* menu;
};
constexpr SessionForm kInputForms[] = {{"FormTech", "mnuTech"},
                                       {"FormMech", "mnuMechamism"},
                                       {"FormIns", "mnuInstrument"},
                                       {"FormExpr", "mnuExperimental"}};

// A word of a script line: quoted when it is empty or holds blanks.
std::string Word(const std::string& text) {
  if (!text.empty() && text.find_first_of(" \t") == std::string::npos) return text;
  return "\"" + text + "\"";
}

// The action that gives the control its present value, empty for controls a user does not set.
std::string ActionFor(const Form& form, const Control& control) {
  std::string name = form.Name() + "." + control.FullName();
  switch (control.Kind()) {
    case ControlKind::kComboBox:
      if (ControlValue(control).empty()) return "";  // nothing chosen yet
      [[fallthrough]];
    case ControlKind::kTextBox:
      return (control.Kind() == ControlKind::kTextBox ? "set " : "select ") + name + " " +
             Word(ControlValue(control));
    case ControlKind::kCheckBox:
      return "check " + name + " " + ControlValue(control);
    case ControlKind::kOptionButton:
      return ControlValue(control) == "on" ? "click " + name : "";
    default:
      return "";
  }
}

// The form is opened by its menu, as the replay will open it, so that what is written is what
// can be reached then (opening runs the apply chain, which shows and hides controls); a form
// that was not open is closed again.
void WriteForm(std::string& script, App& app, const char* name, const char* menu) {
  script += "menu " + std::string(menu) + "\n";
  bool wasShown = app.FindForm(name)->Shown();
  app.ChooseMenu(menu);
  Form* form = app.FindForm(name);
  // Check boxes of the form itself come first: they show and hide frames of other controls
  // (Digital Simulation swaps the mechanism list for the reaction editor).
  auto switches = [](const Control* c) {
    return c->Kind() == ControlKind::kCheckBox && c->Container().empty();
  };
  for (bool firstPass : {true, false}) {
    for (const Control* control : form->Controls()) {
      if (switches(control) != firstPass || !Reachable(*form, *control)) continue;
      std::string action = ActionFor(*form, *control);
      if (!action.empty()) script += action + "\n";
    }
  }
  if (!wasShown) app.CloseForm(*form);
}

}  // namespace

std::string SessionScript(App& app) {
  std::string script =
      "# Qalto session: open it with File > Open Session... or run it with qalto-batch.\n";
  for (const SessionForm& form : kInputForms)
    WriteForm(script, app, form.name, form.menu);
  // Without a curve the Display menu, and with it the display options, cannot be reached yet.
  if (!app.MenuEnabled("mnuDisplay")) return script;
  bool imported = app.Origins()[1].source == CurveSource::kMeasured && !app.DataFile().empty();
  script +=
      imported ? "dialog " + Word(app.DataFile()) + "\nmenu mnuImport\n" : "menu mnuSimulate\n";
  // The display options decide which quantity a simulated curve shows, and their OK prepares
  // and draws it; imported data are only drawn again (preparing would replace them by the
  // simulation's currents).
  WriteForm(script, app, "formOption", "mnuOption");
  script += imported ? "menu mnuPlot\n" : "click formOption.cmdOK\n";
  return script;
}

}  // namespace qalto
