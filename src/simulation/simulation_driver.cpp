#include "simulation/simulation_driver.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <span>

#include "common/checked_math.h"
#include "common/constants.h"
#include "common/plain_number.h"
#include "common/point_index.h"
#include "common/run_monitor.h"
#include "digital/simulate_digital.h"
#include "model/experiment_table.h"
#include "model/point_time.h"
#include "simulation/ac_program.h"
#include "simulation/ac_record.h"
#include "simulation/analytical_coverage.h"
#include "simulation/analytical_point.h"
#include "simulation/convolution_run.h"
#include "simulation/curve_slot.h"
#include "simulation/disc_response.h"
#include "simulation/double_layer.h"
#include "simulation/failure_cause.h"
#include "simulation/impedance_run.h"
#include "simulation/implicit_drop.h"
#include "simulation/noise.h"
#include "simulation/potential_axis.h"
#include "simulation/program_run.h"
#include "simulation/square_wave_run.h"
#include "simulation/step_instants.h"
#include "simulation/step_program.h"
#include "simulation/step_run.h"

namespace qalto {
namespace {

constexpr double kNeutralPH = 7.0;

// Double-layer charging and ohmic drop of the pulse and DC techniques, and of the sweeps that
// are not solved as integral equations: the total current relaxes towards the faradaic one with
// the cell constant Ru Cd(E) / t.
struct Charging {
  double v = 0;        // scan rate, V/s
  double ruOverT = 0;  // Ru / t, ohm/s
};

int SweepSign(const Model& model, int i) {
  const auto& x = model.PotentialX;
  int s = Sgn(x(i) - x(i - 1));
  if (s == 0) s = Sgn(x(i + 1) - x(i));
  return s;
}

double Charged(const Model& model, const Charging& c, int i, double faradaic, double previous) {
  const double cd = CapacitanceAt(model, model.PotentialX(i));  // F
  const double rc = cd * c.ruOverT;
  return Div(faradaic - SweepSign(model, i) * cd * c.v + rc * previous, rc + 1);
}

AnalyticalRun AnalyticalConstants(const Model& model, AnalyticalRun run) {
  run.pulseHalf = model.PulsePotential / 2;
  if (!RowOf(model.Technique).pulseSampled) {
    run.t = PointTime(model);
    run.offset = 0;
  } else if (model.Technique == Technique::kNormalPulse) {
    run.t = model.PulseTime;
    run.offset = -model.PulsePotential;
  } else {
    run.t = model.PulseTime;
    run.offset = -run.pulseHalf;
  }
  return run;
}

// The quantities of charge reaction r at point i that every response function shares.
ReactionPoint PrepareReaction(const Model& model, const AnalyticalRun& run, int i, int r,
                              double drop) {
  ReactionPoint p;
  p.i = i;
  p.r = r;
  p.ox = model.ChargeReactionSpecies(r, 1);
  p.red = model.ChargeReactionSpecies(r, 2);
  double n = model.ChargeN(r);
  p.k = Div(model.RTOverF, n);
  p.CO = model.SpeciesC(p.ox);
  p.CR = model.SpeciesC(p.red);
  p.sqrtDO = Sqrt(model.SpeciesD(p.ox));
  p.sqrtDR = Sqrt(model.SpeciesD(p.red));
  p.E0 = model.ChargeE0(r);
  p.E = model.PotentialX(i) + drop + model.ProtonCount(r) * p.k * run.pHterm;
  return p;
}

// Charging current and ohmic drop of a sweep act on the sweep current itself.
void ChargeSweep(Model& model, const Charging& charging) {
  int total = model.TotalCurrentColumn;
  double previous = 0;  // total current of the previous point, A
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    previous = Charged(model, charging, i, model.ReactionCurrents(i, total), previous);
    model.ReactionCurrents(i, total) = previous;
  }
}

void SimulateAnalytical(Model& model, AnalyticalRun& run, const Charging& charging) {
  if (model.Technique == Technique::kChronoamperometry) {
    RunStepResponse(model, run.pHterm);
    return;
  }
  if (model.Technique == Technique::kPotentialProgram) {
    RunProgramConvolution(model, run.pHterm);
    return;
  }
  if (model.Electrode == Electrode::kMicrodisc) {
    RunDiscResponse(model, run.pHterm);
    ChargeSweep(model, charging);
    return;
  }
  if (SolvedByConvolution(model)) {
    RunConvolution(model, run.pHterm);
    // The integral equation of a sweep carries its charging current through the resistance.
    if (model.Technique != Technique::kSweep) ChargeSweep(model, charging);
    return;
  }
  if (SquareWaveByConvolution(model)) {
    RunSquareWave(model, run.pHterm);
    ChargeSweep(model, charging);
    return;
  }
  int total = model.TotalCurrentColumn;
  PrepareAnalyticalRun(model, run);
  const double ru = model.UncompensatedResistance;  // ohm
  double previous = 0;                              // total current of the previous point, A
  double drop = 0;                                  // ohmic drop of the previous point, V
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    double sum = 0;  // faradaic current of the point, A
    auto faradaic = [&](double d) {
      sum = 0;
      for (int r = 1; r <= model.ChargeReactionCount; ++r) {
        ReactionPoint point = PrepareReaction(model, run, i, r, d);
        sum = sum + AnalyticalReactionCurrent(model, run, point);
      }
      return sum;
    };
    if (ru > 0) {
      drop = ImplicitDrop(faradaic, ru, drop);
    } else {
      faradaic(0.0);
    }
    if (model.Technique == Technique::kSweep) {
      previous = sum;
    } else {
      previous = Charged(model, charging, i, sum, previous);
    }
    model.ReactionCurrents(i, total) = previous;
    PollPoint(i, model.NumberOfPoints);
  }
  CombineCatalyticColumns(model, run);
  if (model.Technique == Technique::kSweep) ChargeSweep(model, charging);
}

// The baselines, in the curve store's sign convention: the line from "I start" at the first
// point to "I end" at the end of the first sweep, and offset + slope x E.
void AddBaseline(Model& model, const SimulationInputs& inputs) {
  double start = inputs.baselineStart.Get();  // A
  double end = inputs.baselineEnd.Get();      // A
  const auto& x = model.PotentialX;
  const int total = model.TotalCurrentColumn;
  if (start != 0 || end != 0) {
    int sweepEnd = ToPointIndex(model.SweepPoints);
    for (int i = 1; i <= model.NumberOfPoints; ++i) {
      model.ReactionCurrents(i, total) +=
          start + (end - start) * Div(x(i) - x(1), x(sweepEnd) - x(1));
    }
  }
  if (model.BaselineOffset == 0 && model.BaselineSlope == 0) return;
  for (int i = 1; i <= model.NumberOfPoints; ++i)
    model.ReactionCurrents(i, total) += model.BaselineOffset + model.BaselineSlope * x(i);
}

// The simulation computes cathodic current positive; an anodic-positive store takes every
// current column turned.
void ApplySignConvention(Model& model) {
  if (model.AnodicPositive) TurnRunColumns(model);
}

// The charge of a run that does not compute its own (every technique but the potential steps):
// the total current integrated over the points' times by the trapezoidal rule from 0 at t = 0.
// A program sampled at its rows takes each row's own interval.
void IntegrateCharge(Model& model, bool rowTimes) {
  const double t = PointTime(model);  // s
  const int total = model.TotalCurrentColumn;
  const int n = model.NumberOfPoints;
  // Point i is element i - 1 of both.
  const std::span<const double> current = model.ReactionCurrents.ColumnRows(total, 1, n);
  const std::span<double> passed = model.PassedCharge.Rows(1, n);
  double charge = 0.0;
  double before = 0.0;  // current of the point before, A
  for (int i = 1; i <= n; ++i) {
    const double now = current[static_cast<size_t>(i - 1)];
    const double step = rowTimes ? model.PointTimes(i) - model.PointTimes(i - 1) : t;  // s
    charge += 0.5 * step * (before + now);
    passed[static_cast<size_t>(i - 1)] = charge;
    before = now;
  }
}

// The points of the quiet time: the start potential held for the quiet time in steps of the
// sweep's own, before the first point, where the simulation marches in time (a sweep solved as
// an integral equation or digitally). At most as many as the curve has, and never beyond the
// store: a hold longer than the sweep itself leaves the layer at the start potential deeper
// than the sweep reaches, so that a longer one changes nothing the curve shows.
int QuietPoints(const Model& model) {
  if (!(model.QuietTime > 0) || model.Technique != Technique::kSweep) return 0;
  if (!model.DigitalSimulation && !SolvedByConvolution(model)) return 0;
  const double t = PointTime(model);  // s
  if (!(t > 0)) return 0;
  double points = std::ceil(model.QuietTime / t - 1e-9);
  points = std::min(points, static_cast<double>(model.NumberOfPoints));
  points = std::min(points, static_cast<double>(kMaxPoints - model.NumberOfPoints));
  return points > 0 ? static_cast<int>(points) : 0;
}

// Puts `hold` points at the first potential before the curve's points.
void PrependHold(Model& model, int hold) {
  auto& x = model.PotentialX;
  for (int i = model.NumberOfPoints; i >= 1; --i)
    x(i + hold) = x(i);
  for (int i = 0; i <= hold; ++i)
    x(i) = x(hold + 1);
  model.NumberOfPoints += hold;
  model.SweepPoints += hold;
}

// Drops the `hold` points of the quiet time again, with what was computed at them.
void RemoveHold(Model& model, int hold) {
  model.NumberOfPoints -= hold;
  model.SweepPoints -= hold;
  auto& x = model.PotentialX;
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    x(i) = x(i + hold);
    for (int c = 1; c <= 10; ++c)
      model.ReactionCurrents(i, c) = model.ReactionCurrents(i + hold, c);
    for (int s = 1; s <= model.SpeciesCount && s < 10; ++s)
      model.SurfaceConcentrations(i, s) = model.SurfaceConcentrations(i + hold, s);
  }
}

// A curve with an infinite or NaN current (noise of 1e308 A) is no curve: the run overflows
// before it reaches the curve store, with the cause where one is known.
void CheckTotalCurrent(const Model& model, const std::string& cause) {
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    if (!std::isfinite(model.ReactionCurrents(i, model.TotalCurrentColumn))) {
      throw cause.empty() ? RuntimeError::Overflow() : RuntimeError("Overflow: " + cause);
    }
  }
}

void Run(Model& model, const SimulationInputs& inputs, SolverMessageTally& solverMessages) {
  SelectCurveSlot(model, inputs.overlapChecked && model.SpectrumFrequencies == 0);
  model.SpectrumFrequencies = 0;  // the store holds current curves again
  AnalyticalRun constants;
  constants.AF = model.ElectrodeArea * kFaraday * 0.001;
  Charging charging;
  charging.v = model.ScanRate;
  constants.pHterm = (inputs.pH.Get() - kNeutralPH) * kLn10;
  model.SweepDirection = model.EndPotential > model.StartPotential ? 1 : -1;
  model.PlotSeriesLimit = model.SpeciesCount + 1;
  model.TotalCurrentColumn = model.ChargeReactionCount + 1;
  const bool steps = model.Technique == Technique::kChronoamperometry;
  const bool sine = model.Technique == Technique::kAcVoltammetry;
  std::optional<StepInstants> instants;  // a measured chronoamperogram off the steps' samples
  if (!model.FitMode) {
    if (steps) {
      BuildStepAxis(model);
    } else if (model.Technique == Technique::kPotentialProgram) {
      BuildProgramAxis(model);
    } else if (sine) {
      BuildAcAxis(model);
    } else {
      BuildPotentialAxis(model);
    }
  } else if (steps) {
    instants = StepInstantsOf(model);
  } else {
    model.SweepPoints = model.NumberOfPoints / 2.0;  // the imported axis stays as it is
  }
  // A measured curve's program off an even grid runs on its fine grid, then reads the rows.
  const std::optional<RowGrid> rows = RowGridOfRun(model);
  const int axisSweep = model.SweepPoints;
  if (rows && !rows->onRows) {
    model.NumberOfPoints = rows->count;
    model.SweepPoints = rows->count;
  }
  // Its steps run on their fine grid while it lives, then it reads the instants.
  std::optional<FineStepRun> fineSteps;
  if (instants) fineSteps.emplace(model, *instants);
  const int hold = QuietPoints(model);
  const double firstBefore = model.PotentialX(0);
  if (hold > 0) PrependHold(model, hold);
  // Columns 1..10 of the points to come read 0, so does their charge (column 0 is not used).
  model.ReactionCurrents.ZeroRows(1, model.NumberOfPoints);
  model.PassedCharge.Zero(1, model.NumberOfPoints);
  try {
    if (model.DigitalSimulation) {
      SimulateDigital(model, DigitalInputs{inputs.expandingGrid, inputs.pH, inputs.refinement},
                      [&solverMessages](const std::string& text) { solverMessages.Count(text); });
    } else {
      AnalyticalRun run = AnalyticalConstants(model, constants);
      // A point without duration is refused by the cell constant's division, as it always was.
      charging.ruOverT =
          run.t == 0 ? Div(model.DoubleLayerCapacitance * model.UncompensatedResistance, run.t)
                     : Checked(model.UncompensatedResistance / run.t);
      SimulateAnalytical(model, run, charging);
    }
  } catch (const RuntimeError&) {
    if (rows) {  // the axis stays the rows' for the next run (a fit's)
      model.NumberOfPoints = static_cast<int>(model.Program.fileTimes.size());
      model.SweepPoints = axisSweep;
    }
    throw;
  }
  if (hold > 0) {
    RemoveHold(model, hold);
    model.PotentialX(0) = firstBefore;
  }
  if (rows) {
    TakeRowInstants(model, *rows);
    model.SweepPoints = axisSweep;
  }
  if (instants) {
    TakeStepInstants(model, *instants);
    fineSteps.reset();
  }
  if (steps) {
    AddStepCharging(model, instants ? model.StepTime1 : StepProgramOf(model).SecondJump());
  } else {
    IntegrateCharge(model, rows.has_value());
  }
  ApplySignConvention(model);
  AddBaseline(model, inputs);
  CheckTotalCurrent(model, "");
  if (model.NoiseLevel > 0 && !model.FitMode) {
    AddNoise(model, model.TotalCurrentColumn);
    CheckTotalCurrent(model, "Noise (A) " + PlainNumber(model.NoiseLevel) +
                                 " puts the curve beyond the number range");
  }
  CopyColumnRows(model.ReactionCurrents, model.TotalCurrentColumn, model.CurrentY,
                 model.CurrentCurve, 1, model.NumberOfPoints);
  model.AcSpectrumPoints = 0;
  if (sine) StoreAcHarmonics(model);
  model.FirstPoint = 1;
  model.LastPoint = model.NumberOfPoints;
}

}  // namespace

SimulationOutcome RunSimulation(Model& model, const SimulationInputs& inputs) {
  SimulationOutcome outcome;
  // A spectrum is computed in the frequency domain, whatever engine is chosen; it is computed
  // whole or refused with the store as it was.
  if (model.Technique == Technique::kImpedance) {
    try {
      outcome.failure = RunImpedance(model, inputs.overlapChecked, inputs.pH.Get());
    } catch (const RuntimeError& error) {  // a pH beyond the number range
      outcome.failure = Failure{SimulationErrorMessage(model, error.Description())};
    }
    outcome.refused = outcome.failure.has_value();
    return outcome;
  }
  // Refused before anything is written: the previous curve stays as it was.
  if (const auto missing = MissingAnalyticalModel(model)) {
    outcome.failure = Failure{*missing};
    outcome.refused = true;
    return outcome;
  }
  SolverMessageTally ownTally;
  SolverMessageTally& tally = inputs.solverMessages ? *inputs.solverMessages : ownTally;
  tally.StartRun();
  try {
    Run(model, inputs, tally);
  } catch (const RuntimeError& error) {
    outcome.failure = Failure{SimulationErrorMessage(model, error.Description())};
  }
  if (!inputs.solverMessages) outcome.messages = ownTally.TakeMessages();
  return outcome;
}

void TurnRunColumns(Model& model) {
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    for (int c = 1; c <= 10; ++c)
      model.ReactionCurrents(i, c) = -model.ReactionCurrents(i, c);
    model.PassedCharge(i) = -model.PassedCharge(i);
  }
}

}  // namespace qalto
