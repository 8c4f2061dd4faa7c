#pragma once
// How far a long computation has come, and a way to stop it. The simulation polls once per
// point and the fit once per iteration; a window that runs them in the background installs a
// monitor on the computing thread to show the progress and to ask for a stop. Without a monitor
// a poll is one pointer test, so scripts run exactly as before.

#include <atomic>
#include <functional>

namespace qalto {

struct RunProgress {
  int pointsDone = 0;       // points of the curve being simulated
  int pointsTotal = 0;      // points of that curve
  int iteration = 0;        // fit iterations completed, 0 outside a fit
  double sumOfSquares = 0;  // least square of the last fit iteration, A²
};

// Thrown out of a computation whose monitor was asked to stop. It is no run-time error: the
// command that started the run catches it and puts the state back as it was before the run.
struct RunCancelled {};

class RunMonitor {
 public:
  // Set from any thread; the computation stops at its next poll.
  std::atomic<bool> cancelRequested{false};
  // Called on the computing thread at every poll, with the progress so far; a threaded fit
  // calls it from its derivative threads too, side by side.
  std::function<void(const RunProgress&)> report;

  // What a computation hands to the threads it starts: the monitor of its own thread (none
  // without one) and the progress so far, so that they poll the same Cancel and carry the
  // progress on.
  struct Handoff {
    RunMonitor* monitor = nullptr;
    RunProgress progress;
  };
  // The hand-off of the calling thread.
  static Handoff OfThisThread();

  // Installs the monitor on the calling thread for the lifetime of the scope.
  class Scope {
   public:
    explicit Scope(RunMonitor& monitor);
    // On a thread a computation started: its monitor, if any, with its progress.
    explicit Scope(const Handoff& handoff);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    RunMonitor* previous_;
    RunProgress previousProgress_;
  };
};

// One simulated point done out of total; throws RunCancelled when a stop was asked for.
void PollPoint(int done, int total);
// One fit iteration done, with its least square; throws RunCancelled when a stop was asked for.
void PollIteration(int iteration, double sumOfSquares);

}  // namespace qalto
