// Representative digital simulation runs, each a whole SimulateDigital call on a model set up
// as the forms and the simulation driver would leave it.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "app/model.h"
#include "common/int16.h"
#include "digital/simulate_digital.h"

namespace qalto {
namespace {

// A + e = B at a planar electrode of 1 cm2, 1 mM A, cyclic sweep +0.5 V -> -0.5 V -> +0.5 V at
// 0.1 V/s in 1 mV steps: 2002 points.
std::unique_ptr<Model> CyclicSweep() {
  auto m = std::make_unique<Model>();
  m->Technique = 1;
  m->Electrode = 1;
  m->DigitalSimulation = true;
  m->StartPotential = 0.5;
  m->EndPotential = -0.5;
  m->PotentialStep = 0.001;
  m->ScanRate = 0.1;
  m->DropTime = 0.01;
  m->PulseTime = 0.025;
  m->PulsePotential = -0.05;
  m->ScanCycles = 1;
  m->Temperature = 298.15;
  m->ElectrodeArea = 1.0;
  m->Radius = 0.2821;
  m->FOverRT = 96484.6 / 8.31441 / 298.15;
  m->RTOverF = 1.0 / m->FOverRT;
  m->SpeciesCount = 2;
  m->ChargeReactionCount = 1;
  m->ChargeReactionSpecies(1, 1) = 1;
  m->ChargeReactionSpecies(1, 2) = 2;
  m->ChargeReactionStoich(1, 1) = m->ChargeReactionStoich(1, 2) = 1.0;
  m->ChargeN(1) = 1.0;
  m->ChargeKs(1) = 0.01;
  m->ChargeAlpha(1) = 0.5;
  for (int s = 1; s <= 4; ++s)
    m->SpeciesD(s) = 1e-5;
  m->SpeciesC(1) = 1e-3;
  return m;
}

void BuildAxis(Model& m) {
  const int direction = m.EndPotential > m.StartPotential ? 1 : -1;
  const int n1 = ToInt16(std::abs((m.EndPotential - m.StartPotential) / m.PotentialStep)) + 1;
  m.SweepPoints = n1;
  m.NumberOfPoints = m.ScanCycles >= 1 ? 2 * n1 * static_cast<int>(m.ScanCycles) : n1;
  for (int i = 0; i <= n1; ++i) {
    m.PotentialX(i) = m.StartPotential + (i - 1) * m.PotentialStep * direction;
  }
  if (m.ScanCycles >= 1) {
    for (int i = 1; i <= n1; ++i)
      m.PotentialX(n1 + i) = m.PotentialX(n1 - i + 1);
  }
  m.TotalCurrentColumn = m.ChargeReactionCount + 1;
}

void RunModel(benchmark::State& state, Model& m) {
  BuildAxis(m);
  const DigitalFormInputs forms{"0.5", "7"};
  for (auto _ : state) {
    SimulateDigital(m, forms, ShowMessage{});
    benchmark::DoNotOptimize(m.ReactionCurrents(m.NumberOfPoints, m.TotalCurrentColumn));
  }
  state.counters["points"] = m.NumberOfPoints;
}

void BM_CyclicSweepPlanar(benchmark::State& state) {
  auto m = CyclicSweep();
  RunModel(state, *m);
}
BENCHMARK(BM_CyclicSweepPlanar)->Unit(benchmark::kMillisecond);

// EC: B -> C with k = 10/s after the charge transfer.
void BM_CyclicSweepFollowingReaction(benchmark::State& state) {
  auto m = CyclicSweep();
  m->SpeciesCount = 3;
  m->FirstOrderReactionCount = 1;
  m->FirstOrderReactionSpecies(1, 1) = 2;
  m->FirstOrderReactionSpecies(1, 2) = 3;
  m->ForwardRateConstant(1) = 10.0;
  m->BackwardRateConstant(1) = 0.1;
  RunModel(state, *m);
}
BENCHMARK(BM_CyclicSweepFollowingReaction)->Unit(benchmark::kMillisecond);

// Complex MX = M + X ahead of M + e = B: a second-order recombination, iterated every step.
void BM_CyclicSweepSecondOrder(benchmark::State& state) {
  auto m = CyclicSweep();
  m->SpeciesCount = 4;
  m->SecondOrderReactionCount = 1;
  m->SecondOrderReactionSpecies(1, 1) = 3;
  m->SecondOrderReactionSpecies(1, 3) = 1;
  m->SecondOrderReactionSpecies(1, 4) = 4;
  m->ForwardRateConstant(1) = 1.0;
  m->BackwardRateConstant(1) = 1000.0;
  m->SpeciesC(1) = 1e-3;
  m->SpeciesC(3) = 1e-3;
  m->SpeciesC(4) = 1e-3;
  RunModel(state, *m);
}
BENCHMARK(BM_CyclicSweepSecondOrder)->Unit(benchmark::kMillisecond);

void BM_CyclicSweepSpherical(benchmark::State& state) {
  auto m = CyclicSweep();
  m->Electrode = 2;
  m->Radius = 1e-3;
  m->ElectrodeArea = 4.0 * 3.141592654 * 1e-6;
  RunModel(state, *m);
}
BENCHMARK(BM_CyclicSweepSpherical)->Unit(benchmark::kMillisecond);

// Square wave at 20 Hz, 50 mV amplitude, 1 mV steps: two sub-steps per point.
void BM_SquareWave(benchmark::State& state) {
  auto m = CyclicSweep();
  m->Technique = 5;
  m->ScanCycles = 0.5;
  m->PulseTime = 0.025;
  RunModel(state, *m);
}
BENCHMARK(BM_SquareWave)->Unit(benchmark::kMillisecond);

// Three-step reduction in DC: 101 drops of 1 s in 10 ms sub-steps, every drop from the bulk.
void BM_DirectCurrentThreeSteps(benchmark::State& state) {
  auto m = CyclicSweep();
  m->Technique = 2;
  m->ScanCycles = 0.5;
  m->DropTime = 1.0;
  m->PulseTime = 0.01;
  m->PotentialStep = 0.01;
  m->SpeciesCount = 4;
  m->ChargeReactionCount = 3;
  for (int r = 1; r <= 3; ++r) {
    m->ChargeReactionSpecies(r, 1) = r;
    m->ChargeReactionSpecies(r, 2) = r + 1;
    m->ChargeReactionStoich(r, 1) = m->ChargeReactionStoich(r, 2) = 1.0;
    m->ChargeN(r) = 1.0;
    m->ChargeKs(r) = 0.01;
    m->ChargeAlpha(r) = 0.5;
    m->ChargeE0(r) = -0.2 * (r - 1);
  }
  RunModel(state, *m);
}
BENCHMARK(BM_DirectCurrentThreeSteps)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qalto
