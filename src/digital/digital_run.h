#pragma once
// Everything a digital simulation run computes once before its first point: the timing of the
// technique, the charging circuit, the grid, the coefficients of the implicit equations, the
// charge-transfer constants, the plan of the surface rows and the work tables of the solvers.

#include <vector>

#include "app/model.h"
#include "digital/block_system.h"
#include "digital/charge_transfer.h"
#include "digital/digital_grid.h"
#include "digital/digital_timing.h"
#include "digital/solve_second_order_step.h"
#include "digital/surface_rows.h"

namespace qalto {

struct DigitalRun {
  int technique = 0;
  int species = 0;  // S
  int points = 0;   // NumberOfPoints
  int sweepPoints = 0;
  int totalColumn = 0;      // TotalCurrentColumn
  double pulseHeight = 0;   // PulsePotential, V
  double resistance = 0;    // uncompensated resistance, ohm
  double Q1 = 0;            // charging current of the sweep, A
  double Q2 = 0;            // RC / tc of the charging circuit
  double Q3 = 0;            // Q2 + 1
  double currentScale = 0;  // K = F/1000 x area / G: A per (M cm/s)
  DigitalTiming timing;
  DigitalGrid grid;
  ChargeTransfer transfer;
  SurfaceRows surfaceRows;
  bool secondOrder = false;
  SpeciesVector bulk{};           // initial concentrations, M
  std::vector<double> potential;  // E(0..points), V
  BlockSystem system;
  BlockElimination elimination;
  SecondOrderStep secondOrderStep;
};

// Validates the model's indexes and counts (raising "Subscript out of range" for species or
// reactions outside the tables) and fills the run; beta is the grid expansion factor.
void PrepareDigitalRun(const Model& model, double beta, double pH, DigitalRun& run);

// Sets every box (and the surface) back to the bulk concentrations.
void ResetProfile(DigitalRun& run);

}  // namespace qalto
