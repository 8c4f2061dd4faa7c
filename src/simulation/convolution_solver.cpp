#include "simulation/convolution_solver.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/checked_math.h"

namespace qalto {
namespace {

constexpr int kMaxReactions = 3;
constexpr double kNewtonTolerance = 1e-10;  // interfacial potential, V
constexpr int kNewtonIterations = 60;
constexpr double kNewtonMaxStep = 0.1;    // largest Newton correction, V
constexpr double kDerivativeStep = 1e-7;  // potential step of the numerical dI/dE, V

// The history sum of one reaction seen through one kernel.
struct HistoryTerm {
  int reaction = 0;
  int kernel = 0;
};

// sum_{m=1..n} w[m] u[n-m], with u kept in reverse order (reversed[N-1-j] = u[j]) so that both
// run forward; four partial sums keep the pipeline full.
double HistorySum(const std::vector<double>& w, const std::vector<double>& reversed, int n) {
  const double* a = w.data() + 1;
  const double* b = reversed.data() + (reversed.size() - static_cast<std::size_t>(n));
  double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
  int m = 0;
  for (; m + 4 <= n; m += 4) {
    s0 += a[m] * b[m];
    s1 += a[m + 1] * b[m + 1];
    s2 += a[m + 2] * b[m + 2];
    s3 += a[m + 3] * b[m + 3];
  }
  for (; m < n; ++m)
    s0 += a[m] * b[m];
  return (s0 + s1) + (s2 + s3);
}

// Amount of species s the reaction makes per unit of its rate: -nuO for the oxidized form
// (reduction consumes it), +nuR for the reduced.
double Role(const ConvolutionReaction& reaction, int s) {
  return (s == reaction.red ? reaction.nuR : 0.0) - (s == reaction.ox ? reaction.nuO : 0.0);
}

// Solves the small system a u = b in place by Gaussian elimination with partial pivoting.
void SolveSmall(double a[kMaxReactions][kMaxReactions], double b[kMaxReactions], int size) {
  for (int col = 0; col < size; ++col) {
    int pivot = col;
    for (int row = col + 1; row < size; ++row)
      if (std::fabs(a[row][col]) > std::fabs(a[pivot][col])) pivot = row;
    std::swap(a[col], a[pivot]);
    std::swap(b[col], b[pivot]);
    for (int row = col + 1; row < size; ++row) {
      double factor = Div(a[row][col], a[col][col]);
      for (int c = col; c < size; ++c)
        a[row][c] -= factor * a[col][c];
      b[row] -= factor * b[col];
    }
  }
  for (int row = size - 1; row >= 0; --row) {
    for (int c = row + 1; c < size; ++c)
      b[row] -= a[row][c] * b[c];
    b[row] = Div(b[row], a[row][row]);
  }
}

class Solver {
 public:
  Solver(const ConvolutionProblem& problem, int points) : p_(problem), N_(points) {
    const int R = static_cast<int>(p_.reactions.size());
    if (R > kMaxReactions) throw RuntimeError::InvalidCall();
    for (int r = 0; r < R; ++r) {
      for (int s : {p_.reactions[r].ox, p_.reactions[r].red}) {
        HistoryTerm term{r, p_.species[s].kernel};
        if (std::none_of(terms_.begin(), terms_.end(), [&](const HistoryTerm& t) {
              return t.reaction == term.reaction && t.kernel == term.kernel;
            }))
          terms_.push_back(term);
      }
    }
    history_.assign(terms_.size(), 0.0);
    reversed_.assign(R, std::vector<double>(static_cast<std::size_t>(N_), 0.0));
    base_.assign(p_.species.size(), 0.0);
    result_.current.assign(R, std::vector<double>(static_cast<std::size_t>(N_), 0.0));
    result_.surface.assign(p_.species.size(), std::vector<double>(static_cast<std::size_t>(N_)));
    result_.interfacial.assign(static_cast<std::size_t>(N_), 0.0);
  }

  ConvolutionSolution Run(const std::vector<double>& applied) {
    double I = 0.0;  // total current of the previous point, A
    for (int n = 0; n < N_; ++n) {
      UpdateHistory(n);
      double Eapp = applied[static_cast<std::size_t>(n)];
      // Newton starts from the drop of the previous current.
      double E = p_.resistance > 0 ? InterfacialPotential(Eapp, Eapp + p_.resistance * I) : Eapp;
      double u[kMaxReactions];
      Fluxes(E, u);
      Record(n, E, u);
      I = 0.0;
      for (std::size_t r = 0; r < p_.reactions.size(); ++r)
        I += p_.reactions[r].n * p_.AF * u[r];
      first_ = false;
    }
    return std::move(result_);
  }

 private:
  // The surface concentrations without the current of point n, from every earlier point.
  void UpdateHistory(int n) {
    for (std::size_t t = 0; t < terms_.size(); ++t) {
      const HistoryTerm& term = terms_[t];
      const KernelWeights& k = p_.kernels[term.kernel];
      history_[t] = HistorySum(k.w, reversed_[term.reaction], n);
      if (n > 0) history_[t] += k.start[n] * reversed_[term.reaction].back();
    }
    for (std::size_t s = 0; s < p_.species.size(); ++s) {
      const ConvolutionSpecies& sp = p_.species[s];
      double sum = 0.0;
      for (std::size_t t = 0; t < terms_.size(); ++t) {
        if (terms_[t].kernel != sp.kernel) continue;
        sum += Role(p_.reactions[terms_[t].reaction], static_cast<int>(s)) * history_[t];
      }
      base_[s] = sp.bulk + Div(sum, sp.sqrtD);
    }
  }

  // Reaction fluxes u_r (M cm/s, reduction positive) at the interfacial potential E: Butler-Volmer
  // divided by (exp(-alpha xi) + exp((1-alpha) xi)) so that no exponential can overflow.
  void Fluxes(double E, double u[kMaxReactions]) const {
    const int R = static_cast<int>(p_.reactions.size());
    double a[kMaxReactions][kMaxReactions] = {};
    for (int r = 0; r < R; ++r) {
      const ConvolutionReaction& x = p_.reactions[r];
      if (!(x.ks > 0)) {  // no electron transfer at all
        a[r][r] = 1.0;
        u[r] = 0.0;
        continue;
      }
      double xi = x.n * p_.fOverRT * (E - x.E0);
      double lf = -x.alpha * xi / x.nuO - std::log(x.nuO);  // ln(kf / (ks nuO))
      double lb = (1.0 - x.alpha) * xi / x.nuR - std::log(x.nuR);
      double L = std::max(lf, lb) + std::log1p(std::exp(-std::fabs(lf - lb)));
      double pf = std::exp(lf - L);  // share of the reduction rate
      double pb = std::exp(lb - L);  // share of the oxidation rate
      a[r][r] = std::exp(-L) / x.ks;
      for (int q = 0; q < R; ++q) {
        a[r][q] += -pf * Gain(x.ox) * Role(p_.reactions[q], x.ox) +
                   pb * Gain(x.red) * Role(p_.reactions[q], x.red);
      }
      u[r] = pf * base_[x.ox] - pb * base_[x.red];
    }
    SolveSmall(a, u, R);
  }

  // Change of the surface concentration of species s per unit flux of the present point.
  double Gain(int s) const {
    const ConvolutionSpecies& sp = p_.species[s];
    const KernelWeights& k = p_.kernels[sp.kernel];
    return (first_ ? k.w[0] + k.start[0] : k.w[0]) / sp.sqrtD;
  }

  // Faradaic current (A) at the interfacial potential E.
  double Current(double E) const {
    double u[kMaxReactions];
    Fluxes(E, u);
    double sum = 0.0;
    for (std::size_t r = 0; r < p_.reactions.size(); ++r)
      sum += p_.reactions[r].n * p_.AF * u[r];
    return sum;
  }

  // E = Eapp + Ru I(E) (cathodic currents raise the interfacial potential). The residual grows
  // monotonically with E (dI/dE <= 0), so Newton's steps are kept inside the bracket the signs
  // of the residual have established and fall back to bisection when they leave it.
  double InterfacialPotential(double Eapp, double E) const {
    double lo = -HUGE_VAL, hi = HUGE_VAL;
    for (int it = 0; it < kNewtonIterations; ++it) {
      double I = Current(E);
      double g = E - Eapp - p_.resistance * I;
      if (g > 0) hi = std::min(hi, E);
      if (g < 0) lo = std::max(lo, E);
      if (g == 0) return E;
      double slope = 1.0 - p_.resistance * (Current(E + kDerivativeStep) - I) / kDerivativeStep;
      double step = std::clamp(-g / slope, -kNewtonMaxStep, kNewtonMaxStep);
      double next = E + step;
      if (!(next > lo && next < hi) && std::isfinite(lo) && std::isfinite(hi))
        next = 0.5 * (lo + hi);
      if (std::fabs(next - E) < kNewtonTolerance) return next;
      E = next;
    }
    return E;
  }

  void Record(int n, double E, const double u[kMaxReactions]) {
    const std::size_t at = static_cast<std::size_t>(n);
    for (std::size_t r = 0; r < p_.reactions.size(); ++r) {
      reversed_[r][static_cast<std::size_t>(N_ - 1 - n)] = u[r];
      result_.current[r][at] = Checked(p_.reactions[r].n * p_.AF * u[r]);
    }
    for (std::size_t s = 0; s < p_.species.size(); ++s) {
      double change = 0.0;
      for (std::size_t r = 0; r < p_.reactions.size(); ++r)
        change += Role(p_.reactions[r], static_cast<int>(s)) * u[r];
      result_.surface[s][at] = base_[s] + Gain(static_cast<int>(s)) * change;
    }
    result_.interfacial[at] = E;
  }

  const ConvolutionProblem& p_;
  int N_ = 0;
  bool first_ = true;  // the first point also carries the flux at t = 0
  std::vector<HistoryTerm> terms_;
  std::vector<double> history_;                // one sum per history term, M cm / s^1/2
  std::vector<std::vector<double>> reversed_;  // fluxes of each reaction, latest last read first
  std::vector<double> base_;                   // surface concentration without point n, M
  ConvolutionSolution result_;
};

}  // namespace

ConvolutionSolution SolveConvolution(const ConvolutionProblem& problem,
                                     const std::vector<double>& applied) {
  Solver solver(problem, static_cast<int>(applied.size()));
  return solver.Run(applied);
}

}  // namespace qalto
