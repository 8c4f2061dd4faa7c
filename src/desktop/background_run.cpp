#include "desktop/background_run.h"

#include <QMetaObject>
#include <atomic>

namespace qalto {
namespace {

std::atomic<bool> active{false};

}  // namespace

BackgroundRun::BackgroundRun(App& app) : app_(app) {
  monitor_.report = [this](const RunProgress& progress) {
    std::lock_guard<std::mutex> lock(progressMutex_);
    progress_ = progress;
  };
}

BackgroundRun::~BackgroundRun() {
  if (thread_.joinable()) {
    monitor_.cancelRequested = true;
    thread_.join();
  }
}

bool BackgroundRun::Active() {
  return active.load();
}

bool BackgroundRun::Start(const std::string& handler, std::function<void(bool)> finished) {
  if (Active() || thread_.joinable()) return false;
  handler_ = handler;
  finished_ = std::move(finished);
  cancelled_ = false;
  progress_ = RunProgress{};
  monitor_.cancelRequested = false;
  before_ = std::make_unique<Model>(app_.model());
  originsBefore_ = app_.Origins();
  resultBefore_ = app_.Result().Save();
  resultShownBefore_ = app_.Result().Shown();
  drawingBefore_ = app_.Plot().surface;
  overlapBefore_ = app_.Option().overlap.Checked();
  active = true;
  thread_ = std::thread([this] {
    RunMonitor::Scope scope(monitor_);
    try {
      app_.ChooseMenu(handler_);
    } catch (const RunCancelled&) {
      cancelled_ = true;
    }
    QMetaObject::invokeMethod(
        this, [this] { Finish(); }, Qt::QueuedConnection);
  });
  return true;
}

void BackgroundRun::Cancel() {
  monitor_.cancelRequested = true;
}

RunProgress BackgroundRun::Progress() const {
  std::lock_guard<std::mutex> lock(progressMutex_);
  return progress_;
}

void BackgroundRun::Finish() {
  thread_.join();
  if (cancelled_) {
    app_.model() = *before_;
    app_.SetOrigins(originsBefore_);
    app_.Result().Restore(resultBefore_);
    if (!resultShownBefore_) app_.Result().Hide();
    app_.Plot().surface = drawingBefore_;
    app_.Option().overlap.SetChecked(overlapBefore_);
  }
  before_.reset();
  active = false;
  if (finished_) finished_(cancelled_);
}

}  // namespace qalto
