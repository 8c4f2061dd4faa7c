#pragma once
// Everything a digital simulation run computes once before its first point: the timing of the
// technique, the charging circuit, the grid, the coefficients of the implicit equations for
// every sub-step length, the charge-transfer constants, the plan of the surface rows and the
// work tables of the solvers.

#include <memory>
#include <vector>

#include "digital/block_system.h"
#include "digital/charge_transfer.h"
#include "digital/digital_grid.h"
#include "digital/digital_timing.h"
#include "digital/disc_system.h"
#include "digital/solve_second_order_step.h"
#include "digital/surface_kinetics.h"
#include "digital/surface_layer.h"
#include "digital/surface_rows.h"
#include "model/model.h"
#include "simulation/ac_program.h"

namespace qalto {

// The implicit equations of one sub-step length, with their elimination and the concentrations
// of the last step solved with them.
// A second-order backward difference over steps dt(n) and dt(n+1) = w dt(n),
//   (1 + 2w)/(1 + w) C(n+1) - (1 + w) C(n) + w^2/(1 + w) C(n-1) = dt(n+1) L C(n+1),
// is taken as a backward-Euler step of timeStep = dt(n+1) (1 + w)/(1 + 2w) from the start
// profile newer C(n) + older C(n-1).
struct StepLevel {
  double timeStep = 0;   // s
  double newer = 1;      // weight of the latest profile in the start profile
  double older = 0;      // weight of the profile before it
  bool inPlace = false;  // a backward-Euler step: it starts from the latest profile as it is
  BlockSystem system;
  BlockElimination elimination;
  SecondOrderStep secondOrderStep;
};

struct DigitalRun {
  Technique technique = Technique::kNone;
  int species = 0;  // S
  int points = 0;   // NumberOfPoints
  int sweepPoints = 0;
  int totalColumn = 0;     // TotalCurrentColumn
  double pulseHeight = 0;  // PulsePotential, V
  int refinement = 1;      // 2: the first box and every sub-step halved
  double resistance = 0;   // uncompensated resistance, ohm
  // The charging circuit: Cd(E) = capacitance + capacitanceSlope E + capacitanceCurvature E^2
  // (F), the sweep's |v| (V/s) and Ru / tc (ohm/s, tc its time constant's time).
  double capacitance = 0;
  double capacitanceSlope = 0;
  double capacitanceCurvature = 0;
  double absScanRate = 0;
  double ruOverCharging = 0;
  double currentScale = 0;  // F/1000 x area: A per (M cm/s)
  DigitalTiming timing;
  DigitalGrid grid;
  ChargeTransfer transfer;
  SurfaceRows surfaceRows;
  SurfaceKinetics kinetics;  // the rows and currents reduced to what the potential changes
  // Adsorbed species: the layer's surface is solved by Newton's method in place of the rows.
  SurfaceLayer layer;
  SpeciesVector conductance{};   // surface conductance of each dissolved species, cm/s
  SpeciesVector layerSurface{};  // the surface concentrations of the latest step: Newton's start
  bool secondOrder = false;
  SpeciesVector bulk{};                 // initial concentrations, M
  std::vector<double> potential;        // E(0..points), V
  std::vector<ChargeRates> pointRates;  // the charge transfers' rate factors at E(i)
  int firstStepPoints = 0;  // potential steps: the points of the first step; 0 for the others
  // The potential program: the potential at the start of each point's interval (V, just after a
  // jump there), the place of each point after the latest jump (1: the first; 0 before any) and
  // the sampling interval (s); empty and 0 for the other techniques.
  std::vector<double> begin;
  std::vector<int> sinceJump;
  double sampleInterval = 0;
  // AC voltammetry: potential(i) is the sweep's, the sine of `ac` is added at every sub-step and
  // the charging current follows the whole program's dE/dt.
  bool sine = false;
  AcProgram ac;
  std::vector<std::unique_ptr<StepLevel>> levels;  // one per distinct sub-step length (or more)
  int latest = 0;                                  // level holding the latest concentrations
  // The latest level's start is its own profile as it is swept (StartStep sets nothing more).
  bool latestStartSet = false;
  bool keepsOlder = false;                      // some level needs the profile before
  std::array<SpeciesVector, kGridSlots> older;  // the profile before the latest, M
  std::unique_ptr<DiscRun> disc;  // at a disc electrode: its own grid and equations, else null
};

// Validates the model's indexes and counts (raising "Subscript out of range" for species or
// reactions outside the tables) and fills the run, reusing the levels it already has; beta is the
// grid expansion factor, refinement 1 for a normal run or 2 for one on a grid and time steps twice
// as fine.
void PrepareDigitalRun(const Model& model, double beta, double pH, int refinement, DigitalRun& run);

// Sets every box (and the surface) back to the bulk concentrations.
void ResetProfile(DigitalRun& run);

// The concentrations of the latest step: C(s, j), j = 0 (surface)..N+1 (bulk), M.
inline const std::array<SpeciesVector, kGridSlots>& LatestProfile(const DigitalRun& run) {
  return run.levels[static_cast<size_t>(run.latest)]->system.current;
}

// Makes the latest concentrations the starting point of a step of the given level.
void StartStepAnew(DigitalRun& run, int level);
inline void StartStep(DigitalRun& run, int level) {
  if (level != run.latest || !run.latestStartSet) StartStepAnew(run, level);
}

}  // namespace qalto
