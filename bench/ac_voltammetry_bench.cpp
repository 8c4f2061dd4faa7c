// An AC voltammogram of 10 s at 10 Hz (a sine of 25 mV on a sweep of 0.5 V at 0.05 V/s, 6400
// points) of A + e = B at a planar electrode, digitally simulated and Fourier-analysed into its
// eight harmonics: with and without Ru and Cd. Target: at most 2 s a voltammogram.

#include <benchmark/benchmark.h>

#include "simulation/analytical_run_model.h"
#include "simulation/simulation_driver.h"

namespace qalto {
namespace {

void BM_AcVoltammogram(benchmark::State& state) {
  Model m = AnalyticalRunModel(9, 1);
  m.DigitalSimulation = true;
  m.StartPotential = kRunE0 + 0.25;
  m.EndPotential = kRunE0 - 0.25;
  m.ScanRate = 0.05;
  m.AcAmplitude = 0.025;
  m.AcFrequency = 10;
  m.ChargeKs(1) = 0.01;
  if (state.range(0) == 1) {
    m.UncompensatedResistance = 50;
    m.DoubleLayerCapacitance = 20e-6;
  }
  SimulationInputs inputs;
  inputs.pH = TypedNumber::Read("7");
  inputs.baselineStart = TypedNumber::Read("0");
  inputs.baselineEnd = TypedNumber::Read("0");
  inputs.expandingGrid = TypedNumber::Read("0.5");
  for (auto _ : state) {
    const SimulationOutcome outcome = RunSimulation(m, inputs);
    if (!outcome.Done()) state.SkipWithError(outcome.failure->message.c_str());
    benchmark::DoNotOptimize(m.AcHarmonics(3200, 1));
  }
}
BENCHMARK(BM_AcVoltammogram)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qalto
