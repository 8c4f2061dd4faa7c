#pragma once
// What an import brings in from a measurement file: the curves (one per cycle, segment or
// scan, in the order the file holds them) with the instrument settings the file states, so
// that a simulation or a fit can be set up like the experiment.

#include <optional>
#include <string>
#include <vector>

namespace qalto {

// The settings of the potential program as the file states them; empty where it does not.
struct InstrumentSettings {
  std::optional<double> scanRate;           // V/s
  std::optional<double> potentialStep;      // V
  std::optional<double> startPotential;     // V, as programmed
  std::vector<double> switchingPotentials;  // V, as programmed, in scan order
  std::optional<double> area;               // cm2
  std::optional<double> quietTime;          // s held at the start potential before the sweep
};

// One measured current-potential curve.
struct ImportedCurve {
  std::string source;             // the file it was read from
  std::string label;              // "cycle 2", "CURVE1", "Scan 1", ...; empty for a lone curve
  std::vector<double> potential;  // V
  std::vector<double> current;    // A, anodic positive (turned by the reader where the file
                                  // declares the other convention)
  std::vector<double> time;       // s, where the file has a time column; else empty
  InstrumentSettings settings;
  // An impedance spectrum instead: potential holds the frequencies (Hz), current Z' and
  // imaginary Z'' (ohm, negative for a capacitive cell); empty for a voltammogram.
  std::vector<double> imaginary;
};

// A whole file as read.
struct ImportedFile {
  std::string format;                 // the reader that understood it ("EC-Lab text", ...)
  std::string technique;              // as the file names it; empty when it does not
  std::vector<ImportedCurve> curves;  // at least one
  // The headings of the table the curves were read from (empty for a file without any, or
  // with curves in column pairs) and the two the curves were taken from.
  std::vector<std::string> columns;
  std::string potentialColumn, currentColumn;
  // Written by the program's own Export: its currents are in the store's sign convention, not
  // the instruments' anodic positive.
  bool ownExport = false;
};

}  // namespace qalto
