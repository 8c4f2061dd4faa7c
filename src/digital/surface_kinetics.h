#pragma once
// What one sub-step needs of the charge transfers, reduced once per run: the rate factors at a
// potential, the entries of the surface rows that depend on them (each an affine function of the
// rates, read off the rows' definition in surface_rows.h) and the reactions' currents at the
// surface concentrations. The step then writes a handful of numbers instead of rebuilding the
// rows.

#include <vector>

#include "common/checked_math.h"

#include "digital/charge_transfer.h"
#include "digital/surface_rows.h"

namespace qalto {

// An entry of the surface rows that is not always zero, and its value without the rates.
struct SurfaceCell {
  int row = 0;
  int column = 0;
  double constant = 0;  // cm/s
};

// The share of one rate (kf or kb of a reaction) in an entry.
struct SurfaceTerm {
  int row = 0;
  int column = 0;
  int reaction = 0;
  double coefficient = 0;
};

// An entry with a single rate term: constant + coefficient x the rate.
struct SurfaceRateCell {
  int row = 0;
  int column = 0;
  int reaction = 0;
  double constant = 0;  // cm/s
  double coefficient = 0;
};

struct SurfaceKinetics {
  ChargeTransfer transfer;
  std::vector<SurfaceTerm> forward;   // every term of the reduction rates kf
  std::vector<SurfaceTerm> backward;  // every term of the oxidation rates kb
  // The entries as a step writes them: those of a single term in one go (most are), the others
  // as their constant and then their terms.
  std::vector<SurfaceRateCell> forwardCells, backwardCells;
  std::vector<SurfaceCell> cells;
  std::vector<SurfaceTerm> cellForward, cellBackward;
  double currentScale = 0;  // A per (M cm/s)
};

// Reads the rows off the plan; raises "Division by zero" for a zero stoichiometric coefficient.
SurfaceKinetics ReduceSurfaceKinetics(const SurfaceRows& plan, const ChargeTransfer& transfer,
                                      double currentScale);

// The surface rows at the given rates: writes the cells, constant + sum of coefficient x rate;
// every other entry of the S x S block must already be zero (ClearSurfaceRows once).
// (Inline, as SurfaceCurrents: every step of a run calls both.)
inline void WriteSurfaceEntries(const SurfaceKinetics& kinetics, const ChargeRates& rates,
                                SpeciesMatrix& surface) {
  for (const SurfaceRateCell& c : kinetics.forwardCells)
    surface[c.row][c.column] = c.constant + c.coefficient * rates.forward[c.reaction];
  for (const SurfaceRateCell& c : kinetics.backwardCells)
    surface[c.row][c.column] = c.constant + c.coefficient * rates.backward[c.reaction];
  for (const SurfaceCell& c : kinetics.cells)
    surface[c.row][c.column] = c.constant;
  for (const SurfaceTerm& t : kinetics.cellForward)
    surface[t.row][t.column] += t.coefficient * rates.forward[t.reaction];
  for (const SurfaceTerm& t : kinetics.cellBackward)
    surface[t.row][t.column] += t.coefficient * rates.backward[t.reaction];
}

void ClearSurfaceRows(SpeciesMatrix& surface);

// The current of each charge reaction (A, slots 1..count) at the surface concentrations (M).
inline void SurfaceCurrents(const SurfaceKinetics& kinetics, const ChargeRates& rates,
                            const SpeciesVector& surface,
                            std::array<double, kMaxChargeReactions + 1>& out) {
  for (int r = 1; r <= kinetics.transfer.count; ++r) {
    const ChargeReaction& q = kinetics.transfer.reactions[r];
    const double oxidized = q.ox != 0 ? surface[q.ox] : 0.0;
    const double reduced = q.red != 0 ? surface[q.red] : 0.0;
    out[r] = kinetics.currentScale * q.n *
             Checked(PerCoefficient(rates.forward[r] * oxidized, q.nuO) -
                     PerCoefficient(rates.backward[r] * reduced, q.nuR));
  }
}

}  // namespace qalto
