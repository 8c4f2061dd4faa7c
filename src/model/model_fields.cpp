#include "model/model_fields.h"

#include <functional>
#include <map>
#include <type_traits>

#include "common/exact_number.h"
#include "common/plain_number.h"

namespace qalto {
namespace {

using Indexes = std::vector<int>;

std::string Text(double value) {
  return PlainNumber(value);
}
std::string Text(int value) {
  return PlainNumber(value);
}
std::string Text(Technique value) {
  return PlainNumber(Number(value));
}
std::string Text(Electrode value) {
  return PlainNumber(Number(value));
}
std::string Text(ExperimentCase value) {
  return PlainNumber(CaseCode(value));
}
std::string Text(bool value) {
  return value ? "True" : "False";
}
std::string Text(const std::string& value) {
  return value;
}
std::string Text(const std::optional<double>& value) {
  return value ? PlainNumber(*value) : "";
}

// Exact texts, which read back to the same value.
std::string Exact(double value) {
  return ExactNumber(value);
}
std::string Exact(int value) {
  return std::to_string(value);
}
template <typename T>
std::string Exact(const T& value) {
  if constexpr (std::is_same_v<T, std::optional<double>>) {
    return value ? ExactNumber(*value) : "";
  } else {
    return Text(value);
  }
}

bool Read(const std::string& text, double& value) {
  auto number = ReadExactNumber(text);
  if (number) value = *number;
  return number.has_value();
}
bool Read(const std::string& text, int& value) {
  auto number = ReadExactInteger(text);
  if (number) value = *number;
  return number.has_value();
}
bool Read(const std::string& text, bool& value) {
  if (text != "True" && text != "False") return false;
  value = text == "True";
  return true;
}
bool Read(const std::string& text, std::string& value) {
  value = text;
  return true;
}
bool Read(const std::string& text, std::optional<double>& value) {
  if (text.empty()) {
    value.reset();
    return true;
  }
  double number = 0;
  if (!Read(text, number)) return false;
  value = number;
  return true;
}
bool Read(const std::string& text, Technique& value) {
  int number = 0;
  if (!Read(text, number) || (number != 0 && TechniqueNumbered(number) == Technique::kNone))
    return false;
  value = TechniqueNumbered(number);
  return true;
}
bool Read(const std::string& text, Electrode& value) {
  int number = 0;
  if (!Read(text, number) || (number != 0 && ElectrodeNumbered(number) == Electrode::kNone))
    return false;
  value = ElectrodeNumbered(number);
  return true;
}
// The case code does not tell a band electrode (10) from the next technique: it is derived at
// every refresh and never written back.
bool Read(const std::string&, ExperimentCase&) {
  return false;
}

void Require(const Indexes& indexes, size_t count) {
  if (indexes.size() != count) throw RuntimeError::SubscriptOutOfRange();
}

// How one field is read for scripts, listed exactly for sessions and written back.
struct Field {
  std::function<std::string(const Model&, const Indexes&)> read;
  std::function<void(const Model&, const std::string&, std::vector<ModelFieldValue>&)> list;
  std::function<bool(Model&, const Indexes&, const std::string&)> write;
  bool byPoint = false;  // a table of the curve store, indexed by point
};

std::string Reference(const std::string& name, const Indexes& indexes) {
  std::string reference = name;
  for (size_t k = 0; k < indexes.size(); ++k) {
    reference += k == 0 ? '(' : ',';
    reference += std::to_string(indexes[k]);
  }
  if (!indexes.empty()) reference += ')';
  return reference;
}

// The value is kept when its exact text differs from a new model's.
template <typename T>
void Keep(std::vector<ModelFieldValue>& out, const std::string& reference, const T& value) {
  std::string text = Exact(value);
  if (text != Exact(std::decay_t<T>{})) out.push_back({reference, std::move(text)});
}

// A field of one of the model's parts, read and written through the model.
template <typename T, typename Part>
Field Scalar(T Part::*field) {
  return {[field](const Model& m, const Indexes& ix) {
            Require(ix, 0);
            return Text(static_cast<const Part&>(m).*field);
          },
          [field](const Model& m, const std::string& name, std::vector<ModelFieldValue>& out) {
            Keep(out, name, static_cast<const Part&>(m).*field);
          },
          [field](Model& m, const Indexes& ix, const std::string& text) {
            Require(ix, 0);
            return Read(text, static_cast<Part&>(m).*field);
          }};
}

template <typename Table, typename Part>
Field Column(Table Part::*field, bool byPoint = false) {
  Field column{[field](const Model& m, const Indexes& ix) {
                 Require(ix, 1);
                 return Text((static_cast<const Part&>(m).*field)(ix[0]));
               },
               [field](const Model& m, const std::string& name, std::vector<ModelFieldValue>& out) {
                 const Table& table = static_cast<const Part&>(m).*field;
                 for (int i = 0; i < table.Size(); ++i)
                   Keep(out, Reference(name, {i}), table(i));
               },
               [field](Model& m, const Indexes& ix, const std::string& text) {
                 Require(ix, 1);
                 return Read(text, (static_cast<Part&>(m).*field)(ix[0]));
               }};
  column.byPoint = byPoint;
  return column;
}

template <typename Table, typename Part>
Field Grid(Table Part::*field, bool byPoint = false) {
  Field grid{[field](const Model& m, const Indexes& ix) {
               Require(ix, 2);
               return Text((static_cast<const Part&>(m).*field)(ix[0], ix[1]));
             },
             [field](const Model& m, const std::string& name, std::vector<ModelFieldValue>& out) {
               const Table& table = static_cast<const Part&>(m).*field;
               for (int i = 0; i < table.Rows(); ++i) {
                 for (int j = 0; j < table.Columns(); ++j)
                   Keep(out, Reference(name, {i, j}), table(i, j));
               }
             },
             [field](Model& m, const Indexes& ix, const std::string& text) {
               Require(ix, 2);
               return Read(text, (static_cast<Part&>(m).*field)(ix[0], ix[1]));
             }};
  grid.byPoint = byPoint;
  return grid;
}

const std::map<std::string, Field>& Fields() {
  static const std::map<std::string, Field> fields = {
      {"Technique", Scalar(&Model::Technique)},
      {"Mechanism", Scalar(&Model::Mechanism)},
      {"Electrode", Scalar(&Model::Electrode)},
      {"DigitalSimulation", Scalar(&Model::DigitalSimulation)},
      {"StartPotential", Scalar(&Model::StartPotential)},
      {"EndPotential", Scalar(&Model::EndPotential)},
      {"PotentialStep", Scalar(&Model::PotentialStep)},
      {"ScanRate", Scalar(&Model::ScanRate)},
      {"PulseTime", Scalar(&Model::PulseTime)},
      {"DropTime", Scalar(&Model::DropTime)},
      {"PulsePotential", Scalar(&Model::PulsePotential)},
      {"ScanCycles", Scalar(&Model::ScanCycles)},
      {"Temperature", Scalar(&Model::Temperature)},
      {"NoiseLevel", Scalar(&Model::NoiseLevel)},
      {"ElectrodeArea", Scalar(&Model::ElectrodeArea)},
      {"Radius", Scalar(&Model::Radius)},
      {"ElectrodeLength", Scalar(&Model::ElectrodeLength)},
      {"ElectrodeVolume", Scalar(&Model::ElectrodeVolume)},
      {"RotationRate", Scalar(&Model::RotationRate)},
      {"DoubleLayerCapacitance", Scalar(&Model::DoubleLayerCapacitance)},
      {"UncompensatedResistance", Scalar(&Model::UncompensatedResistance)},
      {"CapacitanceSlope", Scalar(&Model::CapacitanceSlope)},
      {"CapacitanceCurvature", Scalar(&Model::CapacitanceCurvature)},
      {"BaselineOffset", Scalar(&Model::BaselineOffset)},
      {"BaselineSlope", Scalar(&Model::BaselineSlope)},
      {"QuietTime", Scalar(&Model::QuietTime)},
      {"DcPotential", Scalar(&Model::DcPotential)},
      {"FrequencyFrom", Scalar(&Model::FrequencyFrom)},
      {"FrequencyTo", Scalar(&Model::FrequencyTo)},
      {"PointsPerDecade", Scalar(&Model::PointsPerDecade)},
      {"StepPotential1", Scalar(&Model::StepPotential1)},
      {"StepTime1", Scalar(&Model::StepTime1)},
      {"StepPotential2", Scalar(&Model::StepPotential2)},
      {"StepTime2", Scalar(&Model::StepTime2)},
      {"SampleTime", Scalar(&Model::SampleTime)},
      {"AcAmplitude", Scalar(&Model::AcAmplitude)},
      {"AcFrequency", Scalar(&Model::AcFrequency)},
      {"AcOnProgram", Scalar(&Model::AcOnProgram)},
      {"AnodicPositive", Scalar(&Model::AnodicPositive)},
      {"KinematicViscosity", Scalar(&Model::KinematicViscosity)},
      {"ElectrolyteConcentration", Scalar(&Model::ElectrolyteConcentration)},
      {"FOverRT", Scalar(&Model::FOverRT)},
      {"RTOverF", Scalar(&Model::RTOverF)},
      {"TechElectrodeCode", Scalar(&Model::AnalyticalCase)},
      {"SweepDirection", Scalar(&Model::SweepDirection)},
      {"SweepPoints", Scalar(&Model::SweepPoints)},
      {"SpeciesCount", Scalar(&Model::SpeciesCount)},
      {"ChargeReactionCount", Scalar(&Model::ChargeReactionCount)},
      {"FirstOrderReactionCount", Scalar(&Model::FirstOrderReactionCount)},
      {"SecondOrderReactionCount", Scalar(&Model::SecondOrderReactionCount)},
      {"TotalCurrentColumn", Scalar(&Model::TotalCurrentColumn)},
      {"SpeciesName", Column(&Model::SpeciesName)},
      {"SpeciesD", Column(&Model::SpeciesD)},
      {"SpeciesC", Column(&Model::SpeciesC)},
      {"SpeciesConductivity", Column(&Model::SpeciesConductivity)},
      {"SpeciesAdsorbed", Column(&Model::SpeciesAdsorbed)},
      {"SpeciesGamma", Column(&Model::SpeciesGamma)},
      {"LayerSaturation", Scalar(&Model::LayerSaturation)},
      {"LayerInteraction", Scalar(&Model::LayerInteraction)},
      {"PreEquilibrate", Scalar(&Model::PreEquilibrate)},
      {"ChargeKs", Column(&Model::ChargeKs)},
      {"ChargeAlpha", Column(&Model::ChargeAlpha)},
      {"ChargeLambda", Column(&Model::ChargeLambda)},
      {"ChargeN", Column(&Model::ChargeN)},
      {"ChargeE0", Column(&Model::ChargeE0)},
      {"ChargeReactionSpecies", Grid(&Model::ChargeReactionSpecies)},
      {"ChargeReactionStoich", Grid(&Model::ChargeReactionStoich)},
      {"ProtonCount", Column(&Model::ProtonCount)},
      {"ChargeReactionText", Column(&Model::ChargeReactionText)},
      {"FirstOrderReactionSpecies", Grid(&Model::FirstOrderReactionSpecies)},
      {"SecondOrderReactionSpecies", Grid(&Model::SecondOrderReactionSpecies)},
      {"ForwardRateConstant", Column(&Model::ForwardRateConstant)},
      {"BackwardRateConstant", Column(&Model::BackwardRateConstant)},
      {"EquilibriumConstant", Column(&Model::EquilibriumConstant)},
      {"ChemReactionText", Column(&Model::ChemReactionText)},
      {"PotentialX", Column(&Model::PotentialX, true)},
      {"CurrentY", Grid(&Model::CurrentY, true)},
      {"ReactionCurrents", Grid(&Model::ReactionCurrents, true)},
      {"SurfaceConcentrations", Grid(&Model::SurfaceConcentrations, true)},
      {"PassedCharge", Column(&Model::PassedCharge, true)},
      {"PointTimes", Column(&Model::PointTimes, true)},
      {"AcHarmonics", Grid(&Model::AcHarmonics, true)},
      {"AcSpectrum", Grid(&Model::AcSpectrum, true)},
      {"AcSpectrumPoints", Scalar(&Model::AcSpectrumPoints)},
      {"MeasuredAcInterval", Column(&Model::MeasuredAcInterval)},
      {"MeasuredAcKept", Column(&Model::MeasuredAcKept)},
      {"MeasuredAcCurrent", Grid(&Model::MeasuredAcCurrent, true)},
      {"HarmonicsWidenedFrom", Scalar(&Model::HarmonicsWidenedFrom)},
      {"HarmonicsKeptCurves", Grid(&Model::HarmonicsKeptCurves, true)},
      {"NumberOfPoints", Scalar(&Model::NumberOfPoints)},
      {"SpectrumFrequencies", Scalar(&Model::SpectrumFrequencies)},
      {"FirstPoint", Scalar(&Model::FirstPoint)},
      {"LastPoint", Scalar(&Model::LastPoint)},
      {"CurveCount", Scalar(&Model::CurveCount)},
      {"CurrentCurve", Scalar(&Model::CurrentCurve)},
      {"TargetCurve", Scalar(&Model::TargetCurve)},
      {"PlotSeriesLimit", Scalar(&Model::PlotSeriesLimit)},
      {"PeakCount", Scalar(&Model::PeakCount)},
      {"PeakPotential", Grid(&Model::PeakPotential)},
      {"PeakCurrent", Grid(&Model::PeakCurrent)},
      {"HalfPeakPotential", Grid(&Model::HalfPeakPotential)},
      {"PlotXMin", Scalar(&Model::PlotXMin)},
      {"PlotXMax", Scalar(&Model::PlotXMax)},
      {"PlotYMin", Scalar(&Model::PlotYMin)},
      {"PlotYMax", Scalar(&Model::PlotYMax)},
      {"ShowGrid", Scalar(&Model::ShowGrid)},
      {"OverlapPlot", Scalar(&Model::OverlapPlot)},
      {"LineStyles", Column(&Model::LineStyles)},
      {"FitMode", Scalar(&Model::FitMode)},
      {"FitParameterCount", Scalar(&Model::FitParameterCount)},
      {"FitParameterCode", Column(&Model::FitParameterCode)},
      {"FitDefaultStep", Scalar(&Model::FitDefaultStep)},
      {"AcFitHarmonics", Scalar(&Model::AcFitHarmonics)},
      {"FitObjectiveCount", Scalar(&Model::FitObjectiveCount)},
      {"ElapsedTime", Scalar(&Model::ElapsedTime)},
      {"MaxIteration", Scalar(&Model::MaxIteration)},
  };
  return fields;
}

}  // namespace

std::optional<std::string> ModelFieldText(const Model& model, const std::string& name,
                                          const std::vector<int>& indexes) {
  auto found = Fields().find(name);
  if (found == Fields().end()) return std::nullopt;
  return found->second.read(model, indexes);
}

std::vector<ModelFieldValue> KeptModelFields(const Model& model) {
  std::vector<ModelFieldValue> values;
  for (const auto& [name, field] : Fields()) {
    // A fit's flag holds only while it runs; the case code follows technique and electrode.
    if (!field.byPoint && name != "FitMode" && name != "TechElectrodeCode")
      field.list(model, name, values);
  }
  return values;
}

std::string SetModelField(Model& model, const std::string& name, const std::vector<int>& indexes,
                          const std::string& text) {
  auto found = Fields().find(name);
  if (found == Fields().end()) return "no model field " + name;
  try {
    if (!found->second.write(model, indexes, text))
      return "not a value of " + Reference(name, indexes) + ": " + text;
  } catch (const RuntimeError&) {
    return "no entry " + Reference(name, indexes) + " in the model";
  }
  return "";
}

}  // namespace qalto
