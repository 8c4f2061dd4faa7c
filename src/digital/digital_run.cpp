#include "digital/digital_run.h"

#include <algorithm>
#include <cmath>

#include "common/checked_math.h"
#include "common/constants.h"
#include "common/plain_number.h"
#include "digital/rotating_flow.h"
#include "digital/species_count_dispatch.h"
#include "model/experiment_table.h"
#include "model/point_time.h"
#include "simulation/marcus_hush_rate.h"
#include "simulation/program_samples.h"
#include "simulation/step_program.h"

namespace qalto {

namespace {

constexpr double kNeutralPH = 7.0;
// Sub-steps of a potential program's digital run: about a minute and a half of a planar run.
constexpr double kMostProgramSubSteps = 1e7;

void CheckSpecies(int species, int count) {
  if (species < 0 || species > count) throw RuntimeError::SubscriptOutOfRange();
}

void ValidateModel(const Model& m) {
  if (m.SpeciesCount < 1 || m.SpeciesCount > kMaxSpecies) {
    throw RuntimeError::SubscriptOutOfRange();
  }
  if (m.ChargeReactionCount < 0 || m.ChargeReactionCount > kMaxChargeReactions) {
    throw RuntimeError::SubscriptOutOfRange();
  }
  const int homogeneous = m.FirstOrderReactionCount + m.SecondOrderReactionCount;
  if (m.FirstOrderReactionCount < 0 || m.SecondOrderReactionCount < 0 ||
      homogeneous >= m.ForwardRateConstant.Size()) {
    throw RuntimeError::SubscriptOutOfRange();
  }
  if (m.NumberOfPoints < 0 || m.NumberOfPoints > kMaxPoints) {
    throw RuntimeError::SubscriptOutOfRange();
  }
  const int S = m.SpeciesCount;
  for (int r = 1; r <= m.ChargeReactionCount; ++r) {
    CheckSpecies(m.ChargeReactionSpecies(r, 1), S);
    CheckSpecies(m.ChargeReactionSpecies(r, 2), S);
  }
  for (int i = 1; i <= m.FirstOrderReactionCount; ++i) {
    CheckSpecies(m.FirstOrderReactionSpecies(i, 1), S);
    CheckSpecies(m.FirstOrderReactionSpecies(i, 2), S);
  }
  for (int i = 1; i <= m.SecondOrderReactionCount; ++i) {
    for (int k = 1; k <= 4; ++k)
      CheckSpecies(m.SecondOrderReactionSpecies(i, k), S);
  }
}

ChargeTransfer ReadChargeTransfer(const Model& m, double pH) {
  ChargeTransfer t;
  t.count = m.ChargeReactionCount;
  t.FOverRT = m.FOverRT;
  t.pHTerm = (pH - kNeutralPH) * kLn10;
  for (int r = 1; r <= t.count; ++r) {
    ChargeReaction& q = t.reactions[r];
    q.ox = m.ChargeReactionSpecies(r, 1);
    q.red = m.ChargeReactionSpecies(r, 2);
    q.nuO = m.ChargeReactionStoich(r, 1);
    q.nuR = m.ChargeReactionStoich(r, 2);
    q.n = m.ChargeN(r);
    q.ks = m.ChargeKs(r);
    q.alpha = m.ChargeAlpha(r);
    q.marcusHush.reset();
    if (const double L = MarcusHushReorganisation(m, r); L > 0) q.marcusHush.emplace(L);
    q.E0 = m.ChargeE0(r);
    q.protons = m.ProtonCount(r);
  }
  return t;
}

// The slowest dissolved species sets the fineness of the grid, the fastest its extent; a layer
// without dissolved species keeps a grid of the usual D, whose boxes nothing fills.
constexpr double kLayerOnlyDiffusion = 1e-5;  // cm2/s

double SmallestDiffusion(const Model& m) {
  double smallest = HUGE_VAL;
  for (int s = 1; s <= m.SpeciesCount; ++s) {
    if (m.SpeciesAdsorbed(s) == 0) smallest = std::min(smallest, m.SpeciesD(s));
  }
  return smallest == HUGE_VAL ? kLayerOnlyDiffusion : smallest;
}
double LargestDiffusion(const Model& m) {
  double largest = -HUGE_VAL;
  for (int s = 1; s <= m.SpeciesCount; ++s) {
    if (m.SpeciesAdsorbed(s) == 0) largest = std::max(largest, m.SpeciesD(s));
  }
  return largest == -HUGE_VAL ? kLayerOnlyDiffusion : largest;
}

// The diffusion coefficient of species s in the boxes, cm2/s: 0 for an adsorbed one.
double BoxDiffusion(const Model& m, int s) {
  return m.SpeciesAdsorbed(s) != 0 ? 0.0 : m.SpeciesD(s);
}

// Fastest pseudo-first-order rate of the homogeneous reactions, 1/s: a second-order rate counts
// with the largest bulk concentration as its partner.
double FastestReaction(const Model& m) {
  double largestC = 0.0;
  for (int s = 1; s <= m.SpeciesCount; ++s)
    largestC = std::max(largestC, m.SpeciesC(s));
  double fastest = 0.0;
  for (int i = 1; i <= m.FirstOrderReactionCount + m.SecondOrderReactionCount; ++i) {
    if (i <= m.FirstOrderReactionCount && IsSurfaceStep(m, i)) continue;
    const double partner = i > m.FirstOrderReactionCount ? largestC : 1.0;
    fastest = std::max(fastest, partner * (m.ForwardRateConstant(i) + m.BackwardRateConstant(i)));
  }
  return fastest;
}

GridInputs ReadGridInputs(const Model& m, double beta, const DigitalTiming& timing,
                          int refinement) {
  GridInputs in;
  in.electrode = m.Electrode;
  in.beta = beta;
  in.shortestStep = *std::min_element(timing.stepLengths.begin(), timing.stepLengths.end());
  // A sweep's sub-steps follow its ramp in time; its profile changes over a point's time, which
  // sets the first box as before the sub-steps (a refined run halves it).
  if (timing.ramp && timing.stepPlans.empty())
    in.shortestStep *= static_cast<double>(timing.fractions.size()) / refinement;
  in.minDiffusion = SmallestDiffusion(m);
  in.maxDiffusion = LargestDiffusion(m);
  in.radius = m.Radius;
  in.reactionRate = FastestReaction(m);
  double pointTime = 0.0;  // s
  for (int p = 0; p < timing.pieceCount; ++p)
    pointTime += timing.pieces[static_cast<size_t>(p)].length;
  in.duration = timing.freshProfile ? pointTime : pointTime * std::max(m.NumberOfPoints, 1);
  in.kinematicViscosity = m.KinematicViscosity;
  in.rotationRate = m.RotationRate;
  in.layerScale = IsRotatingElectrode(m.Electrode) ? LayerScale(m) : 1.0;
  in.filmThickness = m.ElectrodeLength;
  in.refinement = refinement;
  return in;
}

// a(s, j) = D_s dt / dx1^2 d1(j), c(s, j) = D_s dt / dx1^2 d2(j), diagonal 1 + a + c. At a
// rotating electrode the flow v = -u x^2 of rotating_flow.h adds dt u x^2 dC/dx at the box
// centre: a central difference on the real spacings where it keeps a(s, j) positive (second
// order, no numerical diffusion), the upwind difference from the outer box where the flow
// dominates (the cell Peclet number beyond about 2), so that the step stays stable at every
// rotation rate.
void BuildCoefficients(const Model& m, const DigitalGrid& g, double dt, BlockSystem& sys) {
  const double u = FlowCoefficient(m);  // 1/(cm s)
  const double dx = g.firstBox;
  for (int j = 1; j <= g.boxes; ++j) {
    const double inner = j > 1 ? g.h[j - 1] : 0.0;
    const double below = g.h[j] - inner;  // distance to the inner centre (or the surface)
    const double above = g.h[j + 1] - g.h[j];
    const double w = dt * u * g.h[j] * g.h[j] * dx;  // dt |v| / dx1 at the centre
    for (int s = 1; s <= sys.species; ++s) {
      if (m.SpeciesAdsorbed(s) != 0) {  // on the surface: no diffusion, no flow
        sys.diagonal[j][s][s] = 1.0;
        sys.lower[j][s] = sys.upper[j][s] = 0.0;
        continue;
      }
      const double DM = Div(BoxDiffusion(m, s) * dt, dx * dx);
      double a = DM * g.d1[j];
      double c = DM * g.d2[j];
      double diagonal = 1.0 + a + c;
      const double centralInner = w * above / (below * (above + below));
      if (w > 0.0 && a >= centralInner) {
        const double centralOuter = w * below / (above * (above + below));
        a -= centralInner;
        c += centralOuter;
        diagonal += centralOuter - centralInner;
      } else if (w > 0.0) {
        c += w / above;
        diagonal += w / above;
      }
      sys.diagonal[j][s][s] = diagonal;
      sys.lower[j][s] = a;
      sys.upper[j][s] = c;
    }
  }
}

// A first-order reaction X = Y adds k'f to (X, X) and k'b to (Y, Y) and takes k'b from (X, Y)
// and k'f from (Y, X), in every box.
void AddFirstOrderReactions(const Model& m, int boxes, double dt, BlockSystem& sys) {
  for (int i = 1; i <= m.FirstOrderReactionCount; ++i) {
    if (IsSurfaceStep(m, i)) continue;  // solved with the surface
    const int X = m.FirstOrderReactionSpecies(i, 1);
    const int Y = m.FirstOrderReactionSpecies(i, 2);
    const double kf = dt * m.ForwardRateConstant(i);
    const double kb = dt * m.BackwardRateConstant(i);
    for (int j = 1; j <= boxes; ++j) {
      SpeciesMatrix& D = sys.diagonal[j];
      if (X != 0) D[X][X] += kf;
      if (Y != 0) D[Y][Y] += kb;
      if (X != 0 && Y != 0) {
        D[X][Y] -= kb;
        D[Y][X] -= kf;
      }
    }
  }
}

void ReadSecondOrderReactions(const Model& m, double dt, SecondOrderStep& step) {
  step.reactionCount = m.SecondOrderReactionCount;
  for (int i = 1; i <= m.SecondOrderReactionCount; ++i) {
    SecondOrderReaction& q = step.reactions[i - 1];
    q.reactantA = m.SecondOrderReactionSpecies(i, 1);
    q.reactantB = m.SecondOrderReactionSpecies(i, 2);
    q.productC = m.SecondOrderReactionSpecies(i, 3);
    q.productD = m.SecondOrderReactionSpecies(i, 4);
    q.forward = dt * m.ForwardRateConstant(m.FirstOrderReactionCount + i);
    q.backward = dt * m.BackwardRateConstant(m.FirstOrderReactionCount + i);
  }
}

void CheckFiniteCoefficients(const BlockSystem& sys) {
  for (int j = 1; j <= sys.boxes; ++j) {
    for (int s = 1; s <= sys.species; ++s) {
      for (int k = 1; k <= sys.species; ++k)
        Checked(sys.diagonal[j][s][k]);
      Checked(sys.lower[j][s]);
      Checked(sys.upper[j][s]);
    }
  }
}

// The equations of one sub-step length, their surface rows' right-hand side and the bulk.
void BuildLevel(const Model& m, const DigitalRun& run, double length, double growth,
                StepLevel* level) {
  const double alpha = growth > 0.0 ? (1.0 + 2.0 * growth) / (1.0 + growth) : 1.0;
  const double dt = length / alpha;
  level->timeStep = dt;
  level->newer = growth > 0.0 ? (1.0 + growth) / alpha : 1.0;
  level->older = growth > 0.0 ? -growth * growth / ((1.0 + growth) * alpha) : 0.0;
  BlockSystem& sys = level->system;
  sys.species = run.species;
  sys.boxes = run.grid.boxes;
  for (int j = 0; j <= sys.boxes + 1; ++j) {
    sys.lower[j] = SpeciesVector{};
    sys.upper[j] = SpeciesVector{};
    sys.diagonal[j] = SpeciesMatrix{};
  }
  BuildCoefficients(m, run.grid, dt, sys);
  AddFirstOrderReactions(m, sys.boxes, dt, sys);
  CheckFiniteCoefficients(sys);
  ReadSecondOrderReactions(m, dt, level->secondOrderStep);
  if (run.secondOrder) KeepLinearBlocks(sys, level->secondOrderStep);
  if (run.layer.active) {
    // The layer's surface: each dissolved species' conductance, 1/dt for an adsorbed one, whose
    // box 1 holds the start of its step.
    sys.surfaceSource = SpeciesMatrix{};
    for (int s = 1; s <= sys.species; ++s)
      sys.surfaceSource[s][s] = run.layer.adsorbed[s] ? Div(1.0, dt) : run.conductance[s];
  } else {
    WriteSurfaceSource(run.surfaceRows, run.transfer, sys.surfaceSource);
  }
  ClearSurfaceRows(sys.surface);
  level->elimination.ready = false;
  sys.current[sys.boxes + 1] = run.bulk;
}

bool HasEdgeGrid(Electrode electrode) {
  const GridGeometry grid = RowOf(electrode).grid;
  return grid == GridGeometry::kDisc || grid == GridGeometry::kBand;
}

// The model holds the radius r of the hemisphere with the microdisc's steady state, the disc's
// radius being a = pi r / 2, and the radius w / 4 of a half cylinder for the band of width w.
double EdgeGridRadius(const Model& m) {
  if (RowOf(m.Electrode).grid == GridGeometry::kBand) return 2.0 * m.Radius;  // half-width
  return kPi * m.Radius / 2.0;
}

// The electrode's own area: pi a^2 for the disc, its width times its length for the band.
double EdgeGridArea(const Model& m) {
  const double a = EdgeGridRadius(m);
  if (RowOf(m.Electrode).grid == GridGeometry::kBand) return 2.0 * a * m.ElectrodeLength;
  return kPi * a * a;
}

// The disc's or the band's own grid and equations.
void PrepareDisc(const Model& m, const GridInputs& in, const DigitalRun& run, DiscRun& disc) {
  DiscGridInputs d;
  d.band = RowOf(m.Electrode).grid == GridGeometry::kBand;
  d.radius = EdgeGridRadius(m);
  d.shortestStep = in.shortestStep;
  d.minDiffusion = in.minDiffusion;
  d.maxDiffusion = in.maxDiffusion;
  d.reactionRate = in.reactionRate;
  d.duration = in.duration;
  d.refinement = in.refinement;
  if (m.SecondOrderReactionCount > 0) {
    throw RuntimeError(
        "Invalid procedure call or argument: second-order reactions are not "
        "simulated at the microdisc and the band");
  }
  std::vector<double> diffusion(static_cast<size_t>(run.species) + 1, 0.0);
  for (int s = 1; s <= run.species; ++s)
    diffusion[s] = m.SpeciesD(s);
  std::vector<DiscReaction> reactions;
  for (int i = 1; i <= m.FirstOrderReactionCount; ++i) {
    reactions.push_back({m.FirstOrderReactionSpecies(i, 1), m.FirstOrderReactionSpecies(i, 2),
                         m.ForwardRateConstant(i), m.BackwardRateConstant(i)});
  }
  PrepareDiscRun(BuildDiscGrid(d), diffusion, reactions, run.transfer, run.timing.stepLengths,
                 run.timing.stepGrowth, run.bulk, disc);
}

// The run's points 1..run.points from the program's samples: their potentials (not PotentialX:
// a fit's measured E), the begin potentials and the places after the jumps; returns the largest
// ramp over one interval, V.
double TakeProgramPoints(const ProgramSamples& s, DigitalRun& run) {
  if (s.Count() < run.points) throw RuntimeError::SubscriptOutOfRange();
  run.begin.assign(static_cast<size_t>(run.points) + 1, s.rest);
  run.sinceJump.assign(static_cast<size_t>(run.points) + 1, 0);
  run.potential.assign(static_cast<size_t>(run.points) + 1, s.rest);
  double largestRamp = 0.0;  // V over one interval
  int since = 0;
  for (int k = 0; k < run.points; ++k) {
    const size_t i = static_cast<size_t>(k) + 1;
    run.begin[i] = s.begin[static_cast<size_t>(k)];
    run.potential[i] = s.potential[static_cast<size_t>(k)];
    since = s.JumpsAt(k) ? 1 : (since > 0 ? since + 1 : 0);
    run.sinceJump[i] = since;
    largestRamp = std::max(largestRamp, std::abs(s.potential[i - 1] - run.begin[i]));
  }
  return largestRamp;
}

// The potential program's timing: its ramps in steps of at most 1 mV (as a sweep's), and finer
// steps after each jump; fills the run's begin potentials and places after the jumps.
DigitalTiming ProgramTiming(const Model& m, int refinement, DigitalRun& run) {
  const ProgramSamples s = SampleProgram(m.Program, m.SampleTime, m.StartPotential);
  if (s.Count() != run.points) throw RuntimeError::SubscriptOutOfRange();
  run.sampleInterval = s.interval;
  const double largestRamp = TakeProgramPoints(s, run);
  DigitalTiming timing =
      TechniqueTiming(m.Technique, s.interval, m.PulseTime, largestRamp, refinement);
  // Every sample takes the sub-steps of the steepest ramp: a steep ramp in a long program
  // would take hours, and is refused before the first step.
  const double subSteps = static_cast<double>(timing.fractions.size()) * s.Count();
  if (subSteps > kMostProgramSubSteps) {
    throw RuntimeError(
        "Too many time steps: " + PlainNumber(subSteps) + " (" + std::to_string(s.Count()) +
        " samples of " + std::to_string(timing.fractions.size()) + " for a ramp of " +
        PlainNumber(largestRamp) + " V within one t sample (s) " + PlainNumber(s.interval) +
        "), the digital simulation takes at most " + PlainNumber(kMostProgramSubSteps) +
        " (a gentler ramp or a shorter program)");
  }
  if (s.HasJump()) AddJumpPlans(timing, s.interval, refinement);
  return timing;
}

// AC voltammetry: sub-steps that follow the sine and the base in steps of at most the sweep's
// largest; on the potential program, its points and finer steps after its jumps as well.
DigitalTiming AcTiming(const Model& m, int refinement, DigitalRun& run) {
  DigitalTiming timing =
      TechniqueTiming(m.Technique, run.ac.sample, m.PulseTime, run.ac.LargestStep(), refinement);
  if (!run.ac.onProgram) return timing;
  TakeProgramPoints(run.ac.base, run);
  if (run.ac.base.HasJump()) AddJumpPlans(timing, run.ac.sample, refinement);
  return timing;
}

}  // namespace

void PrepareDigitalRun(const Model& m, double beta, double pH, int refinement, DigitalRun& run) {
  ValidateModel(m);
  run.technique = m.Technique;
  run.species = m.SpeciesCount;
  run.points = m.NumberOfPoints;
  run.sweepPoints = m.SweepPoints;
  run.totalColumn = m.TotalCurrentColumn;
  run.pulseHeight = m.PulsePotential;
  run.resistance = m.UncompensatedResistance;
  run.refinement = refinement;
  run.transfer = ReadChargeTransfer(m, pH);
  if (const auto problem = SurfaceLayerProblem(m))
    throw RuntimeError("Invalid procedure call or argument: " + *problem);
  run.layer = ReadSurfaceLayer(m);
  run.begin.clear();
  run.sinceJump.clear();
  run.sampleInterval = 0.0;
  run.sine = m.Technique == Technique::kAcVoltammetry;
  if (run.sine) run.ac = AcProgramOf(m);
  if (m.Technique == Technique::kPotentialProgram) {
    run.timing = ProgramTiming(m, refinement, run);
  } else if (run.sine) {
    run.timing = AcTiming(m, refinement, run);
  } else {
    run.timing =
        TechniqueTiming(m.Technique, PointTime(m), m.PulseTime, m.PotentialStep, refinement);
  }
  run.capacitance = m.DoubleLayerCapacitance;
  run.capacitanceSlope = m.CapacitanceSlope;
  run.capacitanceCurvature = m.CapacitanceCurvature;
  run.absScanRate = std::abs(m.ScanRate);
  // A charging time of 0 is refused by the cell constant's division, as it always was.
  run.ruOverCharging =
      run.timing.chargingTime == 0
          ? Div(m.DoubleLayerCapacitance * m.UncompensatedResistance, run.timing.chargingTime)
          : Checked(m.UncompensatedResistance / run.timing.chargingTime);

  run.currentScale = kFaradayPerMilliMol * m.ElectrodeArea;
  run.secondOrder = m.SecondOrderReactionCount > 0;
  if (run.begin.empty()) {  // a potential program's are its samples
    run.potential.resize(static_cast<size_t>(run.points) + 1);  // every element written below
    for (int i = 0; i <= run.points; ++i)
      run.potential[static_cast<size_t>(i)] = m.PotentialX(i);
  }
  run.firstStepPoints = 0;
  if (m.Technique == Technique::kChronoamperometry) {
    // The x column holds times; the double layer's charging is added by the driver.
    const StepProgram program = StepProgramOf(m);
    for (int i = 0; i <= run.points; ++i)
      run.potential[static_cast<size_t>(i)] = program.PotentialAt(i);
    run.firstStepPoints = program.firstPoints;
    run.absScanRate = 0.0;
    run.ruOverCharging = 0.0;
  }
  run.pointRates.resize(run.potential.size());
  for (int s = 1; s <= run.species; ++s) {
    run.bulk[s] = run.layer.adsorbed[s] ? kGammaPerMolPerCm2 * m.SpeciesGamma(s) : m.SpeciesC(s);
  }
  // The layer at rest at E start, as the solution's concentrations are.
  if (run.layer.active && m.PreEquilibrate)
    EquilibrateCouples(run.layer, run.transfer, m.StartPotential, run.bulk);
  const GridInputs gridInputs = ReadGridInputs(m, beta, run.timing, refinement);
  if (HasEdgeGrid(m.Electrode)) {
    run.currentScale = kFaradayPerMilliMol * EdgeGridArea(m);
    if (!run.disc) run.disc = std::make_unique<DiscRun>();
    PrepareDisc(m, gridInputs, run, *run.disc);
    return;
  }
  run.disc.reset();
  run.grid = BuildDigitalGrid(gridInputs);

  SpeciesVector g{};  // surface conductance D / (dx1 h(1)) x the geometry's factor, cm/s
  for (int s = 1; s <= run.species; ++s) {
    g[s] = Div(BoxDiffusion(m, s) * run.grid.surfaceFactor, run.grid.firstBox * run.grid.h[1]);
  }
  run.conductance = g;
  run.surfaceRows = PlanSurfaceRows(run.transfer, run.species, g);
  run.kinetics = ReduceSurfaceKinetics(run.surfaceRows, run.transfer, run.currentScale);
  // Levels left by an earlier run are rebuilt in place: their tables are large.
  const size_t count = run.timing.stepLengths.size();
  while (run.levels.size() < count)
    run.levels.push_back(std::make_unique_for_overwrite<StepLevel>());
  run.keepsOlder = false;
  for (size_t k = 0; k < count; ++k) {
    const double growth = run.timing.stepGrowth[k];
    BuildLevel(m, run, run.timing.stepLengths[k], growth, run.levels[k].get());
    run.keepsOlder |= growth > 0.0;
  }
  for (size_t k = 0; k < count; ++k) {
    StepLevel& l = *run.levels[k];
    l.inPlace = l.newer == 1.0 && l.older == 0.0 && !run.keepsOlder;
  }
  run.latest = 0;
  run.latestStartSet = false;
  ResetProfile(run);
}

void ResetProfile(DigitalRun& run) {
  if (run.disc) {
    ResetDiscProfile(*run.disc, run.bulk);
    return;
  }
  run.layerSurface = run.bulk;
  BlockSystem& sys = run.levels[static_cast<size_t>(run.latest)]->system;
  for (int j = 0; j <= sys.boxes; ++j) {
    sys.current[j] = run.bulk;
    run.older[j] = run.bulk;
  }
}

namespace {

// The start profile of a step and, when some level needs it, the profile before the latest; S
// is a template argument so that the loops over the species unroll.
template <int S>
struct StartProfile {
  static void Run(const std::array<SpeciesVector, kGridSlots>& latest, StepLevel& level,
                  std::array<SpeciesVector, kGridSlots>& older, bool keepOlder) {
    auto& previous = level.system.previous;
    const int N = level.system.boxes;
    for (int j = 1; j <= N; ++j) {
      for (int s = 1; s <= S; ++s) {
        const double now = latest[j][s];
        previous[j][s] = level.newer * now + level.older * older[j][s];
        if (keepOlder) older[j][s] = now;
      }
    }
  }
};

}  // namespace

void StartStepAnew(DigitalRun& run, int level) {
  run.latestStartSet = false;
  if (run.disc) {
    StartDiscStep(*run.disc, level);
    return;
  }
  StepLevel& l = *run.levels[static_cast<size_t>(level)];
  StepStart& start = l.system.start;
  // A linear step on the level that holds the latest profile reads its start from there as it
  // sweeps (the second-order iteration and the adsorbed layer keep their start profile apart).
  if (level != run.latest || run.secondOrder || run.layer.active) {
    start.from = StepStart::From::kPrevious;
    ForSpeciesCount<StartProfile>(run.species, LatestProfile(run), l, run.older, run.keepsOlder);
  } else {
    if (l.inPlace) {
      start.from = StepStart::From::kCurrent;
    } else {
      start = {StepStart::From::kBlend, l.newer, l.older, &run.older};
    }
    run.latestStartSet = true;
  }
  run.latest = level;
}

}  // namespace qalto
