#pragma once
// A model and a reaction for the tests of the response functions: one electron at 25 C, equal
// diffusion coefficients, 1 mM of the oxidized species.

#include <cmath>
#include <numbers>

#include "common/constants.h"
#include "model/model.h"
#include "simulation/kinetic_arguments.h"

namespace qalto {

inline Model KineticTestModel() {
  Model model;
  model.Temperature = 298.14;                                   // K
  model.FOverRT = kFaraday / kGasConstant / model.Temperature;  // 1/V
  model.RTOverF = 1.0 / model.FOverRT;                          // V
  model.Radius = 5e-4;                                          // cm
  model.RotationRate = 100.0;                                   // rad/s
  model.KinematicViscosity = 0.01;                              // cm2/s
  model.DropTime = 1.0;                                         // s
  return model;
}

inline KineticArguments KineticTestReaction() {
  KineticArguments args;
  args.E = 0.0;
  args.ks = 0.01;
  args.alpha = 0.5;
  args.n = 1.0;
  args.E0 = 0.0;
  args.CO = 1e-3;
  args.sqrtDO = std::sqrt(1e-5);
  args.t = 0.01;
  args.CR = 0.0;
  args.sqrtDR = std::sqrt(1e-5);
  args.P = 0.05;
  args.nuO = 1.0;
  args.nuR = 1.0;
  return args;
}

// Diffusion-limited planar current per unit A x F: n CO sqrt(DO) / sqrt(pi t) (Cottrell).
inline double Cottrell(const KineticArguments& args) {
  return args.n * args.CO * args.sqrtDO / std::sqrt(std::numbers::pi * args.t);
}

}  // namespace qalto
