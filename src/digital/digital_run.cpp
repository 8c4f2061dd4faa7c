#include "digital/digital_run.h"

#include <cmath>

#include "common/checked_math.h"
#include "common/constants.h"

namespace qalto {

namespace {

constexpr double kLevichVelocity = 0.51;  // coefficient of the normal velocity near the disk
constexpr double kNeutralPH = 7.0;

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
    q.E0 = m.ChargeE0(r);
    q.protons = m.ProtonCount(r);
  }
  return t;
}

// The slowest species sets the grid; the first one wins a tie.
double SmallestDiffusion(const Model& m) {
  double smallest = m.SpeciesD(1);
  for (int s = 2; s <= m.SpeciesCount; ++s) {
    if (m.SpeciesD(s) < smallest) smallest = m.SpeciesD(s);
  }
  return smallest;
}

GridInputs ReadGridInputs(const Model& m, double beta, double timeStep) {
  GridInputs in;
  in.electrode = m.Electrode;
  in.beta = beta;
  in.timeStep = timeStep;
  in.minDiffusion = SmallestDiffusion(m);
  in.radius = m.Radius;
  const int homogeneous = m.FirstOrderReactionCount + m.SecondOrderReactionCount;
  for (int i = 1; i <= homogeneous; ++i) {
    in.rateConstantSum += m.ForwardRateConstant(i) + m.BackwardRateConstant(i);
  }
  in.temperature = m.Temperature;
  in.potentialStep = m.PotentialStep;
  in.points = m.NumberOfPoints;
  in.kinematicViscosity = m.KinematicViscosity;
  in.rotationRate = m.RotationRate;
  in.filmThickness = m.ElectrodeLength;
  return in;
}

// a(s, j) = DM_s d1(j), c(s, j) = DM_s d2(j), diagonal 1 + a + c; at rotating electrodes the
// flow toward the electrode then moves a u h(j)^2 from a to c.
void BuildCoefficients(const Model& m, DigitalRun& run, double minDiffusion) {
  const DigitalGrid& g = run.grid;
  BlockSystem& sys = run.system;
  double u = 0.0;  // convection per unit h^2
  if (IsRotatingElectrode(m.Electrode)) {
    u = Div(kLevichVelocity * Pow(m.RotationRate, 1.5) * g.delta * run.timing.timeStep,
            2.0 * Sqrt(m.KinematicViscosity));
  }
  for (int s = 1; s <= run.species; ++s) {
    const double DM = Div(g.lambda * m.SpeciesD(s), minDiffusion);
    for (int j = 1; j <= g.boxes; ++j) {
      const double a = DM * g.d1[j];
      const double c = DM * g.d2[j];
      sys.diagonal[j][s][s] = 1.0 + a + c;
      sys.lower[j][s] = a - u * g.h[j] * g.h[j];
      sys.upper[j][s] = c + u * g.h[j] * g.h[j];
    }
  }
}

// A first-order reaction X = Y adds k'f to (X, X) and k'b to (Y, Y) and takes k'b from (X, Y)
// and k'f from (Y, X), in every box.
void AddFirstOrderReactions(const Model& m, DigitalRun& run) {
  const double dt = run.timing.timeStep;
  for (int i = 1; i <= m.FirstOrderReactionCount; ++i) {
    const int X = m.FirstOrderReactionSpecies(i, 1);
    const int Y = m.FirstOrderReactionSpecies(i, 2);
    const double kf = dt * m.ForwardRateConstant(i);
    const double kb = dt * m.BackwardRateConstant(i);
    for (int j = 1; j <= run.grid.boxes; ++j) {
      SpeciesMatrix& D = run.system.diagonal[j];
      if (X != 0) D[X][X] += kf;
      if (Y != 0) D[Y][Y] += kb;
      if (X != 0 && Y != 0) {
        D[X][Y] -= kb;
        D[Y][X] -= kf;
      }
    }
  }
}

void ReadSecondOrderReactions(const Model& m, DigitalRun& run) {
  SecondOrderStep& step = run.secondOrderStep;
  const double dt = run.timing.timeStep;
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
  run.secondOrder = m.SecondOrderReactionCount > 0;
}

void CheckFiniteCoefficients(const DigitalRun& run) {
  for (int j = 1; j <= run.grid.boxes; ++j) {
    for (int s = 1; s <= run.species; ++s) {
      for (int k = 1; k <= run.species; ++k)
        Checked(run.system.diagonal[j][s][k]);
      Checked(run.system.lower[j][s]);
      Checked(run.system.upper[j][s]);
    }
  }
}

}  // namespace

void PrepareDigitalRun(const Model& m, double beta, double pH, DigitalRun& run) {
  ValidateModel(m);
  run.technique = m.Technique;
  run.species = m.SpeciesCount;
  run.points = m.NumberOfPoints;
  run.sweepPoints = m.SweepPoints;
  run.totalColumn = m.TotalCurrentColumn;
  run.pulseHeight = m.PulsePotential;
  run.resistance = m.UncompensatedResistance;
  run.transfer = ReadChargeTransfer(m, pH);
  run.timing = TechniqueTiming(m.Technique, m.DropTime, m.PulseTime);
  run.Q1 = m.DoubleLayerCapacitance * std::abs(m.ScanRate);
  run.Q2 = Div(m.DoubleLayerCapacitance * m.UncompensatedResistance, run.timing.chargingTime);
  run.Q3 = run.Q2 + 1.0;

  const GridInputs gridInputs = ReadGridInputs(m, beta, run.timing.timeStep);
  run.grid = BuildDigitalGrid(gridInputs);
  run.currentScale = Div(kFaradayPerMilliMol * m.ElectrodeArea, run.grid.currentDivisor);

  BlockSystem& sys = run.system;
  sys.species = run.species;
  sys.boxes = run.grid.boxes;
  for (int j = 0; j <= sys.boxes + 1; ++j) {
    sys.lower[j] = SpeciesVector{};
    sys.upper[j] = SpeciesVector{};
    sys.diagonal[j] = SpeciesMatrix{};
  }
  BuildCoefficients(m, run, gridInputs.minDiffusion);
  AddFirstOrderReactions(m, run);
  CheckFiniteCoefficients(run);
  ReadSecondOrderReactions(m, run);
  if (run.secondOrder) KeepLinearBlocks(sys, run.secondOrderStep);

  SpeciesVector g{};  // surface conductance D / (delta h(1)), cm/s
  for (int s = 1; s <= run.species; ++s) {
    g[s] = Div(m.SpeciesD(s), run.grid.delta * run.grid.h[1]);
    run.bulk[s] = m.SpeciesC(s);
  }
  run.surfaceRows = PlanSurfaceRows(run.transfer, run.species, g);
  WriteSurfaceSource(run.surfaceRows, run.transfer, sys.surfaceSource);
  run.elimination.ready = false;

  run.potential.assign(static_cast<size_t>(run.points) + 1, 0.0);
  for (int i = 0; i <= run.points; ++i)
    run.potential[static_cast<size_t>(i)] = m.PotentialX(i);
  ResetProfile(run);
  sys.current[sys.boxes + 1] = run.bulk;
}

void ResetProfile(DigitalRun& run) {
  for (int j = 0; j <= run.system.boxes; ++j) {
    run.system.previous[j] = run.bulk;
    run.system.current[j] = run.bulk;
  }
}

}  // namespace qalto
