// The File menu's data commands: import of measured data, export of the current curve and the
// parameter report.

#include <algorithm>
#include <complex>
#include <filesystem>
#include <system_error>

#include "app/app.h"
#include "app/curve_csv.h"
#include "common/plain_number.h"
#include "files/curve_export.h"
#include "files/import_data.h"
#include "files/parameter_report.h"
#include "files/program_file.h"
#include "files/spectrum_export.h"
#include "simulation/impedance_run.h"
#include "simulation/program_samples.h"
#include "simulation/square_wave_halves.h"

namespace qalto {
namespace {

void FillInstrumentBoxes(const InstrumentTexts& texts, FormIns& ins) {
  if (texts.steps) {  // a chronoamperogram: its times; the potentials are the user's
    ins.TextTSample.SetText(texts.steps->sample);
    ins.TextT1.SetText(texts.steps->first);
    ins.TextT2.SetText(texts.steps->second);
  } else {
    ins.Estart.SetText(texts.estart);
    ins.Eend.SetText(texts.eend);
    ins.Estep.SetText(texts.estep);
  }
  if (texts.scanRate) ins.V.SetText(*texts.scanRate);
  if (texts.quietTime) ins.TextQuiet.SetText(*texts.quietTime);
  if (texts.area) ins.ARE.SetText(*texts.area);
  if (texts.scanIndex) ins.ComboScan.SetListIndex(*texts.scanIndex);
}

void PrintReport(const std::vector<ReportLine>& report, ResultWindow& result) {
  for (const ReportLine& line : report) {
    PrintItem value = line.number ? PrintItem::Number(*line.number, Separator::kLineEnd)
                                  : PrintItem::Text(line.text, Separator::kLineEnd);
    result.Print({PrintItem::Text(line.label, Separator::kZone), value});
  }
}

}  // namespace

// A file of several cycles puts the first into the store and opens the Import window, where
// another one (or all) and other columns can be chosen; a failed read leaves everything as it
// was.
void App::mnuImport_Click() {
  Expected<ImportedFile> file = ReadImportFile(fileDialog_.ShowOpen(platform_, kImportFileFilter));
  if (!file) platform_.MessageBox(file.Error().message);
  if (!file || !TakeImportedFile(std::move(file.Value()), std::nullopt)) return;
  result_.Show();
  EnableCurveMenus();
  if (importedFile_.curves.size() > 1 || !importedFile_.columns.empty()) ShowForm(import_);
}

void App::mnuLoadProgram_Click() {
  const std::optional<std::string> path = platform_.OpenFileDialog(kProgramFileFilter);
  if (!path) return;  // cancelled: the program stays as it was
  Expected<PotentialProgram> program = ReadProgramFile(*path);
  if (!program) {
    platform_.MessageBox(program.Error().message);
    return;
  }
  program_.TakeFile(std::move(program.Value()));
  result_.Print(
      {PrintItem::Text("potential program: " + program_.lblFile.Caption(), Separator::kLineEnd)});
  ShowForm(program_);
}

// The E(t) the instrument applied to the active measured curve, from its own time column, as the
// potential program sampled at the curve's own instants, so that a simulation or a fit of
// technique 8 computes the current where it was measured; t sample shows their mean step.
void App::mnuProgramFromData_Click() {
  const std::optional<ImportedCurve>& curve = ImportedCurveIn(model_->CurrentCurve);
  if (!curve) {
    platform_.MessageBox("Potential program Error: the active curve is no measured curve");
    return;
  }
  std::string name = std::filesystem::path(curve->source).filename().string();
  if (!curve->label.empty()) name += " " + curve->label;
  if (curve->time.size() < 2 || curve->time.size() != curve->potential.size()) {
    platform_.MessageBox("Potential program Error: " + name +
                         " records no time column: the potential it applied is not known in time");
    return;
  }
  PotentialProgram program;
  program.fromFile = true;
  program.fileName = name;
  program.fileTimes = curve->time;
  program.filePotentials = curve->potential;
  program.atRows = true;
  const double sample =
      (program.fileTimes.back() - program.fileTimes.front()) / (curve->time.size() - 1.0);  // s
  if (auto problem = ProgramProblem(program, sample, 0.0)) {
    platform_.MessageBox("Potential program Error: " + *problem);
    return;
  }
  program_.TakeFile(std::move(program));
  ins_->TextTSample.SetText(NumberText(sample));
  result_.Print({PrintItem::Text("potential program: " + program_.lblFile.Caption() +
                                     ", t sample " + PlainNumber(sample) + " s",
                                 Separator::kLineEnd)});
}

void App::ImportColumnsChanged() {
  if (importedFile_.curves.empty()) return;
  Expected<ImportedFile> file =
      ReadImportFile(importedFile_.curves.front().source, import_.Columns());
  if (!file) platform_.MessageBox(file.Error().message);
  if (!file || !TakeImportedFile(std::move(file.Value()), importSlot_))
    import_.ShowFile(importedFile_);
}

bool App::TakeImportedFile(ImportedFile file, std::optional<int> slot) {
  ImportedFile previous = std::move(importedFile_);
  importedFile_ = std::move(file);
  import_.ShowFile(importedFile_);
  if (!LoadImportChoice(slot)) {
    importedFile_ = std::move(previous);
    import_.ShowFile(importedFile_);
    return false;
  }
  dataFile_ = plot_.Caption();
  curveFailed_ = false;
  PlotCurves();
  return true;
}

bool App::LoadImportChoice(std::optional<int> slot) {
  if (importedFile_.curves.empty()) return false;
  if (!importedFile_.curves.front().imaginary.empty()) return LoadImportedSpectrum();
  int choice = import_.Choice();
  ImportResult prepared = PrepareImport(*model_, importedFile_, choice);
  for (const std::string& message : prepared.messages)
    platform_.MessageBox(message);
  if (!prepared.ok) return false;
  int stored = StoreImportedCurves(*model_, prepared, ReadSimulationInputs().overlapChecked, slot);
  importSlot_ = model_->TargetCurve;
  FillInstrumentBoxes(prepared.instrument, *ins_);
  PrintReport(prepared.report, result_);
  plot_.SetCaption(prepared.caption);
  SetImportedFitWindow(prepared.fitPoints);
  // Each slot keeps its curve as the file holds it, and the file's name.
  for (int k = 0; k < stored; ++k) {
    size_t slotIndex = static_cast<size_t>(importSlot_ + k);
    size_t fileCurve = choice >= 1 ? static_cast<size_t>(choice - 1) : static_cast<size_t>(k);
    // The whole measurement and a cycle after those before it join curves of the file.
    const bool joined = choice == kWholeMeasurementChoice || HistoryCycle(choice) > 0;
    importedCurves_[slotIndex] = joined ? prepared.curves.front() : importedFile_.curves[fileCurve];
    std::string label =
        joined ? prepared.curves.front().label : importedFile_.curves[fileCurve].label;
    origins_[slotIndex] = {CurveSource::kMeasured,
                           label.empty() ? prepared.caption : prepared.caption + ", " + label};
  }
  return true;
}

void App::SetImportedFitWindow(const std::optional<std::pair<int, int>>& points) {
  TextBox& first = expr_->TextFitFirst;
  TextBox& last = expr_->TextFitLast;
  if (importedFitWindow_ && first.Text() == importedFitWindow_->first &&
      last.Text() == importedFitWindow_->second) {
    first.SetText("");
    last.SetText("");
  }
  importedFitWindow_.reset();
  if (!points) return;
  importedFitWindow_.emplace(std::to_string(points->first), std::to_string(points->second));
  first.SetText(importedFitWindow_->first);
  last.SetText(importedFitWindow_->second);
}

// A measured spectrum (the chosen one of a file that repeats it, else the first) goes into the
// store as a simulated one does; the Instrument window's frequencies become the file's, so that
// Simulate and a fit compute at the same ones.
bool App::LoadImportedSpectrum() {
  const int choice = import_.Choice();
  const bool chosen = choice >= 1 && static_cast<size_t>(choice) <= importedFile_.curves.size();
  const ImportedCurve& curve = importedFile_.curves[chosen ? static_cast<size_t>(choice - 1) : 0];
  std::vector<std::complex<double>> z;
  for (size_t i = 0; i < curve.current.size(); ++i)
    z.emplace_back(curve.current[i], curve.imaginary[i]);
  StoreSpectrum(*model_, ReadSimulationInputs().overlapChecked, curve.potential, z);
  importSlot_ = model_->TargetCurve;
  ins_->TextFfrom.SetText(NumberText(curve.potential.front()));
  ins_->TextFto.SetText(NumberText(curve.potential.back()));
  result_.Print({PrintItem::Text("Impedance spectrum of "),
                 PrintItem::Number(static_cast<double>(z.size())),
                 PrintItem::Text("frequencies from "), PrintItem::Number(curve.potential.front()),
                 PrintItem::Text("Hz to "), PrintItem::Number(curve.potential.back()),
                 PrintItem::Text("Hz", Separator::kLineEnd)});
  plot_.SetCaption(curve.source);
  const auto slotIndex = static_cast<size_t>(importSlot_);
  importedCurves_[slotIndex] = curve;
  origins_[slotIndex] = {CurveSource::kMeasured, curve.source};
  return true;
}

const std::optional<ImportedCurve>& App::ImportedCurveIn(int curve) const {
  static const std::optional<ImportedCurve> kNone;
  if (curve < 1 || curve > kMaxCurves) return kNone;
  return importedCurves_[static_cast<size_t>(curve)];
}

namespace {

// A column's heading as a quoted field: a name may hold commas and quotes.
std::string Quoted(const std::string& text) {
  std::string quoted(1, '"');
  for (char c : text) {
    if (c == '"') quoted.push_back('"');  // a quote inside is doubled
    quoted.push_back(c);
  }
  quoted.push_back('"');
  return quoted;
}

}  // namespace

// The selected curves, one column each after the potential, under a heading line that names
// every column with its unit; a lone square wave's net current has its forward and reverse
// currents after it, without a heading (the layout the import knows as the program's own).
void App::mnuExport_Click() {
  const Model& m = *model_;
  const std::vector<int> curves = SelectedCurves();
  const int first = curves.empty() ? m.CurrentCurve : curves.front();
  const bool concentrations = option_.ComboY.Text() == "surface concentration C";
  std::string heading = Quoted(kExportPotentialHeading);
  ExtraColumns extra{&m.CurrentY, {}};
  for (int k : curves.empty() ? std::vector<int>{first} : curves) {
    const std::string unit = !concentrations              ? kExportCurrentHeading
                             : IsSurfaceExcessCurve(m, k) ? kExportSurfaceExcessHeading
                                                          : kExportConcentrationHeading;
    heading.push_back(',');
    heading += Quoted(unit + " " + CurveName(k));
    if (k != first) extra.columns.push_back(k);
  }
  if (extra.columns.empty()) {
    extra = {&m.ReactionCurrents, SquareWaveHalfColumns(m, first)};
    // A square wave's four columns stay the program's own layout, which the import knows.
    if (!extra.columns.empty()) heading.clear();
  }
  std::optional<std::string> fileName = fileDialog_.ShowSave(platform_, kDataFileFilter);
  if (!fileName) return;
  // An empty range makes an empty file, but never empties one that holds something.
  std::error_code absent;
  if (m.LastPoint < std::max(m.FirstPoint, 1) &&
      std::filesystem::file_size(*fileName, absent) > 0 && !absent) {
    platform_.MessageBox("Error: No data!");
    return;
  }
  if (m.SpectrumFrequencies > 0) {  // frequency, Z', Z''
    if (Outcome written = WriteSpectrumFile(*fileName, m, m.CurrentCurve))
      platform_.MessageBox(written->message);
    return;
  }
  if (Outcome written = WriteCurveFile(*fileName, m.FirstPoint, m.LastPoint, m.PotentialX,
                                       m.CurrentY, first, extra, heading))
    platform_.MessageBox(written->message);
}

// The data, the fit and the residuals of the last single-curve fit, point by point.
void App::mnuExportFit_Click() {
  const Model& m = *model_;
  if (!m.LastFit.valid || m.CurveCount < 2) {
    platform_.MessageBox("Error: No fit to export!");
    return;
  }
  std::optional<std::string> fileName = fileDialog_.ShowSave(platform_, kDataFileFilter);
  if (!fileName) return;
  if (Outcome written =
          WriteFitFile(*fileName, m.FirstPoint, m.LastPoint, m.PotentialX, m.CurrentY))
    platform_.MessageBox(written->message);
}

void App::mnuSave_Click() {
  std::optional<std::string> fileName = fileDialog_.ShowSave(platform_, kParameterFileFilter);
  if (!fileName) return;
  if (Outcome written = WriteParameterReport(*model_, *fileName))
    platform_.MessageBox(written->message);
}

}  // namespace qalto
