#include "digital/charge_transfer.h"

#include "common/checked_math.h"

namespace qalto {

void ComputeChargeRates(const ChargeTransfer& transfer, double E, ChargeRates& rates) {
  for (int r = 1; r <= transfer.count; ++r) {
    const ChargeReaction& q = transfer.reactions[r];
    const double theta = q.n * transfer.FOverRT * (E - q.E0) + q.protons * transfer.pHTerm;
    if (q.marcusHush) {
      const MarcusHushRates k = MarcusHushAt(q, transfer, E);
      rates.forward[r] = k.forward;
      rates.backward[r] = k.backward;
      continue;
    }
    // The coefficients are not zero: the run's preparation refuses them (surface_kinetics.h).
    rates.forward[r] = q.ks * Exp(-PerCoefficient(q.alpha * theta, q.nuO));
    rates.backward[r] = q.ks * Exp(PerCoefficient((1.0 - q.alpha) * theta, q.nuR));
  }
}

MarcusHushRates MarcusHushAt(const ChargeReaction& q, const ChargeTransfer& transfer, double E) {
  const double nf = q.n * transfer.FOverRT;
  const double theta = nf * (E - q.E0) + q.protons * transfer.pHTerm;
  const MarcusHushLog k = q.marcusHush->Reduction(theta);
  return {q.ks * Exp(k.value), q.ks * Exp(k.value + theta), nf * k.slope, nf * (k.slope + 1.0)};
}

double NetReductionRate(const ChargeReaction& reaction, double kf, double kb,
                        const SpeciesVector& surface) {
  const double oxidized = reaction.ox != 0 ? surface[reaction.ox] : 0.0;
  const double reduced = reaction.red != 0 ? surface[reaction.red] : 0.0;
  return Div(kf * oxidized, reaction.nuO) - Div(kb * reduced, reaction.nuR);
}

}  // namespace qalto
