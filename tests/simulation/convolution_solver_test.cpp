// How a convolution solve hands out its points: into the caller's columns, the same numbers as
// into its own tables; and its O(N) history sums against the direct ones.

#include "simulation/convolution_solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/runtime_error.h"
#include "simulation/analytical_run_model.h"
#include "simulation/convolution_weights.h"

namespace qalto {
namespace {

// A quasi-reversible couple (ks 0.01 cm/s) on the kernel's steps.
ConvolutionProblem Couple(KernelWeights kernel) {
  ConvolutionProblem p;
  p.fOverRT = 38.92;
  p.AF = 96.4846;
  p.kernels.push_back(std::move(kernel));
  p.species = {{1e-3, std::sqrt(1e-5), 0}, {0.0, std::sqrt(1e-5), 0}};
  p.reactions.push_back({.ox = 0, .red = 1, .ks = 0.01, .alpha = 0.5});
  return p;
}

std::vector<double> Cycle(int points) {
  std::vector<double> E(static_cast<std::size_t>(points));
  for (int n = 0; n < points; ++n)
    E[static_cast<std::size_t>(n)] = -0.3 + 0.6 * std::fabs(1.0 - 2.0 * (n + 1.0) / points);
  return E;
}

// Written into columns, a sweep gives the currents and surface concentrations of the solve
// that returns its own tables, bit for bit, and the total column their sum.
TEST(ConvolutionSolve, WritesTheSameCurveIntoTheCallersColumns) {
  const int N = 3000;
  const ConvolutionProblem p = Couple(KernelHatWeights({}, 1e-4, N));
  const std::vector<double> E = Cycle(N);
  const ConvolutionSolution own = SolveConvolution(p, E);
  std::vector<double> current(N), total(N), ox(N), red(N);
  SolveConvolution(p, E, ConvolutionColumns{{current}, {ox, red}, total});
  EXPECT_EQ(current, own.current[0]);
  EXPECT_EQ(ox, own.surface[0]);
  EXPECT_EQ(red, own.surface[1]);
  EXPECT_EQ(total, own.current[0]);
  EXPECT_GT(*std::max_element(current.begin(), current.end()), 1e-5);
}

// Columns that do not match the problem, or are shorter than its points, are refused before
// anything is written.
TEST(ConvolutionSolve, RefusesColumnsThatCannotHoldThePoints) {
  const int N = 100;
  const ConvolutionProblem p = Couple(KernelHatWeights({}, 1e-3, N));
  const std::vector<double> E = Cycle(N);
  std::vector<double> a(N, 7.0), b(N, 7.0), c(N, 7.0), shortColumn(N - 1, 7.0);
  for (const ConvolutionColumns& out :
       {ConvolutionColumns{{shortColumn}, {b, c}, {}},
        ConvolutionColumns{{a}, {b, shortColumn}, {}}, ConvolutionColumns{{a}, {b, c}, shortColumn},
        ConvolutionColumns{{a}, {b}, {}}, ConvolutionColumns{{}, {b, c}, {}}})
    EXPECT_THROW(SolveConvolution(p, E, out), RuntimeError);
  EXPECT_EQ(a, std::vector<double>(N, 7.0));
  EXPECT_EQ(b, std::vector<double>(N, 7.0));
}

// A quasi-reversible cyclic voltammogram of 6000 points, planar and at a sphere: the O(N)
// history sums give the currents of the direct sums within 1e-8 of the peak.
TEST(ConvolutionHistory, ExponentialsGiveTheDirectSumsCurrents) {
  const int N = 6000;
  const double dt = 1e-4;  // s: 0.3 V to -0.3 V and back at 2 V/s
  for (double sphere : {0.0, 2.0}) {
    auto solve = [&](int exact) {
      return SolveConvolution(Couple(KernelHatWeights({0.0, sphere}, dt, N, exact)), Cycle(N))
          .current[0];
    };
    const std::vector<double> fast = solve(kExactWeights), direct = solve(N);
    ASSERT_EQ(fast.size(), direct.size());
    EXPECT_GT(*std::max_element(direct.begin(), direct.end()), 1e-5);
    EXPECT_LT(RelativeDifference(direct, fast), 1e-8) << "sphere " << sphere;
  }
}

}  // namespace
}  // namespace qalto
