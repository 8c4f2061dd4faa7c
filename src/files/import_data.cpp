#include "files/import_data.h"

#include <cmath>

#include "common/plain_number.h"
#include "common/runtime_error.h"
#include "files/curve_resampling.h"
#include "files/file_format_error.h"
#include "files/measurement_file.h"
#include "files/read_failure.h"
#include "simulation/curve_slot.h"

namespace qalto {
namespace {

// The format of the program's own files, whose report stays as it always was.
constexpr const char* kTwoColumnCsv = "two-column CSV";

// What the import writes into the Instrument window: the potential program of the data as
// start, end and step, the first current as the baseline start, and the scan rate and area
// where the file holds them.
struct InstrumentTexts {
  std::string estart, eend, estep, i0;
  std::optional<std::string> scanRate, area;
};

// Start and end come from the curve's own points, where it really starts and turns: the
// programmed ones may be set against the open circuit or belong to another cycle. The end is
// the extreme away from the first point. The step is the file's where it holds one, else the
// distance of the first two points; with one point the second is the one left in the store.
// Two first potentials further apart than the double range are an overflow, found before
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
  if (curve.settings.potentialStep) step = std::fabs(*curve.settings.potentialStep);
  double i0 = curve.current.empty() ? model.CurrentY(1, model.TargetCurve) : curve.current[0];
  InstrumentTexts texts;
  texts.estart = NumberText(first);
  texts.eend = NumberText(first != highest ? highest : lowest);
  texts.estep = NumberText(step);
  texts.i0 = NumberText(i0);
  if (curve.settings.scanRate) texts.scanRate = NumberText(*curve.settings.scanRate);
  if (curve.settings.area) texts.area = NumberText(*curve.settings.area);
  return texts;
}

void FillInstrumentBoxes(const InstrumentTexts& texts, FormIns& ins) {
  ins.Estart.SetText(texts.estart);
  ins.Eend.SetText(texts.eend);
  ins.Estep.SetText(texts.estep);
  ins.TxtI0.SetText(texts.i0);
  if (texts.scanRate) ins.V.SetText(*texts.scanRate);
  if (texts.area) ins.ARE.SetText(*texts.area);
}

void PrintLine(ResultWindow& result, const std::string& label, const std::string& text) {
  result.Print(
      {PrintItem::Text(label, Separator::kZone), PrintItem::Text(text, Separator::kLineEnd)});
}

void ReportImport(const Model& model, const FormIns& ins, const ImportedCurve& curve,
                  const std::string& format, ResultWindow& result) {
  bool instrumentFile = format != kTwoColumnCsv;
  if (instrumentFile) PrintLine(result, "File format = ", format);
  if (!curve.label.empty()) PrintLine(result, "Curve = ", curve.label);
  result.Print({PrintItem::Text("Number of data point = ", Separator::kZone),
                PrintItem::Number(model.NumberOfPoints, Separator::kLineEnd)});
  PrintLine(result, "E start = ", ins.Estart.Text());
  PrintLine(result, "E end = ", ins.Eend.Text());
  PrintLine(result, "E step = ", ins.Estep.Text());
  if (curve.settings.scanRate) PrintLine(result, "Scan rate (V/s) = ", ins.V.Text());
  if (curve.settings.area) PrintLine(result, "Area (cm2) = ", ins.ARE.Text());
}

}  // namespace

std::optional<ImportedFile> ReadImportFile(Platform& platform, FileDialog& dialog) {
  std::string fileName;
  try {
    fileName = dialog.ShowOpen(platform, kImportFileFilter);
    return ReadMeasurementFile(fileName);
  } catch (const FileFormatError& error) {
    platform.MessageBox("ReadData Error: " + error.MessageFor(fileName));
  } catch (const RuntimeError& error) {
    // Failures of the file as a whole (opening it, reading the medium) name the file.
    platform.MessageBox("ReadData Error: " + FailureOfFile(error.Description(), fileName));
  } catch (const std::bad_alloc&) {
    platform.MessageBox("ReadData Error: " + FailureOfFile("Out of memory", fileName));
  }
  return std::nullopt;
}

ImportedCurve ChosenCurve(const ImportedFile& file, int choice) {
  if (choice >= 1 && choice <= static_cast<int>(file.curves.size())) {
    return file.curves[static_cast<size_t>(choice - 1)];
  }
  ImportedCurve all = file.curves.front();
  all.label = file.curves.size() > 1 ? kAllCurves : "";
  for (size_t c = 1; c < file.curves.size(); ++c) {
    const ImportedCurve& next = file.curves[c];
    all.potential.insert(all.potential.end(), next.potential.begin(), next.potential.end());
    all.current.insert(all.current.end(), next.current.begin(), next.current.end());
  }
  return all;
}

bool LoadImportedCurve(Model& model, ImportWindows windows, Platform& platform,
                       const ImportedCurve& read, const std::string& format, bool overlapChecked) {
  ImportedCurve curve = ResampledKeepingPeaks(read, kMaxPoints);
  InstrumentTexts texts;
  try {
    texts = InstrumentTextsOf(model, curve);
  } catch (const RuntimeError& error) {
    platform.MessageBox("ReadData Error: " + FailureOfFile(error.Description(), curve.source));
    return false;
  }
  if (curve.potential.size() < read.potential.size()) {
    platform.MessageBox("Import: " + std::to_string(read.potential.size()) +
                        " points are more than the " + std::to_string(kMaxPoints) +
                        " the curve store holds; the curve was resampled to " +
                        std::to_string(curve.potential.size()) + " points, keeping its peaks.");
  }
  SelectCurveSlot(model, overlapChecked);
  int n = static_cast<int>(curve.potential.size());
  for (int i = 1; i <= n; ++i) {
    model.PotentialX(i) = curve.potential[static_cast<size_t>(i - 1)];
    model.CurrentY(i, model.TargetCurve) = curve.current[static_cast<size_t>(i - 1)];
  }
  model.NumberOfPoints = n;
  model.FirstPoint = 1;
  model.LastPoint = model.NumberOfPoints;
  FillInstrumentBoxes(texts, windows.instrument);
  ReportImport(model, windows.instrument, curve, format, windows.result);
  windows.plot.SetCaption(curve.source);
  return true;
}

}  // namespace qalto
