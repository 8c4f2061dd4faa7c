#include "files/import_data.h"

#include <cmath>

#include "analysis/curve_extremes.h"
#include "common/plain_number.h"
#include "common/runtime_error.h"
#include "files/data_reader.h"
#include "files/text_file.h"
#include "simulation/curve_slot.h"

namespace qalto {
namespace {

// The potential program of the data as the Instrument window's start, end and step, and the
// first current as the baseline start. The end is the extreme away from the first point.
void FillInstrumentBoxes(const Model& model, FormIns& ins) {
  double first = model.PotentialX(1);  // V
  double highest = MaxOfCurve(model.PotentialX, model.NumberOfPoints);
  double lowest = MinOfCurve(model.PotentialX, model.NumberOfPoints);
  ins.Estart.SetText(NumberText(first));
  ins.Eend.SetText(NumberText(first != highest ? highest : lowest));
  ins.Estep.SetText(NumberText(std::fabs(model.PotentialX(2) - first)));
  ins.TxtI0.SetText(NumberText(model.CurrentY(1, model.TargetCurve)));
}

void ReportImport(const Model& model, const FormIns& ins, ResultWindow& result) {
  result.Print({PrintItem::Text("Number of data point = ", Separator::kZone),
                PrintItem::Number(model.NumberOfPoints, Separator::kLineEnd)});
  result.Print({PrintItem::Text("E start = ", Separator::kZone),
                PrintItem::Text(ins.Estart.Text(), Separator::kLineEnd)});
  result.Print({PrintItem::Text("E end = ", Separator::kZone),
                PrintItem::Text(ins.Eend.Text(), Separator::kLineEnd)});
  result.Print({PrintItem::Text("E step = ", Separator::kZone),
                PrintItem::Text(ins.Estep.Text(), Separator::kLineEnd)});
}

}  // namespace

bool ImportData(Model& model, ImportWindows windows, Platform& platform, FileDialog& dialog,
                bool overlapChecked) {
  SelectCurveSlot(model, overlapChecked);
  std::string fileName;
  int n = 0;
  try {
    fileName = dialog.ShowOpen(platform, kDataFileFilter);
    std::ifstream file = OpenForInput(fileName);
    n = ReadCurveRecords(file, model, model.TargetCurve);
  } catch (const RuntimeError& error) {
    platform.MessageBox("ReadData Error: " + error.Description());
    return false;
  }
  model.NumberOfPoints = n;
  model.FirstPoint = 1;
  model.LastPoint = model.NumberOfPoints;
  FillInstrumentBoxes(model, windows.instrument);
  ReportImport(model, windows.instrument, windows.result);
  windows.plot.SetCaption(fileName);
  return true;
}

}  // namespace qalto
