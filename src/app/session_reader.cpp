#include <algorithm>
#include <cmath>
#include <sstream>

#include "app/app.h"
#include "app/script_parameters.h"
#include "app/script_runner.h"
#include "app/script_words.h"
#include "app/session_state.h"
#include "app/session_tables.h"
#include "common/exact_number.h"
#include "common/run_monitor.h"
#include "model/model_fields.h"

namespace qalto {
namespace {

constexpr int kSessionVersion = 1;
constexpr int kLinesPerPoll = 1024;  // lines read between two looks at Cancel
// Points of one embedded measured curve: a bound on what a session can make the program hold.
constexpr int kMaxMeasuredPoints = 10'000'000;

const char* const kSessionActions[] = {
    "session", "value",  "label",  "field",  "row",         "origin",   "import", "measured",
    "data",    "log",    "window", "place",  "enable",      "failed",   "hidden", "selected",
    "program", "corner", "fit",    "fitted", "correlation", "residual", "bounds"};

const char* const kFileCommands[] = {"mnuExport", "mnuSave", "mnuSaveSession", "mnuPrint"};

std::string Handler(const std::string& word) {
  const std::string click = "_Click";
  if (word.size() > click.size() &&
      word.compare(word.size() - click.size(), click.size(), click) == 0)
    return word.substr(0, word.size() - click.size());
  return word;
}

void Expect(bool condition, const std::string& reason) {
  if (!condition) throw SessionError(reason);
}

void ExpectWords(const std::vector<std::string>& words, size_t least, size_t most) {
  Expect(words.size() >= least && words.size() <= most, "wrong number of words for " + words[0]);
}

int Integer(const std::string& text, int least, int most, const std::string& what) {
  std::optional<int> number = ReadExactInteger(text);
  Expect(number && *number >= least && *number <= most, what + " is a whole number " +
                                                            std::to_string(least) + ".." +
                                                            std::to_string(most) + ": " + text);
  return *number;
}

double Number(const std::string& text) {
  std::optional<double> number = ReadExactNumber(text);
  Expect(number.has_value(), "not a number: " + text);
  return *number;
}

// A value of a curve or a measurement: the program never writes one that is not finite.
double FiniteNumber(const std::string& text) {
  double number = Number(text);
  Expect(std::isfinite(number), "not a finite number: " + text);
  return number;
}

std::optional<double> OptionalNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  return FiniteNumber(text);
}

// "Name(1,2)" into the name and its indexes.
std::string NameAndIndexes(const std::string& text, std::vector<int>& indexes) {
  size_t open = text.find('(');
  if (open == std::string::npos) return text;
  Expect(text.back() == ')', "malformed index in " + text);
  std::stringstream inside(text.substr(open + 1, text.size() - open - 2));
  std::string part;
  while (std::getline(inside, part, ','))
    indexes.push_back(Integer(part, 0, kMaxPoints, "an index"));
  Expect(!indexes.empty(), "malformed index in " + text);
  return text.substr(0, open);
}

CurveSource SourceNamed(const std::string& word) {
  if (word == "simulation") return CurveSource::kSimulation;
  if (word == "measured") return CurveSource::kMeasured;
  if (word == "fit") return CurveSource::kFit;
  if (word == "component") return CurveSource::kComponent;
  throw SessionError("not a curve origin: " + word + " (simulation, measured, fit, component)");
}

bool ValueFits(const Control& control, const std::string& value) {
  switch (control.Kind()) {
    case ControlKind::kTextBox:
      return true;
    case ControlKind::kCheckBox:
      return value == "on" || value == "off";
    case ControlKind::kOptionButton:
      return value == "on";
    case ControlKind::kComboBox: {
      const auto& items = static_cast<const ComboBox&>(control).Items();
      return std::find(items.begin(), items.end(), value) != items.end();
    }
    default:
      return false;
  }
}

}  // namespace

bool IsSessionAction(const std::string& action) {
  return std::find(std::begin(kSessionActions), std::end(kSessionActions), action) !=
         std::end(kSessionActions);
}

std::string WhatTheLineDoes(const std::vector<std::string>& words) {
  const std::string& action = words[0];
  std::string menu = words.size() > 1 ? Handler(words[1]) : "";
  if (action == "dialog" || action == "answer") return "answers a dialog";
  if ((action == "menu" && menu == "mnuExit") || (action == "close" && menu == "MDIForm1"))
    return "exits the program";
  bool fileCommand =
      action == "menu" && std::find(std::begin(kFileCommands), std::end(kFileCommands), menu) !=
                              std::end(kFileCommands);
  if (action == "plot" || fileCommand) return "writes or prints files";
  if (action == "get" || action == "caption" || action == "model" || action == "result" ||
      action == "curves" || action == "echo")
    return "prints what the program holds";
  return "runs a command";
}

void SessionReader::Take(int lineNumber, const std::vector<std::string>& words) {
  lineNumber_ = lineNumber;
  try {
    const std::string& action = words[0];
    if (!IsSessionAction(action)) throw SessionError(WhatTheLineDoes(words));
    if (action == "session") {
      ExpectWords(words, 2, 2);
      Expect(!started_, "a second session line");
      Integer(words[1], kSessionVersion, kSessionVersion, "the session's version");
      started_ = true;
      return;
    }
    Expect(started_, "a session begins with the line: session " + std::to_string(kSessionVersion));
    if (action != "data") measured_ = nullptr;
    if (action != "corner") programOpen_ = false;
    if (action == "value" || action == "label") {
      TakeValue(words);
    } else if (action == "field") {
      TakeField(words);
    } else if (action == "row") {
      TakeRow(words);
    } else if (action == "origin") {
      TakeOrigin(words);
    } else if (action == "import") {
      TakeImport(words);
    } else if (action == "measured") {
      TakeMeasured(words);
    } else if (action == "data") {
      TakeData(words);
    } else if (action == "log") {
      ExpectWords(words, 2, 2);
      state_.log = words[1];
    } else if (action == "window" || action == "place") {
      TakeWindow(words);
    } else if (action == "hidden" || action == "selected") {
      TakeCurveList(words);
    } else if (action == "program") {
      TakeProgram(words);
    } else if (action == "corner") {
      TakeCorner(words);
    } else if (action == "fit" || action == "fitted" || action == "correlation" ||
               action == "residual" || action == "bounds") {
      TakeFit(words);
    } else if (action == "enable") {
      ExpectWords(words, 2, 2);
      Expect(app_.MenuExists(words[1]), "no menu " + words[1]);
      state_.enabledMenus.push_back(words[1]);
    } else {
      ExpectWords(words, 1, 1);
      state_.curveFailed = true;
    }
  } catch (const SessionError& error) {
    throw SessionError("line " + std::to_string(lineNumber) + ": " + error.what());
  } catch (const std::exception& error) {
    throw SessionError("line " + std::to_string(lineNumber) + ": " + error.what());
  }
}

void SessionReader::TakeValue(const std::vector<std::string>& words) {
  ExpectWords(words, 3, 3);
  size_t dot = words[1].find('.');
  Expect(dot != std::string::npos, "not a control: " + words[1]);
  std::string formName = words[1].substr(0, dot);
  Expect(formName != "FormImport", "the Import window's choice comes with its import line");
  Form* form = App::IsFormName(formName) ? app_.FindForm(formName) : nullptr;
  Expect(form != nullptr, "unknown form: " + formName);
  std::vector<int> indexes;
  std::string name = NameAndIndexes(words[1].substr(dot + 1), indexes);
  Expect(indexes.size() <= 1, "a control has one index: " + words[1]);
  Control* control = form->Find(name, indexes.empty() ? kNoIndex : indexes[0]);
  Expect(control != nullptr, "unknown control: " + words[1]);
  bool caption = words[0] == "label";
  if (caption) {
    Expect(control->Kind() != ControlKind::kTextBox && control->Kind() != ControlKind::kComboBox,
           words[1] + " has no caption");
  } else {
    Expect(ValueFits(*control, words[2]), words[1] + " cannot hold " + words[2]);
  }
  state_.values.push_back({control, words[2], caption});
}

void SessionReader::TakeField(const std::vector<std::string>& words) {
  ExpectWords(words, 3, 3);
  std::vector<int> indexes;
  std::string name = NameAndIndexes(words[1], indexes);
  Expect(std::none_of(PointTables().begin(), PointTables().end(),
                      [&name](const PointTable& t) { return name == t.name; }),
         name + " is written by row lines");
  std::string error = SetModelField(*state_.model, name, indexes, words[2]);
  Expect(error.empty(), error);
}

void SessionReader::TakeRow(const std::vector<std::string>& words) {
  Expect(words.size() >= 4, "a row names its table, its point and at least one value");
  auto table = std::find_if(PointTables().begin(), PointTables().end(),
                            [&words](const PointTable& t) { return words[1] == t.name; });
  Expect(table != PointTables().end(), "no table " + words[1]);
  int point = Integer(words[2], 0, kMaxPoints, "a point");
  int columns = table->columns(*state_.model);
  Expect(static_cast<int>(words.size()) - 3 <= columns,
         words[1] + " has " + std::to_string(columns) + " columns");
  for (size_t j = 3; j < words.size(); ++j)
    table->cell(*state_.model, point, static_cast<int>(j - 3)) = FiniteNumber(words[j]);
}

void SessionReader::TakeOrigin(const std::vector<std::string>& words) {
  ExpectWords(words, 4, 4);
  int slot = Integer(words[1], 1, kMaxCurves, "a curve");
  state_.origins[static_cast<size_t>(slot)] = {SourceNamed(words[2]), words[3]};
}

// import DATAFILE SLOT FORMAT TECHNIQUE FILE-POTENTIAL FILE-CURRENT CHOSEN-POTENTIAL
// CHOSEN-CURRENT CYCLE-INDEX COLUMNS...: the columns the file's reader recognised, then those
// chosen in the Import window.
void SessionReader::TakeImport(const std::vector<std::string>& words) {
  Expect(words.size() >= 10, "wrong number of words for import");
  Expect(state_.file.curves.empty() && state_.dataFile.empty(), "a second import line");
  Expect(!words[1].empty(), "an import names its data file");
  state_.dataFile = words[1];
  state_.importSlot = Integer(words[2], 1, kMaxCurves, "the import's curve");
  state_.file.format = words[3];
  state_.file.technique = words[4];
  state_.file.potentialColumn = words[5];
  state_.file.currentColumn = words[6];
  state_.columns = {words[7], words[8]};
  state_.cycleIndex = Integer(words[9], -1, kMaxPoints, "the chosen cycle");
  state_.file.columns.assign(words.begin() + 10, words.end());
}

// measured file|SLOT SOURCE LABEL SCAN-RATE STEP START AREA SWITCHING...
void SessionReader::TakeMeasured(const std::vector<std::string>& words) {
  Expect(words.size() >= 8, "wrong number of words for measured");
  ImportedCurve curve;
  curve.source = words[2];
  curve.label = words[3];
  curve.settings.scanRate = OptionalNumber(words[4]);
  curve.settings.potentialStep = OptionalNumber(words[5]);
  curve.settings.startPotential = OptionalNumber(words[6]);
  curve.settings.area = OptionalNumber(words[7]);
  for (size_t k = 8; k < words.size(); ++k)
    curve.settings.switchingPotentials.push_back(FiniteNumber(words[k]));
  if (words[1] == "file") {
    Expect(!state_.dataFile.empty(), "a curve of the imported file before its import line");
    state_.file.curves.push_back(std::move(curve));
    measured_ = &state_.file.curves.back();
    return;
  }
  int slot = Integer(words[1], 1, kMaxCurves, "a curve");
  auto& kept = state_.measured[static_cast<size_t>(slot)];
  Expect(!kept.has_value(), "a second measured curve in curve " + words[1]);
  kept = std::move(curve);
  measured_ = &*kept;
}

// data E I [T]: one point of the measured curve above.
void SessionReader::TakeData(const std::vector<std::string>& words) {
  ExpectWords(words, 3, 4);
  Expect(measured_ != nullptr, "a data line belongs after a measured line");
  bool timed = words.size() == 4;
  Expect(measured_->potential.empty() || timed == !measured_->time.empty(),
         "every point of a curve has a time, or none has");
  Expect(static_cast<int>(measured_->potential.size()) < kMaxMeasuredPoints,
         "more than " + std::to_string(kMaxMeasuredPoints) + " measured points");
  measured_->potential.push_back(FiniteNumber(words[1]));
  measured_->current.push_back(FiniteNumber(words[2]));
  if (timed) measured_->time.push_back(FiniteNumber(words[3]));
}

// window FORM shown|hidden CAPTION, place FORM X Y WIDTH HEIGHT
void SessionReader::TakeWindow(const std::vector<std::string>& words) {
  Expect(App::IsFormName(words.size() > 1 ? words[1] : ""),
         "unknown form: " + (words.size() > 1 ? words[1] : ""));
  if (words[0] == "window") {
    ExpectWords(words, 4, 4);
    Expect(words[2] == "shown" || words[2] == "hidden", "a window is shown or hidden");
    if (words[2] == "shown") state_.shown.push_back(words[1]);
    state_.captions[words[1]] = words[3];
    return;
  }
  ExpectWords(words, 6, 6);
  constexpr int kLargest = 1 << 20;
  state_.places[words[1]] = {
      Integer(words[2], -kLargest, kLargest, "x"), Integer(words[3], -kLargest, kLargest, "y"),
      Integer(words[4], 0, kLargest, "a width"), Integer(words[5], 0, kLargest, "a height")};
}

// hidden K..., selected K...: curves of the curve list, 1..kMaxCurves.
void SessionReader::TakeCurveList(const std::vector<std::string>& words) {
  Expect(words.size() >= 2, words[0] + " names at least one curve");
  std::vector<int>& list = words[0] == "hidden" ? state_.hidden : state_.selected;
  Expect(list.empty(), "a second " + words[0] + " line");
  for (size_t k = 1; k < words.size(); ++k)
    list.push_back(Integer(words[k], 1, kMaxCurves, "a curve"));
}

// program NAME [measured]: the Potential program window's file (measured: a curve's, sampled at
// its rows), its rows in the corner lines after it.
void SessionReader::TakeProgram(const std::vector<std::string>& words) {
  ExpectWords(words, 2, 3);
  Expect(!state_.programFile.has_value(), "a second program line");
  Expect(words.size() == 2 || words[2] == "measured",
         "a program is followed by measured or nothing");
  PotentialProgram file;
  file.fromFile = true;
  file.fileName = words[1];
  file.atRows = words.size() == 3;
  state_.programFile = std::move(file);
  programOpen_ = true;
}

// corner T E: one row of the program file above, time (s) and potential (V).
void SessionReader::TakeCorner(const std::vector<std::string>& words) {
  ExpectWords(words, 3, 3);
  Expect(programOpen_, "a corner line belongs after a program line");
  PotentialProgram& file = *state_.programFile;
  Expect(static_cast<int>(file.fileTimes.size()) < kMaxPoints,
         "more than " + std::to_string(kMaxPoints) + " program rows");
  const double t = Number(words[1]);
  Expect(file.fileTimes.empty() || t > file.fileTimes.back(),
         "the program's times do not increase at " + words[1]);
  file.fileTimes.push_back(t);
  file.filePotentials.push_back(Number(words[2]));
}

namespace {

bool Flag(const std::string& word) {
  Expect(word == "0" || word == "1", "a flag is 0 or 1: " + word);
  return word == "1";
}

}  // namespace

// fit S VARIANCE DOF FLAG ITERATIONS POINTS RUNS RUNS-Z SYSTEMATIC, then the lines of its
// parameters (fitted CODE NAME INITIAL VALUE SE LOWER95 UPPER95 MIN MAX PROFILE-LOWER
// PROFILE-UPPER DETERMINED LOG AT-BOUND ARBITRARY-ZERO PROFILED LOWER-OPEN UPPER-OPEN), their
// correlations (a row each), its curves (residual LABEL POINTS S) and ranges (bounds CODE MIN
// MAX).
void SessionReader::TakeFit(const std::vector<std::string>& words) {
  FitResult& fit = state_.model->LastFit;
  const std::string& action = words[0];
  if (action == "fit") {
    ExpectWords(words, 10, 10);
    Expect(!fit.valid, "a second fit line");
    fit.valid = true;
    fit.sumOfSquares = Number(words[1]);
    fit.residualVariance = Number(words[2]);
    fit.degreesOfFreedom = Integer(words[3], 0, kMaxPoints * kMaxCurves, "the degrees of freedom");
    fit.flag = Integer(words[4], -1000, 1000, "the fit's flag");
    fit.iterations = Integer(words[5], 0, 1000, "the iterations");
    fit.points = Integer(words[6], 0, kMaxPoints * kMaxCurves, "the points");
    fit.residualRuns = Integer(words[7], 0, kMaxPoints * kMaxCurves, "the runs");
    fit.runsZ = Number(words[8]);
    fit.systematicResiduals = Flag(words[9]);
    return;
  }
  Expect(fit.valid, "a " + action + " line belongs after a fit line");
  if (action == "fitted") {
    ExpectWords(words, 19, 19);
    Expect(fit.parameters.size() < 99, "more than 99 fitted parameters");
    FittedParameter p;
    p.code = Integer(words[1], 1, 999, "a parameter code");
    p.name = words[2];
    double* numbers[] = {&p.initial, &p.value,   &p.standardError, &p.lower95,     &p.upper95,
                         &p.minimum, &p.maximum, &p.profileLower,  &p.profileUpper};
    for (size_t k = 0; k < std::size(numbers); ++k)
      *numbers[k] = Number(words[3 + k]);
    bool* flags[] = {&p.determined, &p.logScale,         &p.atBound,         &p.arbitraryZero,
                     &p.profiled,   &p.profileLowerOpen, &p.profileUpperOpen};
    for (size_t k = 0; k < std::size(flags); ++k)
      *flags[k] = Flag(words[12 + k]);
    fit.parameters.push_back(std::move(p));
  } else if (action == "correlation") {
    Expect(
        fit.correlation.size() < fit.parameters.size() && words.size() == fit.parameters.size() + 1,
        "a correlation line has a value for each fitted parameter, one line each");
    std::vector<double> row;
    for (size_t k = 1; k < words.size(); ++k)
      row.push_back(Number(words[k]));
    fit.correlation.push_back(std::move(row));
  } else if (action == "residual") {
    ExpectWords(words, 4, 4);
    Expect(fit.curves.size() < static_cast<size_t>(kMaxPoints), "too many residual lines");
    fit.curves.push_back(
        {words[1], Integer(words[2], 0, kMaxPoints, "the points"), Number(words[3])});
  } else {
    ExpectWords(words, 4, 4);
    Expect(state_.fitBounds.size() < 99, "more than 99 bounds lines");
    state_.fitBounds.push_back(
        {Integer(words[1], 1, 999, "a parameter code"), Number(words[2]), Number(words[3])});
  }
}

namespace {

// The counts and indexes of the model stay within its tables, as every command expects.
void CheckModelRanges(const Model& m) {
  const struct {
    const char* name;
    int value, most;
  } ranges[] = {{"NumberOfPoints", m.NumberOfPoints, kMaxPoints},
                {"FirstPoint", m.FirstPoint, kMaxPoints},
                {"LastPoint", m.LastPoint, kMaxPoints},
                {"CurveCount", m.CurveCount, kMaxCurves},
                {"CurrentCurve", m.CurrentCurve, kMaxCurves},
                {"TargetCurve", m.TargetCurve, kMaxCurves},
                {"PlotSeriesLimit", m.PlotSeriesLimit, kMaxSpecies + 1},
                {"Mechanism", m.Mechanism, 10},
                {"SpeciesCount", m.SpeciesCount, kMaxSpecies},
                {"ChargeReactionCount", m.ChargeReactionCount, 3},
                {"FirstOrderReactionCount", m.FirstOrderReactionCount, 4},
                {"SecondOrderReactionCount", m.SecondOrderReactionCount, 4},
                {"TotalCurrentColumn", m.TotalCurrentColumn, 4},
                {"PeakCount", m.PeakCount, kMaxPeaks},
                {"FitParameterCount", m.FitParameterCount, 99}};
  for (const auto& range : ranges) {
    Expect(range.value >= 0 && range.value <= range.most,
           std::string("field ") + range.name + " " + std::to_string(range.value) +
               " is beyond 0.." + std::to_string(range.most));
  }
  Expect(m.FirstOrderReactionCount + m.SecondOrderReactionCount <= 4,
         "more than 4 homogeneous reactions");
}

}  // namespace

SessionState SessionReader::Finish() {
  if (!started_)
    throw SessionError("no session line: a session begins with: session " +
                       std::to_string(kSessionVersion));
  CheckModelRanges(*state_.model);
  Expect(state_.dataFile.empty() || !state_.file.curves.empty(),
         "the import line has no measured file curves after it");
  if (!state_.file.curves.empty()) {
    int choices = static_cast<int>(state_.file.curves.size()) + 1;  // the curves, then all of them
    Expect(state_.cycleIndex < choices, "the chosen cycle is not one of the imported file's");
  }
  const FitResult& fit = state_.model->LastFit;
  Expect(fit.correlation.empty() || fit.correlation.size() == fit.parameters.size(),
         "the fit has a correlation line for some of its parameters only");
  Expect(!state_.programFile || state_.programFile->fileTimes.size() >= 2,
         "the program line has fewer than two corner lines after it");
  return std::move(state_);
}

SessionState ReadSessionText(App& app, const std::string& text) {
  SessionReader reader(app);
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  const ScriptParameters none;
  std::set<std::string> used;
  while (ReadScriptLine(lines, line)) {
    ++number;
    if (number % kLinesPerPoll == 0) PollPoint(0, 0);  // the values are read: no known end
    size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    std::vector<std::string> words;
    try {
      words = SplitScriptLine(ExpandParameters(line, none, used));
    } catch (const std::exception& error) {
      throw SessionError("line " + std::to_string(number) + ": " + error.what());
    }
    if (words.empty()) continue;
    if (!IsSessionAction(words[0])) {
      std::string shown = line.size() > 80 ? line.substr(0, 77) + "..." : line;
      throw SessionError("line " + std::to_string(number) + " (" + shown + ") " +
                         WhatTheLineDoes(words));
    }
    reader.Take(number, words);
  }
  return reader.Finish();
}

}  // namespace qalto
