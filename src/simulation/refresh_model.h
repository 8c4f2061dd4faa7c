#pragma once
// Brings the model up to date with the value fields of the Chemicals window, and computes the
// quantities every simulation needs: the case key AnalyticalCase and the thermal constants
// FOverRT and RTOverF.

#include <array>

#include "model/model.h"

namespace qalto {

// The numbers of the Chemicals window's value fields.
struct ChemicalsValues {
  double viscosity = 0;            // cm2/s
  double electrolyteC = 0;         // M
  std::array<double, 4> alpha{};   // charge reactions 1..3
  std::array<double, 4> e0{};      // V
  std::array<double, 4> ks{};      // cm/s
  std::array<double, 4> lambda{};  // eV, 0: Butler-Volmer
  std::array<double, 5> kf{};      // homogeneous reactions 1..4
  std::array<double, 5> kb{};
  std::array<double, 5> keq{};    // the Keq labels
  std::array<double, 9> d{};      // species 1..8, cm2/s
  std::array<double, 9> cInit{};  // the "C init" labels, M
  std::array<double, 9> gamma{};  // surface concentrations of adsorbed species, mol/cm2
  double saturation = 0;          // the adsorbed layer's Gamma max, mol/cm2
  double interaction = 0;         // its Frumkin interaction parameter g
};

// The Instrument window's settings must have reached the model already.
void RefreshModel(Model& model, const ChemicalsValues& chemicals);

}  // namespace qalto
