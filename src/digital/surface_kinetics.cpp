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
      bool used = constant[row][column] != 0.0;
      for (int r = 1; r <= transfer.count; ++r) {
        const double f = forward[r][row][column], b = backward[r][row][column];
        if (f != 0.0) k.forward.push_back({row, column, r, f});
        if (b != 0.0) k.backward.push_back({row, column, r, b});
        used = used || f != 0.0 || b != 0.0;
      }
      if (used) k.cells.push_back({row, column, constant[row][column]});
    }
  }
  return k;
}

void ClearSurfaceRows(SpeciesMatrix& surface) {
  surface = SpeciesMatrix{};
}

}  // namespace qalto
