#pragma once
// The implicit steps of a run at a disc electrode on the oblate spheroidal grid of disc_grid.h.
// All species of the K sectors of one box form one unknown vector u_j (K x S values); box j is
// coupled to boxes j-1 and j+1 along xi, so a step is a block-tridiagonal system in j,
//   -diag(in_j) u_(j-1) + B_j u_j - diag(out_j) u_(j+1) = start_j,
// with diffusion along eta and the homogeneous reactions inside B_j. It is eliminated from the
// bulk toward the disc once per step length, u_j = W_j (in_j u_(j-1)) + f_j; each step then
// solves the disc's own rows (the kinetics of every sector) with box 1 and substitutes outward.

#include <vector>

#include "digital/charge_transfer.h"
#include "digital/dense_lu.h"
#include "digital/disc_grid.h"
#include "digital/show_message.h"
#include "digital/surface_rows.h"

namespace qalto {

struct DiscLevel {
  double timeStep = 0;  // s, of the backward-Euler form of the step (digital_run.h)
  double newer = 1;
  double older = 0;
  bool ready = false;            // the elimination below belongs to this run
  std::vector<double> inverse;   // W_j, j = 1..N, row-major (K S)^2 each
  std::vector<double> inward;    // in_j per unknown, j = 1..N
  std::vector<double> outward;   // out_j per unknown, j = 1..N
  std::vector<double> coupling;  // the disc rows' source times W_1 diag(in_1), (K S)^2
};

// First-order reaction X = Y with its rate constants (1/s); species 0 means none.
struct DiscReaction {
  int X = 0;
  int Y = 0;
  double forward = 0;
  double backward = 0;
};

struct DiscRun {
  DiscGrid grid;
  int species = 0;  // S
  int size = 0;     // K S unknowns per box
  int block = 0;    // unknowns per diagonal block: K when no reaction couples the species, else K S
  std::vector<double> diffusion;        // D of each species, 1..S, cm2/s
  std::vector<DiscReaction> reactions;  // the first-order reactions
  std::vector<SurfaceRows> sectorRows;  // the surface rows of each sector, 1..K
  std::vector<SpeciesMatrix> sources;   // their right-hand sides, 1..K
  std::vector<DiscLevel> levels;        // one per sub-step length of the timing
  std::vector<double> latest;           // u_j, j = 0 (the disc)..N+1 (the bulk)
  std::vector<double> older;            // the profile before the latest
  std::vector<double> start;            // right-hand side of the step
  std::vector<double> offset;           // f_j
  std::vector<double> work;             // the disc rows being solved
  DenseLu factors;
  bool keepsOlder = false;
  int level = 0;  // level of the latest step
};

// Sets up the run: one level per step length with its growth (as DigitalTiming gives them),
// bulk the initial concentrations (1..S), diffusion the coefficient of each species (1..S).
void PrepareDiscRun(const DiscGrid& grid, const std::vector<double>& diffusion,
                    const std::vector<DiscReaction>& reactions, const ChargeTransfer& transfer,
                    const std::vector<double>& stepLengths, const std::vector<double>& growth,
                    const SpeciesVector& bulk, DiscRun& run);

// Every box back at the bulk concentrations.
void ResetDiscProfile(DiscRun& run, const SpeciesVector& bulk);

// Makes the latest concentrations the starting point of a step of the given level.
void StartDiscStep(DiscRun& run, int level);

// Solves the step started last with the rate factors of the charge reactions; may be called
// again for the same step at another potential. The first step of a level eliminates its
// equations; a singular block shows "Error: inverse matrix D=0" and the run goes on, as on the
// planar grid.
void SolveDiscStep(DiscRun& run, const ChargeTransfer& transfer, const ChargeRates& rates,
                   const ShowMessage& showMessage);

// The disc's mean net reduction rate of reaction r over its area (M cm/s), and the mean
// surface concentration of species s (M), after the latest step.
double DiscReductionRate(const DiscRun& run, const ChargeTransfer& transfer,
                         const ChargeRates& rates, int r);
double DiscSurfaceConcentration(const DiscRun& run, int s);

}  // namespace qalto
