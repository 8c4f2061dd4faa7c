#include "simulation/refresh_model.h"

#include "common/checked_math.h"
#include "common/constants.h"

namespace qalto {

void RefreshModel(Model& model, const ChemicalsValues& chemicals) {
  model.KinematicViscosity = chemicals.viscosity;
  model.ElectrolyteConcentration = chemicals.electrolyteC;
  for (int r = 1; r <= 3; ++r) {
    model.ChargeAlpha(r) = chemicals.alpha[static_cast<size_t>(r)];
    model.ChargeLambda(r) = chemicals.lambda[static_cast<size_t>(r)];
    model.ChargeE0(r) = chemicals.e0[static_cast<size_t>(r)];
    model.ChargeKs(r) = chemicals.ks[static_cast<size_t>(r)];
  }
  for (int i = 1; i <= 4; ++i) {
    model.ForwardRateConstant(i) = chemicals.kf[static_cast<size_t>(i)];
    model.BackwardRateConstant(i) = chemicals.kb[static_cast<size_t>(i)];
    model.EquilibriumConstant(i) = chemicals.keq[static_cast<size_t>(i)];
  }
  for (int s = 1; s <= kMaxSpecies; ++s) {
    model.SpeciesD(s) = chemicals.d[static_cast<size_t>(s)];
    model.SpeciesC(s) = chemicals.cInit[static_cast<size_t>(s)];
    model.SpeciesGamma(s) = chemicals.gamma[static_cast<size_t>(s)];
  }
  model.LayerSaturation = chemicals.saturation;
  model.LayerInteraction = chemicals.interaction;
  // With digital simulation selected the key keeps its last value.
  if (!model.DigitalSimulation) model.AnalyticalCase = {model.Technique, model.Electrode};
  // Temperature, K; the box of the Instrument window is in degrees Celsius.
  if (model.Temperature == 0) throw RuntimeError("Division by zero: T ( °C) is -273.14, 0 K");
  model.FOverRT = Div(kFaraday / kGasConstant, model.Temperature);
  model.RTOverF = Div(1.0, model.FOverRT);
}

}  // namespace qalto
