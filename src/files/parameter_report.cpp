#include "files/parameter_report.h"

#include <optional>

#include "common/file_replacement.h"
#include "common/plain_number.h"
#include "common/runtime_error.h"

namespace qalto {
namespace {

// The report's lines, each sent out as soon as it is made: a value that cannot be read ends
// the report after its label line.
class ReportPrinter {
 public:
  explicit ReportPrinter(const LineSink& writeLine) : writeLine_(writeLine) {}

  void Label(const std::string& text) { writeLine_(text); }
  void Value(double value) { writeLine_(PrintedNumber(value)); }
  void Value(const std::optional<double>& value) { writeLine_(value ? PrintedNumber(*value) : ""); }

 private:
  const LineSink& writeLine_;
};

void SpeciesBlock(ReportPrinter& report, const Model& m, int s) {
  report.Label("Species ");
  report.Value(s);
  report.Label("D :");
  report.Value(m.SpeciesD(s));
  report.Label("C :");
  report.Value(m.SpeciesC(s));
  report.Label("ks :");
  report.Value(m.ChargeKs(s));
  report.Label("Alpha :");
  report.Value(m.ChargeAlpha(s));
  report.Label("n :");
  report.Value(m.ChargeN(s));
  report.Label("E' :");
  report.Value(m.ChargeE0(s));
  if (m.ChargeLambda(s) != 0) {
    report.Label("Lambda (eV) :");
    report.Value(m.ChargeLambda(s));
  }
  report.Label("Conductivity :");
  report.Value(m.SpeciesConductivity(s));
  if (m.SpeciesAdsorbed(s) != 0) {
    report.Label("Gamma (mol/cm2) :");
    report.Value(m.SpeciesGamma(s));
  }
}

// The last fit's values with their standard errors, 95 % intervals and correlations; a value
// line of a parameter the data did not determine says so in words.
void UncertaintyBlock(ReportPrinter& report, const FitResult& fit) {
  report.Label("Parameter uncertainty :");
  report.Value(static_cast<double>(fit.parameters.size()));
  for (const FittedParameter& p : fit.parameters) {
    report.Label(p.name + " :");
    report.Value(p.value);
    report.Label("Standard error :");
    if (!p.determined) {
      report.Label("undetermined");
      continue;
    }
    report.Value(p.standardError);
    report.Label("95 % interval from :");
    report.Value(p.lower95);
    report.Label("95 % interval to :");
    report.Value(p.upper95);
  }
  for (size_t j = 0; j < fit.parameters.size(); ++j) {
    for (size_t k = j + 1; k < fit.parameters.size(); ++k) {
      if (!fit.parameters[j].determined || !fit.parameters[k].determined) continue;
      report.Label("Correlation " + fit.parameters[j].name + " " + fit.parameters[k].name + " :");
      report.Value(fit.correlation[j][k]);
    }
  }
}

// The DC potential, the frequencies and the cell constants of an impedance spectrum.
// The potential program: t sample, then each segment's kind and numbers (hold and step: E and t;
// sweep: E from, E to, v), or the file's name and rows.
void ProgramSegments(ReportPrinter& report, const Model& m) {
  const PotentialProgram& p = m.Program;
  if (p.fromFile) {
    report.Label("Program file :");
    report.Label(p.fileName);
    report.Label("Program rows :");
    report.Value(static_cast<double>(p.fileTimes.size()));
    return;
  }
  report.Label("Program segments :");
  report.Value(static_cast<double>(p.segments.size()));
  for (std::size_t i = 0; i < p.segments.size(); ++i) {
    const ProgramSegment& s = p.segments[i];
    const bool sweep = s.kind == SegmentKind::kSweep;
    const char* kind = sweep ? "sweep" : s.kind == SegmentKind::kHold ? "hold" : "step";
    report.Label("Segment " + std::to_string(i + 1) + " " + kind + " :");
    report.Value(s.potential);
    report.Value(sweep ? s.end : s.duration);
    if (sweep) report.Value(s.rate);
  }
}

void ProgramBlock(ReportPrinter& report, const Model& m) {
  report.Label("t sample :");
  report.Value(m.SampleTime);
  ProgramSegments(report, m);
}

void AcBlock(ReportPrinter& report, const Model& m) {
  if (m.AcOnProgram) {
    report.Label("AC on :");
    report.Label("potential program");
    ProgramSegments(report, m);
  } else {
    report.Label("Scan rate :");
    report.Value(m.ScanRate);
  }
  report.Label("AC amplitude :");
  report.Value(m.AcAmplitude);
  report.Label("AC frequency :");
  report.Value(m.AcFrequency);
}

void ImpedanceBlock(ReportPrinter& report, const Model& m) {
  report.Label("E dc :");
  report.Value(m.DcPotential);
  report.Label("f from :");
  report.Value(m.FrequencyFrom);
  report.Label("f to :");
  report.Value(m.FrequencyTo);
  report.Label("f points/decade :");
  report.Value(m.PointsPerDecade);
  report.Label("Frequencies :");
  report.Value(m.SpectrumFrequencies);
  report.Label("R u :");
  report.Value(m.UncompensatedResistance);
  report.Label("C d :");
  report.Value(m.DoubleLayerCapacitance);
}

}  // namespace

void PrintParameterReport(const Model& m, const LineSink& writeLine) {
  ReportPrinter report(writeLine);
  report.Label("Technique :");
  report.Value(Number(m.Technique));
  report.Label("Mechisim :");
  report.Value(m.Mechanism);
  report.Label("Electrode");
  report.Value(Number(m.Electrode));
  report.Label("E start :");
  report.Value(m.StartPotential);
  report.Label("E end :");
  report.Value(m.EndPotential);
  report.Label("E Step :");
  report.Value(m.PotentialStep);
  report.Label("t pulse :");
  report.Value(m.PulseTime);
  report.Label("t drop :");
  report.Value(m.DropTime);
  if (m.Technique == Technique::kChronoamperometry) {
    report.Label("E1 :");
    report.Value(m.StepPotential1);
    report.Label("t1 :");
    report.Value(m.StepTime1);
    report.Label("E2 :");
    report.Value(m.StepPotential2);
    report.Label("t2 :");
    report.Value(m.StepTime2);
    report.Label("t sample :");
    report.Value(m.SampleTime);
  }
  if (m.Technique == Technique::kPotentialProgram) ProgramBlock(report, m);
  if (m.Technique == Technique::kAcVoltammetry) AcBlock(report, m);
  report.Label("Area Of Electrode :");
  report.Value(m.ElectrodeArea);
  report.Label("E pulse :");
  report.Value(m.PulsePotential);
  report.Label("Noise (%) :");
  report.Value(m.NoiseLevel);
  report.Label("No. OF DATA :");
  report.Value(m.NumberOfPoints);
  if (m.Technique == Technique::kImpedance) ImpedanceBlock(report, m);
  for (int s = 1; s <= m.SpeciesCount && s <= kMaxSpecies; ++s) {
    if (m.SpeciesAdsorbed(s) == 0) continue;
    report.Label("Gamma max (mol/cm2) :");
    report.Value(m.LayerSaturation);
    report.Label("g :");
    report.Value(m.LayerInteraction);
    break;
  }
  report.Label("NUMBER OF SPECIES :");
  report.Value(m.SpeciesCount);
  // Species 9 stops at its "D :" line with "Subscript out of range".
  for (int s = 1; s <= m.SpeciesCount; ++s)
    SpeciesBlock(report, m, s);
  if (m.LastFit.valid && !m.LastFit.parameters.empty()) UncertaintyBlock(report, m.LastFit);
}

std::string ParameterReportText(const Model& model) {
  std::string text;
  PrintParameterReport(model, [&text](const std::string& line) { text += line + "\r\n"; });
  return text;
}

Outcome WriteParameterReport(const Model& model, const std::string& fileName) {
  try {
    OutputTextFile file(fileName);
    PrintParameterReport(model, [&file](const std::string& line) { file.WriteLine(line); });
    file.Close();
  } catch (const RuntimeError& error) {
    return Failure{FileWriteMessage("Save ", fileName, error)};
  }
  return std::nullopt;
}

}  // namespace qalto
