#include "files/import_data.h"

#include <cmath>

#include "analysis/curve_extremes.h"
#include "common/plain_number.h"
#include "common/runtime_error.h"
#include "files/data_reader.h"
#include "files/read_failure.h"
#include "files/text_file.h"
#include "simulation/curve_slot.h"

namespace qalto {
namespace {

// What the import writes into the Instrument window: the potential program of the data as
// start, end and step, and the first current as the baseline start.
struct InstrumentTexts {
  std::string estart, eend, estep, i0;
};

// The end is the extreme away from the first point. Two first potentials further apart than
// the double range are an overflow, found before anything is changed.
InstrumentTexts InstrumentTextsOf(const Model& model, int numberOfPoints) {
  double first = model.PotentialX(1);  // V
  double highest = MaxOfCurve(model.PotentialX, numberOfPoints);
  double lowest = MinOfCurve(model.PotentialX, numberOfPoints);
  double step = std::fabs(model.PotentialX(2) - first);  // V
  if (!std::isfinite(step)) throw RuntimeError::Overflow();
  return {NumberText(first), NumberText(first != highest ? highest : lowest), NumberText(step),
          NumberText(model.CurrentY(1, model.TargetCurve))};
}

void FillInstrumentBoxes(const InstrumentTexts& texts, FormIns& ins) {
  ins.Estart.SetText(texts.estart);
  ins.Eend.SetText(texts.eend);
  ins.Estep.SetText(texts.estep);
  ins.TxtI0.SetText(texts.i0);
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
  InstrumentTexts texts;
  try {
    fileName = dialog.ShowOpen(platform, kDataFileFilter);
    std::ifstream file = OpenForInput(fileName);
    n = ReadCurveRecords(file, model, model.TargetCurve);
    texts = InstrumentTextsOf(model, n);
  } catch (const DataReadError& error) {
    platform.MessageBox("ReadData Error: " + error.Description());
    return false;
  } catch (const RuntimeError& error) {
    // Failures of the file as a whole (opening it, reading the medium, a potential step beyond
    // the double range) name the file.
    platform.MessageBox("ReadData Error: " + FailureOfFile(error.Description(), fileName));
    return false;
  }
  model.NumberOfPoints = n;
  model.FirstPoint = 1;
  model.LastPoint = model.NumberOfPoints;
  FillInstrumentBoxes(texts, windows.instrument);
  ReportImport(model, windows.instrument, windows.result);
  windows.plot.SetCaption(fileName);
  return true;
}

}  // namespace qalto
