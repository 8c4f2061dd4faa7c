#include "digital/simulate_digital.h"

#include <memory>

#include "common/checked_math.h"
#include "common/number_text.h"
#include "common/run_monitor.h"
#include "digital/digital_run.h"
#include "digital/solve_linear_step.h"
#include "digital/solve_second_order_step.h"

namespace qalto {

namespace {

using ReactionValues = std::array<double, kMaxChargeReactions + 1>;

// Current of each charge reaction at the surface concentrations just computed, A.
void ReactionCurrentsNow(const DigitalRun& run, const ChargeRates& rates,
                         ReactionValues& currents) {
  const SpeciesVector& surface = run.system.current[0];
  for (int r = 1; r <= run.transfer.count; ++r) {
    const ChargeReaction& q = run.transfer.reactions[r];
    const double rate = NetReductionRate(q, rates.forward[r], rates.backward[r], surface);
    currents[r] = run.currentScale * q.n * rate;
  }
}

void SolveStep(DigitalRun& run, Model& model, const ShowMessage& showMessage) {
  if (run.secondOrder) {
    SolveSecondOrderStep(run.system, run.elimination, run.secondOrderStep, model.MaxIteration,
                         showMessage);
  } else {
    SolveLinearStep(run.system, run.elimination, showMessage);
  }
  BlockSystem& sys = run.system;
  for (int j = 1; j <= sys.boxes; ++j)
    sys.previous[j] = sys.current[j];
}

// The sub-steps of point i; returns the column value of each charge reaction.
ReactionValues RunPoint(DigitalRun& run, Model& model, int i, double previousTotal,
                        const ShowMessage& showMessage) {
  const DigitalTiming& t = run.timing;
  const double E = run.potential[static_cast<size_t>(i)];
  const double pulse = i <= run.sweepPoints ? run.pulseHeight : -run.pulseHeight;
  ReactionValues stored{};
  ReactionValues column{};
  ReactionValues now{};
  ChargeRates rates;
  for (int k = 1; k <= t.subSteps; ++k) {
    double applied = SubStepPotential(run.technique, k, t.subSteps, E, pulse, run.pulseHeight);
    if (run.resistance > 0.0) applied += run.resistance * previousTotal;
    ComputeChargeRates(run.transfer, applied, rates);
    WriteSurfaceRows(run.surfaceRows, run.transfer, rates, run.system.surface);
    SolveStep(run, model, showMessage);
    if (k != t.storedSubStep && k != t.sampledSubStep) continue;
    ReactionCurrentsNow(run, rates, now);
    if (k == t.storedSubStep) stored = now;
    if (k == t.sampledSubStep) {
      for (int r = 1; r <= run.transfer.count; ++r) {
        column[r] = now[r] + t.storedWeight * stored[r];
      }
    }
  }
  return column;
}

}  // namespace

void SimulateDigital(Model& model, const DigitalFormInputs& forms, const ShowMessage& showMessage) {
  model.MaxIteration = 0;
  const double beta = ReadNumber(forms.expandingGrid);  // grid expansion factor
  const double pH = ReadNumber(forms.pH);
  // The work tables are large and the run clears the boxes it uses: no need to zero them all.
  auto run = std::make_unique_for_overwrite<DigitalRun>();
  PrepareDigitalRun(model, beta, pH, *run);

  double previousTotal = 0.0;  // total current of the previous point, A
  for (int i = 1; i <= run->points; ++i) {
    if (run->timing.freshProfile) ResetProfile(*run);
    const ReactionValues column = RunPoint(*run, model, i, previousTotal, showMessage);
    double faradaic = 0.0;
    for (int r = 1; r <= run->transfer.count; ++r) {
      model.ReactionCurrents(i, r) = Checked(column[r]);
      faradaic += column[r];
    }
    const auto& E = run->potential;
    const int direction = Sgn(E[static_cast<size_t>(i)] - E[static_cast<size_t>(i - 1)]);
    previousTotal = Div(faradaic - direction * run->Q1 + run->Q2 * previousTotal, run->Q3);
    model.ReactionCurrents(i, run->totalColumn) = previousTotal;
    for (int s = 1; s <= run->species; ++s) {
      model.SurfaceConcentrations(i, s) = run->system.current[0][s];
    }
    PollPoint(i, run->points);
  }
}

}  // namespace qalto
