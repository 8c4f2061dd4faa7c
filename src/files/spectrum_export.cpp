#include "files/spectrum_export.h"

#include "common/file_replacement.h"
#include "common/runtime_error.h"
#include "files/curve_export.h"
#include "files/text_file.h"

namespace qalto {
namespace {

void PrintSpectrum(const Model& model, int curve, const LineSink& writeLine) {
  const int n = model.SpectrumFrequencies;
  writeLine(kSpectrumExportHeader);
  for (int i = 1; i <= n; ++i)
    writeLine(CurveExportLine(model.PotentialX(i), model.CurrentY(i, curve),
                              {model.CurrentY(n + i, curve)}));
}

}  // namespace

std::string SpectrumExportText(const Model& model, int curve) {
  std::string text;
  PrintSpectrum(model, curve, [&text](const std::string& line) { text += line + "\r\n"; });
  return text;
}

Outcome WriteSpectrumFile(const std::string& fileName, const Model& model, int curve) {
  try {
    OutputTextFile file(fileName);
    PrintSpectrum(model, curve, [&file](const std::string& line) { file.WriteLine(line); });
    file.Close();
  } catch (const RuntimeError& error) {
    return Failure{FileWriteMessage("Export ", fileName, error)};
  }
  return std::nullopt;
}

}  // namespace qalto
