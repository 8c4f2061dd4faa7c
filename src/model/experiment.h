#pragma once
// The kind of experiment: the technique that applies the potential, the electrode's geometry,
// and what each (technique, electrode) combination is computed with. The numbers of the
// enumerators are the ones the forms' option buttons and the printed reports show.

#include <array>

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
  kPotentialProgram = 8,   // a program of holds, sweeps and steps, or an E(t) file
  kAcVoltammetry = 9,      // a sine on a sweep: the current and its harmonics against E
  kImpedance = 10,         // the small-signal impedance at a DC potential, over frequency
};
// The techniques in the order of their option buttons; a number between them is no technique.
inline constexpr std::array kTechniqueList = {
    Technique::kSweep,
    Technique::kDc,
    Technique::kNormalPulse,
    Technique::kDifferentialPulse,
    Technique::kSquareWave,
    Technique::kAdditiveSquareWave,
    Technique::kChronoamperometry,
    Technique::kPotentialProgram,
    Technique::kAcVoltammetry,
    Technique::kImpedance,
};
inline constexpr int kTechniqueCount = static_cast<int>(kTechniqueList.size());

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
// The position 1..kTechniqueCount of a technique in kTechniqueList; 0 for kNone or a number
// that is no technique.
constexpr int TechniquePosition(Technique technique) {
  for (int i = 0; i < kTechniqueCount; ++i)
    if (kTechniqueList[static_cast<std::size_t>(i)] == technique) return i + 1;
  return 0;
}
// The technique or electrode of an option button's number (1..10, 1..10); any other
// number is kNone.
constexpr Technique TechniqueNumbered(int number) {
  const auto technique = static_cast<Technique>(number);
  return number != 0 && TechniquePosition(technique) != 0 ? technique : Technique::kNone;
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
