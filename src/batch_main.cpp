// qalto-batch: runs a script of user actions against the program, without any window; one run
// is one task of a parameter grid or a campaign, driven by GNU parallel or a Slurm job array.

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

#include "app/app.h"
#include "app/batch_manifest.h"
#include "app/batch_options.h"
#include "app/batch_record.h"
#include "app/curve_csv.h"
#include "app/dataset_command.h"
#include "app/record_merge.h"
#include "app/replace_file.h"
#include "app/script_runner.h"
#include "ui/recording_platform.h"
#include "ui/svg_writer.h"

namespace {

constexpr int kPictureWidth = 800;   // pixels
constexpr int kPictureHeight = 600;  // pixels

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The folder of the running program, where its PNG writer lies.
std::string ProgramFolder() {
  char path[4096];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return ".";
  std::string program(path, static_cast<size_t>(length));
  size_t slash = program.rfind('/');
  return slash == std::string::npos ? "." : program.substr(0, slash);
}

// PNG pictures are painted by Qt, whose libraries take several milliseconds to load: they sit in
// a module of their own that is loaded when the first PNG picture is written, not at start-up.
using PngWriter = int (*)(const qalto::RecordingSurface*, const char*, int, int);

PngWriter LoadPngWriter(std::string& error) {
  std::string module = ProgramFolder() + "/qalto-png.so";
  void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    error = "PNG pictures need the picture writer " + module + ": " + dlerror();
    return nullptr;
  }
  auto writer = reinterpret_cast<PngWriter>(dlsym(handle, "QaltoWritePng"));
  if (writer == nullptr) error = module + " holds no PNG writer";
  return writer;
}

// Writes the plot window as last drawn; an error text, empty on success.
std::string WritePicture(qalto::App& app, const std::string& path) {
  const qalto::PlotWindow& plot = app.Plot();
  if (!plot.HasDrawing()) return "nothing has been drawn";
  bool written = false;
  std::string reason;
  if (EndsWith(path, ".svg")) {
    written = qalto::WriteSvg(plot.surface, path, kPictureWidth, kPictureHeight, &reason);
  } else if (EndsWith(path, ".png")) {
    static std::string loadError;
    static PngWriter writer = LoadPngWriter(loadError);
    if (writer == nullptr) return loadError;
    written = writer(&plot.surface, path.c_str(), kPictureWidth, kPictureHeight) != 0;
  } else {
    return "a picture is written as .svg or .png: " + path;
  }
  if (written) return "";
  return "cannot write " + path + (reason.empty() ? "" : ": " + reason);
}

// The task of a manifest run: --task, else the Slurm array index; 0 when neither is given.
long TaskNumber(const qalto::BatchOptions& options, std::string& error) {
  if (options.task) return *options.task;
  const char* slurm = std::getenv("SLURM_ARRAY_TASK_ID");
  if (slurm == nullptr || *slurm == '\0') {
    error = "a manifest needs --task N or SLURM_ARRAY_TASK_ID";
    return 0;
  }
  char* end = nullptr;
  long task = std::strtol(slurm, &end, 10);
  if (*end != '\0') error = "SLURM_ARRAY_TASK_ID is no task number: " + std::string(slurm);
  return task;
}

// The inputs that every task of the process shares: the manifest, read once, and the script
// when it comes from standard input, which only the first task could read otherwise.
struct SharedInputs {
  std::optional<qalto::Manifest> manifest;
  std::optional<std::string> standardInput;
};

// The parameters of the run: the manifest row, then --param values, which win; a parameter
// named seed gives the noise seed when --seed does not.
qalto::ScriptParameters GatherParameters(qalto::BatchOptions& options, qalto::RunRecord& record,
                                         const SharedInputs& shared, std::string& error) {
  qalto::ScriptParameters parameters;
  if (!options.manifest.empty()) {
    long task = TaskNumber(options, error);
    if (!error.empty()) return {};
    record.task = task;
    if (!shared.manifest) {
      error = "cannot open " + options.manifest;
      return {};
    }
    parameters = shared.manifest->Task(task, error);
    if (!error.empty()) return {};
  }
  for (const auto& [name, value] : options.parameters)
    parameters[name] = value;
  auto seed = parameters.find("seed");
  if (!options.seed && seed != parameters.end()) {
    options.seed = qalto::ReadSeed(seed->second);
    if (!options.seed) error = "the parameter seed takes a whole number from 0: " + seed->second;
  }
  return parameters;
}

// Writes the record when one is asked for; the run's exit status.
int Finish(const qalto::BatchOptions& options, qalto::RunRecord& record, qalto::Model& model,
           std::chrono::steady_clock::time_point start) {
  if (options.json.empty()) return record.exitStatus;
  record.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!qalto::WriteWholeFile(options.json, qalto::RunRecordJson(record, model))) {
    std::cerr << "qalto-batch: cannot write " << options.json << "\n";
    if (record.exitStatus == qalto::kExitRan) return qalto::kExitCommandLine;
  }
  return record.exitStatus;
}

// A parameter that the script never refers to is most likely a misspelt name.
void WarnOfUnusedParameters(const qalto::RunRecord& record, const qalto::ScriptRunner& runner) {
  for (const auto& [name, value] : record.parameters) {
    if (name != "seed" && runner.UsedParameters().count(name) == 0) {
      std::cerr << "qalto-batch: the script does not use parameter " << name << "\n";
    }
  }
}

int RunScript(qalto::BatchOptions& options, const SharedInputs& shared) {
  auto start = std::chrono::steady_clock::now();
  qalto::RecordingPlatform platform;
  qalto::App app(platform);
  // Without a window only a picture file reads the plot: it is painted when one is written.
  app.Plot().surface.paintWhenUsed = true;
  qalto::RunRecord record;
  record.script = options.script;
  record.manifest = options.manifest;
  record.settings = options.settings;
  auto fail = [&](const std::string& error) {
    record.exitStatus = qalto::kExitCommandLine;
    record.error = error;
    std::cerr << "qalto-batch: " << error << "\n";
    return Finish(options, record, app.model(), start);
  };
  std::string error;
  record.parameters = GatherParameters(options, record, shared, error);
  record.seed = options.seed;
  if (!error.empty()) return fail(error);
  std::ifstream file;
  std::istringstream standardInput(shared.standardInput.value_or(""));
  if (options.script != "-") {
    file.open(options.script);
    if (!file) return fail("cannot open " + options.script);
  }
  std::istream& script = options.script != "-"  ? static_cast<std::istream&>(file)
                         : shared.standardInput ? standardInput
                                                : std::cin;
  qalto::ScriptRunner runner(app, platform, std::cout);
  runner.parameters = record.parameters;
  runner.plotWriter = [&app](const std::string& picture) { return WritePicture(app, picture); };
  app.model().NoiseSeed = options.seed;
  for (const auto& [control, value] : options.settings) {
    error = runner.Override(control, value);
    if (!error.empty()) return fail("--set " + control + "=" + value + ": " + error);
  }
  record.exitStatus = runner.Run(script, std::cerr);
  record.error = runner.Error();
  record.messages = runner.Messages();
  if (record.exitStatus == qalto::kExitRan) WarnOfUnusedParameters(record, runner);
  // Curves only of a run that succeeded: a curve file is never the remains of a failure.
  if (!options.out.empty() && record.exitStatus == qalto::kExitRan) {
    std::string csv = qalto::CurveCsv(app.model(), app.Option().ComboY.Text());
    if (!qalto::WriteWholeFile(options.out, csv)) return fail("cannot write " + options.out);
  }
  std::cout.flush();
  return Finish(options, record, app.model(), start);
}

// One table of the records, to --out or standard output; "-" reads record names from stdin.
int Merge(const qalto::BatchOptions& options) {
  std::vector<std::string> paths;
  for (const std::string& record : options.records) {
    if (record != "-") {
      paths.push_back(record);
      continue;
    }
    for (std::string line; std::getline(std::cin, line);) {
      if (!line.empty()) paths.push_back(line);
    }
  }
  qalto::MergedTable table = qalto::MergeRecords(paths);
  for (const std::string& problem : table.problems)
    std::cerr << "qalto-batch: " << problem << "\n";
  if (options.out.empty()) {
    std::cout << table.text;
  } else if (!qalto::WriteWholeFile(options.out, table.text)) {
    std::cerr << "qalto-batch: cannot write " << options.out << "\n";
    return qalto::kExitCommandLine;
  }
  return table.problems.empty() ? qalto::kExitRan : qalto::kExitCommandLine;
}

// The options of one task of --tasks: its row, and its number in place of {} in the names of
// the record and the curve file, as GNU parallel would put it there.
qalto::BatchOptions TaskOptions(const qalto::BatchOptions& options, long task) {
  qalto::BatchOptions own = options;
  own.task = task;
  for (std::string* name : {&own.json, &own.out}) {
    for (size_t at = name->find("{}"); at != std::string::npos; at = name->find("{}", at))
      name->replace(at, 2, std::to_string(task));
  }
  return own;
}

// Runs the tasks one after another, each from a fresh program as a process of its own would; the
// process exits with the highest status of its tasks.
int RunTasks(const qalto::BatchOptions& options) {
  SharedInputs shared;
  if (!options.manifest.empty()) {
    std::ifstream manifest(options.manifest);
    if (manifest) shared.manifest.emplace(manifest, options.manifest);
  }
  if (options.script == "-" && !options.tasks.empty()) {
    shared.standardInput.emplace(std::istreambuf_iterator<char>(std::cin),
                                 std::istreambuf_iterator<char>());
  }
  if (options.tasks.empty()) {
    qalto::BatchOptions own = options;
    return RunScript(own, shared);
  }
  int worst = qalto::kExitRan;
  for (const auto& [first, last] : options.tasks) {
    for (long task = first; task <= last; ++task) {
      qalto::BatchOptions own = TaskOptions(options, task);
      worst = std::max(worst, RunScript(own, shared));
    }
  }
  return worst;
}

}  // namespace

int main(int argc, char** argv) {
  qalto::BatchOptions options;
  std::string error =
      qalto::ParseBatchOptions(std::vector<std::string>(argv + 1, argv + argc), options);
  if (!error.empty()) {
    std::cerr << "qalto-batch: " << error << "\n" << qalto::BatchUsage();
    return qalto::kExitCommandLine;
  }
  if (options.help) {
    std::cout << qalto::BatchUsage();
    return qalto::kExitRan;
  }
  if (options.version) {
    std::cout << "qalto-batch " << QALTO_VERSION_MAJOR << "." << QALTO_VERSION_MINOR << "."
              << QALTO_VERSION_PATCH << "\n";
    return qalto::kExitRan;
  }
  if (!options.dataset.empty()) return qalto::RunDatasetCommand(options, std::cerr);
  return options.merge ? Merge(options) : RunTasks(options);
}
