// Whole analytical runs of the simulation driver, mechanism 1 (A + e = B), 1 mM, 25 C.

#include <benchmark/benchmark.h>

#include <cmath>

#include "common/constants.h"
#include "model/model.h"
#include "simulation/analytical_run_model.h"
#include "simulation/curve_derivatives.h"
#include "simulation/simulation_driver.h"

namespace qalto {
namespace {

// A sweep from 0.5 V to -0.499 V in 1 mV steps: 1000 points, 2000 with the return sweep;
// quasi-reversible (ks 0.01 cm/s, psi 0.9 at 0.1 V/s), solved as the convolution integral equation.
Model BenchModel(int technique, int electrode, double cycles) {
  Model model = AnalyticalRunModel(technique, electrode);
  model.StartPotential = 0.5;
  model.EndPotential = -0.499;
  model.ScanCycles = cycles;
  model.Radius = 2 * 5e-4 / kPi;  // a 10 um microdisc as its equivalent hemisphere
  model.ChargeKs(1) = 0.01;
  model.ChargeE0(1) = 0.0;
  return model;
}

void RunModel(benchmark::State& state, Model model) {
  SimulationOutcome outcome;
  for (auto _ : state) {
    outcome = RunSimulation(model, SimulationInputs{});
    benchmark::DoNotOptimize(model.CurrentY(model.NumberOfPoints, 1));
  }
  if (outcome.failure) state.SkipWithError(outcome.failure->message.c_str());
  state.counters["points"] = model.NumberOfPoints;
}

void RunCase(benchmark::State& state, int technique, int electrode, double cycles) {
  RunModel(state, BenchModel(technique, electrode, cycles));
}

// Target 0.3 ms.
void BM_CyclicSweepPlanar(benchmark::State& state) {
  RunCase(state, 1, 1, 1);
}
// The same cycle with 100 ohm uncompensated, solved implicitly at every point. Target: within
// 1.5x BM_CyclicSweepPlanar.
void BM_CyclicSweepPlanarWithResistance(benchmark::State& state) {
  Model model = BenchModel(1, 1, 1);
  model.UncompensatedResistance = 100;
  RunModel(state, model);
}
// The cycle in steps of `step` V: the history sums cost the same at every point, so the time
// grows with the number of points.
Model FineCycle(double step, double end = -0.5) {
  Model model = BenchModel(1, 1, 1);
  model.EndPotential = end;
  model.PotentialStep = step;
  model.DropTime = model.PotentialStep / model.ScanRate;
  return model;
}
// 5000 points: 0.4 mV steps. Target 0.8 ms.
void BM_CyclicSweepPlanar5000(benchmark::State& state) {
  RunModel(state, FineCycle(0.0004, -0.4996));
}
// 2002 and 20 002 points (1 mV from 0.5 V to -0.5 V and back, and 0.1 mV): targets 3 ms for the
// longer, and within 12x the shorter.
void BM_CyclicSweepPlanar2002(benchmark::State& state) {
  RunModel(state, FineCycle(0.001));
}
void BM_CyclicSweepPlanar20002(benchmark::State& state) {
  RunModel(state, FineCycle(0.0001));
}
// The cycle with Marcus-Hush-Chidsey kinetics: lambda 0.1 eV, the finest table of the rate (80
// nodes over the cycle's 1 V), and 1 eV. Target: within 2x BM_CyclicSweepPlanar.
void BM_CyclicSweepPlanarMarcusHush(benchmark::State& state) {
  Model model = BenchModel(1, 1, 1);
  model.ChargeLambda(1) = static_cast<double>(state.range(0)) / 10.0;
  RunModel(state, model);
}
// The EC' cycle: one damped kernel for both species.
void BM_CyclicSweepCatalytic(benchmark::State& state) {
  Model model = BenchModel(1, 1, 1);
  model.Mechanism = 8;
  model.SpeciesCount = 3;
  model.SpeciesC(3) = 0.1;
  model.SpeciesD(3) = kRunD;
  model.ForwardRateConstant(1) = 100;
  RunModel(state, model);
}
// 1000 points of a quasi-reversible couple: the convolution on 8, 16 and 32 sub-steps of every
// half period (Romberg), within 0.05 % of the converged digital peak. Target 15 ms.
void BM_SquareWavePlanar(benchmark::State& state) {
  RunCase(state, 5, 1, 0.5);
}
void BM_AdditiveSquareWavePlanar(benchmark::State& state) {
  RunCase(state, 6, 1, 0.5);
}

// Pulse waves of 121 points (0.3 V to -0.3 V in 5 mV steps) from rest at every point, by the
// sub-stepped convolution: with 100 ohm uncompensated, and a DC wave of the CE mechanism.
Model PulseModel(int technique) {
  Model model = AnalyticalRunModel(technique, 1);
  model.StartPotential = 0.3;
  model.EndPotential = -0.3;
  model.PotentialStep = 0.005;
  model.DropTime = 0.5;
  model.ChargeE0(1) = 0.0;
  model.UncompensatedResistance = 100;
  return model;
}
void BM_DcWaveWithResistance(benchmark::State& state) {
  RunModel(state, PulseModel(2));
}
void BM_NormalPulseWithResistance(benchmark::State& state) {
  RunModel(state, PulseModel(3));
}
void BM_DifferentialPulseWithResistance(benchmark::State& state) {
  RunModel(state, PulseModel(4));
}
void BM_DcWavePrecedingReaction(benchmark::State& state) {
  Model model = PulseModel(2);
  model.UncompensatedResistance = 0;
  model.Mechanism = 6;
  model.SpeciesCount = 3;
  model.SpeciesC(1) = 1e-3 * 0.01 / 1.01;
  model.SpeciesC(3) = 1e-3 / 1.01;
  model.SpeciesD(3) = kRunD;
  model.ForwardRateConstant(1) = 1;
  model.BackwardRateConstant(1) = 100;
  RunModel(state, model);
}

// The semi-derivative alone, on one 2000-point curve (the sweep runs it on every column).
void BM_SemiDifferentiate2000(benchmark::State& state) {
  Model model = BenchModel(1, 1, 1);
  model.NumberOfPoints = 2000;
  model.CurrentCurve = 1;
  for (int i = 0; i <= model.NumberOfPoints; ++i)
    model.PotentialX(i) = 0.001 * i;
  for (auto _ : state) {
    for (int i = 1; i <= model.NumberOfPoints; ++i)
      model.CurrentY(i, 1) = 1.0 / (1.0 + i);
    SemiDifferentiateCurve(model, model.PotentialX, model.CurrentY);
    benchmark::DoNotOptimize(model.CurrentY(1000, 1));
  }
}

BENCHMARK(BM_CyclicSweepPlanar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CyclicSweepPlanarWithResistance)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CyclicSweepPlanar5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CyclicSweepPlanar2002)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CyclicSweepPlanar20002)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CyclicSweepPlanarMarcusHush)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CyclicSweepCatalytic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SquareWavePlanar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AdditiveSquareWavePlanar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DcWaveWithResistance)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NormalPulseWithResistance)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DifferentialPulseWithResistance)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DcWavePrecedingReaction)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SemiDifferentiate2000)->Unit(benchmark::kMillisecond);

// The potential program with a jump over the most samples a curve holds: a step from rest at
// 0.2 V to -0.3 V held 50 s, then a sweep back to 0.3 V at 12.01 mV/s, sampled every ms (99 959
// samples). The jump sets every sample's sub-steps (t sample / 16, /32, /64 for Romberg's
// extrapolation): 11.2 million steps of the integral equation. Target 2 s of CPU (1.5 s
// measured; 4.8 s when each solve kept every sub-step's results and fluxes, not only the
// samples' and the fluxes its exact weights read).
void BM_ProgramWithJump100k(benchmark::State& state) {
  Model model = AnalyticalRunModel(8, 1);
  model.SampleTime = 0.001;
  model.Program.segments = {{SegmentKind::kStep, -0.3, 0.0, 0.0, 50.0},
                            {SegmentKind::kSweep, -0.3, 0.3, 0.01201, 0.0}};
  RunModel(state, model);
}
BENCHMARK(BM_ProgramWithJump100k)->Unit(benchmark::kMillisecond)->Iterations(2);

// A measured chronoamperogram at uneven instants: 50 us after the step, then every 10 ms (a
// tenth of a ms of jitter) to 1 s. Its fine grid would need 20 000 instants to reach the first
// one; the integral equation's stops at 4000, whose cost grows as their square. Target 0.4 s
// (0.19 s of CPU measured).
void BM_UnevenChronoamperogram(benchmark::State& state) {
  Model model = AnalyticalRunModel(7, 1);
  model.StepPotential1 = -0.5;
  model.StepTime1 = 1.0;
  model.SampleTime = 0.01;
  model.FitMode = true;
  model.NumberOfPoints = 101;
  model.PotentialX(1) = 5e-5;
  for (int k = 1; k <= 100; ++k)
    model.PotentialX(k + 1) = k == 100 ? 1.0 : k * 0.01 + 1e-4 * std::sin(k);
  RunModel(state, model);
}
BENCHMARK(BM_UnevenChronoamperogram)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace qalto
