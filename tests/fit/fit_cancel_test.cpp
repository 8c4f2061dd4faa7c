// Cancel of a fit whose derivative columns are computed on threads: every thread polls the
// fit's monitor, so the fit stops within one simulated point of each thread, and the progress
// they report carries the fit's iteration on. (bench/fit_cancel_bench.cpp times the stop.)

#include <gtest/gtest.h>

#include <atomic>

#include "common/run_monitor.h"
#include "fit/fit_test_fixture.h"

namespace qalto {
namespace {

// E0, ks and alpha of Fe3+ + e = Fe2+ fitted on two threads from values away from the truth, to a
// digital cycle from 0.4 V to -0.2 V and back in 2 mV steps: the digital simulation polls at
// every point.
TEST_F(FitTest, CancelStopsTheDerivativeThreadsAtTheirNextPoint) {
  DigitalCycle("0.1");
  Measure();
  Expr().ks(1).SetText("0.05");
  Expr().Eze(1).SetText("0.05");
  Expr().alph(1).SetText("0.4");
  Fit(11, "1e-4", "100");
  Fit(21, "0.1", "0.9");
  Fit(31, "-0.2", "0.2");
  app.SetFitThreads(2);
  RunMonitor monitor;
  std::atomic<int> reports{0};
  std::atomic<int> reportsAfterCancel{0};
  monitor.report = [&](const RunProgress& progress) {
    if (monitor.cancelRequested) ++reportsAfterCancel;
    // The second iteration, on whichever thread is free (on a loaded machine the calling
    // thread may compute every side itself; FitThreads' own tests stop a started thread).
    if (progress.iteration >= 1 && ++reports == 50) monitor.cancelRequested = true;
  };
  RunMonitor::Scope scope(monitor);
  EXPECT_THROW(app.mnuAutoFit_Click(), RunCancelled);
  // Only a thread that was inside its report when Cancel came reports once more.
  EXPECT_LE(reportsAfterCancel.load(), 1);
}

}  // namespace
}  // namespace qalto
