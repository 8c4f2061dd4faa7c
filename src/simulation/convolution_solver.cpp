#include "simulation/convolution_solver.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "common/checked_math.h"
#include "simulation/implicit_drop.h"
#include "simulation/marcus_hush_rate.h"

namespace qalto {
namespace {

constexpr int kMaxReactions = 3;

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

// The same sum on a grid of unequal steps: step j covers (ends[j-1], ends[j]] (ends[-1] = 0) and
// weighs K(t_n - t_{j-1}) - K(t_n - t_j), K the kernel's integral, C[m] = K(m units).
double StepHistorySum(const std::vector<double>& C, const std::vector<int>& ends,
                      const std::vector<double>& u, int n) {
  const int now = ends[static_cast<std::size_t>(n)];
  double sum = 0.0;
  int previous = 0;
  for (int j = 0; j < n; ++j) {
    const int end = ends[static_cast<std::size_t>(j)];
    sum += (C[static_cast<std::size_t>(now - previous)] - C[static_cast<std::size_t>(now - end)]) *
           u[static_cast<std::size_t>(j)];
    previous = end;
  }
  return sum;
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

// ln(kf / (ks nuO)) = forward x (E - E0) - logO and ln(kb / (ks nuR)) = backward x (E - E0) - logR.
struct Exponents {
  double forward = 0;   // -alpha n f / nuO, 1/V
  double backward = 0;  // (1 - alpha) n f / nuR, 1/V
  double logO = 0;      // ln nuO
  double logR = 0;      // ln nuR
  double nf = 0;        // n F/RT, 1/V
  std::optional<MarcusHushRate> marcusHush;
};

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
    if (!p_.stepEnds.empty()) {  // the kernels' integrals at every whole number of units
      if (p_.stepEnds.size() != static_cast<std::size_t>(N_)) throw RuntimeError::InvalidCall();
      const std::size_t units = static_cast<std::size_t>(p_.stepEnds.back());
      for (const KernelWeights& k : p_.kernels) {
        if (k.w.size() < units) throw RuntimeError::SubscriptOutOfRange();
        std::vector<double> C(units + 1, 0.0);
        for (std::size_t m = 0; m < units; ++m)
          C[m + 1] = C[m] + k.w[m];
        integrals_.push_back(std::move(C));
      }
      forward_.assign(R, std::vector<double>(static_cast<std::size_t>(N_), 0.0));
    }
    reversed_.assign(R, std::vector<double>(static_cast<std::size_t>(N_), 0.0));
    base_.assign(p_.species.size(), 0.0);
    gain_.assign(p_.species.size(), 0.0);
    for (const ConvolutionReaction& x : p_.reactions) {
      exponents_.push_back({-x.alpha * x.n * p_.fOverRT / x.nuO,
                            (1.0 - x.alpha) * x.n * p_.fOverRT / x.nuR, std::log(x.nuO),
                            std::log(x.nuR), x.n * p_.fOverRT, std::nullopt});
      if (x.reorganisation > 0) exponents_.back().marcusHush.emplace(x.reorganisation);
    }
    result_.current.assign(R, std::vector<double>(static_cast<std::size_t>(N_), 0.0));
    result_.surface.assign(p_.species.size(), std::vector<double>(static_cast<std::size_t>(N_)));
    result_.interfacial.assign(static_cast<std::size_t>(N_), 0.0);
  }

  ConvolutionSolution Run(const std::vector<double>& applied) {
    double drop = 0.0;  // ohmic drop of the previous point, V
    const bool charging = !p_.capacitance.empty();
    if (charging) result_.total.assign(static_cast<std::size_t>(N_), 0.0);
    for (int n = 0; n < N_; ++n) {
      const std::size_t at = static_cast<std::size_t>(n);
      UpdateHistory(n);
      double Eapp = applied[at];
      // The charging current at the interfacial potential E, cathodic positive.
      const double previousDrop = drop;
      auto charge = [&](double E) {
        if (!charging) return 0.0;
        return -p_.capacitance[at] *
               Div(p_.sweepStep[at] + (E - Eapp) - previousDrop, p_.pointTime);
      };
      // Newton starts from the drop of the previous current.
      double E = Eapp;
      if (p_.resistance > 0) {
        drop = ImplicitDrop([&](double d) { return Current(Eapp + d) + charge(Eapp + d); },
                            p_.resistance, drop);
        E = Eapp + drop;
      }
      double u[kMaxReactions];
      Fluxes(E, u);
      Record(n, E, u);
      if (charging) {
        double sum = 0.0;
        for (std::size_t r = 0; r < p_.reactions.size(); ++r)
          sum += result_.current[r][at];
        result_.total[at] = Checked(sum + charge(E));
      }
      first_ = false;
    }
    return std::move(result_);
  }

 private:
  // The surface concentrations without the current of point n, from every earlier point.
  void UpdateHistory(int n) {
    const bool steps = !p_.stepEnds.empty();
    if (steps) stepUnits_ = p_.stepEnds[n] - (n > 0 ? p_.stepEnds[n - 1] : 0);
    for (std::size_t t = 0; t < terms_.size(); ++t) {
      const HistoryTerm& term = terms_[t];
      const KernelWeights& k = p_.kernels[term.kernel];
      if (steps) {
        history_[t] =
            StepHistorySum(integrals_[term.kernel], p_.stepEnds, forward_[term.reaction], n);
        continue;
      }
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
      gain_[s] = Gain(static_cast<int>(s));
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
      const Exponents& c = exponents_[static_cast<std::size_t>(r)];
      double lf = c.forward * (E - x.E0) - c.logO;   // ln(kf / (ks nuO))
      double lb = c.backward * (E - x.E0) - c.logR;  // ln(kb / (ks nuR))
      if (c.marcusHush) {
        const double xi = c.nf * (E - x.E0);
        lf = c.marcusHush->LogReduction(xi) - c.logO;
        lb = lf + c.logO + xi - c.logR;
      }
      // Both rates over their sum e^L, e^L = e^max (1 + q), q = e^-|lf - lb| <= 1.
      double q = std::exp(-std::fabs(lf - lb));
      double share = 1.0 / (1.0 + q);
      double pf = lf >= lb ? share : q * share;  // share of the reduction rate
      double pb = lf >= lb ? q * share : share;  // share of the oxidation rate
      a[r][r] = std::exp(-std::max(lf, lb)) * share / x.ks;
      for (int k = 0; k < R; ++k) {
        a[r][k] += -pf * gain_[x.ox] * Role(p_.reactions[k], x.ox) +
                   pb * gain_[x.red] * Role(p_.reactions[k], x.red);
      }
      u[r] = pf * base_[x.ox] - pb * base_[x.red];
    }
    SolveSmall(a, u, R);
  }

  // Change of the surface concentration of species s per unit flux of the present point.
  double Gain(int s) const {
    const ConvolutionSpecies& sp = p_.species[s];
    if (!integrals_.empty()) return integrals_[sp.kernel][stepUnits_] / sp.sqrtD;
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

  void Record(int n, double E, const double u[kMaxReactions]) {
    const std::size_t at = static_cast<std::size_t>(n);
    for (std::size_t r = 0; r < p_.reactions.size(); ++r) {
      reversed_[r][static_cast<std::size_t>(N_ - 1 - n)] = u[r];
      if (!forward_.empty()) forward_[r][at] = u[r];
      result_.current[r][at] = Checked(p_.reactions[r].n * p_.AF * u[r]);
    }
    for (std::size_t s = 0; s < p_.species.size(); ++s) {
      double change = 0.0;
      for (std::size_t r = 0; r < p_.reactions.size(); ++r)
        change += Role(p_.reactions[r], static_cast<int>(s)) * u[r];
      result_.surface[s][at] = base_[s] + gain_[s] * change;
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
  std::vector<double> gain_;          // Gain of each species at point n, s^1/2 / (cm/s^1/2)
  std::vector<Exponents> exponents_;  // of each reaction
  std::vector<std::vector<double>> integrals_;  // a step grid: kernel integrals by unit, s^1/2
  std::vector<std::vector<double>> forward_;    // a step grid: fluxes of each reaction in order
  int stepUnits_ = 0;                           // a step grid: units of step n
  ConvolutionSolution result_;
};

}  // namespace

ConvolutionSolution SolveConvolution(const ConvolutionProblem& problem,
                                     const std::vector<double>& applied) {
  Solver solver(problem, static_cast<int>(applied.size()));
  return solver.Run(applied);
}

}  // namespace qalto
