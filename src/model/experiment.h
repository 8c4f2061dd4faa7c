#pragma once
// The kind of experiment: the technique that applies the potential, the electrode's geometry,
// and what each (technique, electrode) combination is computed with. The numbers of the
// enumerators are the ones the forms' option buttons and the printed reports show.

namespace qalto {

enum class Technique {
  kNone = 0,   // no technique applied yet
  kSweep = 1,  // linear sweep and cyclic voltammetry
  kDc = 2,
  kNormalPulse = 3,
  kDifferentialPulse = 4,
  kSquareWave = 5,
  kAdditiveSquareWave = 6,
  kChronoamperometry = 7,  // potential steps: current or charge against time
};
inline constexpr int kTechniqueCount = 7;

enum class Electrode {
  kNone = 0,  // no electrode chosen yet
  kPlanar = 1,
  kSpherical = 2,
  kHemispherical = 3,
  kMicrodisc = 4,  // computed as the hemisphere of the same steady-state current
  kCylindrical = 5,
  kRotatingCylinder = 6,
  kRotatingHemisphere = 7,
  kRotatingDisk = 8,
  kThinFilm = 9,
  kBand = 10,
};
inline constexpr int kElectrodeCount = 10;

constexpr int Number(Technique technique) {
  return static_cast<int>(technique);
}
constexpr int Number(Electrode electrode) {
  return static_cast<int>(electrode);
}
// The technique or electrode of a number 1..kTechniqueCount or 1..10 (an option button's index);
// any other number is kNone.
constexpr Technique TechniqueNumbered(int number) {
  return number >= 1 && number <= kTechniqueCount ? static_cast<Technique>(number)
                                                  : Technique::kNone;
}
constexpr Electrode ElectrodeNumbered(int number) {
  return number >= 1 && number <= kElectrodeCount ? static_cast<Electrode>(number)
                                                  : Electrode::kNone;
}

// One technique at one electrode.
struct ExperimentCase {
  Technique technique = Technique::kNone;
  Electrode electrode = Electrode::kNone;
  friend bool operator==(const ExperimentCase&, const ExperimentCase&) = default;
};

// The case as one number, 10 x technique + electrode (21: DC at a planar electrode).
constexpr int CaseCode(ExperimentCase c) {
  return 10 * Number(c.technique) + Number(c.electrode);
}

}  // namespace qalto
