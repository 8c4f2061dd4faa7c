// One run of the program as the Python module and the data-set generator make it: a fresh
// application, the settings of a cyclic voltammogram (242 points, 0.3 V to -0.3 V and back at
// 10 mV/s), Simulate, and the curve copied out. Target: at most 2 ms a run on an idle core,
// so that 10 000 curves take seconds; the Python module adds at most 10 % to it.

#include <benchmark/benchmark.h>

#include "app/experiment_run.h"

namespace qalto {
namespace {

RunRequest CyclicRequest(bool digital) {
  RunRequest request;
  request.settings = {{"FormMech.CheckDigital", digital ? "on" : "off"},
                      {"FormTech.optTech(1)", "on"},
                      {"FormIns.ComboScan", "cycle"}};
  request.script = "menu mnuSimulate\n";
  return request;
}

void BM_RunExperiment(benchmark::State& state) {
  const RunRequest request = CyclicRequest(state.range(0) == 1);
  for (auto _ : state) {
    RunOutput output = RunExperiment(request);
    benchmark::DoNotOptimize(output.current.data());
  }
}
BENCHMARK(BM_RunExperiment)->Arg(0)->Arg(1)->ArgName("digital")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qalto
