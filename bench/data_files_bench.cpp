// Reading and writing a full curve of the store's 100 000 points: the two-column data reader,
// the EC-Lab text reader and the whole Import Data command on an EC-Lab file of 100 000 rows
// (reading, the Instrument window, the report and the plot), the export text and the
// parameter report text.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/app.h"
#include "files/curve_export.h"
#include "files/data_reader.h"
#include "files/measurement_file.h"
#include "files/parameter_report.h"
#include "model/model.h"
#include "ui/recording_platform.h"

namespace qalto {
namespace {

// A swept curve of kMaxPoints points with full-precision currents.
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
  for (auto _ : state) {
    std::istringstream in(text);
    ImportedCurve curve;
    benchmark::DoNotOptimize(ReadCurveRecords(in, curve));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ReadCurveRecords)->Unit(benchmark::kMicrosecond);

// An EC-Lab text export of a CV of 100 000 rows in 16 columns as EC-Lab writes them: one
// cycle number over four sweeps at 50 mV/s, so that all the rows go into the store.
std::string EcLabText() {
  constexpr int kRows = 100000;
  std::string text =
      "EC-Lab ASCII FILE\r\nNb header lines : 7\r\n\r\nCyclic Voltammetry\r\n"
      "dE/dt               50.000\r\ndE/dt unit          mV/s\r\n"
      "mode\tox/red\terror\tcontrol changes\tcounter inc.\ttime/s\tcontrol/V\tEwe/V\t<I>/mA\t"
      "cycle number\t(Q-Qo)/C\tI Range\tRcmp/Ohm\tstep time/s\tPwe/W\tRwe/Ohm\t\r\n";
  char row[400];
  for (int i = 0; i < kRows; ++i) {
    int inCycle = i % (kRows / 4);
    double e = inCycle < kRows / 8 ? -0.1 + 4e-5 * inCycle : 0.9 - 4e-5 * (inCycle - kRows / 8);
    double current = 0.2 * std::exp(-(e - 0.25) * (e - 0.25) / 0.002) - 0.01;  // mA
    std::snprintf(row, sizeof row,
                  "2\t0\t0\t1\t0\t%.15E\t%.7E\t%.7E\t%.15E\t%.15E\t0.0000000E+000\t39\t"
                  "2.4656866E+001\t0.000000000000000E+000\t-5.1116007E-007\t1.2532315E+005\r\n",
                  3.6 + 0.0008 * i, e, e + 3e-4, current, 1.0);
    text += row;
  }
  return text;
}

void BM_ReadEcLabText(benchmark::State& state) {
  std::string text = EcLabText();
  for (auto _ : state)
    benchmark::DoNotOptimize(ReadMeasurementText(text, "cv.mpt"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ReadEcLabText)->Unit(benchmark::kMillisecond);

void BM_ImportDataCommand(benchmark::State& state) {
  std::string path = (std::filesystem::temp_directory_path() /
                      ("qalto_import_bench_" + std::to_string(::getpid()) + ".mpt"))
                         .string();
  std::ofstream(path, std::ios::binary) << EcLabText();
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
