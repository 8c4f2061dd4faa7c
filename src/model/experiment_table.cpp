#include "model/experiment_table.h"

#include <array>

namespace qalto {
namespace {

using T = Technique;
using E = Electrode;
using F = ClosedForm;
using P = PotentialBoxes;

constexpr std::array<TechniqueRow, kTechniqueCount + 1> kTechniques = {{
    {T::kNone, "", "no technique", PointTiming::kNone, false, P::kRange},
    {T::kSweep, "Linear sweep and cyclic voltammetry", "linear sweep and cyclic voltammetry",
     PointTiming::kSweepStep, false, P::kRange},
    {T::kDc, "DC voltammetry", "DC voltammetry", PointTiming::kDrop, false, P::kRange},
    {T::kNormalPulse, "Normal pulse voltammetry", "normal pulse voltammetry", PointTiming::kPulse,
     true, P::kRange},
    {T::kDifferentialPulse, "Differential pulse voltammetry", "differential pulse voltammetry",
     PointTiming::kDifferentialPulse, true, P::kRange},
    {T::kSquareWave, "Square wave voltammetry", "square wave voltammetry",
     PointTiming::kSquareWaveNet, true, P::kRange},
    {T::kAdditiveSquareWave, "Addition square wave voltammetry", "addition square wave voltammetry",
     PointTiming::kSquareWaveSum, true, P::kRange},
    {T::kChronoamperometry, "Chronoamperometry", "chronoamperometry", PointTiming::kStepSample,
     false, P::kRest},
    {T::kPotentialProgram, "Potential program", "potential program", PointTiming::kProgram, false,
     P::kRest},
    {T::kAcVoltammetry, "AC voltammetry", "AC voltammetry", PointTiming::kSineSample, false,
     P::kEnds},
    {T::kImpedance, "Impedance", "impedance", PointTiming::kNone, false, P::kNone},
}};

using G = GridGeometry;
using K = KernelShape;
using R = RotatingGeometry;

// The microdisc and the band are themselves in the digital simulation, on their own
// two-dimensional grids; the analytical microdisc is the superposition of the disc's step
// responses (simulation/disc_response.h), which replaces the integral equations its row names.
// Rotation adds the flow toward the electrode to a planar grid, since the rotating electrodes'
// mass-transfer coefficients already hold their curvature.
constexpr std::array<ElectrodeRow, kElectrodeCount + 1> kElectrodes = {{
    //  electrode, caption, name; grid, kernel, rotation, radius, length
    {E::kNone, "", "no electrode", G::kNone, K::kNone, R::kNone, false, false},
    {E::kPlanar, "Planar", "planar electrode", G::kPlanar, K::kPlanar, R::kNone, false, false},
    {E::kSpherical, "(Micro)Spherical", "spherical electrode", G::kSpherical, K::kSpherical,
     R::kNone, true, false},
    {E::kHemispherical, "(Micro)Hemispherical", "hemispherical electrode", G::kSpherical,
     K::kSpherical, R::kNone, true, false},
    {E::kMicrodisc, "Microdisc", "microdisc", G::kDisc, K::kSpherical, R::kNone, true, false},
    {E::kCylindrical, "(Micro)Cylindrical", "cylindrical electrode", G::kCylindrical, K::kNone,
     R::kNone, true, true},
    {E::kRotatingCylinder, "Rotating cylindrical", "rotating cylindrical electrode", G::kPlanar,
     K::kNone, R::kCylinder, true, true},
    {E::kRotatingHemisphere, "Rotating hemispherical", "rotating hemispherical electrode",
     G::kPlanar, K::kNone, R::kHemisphere, true, false},
    {E::kRotatingDisk, "Rotating disk", "rotating disk", G::kPlanar, K::kNone, R::kDisk, true,
     false},
    {E::kThinFilm, "Thin film", "thin film", G::kThinFilm, K::kThinLayer, R::kNone, false, true},
    {E::kBand, "Band", "band electrode", G::kBand, K::kNone, R::kNone, true, true},
}};

// Sweeps at planar, spherical, hemispherical, microdisc and thin-film electrodes, and every square
// wave and potential step there, are solved as integral equations (no closed form); DC, normal
// and differential pulse there have closed forms the integral equations replace for coupled
// mechanisms, and at the thin film, whose wall no closed form feels, always.
// AC voltammetry is simulated digitally only (no row has an analytical current for it).
// Impedance is exact in the frequency domain where diffusion is one-dimensional: the plane, the
// sphere (and the hemisphere, its half) and the closed thin film.
constexpr std::array<CaseRow, kTechniqueCount* kElectrodeCount> kCases = {{
    {{T::kSweep, E::kPlanar}, F::kNone},
    {{T::kSweep, E::kSpherical}, F::kNone},
    {{T::kSweep, E::kHemispherical}, F::kNone},
    {{T::kSweep, E::kMicrodisc}, F::kNone},
    {{T::kSweep, E::kCylindrical}, F::kNone},
    {{T::kSweep, E::kRotatingCylinder}, F::kNone},
    {{T::kSweep, E::kRotatingHemisphere}, F::kNone},
    {{T::kSweep, E::kRotatingDisk}, F::kRotatingDisk},  // the steady wave itself
    {{T::kSweep, E::kThinFilm}, F::kNone},
    {{T::kSweep, E::kBand}, F::kNone},
    {{T::kDc, E::kPlanar}, F::kPlanar},
    {{T::kDc, E::kSpherical}, F::kSpherical},
    {{T::kDc, E::kHemispherical}, F::kSpherical},
    {{T::kDc, E::kMicrodisc}, F::kSpherical},
    {{T::kDc, E::kCylindrical}, F::kNone},
    {{T::kDc, E::kRotatingCylinder}, F::kRotatingFlow},
    {{T::kDc, E::kRotatingHemisphere}, F::kRotatingFlow},
    {{T::kDc, E::kRotatingDisk}, F::kRotatingDisk},
    {{T::kDc, E::kThinFilm}, F::kNone},
    {{T::kDc, E::kBand}, F::kNone},
    {{T::kNormalPulse, E::kPlanar}, F::kPlanar},
    {{T::kNormalPulse, E::kSpherical}, F::kSpherical},
    {{T::kNormalPulse, E::kHemispherical}, F::kSpherical},
    {{T::kNormalPulse, E::kMicrodisc}, F::kSpherical},
    {{T::kNormalPulse, E::kCylindrical}, F::kNone},
    {{T::kNormalPulse, E::kRotatingCylinder}, F::kNone},
    {{T::kNormalPulse, E::kRotatingHemisphere}, F::kNone},
    {{T::kNormalPulse, E::kRotatingDisk}, F::kNone},
    {{T::kNormalPulse, E::kThinFilm}, F::kNone},
    {{T::kNormalPulse, E::kBand}, F::kNone},
    {{T::kDifferentialPulse, E::kPlanar}, F::kDifferentialPulsePlanar},
    {{T::kDifferentialPulse, E::kSpherical}, F::kDifferentialPulseSpherical},
    {{T::kDifferentialPulse, E::kHemispherical}, F::kDifferentialPulseSpherical},
    {{T::kDifferentialPulse, E::kMicrodisc}, F::kDifferentialPulseSpherical},
    {{T::kDifferentialPulse, E::kCylindrical}, F::kNone},
    {{T::kDifferentialPulse, E::kRotatingCylinder}, F::kNone},
    {{T::kDifferentialPulse, E::kRotatingHemisphere}, F::kNone},
    {{T::kDifferentialPulse, E::kRotatingDisk}, F::kNone},
    {{T::kDifferentialPulse, E::kThinFilm}, F::kNone},
    {{T::kDifferentialPulse, E::kBand}, F::kNone},
    {{T::kSquareWave, E::kPlanar}, F::kNone},
    {{T::kSquareWave, E::kSpherical}, F::kNone},
    {{T::kSquareWave, E::kHemispherical}, F::kNone},
    {{T::kSquareWave, E::kMicrodisc}, F::kNone},
    {{T::kSquareWave, E::kCylindrical}, F::kNone},
    {{T::kSquareWave, E::kRotatingCylinder}, F::kNone},
    {{T::kSquareWave, E::kRotatingHemisphere}, F::kNone},
    {{T::kSquareWave, E::kRotatingDisk}, F::kNone},
    {{T::kSquareWave, E::kThinFilm}, F::kNone},
    {{T::kSquareWave, E::kBand}, F::kNone},
    {{T::kAdditiveSquareWave, E::kPlanar}, F::kNone},
    {{T::kAdditiveSquareWave, E::kSpherical}, F::kNone},
    {{T::kAdditiveSquareWave, E::kHemispherical}, F::kNone},
    {{T::kAdditiveSquareWave, E::kMicrodisc}, F::kNone},
    {{T::kAdditiveSquareWave, E::kCylindrical}, F::kNone},
    {{T::kAdditiveSquareWave, E::kRotatingCylinder}, F::kNone},
    {{T::kAdditiveSquareWave, E::kRotatingHemisphere}, F::kNone},
    {{T::kAdditiveSquareWave, E::kRotatingDisk}, F::kNone},
    {{T::kAdditiveSquareWave, E::kThinFilm}, F::kNone},
    {{T::kAdditiveSquareWave, E::kBand}, F::kNone},
    {{T::kChronoamperometry, E::kPlanar}, F::kNone},
    {{T::kChronoamperometry, E::kSpherical}, F::kNone},
    {{T::kChronoamperometry, E::kHemispherical}, F::kNone},
    {{T::kChronoamperometry, E::kMicrodisc}, F::kNone},
    {{T::kChronoamperometry, E::kCylindrical}, F::kNone},
    {{T::kChronoamperometry, E::kRotatingCylinder}, F::kNone},
    {{T::kChronoamperometry, E::kRotatingHemisphere}, F::kNone},
    {{T::kChronoamperometry, E::kRotatingDisk}, F::kNone},
    {{T::kChronoamperometry, E::kThinFilm}, F::kNone},
    {{T::kChronoamperometry, E::kBand}, F::kNone},
    {{T::kPotentialProgram, E::kPlanar}, F::kNone},
    {{T::kPotentialProgram, E::kSpherical}, F::kNone},
    {{T::kPotentialProgram, E::kHemispherical}, F::kNone},
    {{T::kPotentialProgram, E::kMicrodisc}, F::kNone},
    {{T::kPotentialProgram, E::kCylindrical}, F::kNone},
    {{T::kPotentialProgram, E::kRotatingCylinder}, F::kNone},
    {{T::kPotentialProgram, E::kRotatingHemisphere}, F::kNone},
    {{T::kPotentialProgram, E::kRotatingDisk}, F::kNone},
    {{T::kPotentialProgram, E::kThinFilm}, F::kNone},
    {{T::kPotentialProgram, E::kBand}, F::kNone},
    {{T::kAcVoltammetry, E::kPlanar}, F::kNone},
    {{T::kAcVoltammetry, E::kSpherical}, F::kNone},
    {{T::kAcVoltammetry, E::kHemispherical}, F::kNone},
    {{T::kAcVoltammetry, E::kMicrodisc}, F::kNone},
    {{T::kAcVoltammetry, E::kCylindrical}, F::kNone},
    {{T::kAcVoltammetry, E::kRotatingCylinder}, F::kNone},
    {{T::kAcVoltammetry, E::kRotatingHemisphere}, F::kNone},
    {{T::kAcVoltammetry, E::kRotatingDisk}, F::kNone},
    {{T::kAcVoltammetry, E::kThinFilm}, F::kNone},
    {{T::kAcVoltammetry, E::kBand}, F::kNone},
    {{T::kImpedance, E::kPlanar}, F::kFrequencyDomain},
    {{T::kImpedance, E::kSpherical}, F::kFrequencyDomain},
    {{T::kImpedance, E::kHemispherical}, F::kFrequencyDomain},
    {{T::kImpedance, E::kMicrodisc}, F::kNone},
    {{T::kImpedance, E::kCylindrical}, F::kNone},
    {{T::kImpedance, E::kRotatingCylinder}, F::kNone},
    {{T::kImpedance, E::kRotatingHemisphere}, F::kNone},
    {{T::kImpedance, E::kRotatingDisk}, F::kNone},
    {{T::kImpedance, E::kThinFilm}, F::kFrequencyDomain},
    {{T::kImpedance, E::kBand}, F::kNone},
}};

constexpr CaseRow kNoCase = {{T::kNone, E::kNone}, F::kNone};

constexpr std::size_t CaseIndex(ExperimentCase key) {
  return static_cast<std::size_t>((TechniquePosition(key.technique) - 1) * kElectrodeCount +
                                  Number(key.electrode) - 1);
}

// Every row sits where its technique and electrode index it.
constexpr bool RowsInOrder() {
  for (std::size_t i = 0; i < kTechniques.size(); ++i)
    if (static_cast<std::size_t>(TechniquePosition(kTechniques[i].technique)) != i) return false;
  for (std::size_t i = 0; i < kElectrodes.size(); ++i)
    if (static_cast<std::size_t>(Number(kElectrodes[i].electrode)) != i) return false;
  for (std::size_t i = 0; i < kCases.size(); ++i)
    if (CaseIndex(kCases[i].key) != i) return false;
  return true;
}
static_assert(RowsInOrder());

}  // namespace

const TechniqueRow& RowOf(Technique technique) {
  return kTechniques[static_cast<std::size_t>(TechniquePosition(technique))];
}

const ElectrodeRow& RowOf(Electrode electrode) {
  return kElectrodes[static_cast<std::size_t>(Number(ElectrodeNumbered(Number(electrode))))];
}

const CaseRow& RowOf(ExperimentCase key) {
  if (TechniqueNumbered(Number(key.technique)) == T::kNone ||
      ElectrodeNumbered(Number(key.electrode)) == E::kNone)
    return kNoCase;
  return kCases[CaseIndex(key)];
}

AnalyticalReach AnalyticalReachOf(ExperimentCase key) {
  using Reach = AnalyticalReach;
  if (key.technique == T::kImpedance)
    return HasClosedForm(key) ? Reach::kEveryMechanism : Reach::kNone;
  // AC voltammetry is computed in time by the finite differences alone.
  if (RowOf(key.technique).timing == PointTiming::kSineSample) return Reach::kNone;
  if (key.electrode == E::kMicrodisc) {
    // The disc's step responses do not follow an arbitrary potential program.
    if (key.technique == T::kPotentialProgram) return Reach::kNone;
    return Reach::kNernstianCouples;
  }
  return HasAnalyticalCurrent(key) ? Reach::kEveryMechanism : Reach::kNone;
}

// The spectrum is computed in the frequency domain whatever the engine.
bool DigitallyComputed(ExperimentCase key) {
  if (key.technique == T::kImpedance) return HasClosedForm(key);
  return RowOf(key.electrode).grid != GridGeometry::kNone;
}

std::string NumberedCaption(int number, const char* caption) {
  return std::to_string(number) + ")  " + caption;
}

}  // namespace qalto
