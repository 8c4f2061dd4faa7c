#include "simulation/impedance_run.h"

#include <cmath>

#include "common/constants.h"
#include "common/plain_number.h"
#include "model/experiment_table.h"
#include "simulation/curve_slot.h"
#include "simulation/double_layer.h"
#include "simulation/failure_cause.h"
#include "simulation/impedance.h"
#include "simulation/marcus_hush_rate.h"

namespace qalto {
namespace {

constexpr double kNeutralPH = 7.0;
constexpr const char* kFrom = "f from (Hz)";
constexpr const char* kTo = "f to (Hz)";
constexpr const char* kPerDecade = "f points/decade";

std::string Is(const char* caption, double value) {
  return std::string(caption) + " is " + PlainNumber(value);
}

// The box whose number leaves no spectrum to compute, and why; empty when every box is usable.
std::string InputCause(const Model& model) {
  if (!std::isfinite(model.DcPotential)) return Is("E dc (V)", model.DcPotential);
  if (model.FitMode)  // the measured spectrum's own frequencies
    return model.SpectrumFrequencies > 0 ? "" : "the measured curve is no impedance spectrum";
  for (auto [caption, value] : {std::pair{kFrom, model.FrequencyFrom}, {kTo, model.FrequencyTo}})
    if (!(value > 0) || !std::isfinite(value)) return Is(caption, value);
  if (!(model.PointsPerDecade >= 1)) return Is(kPerDecade, model.PointsPerDecade);
  const double count =
      std::ceil(std::fabs(std::log10(model.FrequencyTo) - std::log10(model.FrequencyFrom)) *
                std::floor(model.PointsPerDecade)) +
      1;
  if (!(count <= kMaxPoints / 2))
    return "the spectrum of " + PlainNumber(count) + " frequencies is longer than " +
           std::to_string(kMaxPoints / 2);
  if (RowOf(model.Electrode).radius && !(model.Radius > 0)) return Is("Radius (cm)", model.Radius);
  if (model.Electrode == Electrode::kThinFilm && !(model.ElectrodeLength > 0))
    return Is("Length (cm)", model.ElectrodeLength);
  for (int i = 1; i <= model.FirstOrderReactionCount; ++i) {
    for (auto [caption, value] :
         {std::pair{"kf", model.ForwardRateConstant(i)}, {"kb", model.BackwardRateConstant(i)}}) {
      if (!(value >= 0) || !std::isfinite(value))
        return std::string(caption) + " of chemical reaction " + std::to_string(i) + " is " +
               PlainNumber(value);
    }
  }
  for (int s = 1; s <= model.SpeciesCount; ++s)
    if (!(model.SpeciesD(s) > 0))
      return "D (cm ²/s) of species " + std::to_string(s) + " is " + PlainNumber(model.SpeciesD(s));
  return "";
}

std::vector<ImpedanceChemistry> ChemistryOf(const Model& model) {
  std::vector<ImpedanceChemistry> chemistry;
  for (int i = 1; i <= model.FirstOrderReactionCount; ++i) {
    chemistry.push_back({model.FirstOrderReactionSpecies(i, 1) - 1,
                         model.FirstOrderReactionSpecies(i, 2) - 1, model.ForwardRateConstant(i),
                         model.BackwardRateConstant(i)});
  }
  return chemistry;
}

ImpedanceCell CellOf(const Model& model, double pH) {
  ImpedanceCell cell;
  for (int s = 1; s <= model.SpeciesCount; ++s)
    cell.species.push_back({model.SpeciesD(s), model.SpeciesC(s)});
  const double pHterm = (pH - kNeutralPH) * kLn10;
  for (int r = 1; r <= model.ChargeReactionCount; ++r) {
    ImpedanceReaction reaction;
    reaction.oxidized = model.ChargeReactionSpecies(r, 1) - 1;
    reaction.reduced = model.ChargeReactionSpecies(r, 2) - 1;
    reaction.n = model.ChargeN(r);
    reaction.ks = model.ChargeKs(r);
    reaction.alpha = model.ChargeAlpha(r);
    reaction.reorganisation = MarcusHushReorganisation(model, r);
    // protons in the reaction shift the potential it sees, as in the voltammograms
    reaction.formalPotential =
        model.ChargeE0(r) - model.ProtonCount(r) * model.RTOverF / reaction.n * pHterm;
    cell.reactions.push_back(reaction);
  }
  cell.chemistry = ChemistryOf(model);
  cell.area = model.ElectrodeArea;
  cell.temperature = model.Temperature;
  cell.potential = model.DcPotential;
  cell.ru = model.UncompensatedResistance;
  cell.cd = CapacitanceAt(model, model.DcPotential);
  if (model.Electrode == Electrode::kThinFilm) {
    cell.field = DiffusionField::kThinLayer;
    cell.length = model.ElectrodeLength;
  } else if (RowOf(model.Electrode).radius) {
    cell.field = DiffusionField::kSphere;  // the hemisphere: half the sphere, the same field
    cell.length = model.Radius;
  }
  return cell;
}

std::vector<double> Frequencies(const Model& model) {
  if (!model.FitMode)
    return FrequencyGrid(model.FrequencyFrom, model.FrequencyTo,
                         static_cast<int>(model.PointsPerDecade));
  std::vector<double> frequencies;
  for (int i = 1; i <= model.SpectrumFrequencies; ++i)
    frequencies.push_back(model.PotentialX(i));
  return frequencies;
}

}  // namespace

void StoreSpectrum(Model& model, bool overlap, const std::vector<double>& frequencies,
                   const std::vector<std::complex<double>>& z) {
  const int n = static_cast<int>(frequencies.size());
  SelectCurveSlot(model, overlap && model.SpectrumFrequencies == n && model.CurveCount > 0);
  model.SpectrumFrequencies = n;
  model.NumberOfPoints = 2 * n;
  model.SweepPoints = n;
  model.TotalCurrentColumn = model.ChargeReactionCount + 1;
  model.PlotSeriesLimit = model.SpeciesCount + 1;
  for (int i = 1; i <= n; ++i) {
    const auto k = static_cast<size_t>(i - 1);
    model.PotentialX(i) = model.PotentialX(n + i) = frequencies[k];
    model.ReactionCurrents(i, model.TotalCurrentColumn) = z[k].real();
    model.ReactionCurrents(n + i, model.TotalCurrentColumn) = z[k].imag();
  }
  model.PotentialX(0) = frequencies.front();
  for (int i = 1; i <= 2 * n; ++i)
    model.CurrentY(i, model.CurrentCurve) = model.ReactionCurrents(i, model.TotalCurrentColumn);
  model.FirstPoint = 1;
  model.LastPoint = 2 * n;
}

std::optional<std::string> MissingImpedanceModel(const Model& model) {
  if (RowOf(ExperimentCase{Technique::kImpedance, model.Electrode}).closedForm !=
      ClosedForm::kFrequencyDomain) {
    return SimulationErrorMessage(
        model, std::string("No impedance model for the ") + RowOf(model.Electrode).name +
                   ": the frequency domain is exact at the planar, spherical and hemispherical "
                   "electrodes and the thin film");
  }
  const std::string which = model.Mechanism >= 1 && model.Mechanism <= 10
                                ? "mechanism " + std::to_string(model.Mechanism)
                                : std::string("this mechanism");
  if (model.SecondOrderReactionCount > 0) {
    return SimulationErrorMessage(
        model, "No impedance model for " + which +
                   ": the spectrum is computed for charge reactions and first-order chemical "
                   "reactions, not second-order ones");
  }
  if (!ChemistryInPairs(model.SpeciesCount, ChemistryOf(model))) {
    return SimulationErrorMessage(
        model, "No impedance model for " + which +
                   ": the spectrum is computed where each species reacts with at most one "
                   "other in chemical reactions");
  }
  return std::nullopt;
}

Outcome RunImpedance(Model& model, bool overlap, double pH) {
  if (std::optional<std::string> refusal = MissingImpedanceModel(model)) return Failure{*refusal};
  const std::string cause = InputCause(model);
  if (!cause.empty())
    return Failure{SimulationErrorMessage(model, "Invalid procedure call or argument: " + cause)};
  const std::vector<double> frequencies = Frequencies(model);
  const std::vector<std::complex<double>> z = CellImpedance(CellOf(model, pH), frequencies);
  for (size_t k = 0; k < z.size(); ++k) {
    if (!std::isfinite(z[k].real()) || !std::isfinite(z[k].imag())) {
      return Failure{SimulationErrorMessage(
          model, "Overflow: Z at " + PlainNumber(frequencies[k]) +
                     " Hz is beyond the number range (no double layer and no reactant at "
                     "E dc (V) " +
                     PlainNumber(model.DcPotential) + ")")};
    }
  }
  StoreSpectrum(model, overlap, frequencies, z);
  return std::nullopt;
}

}  // namespace qalto
