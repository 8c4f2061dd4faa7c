// The solver's reports of a fit on threads: the runs of every thread are counted, not only those
// of the calling thread.

#include <gtest/gtest.h>

#include <string>

#include "fit/fit_test_fixture.h"

namespace qalto {
namespace {

// A charge transfer so fast (ks 1e20 cm/s) that the surface block is singular in double precision
// at every step: each run of the fit meets it, E0 is fitted. Returns the fit's message of it.
struct SingularFit : FitTest {
  void TestBody() override {}
  std::string Message(int threads) {
    DigitalCycle("0.1");
    Expr().ks(1).SetText("1e20");
    Measure();
    app.SetFitThreads(threads);
    Expr().Eze(1).SetText("0.12");
    Fit(31, "0", "0.2");
    platform.messages.clear();
    app.mnuAutoFit_Click();
    for (const std::string& message : platform.messages) {
      if (message.starts_with("Error: inverse matrix D=0")) return message;
    }
    return "";
  }
};

int RunsOf(const std::string& message) {
  const size_t of = message.find(" of ");
  return of == std::string::npos ? 0 : std::stoi(message.substr(of + 4));
}

TEST(ThreadedFit, CountsTheSolverReportsOfEveryThread) {
  const std::string serial = SingularFit().Message(1);
  const std::string threaded = SingularFit().Message(2);
  ASSERT_GT(RunsOf(serial), 3) << serial;
  // A task computed twice, or begun for a refused step, is a run of its own as well; but the
  // threads leave the fit's own models at the optimum, so that its last evaluation is not run
  // again: one run fewer when the threads did nothing twice.
  EXPECT_GE(RunsOf(threaded), RunsOf(serial) - 1) << threaded << "\n" << serial;
}

}  // namespace
}  // namespace qalto
