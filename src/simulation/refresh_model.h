#pragma once
// Brings the model up to date with the Instrument window and the value fields of the Chemicals
// window, and computes the quantities every simulation needs: the case key TechElectrodeCode
// and the thermal constants FOverRT and RTOverF.

#include <array>
#include <string>

#include "forms/instrument_form.h"
#include "model/model.h"

namespace qalto {

// The texts of the Chemicals window's value fields, as shown there.
struct ChemicalsTexts {
  std::string viscosity;             // cm2/s
  std::string electrolyteC;          // M
  std::array<std::string, 4> alpha;  // charge reactions 1..3
  std::array<std::string, 4> e0;     // V
  std::array<std::string, 4> ks;     // cm/s
  std::array<std::string, 5> kf;     // homogeneous reactions 1..4
  std::array<std::string, 5> kb;
  std::array<std::string, 5> keq;    // the Keq labels
  std::array<std::string, 9> d;      // species 1..8, cm2/s
  std::array<std::string, 9> cInit;  // the "C init" labels, M
};

void RefreshModel(Model& model, FormIns& instrument, const ChemicalsTexts& chemicals);

}  // namespace qalto
