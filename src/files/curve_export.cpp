#include "files/curve_export.h"

#include <algorithm>
#include <charconv>

#include "common/file_replacement.h"
#include "common/print_line.h"
#include "common/runtime_error.h"

namespace qalto {

std::string CurveExportLine(double potential, double current, const std::vector<double>& more) {
  std::vector<PrintItem> items{PrintItem::Number(potential), PrintItem::Text(",", Separator::kZone),
                               PrintItem::Number(current)};
  for (double value : more) {
    items.push_back(PrintItem::Text(",", Separator::kZone));
    items.push_back(PrintItem::Number(value));
  }
  PrintBuffer line;
  line.Print(items);
  return line.Text();
}

void PrintCurve(int first, int last, const GrowingTable1<double>& potentials,
                const GrowingTable2<double>& currents, int curve, const LineSink& writeLine,
                const ExtraColumns& extra) {
  std::vector<double> more(extra.columns.size());
  // Before any curve exists the range is 0..0; point 0 is never exported.
  for (int i = std::max(first, 1); i <= last; ++i) {
    for (size_t c = 0; c < more.size(); ++c)
      more[c] = (*extra.table)(i, extra.columns[c]);
    writeLine(CurveExportLine(potentials(i), currents(i, curve), more));
  }
}

std::string CurveExportText(int first, int last, const GrowingTable1<double>& potentials,
                            const GrowingTable2<double>& currents, int curve) {
  std::string text;
  PrintCurve(first, last, potentials, currents, curve,
             [&text](const std::string& line) { text += line + "\r\n"; });
  return text;
}

Outcome WriteCurveFile(const std::string& fileName, int first, int last,
                       const GrowingTable1<double>& potentials,
                       const GrowingTable2<double>& currents, int curve, const ExtraColumns& extra,
                       const std::string& heading) {
  try {
    OutputTextFile file(fileName);
    if (!heading.empty() && last >= std::max(first, 1))
      file.WriteLine(heading);  // no points, no heading
    PrintCurve(
        first, last, potentials, currents, curve,
        [&file](const std::string& line) { file.WriteLine(line); }, extra);
    file.Close();
  } catch (const RuntimeError& error) {
    return Failure{FileWriteMessage("Export ", fileName, error)};
  }
  return std::nullopt;
}

std::string FitExportLine(double potential, double measured, double fitted) {
  // 17 significant digits, as printf's %.17g writes them.
  char number[32];
  std::string line;
  for (double value : {potential, measured, fitted, measured - fitted}) {
    if (!line.empty()) line += ',';
    line.append(
        number,
        std::to_chars(number, number + sizeof number, value, std::chars_format::general, 17).ptr);
  }
  return line;
}

Outcome WriteFitFile(const std::string& fileName, int first, int last,
                     const GrowingTable1<double>& potentials,
                     const GrowingTable2<double>& currents) {
  try {
    OutputTextFile file(fileName);
    file.WriteLine(kFitExportHeader);
    for (int i = std::max(first, 1); i <= last; ++i)
      file.WriteLine(FitExportLine(potentials(i), currents(i, 1), currents(i, 2)));
    file.Close();
  } catch (const RuntimeError& error) {
    return Failure{FileWriteMessage("Export ", fileName, error)};
  }
  return std::nullopt;
}

}  // namespace qalto
