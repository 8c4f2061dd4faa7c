#include "app/session_script.h"

#include <cmath>

#include "app/script_runner.h"
#include "app/script_words.h"
#include "app/session_tables.h"
#include "common/exact_number.h"
#include "model/model_fields.h"

namespace qalto {
namespace {

const char* SourceWord(CurveSource source) {
  switch (source) {
    case CurveSource::kSimulation:
      return "simulation";
    case CurveSource::kMeasured:
      return "measured";
    case CurveSource::kFit:
      return "fit";
    case CurveSource::kComponent:
      return "component";
    default:
      return "";
  }
}

// One more word on the line.
void AddWord(std::string& out, const std::string& word) {
  out += ' ';
  out += word;
}

bool IsPlainZero(double value) {
  return value == 0 && !std::signbit(value);
}

std::string OptionalWord(const std::optional<double>& number) {
  return number ? ExactNumber(*number) : "\"\"";
}

// The line that gives the control its value; empty for a control that holds none (labels,
// buttons, frames, an option button that is off, a list with nothing chosen).
std::string ValueLine(const Form& form, const Control& control) {
  ControlKind kind = control.Kind();
  bool holdsValue = kind == ControlKind::kTextBox || kind == ControlKind::kCheckBox ||
                    kind == ControlKind::kOptionButton || kind == ControlKind::kComboBox;
  std::string value = holdsValue ? ControlValue(control) : "";
  if (!holdsValue || (kind == ControlKind::kOptionButton && value == "off") ||
      (kind == ControlKind::kComboBox && value.empty()))
    return "";
  return "value " + form.Name() + "." + control.FullName() + " " + ScriptWord(value) + "\n";
}

// The caption a control shows (labels that the program fills, fitted values beside their
// check boxes); empty for text boxes and lists.
std::string CaptionLine(const Form& form, const Control& control) {
  if (control.Kind() == ControlKind::kTextBox || control.Kind() == ControlKind::kComboBox)
    return "";
  return std::string("label ") + form.Name() + "." + control.FullName() + " " +
         ScriptWord(static_cast<const CaptionedControl&>(control).Caption()) + "\n";
}

void WriteValues(std::string& out, App& app) {
  for (const std::string& name : App::FormNames()) {
    if (name == "FormImport") continue;  // its lists follow the imported file: the import line
    const Form& form = *app.FindForm(name);
    for (const Control* control : form.Controls())
      out += ValueLine(form, *control);
  }
  for (const std::string& name : App::FormNames()) {
    if (name == "FormImport") continue;
    const Form& form = *app.FindForm(name);
    for (const Control* control : form.Controls())
      out += CaptionLine(form, *control);
  }
}

void WriteModel(std::string& out, const Model& model) {
  for (const ModelFieldValue& field : KeptModelFields(model))
    out += std::string("field ") + field.reference + " " + ScriptWord(field.text) + "\n";
  for (const PointTable& table : PointTables()) {
    int columns = table.columns(model);
    for (int i = 0; i <= kMaxPoints; ++i) {
      int used = columns;  // trailing zeros are left out
      while (used > 0 && IsPlainZero(table.read(model, i, used - 1)))
        --used;
      if (used == 0) continue;
      out += std::string("row ") + std::string(table.name) + " " + std::to_string(i);
      for (int j = 0; j < used; ++j)
        AddWord(out, ExactNumber(table.read(model, i, j)));
      out += "\n";
    }
  }
}

void WriteMeasured(std::string& out, const std::string& where, const ImportedCurve& curve) {
  const InstrumentSettings& s = curve.settings;
  out += std::string("measured ") + where + " " + ScriptWord(curve.source) + " " +
         ScriptWord(curve.label) + " " + OptionalWord(s.scanRate) + " " +
         OptionalWord(s.potentialStep) + " " + OptionalWord(s.startPotential) + " " +
         OptionalWord(s.area);
  for (double e : s.switchingPotentials)
    AddWord(out, ExactNumber(e));
  out += "\n";
  bool timed = !curve.time.empty();
  for (size_t i = 0; i < curve.potential.size(); ++i) {
    out += std::string("data ") + ExactNumber(curve.potential[i]) + " " +
           ExactNumber(i < curve.current.size() ? curve.current[i] : 0);
    if (timed) AddWord(out, ExactNumber(i < curve.time.size() ? curve.time[i] : 0));
    out += "\n";
  }
}

void WriteCurveOrigins(std::string& out, App& app) {
  for (int k = 1; k <= kMaxCurves; ++k) {
    const CurveOrigin& origin = app.Origins()[static_cast<size_t>(k)];
    if (origin.source == CurveSource::kNone) continue;
    out += std::string("origin ") + std::to_string(k) + " " + SourceWord(origin.source) + " " +
           ScriptWord(origin.name) + "\n";
  }
  for (int k = 1; k <= kMaxCurves; ++k) {
    if (const auto& curve = app.ImportedCurveIn(k)) WriteMeasured(out, std::to_string(k), *curve);
  }
  const ImportedFile& file = app.ImportedData();
  if (app.DataFile().empty() || file.curves.empty()) return;
  out += std::string("import ") + ScriptWord(app.DataFile()) + " " +
         std::to_string(app.ImportSlot()) + " " + ScriptWord(file.format) + " " +
         ScriptWord(file.technique) + " " + ScriptWord(file.potentialColumn) + " " +
         ScriptWord(file.currentColumn) + " " + ScriptWord(app.Import().ComboPotential.Text()) +
         " " + ScriptWord(app.Import().ComboCurrent.Text()) + " " +
         std::to_string(app.Import().ComboCycle.ListIndex());
  for (const std::string& column : file.columns)
    AddWord(out, ScriptWord(column));
  out += "\n";
  for (const ImportedCurve& curve : file.curves)
    WriteMeasured(out, "file", curve);
}

void WriteWindows(std::string& out, App& app, bool layout) {
  if (!app.Result().Text().empty())
    out += std::string("log ") + ScriptWord(app.Result().Text()) + "\n";
  if (!layout) return;
  for (const std::string& name : App::FormNames()) {
    const Form& form = *app.FindForm(name);
    out += std::string("window ") + name + (form.Shown() ? " shown " : " hidden ") +
           ScriptWord(form.Caption()) + "\n";
  }
  for (const auto& [name, place] : app.WindowPlaces()) {
    out += std::string("place ") + name + " " + std::to_string(place.x) + " " +
           std::to_string(place.y) + " " + std::to_string(place.width) + " " +
           std::to_string(place.height) + "\n";
  }
}

}  // namespace

std::string SessionScript(App& app, bool layout) {
  std::string out =
      "# Qalto session: File > Open Session... brings it back; qalto-batch runs it as a script.\n"
      "session 1\n";
  WriteValues(out, app);
  WriteModel(out, app.model());
  WriteCurveOrigins(out, app);
  WriteWindows(out, app, layout);
  for (const char* menu : {"mnuDisplay", "mnuAnalyze"}) {
    if (app.MenuEnabled(menu)) out += std::string("enable ") + std::string(menu) + "\n";
  }
  if (app.CurveFailed()) out += "failed\n";
  return out;
}

}  // namespace qalto
