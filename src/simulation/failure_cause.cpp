#include "simulation/failure_cause.h"

#include <cmath>

#include "common/plain_number.h"
#include "model/experiment_table.h"

namespace qalto {
namespace {

std::string Is(const char* caption, double value) {
  return std::string(caption) + " is " + PlainNumber(value);
}

// A sweep steps by E step / v, DC by the drop time, the pulse techniques by the pulse time; a
// time of zero or less leaves no step to resolve. The analytical differential pulse needs the
// pulse inside the drop (the digital one then applies the pulse alone).
std::string TimingCause(const Model& model) {
  constexpr const char* kDrop = "t drop  (s)";
  constexpr const char* kPulse = "t pulse (s)";
  if (model.Technique == Technique::kSweep) {
    if (!(model.ScanRate > 0)) return Is("v (V/s)", model.ScanRate);
    return model.PotentialStep > 0 ? "" : Is("E step (V)", model.PotentialStep);
  }
  if (model.Technique == Technique::kAcVoltammetry) {
    if (!(model.AcFrequency > 0)) return Is("f (Hz)", model.AcFrequency);
    return model.ScanRate > 0 || model.AcOnProgram ? "" : Is("v (V/s)", model.ScanRate);
  }
  if (model.Technique == Technique::kChronoamperometry) {
    if (!(model.SampleTime > 0)) return Is("t sample (s)", model.SampleTime);
    return model.StepTime1 > 0 ? "" : Is("t1 (s)", model.StepTime1);
  }
  if (model.Technique == Technique::kPotentialProgram)
    return model.SampleTime > 0 ? "" : Is("t sample (s)", model.SampleTime);
  if (!RowOf(model.Technique).pulseSampled)
    return model.DropTime > 0 ? "" : Is(kDrop, model.DropTime);
  if (!(model.PulseTime > 0)) return Is(kPulse, model.PulseTime);
  if (model.Technique == Technique::kDifferentialPulse && !model.DigitalSimulation &&
      !(model.PulseTime < model.DropTime)) {
    return Is(kPulse, model.PulseTime) + ", not shorter than " + kDrop + " " +
           PlainNumber(model.DropTime);
  }
  return "";
}

std::string GeometryCause(const Model& model) {
  if (!std::isfinite(model.ElectrodeArea)) return "Area (cm ²) is beyond the number range";
  bool hasRadius = RowOf(model.Electrode).radius;
  if (hasRadius && !(model.Radius > 0)) return Is("Radius (cm)", model.Radius);
  return "";
}

std::string DiffusionCause(const Model& model) {
  for (int s = 1; s <= model.SpeciesCount; ++s) {
    if (!(model.SpeciesD(s) > 0)) {
      return "D (cm ²/s) of species " + std::to_string(s) + " is " + PlainNumber(model.SpeciesD(s));
    }
  }
  return "";
}

// A sweep's rates of change scale with nFv/RT; a scan rate whose product overflows cannot be
// resolved at any step.
std::string ScanRateCause(const Model& model) {
  if (model.Technique != Technique::kSweep || std::isfinite(model.ScanRate * model.FOverRT))
    return "";
  return Is("v (V/s)", model.ScanRate) + ", nFv/RT is beyond the number range";
}

}  // namespace

std::string FailureCause(const Model& model) {
  for (const std::string& cause :
       {TimingCause(model), GeometryCause(model), DiffusionCause(model), ScanRateCause(model)}) {
    if (!cause.empty()) return cause;
  }
  return "";
}

std::string DescriptionWithCause(const Model& model, const std::string& description) {
  if (description.find(':') != std::string::npos) return description;
  std::string cause = FailureCause(model);
  return cause.empty() ? description : description + ": " + cause;
}

std::string SimulationErrorMessage(const Model& model, const std::string& description) {
  return std::string(model.DigitalSimulation ? "Digital" : "Analytical") +
         " simulation Error: " + DescriptionWithCause(model, description) +
         "! Please try again by other initial values.";
}

}  // namespace qalto
