#pragma once
// The simulation driver: turns the parameter set of the model into one current-potential curve.
// It builds the potential axis, computes the faradaic current of every charge reaction (by the
// closed-form response functions or by the digital simulation), applies double-layer charging
// and uncompensated resistance, adds a linear baseline and noise, and stores the total current
// as a curve of the curve store.

#include <string>
#include <vector>

#include "common/failure.h"
#include "common/typed_number.h"
#include "model/model.h"
#include "simulation/failure_cause.h"
#include "simulation/solver_message_tally.h"

namespace qalto {

// What a run takes from the forms besides the model, read from their boxes when it starts.
struct SimulationInputs {
  bool overlapChecked = false;  // display options "Overlap" box
  TypedNumber pH;               // Chemicals "pH"
  TypedNumber baselineStart;    // Instrument "I start (A)", A
  TypedNumber baselineEnd;      // Instrument "I end (A)", A
  TypedNumber expandingGrid;    // Instrument "Expanding grid"
  int refinement = 1;           // digital: 2 halves the first box, the expansion and the steps
  // Where the digital solver's reports are gathered across several runs (a fit), for the
  // caller to take; without one, each run returns its own tally's messages when it ends.
  SolverMessageTally* solverMessages = nullptr;
};

// What a run leaves for the user, in the order it is shown: the messages of the solver's
// reports (when the run keeps its own tally), then the failure that ended it, if one did.
struct SimulationOutcome {
  std::vector<std::string> messages;
  Outcome failure;
  bool refused = false;  // the run was refused before it began: nothing has changed
  bool Done() const { return !failure; }
};

// On success CurrentY(i, CurrentCurve) holds the new curve for i = 1..NumberOfPoints and
// FirstPoint = 1, LastPoint = NumberOfPoints. A run-time error ends the run with the message
// SimulationErrorMessage; the curve store keeps what had been written before it. A technique the
// analytical simulation has no model for at the electrode is refused before the run, with
// MissingAnalyticalModel's message, and leaves the model as it was. Either is the outcome's
// failure, so that a fit running the simulation can end.
SimulationOutcome RunSimulation(Model& model, const SimulationInputs& inputs);

// Turns the sign of the last run's current and charge columns (points 1..NumberOfPoints), which
// the curves are prepared from: a run is stored in the sign convention in force, and a change of
// the convention turns it.
void TurnRunColumns(Model& model);

}  // namespace qalto
