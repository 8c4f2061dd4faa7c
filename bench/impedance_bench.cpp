// An impedance spectrum of 50 frequencies (1 mHz to 100 kHz, about six a decade) of a
// quasi-reversible couple at a planar electrode with Ru and Cd, of a two-step mechanism and of
// a catalytic cycle (its steady current through Ru).
// Target: at most 10 ms a spectrum.

#include <benchmark/benchmark.h>

#include <cmath>

#include "simulation/impedance.h"

namespace qalto {
namespace {

std::vector<double> FiftyFrequencies() {
  std::vector<double> grid;
  for (int k = 0; k < 50; ++k)
    grid.push_back(1e5 * std::pow(10.0, -8.0 * k / 49));
  return grid;
}

void BM_ImpedanceSpectrum(benchmark::State& state) {
  ImpedanceCell cell = CoupleCell(0.0, 1.0);
  cell.reactions[0].ks = 1e-3;
  cell.ru = 50;
  cell.cd = 20e-6;
  if (state.range(0) == 2) {
    cell.species.push_back({1e-5, 0.0});
    cell.reactions.push_back({1, 2, 1, 1e-2, 0.5, -0.2});
  }
  if (state.range(0) == 3) cell.chemistry = {{1, 0, 50, 0}};  // a catalytic cycle
  const std::vector<double> frequencies = FiftyFrequencies();
  for (auto _ : state)
    benchmark::DoNotOptimize(CellImpedance(cell, frequencies));
}
BENCHMARK(BM_ImpedanceSpectrum)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qalto
