#pragma once
// What ends a qalto-batch task from outside its script: its time limit (--time-limit) and the
// signals TERM and INT (a Slurm time-out, Ctrl-C). Either asks the task's computation to stop
// at its next poll, so that the task ends in order and writes its record. A task that has not
// ended a grace period later (a line that does not poll, a script read from a silent pipe) is
// ended from here: its last record is written, every temporary file removed, and the process
// leaves with the task's status.

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "common/run_monitor.h"

namespace qalto {

inline constexpr int kExitTimeLimit = 5;     // the task reached its time limit
inline constexpr int kExitSignalBase = 128;  // stopped by signal N: 128 + N, as shells report it

// The word for an exit status in a run's record: "ran", "refused", "script error", "failed",
// "import failed", "time limit" or "stopped".
const char* StatusWord(int exitStatus);

class BatchStops {
 public:
  // What a task that cannot end by itself leaves behind: its record, written with the exit
  // status and the reason. It runs on the watching thread while the task's own thread may still
  // be computing, so it must read nothing that thread changes.
  using LastRecord = std::function<void(int status, const std::string& reason)>;

  // Blocks TERM and INT on the calling thread, which every thread started later inherits:
  // construct it in main before any other thread. Until the thread that waits for them starts
  // (StartWatching, or the first task), a signal waits: a run that starts no task and ends at
  // once starts no thread.
  BatchStops();
  ~BatchStops();
  BatchStops(const BatchStops&) = delete;
  BatchStops& operator=(const BatchStops&) = delete;

  // Starts the thread that waits for the signals and watches the tasks' time, once; from the
  // thread that constructed this.
  void StartWatching();
  // A task begins: its computations poll monitor; it may run timeLimit seconds.
  void BeginTask(RunMonitor& monitor, std::optional<double> timeLimit, LastRecord lastRecord);
  // The task has ended and its record is written.
  void EndTask();

  // Why the current or last task was stopped: kExitTimeLimit or 128 + signal, with the reason
  // ("time limit of 2 s reached", "stopped by signal TERM"); 0 and "" when it was not.
  int Status() const;
  std::string Reason() const;
  // A signal came: no further task is to start.
  bool Signalled() const;

 private:
  void StartTask(RunMonitor& monitor, std::optional<double> timeLimit, LastRecord lastRecord);
  void Watch();
  void Stop(int status, const std::string& reason);

  mutable std::mutex mutex_;
  bool quit_ = false;
  RunMonitor* monitor_ = nullptr;  // the task's, while one runs
  std::optional<std::chrono::steady_clock::time_point> deadline_;
  double timeLimit_ = 0;  // s
  LastRecord lastRecord_;
  int status_ = 0;
  std::string reason_;
  std::chrono::steady_clock::time_point stoppedAt_;
  int signal_ = 0;
  std::thread watcher_;
};

}  // namespace qalto
