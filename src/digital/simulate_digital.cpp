#include "digital/simulate_digital.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "common/checked_math.h"
#include "common/run_monitor.h"
#include "digital/digital_run.h"
#include "digital/solve_linear_step.h"
#include "digital/solve_second_order_step.h"

namespace qalto {

namespace {

using ReactionValues = std::array<double, kMaxChargeReactions + 1>;

constexpr double kDropTolerance = 1e-8;  // V: the interfacial potential is settled
constexpr int kMaxDropIterations = 30;

// Current of each charge reaction at the surface concentrations just computed, A.
void ReactionCurrentsNow(const DigitalRun& run, const ChargeRates& rates,
                         ReactionValues& currents) {
  const SpeciesVector& surface = LatestProfile(run)[0];
  for (int r = 1; r <= run.transfer.count; ++r) {
    const ChargeReaction& q = run.transfer.reactions[r];
    const double rate = NetReductionRate(q, rates.forward[r], rates.backward[r], surface);
    currents[r] = run.currentScale * q.n * rate;
  }
}

double Sum(const DigitalRun& run, const ReactionValues& currents) {
  double sum = 0.0;
  for (int r = 1; r <= run.transfer.count; ++r)
    sum += currents[r];
  return sum;
}

// Solves the sub-step already started on its level with the electrode at the interfacial
// potential E (V); leaves the currents of the reactions in now.
void SolveAt(DigitalRun& run, Model& model, double E, const ShowMessage& showMessage,
             ReactionValues& now) {
  ChargeRates rates;
  ComputeChargeRates(run.transfer, E, rates);
  if (run.disc) {
    SolveDiscStep(*run.disc, run.transfer, rates, showMessage);
    for (int r = 1; r <= run.transfer.count; ++r) {
      const double rate = DiscReductionRate(*run.disc, run.transfer, rates, r);
      now[r] = run.currentScale * run.transfer.reactions[r].n * rate;
    }
    return;
  }
  StepLevel& level = *run.levels[static_cast<size_t>(run.latest)];
  WriteSurfaceRows(run.surfaceRows, run.transfer, rates, level.system.surface);
  if (run.secondOrder) {
    SolveSecondOrderStep(level.system, level.elimination, level.secondOrderStep, model.MaxIteration,
                         showMessage);
  } else {
    SolveLinearStep(level.system, level.elimination, showMessage);
  }
  ReactionCurrentsNow(run, rates, now);
}

// The total current that a faradaic current I (A) makes through the charging circuit at the
// applied potential E (V), with the previous point's total current previousTotal (A) and the
// applied potential's rate of change (V/s). Under a sine the drop Ru I changes by the
// second-order difference over the two points before (olderTotal the total current of the one
// before the previous): the first-order one would lose w Ru Cd w dt / 2 of the charging
// current's amplitude.
double TotalCurrent(const DigitalRun& run, double E, double faradaic, double rate,
                    double previousTotal, double olderTotal) {
  const double cd = run.capacitance + (run.capacitanceSlope + run.capacitanceCurvature * E) * E;
  const double q2 = cd * run.ruOverCharging;  // RC / tc
  if (run.sine)
    return Div(faradaic - cd * rate + q2 * (2.0 * previousTotal - 0.5 * olderTotal),
               1.5 * q2 + 1.0);
  return Div(faradaic - cd * rate + q2 * previousTotal, q2 + 1.0);
}

// Solves the sub-step at the applied potential E with the ohmic drop inside the step: the
// interfacial potential x = E + Ru I(x) is the root of F(x) = x - E - Ru I(x), which grows
// with x (I falls as x rises), found by the secant method kept inside a bracket of the root
// (regula falsi, Illinois variant) starting from the current of the previous sub-step.
void SolveWithDrop(DigitalRun& run, Model& model, double E, double rate, double previousTotal,
                   double olderTotal, double& lastTotal, const ShowMessage& showMessage,
                   ReactionValues& now) {
  const double Ru = run.resistance;
  auto residual = [&](double x) {
    SolveAt(run, model, x, showMessage, now);
    lastTotal = TotalCurrent(run, E, Sum(run, now), rate, previousTotal, olderTotal);
    return x - E - Ru * lastTotal;
  };
  double a = E + Ru * lastTotal;
  double Fa = residual(a);
  if (Fa == 0.0) return;
  // Walk away from a, doubling the step, until the residual changes sign.
  double step = std::max(std::abs(Fa), 1e-3);
  double b = a;
  double Fb = Fa;
  for (int k = 0; k < 60 && (Fb < 0.0) == (Fa < 0.0); ++k) {
    b = Fa < 0.0 ? b + step : b - step;
    Fb = residual(b);
    step *= 2.0;
  }
  int side = 0;
  double x = b;
  for (int iteration = 0; iteration < kMaxDropIterations; ++iteration) {
    x = b - Fb * (b - a) / (Fb - Fa);
    const double Fx = residual(x);
    if (std::abs(Fx) < kDropTolerance || std::abs(b - a) < kDropTolerance) return;
    if ((Fx < 0.0) == (Fb < 0.0)) {
      b = x;
      Fb = Fx;
      if (side == -1) Fa /= 2.0;
      side = -1;
    } else {
      a = x;
      Fa = Fx;
      if (side == 1) Fb /= 2.0;
      side = 1;
    }
  }
  if (x != b) residual(b);  // leave the step solved at the best estimate
}

struct PointContext {
  int direction = 0;         // sign of E(i) - E(i-1)
  double rate = 0;           // dE/dt of the applied potential at the point, V/s
  int scanSign = 1;          // direction of the staircase at this point
  double previousTotal = 0;  // total current of the previous point, A
  double olderTotal = 0;     // total current of the point before that, A
  double lastTotal = 0;      // total current of the latest sub-step, A
  // Potential steps: the charge of the latest sub-step and the charge since the start (C).
  double stepCharge = 0;
  double charge = 0;
};

// The charge a sub-step passes as the difference equations count it, so that it is the amount
// they convert: a step of length h growing by w over the one before is a backward-Euler step of
// h (1 + w)/(1 + 2w) from the start profile that takes w^2/((1 + w)(1 + 2w)) of the change of
// the step before back, q = h' I - older q_before; the first after a jump (w = 0) is h I.
double SubStepCharge(double length, double growth, double current, double before) {
  if (!(growth > 0.0)) return length * current;
  const double alpha = (1.0 + 2.0 * growth) / (1.0 + growth);
  const double older = -growth * growth / ((1.0 + growth) * alpha);
  return length / alpha * current - older * before;
}

// The sub-steps of point i; returns the column value of each charge reaction and, in first and
// last, the totals at the end of the first and the last piece.
ReactionValues RunPoint(DigitalRun& run, Model& model, int i, PointContext& c, double& first,
                        double& last, const ShowMessage& showMessage) {
  const DigitalTiming& t = run.timing;
  const double E = run.potential[static_cast<size_t>(i)];
  const double before = run.potential[static_cast<size_t>(i - 1)];
  const double pulse = i <= run.sweepPoints ? run.pulseHeight : -run.pulseHeight;
  ReactionValues firstEnd{};
  ReactionValues now{};
  const bool steps = run.firstStepPoints > 0;
  const int sinceJump = i > run.firstStepPoints ? i - run.firstStepPoints : i;
  for (int p = 0; p < t.pieceCount; ++p) {
    const TimePiece& piece = steps ? StepPlan(t, sinceJump) : t.pieces[static_cast<size_t>(p)];
    const double applied =
        PiecePotentialValue(piece.potential, E, pulse, run.pulseHeight, c.scanSign);
    const int m = static_cast<int>(piece.levels.size());  // sub-steps of the piece
    for (int k = 0; k < m; ++k) {
      const int level = piece.levels[static_cast<size_t>(k)];
      StartStep(run, level);
      // A refined sweep moves through the point's interval in equal steps.
      double Ek = t.ramp ? before + (E - before) * (k + 1.0) / m : applied;
      if (run.sine) Ek += run.ac.SineAt(i - 1 + (k + 1.0) / m);
      if (run.resistance > 0.0) {
        SolveWithDrop(run, model, Ek, c.rate, c.previousTotal, c.olderTotal, c.lastTotal,
                      showMessage, now);
      } else {
        SolveAt(run, model, Ek, showMessage, now);
      }
      if (steps) {
        const size_t at = static_cast<size_t>(level);
        c.stepCharge =
            SubStepCharge(t.stepLengths[at], t.stepGrowth[at], Sum(run, now), c.stepCharge);
        c.charge += c.stepCharge;
      }
    }
    if (p == 0) {
      firstEnd = now;
      first = Sum(run, now);
    }
  }
  last = Sum(run, now);
  ReactionValues column{};
  for (int r = 1; r <= run.transfer.count; ++r)
    column[r] = t.lastWeight * now[r] + t.firstWeight * firstEnd[r];
  return column;
}

int ScanSign(const DigitalRun& run, int i) {
  const auto& E = run.potential;
  int s = Sgn(E[static_cast<size_t>(i)] - E[static_cast<size_t>(i - 1)]);
  if (s == 0 && i < run.points) s = Sgn(E[static_cast<size_t>(i + 1)] - E[static_cast<size_t>(i)]);
  return s == 0 ? 1 : s;
}

}  // namespace

void SimulateDigital(Model& model, const DigitalInputs& inputs, const ShowMessage& showMessage) {
  model.MaxIteration = 0;
  const double beta = inputs.expandingGrid.Get();  // grid expansion factor
  const double pH = inputs.pH.Get();
  // The work tables are large and the run clears the boxes it uses: no need to zero them, and
  // the tables of the last run on this thread serve the next one.
  thread_local std::unique_ptr<DigitalRun> kept;
  if (!kept) kept = std::make_unique_for_overwrite<DigitalRun>();
  DigitalRun* run = kept.get();
  PrepareDigitalRun(model, beta, pH, inputs.refinement, *run);

  PointContext c;
  // The square wave keeps both half-period currents.
  const bool halves = run->technique == Technique::kSquareWave;
  for (int i = 1; i <= run->points; ++i) {
    if (run->timing.freshProfile) ResetProfile(*run);
    const auto& E = run->potential;
    c.direction = Sgn(E[static_cast<size_t>(i)] - E[static_cast<size_t>(i - 1)]);
    c.scanSign = ScanSign(*run, i);
    c.rate = run->sine ? run->ac.RateAt(i) : c.direction * run->absScanRate;
    double first = 0.0;
    double last = 0.0;
    const ReactionValues column = RunPoint(*run, model, i, c, first, last, showMessage);
    for (int r = 1; r <= run->transfer.count; ++r)
      model.ReactionCurrents(i, r) = Checked(column[r]);
    const double applied = E[static_cast<size_t>(i)] + (run->sine ? run->ac.SineAt(i) : 0.0);
    const double total =
        TotalCurrent(*run, applied, Sum(*run, column), c.rate, c.previousTotal, c.olderTotal);
    c.olderTotal = c.previousTotal;
    c.previousTotal = total;
    model.ReactionCurrents(i, run->totalColumn) = c.previousTotal;
    if (halves) {
      model.ReactionCurrents(i, run->totalColumn + 1) = first;
      model.ReactionCurrents(i, run->totalColumn + 2) = last;
    }
    for (int s = 1; s <= run->species; ++s)
      model.SurfaceConcentrations(i, s) = SurfaceConcentration(*run, s);
    if (run->firstStepPoints > 0) model.PassedCharge(i) = c.charge;
    PollPoint(i, run->points);
  }
}

}  // namespace qalto
