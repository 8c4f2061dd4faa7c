#include "simulation/square_wave_run.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/checked_math.h"
#include "model/experiment_table.h"
#include "simulation/convolution_run.h"

namespace qalto {
namespace {

// A Nernstian couple is one whose dimensionless rate ks sqrt(tp / D) reaches this: the kinetic
// correction of the first sample of a half period is then below 1e-4 of its current.
constexpr double kNernstianRate = 1e4;
// Sub-steps M per half period of the convolution, solved on M, 2M and 4M sub-steps and
// extrapolated (Romberg): the step rule's error after each jump falls as 1/M, and the terms in
// 1/M and 1/M^2 cancel. With the history sums O(N) the cost grows with the points alone.
constexpr int kSubsteps = 8;
constexpr double kRomberg[3] = {1.0 / 3, -2.0, 8.0 / 3};  // weights of f(M), f(2M), f(4M)
constexpr double kPiExact = 3.14159265358979324;

bool SphericalKernel(const Model& model) {
  return RowOf(model.Electrode).kernel == KernelShape::kSpherical;
}

// Scan direction at point i: the direction of arrival, or of departure at the start and at a
// vertex held twice.
int ScanSign(const Model& model, int i) {
  const auto& x = model.PotentialX;
  int s = Sgn(x(i) - x(i - 1));
  if (s == 0 && i < model.NumberOfPoints) s = Sgn(x(i + 1) - x(i));
  return s == 0 ? model.SweepDirection : s;
}

// Potentials of the 2N half periods, V.
std::vector<double> HalfPeriodPotentials(const Model& model) {
  const double h = 0.5 * std::fabs(model.PulsePotential);  // half amplitude, V
  std::vector<double> E;
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    int d = ScanSign(model, i);
    E.push_back(model.PotentialX(i) + d * h);
    E.push_back(model.PotentialX(i) - d * h);
  }
  return E;
}

// Combines the two samples of a step into the technique's current.
double Combine(const Model& model, double forward, double reverse) {
  return model.Technique == Technique::kSquareWave ? forward - reverse : forward + reverse;
}

bool IndependentCouples(int mechanism) {
  return mechanism == 1 || mechanism == 4 || mechanism == 5 || mechanism == 9 || mechanism == 10;
}

// True when every couple is Nernstian and the flux follows from the potential history alone:
// independent couples, no resistance, and at a sphere equal diffusion of O and R.
bool ClosedFormApplies(const Model& model, const ConvolutionProblem& problem) {
  if (!IndependentCouples(model.Mechanism) || model.UncompensatedResistance > 0) return false;
  if (RowOf(model.Electrode).kernel == KernelShape::kThinLayer) return false;  // the wall's echo
  for (const ConvolutionReaction& x : problem.reactions) {
    const ConvolutionSpecies& O = problem.species[static_cast<std::size_t>(x.ox)];
    const ConvolutionSpecies& R = problem.species[static_cast<std::size_t>(x.red)];
    if (x.ks * std::sqrt(model.PulseTime) / O.sqrtD < kNernstianRate) return false;
    if (x.nuO != 1 || x.nuR != 1) return false;  // the closed form is that of nuO = nuR = 1
    if (SphericalKernel(model) && O.sqrtD != R.sqrtD) return false;
  }
  return true;
}

// Nernstian couples: the semi-integral of the flux I = (CO - e CR) / (1/sqrt(DO) + e/sqrt(DR)),
// e = exp(n f (E - E0)), follows the potential at once, and each change of I adds the flux
// dI (1/sqrt(pi (t - tj)) + a) from the time tj it happened (a = sqrt(D) / r0 at a sphere).
void RunNernstian(Model& model, const ConvolutionProblem& problem, const std::vector<double>& E) {
  const double tp = model.PulseTime;  // s
  const std::size_t K = E.size();
  std::vector<double> root(K + 1);  // 1/sqrt(pi tp q), q = 1..K
  for (std::size_t q = 1; q <= K; ++q)
    root[q] = 1.0 / std::sqrt(kPiExact * tp * static_cast<double>(q));
  std::vector<std::vector<double>> I(problem.reactions.size(), std::vector<double>(K));
  std::vector<std::vector<double>> flux(problem.reactions.size(), std::vector<double>(K));
  for (std::size_t r = 0; r < problem.reactions.size(); ++r) {
    const ConvolutionReaction& x = problem.reactions[r];
    const ConvolutionSpecies& O = problem.species[static_cast<std::size_t>(x.ox)];
    const ConvolutionSpecies& R = problem.species[static_cast<std::size_t>(x.red)];
    double sphere = SphericalKernel(model) ? Div(O.sqrtD, model.Radius) : 0.0;  // 1/s^1/2
    for (std::size_t k = 0; k < K; ++k) {
      double e = std::exp(std::min(x.n * problem.fOverRT * (E[k] - x.E0), 700.0));
      I[r][k] = (O.bulk - e * R.bulk) / (1.0 / O.sqrtD + e / R.sqrtD);
    }
    for (std::size_t k = 0; k < K; ++k) {
      double sum = 0.0;
      double previous = 0.0;  // at rest before the first half period
      for (std::size_t j = 0; j <= k; ++j) {
        sum += (I[r][j] - previous) * (root[k - j + 1] + sphere);
        previous = I[r][j];
      }
      flux[r][k] = sum;
    }
  }
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    std::size_t f = static_cast<std::size_t>(2 * i - 2);
    StoreConvolutionPoint(
        model, i,
        [&](int r) {
          const ConvolutionReaction& x = problem.reactions[static_cast<std::size_t>(r)];
          return x.n * problem.AF *
                 Combine(model, flux[static_cast<std::size_t>(r)][f],
                         flux[static_cast<std::size_t>(r)][f + 1]);
        },
        [&](int s) {
          // The species' role in its couple gives the sign of its change.
          for (std::size_t r = 0; r < problem.reactions.size(); ++r) {
            const ConvolutionReaction& x = problem.reactions[r];
            const ConvolutionSpecies& sp = problem.species[static_cast<std::size_t>(s)];
            if (x.ox == s) return sp.bulk - I[r][f + 1] / sp.sqrtD;
            if (x.red == s) return sp.bulk + I[r][f + 1] / sp.sqrtD;
          }
          return problem.species[static_cast<std::size_t>(s)].bulk;
        });
  }
}

// Any kinetics, chemistry and resistance: the convolution on M, 2M and 4M sub-steps per half
// period, extrapolated.
void RunSubsteps(Model& model, double pHterm, const std::vector<double>& E) {
  const double tp = model.PulseTime;  // s
  const int K = static_cast<int>(E.size());
  std::vector<ConvolutionSolution> levels;
  for (int level = 0; level < 3; ++level) {
    const int substeps = kSubsteps << level;
    ConvolutionProblem problem =
        BuildConvolutionProblem(model, pHterm, {tp / substeps, K * substeps, false});
    problem.keepEvery = substeps;  // the ends of the half periods
    std::vector<double> applied;
    applied.reserve(static_cast<std::size_t>(K * substeps));
    for (double Ek : E)
      applied.insert(applied.end(), static_cast<std::size_t>(substeps), Ek);
    levels.push_back(SolveConvolution(problem, applied));
  }
  // The extrapolated value at the end of half period k of the table chosen by `of`.
  auto sample = [&](auto of, int k) {
    double sum = 0.0;
    for (int level = 0; level < 3; ++level) {
      const std::vector<double>& values = of(levels[static_cast<std::size_t>(level)]);
      sum += kRomberg[level] * values[static_cast<std::size_t>(k)];
    }
    return sum;
  };
  for (int i = 1; i <= model.NumberOfPoints; ++i) {
    int k = 2 * i - 2;  // forward half period
    StoreConvolutionPoint(
        model, i,
        [&](int r) {
          auto current = [r](const ConvolutionSolution& x) -> const std::vector<double>& {
            return x.current[static_cast<std::size_t>(r)];
          };
          return Combine(model, sample(current, k), sample(current, k + 1));
        },
        [&](int s) {
          return sample(
              [s](const ConvolutionSolution& x) -> const std::vector<double>& {
                return x.surface[static_cast<std::size_t>(s)];
              },
              k + 1);
        });
  }
}

}  // namespace

bool SquareWaveByConvolution(const Model& model) {
  const bool squareWave = model.Technique == Technique::kSquareWave ||
                          model.Technique == Technique::kAdditiveSquareWave;
  return squareWave && RowOf(model.Electrode).kernel != KernelShape::kNone;
}

int SquareWaveSubsteps(const Model& model, double pHterm) {
  ConvolutionProblem problem = BuildConvolutionProblem(model, pHterm, {model.PulseTime, 1, false});
  if (ClosedFormApplies(model, problem)) return 0;
  return kSubsteps;
}

void RunSquareWave(Model& model, double pHterm) {
  std::vector<double> E = HalfPeriodPotentials(model);
  ConvolutionProblem problem = BuildConvolutionProblem(model, pHterm, {model.PulseTime, 1, false});
  if (ClosedFormApplies(model, problem)) {
    RunNernstian(model, problem, E);
  } else {
    RunSubsteps(model, pHterm, E);
  }
}

}  // namespace qalto
