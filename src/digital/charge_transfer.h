#pragma once
// Butler-Volmer kinetics of the charge reactions at the electrode:
//   nuO O + n e = nuR R, forward (reduction) factor kf = ks exp(-alpha theta / nuO),
//   backward (oxidation) factor kb = ks exp((1 - alpha) theta / nuR),
//   theta = n F/(RT) (E - E0) + protons x (pH - 7) x 2.3;
// or Marcus-Hush-Chidsey kinetics, kf = ks kred(theta) / ks, kb = kf e^theta (marcus_hush_rate.h).

#include <optional>

#include "digital/species_matrix.h"
#include "simulation/marcus_hush_rate.h"

namespace qalto {

inline constexpr int kMaxChargeReactions = 3;

struct ChargeReaction {
  int ox = 0;          // oxidized species, 0 = none
  int red = 0;         // reduced species, 0 = none
  double nuO = 1;      // stoichiometric coefficient of the oxidized species
  double nuR = 1;      // stoichiometric coefficient of the reduced species
  double n = 1;        // electrons
  double ks = 0;       // standard rate constant, cm/s
  double alpha = 0;    // transfer coefficient
  double E0 = 0;       // formal potential, V
  double protons = 0;  // protons (or hydroxide ions) taking part
  // Marcus-Hush-Chidsey kinetics in place of alpha (kb = kf e^theta); none: Butler-Volmer.
  std::optional<MarcusHushRate> marcusHush;
};

struct ChargeTransfer {
  int count = 0;                                                    // charge reactions 1..count
  std::array<ChargeReaction, kMaxChargeReactions + 1> reactions{};  // slot 0 unused
  double FOverRT = 0;                                               // 1/V
  double pHTerm = 0;                                                // (pH - 7) x 2.3
};

struct ChargeRates {
  std::array<double, kMaxChargeReactions + 1> forward{};   // kf,r, cm/s
  std::array<double, kMaxChargeReactions + 1> backward{};  // kb,r, cm/s
};

// x / nu for a stoichiometric coefficient nu, without the division when nu is 1 (most are): it
// lies on the path from the potential to the current of every step.
inline double PerCoefficient(double x, double nu) {
  return nu == 1.0 ? x : x / nu;
}

// The rate factors of every charge reaction at the potential E (V).
void ComputeChargeRates(const ChargeTransfer& transfer, double E, ChargeRates& rates);

// The rate factors of a reaction with Marcus-Hush kinetics at the potential E (V) and the
// derivatives of their logarithms by E (1/V).
struct MarcusHushRates {
  double forward = 0;        // kf, cm/s
  double backward = 0;       // kb, cm/s
  double forwardSlope = 0;   // d ln kf / dE
  double backwardSlope = 0;  // d ln kb / dE
};
MarcusHushRates MarcusHushAt(const ChargeReaction& q, const ChargeTransfer& transfer, double E);

// Net reduction rate kf C(O)/nuO - kb C(R)/nuR at the surface concentrations (M), M cm/s; a
// missing species counts as concentration 0.
double NetReductionRate(const ChargeReaction& reaction, double kf, double kb,
                        const SpeciesVector& surface);

}  // namespace qalto
