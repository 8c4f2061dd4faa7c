#pragma once
// Import of measured data: a measurement file of any supported kind read whole, then one of
// its curves (a cycle, a segment, a scan, or all of them in order) put into the curve store,
// the Instrument window filled from it and a short report of what was read in the result
// window. Nothing the user had changes until the file has been read and understood.

#include <optional>
#include <string>

#include "app/plot_window.h"
#include "app/result_window.h"
#include "files/file_dialog.h"
#include "files/imported_curve.h"
#include "forms/instrument_form.h"
#include "model/model.h"
#include "ui/platform.h"

namespace qalto {

// What the import writes into besides the model.
struct ImportWindows {
  FormIns& instrument;
  ResultWindow& result;
  PlotWindow& plot;
};

// Asks for the file and reads it. On a failure the message box shows "ReadData Error: ", the
// description and where it lies (the line of the file, what was expected there and what was
// found, or the file name alone), and there is nothing.
std::optional<ImportedFile> ReadImportFile(Platform& platform, FileDialog& dialog);

// The name of the choice "all the curves of the file, one after the other".
inline constexpr const char* kAllCurves = "all cycles";

// Curve number choice (1 for the first) of the file, or all of them joined in file order for
// choice 0, so that the cycles draw over one another.
ImportedCurve ChosenCurve(const ImportedFile& file, int choice);

// Chooses the curve slot (overlapChecked: the display options' "Overlap" box) and puts the
// curve there as points 1..NumberOfPoints; a curve longer than the store is resampled to
// kMaxPoints points, keeping its peaks, and a message box says so. The Instrument window
// gets the potentials and the settings the file holds, the result window the report and the
// plot the file's name; true. A curve whose potentials cannot be taken (a step beyond the
// double range) changes nothing and shows "ReadData Error: Overflow: "<file>""; false.
bool LoadImportedCurve(Model& model, ImportWindows windows, Platform& platform,
                       const ImportedCurve& curve, const std::string& format, bool overlapChecked);

}  // namespace qalto
