#pragma once
// A plain implementation of the digital sweep of one couple O + e = R with two species, for the
// benchmarks only: the same grid, the same steps (one per point, the second-order backward
// difference taken as a backward-Euler step from newer C(n) + older C(n-1)) and the same
// Butler-Volmer surface rows as the program's solver, written as directly as the scheme allows (a
// Thomas elimination per species done once, each step two sweeps through the boxes and the 2 x 2
// surface system in closed form). Its instruction count is the yardstick of the program's step.

#include <algorithm>
#include <cmath>
#include <vector>

#include "digital/digital_run.h"

namespace qalto {

class PlainSweep {
 public:
  // Takes the grid, the coefficients and the kinetics of a prepared run of mechanism 1.
  explicit PlainSweep(const DigitalRun& run) {
    const StepLevel& level = *run.levels.front();
    const BlockSystem& sys = level.system;
    N_ = sys.boxes;
    newer_ = level.newer;
    older_ = level.older;
    const ChargeReaction& q = run.transfer.reactions[1];
    ks_ = q.ks;
    alpha_ = q.alpha;
    nf_ = q.n * run.transfer.FOverRT;
    protonTerm_ = q.protons * run.transfer.pHTerm;
    E0_ = q.E0;
    scale_ = run.currentScale * q.n;
    // A constant capacitance: the yardstick's runs have no slope of Cd with E.
    Q1_ = run.capacitance * run.absScanRate;
    Q2_ = run.capacitance * run.ruOverCharging;
    Q3_ = Q2_ + 1.0;
    potential_ = run.potential;
    for (int s = 0; s < 2; ++s) {
      g_[s] = run.surfaceRows.g[s + 1];
      bulk_[s] = run.bulk[s + 1];
      Species& x = species_[s];
      x.p.assign(N_ + 2, 0.0);
      x.q.assign(N_ + 2, 0.0);
      x.e.assign(N_ + 2, 0.0);
      x.f.assign(N_ + 2, 0.0);
      x.C.assign(N_ + 2, bulk_[s]);
      x.before.assign(N_ + 2, bulk_[s]);
      double outer = 0.0;  // e_{j+1}
      for (int j = N_; j >= 1; --j) {
        const double a = sys.lower[j][s + 1], c = sys.upper[j][s + 1];
        const double p = 1.0 / (sys.diagonal[j][s + 1][s + 1] - (j < N_ ? c * outer : 0.0));
        x.p[j] = p;
        x.q[j] = p * c;
        x.e[j] = outer = p * a;
      }
    }
  }

  // The total current of every point, A.
  void Run(std::vector<double>& total) {
    total.assign(potential_.size(), 0.0);
    for (int s = 0; s < 2; ++s) {
      std::fill(species_[s].C.begin(), species_[s].C.end(), bulk_[s]);
      std::fill(species_[s].before.begin(), species_[s].before.end(), bulk_[s]);
    }
    double previous = 0.0;
    for (std::size_t i = 1; i < potential_.size(); ++i) {
      const double theta = nf_ * (potential_[i] - E0_) + protonTerm_;
      const double kf = ks_ * std::exp(-alpha_ * theta);
      const double kb = ks_ * std::exp((1.0 - alpha_) * theta);
      for (int s = 0; s < 2; ++s)
        SweepInward(species_[s], bulk_[s]);
      Species& O = species_[0];
      Species& R = species_[1];
      const double a11 = g_[0] * (1.0 - O.e[1]) + kf, a12 = -kb;
      const double a21 = -kf, a22 = g_[1] * (1.0 - R.e[1]) + kb;
      const double b1 = g_[0] * O.f[1], b2 = g_[1] * R.f[1];
      const double det = a11 * a22 - a12 * a21;
      O.C[0] = (b1 * a22 - a12 * b2) / det;
      R.C[0] = (a11 * b2 - a21 * b1) / det;
      for (Species& x : species_)
        SubstituteOutward(x);
      const double faradaic = scale_ * (kf * O.C[0] - kb * R.C[0]);
      const int direction =
          potential_[i] > potential_[i - 1] ? 1 : (potential_[i] < potential_[i - 1] ? -1 : 0);
      previous = (faradaic - direction * Q1_ + Q2_ * previous) / Q3_;
      total[i] = previous;
    }
  }

 private:
  struct Species {
    std::vector<double> p, q, e, f, C;  // pivot, inward factor, outward factor, offset, profile
    std::vector<double> before;         // the profile of the step before
  };

  void SweepInward(Species& x, double bulk) const {
    double outer = bulk;
    for (int j = N_; j >= 1; --j) {
      const double start = newer_ * x.C[j] + older_ * x.before[j];
      x.before[j] = x.C[j];
      outer = x.p[j] * start + x.q[j] * outer;
      x.f[j] = outer;
    }
  }

  void SubstituteOutward(Species& x) const {
    double inner = x.C[0];
    for (int j = 1; j <= N_; ++j) {
      inner = x.e[j] * inner + x.f[j];
      x.C[j] = inner;
    }
  }

  int N_ = 0;
  double newer_ = 1, older_ = 0;  // weights of the latest two profiles in the start profile
  double ks_ = 0, alpha_ = 0, nf_ = 0, protonTerm_ = 0, E0_ = 0, scale_ = 0, Q1_ = 0, Q2_ = 0,
         Q3_ = 0;
  double g_[2] = {}, bulk_[2] = {};
  Species species_[2];
  std::vector<double> potential_;
};

}  // namespace qalto
