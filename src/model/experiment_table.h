#pragma once
// What each technique, each electrode and each (technique, electrode) combination is computed
// with: one row each. A new technique or geometry is a row here plus its own functions in the
// numerics that read the row.

#include <string>

#include "model/experiment.h"

namespace qalto {

// How the finite-difference simulation divides the time of one potential point.
enum class PointTiming {
  kNone,               // no technique, or none in time (impedance): the digital run refuses it
  kSweepStep,          // one ramp of the sweep's time step per point
  kDrop,               // a drop from the bulk, sampled at its end
  kPulse,              // a pulse from rest
  kDifferentialPulse,  // a drop of whole pulse times, after the pulse minus before it
  kSquareWaveNet,      // forward half period minus reverse half period
  kSquareWaveSum,      // the two half periods added
  kStepSample,         // potential steps held over many points, each point one sampling time
  kProgram,            // the potential program's ramps and holds, each point one sampling time
  kSineSample,         // one sample of a sine on a sweep, in sub-steps that follow the sine
};

// Which of the Instrument window's E start, E end and E step boxes a technique reads; the
// others are disabled while it is chosen.
enum class PotentialBoxes {
  kRange,  // all three: points from E start to E end by E step
  kEnds,   // E start and E end: a sweep whose points its own timing spaces
  kRest,   // E start alone: the rest before its own steps or program
  kNone,   // none: its own potential boxes
};

// The geometry of the finite-difference grid.
// kDisc and kBand: the disc and the band in an insulating plane, on their own two-dimensional
// grids (digital/disc_grid.h).
enum class GridGeometry { kNone, kPlanar, kSpherical, kCylindrical, kThinFilm, kDisc, kBand };

// The diffusion kernel of the integral equations (convolution) at the electrode, if it has one.
// kThinLayer: planar diffusion closed by a wall at the film thickness.
enum class KernelShape { kNone, kPlanar, kSpherical, kThinLayer };

// The flow toward a rotating electrode (digital/rotating_flow.h gives each its mass transfer).
enum class RotatingGeometry { kNone, kCylinder, kHemisphere, kDisk };

// The closed-form response function of a combination.
enum class ClosedForm {
  kNone,                        // none: an integral equation, or no analytical current at all
  kPlanar,                      // Koutecky's step response, planar diffusion
  kSpherical,                   // the step response with the spherical term
  kRotatingDisk,                // the steady convective wave of a rotating disk
  kRotatingFlow,                // the steady wave of a rotating cylinder or hemisphere
  kDifferentialPulsePlanar,     // the superposition of planar step responses
  kDifferentialPulseSpherical,  // the superposition of spherical step responses
  kFrequencyDomain,             // the small-signal impedance, exact in the frequency domain
};

struct TechniqueRow {
  Technique technique;
  const char* caption;  // its option button in the Techniques window, after "N)  "
  const char* name;     // how a message names it
  PointTiming timing;
  bool pulseSampled;  // the current sampled at the end of the pulse time, else of the drop time
  PotentialBoxes potentials;  // which of E start, E end and E step it reads
};

struct ElectrodeRow {
  Electrode electrode;
  const char* caption;  // its option button in the Instrument window, after "N)  "
  const char* name;     // how a message names it
  GridGeometry grid;
  KernelShape kernel;
  RotatingGeometry rotation;  // convection toward the electrode, kNone without
  bool radius;                // a radius (or half width) enters the computation
  bool length;                // a length (or film thickness) enters the computation
};

struct CaseRow {
  ExperimentCase key;
  ClosedForm closedForm;
};

// The option button's caption of technique or electrode number n: "3)  Normal pulse voltammetry".
std::string NumberedCaption(int number, const char* caption);

// The row of a technique or electrode; kNone has a row that computes nothing.
const TechniqueRow& RowOf(Technique technique);
const ElectrodeRow& RowOf(Electrode electrode);
// The row of a combination; a combination with kNone in it computes nothing.
const CaseRow& RowOf(ExperimentCase key);

inline bool HasClosedForm(ExperimentCase key) {
  return RowOf(key).closedForm != ClosedForm::kNone;
}
// A closed form, or the integral equations of an electrode with a diffusion kernel.
inline bool HasAnalyticalCurrent(ExperimentCase key) {
  return HasClosedForm(key) || RowOf(key.electrode).kernel != KernelShape::kNone;
}

// How far the analytical engine reaches for a combination: not at all, for every mechanism the
// table's models carry, or (the microdisc's step responses) for independent Nernstian couples
// without resistance or chemistry only.
enum class AnalyticalReach { kNone, kEveryMechanism, kNernstianCouples };

// What the Instrument form offers and the manual's table of combinations lists.
AnalyticalReach AnalyticalReachOf(ExperimentCase key);
bool DigitallyComputed(ExperimentCase key);

}  // namespace qalto
