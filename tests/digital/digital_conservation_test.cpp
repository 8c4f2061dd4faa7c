// Mass balance of the finite-volume grid: in a closed thin film nothing is lost or gained, only
// converted, by the charge transfer at the surface and the homogeneous reactions.

#include <gtest/gtest.h>

#include <memory>

#include "digital/digital_run.h"
#include "digital/digital_test_model.h"
#include "digital/solve_linear_step.h"
#include "digital/solve_second_order_step.h"

namespace qalto {
namespace {

using namespace digital_test;

// Amount of the given species in the film per unit area, in grid units x M.
double Amount(const DigitalRun& run, std::initializer_list<int> species) {
  double amount = 0.0;
  for (int j = 1; j <= run.grid.boxes; ++j) {
    const double width = run.grid.x[j + 1] - run.grid.x[j];
    for (int s : species)
      amount += width * LatestProfile(run)[j][s];
  }
  return amount;
}

// A step of the given sub-step length at potential E (V) as the simulation takes it.
void Step(DigitalRun& run, int level, double E, int& maxIteration) {
  StartStep(run, level);
  StepLevel& l = *run.levels[static_cast<size_t>(level)];
  ChargeRates rates;
  ComputeChargeRates(run.transfer, E, rates);
  WriteSurfaceRows(run.surfaceRows, run.transfer, rates, l.system.surface);
  if (run.secondOrder) {
    SolveSecondOrderStep(l.system, l.elimination, l.secondOrderStep, maxIteration, ShowMessage{});
  } else {
    SolveLinearStep(l.system, l.elimination, ShowMessage{});
  }
}

// Every step taken backward-Euler from the latest profile (the sweep's are second-order
// differences over two profiles), so that each step's flux balances its own change.
void BackwardEulerSteps(DigitalRun& run) {
  for (auto& level : run.levels) {
    level->newer = 1.0;
    level->older = 0.0;
  }
  run.keepsOlder = false;
}

std::unique_ptr<Model> FilmModel() {
  auto m = PlanarReduction();
  m->Electrode = Electrode::kThinFilm;
  m->ElectrodeLength = 2e-3;  // cm
  m->SpeciesCount = 3;
  m->SpeciesD(2) = 0.5e-5;  // unequal diffusion coefficients
  m->SpeciesD(3) = 2e-5;
  BuildAxis(*m);
  return m;
}

TEST(DigitalConservation, FirstOrderReactionAndChargeTransferConserveTheFilmContent) {
  // A + e = B at the surface, B = C in the film.
  auto m = FilmModel();
  AddFirstOrderReaction(*m, 2, 3, 50.0, 10.0);  // 1/s
  auto run = std::make_unique<DigitalRun>();
  PrepareDigitalRun(*m, 0.5, 7.0, 1, *run);
  ASSERT_TRUE(run->grid.closedOutside);
  const double initial = Amount(*run, {1, 2, 3});
  int maxIteration = 0;
  // Steps of every length the run has, in turn.
  const int levels = static_cast<int>(run->levels.size());
  for (int k = 0; k < 300; ++k)
    Step(*run, k % levels, -0.1, maxIteration);
  EXPECT_NEAR(Amount(*run, {1, 2, 3}) / initial, 1.0, 1e-10);  // rounding over 300 steps
  // Most of A has been reduced and B and C approach their equilibrium ratio kf/kb = 5.
  EXPECT_LT(Amount(*run, {1}), 0.05 * initial);
  EXPECT_NEAR(Amount(*run, {3}) / Amount(*run, {2}), 5.0, 0.05);
}

TEST(DigitalConservation, SecondOrderReactionConservesWhatItConverts) {
  // A + e = B at the surface, B + C = A in the film (a catalytic regeneration by C).
  auto m = FilmModel();
  m->SpeciesC(3) = 2e-3;
  AddSecondOrderReaction(*m, 2, 3, 1, 0, 1e4);  // 1/(M s)
  auto run = std::make_unique<DigitalRun>();
  PrepareDigitalRun(*m, 0.5, 7.0, 1, *run);
  BackwardEulerSteps(*run);
  const double initialAB = Amount(*run, {1, 2});
  const double initialC = Amount(*run, {3});
  int maxIteration = 0;
  double reduced = 0.0;  // A taken up by the electrode, grid units x M
  const double firstWidth = run->grid.x[2] - run->grid.x[1];
  const int levels = static_cast<int>(run->levels.size());
  for (int k = 0; k < 300; ++k) {
    Step(*run, k % levels, -0.1, maxIteration);
    const auto& C = LatestProfile(*run);
    const BlockSystem& sys = run->levels[static_cast<size_t>(k % levels)]->system;
    reduced += sys.lower[1][1] * firstWidth * (C[1][1] - C[0][1]);
  }
  // A and B only turn into each other: exactly, since both rows carry the same linearised rate.
  EXPECT_NEAR(Amount(*run, {1, 2}) / initialAB, 1.0, 1e-10);
  // Every A reduced is now B, or has taken one C to become A again: to the tolerance of the
  // iteration.
  const double usedC = initialC - Amount(*run, {3});
  EXPECT_GT(usedC, 0.1 * initialAB);
  EXPECT_NEAR((Amount(*run, {2}) + usedC) / reduced, 1.0, 1e-3);
  EXPECT_GE(maxIteration, 2);
}

}  // namespace
}  // namespace qalto
