#pragma once
// Import of measured data: one current-potential curve from a comma-separated text file into
// the curve store, the Instrument window's potential boxes filled from it and a short report
// of what was read in the result window.

#include "model/model.h"
#include "app/plot_window.h"
#include "app/result_window.h"
#include "files/file_dialog.h"
#include "forms/instrument_form.h"
#include "ui/platform.h"

namespace qalto {

// What the import writes into besides the model.
struct ImportWindows {
  FormIns& instrument;
  ResultWindow& result;
  PlotWindow& plot;
};

// Chooses the curve slot (overlapChecked: the display options' "Overlap" box), asks for the
// file and reads it. On success the curve store holds the data as points 1..NumberOfPoints of
// curve TargetCurve and the windows are filled; true. On a failure the message box shows
// "ReadData Error: ", the description and where it lies (the line and the text found there, or
// the file name); the windows and the point counts are untouched, the records read so far and
// the slot choice stay; false.
bool ImportData(Model& model, ImportWindows windows, Platform& platform, FileDialog& dialog,
                bool overlapChecked);

}  // namespace qalto
