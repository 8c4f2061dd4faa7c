#pragma once
// Cottrell and Anson analysis of the first potential step of a chronoamperogram. Cottrell: the
// current against t^-1/2 is the line i = nFAC sqrt(D/pi) t^-1/2 + i0 (i0 the steady state of a
// small electrode); Anson: the charge against t^1/2 is Q = 2nFAC sqrt(D/pi) t^1/2 + Qdl + nFAG,
// G the surface excess of reactant adsorbed before the step. Each line is fitted by least
// squares, and D (or n²A²C²D when n, A or C is unknown) follows from its slope.

#include <optional>
#include <vector>

namespace qalto {

struct StepLineFit {
  double slope = 0;      // A s^1/2 (Cottrell) or C s^-1/2 (Anson)
  double intercept = 0;  // A or C
  int points = 0;
  // n²A²C²D from the slope, mol² cm^-2 s^-1 (C in mol/cm³): pi slope² / F², over 4 for Anson.
  double squareProduct = 0;
  std::optional<double>
      diffusion;  // cm²/s, with the n, A and C given; none when their product is 0
};

// The line through (t^-1/2, i) of the points with time t > 0; nFAC in A s / cm (C in mol/cm³).
// Raises "Invalid procedure call or argument" with fewer than 2 points or a single time.
StepLineFit CottrellFit(const std::vector<double>& time, const std::vector<double>& current,
                        double nFAC);

// The line through (t^1/2, Q).
StepLineFit AnsonFit(const std::vector<double>& time, const std::vector<double>& charge,
                     double nFAC);

}  // namespace qalto
