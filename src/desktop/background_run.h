#pragma once
// Runs a long menu command (a simulation, a fit, a separation) on a thread of its own, so that
// the window keeps painting, resizing and zooming while it computes. The command polls the run
// monitor once per simulated point and once per fit iteration; the progress shows in the status
// bar and Cancel stops the command at its next poll and puts the model back as it was before.
//
// While a run goes on the widgets do not follow their models (the computing thread changes
// them); the window keeps the menus and forms disabled and brings every widget up to date when
// the run ends.

#include <QObject>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "app/app.h"
#include "common/print_line.h"
#include "common/run_monitor.h"
#include "drawing/recording_surface.h"

namespace qalto {

class BackgroundRun : public QObject {
 public:
  explicit BackgroundRun(App& app);
  ~BackgroundRun() override;

  // True from Start until the run's end has been handled, on every thread.
  static bool Active();

  // Starts the command; finished runs on the window's thread when it is over, with true when
  // it was cancelled (the model then holds what it held before the run).
  bool Start(const std::string& handler, std::function<void(bool cancelled)> finished);
  void Cancel();
  RunProgress Progress() const;
  const std::string& Handler() const { return handler_; }

 private:
  void Finish();

  App& app_;
  std::string handler_;
  std::thread thread_;
  RunMonitor monitor_;
  mutable std::mutex progressMutex_;
  RunProgress progress_;
  bool cancelled_ = false;
  // What Cancel puts back: the model, the curve names, the result window's lines and whether it
  // was shown, the plot's drawing and the overlap check box (a fit clears it).
  std::unique_ptr<Model> before_;
  CurveOrigins originsBefore_;
  ResultWindow::Saved resultBefore_;
  bool resultShownBefore_ = false;
  RecordingSurface drawingBefore_;
  bool overlapBefore_ = false;
  std::function<void(bool)> finished_;
};

}  // namespace qalto
