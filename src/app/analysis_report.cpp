#include "app/analysis_report.h"

#include <cmath>
#include <string>

#include "common/number_format.h"

namespace qalto {
namespace {

constexpr const char* kPotentialFormat = "0.####";
constexpr const char* kCurrentFormat = "0.####E-0";

PrintItem LineEnd() {
  return {std::monostate{}, Separator::kLineEnd};
}

void PrintCurveHeading(ResultWindow& result, int k) {
  result.Print({PrintItem::Zone(), PrintItem::Text("Curve "), PrintItem::Number(k),
                PrintItem::Text(":", Separator::kLineEnd)});
}

void PrintCurvePeaks(ResultWindow& result, const CurvePeaks& curve) {
  for (size_t index = 0; index < curve.peaks.size(); ++index) {
    const FoundPeak& peak = curve.peaks[index];
    std::vector<PrintItem> line = {
        PrintItem::Text("Peak "),
        PrintItem::Number(static_cast<double>(index + 1)),
        PrintItem::Text(":", Separator::kZone),
        PrintItem::Text("Ep= " + FormatNumber(peak.potential, kPotentialFormat) + "V",
                        Separator::kZone),
        PrintItem::Text("Ip= " + FormatNumber(peak.current, kCurrentFormat) + "A",
                        Separator::kZone),
        PrintItem::Text("Ip-base= " + FormatNumber(peak.Height(), kCurrentFormat) + "A",
                        Separator::kZone),
        PrintItem::Text("Ep/2 - Ep= " + FormatNumber(peak.halfWidth, kPotentialFormat) + "V",
                        Separator::kLineEnd)};
    result.Print(line);
  }
}

void PrintPair(ResultWindow& result, const PeakPair& pair) {
  result.Print(
      {PrintItem::Text("Ep2 - Ep1 = " + FormatNumber(pair.separation, kPotentialFormat) + "V",
                       Separator::kZone),
       PrintItem::Text("(Ep2 + Ep1)/2 = " + FormatNumber(pair.midpoint, kPotentialFormat) + "V",
                       Separator::kLineEnd)});
}

void PrintRatio(ResultWindow& result, const PeakRatio& ratio) {
  result.Print(
      {PrintItem::Text("Ipa/Ipc = "), PrintItem::Number(ratio.ratio, Separator::kLineEnd)});
  result.Print({PrintItem::Text("Ipc = " + FormatNumber(ratio.forwardI, kCurrentFormat) + "A",
                                Separator::kZone),
                PrintItem::Text("Ipa = " + FormatNumber(ratio.reverseI, kCurrentFormat) + "A",
                                Separator::kLineEnd)});
}

std::string Formatted(const std::optional<double>& value, const char* pattern) {
  return value ? FormatNumber(*value, pattern) : std::string();
}

void PrintLine(ResultWindow& result, const std::string& title, int r, const std::string& gap,
               bool peak, const TheoreticalLine& line) {
  std::string potentialLabel = peak ? "Ep= " : "E1/2= ";
  std::string currentLabel = peak ? "Ip= " : "Id = ";
  std::vector<PrintItem> items = {
      PrintItem::Text(title), PrintItem::Number(r),
      PrintItem::Text(
          ":" + gap + potentialLabel + Formatted(line.potential, kPotentialFormat) + "V",
          Separator::kZone),
      PrintItem::Text(currentLabel + Formatted(line.current, kCurrentFormat) + "A",
                      Separator::kZone)};
  if (line.width.value_or(0) != 0) {
    items.push_back(PrintItem::Text("Ep/2 - Ep= " + Formatted(line.width, kPotentialFormat) + "V",
                                    Separator::kLineEnd));
  } else {
    items.push_back(LineEnd());
  }
  result.Print(items);
}

// The cycle with the model's own rate constant: the forward peak in the layout of the other
// lines, then Nicholson's psi, the peak separation and the reverse peak current.
void PrintQuasiReversible(ResultWindow& result, int r, const QuasiReversiblePeaks& q) {
  PrintLine(result, "Quasi-reversible Peak ", r, "  ", true,
            {q.forwardE, q.forwardI, q.forwardWidth});
  std::optional<double> separation;
  if (q.forwardE && q.reverseE) separation = std::fabs(*q.reverseE - *q.forwardE);
  // psi in plain digits across the usual range, in exponent form at the far ends.
  bool plain = q.psi >= 1e-3 && q.psi < 1e5;
  std::string psi = FormatNumber(q.psi, plain ? "0.####" : "0.###E-0");
  result.Print(
      {PrintItem::Text("psi= " + psi, Separator::kZone),
       PrintItem::Text("|Epc-Epa|=" + Formatted(separation, kPotentialFormat), Separator::kZone),
       PrintItem::Text("reverse Ip= " + Formatted(q.reverseI, kCurrentFormat) + "A",
                       Separator::kLineEnd)});
  result.Print({LineEnd()});
}

}  // namespace

void PrintPeaks(ResultWindow& result, const PeakReport& report) {
  for (size_t k = 0; k < report.curves.size(); ++k) {
    const CurvePeaks& curve = report.curves[k];
    PrintCurveHeading(result, static_cast<int>(k + 1));
    PrintCurvePeaks(result, curve);
    if (curve.pair) PrintPair(result, *curve.pair);
    if (curve.ratio) PrintRatio(result, *curve.ratio);
  }
  if (report.failure) std::rethrow_exception(report.failure);
}

void PrintHalfWaves(ResultWindow& result, const std::vector<std::vector<HalfWave>>& curves) {
  for (size_t k = 0; k < curves.size(); ++k) {
    PrintCurveHeading(result, static_cast<int>(k + 1));
    int wave = 0;
    for (const HalfWave& half : curves[k]) {
      ++wave;
      result.Print({PrintItem::Text("Peak "), PrintItem::Number(wave),
                    PrintItem::Text(": ", Separator::kZone),
                    PrintItem::Text("E1/2= " + FormatNumber(half.potential, kPotentialFormat) + "V",
                                    Separator::kZone),
                    PrintItem::Text("Id= " + FormatNumber(half.height, kCurrentFormat) + "A",
                                    Separator::kLineEnd)});
    }
  }
}

void PrintTheoreticalPeak(ResultWindow& result, const TheoreticalReport& report) {
  result.Print({PrintItem::Text("Theoretical limiting current of mechanism "),
                PrintItem::Number(report.mechanism), PrintItem::Text(", technique "),
                PrintItem::Number(Number(report.technique)), PrintItem::Text(", electrode "),
                PrintItem::Number(Number(report.electrode)),
                PrintItem::Text(" :", Separator::kLineEnd)});
  for (size_t index = 0; index < report.reactions.size(); ++index) {
    const ReactionTheory& theory = report.reactions[index];
    int r = static_cast<int>(index + 1);
    PrintLine(result, "Reversible Peak ", r, "   ", theory.values.peak, theory.values.reversible);
    if (theory.separationFailed) std::rethrow_exception(report.failure);
    if (theory.reversibleSeparation) {
      result.Print({PrintItem::Text(
          "|Epc-Epa|=" + FormatNumber(*theory.reversibleSeparation, kPotentialFormat),
          Separator::kLineEnd)});
    }
    result.Print({LineEnd()});
    if (theory.values.quasiReversible)
      PrintQuasiReversible(result, r, *theory.values.quasiReversible);
    PrintLine(result, "Irreverisble Peak ", r, "  ", theory.values.peak,
              theory.values.irreversible);
    result.Print({LineEnd()});
  }
  if (report.failure) std::rethrow_exception(report.failure);
  for (const std::string& line : report.approximations)
    result.Print({PrintItem::Text(line, Separator::kLineEnd)});
}

}  // namespace qalto
