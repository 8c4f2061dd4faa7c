#include "files/import_data.h"

#include <algorithm>
#include <cmath>

#include "common/plain_number.h"
#include "common/runtime_error.h"
#include "files/ac_time_series.h"
#include "files/curve_resampling.h"
#include "files/cycle_overlay.h"
#include "files/file_format_error.h"
#include "files/measurement_file.h"
#include "files/read_failure.h"
#include "files/step_time_series.h"
#include "model/measured_ac.h"
#include "model/point_time.h"
#include "simulation/curve_slot.h"

namespace qalto {
namespace {

// The format of the program's own files, whose report stays as it always was.
constexpr const char* kTwoColumnCsv = "two-column CSV";

// The scan list's item for cycles cycles of the data: a lone sweep is "single", one turn a
// "cycle"; several overlaid cycles "2 cycles" or "3 cycles" where the list has them.
std::optional<int> ScanIndexOf(const ImportedCurve& first, size_t cycles) {
  if (cycles > 1) return cycles <= 3 ? std::optional<int>(static_cast<int>(cycles)) : std::nullopt;
  return PotentialTurns(first.potential) == 0 ? 0 : 1;
}

// The mean distance of neighbouring points, V: the step of a measured potential, whose single
// steps scatter with the instrument's noise; 0 for fewer than two points.
double MeanStep(const std::vector<double>& x) {
  if (x.size() < 2) return 0;
  double travelled = 0;
  for (size_t i = 1; i < x.size(); ++i)
    travelled += std::fabs(x[i] - x[i - 1]);
  return travelled / static_cast<double>(x.size() - 1);
}

// Start and end come from the curve's own points, where it really starts and turns: the
// programmed ones may be set against the open circuit or belong to another cycle. The end is
// the extreme away from the first point. The step is the file's where it holds one, else the
// distance of the first two points, or for a potential measured against time the mean distance
// where that one differs from it by more than 1 %; with one point the second is the one left in the
// store. Two first potentials further apart than the double range are an overflow, found before
// anything is changed.
InstrumentTexts InstrumentTextsOf(const Model& model, const ImportedCurve& curve) {
  const std::vector<double>& x = curve.potential;
  double first = x.empty() ? model.PotentialX(1) : x[0];  // V
  double highest = first;
  double lowest = first;
  for (double e : x) {
    highest = std::max(highest, e);
    lowest = std::min(lowest, e);
  }
  double second = x.size() >= 2 ? x[1] : model.PotentialX(2);  // V
  double step = std::fabs(second - first);                     // V
  if (!std::isfinite(step)) throw RuntimeError::Overflow();
  const double mean = MeanStep(x);
  if (!curve.time.empty() && std::fabs(step - mean) > 0.01 * mean) step = mean;
  if (curve.settings.potentialStep) step = std::fabs(*curve.settings.potentialStep);
  InstrumentTexts texts;
  texts.estart = NumberText(first);
  texts.eend = NumberText(first != highest ? highest : lowest);
  texts.estep = NumberText(step);
  if (curve.settings.scanRate) texts.scanRate = NumberText(*curve.settings.scanRate);
  if (curve.settings.area) texts.area = NumberText(*curve.settings.area);
  if (curve.settings.quietTime) texts.quietTime = NumberText(*curve.settings.quietTime);
  return texts;
}

std::vector<ReportLine> ReportOf(const ImportedCurve& curve, const InstrumentTexts& texts,
                                 const std::string& format) {
  std::vector<ReportLine> report;
  if (format != kTwoColumnCsv) report.push_back({"File format = ", format, {}});
  if (!curve.label.empty()) report.push_back({"Curve = ", curve.label, {}});
  report.push_back({"Number of data point = ", "", static_cast<int>(curve.potential.size())});
  if (texts.steps) {
    report.push_back({"t sample (s) = ", texts.steps->sample, {}});
    report.push_back({"t1 (s) = ", texts.steps->first, {}});
    if (texts.steps->second != "0") report.push_back({"t2 (s) = ", texts.steps->second, {}});
  } else {
    report.push_back({"E start = ", texts.estart, {}});
    report.push_back({"E end = ", texts.eend, {}});
    report.push_back({"E step = ", texts.estep, {}});
  }
  if (texts.scanRate) report.push_back({"Scan rate (V/s) = ", *texts.scanRate, {}});
  if (texts.area) report.push_back({"Area (cm2) = ", *texts.area, {}});
  if (texts.quietTime) report.push_back({"Quiet time (s) = ", *texts.quietTime, {}});
  return report;
}

// The curve made to fit the store, with the message when it had to be resampled.
ImportedCurve FittedToStore(const ImportedCurve& read, std::vector<std::string>& messages) {
  ImportedCurve curve = ResampledKeepingPeaks(read, kMaxPoints);
  if (curve.potential.size() < read.potential.size()) {
    messages.push_back("Import: " + std::to_string(read.potential.size()) +
                       " points are more than the " + std::to_string(kMaxPoints) +
                       " the curve store holds; the curve was resampled to " +
                       std::to_string(curve.potential.size()) + " points, keeping its peaks.");
  }
  return curve;
}

// All curves of the file on the potentials of the longest, in file order; the first is the
// one the report and the Instrument window describe.
std::vector<ImportedCurve> OverlaidCurves(const ImportedFile& file,
                                          std::vector<std::string>& messages) {
  size_t count = std::min(file.curves.size(), static_cast<size_t>(kMaxOverlaid));
  if (count < file.curves.size()) {
    messages.push_back("Import: the file holds " + std::to_string(file.curves.size()) +
                       " curves; the first " + std::to_string(count) +
                       " are overlaid, choose one to see any other.");
  }
  auto longest = std::max_element(
      file.curves.begin(), file.curves.begin() + static_cast<std::ptrdiff_t>(count),
      [](const auto& a, const auto& b) { return a.potential.size() < b.potential.size(); });
  ImportedCurve axis = FittedToStore(*longest, messages);
  std::vector<ImportedCurve> curves;
  for (size_t c = 0; c < count; ++c) {
    ImportedCurve curve = file.curves[c];
    curve.current = CurrentsAtPotentials(file.curves[c], axis.potential);
    curve.potential = axis.potential;
    curve.time.clear();
    curves.push_back(std::move(curve));
  }
  curves.front().label = kAllCurves;
  return curves;
}

// The curves of the file one after the other: one curve with the settings of the first, and the
// report lines naming the points each one took.
ImportedCurve WholeMeasurement(const ImportedFile& file, std::vector<ReportLine>& parts) {
  ImportedCurve whole = file.curves.front();
  whole.label = kWholeMeasurement;
  whole.potential.clear();
  whole.current.clear();
  whole.time.clear();
  bool timed = true;
  for (const ImportedCurve& curve : file.curves) {
    size_t first = whole.potential.size() + 1;
    whole.potential.insert(whole.potential.end(), curve.potential.begin(), curve.potential.end());
    whole.current.insert(whole.current.end(), curve.current.begin(), curve.current.end());
    timed = timed && curve.time.size() == curve.potential.size();
    if (timed) whole.time.insert(whole.time.end(), curve.time.begin(), curve.time.end());
    std::string name = curve.label.empty() ? "curve" : curve.label;
    parts.push_back(
        {name + " = ",
         "points " + std::to_string(first) + ".." + std::to_string(whole.potential.size()),
         {}});
  }
  if (!timed) whole.time.clear();
  return whole;
}

}  // namespace

Expected<ImportedFile> ReadImportFile(const std::string& path, const ColumnChoice& choice) {
  try {
    return ReadMeasurementFile(path, choice);
  } catch (const FileFormatError& error) {
    return Failure{"ReadData Error: " + error.MessageFor(path)};
  } catch (const RuntimeError& error) {
    // Failures of the file as a whole (opening it, reading the medium) name the file.
    return Failure{"ReadData Error: " + FailureOfFile(error.Description(), path)};
  } catch (const std::bad_alloc&) {
    return Failure{"ReadData Error: " + FailureOfFile("Out of memory", path)};
  }
}

bool OffersHistory(const ImportedFile& file, size_t index) {
  if (index < 1 || index > 2 || index >= file.curves.size()) return false;
  const std::string& label = file.curves[index].label;
  return label.starts_with("cycle ") || label.starts_with("scan ");
}

std::string AfterEarlierName(const std::string& label) {
  const std::string word = label.substr(0, label.find(' '));  // "cycle", "scan"
  return label + " after the " + word + "s before it";
}

namespace {

// Cycles 1..cycle one after the other, the fit window on the last of them; nullopt (with its
// message) when they hold more points than a curve of the store, whose resampling would move
// the window.
std::optional<ImportedCurve> CycleAfterHistory(const ImportedFile& file, int cycle,
                                               ImportResult& result,
                                               std::vector<ReportLine>& parts) {
  ImportedFile history;
  history.curves.assign(file.curves.begin(), file.curves.begin() + cycle);
  ImportedCurve whole = WholeMeasurement(history, parts);
  const auto& chosen = file.curves[static_cast<size_t>(cycle - 1)];
  const int last = static_cast<int>(whole.potential.size());
  if (last > kMaxPoints) {
    result.messages.push_back("ReadData Error: " + chosen.source + ": " + chosen.label +
                              " with the ones before it holds " + std::to_string(last) +
                              " points, more than the " + std::to_string(kMaxPoints) +
                              " of a curve; choose the cycle alone.");
    return std::nullopt;
  }
  whole.label = AfterEarlierName(chosen.label);
  result.fitPoints = {last - static_cast<int>(chosen.potential.size()) + 1, last};
  return whole;
}

}  // namespace

ImportResult PrepareImport(const Model& model, const ImportedFile& file, int choice) {
  ImportResult result;
  if (file.curves.empty()) return result;
  std::vector<ReportLine> parts;  // of the whole measurement
  const int historyCycle = HistoryCycle(choice);
  if (choice == kWholeMeasurementChoice) {
    result.curves = {FittedToStore(WholeMeasurement(file, parts), result.messages)};
  } else if (historyCycle > 0) {
    if (!OffersHistory(file, static_cast<size_t>(historyCycle - 1))) return result;
    std::optional<ImportedCurve> curve = CycleAfterHistory(file, historyCycle, result, parts);
    if (!curve) return result;
    result.curves = {std::move(*curve)};
  } else if (choice >= 1 && choice <= static_cast<int>(file.curves.size())) {
    result.curves = {FittedToStore(file.curves[static_cast<size_t>(choice - 1)], result.messages)};
  } else if (file.curves.size() > 1) {
    result.curves = OverlaidCurves(file, result.messages);
  } else {
    result.curves = {FittedToStore(file.curves.front(), result.messages)};
  }
  if (model.Technique == Technique::kChronoamperometry) {  // the current against time
    if (auto problem = TakeStepTimes(result.curves.front())) {
      result.messages = {"ReadData Error: " + result.curves.front().source + ": " + *problem};
      return result;
    }
    result.curves.resize(1);
  }
  if (model.Technique == Technique::kAcVoltammetry) {  // the raw current, in time
    if (auto problem = SampleOnAcProgram(model, result.curves.front())) {
      result.messages = {"ReadData Error: " + result.curves.front().source + ": " + *problem};
      return result;
    }
    result.curves.resize(1);
  }
  const ImportedCurve& first = result.curves.front();
  try {
    result.instrument = InstrumentTextsOf(model, first);
  } catch (const RuntimeError& error) {
    result.messages = {"ReadData Error: " + FailureOfFile(error.Description(), first.source)};
    return result;
  }
  if (model.Technique == Technique::kChronoamperometry)
    result.instrument.steps = StepTimeTextsOf(first, model.StepTime2);
  result.instrument.scanIndex =
      ScanIndexOf(first, choice == kWholeMeasurementChoice ? file.curves.size()
                         : historyCycle > 0                ? static_cast<size_t>(historyCycle)
                                                           : result.curves.size());
  result.report = ReportOf(first, result.instrument, file.format);
  if (result.fitPoints) {
    const std::string& cycle = file.curves[static_cast<size_t>(historyCycle - 1)].label;
    result.report.push_back({"Fit = ",
                             "points " + std::to_string(result.fitPoints->first) + ".." +
                                 std::to_string(result.fitPoints->second) + " (" + cycle +
                                 "); the ones before it are its history, simulated, not compared",
                             {}});
  }
  // A later cycle alone is simulated from rest: the cycles before it, which shaped its start,
  // are not in the fit.
  if (choice >= 2 && choice != kWholeMeasurementChoice &&
      (first.label.starts_with("cycle ") || first.label.starts_with("scan ")))
    result.report.push_back({"Fit = ", kLaterCycleAloneNote, {}});
  result.report.insert(result.report.end(), parts.begin(), parts.end());
  result.caption = first.source;
  result.anodicPositive = file.format != kTwoColumnCsv && !file.ownExport;
  result.ok = true;
  return result;
}

int StoreImportedCurves(Model& model, const ImportResult& result, bool overlapChecked,
                        std::optional<int> chosenSlot) {
  NarrowFromHarmonics(model);  // the slots as they were before a measured curve's harmonics
  if (chosenSlot) {
    model.CurrentCurve = model.TargetCurve = *chosenSlot;
  } else {
    SelectCurveSlot(model, overlapChecked && model.SpectrumFrequencies == 0);
  }
  model.SpectrumFrequencies = 0;  // the store holds current curves again
  int slot = model.TargetCurve;
  // Overlaid cycles take the slots after the first, as many as the store keeps side by side.
  int count = std::min(static_cast<int>(result.curves.size()), kMaxOverlaid - slot + 1);
  count = std::max(count, 1);
  const ImportedCurve& first = result.curves.front();
  int n = static_cast<int>(first.potential.size());
  for (int i = 1; i <= n; ++i)
    model.PotentialX(i) = first.potential[static_cast<size_t>(i - 1)];
  // The store holds the chosen convention.
  const double sign = !result.anodicPositive || model.AnodicPositive ? 1.0 : -1.0;
  for (int k = 0; k < count; ++k) {
    const std::vector<double>& y = result.curves[static_cast<size_t>(k)].current;
    for (int i = 1; i <= n; ++i)
      model.CurrentY(i, slot + k) = sign * y[static_cast<size_t>(i - 1)];
  }
  model.CurveCount = slot + count - 1;
  model.NumberOfPoints = n;
  model.FirstPoint = 1;
  model.LastPoint = model.NumberOfPoints;
  for (int k = slot; k <= kMaxCurves; ++k)
    ForgetMeasuredAc(model, k);
  // The raw current of an AC voltammogram, sampled on the AC program's instants.
  if (model.Technique == Technique::kAcVoltammetry) NoteMeasuredAc(model, slot, PointTime(model));
  return count;
}

}  // namespace qalto
