// qalto-batch: runs a script of user actions against the program, without any window; one run
// is one task of a parameter grid or a campaign, driven by GNU parallel or a Slurm job array.

#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "app/app.h"
#include "app/batch_manifest.h"
#include "app/batch_options.h"
#include "app/batch_outputs.h"
#include "app/batch_record.h"
#include "app/batch_stop.h"
#include "app/curve_csv.h"
#include "app/dataset_command.h"
#include "app/picture_process.h"
#include "app/record_merge.h"
#include "app/replace_file.h"
#include "app/script_runner.h"
#include "app/script_words.h"
#include "app/task_programs.h"
#include "drawing/display_list_text.h"
#include "drawing/svg_writer.h"

namespace {

constexpr int kPictureWidth = 800;   // pixels
constexpr int kPictureHeight = 600;  // pixels
// The largest script read: a script is lines typed by hand or written by a program, never more.
constexpr off_t kMaxScriptBytes = off_t{64} << 20;
// The most freed memory kept between the tasks of --tasks.
constexpr int kKeptFreeBytes = 256 << 20;

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

// Writes the plot window as last drawn; an error text, empty on success.
std::string WritePicture(qalto::App& app, const std::string& path) {
  const qalto::PlotWindow& plot = app.Plot();
  if (!plot.HasDrawing()) return "nothing has been drawn";
  bool written = false;
  std::string reason;
  if (EndsWith(path, ".svg")) {
    written = qalto::WriteSvg(plot.surface, path, kPictureWidth, kPictureHeight, &reason);
  } else if (EndsWith(path, ".png")) {
    // Painted by Qt, whose libraries take several milliseconds to load: in the picture writer,
    // a program of its own, so that no other run loads them.
    return qalto::PaintInProcess(ProgramFolder() + "/qalto-png",
                                 qalto::DisplayListText(plot.surface.Items()), path, kPictureWidth,
                                 kPictureHeight);
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

// The inputs that every task of the process shares, read once: the manifest, and the script
// of --tasks (a pipe or standard input would give it only to the first task otherwise), or
// why it cannot be read.
struct SharedInputs {
  std::optional<qalto::Manifest> manifest;
  std::optional<std::string> script;
  std::string scriptError;
  bool outputsChecked = false;  // every task's outputs were compared with the inputs before
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
  std::string reason = qalto::WriteWholeFile(options.json, qalto::RunRecordJson(record, model));
  if (!reason.empty()) {
    std::cerr << "qalto-batch: cannot write " << options.json << ": " << reason << "\n";
    if (record.exitStatus == qalto::kExitRan) return qalto::kExitCommandLine;
  }
  return record.exitStatus;
}

// A parameter that the script never refers to is most likely a misspelt name.
void WarnOfUnusedParameters(const qalto::RunRecord& record, const std::set<std::string>& used) {
  for (const auto& [name, value] : record.parameters) {
    if (name != "seed" && used.count(name) == 0) {
      std::cerr << "qalto-batch: the script does not use parameter " << name << "\n";
    }
  }
}

// Whether path names a regular file, which is read without waiting for anyone.
bool IsRegularFile(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// Opens the script; the reason it cannot be read, empty when it can. A folder or a device is
// no script (a device such as /dev/zero would be read for ever); a pipe is, as the shell's
// <(...) gives one.
std::string OpenScript(const std::string& path, std::ifstream& file) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::strerror(errno);
  if (S_ISDIR(status.st_mode)) return std::strerror(EISDIR);
  if (!S_ISREG(status.st_mode) && !S_ISFIFO(status.st_mode)) return "not a regular file";
  if (S_ISREG(status.st_mode) && status.st_size > kMaxScriptBytes) {
    return "larger than " + std::to_string(kMaxScriptBytes >> 20) + " MB, not a script";
  }
  errno = 0;
  file.open(path, std::ios::binary);
  if (!file) return errno != 0 ? std::strerror(errno) : "cannot be opened";
  // A byte-order mark in front of the first line is no part of it. A pipe cannot seek back:
  // the bytes read are put back into the stream's buffer when they are no mark.
  if (file.peek() == 0xEF) {
    char mark[3] = {};
    file.read(mark, 3);
    if (std::string(mark, 3) != "\xEF\xBB\xBF") {
      file.clear();
      for (std::streamsize n = file.gcount(); n > 0; --n)
        file.unget();
    }
  }
  if (!file) return "cannot be read";
  return "";
}

// The whole script, for the tasks of --tasks; the reason it cannot be read, empty when it can.
std::string ReadScript(const std::string& path, std::string& text) {
  std::ifstream file;
  if (std::string reason = OpenScript(path, file); !reason.empty()) return reason;
  text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return file.bad() ? "read error" : "";
}

// The curves, only of a run that succeeded (a curve file is never the remains of a failure),
// and the record; the run's exit status.
int WriteOutputs(const qalto::BatchOptions& options, qalto::RunRecord& record, qalto::App& app,
                 std::chrono::steady_clock::time_point start) {
  if (!options.out.empty() && record.exitStatus == qalto::kExitRan) {
    std::string csv = qalto::CurveCsv(app.model(), app.Option().ComboY.Text());
    std::string reason = qalto::WriteWholeFile(options.out, csv);
    if (!reason.empty()) {
      record.exitStatus = qalto::kExitCommandLine;
      record.error = "cannot write " + options.out + ": " + reason;
      std::cerr << "qalto-batch: " << record.error << "\n";
    }
  }
  std::cout.flush();
  return Finish(options, record, app.model(), start);
}

// Runs the script's lines; a stop from outside (time limit, signal) ends them at the next poll
// with the stop's status and reason, placed at the line that was running.
void RunLines(qalto::ScriptRunner& runner, std::istream& script, qalto::RunRecord& record,
              const qalto::BatchStops& stops) {
  try {
    record.exitStatus = runner.Run(script, std::cerr);
    record.error = runner.Error();
  } catch (const qalto::RunCancelled&) {
    std::cout.flush();
    record.exitStatus = stops.Status();
    record.error = "line " + std::to_string(runner.LineNumber()) + ": " + stops.Reason();
    std::cerr << record.error << "\n";
  }
  record.messages = runner.Messages();
}

// The record a task stopped from outside leaves when it cannot end by itself: what it was
// started with, without the results its computation was changing.
qalto::BatchStops::LastRecord LastRecordOf(const qalto::BatchOptions& options,
                                           const qalto::RunRecord& started,
                                           std::chrono::steady_clock::time_point start) {
  return [&options, started, start](int status, const std::string& reason) {
    qalto::RunRecord last = started;
    last.exitStatus = status;
    last.error = reason;
    auto empty = std::make_unique<qalto::Model>();
    std::cerr << "qalto-batch: " << reason << "\n";
    Finish(options, last, *empty, start);
  };
}

int RunTask(qalto::BatchOptions& options, const SharedInputs& shared, qalto::BatchStops& stops,
            const std::function<qalto::TaskProgram&()>& program) {
  auto start = std::chrono::steady_clock::now();
  // An output that would overwrite an input stops the run before anything is written, its
  // record included.
  std::string clash = shared.outputsChecked ? "" : qalto::OutputClash(options);
  if (!clash.empty()) {
    std::cerr << "qalto-batch: " << clash << "\n";
    return qalto::kExitCommandLine;
  }
  qalto::RunRecord record;
  record.script = options.script;
  record.manifest = options.manifest;
  record.settings = options.settings;
  auto fail = [&](const std::string& error) {
    record.exitStatus = qalto::kExitCommandLine;
    record.error = error;
    std::cerr << "qalto-batch: " << error << "\n";
    return Finish(options, record, program().app.model(), start);
  };
  std::string error;
  record.parameters = GatherParameters(options, record, shared, error);
  record.seed = options.seed;
  if (!error.empty()) return fail(error);
  // A regular file is read whole now; a pipe and standard input are read as the task runs, so
  // that its time limit and signals stop a silent one.
  std::string fileText;
  const std::string* text = shared.script ? &*shared.script : nullptr;
  std::ifstream file;
  if (!shared.scriptError.empty()) {
    return fail("cannot read " + options.script + ": " + shared.scriptError);
  } else if (!text && IsRegularFile(options.script)) {
    if (std::string reason = ReadScript(options.script, fileText); !reason.empty()) {
      return fail("cannot read " + options.script + ": " + reason);
    }
    text = &fileText;
  } else if (!text && options.script != "-") {
    if (std::string reason = OpenScript(options.script, file); !reason.empty()) {
      return fail("cannot read " + options.script + ": " + reason);
    }
  }
  if (text && qalto::HoldsNoCommand(*text) && options.settings.empty() && options.out.empty() &&
      options.json.empty()) {
    WarnOfUnusedParameters(record, {});
    return qalto::kExitRan;
  }
  qalto::App& app = program().app;
  qalto::ScriptRunner runner(app, program().platform, std::cout);
  runner.parameters = record.parameters;
  runner.plotWriter = [&app](const std::string& picture) { return WritePicture(app, picture); };
  app.model().NoiseSeed = options.seed;
  for (const auto& [control, value] : options.settings) {
    error = runner.Override(control, value);
    if (!error.empty()) return fail("--set " + control + "=" + value + ": " + error);
  }
  qalto::RunMonitor monitor;
  qalto::RunMonitor::Scope monitored(monitor);
  stops.BeginTask(monitor, options.timeLimit, LastRecordOf(options, record, start));
  std::istringstream whole(text ? *text : std::string());
  std::istream& script = text                    ? static_cast<std::istream&>(whole)
                         : options.script != "-" ? file
                                                 : std::cin;
  RunLines(runner, script, record, stops);
  int status = record.exitStatus;
  if (script.bad()) {
    status = fail("cannot read " + options.script + ": read error");
  } else {
    if (record.exitStatus == qalto::kExitRan)
      WarnOfUnusedParameters(record, runner.UsedParameters());
    status = WriteOutputs(options, record, app, start);
  }
  stops.EndTask();
  return status;
}

// Runs one task on a program from programs, taken when the run needs it (a script of comments
// alone needs none) and handed back at the end; another says whether a task follows, whose
// program is then built beside this one.
int RunScript(qalto::BatchOptions& options, const SharedInputs& shared, qalto::BatchStops& stops,
              qalto::TaskPrograms& programs, bool another) {
  std::unique_ptr<qalto::TaskProgram> built;
  const int status = RunTask(options, shared, stops, [&]() -> qalto::TaskProgram& {
    if (built) return *built;
    built = programs.Take();
    if (another) programs.Prebuild();
    return *built;
  });
  programs.Discard(std::move(built));
  return status;
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
  qalto::BatchOptions named = options;
  named.records = paths;
  if (std::string clash = qalto::OutputClash(named); !clash.empty()) {
    std::cerr << "qalto-batch: " << clash << "\n";
    return qalto::kExitCommandLine;
  }
  qalto::MergedTable table = qalto::MergeRecords(paths);
  for (const std::string& problem : table.problems)
    std::cerr << "qalto-batch: " << problem << "\n";
  if (options.out.empty()) {
    std::cout << table.text;
  } else if (std::string reason = qalto::WriteWholeFile(options.out, table.text); !reason.empty()) {
    std::cerr << "qalto-batch: cannot write " << options.out << ": " << reason << "\n";
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

// The most tasks whose outputs are compared with one another before a run: their names are
// held meanwhile (about 100 bytes each); a longer list is checked task by task as it runs.
constexpr long kMostComparedTasks = 100000;

// The first clash of a task's outputs with an input or with another task's outputs, found
// before the first task runs; empty when there is none.
std::string TaskListClash(const qalto::BatchOptions& options) {
  std::vector<long> tasks;
  if (qalto::TaskCount(options.tasks) <= kMostComparedTasks) {
    for (const auto& [first, last] : options.tasks) {
      for (long task = first; task <= last; ++task)
        tasks.push_back(task);
    }
  }
  return qalto::TaskOutputClash(tasks,
                                [&options](long task) { return TaskOptions(options, task); });
}

// Runs the tasks one after another, each from a fresh program as a process of its own would; the
// process exits with the highest status of its tasks.
int RunTasks(const qalto::BatchOptions& options, qalto::BatchStops& stops) {
  SharedInputs shared;
  if (!options.manifest.empty()) {
    std::ifstream manifest(options.manifest);
    if (manifest) shared.manifest.emplace(manifest, options.manifest);
  }
  if (!options.tasks.empty() && options.script != "-") {
    shared.scriptError = ReadScript(options.script, shared.script.emplace());
  } else if (!options.tasks.empty()) {
    shared.script.emplace(std::istreambuf_iterator<char>(std::cin),
                          std::istreambuf_iterator<char>());
  }
  qalto::TaskPrograms programs;
  if (options.tasks.empty()) {
    qalto::BatchOptions own = options;
    return RunScript(own, shared, stops, programs, false);
  }
  stops.StartWatching();  // the check of a long list of tasks can be stopped too
  // Each task builds and frees an experiment of its own: the memory freed stays with the process
  // for the next task instead of going back to the system and being faulted in again.
  mallopt(M_TRIM_THRESHOLD, kKeptFreeBytes);
  programs.Prebuild();  // the first task's, while the outputs are checked
  // Every task's outputs are checked before the first task runs: a clash found at task 3 would
  // leave the files of tasks 1 and 2 behind, and one between two tasks would lose a record.
  if (std::string clash = TaskListClash(options); !clash.empty()) {
    std::cerr << "qalto-batch: " << clash << "\n";
    return qalto::kExitCommandLine;
  }
  shared.outputsChecked = qalto::TaskCount(options.tasks) <= kMostComparedTasks;
  int worst = qalto::kExitRan;
  long left = qalto::TaskCount(options.tasks);
  for (const auto& [first, last] : options.tasks) {
    for (long task = first; task <= last; ++task) {
      qalto::BatchOptions own = TaskOptions(options, task);
      worst = std::max(worst, RunScript(own, shared, stops, programs, --left > 0));
    }
  }
  return worst;
}

}  // namespace

int main(int argc, char** argv) {
  // A write beyond the file-size limit fails with its reason instead of ending the process
  // with a half-written temporary file.
  std::signal(SIGXFSZ, SIG_IGN);
  qalto::BatchStops stops;
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
  if (!options.dataset.empty() || options.merge) stops.StartWatching();
  if (!options.dataset.empty()) {
    if (std::string clash = qalto::OutputClash(options); !clash.empty()) {
      std::cerr << "qalto-batch: " << clash << "\n";
      return qalto::kExitCommandLine;
    }
    return qalto::RunDatasetCommand(options, std::cerr);
  }
  return options.merge ? Merge(options) : RunTasks(options, stops);
}
