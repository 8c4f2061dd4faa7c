#include "model/model_fields.h"

#include <functional>
#include <map>
#include <variant>

#include "common/plain_number.h"

namespace qalto {
namespace {

using Indexes = std::vector<int>;
using Reader = std::function<std::string(const Model&, const Indexes&)>;

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

void Require(const Indexes& indexes, size_t count) {
  if (indexes.size() != count) throw RuntimeError::SubscriptOutOfRange();
}

// A field of one of the model's parts, read through the model.
template <typename T, typename Part>
Reader Scalar(T Part::*field) {
  return [field](const Model& m, const Indexes& ix) {
    Require(ix, 0);
    return Text(static_cast<const Part&>(m).*field);
  };
}

template <typename Table, typename Part>
Reader Column(Table Part::*field) {
  return [field](const Model& m, const Indexes& ix) {
    Require(ix, 1);
    return Text((static_cast<const Part&>(m).*field)(ix[0]));
  };
}

template <typename Table, typename Part>
Reader Grid(Table Part::*field) {
  return [field](const Model& m, const Indexes& ix) {
    Require(ix, 2);
    return Text((static_cast<const Part&>(m).*field)(ix[0], ix[1]));
  };
}

const std::map<std::string, Reader>& Readers() {
  static const std::map<std::string, Reader> readers = {
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
      {"ChargeKs", Column(&Model::ChargeKs)},
      {"ChargeAlpha", Column(&Model::ChargeAlpha)},
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
      {"PotentialX", Column(&Model::PotentialX)},
      {"CurrentY", Grid(&Model::CurrentY)},
      {"ReactionCurrents", Grid(&Model::ReactionCurrents)},
      {"SurfaceConcentrations", Grid(&Model::SurfaceConcentrations)},
      {"NumberOfPoints", Scalar(&Model::NumberOfPoints)},
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
      {"FitObjectiveCount", Scalar(&Model::FitObjectiveCount)},
      {"ElapsedTime", Scalar(&Model::ElapsedTime)},
      {"MaxIteration", Scalar(&Model::MaxIteration)},
  };
  return readers;
}

}  // namespace

std::optional<std::string> ModelFieldText(const Model& model, const std::string& name,
                                          const std::vector<int>& indexes) {
  auto found = Readers().find(name);
  if (found == Readers().end()) return std::nullopt;
  return found->second(model, indexes);
}

}  // namespace qalto
