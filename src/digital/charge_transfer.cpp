#include "digital/charge_transfer.h"

#include "common/checked_math.h"

namespace qalto {

void ComputeChargeRates(const ChargeTransfer& transfer, double E, ChargeRates& rates) {
  for (int r = 1; r <= transfer.count; ++r) {
    const ChargeReaction& q = transfer.reactions[r];
    const double theta = q.n * transfer.FOverRT * (E - q.E0) + q.protons * transfer.pHTerm;
    // The coefficients are not zero: the run's preparation refuses them (surface_kinetics.h).
    rates.forward[r] = q.ks * Exp(-(q.alpha * theta / q.nuO));
    rates.backward[r] = q.ks * Exp((1.0 - q.alpha) * theta / q.nuR);
  }
}

double NetReductionRate(const ChargeReaction& reaction, double kf, double kb,
                        const SpeciesVector& surface) {
  const double oxidized = reaction.ox != 0 ? surface[reaction.ox] : 0.0;
  const double reduced = reaction.red != 0 ? surface[reaction.red] : 0.0;
  return Div(kf * oxidized, reaction.nuO) - Div(kb * reduced, reaction.nuR);
}

}  // namespace qalto
