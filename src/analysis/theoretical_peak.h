#pragma once
// Theoretical Peak: the textbook closed-form values for the present technique, mechanism and
// electrode (the limiting current and half-wave potential of a wave, or the current, potential
// and half-width of a peak), for a reversible and for an irreversible electron transfer, so that
// a simulated or measured curve can be compared with theory; for sweeps also the quasi-reversible
// cycle with the model's own rate constant.

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "analysis/quasi_reversible_peak.h"
#include "model/model.h"

namespace qalto {

// The values of one printed line; a value the case does not give stays empty.
struct TheoreticalLine {
  std::optional<double> potential;  // peak or half-wave potential, V
  std::optional<double> current;    // peak or limiting current, A
  std::optional<double> width;      // Ep/2 - Ep, V
};

struct TheoreticalValues {
  bool peak = false;  // labelled as a peak ("Ep= ", "Ip= ") rather than a wave ("E1/2= ", "Id = ")
  TheoreticalLine reversible;
  TheoreticalLine irreversible;
  std::optional<QuasiReversiblePeaks> quasiReversible;  // sweeps of simple charge transfers
};

// The values for charge reaction r of the model (derived quantities up to date); typedRadius
// is the number typed in the Instrument window's radius box, cm.
TheoreticalValues TheoreticalPeakValues(const Model& model, int r, double typedRadius);

// The values of one charge reaction in the order they are reported.
struct ReactionTheory {
  TheoreticalValues values;
  std::optional<double> reversibleSeparation;  // |Epc-Epa| of a one-cycle sweep, V
  bool separationFailed = false;  // the separation is where failure stopped the computation
};

// Theoretical Peak for the model: the case it was computed for, every charge reaction's values
// and the notes on the approximations of the analytical model.
struct TheoreticalReport {
  int mechanism = 0;
  Technique technique = Technique::kNone;
  Electrode electrode = Electrode::kNone;
  std::vector<ReactionTheory> reactions;  // charge reactions 1..ChargeReactionCount
  std::vector<std::string> approximations;
  // A run-time error of the arithmetic that stopped the computation after the parts above; it is
  // raised again once they have been reported.
  std::exception_ptr failure;
};

TheoreticalReport TheoreticalPeak(const Model& model, double typedRadius);

}  // namespace qalto
