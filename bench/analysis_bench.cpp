// The analysis commands on a full curve store: 8 curves of 5000 points.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "analysis/curve_integral.h"
#include "analysis/half_wave_finding.h"
#include "analysis/log_wave.h"
#include "analysis/peak_finding.h"

namespace qalto {
namespace {

// Cyclic voltammogram-like curves: a forward and a reverse peak on each of 8 curves.
std::unique_ptr<Model> FullStore() {
  auto model = std::make_unique<Model>();
  Model& m = *model;
  m.NumberOfPoints = kMaxPoints;
  m.FirstPoint = 1;
  m.LastPoint = kMaxPoints;
  m.CurveCount = kMaxCurves;
  m.CurrentCurve = 1;
  m.SweepPoints = kMaxPoints / 2;
  m.ScanCycles = 1;
  m.Technique = Technique::kSweep;
  m.PlotYMax = 1e-5;
  m.PlotYMin = -1e-5;
  for (int i = 1; i <= kMaxPoints; ++i) {
    m.PotentialX(i) = 0.3 - 0.0002 * std::abs(i - kMaxPoints / 2);
    for (int k = 1; k <= kMaxCurves; ++k) {
      m.CurrentY(i, k) = 1e-5 * std::exp(-std::pow((i - 1000.0) / 200, 2)) -
                         6e-6 * std::exp(-std::pow((i - 4000.0) / 200, 2)) + 1e-9 * k;
    }
  }
  return model;
}

void BM_FindPeaks(benchmark::State& state) {
  auto model = FullStore();
  for (auto _ : state) {
    PeakReport report = FindPeaks(*model, model->FirstPoint + 2, model->LastPoint - 2);
    benchmark::DoNotOptimize(report.curves.size());
  }
}
BENCHMARK(BM_FindPeaks);

void BM_FindHalfWavePotentials(benchmark::State& state) {
  auto model = FullStore();
  for (auto _ : state) {
    auto waves = FindHalfWavePotentials(*model);
    benchmark::DoNotOptimize(waves.size());
  }
}
BENCHMARK(BM_FindHalfWavePotentials);

void BM_IntegrateAndLog(benchmark::State& state) {
  auto model = FullStore();
  for (auto _ : state) {
    IntegrateCurve(*model, model->PotentialX, model->CurrentY);
    LogWaveCurve(*model, model->CurrentY);
  }
}
BENCHMARK(BM_IntegrateAndLog);

}  // namespace
}  // namespace qalto
