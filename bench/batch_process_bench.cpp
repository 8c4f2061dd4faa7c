// Whole qalto-batch processes, as GNU parallel or a Slurm array starts them: the start-up of an
// empty script beside that of /bin/true, one digital cyclic voltammogram task, the throughput
// of tasks run two at a time (two workers), and the same tasks run one after another in one
// process (--tasks).
//
// Targets: BM_EmptyScript at most 1.5 x BM_TrueProcess; BM_GridTasksInOneProcess at least 40 x
// the items per second of BM_DigitalTasksInParallel/2 (each task in a process of its own);
// BM_ReadmeGridInOneProcess at most 1/40 of the time of BM_ReadmeGridUnderParallel (the README's
// grid of 200 tasks with their records, one process per task under GNU parallel -j2).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Starts `program` with the arguments, its output written to `output`; the process id.
pid_t Start(const std::vector<std::string>& arguments, const char* program = QALTO_BATCH,
            const char* output = "/dev/null") {
  std::vector<std::string> words = {program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words)
    argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  if (posix_spawn(&pid, program, &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

bool Finished(pid_t pid) {
  int status = 0;
  return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

const std::vector<std::string> kDigitalTask = {QALTO_SOURCE "/examples/grid/cv_kinetics.qs",
                                               "--param", "E0=0", "--param", "ks=1e-2"};

// The least a process costs on this machine.
void BM_TrueProcess(benchmark::State& state) {
  for (auto _ : state) {
    if (!Finished(Start({}, "/bin/true"))) state.SkipWithError("/bin/true failed");
  }
}
BENCHMARK(BM_TrueProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

// A script file with nothing in it (a device such as /dev/null is refused as a script).
void BM_EmptyScript(benchmark::State& state) {
  const std::string script = "/tmp/qalto_bench_empty.qs";
  std::ofstream(script).close();
  for (auto _ : state) {
    if (!Finished(Start({script}))) state.SkipWithError("qalto-batch failed");
  }
  std::remove(script.c_str());
}
BENCHMARK(BM_EmptyScript)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DigitalCyclicTask(benchmark::State& state) {
  for (auto _ : state) {
    if (!Finished(Start(kDigitalTask))) state.SkipWithError("qalto-batch failed");
  }
}
BENCHMARK(BM_DigitalCyclicTask)->Unit(benchmark::kMillisecond)->UseRealTime();

// Tasks kept running `workers` at a time; items per second is simulations per second.
void BM_DigitalTasksInParallel(benchmark::State& state) {
  const int workers = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::vector<pid_t> running;
    for (int w = 0; w < workers; ++w)
      running.push_back(Start(kDigitalTask));
    for (pid_t pid : running) {
      if (!Finished(pid)) state.SkipWithError("qalto-batch failed");
    }
  }
  state.SetItemsProcessed(state.iterations() * workers);
}
BENCHMARK(BM_DigitalTasksInParallel)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The grid task over the rows of a manifest of E0 and ks, all in one process; items per second
// is simulations per second.
void BM_GridTasksInOneProcess(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  const std::string manifest = "/tmp/qalto_bench_grid_" + std::to_string(rows) + ".tsv";
  {
    std::ofstream out(manifest);
    out << "E0\tks\n";
    for (int row = 0; row < rows; ++row)
      out << -0.05 + 0.1 * row / rows << "\t" << (row % 2 == 0 ? "1e-2" : "1e-3") << "\n";
  }
  const std::vector<std::string> arguments = {QALTO_SOURCE "/examples/grid/cv_kinetics.qs",
                                              "--manifest", manifest, "--tasks",
                                              "1-" + std::to_string(rows)};
  for (auto _ : state) {
    if (!Finished(Start(arguments))) state.SkipWithError("qalto-batch failed");
  }
  state.SetItemsProcessed(state.iterations() * rows);
  std::remove(manifest.c_str());
}
BENCHMARK(BM_GridTasksInOneProcess)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();

// The README's grid of 20 E0 by 10 ks, 200 tasks, each writing its record: its manifest, from
// the README's script, and a fresh folder for the records.
struct ReadmeGrid {
  ReadmeGrid() {
    std::filesystem::create_directories(records);
    made = Finished(Start({QALTO_SOURCE "/examples/grid/make_manifest.sh", "20", "10"}, "/bin/bash",
                          manifest.c_str()));
  }
  ~ReadmeGrid() {
    std::filesystem::remove_all(folder);
    std::filesystem::remove(manifest);
  }
  std::string folder = "/tmp/qalto_bench_readme_grid_" + std::to_string(getpid());
  std::string manifest = folder + ".tsv";
  std::string records = folder + "/runs";
  bool made = false;
  static constexpr int kTasks = 200;
};

// One process per task, two at a time, as GNU parallel -j2 runs the README's grid.
void BM_ReadmeGridUnderParallel(benchmark::State& state) {
  const char* parallel = "/usr/bin/parallel";
  if (access(parallel, X_OK) != 0) {
    state.SkipWithError("GNU parallel is not installed (/usr/bin/parallel)");
    return;
  }
  ReadmeGrid grid;
  if (!grid.made) state.SkipWithError("examples/grid/make_manifest.sh failed");
  std::vector<std::string> arguments = {"--will-cite", "-j2",
                                        QALTO_BATCH,   QALTO_SOURCE "/examples/grid/cv_kinetics.qs",
                                        "--manifest",  grid.manifest,
                                        "--task",      "{}",
                                        "--json",      grid.records + "/{}.json",
                                        ":::"};
  for (int task = 1; task <= ReadmeGrid::kTasks; ++task)
    arguments.push_back(std::to_string(task));
  for (auto _ : state) {
    if (!Finished(Start(arguments, parallel))) state.SkipWithError("GNU parallel failed");
  }
  state.SetItemsProcessed(state.iterations() * ReadmeGrid::kTasks);
}
BENCHMARK(BM_ReadmeGridUnderParallel)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// The same 200 tasks and records in one process (--tasks 1-200).
void BM_ReadmeGridInOneProcess(benchmark::State& state) {
  ReadmeGrid grid;
  if (!grid.made) state.SkipWithError("examples/grid/make_manifest.sh failed");
  const std::vector<std::string> arguments = {QALTO_SOURCE "/examples/grid/cv_kinetics.qs",
                                              "--manifest",
                                              grid.manifest,
                                              "--tasks",
                                              "1-" + std::to_string(ReadmeGrid::kTasks),
                                              "--json",
                                              grid.records + "/{}.json"};
  for (auto _ : state) {
    if (!Finished(Start(arguments))) state.SkipWithError("qalto-batch failed");
  }
  state.SetItemsProcessed(state.iterations() * ReadmeGrid::kTasks);
}
BENCHMARK(BM_ReadmeGridInOneProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
