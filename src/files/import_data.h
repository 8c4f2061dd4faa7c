#pragma once
// Import of measured data: a measurement file of any supported kind read whole, then one of
// its curves (a cycle, a segment, a scan, or all of them overlaid) prepared for the curve
// store, with the texts the Instrument window takes from it and the report of what was read.
// Preparing changes nothing: the application stores and shows the result only when it holds.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/failure.h"
#include "files/column_heading.h"
#include "files/imported_curve.h"
#include "files/step_time_series.h"
#include "model/model.h"

namespace qalto {

// Reads the measurement file at path, with the potential and current columns the user chose
// where he chose them. A failure's message is "ReadData Error: ", the description and where it
// lies (the line of the file, what was expected there and what was found, or the file name
// alone).
Expected<ImportedFile> ReadImportFile(const std::string& path, const ColumnChoice& choice = {});

// The name of the choice "all the curves of the file, overlaid".
inline constexpr const char* kAllCurves = "all cycles";
// The choice "all the curves of the file one after the other, as one curve", the whole
// potential history as it was measured, and its number among the choices.
inline constexpr const char* kWholeMeasurement = "whole measurement";
inline constexpr int kWholeMeasurementChoice = -1;
// The choice "cycle k after the cycles before it" (k = 2 or 3, as far as the scan list goes):
// cycles 1..k one after the other as one curve with the fit window on cycle k, so that a fit
// simulates the potential history that led to the cycle without comparing it. Its name is
// AfterEarlierName of the cycle's label; its number among the choices is HistoryChoice(k).
constexpr int HistoryChoice(int cycle) {
  return -cycle;
}
constexpr int HistoryCycle(int choice) {
  return choice <= -2 ? -choice : 0;
}
// Whether curve `index` (0 for the first) of the file is offered after the cycles before it.
bool OffersHistory(const ImportedFile& file, size_t index);
// "cycle 2 after the cycles before it", "scan 3 after the scans before it".
std::string AfterEarlierName(const std::string& label);
// The import report's note on a later cycle chosen alone.
inline constexpr const char* kLaterCycleAloneNote =
    "this cycle alone, from rest: a fit leaves out the cycles before it (choose it \"after the "
    "ones before it\" to fit it after them)";

// What the Instrument window takes from the data, as the texts of its boxes; scanIndex is the
// item of its scan list ("single", "cycle", "2 cycles", "3 cycles") where the data show it.
// A chronoamperogram's are its times instead of the potentials (steps).
struct InstrumentTexts {
  std::string estart, eend, estep;
  std::optional<std::string> scanRate, area, quietTime;
  std::optional<int> scanIndex;
  std::optional<StepTimeTexts> steps;
};

// One line of the import's report in the result window: a label and a text or a number.
struct ReportLine {
  std::string label;
  std::string text;
  std::optional<int> number;
};

// The prepared import. curves go into consecutive slots (one, or one per overlaid cycle), all
// on the potentials of the first; messages are shown in order before anything is stored, and
// when ok is false nothing is stored.
struct ImportResult {
  bool ok = false;
  std::vector<ImportedCurve> curves;
  InstrumentTexts instrument;
  std::vector<std::string> messages;
  std::vector<ReportLine> report;
  std::string caption;  // the plot's: the file's name
  // The fit window's points from and to that the choice sets (a cycle after those before it).
  std::optional<std::pair<int, int>> fitPoints;
  // The instrument programs write anodic current positive; the program's own two-column export
  // holds the sign convention it was written in, which is taken to be the store's.
  bool anodicPositive = true;
};

// Curve number choice (1 for the first) of the file, for kWholeMeasurementChoice all of them
// one after the other as one curve (the report gives the points of each), for HistoryChoice(k)
// the first k of them so, or for choice 0 all of them overlaid:
// as many as the store keeps side by side (kMaxOverlaid), on the potentials of the longest
// one. A curve longer than the store is resampled to kMaxPoints points, keeping its peaks, with
// a message that says so. A curve whose potentials cannot be taken (a step beyond the double
// range) is not ok, with the message "ReadData Error: Overflow: "<file>"".
ImportResult PrepareImport(const Model& model, const ImportedFile& file, int choice);

// Puts the curves into the store as points 1..NumberOfPoints, their currents in the store's sign
// convention (AnodicPositive): the first into slot, or without
// one into the slot chosen for a new curve (overlapChecked: the display options' "Overlap"
// box), the others after it as far as kMaxOverlaid. The number of curves stored.
int StoreImportedCurves(Model& model, const ImportResult& result, bool overlapChecked,
                        std::optional<int> slot);

}  // namespace qalto
