#include "app/batch_stop.h"

#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>

#include "common/file_replacement.h"

namespace qalto {
namespace {

// How long a stopped task has to end by itself before its last record is written for it.
constexpr std::chrono::milliseconds kGrace{1000};
// How often the watcher looks at the clock between signals.
constexpr long kTickNanoseconds = 20'000'000;

sigset_t StopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  return set;
}

std::string SignalName(int signal) {
  return signal == SIGTERM ? "TERM" : signal == SIGINT ? "INT" : std::to_string(signal);
}

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", seconds);
  return text;
}

}  // namespace

const char* StatusWord(int exitStatus) {
  switch (exitStatus) {
    case 0:
      return "ran";
    case 1:
      return "refused";
    case 2:
      return "script error";
    case 3:
      return "failed";
    case 4:
      return "import failed";
    case kExitTimeLimit:
      return "time limit";
    default:
      return exitStatus > kExitSignalBase ? "stopped" : "failed";
  }
}

BatchStops::BatchStops() {
  sigset_t set = StopSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void BatchStops::StartWatching() {
  if (!watcher_.joinable()) watcher_ = std::thread([this] { Watch(); });
}

BatchStops::~BatchStops() {
  if (!watcher_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
  }
  // Wakes the watcher now rather than at its next tick (up to 20 ms, most of an empty run's
  // time); it sees quit_ before it reads the signal.
  pthread_kill(watcher_.native_handle(), SIGTERM);
  watcher_.join();
}

void BatchStops::BeginTask(RunMonitor& monitor, std::optional<double> timeLimit,
                           LastRecord lastRecord) {
  StartTask(monitor, timeLimit, std::move(lastRecord));
  // Started with the task in place, the watcher stops it for a signal that came before.
  StartWatching();
}

void BatchStops::StartTask(RunMonitor& monitor, std::optional<double> timeLimit,
                           LastRecord lastRecord) {
  std::lock_guard<std::mutex> lock(mutex_);
  monitor_ = &monitor;
  lastRecord_ = std::move(lastRecord);
  status_ = 0;
  reason_.clear();
  deadline_.reset();
  if (timeLimit) {
    timeLimit_ = *timeLimit;
    deadline_ = std::chrono::steady_clock::now() +
                std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                    std::chrono::duration<double>(*timeLimit));
  }
  // A signal that came before the task began stops it at once.
  if (signal_ != 0) Stop(kExitSignalBase + signal_, "stopped by signal " + SignalName(signal_));
}

void BatchStops::EndTask() {
  std::lock_guard<std::mutex> lock(mutex_);
  monitor_ = nullptr;
  lastRecord_ = nullptr;
  deadline_.reset();
}

int BatchStops::Status() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return status_;
}

std::string BatchStops::Reason() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return reason_;
}

bool BatchStops::Signalled() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return signal_ != 0;
}

// With the mutex held.
void BatchStops::Stop(int status, const std::string& reason) {
  if (status_ != 0) return;
  status_ = status;
  reason_ = reason;
  stoppedAt_ = std::chrono::steady_clock::now();
  if (monitor_ != nullptr) monitor_->cancelRequested = true;
}

void BatchStops::Watch() {
  sigset_t set = StopSignals();
  for (;;) {
    timespec tick{0, kTickNanoseconds};
    int signal = sigtimedwait(&set, nullptr, &tick);
    std::lock_guard<std::mutex> lock(mutex_);
    if (quit_) return;
    auto now = std::chrono::steady_clock::now();
    if (signal > 0) {
      if (signal_ == 0) signal_ = signal;
      if (monitor_ == nullptr) {
        // Between tasks or outside any: nothing is left to record.
        RemoveTemporaryFiles();
        _exit(kExitSignalBase + signal);
      }
      Stop(kExitSignalBase + signal, "stopped by signal " + SignalName(signal));
    } else if (monitor_ != nullptr && deadline_ && now >= *deadline_) {
      Stop(kExitTimeLimit, "time limit of " + Seconds(timeLimit_) + " s reached");
    }
    if (monitor_ != nullptr && status_ != 0 && now - stoppedAt_ >= kGrace) {
      if (lastRecord_) lastRecord_(status_, reason_);
      RemoveTemporaryFiles();
      std::fflush(stdout);
      _exit(status_);
    }
  }
}

}  // namespace qalto
