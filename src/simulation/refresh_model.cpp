#include "simulation/refresh_model.h"

#include "common/checked_math.h"
#include "common/constants.h"
#include "common/number_text.h"

namespace qalto {

namespace {

// The caption of a box in a row of the Chemicals window: "ks (cm/s) of reaction 2".
std::string InRow(const char* caption, const char* row, int index) {
  return std::string(caption) + " of " + row + " " + std::to_string(index);
}

}  // namespace

void RefreshModel(Model& model, FormIns& instrument, const ChemicalsTexts& chemicals) {
  instrument.method1();
  model.KinematicViscosity = ReadBoxNumber(chemicals.viscosity, "Vis (cm ²/s)");
  model.ElectrolyteConcentration = ReadBoxNumber(chemicals.electrolyteC, "C (M)");
  for (int r = 1; r <= 3; ++r) {
    const size_t i = static_cast<size_t>(r);
    model.ChargeAlpha(r) = ReadBoxNumber(chemicals.alpha[i], InRow("α", "reaction", r));
    model.ChargeE0(r) = ReadBoxNumber(chemicals.e0[i], InRow("E° (V)", "reaction", r));
    model.ChargeKs(r) = ReadBoxNumber(chemicals.ks[i], InRow("ks (cm/s)", "reaction", r));
  }
  for (int r = 1; r <= 4; ++r) {
    const size_t i = static_cast<size_t>(r);
    model.ForwardRateConstant(r) = ReadBoxNumber(chemicals.kf[i], InRow("kf", "reaction", r));
    model.BackwardRateConstant(r) = ReadBoxNumber(chemicals.kb[i], InRow("kb", "reaction", r));
    model.EquilibriumConstant(r) = ReadBoxNumber(chemicals.keq[i], InRow("Keq", "reaction", r));
  }
  for (int s = 1; s <= kMaxSpecies; ++s) {
    const size_t i = static_cast<size_t>(s);
    model.SpeciesD(s) = ReadBoxNumber(chemicals.d[i], InRow("D (cm ²/s)", "species", s));
    model.SpeciesC(s) = ReadBoxNumber(chemicals.cInit[i], InRow("C init (M)", "species", s));
  }
  // With digital simulation selected the key keeps its last value.
  if (!model.DigitalSimulation) model.TechElectrodeCode = 10 * model.Technique + model.Electrode;
  // Temperature, K; the box of the Instrument window is in degrees Celsius.
  if (model.Temperature == 0) throw RuntimeError("Division by zero: T ( °C) is -273.14, 0 K");
  model.FOverRT = Div(kFaraday / kGasConstant, model.Temperature);
  model.RTOverF = Div(1.0, model.FOverRT);
}

}  // namespace qalto
