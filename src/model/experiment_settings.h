#pragma once
// What the user set: the technique and its potential program, the electrode, the cell, the
// chemistry, the display and the fitted parameters, with the quantities derived from them. It
// lives as long as the session and is what a fit worker or a global-fit curve copies. Every
// number starts at 0, every text empty and every flag false. Tables are indexed from 0 and index
// 0 is unused unless a comment says otherwise.

#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include "common/table.h"
#include "model/experiment.h"
#include "model/model_limits.h"
#include "model/potential_program.h"

namespace qalto {

struct ExperimentSettings {
  // Experiment settings.
  qalto::Technique Technique = qalto::Technique::kNone;
  int Mechanism = 0;  // 1..10
  qalto::Electrode Electrode = qalto::Electrode::kNone;
  bool DigitalSimulation = false;
  double StartPotential = 0;           // V
  double EndPotential = 0;             // V
  double PotentialStep = 0;            // V
  double ScanRate = 0;                 // V/s
  double PulseTime = 0;                // s
  double DropTime = 0;                 // s, drop of DC and the pulse techniques (PointTime)
  double PulsePotential = 0;           // V
  double ScanCycles = 0;               // 0.5 single sweep, else 1, 2 or 3 cycles
  double Temperature = 0;              // K
  double NoiseLevel = 0;               // A
  double ElectrodeArea = 0;            // cm2
  double Radius = 0;                   // cm; radius, equivalent radius or half width
  double ElectrodeLength = 0;          // cm; cylinder or band length, film thickness
  double ElectrodeVolume = 0;          // cm3
  double RotationRate = 0;             // rad/s
  double DoubleLayerCapacitance = 0;   // F
  double UncompensatedResistance = 0;  // ohm
  // The double-layer capacitance Cd(E) = DoubleLayerCapacitance + CapacitanceSlope E +
  // CapacitanceCurvature E^2 at the interfacial potential E.
  double CapacitanceSlope = 0;      // F/V
  double CapacitanceCurvature = 0;  // F/V^2
  double BaselineOffset = 0;        // A, in the curve store's sign convention
  double BaselineSlope = 0;         // A/V: the baseline is offset + slope x E
  double QuietTime = 0;             // s held at the start potential before the first point
  // Impedance: the DC potential the cell is held at, and the frequencies of its spectrum.
  double DcPotential = 0;      // V
  double FrequencyFrom = 0;    // Hz
  double FrequencyTo = 0;      // Hz
  double PointsPerDecade = 0;  // frequencies a decade, logarithmically spaced
  // Chronoamperometry: from rest at E start the potential steps to StepPotential1 for StepTime1,
  // then to StepPotential2 for StepTime2 (0: a single step), sampled every SampleTime.
  double StepPotential1 = 0;  // V
  double StepTime1 = 0;       // s
  double StepPotential2 = 0;  // V
  double StepTime2 = 0;       // s
  double SampleTime = 0;      // s; also the potential program's sampling interval
  PotentialProgram Program;   // technique 8, sampled every SampleTime from rest at E start
  // AC voltammetry: a sine of AcAmplitude at AcFrequency on the sweep of E start, E end and v,
  // or with AcOnProgram on the potential program (Program, from rest at E start).
  double AcAmplitude = 0;  // V, the amplitude (half the peak-to-peak) of the sine
  double AcFrequency = 0;  // Hz
  bool AcOnProgram = false;
  // The curve store's sign convention: anodic (oxidation) current positive, as IUPAC writes it,
  // or cathodic current positive; the simulation computes cathodic positive and turns its curves.
  bool AnodicPositive = false;
  double KinematicViscosity = 0;        // cm2/s
  double ElectrolyteConcentration = 0;  // M
  // Seed of the noise generator (qalto-batch --seed); unset: the program's fixed generator.
  std::optional<std::uint64_t> NoiseSeed;
  // The run's stream of noise, started by its first noisy Simulate (at NoiseSeed, or the fixed
  // generator from the number of points): each later one draws on from it, so that its noise is
  // independent of the earlier curves'.
  std::optional<std::mt19937_64> NoiseStream;
  double FixedNoiseState = 0;  // the fixed generator's last number; 0: not started

  // Derived quantities.
  double FOverRT = 0;  // F/(RT), 1/V
  double RTOverF = 0;  // RT/F, V
  // Technique and electrode of the last refresh in the analytical model: the closed forms
  // follow it (scripts read it as TechElectrodeCode, 10 x technique + electrode).
  ExperimentCase AnalyticalCase;
  int SweepDirection = 0;  // +1 or -1
  double SweepPoints = 0;  // points of one sweep segment; half the imported points in a fit,
                           // not rounded

  // Chemistry.
  int SpeciesCount = 0;
  int ChargeReactionCount = 0;
  int FirstOrderReactionCount = 0;
  int SecondOrderReactionCount = 0;
  int TotalCurrentColumn = 0;
  Table1<std::string> SpeciesName{9};
  Table1<double> SpeciesD{9};                            // diffusion coefficient, cm2/s
  Table1<double> SpeciesC{9};                            // initial (bulk) concentration, M
  Table1<std::optional<double>> SpeciesConductivity{9};  // no form sets it: stays empty
  // A species named with the suffix "(ads)" lives on the electrode surface: it does not diffuse
  // and its amount is the surface concentration SpeciesGamma (mol/cm2) in place of C and D.
  Table1<int> SpeciesAdsorbed{9};  // 1: adsorbed
  Table1<double> SpeciesGamma{9};  // initial surface concentration, mol/cm2
  // The adsorbed layer: its saturation surface concentration (mol/cm2), which the adsorption
  // steps fill, and its Frumkin interaction parameter g (> 0 attraction, < 0 repulsion).
  double LayerSaturation = 0;
  double LayerInteraction = 0;
  // The Chemicals form's Pre-equil: the surface couples of the layer start in equilibrium at
  // E start (the solution's concentrations come pre-equilibrated in SpeciesC).
  bool PreEquilibrate = false;
  Table1<double> ChargeKs{9};     // standard heterogeneous rate constant, cm/s
  Table1<double> ChargeAlpha{9};  // transfer coefficient
  // Reorganisation energy of a charge reaction with Marcus-Hush-Chidsey kinetics, eV (0.1 to 50);
  // 0: Butler-Volmer with ChargeAlpha.
  Table1<double> ChargeLambda{9};
  Table1<double> ChargeN{9};                  // electrons
  Table1<double> ChargeE0{9};                 // formal potential, V
  Table2<int> ChargeReactionSpecies{9, 3};    // (r,1) oxidized, (r,2) reduced species
  Table2<double> ChargeReactionStoich{9, 3};  // (r,1), (r,2) stoichiometric coefficients
  Table1<double> ProtonCount{4};
  Table1<std::string> ChargeReactionText{4};
  Table2<int> FirstOrderReactionSpecies{9, 3};   // (i,1) reactant, (i,2) product
  Table2<int> SecondOrderReactionSpecies{9, 5};  // (i,1),(i,2) reactants, (i,3),(i,4) products
  Table1<double> ForwardRateConstant{9};         // kf of homogeneous reaction i
  Table1<double> BackwardRateConstant{9};        // kb of homogeneous reaction i
  Table1<double> EquilibriumConstant{9};         // Keq = kf / kb
  Table1<std::string> ChemReactionText{5};

  // Display settings.
  double PlotXMin = 0;
  double PlotXMax = 0;
  double PlotYMin = 0;
  double PlotYMax = 0;
  bool ShowGrid = false;
  bool OverlapPlot = false;
  Table1<int> LineStyles{kMaxCurves + 1};  // 1 dots, 2 small squares, 3 connected line

  // Fit settings.
  bool FitMode = false;
  int FitParameterCount = 0;
  Table1<int> FitParameterCode{100};
  double FitDefaultStep = 0;
  // An AC voltammogram (technique 9) is fitted on the envelopes of the harmonics whose bits
  // are set (bit k: harmonic k, bit 0 the DC component), one after another; 0: its raw current.
  int AcFitHarmonics = 0;
};

}  // namespace qalto
