#include "files/parameter_report.h"

#include <optional>

#include "common/print_line.h"
#include "common/runtime_error.h"
#include "files/text_file.h"

namespace qalto {
namespace {

void Pair(PrintBuffer& report, const std::string& label, const PrintItem& value) {
  report.Print({PrintItem::Text(label, Separator::kLineEnd), value});
}

void Pair(PrintBuffer& report, const std::string& label, double value) {
  Pair(report, label, PrintItem::Number(value, Separator::kLineEnd));
}

void SpeciesBlock(PrintBuffer& report, const Model& m, int s) {
  Pair(report, "Species ", s);
  Pair(report, "D :", m.SpeciesD(s));
  Pair(report, "C :", m.SpeciesC(s));
  Pair(report, "ks :", m.ChargeKs(s));
  Pair(report, "Alpha :", m.ChargeAlpha(s));
  Pair(report, "n :", m.ChargeN(s));
  Pair(report, "E' :", m.ChargeE0(s));
  Pair(report,
       "Conductivity :", PrintItem::Optional(m.SpeciesConductivity(s), Separator::kLineEnd));
}

}  // namespace

std::string ParameterReportText(const Model& m) {
  PrintBuffer report("\r\n");
  Pair(report, "Technique :", m.Technique);
  Pair(report, "Mechisim :", m.Mechanism);
  Pair(report, "Electrode", m.Electrode);
  Pair(report, "E start :", m.StartPotential);
  Pair(report, "E end :", m.EndPotential);
  Pair(report, "E Step :", m.PotentialStep);
  Pair(report, "t pulse :", m.PulseTime);
  Pair(report, "t drop :", m.DropTime);
  Pair(report, "Area Of Electrode :", m.ElectrodeArea);
  Pair(report, "E pulse :", m.PulsePotential);
  Pair(report, "Noise (%) :", m.NoiseLevel);
  Pair(report, "No. OF DATA :", m.NumberOfPoints);
  Pair(report, "NUMBER OF SPECIES :", m.SpeciesCount);
  // More species than the tables hold stop here with "Subscript out of range".
  for (int s = 1; s <= m.SpeciesCount; ++s)
    SpeciesBlock(report, m, s);
  return report.Text();
}

void WriteParameterReport(const Model& model, Platform& platform, FileDialog& dialog) {
  std::optional<std::string> fileName = dialog.ShowSave(platform, kParameterFileFilter);
  if (!fileName) return;
  try {
    // The whole text is made before the file is touched, so a failure leaves no half report.
    WriteTextFile(*fileName, ParameterReportText(model));
  } catch (const RuntimeError& error) {
    platform.MessageBox("Save Error: " + error.Description());
  }
}

}  // namespace qalto
