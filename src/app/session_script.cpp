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

// The curves hidden and chosen in the curve list.
void WriteCurveList(std::string& out, App& app) {
  std::string hidden;
  for (int k = 1; k <= kMaxCurves; ++k) {
    if (app.CurveHidden(k)) AddWord(hidden, std::to_string(k));
  }
  if (!hidden.empty()) out += "hidden" + hidden + "\n";
  if (app.ChosenCurves().empty()) return;
  out += "selected";
  for (int k : app.ChosenCurves())
    AddWord(out, std::to_string(k));
  out += "\n";
}

// The E(t) rows the Potential program window holds from a file or a measured curve.
void WriteProgramFile(std::string& out, const PotentialProgram& file) {
  if (file.fileTimes.empty()) return;
  out += "program " + ScriptWord(file.fileName) + (file.atRows ? " measured" : "") + "\n";
  for (size_t k = 0; k < file.fileTimes.size(); ++k) {
    out += "corner " + ExactNumber(file.fileTimes[k]) + " " +
           ExactNumber(k < file.filePotentials.size() ? file.filePotentials[k] : 0) + "\n";
  }
}

const char* Flag(bool value) {
  return value ? "1" : "0";
}

// The last fit: its outcome, each fitted value with its uncertainty and profile, the
// correlations, each curve's share and the ranges the values were fitted within.
void WriteLastFit(std::string& out, App& app) {
  const FitResult& fit = app.model().LastFit;
  if (!fit.valid) return;
  out += "fit " + ExactNumber(fit.sumOfSquares) + " " + ExactNumber(fit.residualVariance) + " " +
         std::to_string(fit.degreesOfFreedom) + " " + std::to_string(fit.flag) + " " +
         std::to_string(fit.iterations) + " " + std::to_string(fit.points) + " " +
         std::to_string(fit.residualRuns) + " " + ExactNumber(fit.runsZ) + " " +
         Flag(fit.systematicResiduals) + "\n";
  for (const FittedParameter& p : fit.parameters) {
    out += "fitted " + std::to_string(p.code) + " " + ScriptWord(p.name);
    for (double x : {p.initial, p.value, p.standardError, p.lower95, p.upper95, p.minimum,
                     p.maximum, p.profileLower, p.profileUpper})
      AddWord(out, ExactNumber(x));
    for (bool b : {p.determined, p.logScale, p.atBound, p.arbitraryZero, p.profiled,
                   p.profileLowerOpen, p.profileUpperOpen})
      AddWord(out, Flag(b));
    out += "\n";
  }
  for (const std::vector<double>& row : fit.correlation) {
    out += "correlation";
    for (double r : row)
      AddWord(out, ExactNumber(r));
    out += "\n";
  }
  for (const CurveResidual& curve : fit.curves) {
    out += "residual " + ScriptWord(curve.label) + " " + std::to_string(curve.points) + " " +
           ExactNumber(curve.sumOfSquares) + "\n";
  }
  for (const FitBounds& bounds : app.LastFitBounds()) {
    out += "bounds " + std::to_string(bounds.code) + " " + ExactNumber(bounds.minimum) + " " +
           ExactNumber(bounds.maximum) + "\n";
  }
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
  WriteCurveList(out, app);
  WriteProgramFile(out, app.Program().File());
  WriteLastFit(out, app);
  WriteWindows(out, app, layout);
  for (const char* menu : {"mnuDisplay", "mnuAnalyze"}) {
    if (app.MenuEnabled(menu)) out += std::string("enable ") + std::string(menu) + "\n";
  }
  if (app.CurveFailed()) out += "failed\n";
  return out;
}

}  // namespace qalto
