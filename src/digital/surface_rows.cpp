#include "digital/surface_rows.h"

namespace qalto {

namespace {

// Oxidized or reduced species of reaction r; reactions 0 and beyond the count have none.
int Ox(const ChargeTransfer& t, int r) {
  return r >= 1 && r <= t.count ? t.reactions[r].ox : 0;
}
int Red(const ChargeTransfer& t, int r) {
  return r >= 1 && r <= t.count ? t.reactions[r].red : 0;
}

// The row of O is written unless O is already taken by a neighbouring reaction, typically as
// the reduced species of the previous step of a chain of electron transfers.
bool WritesOxidizedRow(const ChargeTransfer& t, int r) {
  const int O = Ox(t, r);
  const int R = Red(t, r);
  const bool sameReducedAsBefore = R == Red(t, r - 1);
  return (O != Ox(t, r + 1) || Ox(t, r + 1) == 0 || sameReducedAsBefore) &&
         (O != Red(t, r - 1) || O == 0 || O == Ox(t, r - 1) || sameReducedAsBefore) &&
         (O != Ox(t, r - 1) || O == 0 || sameReducedAsBefore);
}

bool IsChain(const ChargeTransfer& t) {
  return t.count == 3 && Ox(t, 1) == 1 && Red(t, 1) == 2 && Ox(t, 2) == 2 && Red(t, 2) == 3 &&
         Ox(t, 3) == 3 && Red(t, 3) == 4;
}

double Ratio(const ChargeReaction& q) {
  return q.nuO / q.nuR;
}

// Row of a species that no reaction's kinetics wrote: its diffusion flux from the surface
// equals its net production by all charge reactions, so what is reduced appears as the reduced
// species; a species in no reaction gets a zero-flux row (g on the diagonal).
void WriteBalanceRow(int s, const SurfaceRows& plan, const ChargeTransfer& t,
                     const ChargeRates& rates, SpeciesMatrix& S) {
  S[s][s] += plan.g[s];
  for (int r = 1; r <= t.count; ++r) {
    const ChargeReaction& q = t.reactions[r];
    const double produced = (s == q.red ? q.nuR : 0.0) - (s == q.ox ? q.nuO : 0.0);
    if (produced == 0.0) continue;
    if (q.ox != 0) S[s][q.ox] -= produced * rates.forward[r] / q.nuO;
    if (q.red != 0) S[s][q.red] += produced * rates.backward[r] / q.nuR;
  }
}

}  // namespace

SurfaceRows PlanSurfaceRows(const ChargeTransfer& transfer, int species, const SpeciesVector& g) {
  SurfaceRows plan;
  plan.species = species;
  plan.g = g;
  plan.chain = IsChain(transfer);
  if (plan.chain) {
    plan.written[1] = plan.written[2] = plan.written[4] = true;
    return plan;
  }
  for (int r = 1; r <= transfer.count; ++r) {
    plan.oxidizedRow[r] = WritesOxidizedRow(transfer, r);
    const int row = plan.oxidizedRow[r] ? Ox(transfer, r) : Red(transfer, r);
    if (row != 0) plan.written[row] = true;
  }
  return plan;
}

void WriteSurfaceSource(const SurfaceRows& plan, const ChargeTransfer& transfer,
                        SpeciesMatrix& source) {
  source = SpeciesMatrix{};
  const auto& g = plan.g;
  for (int s = 1; s <= plan.species; ++s)
    source[s][s] = g[s];
  if (plan.chain) {
    source[2][2] = g[2] * Ratio(transfer.reactions[1]);
    source[4][4] = g[4] * Ratio(transfer.reactions[3]);
    return;
  }
  for (int r = 1; r <= transfer.count; ++r) {
    const ChargeReaction& q = transfer.reactions[r];
    if (plan.oxidizedRow[r]) {
      if (q.ox != 0) source[q.ox][q.ox] = g[q.ox];
    } else if (q.red != 0) {
      source[q.red][q.red] = g[q.red] * Ratio(q);
    }
  }
}

void WriteSurfaceRows(const SurfaceRows& plan, const ChargeTransfer& transfer,
                      const ChargeRates& rates, SpeciesMatrix& S) {
  const int species = plan.species;
  for (int r = 1; r <= species; ++r) {
    for (int k = 1; k <= species; ++k)
      S[r][k] = 0.0;
  }
  const auto& g = plan.g;
  const auto& kf = rates.forward;
  const auto& kb = rates.backward;
  if (plan.chain) {
    const auto& q = transfer.reactions;
    S[1][1] = g[1] + kf[1];
    S[1][2] = -kb[1] * Ratio(q[1]);
    S[2][1] = -kf[1];
    S[2][2] = (g[2] + kb[1]) * Ratio(q[1]) + kf[2];
    S[2][3] = -kb[2] * Ratio(q[2]);
    S[4][3] = -kf[3];
    S[4][4] = (g[4] + kb[3]) * Ratio(q[3]);
  } else {
    for (int r = 1; r <= transfer.count; ++r) {
      const ChargeReaction& q = transfer.reactions[r];
      const int O = q.ox;
      const int R = q.red;
      if (plan.oxidizedRow[r]) {
        if (O == 0) continue;
        S[O][O] = g[O] + kf[r];
        if (R != 0) S[O][R] = -kb[r] * Ratio(q);
      } else {
        if (R == 0) continue;
        if (O != 0) S[R][O] = -kf[r];
        S[R][R] = (g[R] + kb[r]) * Ratio(q);
      }
    }
  }
  for (int s = 1; s <= species; ++s) {
    if (!plan.written[s]) WriteBalanceRow(s, plan, transfer, rates, S);
  }
}

}  // namespace qalto
