#include "digital/surface_kinetics.h"

#include "common/checked_math.h"

namespace qalto {

namespace {

// The rows with the conductances left out are linear in the rates: their entries at a unit rate
// are the coefficients, exactly (products with 1 and 0 round nothing).
SpeciesMatrix RowsAt(const SurfaceRows& plan, const ChargeTransfer& transfer,
                     const ChargeRates& rates) {
  SpeciesMatrix rows{};
  WriteSurfaceRows(plan, transfer, rates, rows);
  return rows;
}

}  // namespace

SurfaceKinetics ReduceSurfaceKinetics(const SurfaceRows& plan, const ChargeTransfer& transfer,
                                      double currentScale) {
  SurfaceKinetics k;
  k.transfer = transfer;
  k.currentScale = currentScale;
  for (int r = 1; r <= transfer.count; ++r) {
    Div(1.0, transfer.reactions[r].nuO);
    Div(1.0, transfer.reactions[r].nuR);
  }
  const SpeciesMatrix constant = RowsAt(plan, transfer, ChargeRates{});
  SurfaceRows rateOnly = plan;
  rateOnly.g = SpeciesVector{};
  std::array<SpeciesMatrix, kMaxChargeReactions + 1> forward{}, backward{};
  for (int r = 1; r <= transfer.count; ++r) {
    ChargeRates unit;
    unit.forward[r] = 1.0;
    forward[r] = RowsAt(rateOnly, transfer, unit);
    unit = ChargeRates{};
    unit.backward[r] = 1.0;
    backward[r] = RowsAt(rateOnly, transfer, unit);
  }
  for (int row = 1; row <= plan.species; ++row) {
    for (int column = 1; column <= plan.species; ++column) {
      std::vector<SurfaceTerm> f, b;  // the entry's terms
      for (int r = 1; r <= transfer.count; ++r) {
        if (forward[r][row][column] != 0.0) f.push_back({row, column, r, forward[r][row][column]});
        if (backward[r][row][column] != 0.0) {
          b.push_back({row, column, r, backward[r][row][column]});
        }
      }
      k.forward.insert(k.forward.end(), f.begin(), f.end());
      k.backward.insert(k.backward.end(), b.begin(), b.end());
      const double c = constant[row][column];
      if (f.size() + b.size() == 1) {
        const SurfaceTerm& t = f.empty() ? b[0] : f[0];
        (f.empty() ? k.backwardCells : k.forwardCells)
            .push_back({row, column, t.reaction, c, t.coefficient});
      } else if (c != 0.0 || !f.empty() || !b.empty()) {
        k.cells.push_back({row, column, c});
        k.cellForward.insert(k.cellForward.end(), f.begin(), f.end());
        k.cellBackward.insert(k.cellBackward.end(), b.begin(), b.end());
      }
    }
  }
  return k;
}

void ClearSurfaceRows(SpeciesMatrix& surface) {
  surface = SpeciesMatrix{};
}

}  // namespace qalto
