#pragma once
// Theoretical Peak: the textbook closed-form values for the present technique, mechanism and
// electrode (the limiting current and half-wave potential of a wave, or the current, potential
// and half-width of a peak), for a reversible and for an irreversible electron transfer, so that
// a simulated or measured curve can be compared with theory; for sweeps also the quasi-reversible
// cycle with the model's own rate constant.

#include <optional>

#include "analysis/quasi_reversible_peak.h"
#include "app/result_window.h"
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

// Prints the heading and, for every charge reaction, the reversible, quasi-reversible and
// irreversible lines.
void TheoreticalPeak(const Model& model, double typedRadius, ResultWindow& result);

}  // namespace qalto
