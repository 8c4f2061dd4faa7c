// An impedance spectrum of 49 frequencies (1 mHz to 100 kHz, six a decade) of a quasi-reversible couple at
// a planar electrode with Ru and Cd. Target: at most 10 ms (the closed form takes microseconds).

#include <benchmark/benchmark.h>

#include "simulation/impedance.h"

namespace qalto {
namespace {

void BM_ImpedanceSpectrum(benchmark::State& state) {
  ImpedanceCell cell;
  cell.ks = 1e-3;
  cell.cR = 1e-3;
  cell.ru = 50;
  cell.cd = 20e-6;
  const std::vector<double> frequencies = FrequencyGrid(1e-3, 1e5, 6);
  for (auto _ : state) {
    for (double f : frequencies) benchmark::DoNotOptimize(CellImpedance(cell, f));
  }
}
BENCHMARK(BM_ImpedanceSpectrum)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qalto
