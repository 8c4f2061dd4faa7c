#include "app/task_programs.h"

#include <exception>
#include <utility>

namespace qalto {

TaskProgram::TaskProgram() : app(platform) {
  // Without a window only a picture file reads the plot: it is painted when one is written.
  app.Plot().surface.paintWhenUsed = true;
}

std::unique_ptr<TaskProgram> TaskPrograms::Take() {
  if (!next_.valid()) return std::make_unique<TaskProgram>();
  return next_.get();
}

void TaskPrograms::Prebuild() {
  if (next_.valid()) return;
  if (!worker_) worker_.emplace();
  auto built = std::make_shared<std::promise<std::unique_ptr<TaskProgram>>>();
  next_ = built->get_future();
  worker_->Post([built] {
    try {
      built->set_value(std::make_unique<TaskProgram>());
    } catch (...) {
      built->set_exception(std::current_exception());
    }
  });
}

void TaskPrograms::Discard(std::unique_ptr<TaskProgram> program) {
  if (!worker_ || !program) return;
  // Shared, since a job is copyable; the job holds the last reference and drops it there.
  worker_->Post(
      [used = std::shared_ptr<TaskProgram>(std::move(program))]() mutable { used.reset(); });
}

}  // namespace qalto
