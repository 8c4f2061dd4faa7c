// Reading and writing a full curve of 5000 points: the data reader, the whole Import Data
// command on a file (reading, the Instrument window, the report and the plot), the export text
// and the parameter report text.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/app.h"
#include "model/model.h"
#include "files/curve_export.h"
#include "files/data_reader.h"
#include "files/parameter_report.h"
#include "ui/recording_platform.h"

namespace qalto {
namespace {

// A swept curve of 5000 points with full-precision currents.
std::unique_ptr<Model> FullCurve() {
  auto model = std::make_unique<Model>();
  for (int i = 1; i <= kMaxPoints; ++i) {
    model->PotentialX(i) = 0.5 - 0.0002 * i;
    model->CurrentY(i, 1) = 1e-6 / (1 + (i - 2500) * (i - 2500) / 1e5) + 3.3e-9 * i;
  }
  model->FirstPoint = 1;
  model->LastPoint = kMaxPoints;
  return model;
}

void BM_ReadCurveRecords(benchmark::State& state) {
  auto source = FullCurve();
  std::string text = CurveExportText(1, kMaxPoints, source->PotentialX, source->CurrentY, 1);
  auto model = std::make_unique<Model>();
  for (auto _ : state) {
    std::istringstream in(text);
    benchmark::DoNotOptimize(ReadCurveRecords(in, *model, 1));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ReadCurveRecords)->Unit(benchmark::kMicrosecond);

void BM_ImportDataCommand(benchmark::State& state) {
  auto source = FullCurve();
  std::string path = (std::filesystem::temp_directory_path() /
                      ("qalto_import_bench_" + std::to_string(::getpid()) + ".csv"))
                         .string();
  std::ofstream(path, std::ios::binary)
      << CurveExportText(1, kMaxPoints, source->PotentialX, source->CurrentY, 1);
  RecordingPlatform platform;
  App app(platform);
  for (auto _ : state) {
    platform.QueueDialogAnswer(path);
    app.mnuImport_Click();
  }
  std::remove(path.c_str());
  if (app.model().NumberOfPoints != kMaxPoints || !platform.messages.empty())
    state.SkipWithError("the import failed");
}
BENCHMARK(BM_ImportDataCommand)->Unit(benchmark::kMillisecond);

void BM_CurveExportText(benchmark::State& state) {
  auto model = FullCurve();
  for (auto _ : state) {
    benchmark::DoNotOptimize(CurveExportText(1, kMaxPoints, model->PotentialX, model->CurrentY, 1));
  }
}
BENCHMARK(BM_CurveExportText)->Unit(benchmark::kMicrosecond);

void BM_ParameterReportText(benchmark::State& state) {
  auto model = FullCurve();
  model->SpeciesCount = kMaxSpecies;
  for (auto _ : state)
    benchmark::DoNotOptimize(ParameterReportText(*model));
}
BENCHMARK(BM_ParameterReportText)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qalto
