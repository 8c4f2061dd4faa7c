#pragma once
// The curves of the session: the potential axis, the current of every curve slot and, for the
// last simulation, the current of every reaction and the surface concentration of every
// species. The tables keep their index ranges (points 0..kMaxPoints) but store only the points
// and curves written, so that the store, and every copy of it, is the size of what it holds.

#include "common/growing_table.h"
#include "common/table.h"
#include "model/model_limits.h"

namespace qalto {

struct CurveStore {
  GrowingTable1<double> PotentialX{kMaxPoints + 1};  // V; point 0 holds one step before the start
  GrowingTable2<double> CurrentY{kMaxPoints + 1, kMaxCurves + 1};
  GrowingTable2<double> ReactionCurrents{kMaxPoints + 1, 11};
  GrowingTable2<double> SurfaceConcentrations{kMaxPoints + 1, 10};  // M
  // Charge passed from the start of the last run to each of its points, C, in the current's sign
  // (without noise and baseline): the Option form's "charge Q".
  GrowingTable1<double> PassedCharge{kMaxPoints + 1};
  // Time of each point of the last potential program, s: its curves drawn against time.
  GrowingTable1<double> PointTimes{kMaxPoints + 1};
  int NumberOfPoints = 0;
  // AC voltammetry: at each point of the last run the DC component (column 0, A, signed) and the
  // envelopes of harmonics 1..8 (A); the one-sided power spectrum of its current, each row a
  // frequency (Hz, column 1) and the squared amplitude of the sine there (A^2, column 2).
  GrowingTable2<double> AcHarmonics{kMaxPoints + 1, kAcHarmonics + 1};
  GrowingTable2<double> AcSpectrum{kMaxPoints + 1, 3};
  int AcSpectrumPoints = 0;
  // Measured AC voltammograms (model/measured_ac.h): the sampling interval of the raw current
  // each slot holds (s; 0: none), 1 where that current is kept aside in MeasuredAcCurrent while
  // the slot shows one of its harmonics, and the current kept (A, column k for slot k).
  Table1<double> MeasuredAcInterval{kMaxCurves + 1};
  Table1<int> MeasuredAcKept{kMaxCurves + 1};
  GrowingTable2<double> MeasuredAcCurrent{kMaxPoints + 1, kMaxCurves + 1};
  // While the eight envelopes of a measured AC voltammogram fill slots 1..8: the curve count
  // before (0: they do not), and the curves of those slots that hold no measured AC current.
  int HarmonicsWidenedFrom = 0;
  GrowingTable2<double> HarmonicsKeptCurves{kMaxPoints + 1, kAcHarmonics + 1};
  // Nonzero: the store holds impedance spectra of this many frequencies, each curve Z' (ohm) at
  // points 1..n and Z'' at points n+1..2n, PotentialX the frequency (Hz) of both.
  int SpectrumFrequencies = 0;
  int FirstPoint = 0;
  int LastPoint = 0;
  int CurveCount = 0;
  int CurrentCurve = 0;
  int TargetCurve = 0;
  int PlotSeriesLimit = 0;
};

}  // namespace qalto
