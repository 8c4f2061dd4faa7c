#pragma once
// The simulation driver: turns the parameter set of the model into one current-potential curve.
// It builds the potential axis, computes the faradaic current of every charge reaction (by the
// closed-form response functions or by the digital simulation), applies double-layer charging
// and uncompensated resistance, adds a linear baseline and noise, and stores the total current
// as a curve of the curve store.

#include <string>

#include "model/model.h"
#include "simulation/solver_message_tally.h"
#include "ui/platform.h"

namespace qalto {

// What a run reads from the forms, as the texts shown there at the moment it starts.
struct SimulationInputs {
  bool overlapChecked = false;  // display options "Overlap" box
  std::string pH;               // Chemicals "pH"
  std::string baselineStart;    // Instrument "I start (A)"
  std::string baselineEnd;      // Instrument "I end (A)"
  std::string expandingGrid;    // Instrument "Expanding grid"
  int refinement = 1;           // digital: 2 halves the first box, the expansion and the steps
  // Where the digital solver's reports are gathered across several runs (a fit), to be shown
  // by the caller; without one, each run shows its own tally when it ends.
  SolverMessageTally* solverMessages = nullptr;
};

// "Analytical simulation Error: <description>! Please try again by other initial values.", with
// "Digital" in place of "Analytical" when the model simulates digitally.
std::string SimulationErrorMessage(const Model& model, const std::string& description);

// On success CurrentY(i, CurrentCurve) holds the new curve for i = 1..NumberOfPoints and
// FirstPoint = 1, LastPoint = NumberOfPoints. A run-time error ends the run with the message
// SimulationErrorMessage; the curve store keeps what had been written before it. A technique the
// analytical simulation has no model for at the electrode is refused before the run, with
// MissingAnalyticalModel's message, and leaves the model as it was. Returns false after such an
// error or refusal, so that a fit running the simulation can end.
bool RunSimulation(Model& model, const SimulationInputs& inputs, Platform& platform);

}  // namespace qalto
