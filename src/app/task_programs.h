#pragma once
// The programs of the tasks of one qalto-batch process. Each task runs on a fresh program, as a
// process of its own would; in a grid of short tasks, building the forms and taking them apart
// are a fifth of a task, so that work is done on another core, beside the running task.

#include <future>
#include <memory>
#include <optional>

#include "app/app.h"
#include "common/background_worker.h"
#include "ui/recording_platform.h"

namespace qalto {

// The platform that records what a task shows, and the program on it.
struct TaskProgram {
  TaskProgram();
  RecordingPlatform platform;
  App app;
};

class TaskPrograms {
 public:
  // A fresh program: the one Prebuild started (waiting for it to be done), else built now.
  // A failure to build (no memory) is thrown here.
  std::unique_ptr<TaskProgram> Take();
  // Starts building the next task's program on the worker, unless one is already waiting.
  void Prebuild();
  // Takes a finished task's program apart on the worker (at once when there is none).
  void Discard(std::unique_ptr<TaskProgram> program);

 private:
  std::future<std::unique_ptr<TaskProgram>> next_;
  std::optional<BackgroundWorker> worker_;  // started by the first Prebuild; ends first
};

}  // namespace qalto
