#include "app/fit_report.h"

#include <cstdio>
#include <string>

namespace qalto {
namespace {

constexpr const char* kValueFormat = "%.4g";        // four significant digits, as the captions
constexpr const char* kErrorFormat = "%.2g";        // an error is known to two digits
constexpr const char* kCorrelationFormat = "%.3f";  // a correlation lies in -1 .. 1

PrintItem Formatted(double value, const char* pattern, Separator separator = Separator::kZone) {
  char text[32];
  std::snprintf(text, sizeof text, pattern, value);
  return PrintItem::Text(text, separator);
}

void PrintParameterRow(ResultWindow& result, int number, const FittedParameter& p) {
  const char* bound = p.atBound ? "at bound" : nullptr;
  if (!p.determined) {
    std::vector<PrintItem> row{
        PrintItem::Number(number, Separator::kZone), PrintItem::Text(p.name, Separator::kZone),
        Formatted(p.value, kValueFormat),
        PrintItem::Text("undetermined: the data do not fix it", Separator::kLineEnd)};
    if (bound) {
      row.back().separator = Separator::kZone;
      row.push_back(PrintItem::Text(bound, Separator::kLineEnd));
    }
    result.Print(row);
    return;
  }
  std::vector<PrintItem> row{PrintItem::Number(number, Separator::kZone),
                             PrintItem::Text(p.name, Separator::kZone),
                             Formatted(p.value, kValueFormat),
                             PrintItem::Text("\u00b1", Separator::kZone),
                             Formatted(p.standardError, kErrorFormat),
                             Formatted(p.lower95, kValueFormat),
                             Formatted(p.upper95, kValueFormat, Separator::kLineEnd)};
  for (const char* flag : {bound, p.Undetermined() ? "undetermined" : nullptr}) {
    if (!flag) continue;
    row.back().separator = Separator::kZone;
    row.push_back(PrintItem::Text(flag, Separator::kLineEnd));
  }
  result.Print(row);
}

void PrintCorrelations(ResultWindow& result, const FitResult& fit) {
  std::vector<PrintItem> header{PrintItem::Zone()};
  for (const FittedParameter& p : fit.parameters) {
    if (p.determined) header.push_back(PrintItem::Text(p.name, Separator::kZone));
  }
  header.back().separator = Separator::kLineEnd;
  result.Print(header);
  for (size_t j = 0; j < fit.parameters.size(); ++j) {
    if (!fit.parameters[j].determined) continue;
    std::vector<PrintItem> row{PrintItem::Text(fit.parameters[j].name, Separator::kZone)};
    for (size_t k = 0; k < fit.parameters.size(); ++k) {
      if (fit.parameters[k].determined)
        row.push_back(Formatted(fit.correlation[j][k], kCorrelationFormat));
    }
    row.back().separator = Separator::kLineEnd;
    result.Print(row);
  }
}

void PrintLabelled(ResultWindow& result, const char* label, double value) {
  result.Print(
      {PrintItem::Text(label, Separator::kZone), PrintItem::Number(value, Separator::kLineEnd)});
}

}  // namespace

void PrintLeastSquare(ResultWindow& result, double S) {
  PrintLabelled(result, "Least square = ", S);
}

void PrintFitReport(ResultWindow& result, const FitReport& report) {
  result.Print({PrintItem::Text("No.", Separator::kZone),
                PrintItem::Text("Initial value", Separator::kZone), PrintItem::Zone(),
                PrintItem::Text("Fitted value", Separator::kLineEnd)});
  for (size_t p = 0; p < report.fitted.size(); ++p) {
    result.Print({PrintItem::Number(static_cast<double>(p + 1), Separator::kZone),
                  PrintItem::Number(report.initial[p], Separator::kZone),
                  PrintItem::Number(report.fitted[p], Separator::kLineEnd)});
  }
  const FitOutcome& outcome = report.outcome;
  result.Print({PrintItem::Text("", Separator::kLineEnd)});
  PrintLabelled(result, "Least square = ", outcome.S);
  PrintLabelled(result, "Standard deviation^2 = ", outcome.variance);
  PrintLabelled(result, "Convergence flag = ", outcome.flag);
  PrintLabelled(result, "No. of iteration = ", outcome.iterations);
  PrintLabelled(result, "No. of obj. fun. = ", report.objectiveCount);
  PrintLabelled(result, "No. of MARQUARDS = ", outcome.marquards);
  PrintLabelled(result, "Computation time (s) =", report.elapsed);
}

void PrintParameterUncertainty(ResultWindow& result, const FitResult& fit) {
  if (!fit.valid || fit.parameters.empty()) return;
  result.Print({PrintItem::Text("", Separator::kLineEnd)});
  result.Print({PrintItem::Text("Parameter uncertainty", Separator::kLineEnd)});
  result.Print({PrintItem::Text("No.", Separator::kZone),
                PrintItem::Text("Parameter", Separator::kZone),
                PrintItem::Text("Value", Separator::kZone), PrintItem::Zone(),
                PrintItem::Text("Std. error", Separator::kZone),
                PrintItem::Text("95 % interval", Separator::kLineEnd)});
  for (size_t p = 0; p < fit.parameters.size(); ++p)
    PrintParameterRow(result, static_cast<int>(p + 1), fit.parameters[p]);
  result.Print({PrintItem::Text("Residual variance = ", Separator::kZone),
                PrintItem::Number(fit.residualVariance, Separator::kZone),
                PrintItem::Text("Degrees of freedom = ", Separator::kZone),
                PrintItem::Number(fit.degreesOfFreedom, Separator::kLineEnd)});
  if (fit.systematicResiduals) {
    char z[32];
    std::snprintf(z, sizeof z, "%.1f", fit.runsZ);
    result.Print({PrintItem::Text(std::string("Warning: the residuals run in long stretches of "
                                              "one sign (runs test z = ") +
                                      z +
                                      "): the model misses a shape of the data and the "
                                      "intervals are too small.",
                                  Separator::kLineEnd)});
  }
  bool anyDetermined = false;
  for (const FittedParameter& p : fit.parameters)
    anyDetermined = anyDetermined || p.determined;
  if (!anyDetermined) return;
  result.Print({PrintItem::Text("Correlation matrix", Separator::kLineEnd)});
  PrintCorrelations(result, fit);
}

void PrintCurveResiduals(ResultWindow& result, const FitResult& fit) {
  if (!fit.valid) return;
  result.Print({PrintItem::Text("", Separator::kLineEnd)});
  result.Print({PrintItem::Text("Curve", Separator::kZone),
                PrintItem::Text("Points", Separator::kZone),
                PrintItem::Text("Least square", Separator::kLineEnd)});
  for (const CurveResidual& curve : fit.curves) {
    result.Print({PrintItem::Text(curve.label, Separator::kZone),
                  PrintItem::Number(curve.points, Separator::kZone),
                  PrintItem::Number(curve.sumOfSquares, Separator::kLineEnd)});
  }
}

void PrintProfileIntervals(ResultWindow& result, const FitResult& fit) {
  result.Print({PrintItem::Text("Profile-likelihood 95 % intervals", Separator::kLineEnd)});
  for (size_t p = 0; p < fit.parameters.size(); ++p) {
    const FittedParameter& x = fit.parameters[p];
    if (!x.profiled) continue;
    std::vector<PrintItem> row{PrintItem::Number(static_cast<double>(p + 1), Separator::kZone),
                               PrintItem::Text(x.name, Separator::kZone),
                               Formatted(x.value, kValueFormat),
                               Formatted(x.profileLower, kValueFormat),
                               Formatted(x.profileUpper, kValueFormat, Separator::kLineEnd)};
    for (auto [open, flag] : {std::pair{x.profileLowerOpen, "open below"},
                              std::pair{x.profileUpperOpen, "open above"}}) {
      if (!open) continue;
      row.back().separator = Separator::kZone;
      row.push_back(PrintItem::Text(flag, Separator::kLineEnd));
    }
    result.Print(row);
  }
}

}  // namespace qalto
