#pragma once
// Marcus-Hush-Chidsey kinetics of a charge transfer: the rate of reduction is the integral over
// the electrode's electronic states (energy x in units of RT/F from the Fermi level) of the
// occupied states 1/(1 + e^x) times the Gaussian of Marcus' activation,
//   I(L, eta) = integral exp(-(x - L - eta)^2 / (4 L)) / (1 + e^x) dx,
// with L the reorganisation energy and eta = nF(E - E0)/RT, both in units of RT/F. Normalised
// at eta = 0, so that ks keeps its meaning: kred = ks I(L, eta) / I(L, 0), kox = kred e^eta.
// For L >> |eta| it tends to Butler-Volmer with alpha = 1/2, kred = ks e^(-eta/2 - eta^2/(4L)).

#include "model/model.h"

namespace qalto {

// ln I(L, eta), accurate to 1e-9 relative in I, for L > 0 (RT/F units) and any finite eta.
double LogMarcusHushIntegral(double L, double eta);

// The rate of reduction over ks, for one reorganisation energy: I(L, 0) is computed once.
class MarcusHushRate {
 public:
  MarcusHushRate() = default;
  explicit MarcusHushRate(double L);
  // ln(kred / ks) at eta = nF(E - E0)/RT; ln(kox / ks) is this plus eta.
  double LogReduction(double eta) const { return LogMarcusHushIntegral(L_, eta) - atZero_; }
  double Reorganisation() const { return L_; }

 private:
  double L_ = 0;
  double atZero_ = 0;
};

// The reorganisation energy of charge reaction r in units of RT/F; 0 for Butler-Volmer. Raises
// "Invalid procedure call or argument: λ (eV) of reaction r is ..., beyond 0.1 to 50 eV" outside
// that range.
double MarcusHushReorganisation(const Model& model, int r);

// Whether any charge reaction of the model has Marcus-Hush kinetics.
bool HasMarcusHush(const Model& model);

}  // namespace qalto
