#pragma once
// The quasi-reversible cyclic voltammogram of one charge reaction, solved as the convolution
// integral equation the analytical simulation uses (Butler-Volmer at every point): its forward
// and reverse peaks and Nicholson's kinetic parameter psi, for any rate constant between the
// reversible and the irreversible limits.

#include <optional>

#include "model/model.h"

namespace qalto {

struct QuasiReversiblePeaks {
  double psi = 0;                      // ks (DO/DR)^(alpha/2) / sqrt(pi DO f v)
  std::optional<double> forwardE;      // V
  std::optional<double> forwardI;      // A
  std::optional<double> forwardWidth;  // |Ep/2 - Ep|, V
  std::optional<double> reverseE;      // V
  std::optional<double> reverseI;      // A
};

// One cycle from StartPotential to EndPotential and back in steps of PotentialStep at ScanRate,
// the couple of charge reaction r alone with its bulk concentrations, at a planar, spherical,
// hemispherical or microdisc electrode (Radius); empty for other electrodes. A peak at the end
// of its half cycle is no peak and stays empty.
std::optional<QuasiReversiblePeaks> QuasiReversibleCycle(const Model& model, int r);

}  // namespace qalto
