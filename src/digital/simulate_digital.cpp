#include "digital/simulate_digital.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <span>
#include <vector>

#include "common/checked_math.h"
#include "common/run_monitor.h"
#include "digital/digital_run.h"
#include "digital/solve_linear_step.h"
#include "digital/solve_second_order_step.h"
#include "simulation/potential_axis.h"

namespace qalto {

namespace {

using ReactionValues = std::array<double, kMaxChargeReactions + 1>;

constexpr double kDropTolerance = 1e-8;  // V: the interfacial potential is settled
constexpr int kMaxDropIterations = 30;
// A Newton step on the drop shorter than this moves the solved surface along its tangent instead
// of solving again: the second-order error, (n F dx / RT)^2 / 2 <= 7e-7 for n <= 3, is below
// what kDropTolerance itself leaves (n F kDropTolerance / RT <= 1.2e-6).
constexpr double kTangentStep = 1e-5;  // V
// A run reports its progress (and hears a cancel) every few points, not at each: most points take
// microseconds.
constexpr int kPointsPerPoll = 8;

double Sum(const DigitalRun& run, const ReactionValues& currents) {
  double sum = 0.0;
  for (int r = 1; r <= run.transfer.count; ++r)
    sum += currents[r];
  return sum;
}

// A sub-step with an adsorbed layer: the interior swept inward, the surface by Newton's method
// from the latest step's, the boxes outward; each adsorbed species' boxes then hold its new
// Gamma, the start of its next step.
void SolveLayerStep(DigitalRun& run, Model& model, double E, const ShowMessage& showMessage,
                    ReactionValues& now) {
  StepLevel& level = *run.levels[static_cast<size_t>(run.latest)];
  BlockSystem& system = level.system;
  system.current[0] = run.layerSurface;
  auto surface = [&] { SolveLayerSurface(run.layer, run.transfer, E, system, level.elimination); };
  if (run.secondOrder) {
    SolveSecondOrderStep(system, level.elimination, level.secondOrderStep, model.MaxIteration,
                         showMessage, surface);
  } else {
    SweepInward(system, level.elimination, showMessage);
    surface();
    SubstituteOutward(system, level.elimination);
  }
  run.layerSurface = system.current[0];
  for (int s = 1; s <= run.species; ++s) {
    if (!run.layer.adsorbed[s]) continue;
    for (int j = 1; j <= system.boxes; ++j)
      system.current[j][s] = system.current[0][s];
  }
  LayerCurrents(run.layer, run.transfer, E, system.current[0], run.currentScale, now);
}

// Solves the sub-step already started on its level with the electrode at the interfacial
// potential E (V), where ratesAt() gives the charge transfers' rate factors (an adsorbed layer's
// Newton iteration computes its own and does not ask); leaves the currents of the reactions in
// now.
template <class RatesAt>
void SolveAt(DigitalRun& run, Model& model, double E, const RatesAt& ratesAt,
             const ShowMessage& showMessage, ReactionValues& now) {
  if (run.layer.active) {
    SolveLayerStep(run, model, E, showMessage, now);
    return;
  }
  const ChargeRates& rates = ratesAt();
  if (run.disc) {
    SolveDiscStep(*run.disc, run.transfer, rates, showMessage);
    for (int r = 1; r <= run.transfer.count; ++r) {
      const double rate = DiscReductionRate(*run.disc, run.transfer, rates, r);
      now[r] = run.currentScale * run.transfer.reactions[r].n * rate;
    }
    return;
  }
  StepLevel& level = *run.levels[static_cast<size_t>(run.latest)];
  WriteSurfaceEntries(run.kinetics, rates, level.system.surface);
  if (run.secondOrder) {
    SolveSecondOrderStep(level.system, level.elimination, level.secondOrderStep, model.MaxIteration,
                         showMessage);
  } else {
    SolveLinearStep(level.system, level.elimination, showMessage);
  }
  SurfaceCurrents(run.kinetics, rates, level.system.current[0], now);
}

// The charging circuit of a point at the applied potential E (V), with the rate at which the
// applied potential moves over the point (V/s, signed) and the total currents of the previous
// point and the one before it (A): the total current it makes of a faradaic current I (A),
//   (I - Cd(E) rate + Ru Cd / tc I_previous) / (1 + Ru Cd / tc).
// Under a sine the drop Ru I changes by the second-order difference over the two points before,
// (2 I_previous - I_older / 2) over a divisor of 1 + 1.5 Ru Cd / tc: the first-order one would
// lose w Ru Cd w dt / 2 of the charging current's amplitude.
class ChargingCircuit {
 public:
  ChargingCircuit(const DigitalRun& run, double E, double rate, double previousTotal,
                  double olderTotal) {
    const double cd = run.capacitance + (run.capacitanceSlope + run.capacitanceCurvature * E) * E;
    const double q2 = cd * run.ruOverCharging;  // RC / tc
    const double history = run.sine ? 2.0 * previousTotal - 0.5 * olderTotal : previousTotal;
    offset_ = q2 * history - cd * rate;
    gain_ = Div(1.0, (run.sine ? 1.5 : 1.0) * q2 + 1.0);
  }

  double Total(double faradaic) const { return Checked((faradaic + offset_) * gain_); }
  double Gain() const { return gain_; }  // d total / d faradaic

 private:
  double offset_ = 0;  // A
  double gain_ = 1;
};

// exp(y), by its Taylor series where |y| < 1e-3 (five terms: within 1e-17).
double SmallExp(double y) {
  if (std::abs(y) >= 1e-3) return Exp(y);
  return 1.0 + y * (1.0 + y * (0.5 + y * (1.0 / 6.0 + y * (1.0 / 24.0))));
}

// The surface of a step whose interior is swept inward, at any interfacial potential: the rates,
// the surface concentrations and the faradaic current, with its derivative by the potential.
// One serves every step of a run (Use names the level of the step).
class SurfaceAtPotential {
 public:
  SurfaceAtPotential(const DigitalRun& run, const ShowMessage& showMessage)
      : run_(run), showMessage_(showMessage) {
    const ChargeTransfer& t = run.transfer;
    for (int r = 1; r <= t.count; ++r) {
      const ChargeReaction& q = t.reactions[r];
      Factors& f = factors_[r];
      f.forward = -q.alpha * q.n * t.FOverRT / q.nuO;
      f.backward = (1.0 - q.alpha) * q.n * t.FOverRT / q.nuR;
      f.perOxidised = run.currentScale * q.n / q.nuO;
      f.perReduced = run.currentScale * q.n / q.nuR;
    }
  }

  void Use(StepLevel& level) { level_ = &level; }

  // Solves the surface rows at x (V); returns the faradaic current (A), its derivative by x in
  // slope (A/V), and the reactions' currents in now.
  double Solve(double x, double& slope, ReactionValues& now) {
    Prepare(x);
    return Finish(slope, now);
  }

  // The half of Solve that needs no right-hand side: the rates at x and their slopes, the surface
  // rows and their inverse. The rates at the first potential come from their exponentials; those
  // at the next, a few microvolts away, scale them.
  void Prepare(double x) {
    const ChargeTransfer& t = run_.transfer;
    if (!haveReference_ || std::abs(x - reference_) > 1e-5) {
      ComputeChargeRates(t, x, referenceRates_);
      reference_ = x;
      haveReference_ = true;
    }
    for (int r = 1; r <= t.count; ++r) {
      const ChargeReaction& q = t.reactions[r];
      if (q.marcusHush) {  // curved in E: the rates at x itself, interpolated
        const MarcusHushRates k = MarcusHushAt(q, t, x);
        rates_.forward[r] = k.forward;
        rates_.backward[r] = k.backward;
        rateSlopes_.forward[r] = k.forwardSlope * k.forward;
        rateSlopes_.backward[r] = k.backwardSlope * k.backward;
        continue;
      }
      const double slopeF = factors_[r].forward;
      const double slopeB = factors_[r].backward;
      if (x == reference_) {
        rates_.forward[r] = referenceRates_.forward[r];
        rates_.backward[r] = referenceRates_.backward[r];
      } else {
        rates_.forward[r] = referenceRates_.forward[r] * SmallExp(slopeF * (x - reference_));
        rates_.backward[r] = referenceRates_.backward[r] * SmallExp(slopeB * (x - reference_));
      }
      rateSlopes_.forward[r] = slopeF * rates_.forward[r];
      rateSlopes_.backward[r] = slopeB * rates_.backward[r];
    }
    BlockSystem& system = level_->system;
    WriteSurfaceEntries(run_.kinetics, rates_, system.surface);
    InvertSurfaceRows(system, level_->elimination, showMessage_);
  }

  // The other half, once the interior has been swept inward: Solve at the x of Prepare.
  double Finish(double& slope, ReactionValues& now) {
    const ChargeTransfer& t = run_.transfer;
    BlockSystem& system = level_->system;
    SolveSurfaceByInverse(system, level_->elimination);
    SurfaceCurrents(run_.kinetics, rates_, system.current[0], now);
    // d(rows)/dx C(0) moves the surface by -(rows - coupling)^-1 of it.
    SpeciesVector push{};
    const SpeciesVector& surface = system.current[0];
    const ChargeRates& d = rateSlopes_;
    for (const SurfaceTerm& e : run_.kinetics.forward)
      push[e.row] -= e.coefficient * d.forward[e.reaction] * surface[e.column];
    for (const SurfaceTerm& e : run_.kinetics.backward)
      push[e.row] -= e.coefficient * d.backward[e.reaction] * surface[e.column];
    SurfaceResponse(system, level_->elimination, push, move_);
    slope = 0.0;
    for (int r = 1; r <= t.count; ++r) {
      const ChargeReaction& q = t.reactions[r];
      const double O = q.ox != 0 ? system.current[0][q.ox] : 0.0;
      const double R = q.red != 0 ? system.current[0][q.red] : 0.0;
      const double dO = q.ox != 0 ? move_[q.ox] : 0.0;
      const double dR = q.red != 0 ? move_[q.red] : 0.0;
      reactionSlopes_[r] = factors_[r].perOxidised * (d.forward[r] * O + rates_.forward[r] * dO) -
                           factors_[r].perReduced * (d.backward[r] * R + rates_.backward[r] * dR);
      slope += reactionSlopes_[r];
    }
    return Sum(run_, now);
  }

  // Moves the surface solved at x to x + dx along its tangent: the concentrations and the
  // reactions' currents change by their derivatives times dx, exact to second order in dx;
  // returns the faradaic current (A).
  double Advance(double dx, ReactionValues& now) {
    SpeciesVector& surface = level_->system.current[0];
    for (int s = 1; s <= run_.species; ++s)
      surface[s] += move_[s] * dx;
    for (int r = 1; r <= run_.transfer.count; ++r)
      now[r] += reactionSlopes_[r] * dx;
    return Sum(run_, now);
  }

 private:
  // What the rates and currents of a Butler-Volmer reaction change by with the potential.
  struct Factors {
    double forward = 0, backward = 0;        // d ln k / dx, 1/V
    double perOxidised = 0, perReduced = 0;  // A per unit of k C, currentScale n / nu
  };

  const DigitalRun& run_;
  StepLevel* level_ = nullptr;
  const ShowMessage& showMessage_;
  std::array<Factors, kMaxChargeReactions + 1> factors_;
  bool haveReference_ = false;
  double reference_ = 0;  // V
  ChargeRates referenceRates_;
  ChargeRates rates_;
  ChargeRates rateSlopes_;           // d rate / dx, cm/(s V)
  SpeciesVector move_{};             // d C(0) / dx at the latest solve, M/V
  ReactionValues reactionSlopes_{};  // d I_r / dx at the latest solve, A/V
};

// The root x of F(x) = x - E - Ru I(x) (V) by Newton's method, I the total current through the
// charging circuit: F grows with x (the current falls as the potential rises), so the iteration
// keeps a bracket of the root and halves it when a step leaves it. It starts from guess, the
// drop the latest sub-steps predict, at which the surface has been prepared; the surface is left
// solved at the answer.
void FindInterfacialPotential(SurfaceAtPotential& surface, double E, double guess,
                              const ChargingCircuit& circuit, double Ru, double& lastTotal,
                              ReactionValues& now) {
  double lo = -HUGE_VAL, hi = HUGE_VAL;  // bracket of the root, V
  double x = guess;
  for (int iteration = 0; iteration < kMaxDropIterations; ++iteration) {
    double dI = 0.0;  // A/V
    const double I = iteration == 0 ? surface.Finish(dI, now) : surface.Solve(x, dI, now);
    lastTotal = circuit.Total(I);
    const double F = x - E - Ru * lastTotal;
    const double slope = 1.0 - Ru * dI * circuit.Gain();
    if (F == 0.0) return;
    if (F > 0.0) hi = std::min(hi, x);
    if (F < 0.0) lo = std::max(lo, x);
    double next = slope > 0.0 ? x - F / slope : (F > 0.0 ? x - std::abs(F) : x + std::abs(F));
    if (!(next > lo && next < hi)) {
      if (std::isfinite(lo) && std::isfinite(hi)) {
        next = 0.5 * (lo + hi);
      } else {  // walk out until the bracket closes
        next =
            F > 0.0 ? x - 2.0 * std::max(std::abs(F), 1e-3) : x + 2.0 * std::max(std::abs(F), 1e-3);
      }
    }
    if (std::abs(next - x) < kDropTolerance) return;  // the surface stays solved at x
    if (std::abs(next - x) < kTangentStep) {  // Newton's step is short: its tangent is the answer
      lastTotal = circuit.Total(surface.Advance(next - x, now));
      return;
    }
    x = next;
  }
}

// The ohmic drops of the latest two sub-steps, V, which predict the next.
struct DropHistory {
  int known = 0;
  double last = 0;
  double before = 0;
};

// Solves the sub-step at the applied potential E with the ohmic drop inside the step. Only the
// surface rows depend on the interfacial potential: the interior is swept inward once, Newton's
// iteration solves the small surface system at each trial potential, and the concentrations
// inside follow once from the surface's answer (in every iteration of a second-order step).
// The disc's two-dimensional step has no separate surface system: it is solved whole at each
// trial potential, by the secant method kept inside a bracket (regula falsi, Illinois variant).
void SolveWholeStepWithDrop(DigitalRun& run, Model& model, double E, const ChargingCircuit& circuit,
                            double& lastTotal, const ShowMessage& showMessage,
                            ReactionValues& now) {
  const double Ru = run.resistance;
  ChargeRates rates;
  auto residual = [&](double x) {
    auto ratesAt = [&]() -> const ChargeRates& {
      ComputeChargeRates(run.transfer, x, rates);
      return rates;
    };
    SolveAt(run, model, x, ratesAt, showMessage, now);
    lastTotal = circuit.Total(Sum(run, now));
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
  double rate = 0;  // V/s: the sweep's rate in the sign of E(i) - E(i-1)
  // One step a point at the point's potential (unless a program jumps), the point's current the
  // step's.
  bool sweepSteps = false;
  bool ratesRepeat = false;               // every point is such a step (no program's jumps)
  double previousTotal = 0;               // total current of the previous point, A
  double olderTotal = 0;                  // total current of the point before that, A
  double lastTotal = 0;                   // total current of the latest sub-step, A
  DropHistory drops;                      // ohmic drops of the latest sub-steps
  SurfaceAtPotential* surface = nullptr;  // the surface solver of steps with an ohmic drop
  // Potential steps: the charge of the latest sub-step and the charge since the start (C).
  double stepCharge = 0;
  double charge = 0;
};

void SolveWithDrop(DigitalRun& run, Model& model, double E, const ChargingCircuit& circuit,
                   PointContext& c, const ShowMessage& showMessage, ReactionValues& now) {
  double& lastTotal = c.lastTotal;
  if (run.disc || run.layer.active) {
    SolveWholeStepWithDrop(run, model, E, circuit, lastTotal, showMessage, now);
    return;
  }
  StepLevel& level = *run.levels[static_cast<size_t>(run.latest)];
  SurfaceAtPotential& surface = *c.surface;
  surface.Use(level);
  DropHistory& drops = c.drops;
  double x = E;
  auto guess = [&] {
    const double predicted =
        drops.known >= 2 ? 2.0 * drops.last - drops.before : run.resistance * lastTotal;  // V
    return E + predicted;
  };
  auto iterate = [&](double start) {
    FindInterfacialPotential(surface, E, start, circuit, run.resistance, lastTotal, now);
    x = E + run.resistance * lastTotal;
  };
  if (run.secondOrder) {
    SolveSecondOrderStep(level.system, level.elimination, level.secondOrderStep, model.MaxIteration,
                         showMessage, [&] {
                           const double start = guess();
                           surface.Prepare(start);
                           iterate(start);
                         });
  } else {
    // The surface at the guess is prepared first, so that it overlaps the inward sweep.
    const double start = guess();
    surface.Prepare(start);
    SweepInward(level.system, level.elimination, showMessage);
    iterate(start);
    SubstituteOutward(level.system, level.elimination);
  }
  drops.before = drops.last;
  drops.last = x - E;
  drops.known = std::min(drops.known + 1, 2);
}

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

int ScanSign(const DigitalRun& run, int i) {
  const auto& E = run.potential;
  int s = Sgn(E[static_cast<size_t>(i)] - E[static_cast<size_t>(i - 1)]);
  if (s == 0 && i < run.points) s = Sgn(E[static_cast<size_t>(i + 1)] - E[static_cast<size_t>(i)]);
  return s == 0 ? 1 : s;
}

// The surface concentration of each species s = 1..species after the latest step into row `row`
// of columns[s], M (mol/cm2 for an adsorbed species): at a disc its mean over the disc.
void StoreSurfaceConcentrations(const DigitalRun& run,
                                const std::vector<std::span<double>>& columns, std::size_t row) {
  if (run.disc) {
    for (int s = 1; s <= run.species; ++s)
      columns[static_cast<size_t>(s)][row] = DiscSurfaceConcentration(*run.disc, s);
    return;
  }
  const SpeciesVector& surface = LatestProfile(run)[0];
  for (int s = 1; s <= run.species; ++s) {
    columns[static_cast<size_t>(s)][row] =
        run.layer.adsorbed[s] ? surface[s] / kGammaPerMolPerCm2 : surface[s];
  }
}

// The rate factors at the potential of point i. A cycle's way back retraces its way out, and
// each later cycle the first, point for point (potential_axis.h): when every point of the run is
// one step at its potential (`repeat`), a point whose potential is that of its counterpart in the
// first sweep reads the rates computed there.
const ChargeRates& RatesAtPoint(DigitalRun& run, int i, bool repeat) {
  const size_t at = static_cast<size_t>(i);
  if (repeat) {
    const size_t first = static_cast<size_t>(FirstSweepCounterpart(run.sweepPoints, i));
    if (first != at && run.potential[first] == run.potential[at]) return run.pointRates[first];
  }
  ChargeRates& rates = run.pointRates[at];
  ComputeChargeRates(run.transfer, run.potential[at], rates);
  return rates;
}

// The sub-steps of point i; returns the column value of each charge reaction and, in first and
// last, the totals at the end of the first and the last piece (for the square wave's half
// periods: a point of one step leaves them alone).
ReactionValues RunPoint(DigitalRun& run, Model& model, int i, PointContext& c, double& first,
                        double& last, const ShowMessage& showMessage) {
  const DigitalTiming& t = run.timing;
  const int programJump = run.sinceJump.empty() ? 0 : run.sinceJump[static_cast<size_t>(i)];
  if (c.sweepSteps && programJump == 0) {
    // One step at the point's potential (a sweep): the point's current is that of the step.
    ReactionValues now{};
    StartStep(run, t.pieces[0].levels[0]);
    const double E = run.potential[static_cast<size_t>(i)];
    if (run.resistance > 0.0) {
      const ChargingCircuit circuit(run, E, c.rate, c.previousTotal, c.olderTotal);
      SolveWithDrop(run, model, E, circuit, c, showMessage, now);
    } else {
      auto ratesAt = [&]() -> const ChargeRates& { return RatesAtPoint(run, i, c.ratesRepeat); };
      SolveAt(run, model, E, ratesAt, showMessage, now);
    }
    return now;
  }
  const double E = run.potential[static_cast<size_t>(i)];
  // The program's interval begins where its jump leaves the potential.
  const double before = run.begin.empty() ? run.potential[static_cast<size_t>(i - 1)]
                                          : run.begin[static_cast<size_t>(i)];
  const double pulse = i <= run.sweepPoints ? run.pulseHeight : -run.pulseHeight;
  const int scanSign = ScanSign(run, i);  // direction of the staircase at this point
  ReactionValues firstEnd{};
  ReactionValues now{};
  ChargeRates rates;
  double ratesPotential = std::numeric_limits<double>::quiet_NaN();  // V: that of `rates`
  const bool steps = run.firstStepPoints > 0;
  const int sinceJump = i > run.firstStepPoints ? i - run.firstStepPoints : i;
  for (int p = 0; p < t.pieceCount; ++p) {
    const TimePiece& piece = steps             ? StepPlan(t, sinceJump)
                             : programJump > 0 ? StepPlan(t, programJump)
                                               : t.pieces[static_cast<size_t>(p)];
    const double applied =
        PiecePotentialValue(piece.potential, E, pulse, run.pulseHeight, scanSign);
    const int m = static_cast<int>(piece.levels.size());  // sub-steps of the piece
    for (int k = 0; k < m; ++k) {
      const int level = piece.levels[static_cast<size_t>(k)];
      StartStep(run, level);
      // A refined sweep moves through the point's interval in equal steps.
      double Ek = t.ramp ? before + (E - before) * (k + 1.0) / m : applied;
      if (run.sine) Ek += run.ac.SineAt(i - 1 + (k + 1.0) / m);
      if (run.resistance > 0.0) {
        const ChargingCircuit circuit(run, Ek, c.rate, c.previousTotal, c.olderTotal);
        SolveWithDrop(run, model, Ek, circuit, c, showMessage, now);
      } else {
        auto ratesAt = [&]() -> const ChargeRates& {
          if (!(Ek == ratesPotential)) {  // the sub-steps of a held potential share its rates
            ComputeChargeRates(run.transfer, Ek, rates);
            ratesPotential = Ek;
          }
          return rates;
        };
        SolveAt(run, model, Ek, ratesAt, showMessage, now);
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
  const DigitalTiming& t = run->timing;
  c.sweepSteps = t.pieceCount == 1 && t.fractions.size() == 1 && !run->sine &&
                 t.pieces[0].potential == PiecePotential::Point && t.lastWeight == 1.0 &&
                 t.firstWeight == 0.0;
  c.ratesRepeat = c.sweepSteps && run->sinceJump.empty();
  SurfaceAtPotential surface(*run, showMessage);
  c.surface = &surface;
  // The square wave keeps both half-period currents.
  const bool halves = run->technique == Technique::kSquareWave;
  const int lastColumn = run->totalColumn + (halves ? 2 : 0);
  if (run->totalColumn < 0 ||
      std::max(run->transfer.count, lastColumn) >= model.ReactionCurrents.Columns() ||
      run->species >= model.SurfaceConcentrations.Columns()) {
    throw RuntimeError::SubscriptOutOfRange();
  }
  // The columns written at every point, grown to the run's length at once and written in
  // place: row i is element i - 1.
  const int columnsWritten = std::max(run->transfer.count, lastColumn);
  std::vector<std::span<double>> currents(static_cast<size_t>(columnsWritten) + 1);
  for (int r = 1; r <= columnsWritten; ++r)
    currents[static_cast<size_t>(r)] = model.ReactionCurrents.ColumnRows(r, 1, run->points);
  std::vector<std::span<double>> concentrations(static_cast<size_t>(run->species) + 1);
  for (int s = 1; s <= run->species; ++s) {
    concentrations[static_cast<size_t>(s)] =
        model.SurfaceConcentrations.ColumnRows(s, 1, run->points);
  }
  for (int i = 1; i <= run->points; ++i) {
    const size_t row = static_cast<size_t>(i - 1);
    if (run->timing.freshProfile) ResetProfile(*run);
    const auto& E = run->potential;
    const double change = E[static_cast<size_t>(i)] - E[static_cast<size_t>(i - 1)];  // V
    // A program's rate is its potential's change over the interval, jump included.
    c.rate =
        run->sampleInterval > 0 ? change / run->sampleInterval : Sgn(change) * run->absScanRate;
    if (run->sine) c.rate = run->ac.RateAt(i);  // the sweep's and the sine's
    double first = 0.0;
    double last = 0.0;
    const ReactionValues column = RunPoint(*run, model, i, c, first, last, showMessage);
    for (int r = 1; r <= run->transfer.count; ++r)
      currents[static_cast<size_t>(r)][row] = Checked(column[r]);
    const double applied =
        run->sine ? E[static_cast<size_t>(i)] + run->ac.SineAt(i) : E[static_cast<size_t>(i)];
    const double total = ChargingCircuit(*run, applied, c.rate, c.previousTotal, c.olderTotal)
                             .Total(Sum(*run, column));
    c.olderTotal = c.previousTotal;
    c.previousTotal = total;
    currents[static_cast<size_t>(run->totalColumn)][row] = total;
    if (halves) {
      currents[static_cast<size_t>(run->totalColumn + 1)][row] = first;
      currents[static_cast<size_t>(run->totalColumn + 2)][row] = last;
    }
    StoreSurfaceConcentrations(*run, concentrations, row);
    if (run->firstStepPoints > 0) model.PassedCharge(i) = c.charge;
    if (i % kPointsPerPoll == 0 || i == run->points) PollPoint(i, run->points);
  }
}

}  // namespace qalto
