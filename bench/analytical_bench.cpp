// Whole analytical runs of the simulation driver, mechanism 1 (A + e = B), 1 mM, 25 C.

#include <benchmark/benchmark.h>

#include "app/model.h"
#include "common/constants.h"
#include "simulation/analytical_run_model.h"
#include "simulation/curve_derivatives.h"
#include "simulation/simulation_driver.h"
#include "ui/recording_platform.h"

namespace qalto {
namespace {

// A sweep from 0.5 V to -0.499 V in 1 mV steps: 1000 points, 2000 with the return sweep.
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

void RunCase(benchmark::State& state, int technique, int electrode, double cycles) {
  Model model = BenchModel(technique, electrode, cycles);
  RecordingPlatform platform;
  for (auto _ : state) {
    RunSimulation(model, SimulationInputs{}, platform);
    benchmark::DoNotOptimize(model.CurrentY(model.NumberOfPoints, 1));
  }
  if (!platform.messages.empty()) state.SkipWithError(platform.messages.front().c_str());
  state.counters["points"] = model.NumberOfPoints;
}

void BM_CyclicSweepPlanar(benchmark::State& state) {
  RunCase(state, 1, 1, 1);
}
void BM_CyclicSweepMicrodisc(benchmark::State& state) {
  RunCase(state, 1, 4, 1);
}
void BM_SquareWavePlanar(benchmark::State& state) {
  RunCase(state, 5, 1, 0.5);
}
void BM_AdditiveSquareWavePlanar(benchmark::State& state) {
  RunCase(state, 6, 1, 0.5);
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
BENCHMARK(BM_CyclicSweepMicrodisc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SquareWavePlanar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AdditiveSquareWavePlanar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SemiDifferentiate2000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qalto
