#pragma once
// Models set up by hand for the digital simulation tests, with the fields as the forms and the
// simulation driver would set them.

#include <memory>

#include "digital/simulate_digital.h"
#include "model/model.h"
#include "simulation/analytical_run_model.h"
#include "simulation/potential_axis.h"

namespace qalto::digital_test {

inline constexpr double kTestTemperature = 298.15;  // K
inline constexpr double kF = 96484.6;
inline constexpr double kR = 8.31441;
inline constexpr double kD = 1e-5;  // cm2/s, of every species
inline constexpr double kC = 1e-6;  // 1 mM of A in mol/cm3

// A + e = B at a planar electrode of 1 cm2: 1 mM of A, no B, D = 1e-5 cm2/s for both, a fast
// charge transfer (ks 10 cm/s, E0 0 V) at 25 C; a single linear sweep from +0.3 V to -0.3 V at
// 0.1 V/s in 1 mV steps: the analytical run's model, simulated digitally.
inline std::unique_ptr<Model> PlanarReduction() {
  auto m = std::make_unique<Model>(AnalyticalRunModel(1, 1));
  m->DigitalSimulation = true;
  m->StartPotential = 0.3;
  m->EndPotential = -0.3;
  m->ElectrodeLength = 0.01;
  m->Temperature = kTestTemperature;
  m->FOverRT = kF / kR / kTestTemperature;
  m->RTOverF = 1.0 / m->FOverRT;
  m->ChargeKs(1) = 10.0;
  m->ChargeE0(1) = 0.0;
  return m;
}

// The same couple at potentials where A is reduced as fast as it arrives (-0.3 V to -0.4 V in
// 50 mV steps), each point sampled at the end of a drop from the bulk (DC).
inline std::unique_ptr<Model> LimitingDrops(int electrode, double radius, double dropTime) {
  auto m = PlanarReduction();
  m->Technique = Technique::kDc;
  m->Electrode = ElectrodeNumbered(electrode);
  m->Radius = radius;
  m->DropTime = dropTime;
  m->PulseTime = 0.01;
  m->StartPotential = -0.3;
  m->EndPotential = -0.4;
  m->PotentialStep = 0.05;
  return m;
}

// The potential axis as the simulation driver builds it (PotentialX(0) one step before the
// start), the total current's column, cleared current columns.
inline void BuildAxis(Model& m) {
  m.SweepDirection = m.EndPotential > m.StartPotential ? 1 : -1;
  BuildPotentialAxis(m);
  m.TotalCurrentColumn = m.ChargeReactionCount + 1;
  for (int i = 1; i <= m.NumberOfPoints; ++i)
    for (int c = 1; c <= 10; ++c)
      m.ReactionCurrents(i, c) = 0.0;
}

// Builds the axis and runs the digital simulation with the forms' expanding grid and pH.
inline void Simulate(Model& m, int refinement = 1, const char* pH = "7") {
  BuildAxis(m);
  SimulateDigital(m, {TypedNumber::Read("0.5"), TypedNumber::Read(pH), refinement}, ShowMessage{});
}

}  // namespace qalto::digital_test
