#pragma once
// Marcus-Hush-Chidsey kinetics of a charge transfer: the rate of reduction is the integral over
// the electrode's electronic states (energy x in units of RT/F from the Fermi level) of the
// occupied states 1/(1 + e^x) times the Gaussian of Marcus' activation,
//   I(L, eta) = integral exp(-(x - L - eta)^2 / (4 L)) / (1 + e^x) dx,
// with L the reorganisation energy and eta = nF(E - E0)/RT, both in units of RT/F. Normalised
// at eta = 0, so that ks keeps its meaning: kred = ks I(L, eta) / I(L, 0), kox = kred e^eta.
// For L >> |eta| it tends to Butler-Volmer with alpha = 1/2, kred = ks e^(-eta/2 - eta^2/(4L)).

#include <array>
#include <vector>

#include "model/model.h"

namespace qalto {

// A logarithm and its derivative by eta.
struct MarcusHushLog {
  double value = 0;
  double slope = 0;
};

// ln I(L, eta) and d ln I / d eta, to 1e-9, for L > 0 (RT/F units) and any finite eta.
MarcusHushLog LogMarcusHushIntegral(double L, double eta);

// The same for one L, with what does not depend on eta computed once: Gauss-Legendre panels
// over the states on either side of the Fermi level.
class FermiGaussian {
 public:
  FermiGaussian() = default;
  explicit FermiGaussian(double L);
  MarcusHushLog LogIntegral(double eta) const;

 private:
  static constexpr int kPoints = 96;
  // ln J(m) and J'(m) / J(m), J(m) = integral over y > 0 of exp(-(y - m)^2 / (4L)) / (1 + e^-y).
  MarcusHushLog LogJ(double m) const;
  MarcusHushLog SteepLogJ(double m) const;

  double L_ = 0;
  std::array<double, kPoints> fixed_{};  // each point's weight / (1 + e^y) x exp(-y^2 / (4L))
};

// The rate of reduction over ks for one reorganisation energy, interpolated between nodes of the
// integral computed once each, on first use (cubic Hermite in value and slope, 5e-7 at most).
// A run holds its own: the nodes are filled in as the run reaches them, not shared across threads.
class MarcusHushRate {
 public:
  MarcusHushRate() = default;
  explicit MarcusHushRate(double L);
  // ln(kred / ks) at eta = nF(E - E0)/RT and its derivative by eta; ln(kox / ks) is the value
  // plus eta, its derivative the slope plus 1.
  MarcusHushLog Reduction(double eta) const;
  double LogReduction(double eta) const { return Reduction(eta).value; }
  double Reorganisation() const { return L_; }
  double NodeSpacing() const { return step_; }

 private:
  MarcusHushLog Node(long k) const;

  double L_ = 0;
  FermiGaussian quadrature_;
  double atZero_ = 0;  // ln I(L, 0)
  double step_ = 1;    // node spacing in eta
  long reach_ = 0;     // nodes beyond |k| = reach_ are not kept: the integral itself there
  mutable std::vector<MarcusHushLog> nodes_;  // nodes first_.. in order, value NaN: not yet
  mutable long first_ = 0;
};

// The reorganisation energy of charge reaction r in units of RT/F; 0 for Butler-Volmer. Raises
// "Invalid procedure call or argument: λ (eV) of reaction r is ..., beyond 0.1 to 50 eV" outside
// that range.
double MarcusHushReorganisation(const Model& model, int r);

// Whether any charge reaction of the model has Marcus-Hush kinetics.
bool HasMarcusHush(const Model& model);

}  // namespace qalto
