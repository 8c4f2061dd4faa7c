// The main window's background runs: the status bar's progress and Cancel while a simulation
// or fit computes, the menus and forms disabled meanwhile, and every window brought up to date
// when it ends.

#include <QMenuBar>

#include "desktop/form_view.h"
#include "desktop/mdi_form1.h"

namespace qalto {

void MDIForm1::StartRun(const std::string& handler) {
  ++eventDepth_;
  menuBar()->setEnabled(false);
  CurveList()->setEnabled(false);
  for (auto& [form, window] : windows_) {
    if (dynamic_cast<FormView*>(window->widget()) != nullptr) window->widget()->setEnabled(false);
  }
  progress_->setRange(0, 0);
  progress_->setValue(0);
  progress_->show();
  cancel_->show();
  cancel_->setEnabled(true);
  statusText_->setText(handler == "mnuSimulate_Click"      ? "Simulating..."
                       : handler == "mnuImport_Click"      ? "Importing..."
                       : handler == "mnuOpenSession_Click" ? "Opening the session..."
                                                           : "Fitting...");
  if (!run_->Start(handler, [this](bool cancelled) { EndRun(cancelled); })) {
    EndRun(false);
    return;
  }
  progressTimer_->start();
}

void MDIForm1::ShowFirstCurve() {
  firstLook_ = true;
  ChooseMenu("mnuSimulate_Click", "&Simulate");
  if (!Running()) firstLook_ = false;  // refused or done at once
}

void MDIForm1::CancelRun() {
  if (!Running()) return;
  run_->Cancel();
  cancel_->setEnabled(false);
  statusText_->setText("Stopping...");
}

void MDIForm1::ShowProgress() {
  if (!Running() || !cancel_->isEnabled()) return;
  RunProgress p = run_->Progress();
  const bool simulating = run_->Handler() == "mnuSimulate_Click";
  const bool importing = run_->Handler() == "mnuImport_Click";
  if (importing || run_->Handler() == "mnuOpenSession_Click") {
    // An import or a session reports the kilobytes read, then parses without a known end.
    const QString what = importing ? "Importing" : "Opening the session";
    const bool reading = p.pointsTotal > 0 && p.pointsDone < p.pointsTotal;
    progress_->setRange(0, reading ? p.pointsTotal : 0);
    if (reading) progress_->setValue(p.pointsDone);
    statusText_->setText(
        reading ? QString("%1: %2 of %3 kB read").arg(what).arg(p.pointsDone).arg(p.pointsTotal)
                : QString("%1: reading the values...").arg(what));
    return;
  }
  // A fit runs an unknown number of iterations, each of several simulations: its bar only says
  // that it is working, and the text counts the iterations.
  if (simulating && p.pointsTotal > 0) {
    progress_->setRange(0, p.pointsTotal);
    progress_->setValue(p.pointsDone);
  } else if (!simulating) {
    progress_->setRange(0, 0);
  }
  QString text = QString("Simulating: %1 of %2 points").arg(p.pointsDone).arg(p.pointsTotal);
  if (!simulating) {
    text =
        p.iteration == 0
            ? QString("Fitting: first trial, %1 of %2 points").arg(p.pointsDone).arg(p.pointsTotal)
            : QString("Fitting: iteration %1, least square %2")
                  .arg(p.iteration)
                  .arg(p.sumOfSquares, 0, 'g', 4);
  }
  statusText_->setText(text);
}

void MDIForm1::EndRun(bool cancelled) {
  progressTimer_->stop();
  progress_->hide();
  cancel_->hide();
  menuBar()->setEnabled(true);
  CurveList()->setEnabled(true);
  for (auto& [form, window] : windows_) {
    window->widget()->setEnabled(true);
    window->content().Resync();
  }
  AfterEvent();
  --eventDepth_;
  statusText_->setText(cancelled ? "Cancelled: the previous curves and values are kept."
                       : !runStatus_.isEmpty()
                           ? runStatus_
                           : QString("Done in %1 s").arg(app_.model().ElapsedTime, 0, 'f', 2));
  runStatus_.clear();
  if (firstLook_) {
    // The window's first curve is where the user starts: no work of the user's yet.
    firstLook_ = false;
    if (!cancelled) app_.MarkWorkSaved();
  }
  if (closeAfterRun_) close();
}

}  // namespace qalto
