// The File menu's data commands: import of measured data, export of the current curve and the
// parameter report.

#include "app/app.h"
#include "files/curve_export.h"
#include "files/import_data.h"
#include "files/parameter_report.h"
#include "simulation/square_wave_halves.h"

namespace qalto {

// A file of several cycles puts the first into the store and opens the Import window, where
// another one (or all) can be chosen; a failed read leaves everything as it was.
void App::mnuImport_Click() {
  std::optional<ImportedFile> file = ReadImportFile(platform_, fileDialog_);
  if (!file) return;
  ImportedFile previous = std::move(importedFile_);
  importedFile_ = std::move(*file);
  import_.ShowFile(importedFile_);
  if (!LoadImportChoice()) {
    importedFile_ = std::move(previous);
    import_.ShowFile(importedFile_);
    return;
  }
  dataFile_ = plot_.Caption();
  NoteCurveOrigins(origins_, *model_, "mnuImport_Click", dataFile_);
  curveFailed_ = false;
  PlotCurves();
  result_.Show();
  EnableCurveMenus();
  if (importedFile_.curves.size() > 1) ShowForm(import_);
}

bool App::LoadImportChoice() {
  if (importedFile_.curves.empty()) return false;
  ImportedCurve curve = ChosenCurve(importedFile_, import_.Choice());
  ImportWindows windows{*ins_, result_, plot_};
  if (!LoadImportedCurve(*model_, windows, platform_, curve, importedFile_.format,
                         ReadSimulationInputs().overlapChecked)) {
    return false;
  }
  importedCurves_[static_cast<size_t>(model_->TargetCurve)] = std::move(curve);
  return true;
}

const std::optional<ImportedCurve>& App::ImportedCurveIn(int curve) const {
  static const std::optional<ImportedCurve> kNone;
  if (curve < 1 || curve > kMaxCurves) return kNone;
  return importedCurves_[static_cast<size_t>(curve)];
}

void App::mnuExport_Click() {
  const Model& m = *model_;
  // A square wave's net current is exported with its forward and reverse currents after it.
  const ExtraColumns halves{&m.ReactionCurrents, SquareWaveHalfColumns(m, m.CurrentCurve)};
  ExportCurve(platform_, fileDialog_, m.FirstPoint, m.LastPoint, m.PotentialX, m.CurrentY,
              m.CurrentCurve, halves);
}

void App::mnuSave_Click() {
  WriteParameterReport(*model_, platform_, fileDialog_);
}

}  // namespace qalto
