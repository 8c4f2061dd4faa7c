// The File menu's data commands: import of measured data, export of the current curve and the
// parameter report.

#include "app/app.h"
#include "files/curve_export.h"
#include "files/import_data.h"
#include "files/parameter_report.h"

namespace qalto {

void App::mnuImport_Click() {
  ImportWindows windows{*ins_, result_, plot_};
  if (!ImportData(*model_, windows, platform_, fileDialog_,
                  ReadSimulationInputs().overlapChecked)) {
    return;
  }
  curveFailed_ = false;
  PlotCurves();
  result_.Show();
  EnableCurveMenus();
}

void App::mnuExport_Click() {
  const Model& m = *model_;
  ExportCurve(platform_, fileDialog_, m.FirstPoint, m.LastPoint, m.PotentialX, m.CurrentY,
              m.CurrentCurve);
}

void App::mnuSave_Click() {
  WriteParameterReport(*model_, platform_, fileDialog_);
}

}  // namespace qalto
