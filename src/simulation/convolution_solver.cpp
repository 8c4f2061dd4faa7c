#include "simulation/convolution_solver.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

#include "common/checked_math.h"
#include "simulation/marcus_hush_rate.h"

namespace qalto {
namespace {

constexpr int kMaxReactions = 3;

// Two doubles side by side, the compiler's vector type (SSE2 on every x86-64, NEON on ARM):
// the history sums' inner loop is written in them because the compiler may not reorder the
// additions of a sum itself.
typedef double Lanes __attribute__((vector_size(16)));

Lanes LoadLanes(const double* from) {
  Lanes lanes;
  std::memcpy(&lanes, from, sizeof lanes);
  return lanes;
}
void StoreLanes(double* to, Lanes lanes) {
  std::memcpy(to, &lanes, sizeof lanes);
}

// The history sum of one reaction seen through one kernel.
struct HistoryTerm {
  int reaction = 0;
  int kernel = 0;
};

// sum_{m=1..n} W(m) u[n-m] + S(n) u[0] for equal steps: the first weights one by one, the rest
// through the exponentials of the kernel, each carrying the geometric sum of the fluxes
// z_l(j) = sum_{i<=j} r_l^(j-i) u[i] (with the flux at t = 0 folded into z_l(0)), updated once
// per point.
class HistoryTail {
 public:
  explicit HistoryTail(const KernelWeights& k) : k_(k), z_(k.ratio.size(), 0.0) {}

  // The exact weights it reads: the fluxes of the last Exact() points.
  int Exact() const { return static_cast<int>(k_.w.size()); }

  // Point n; the flux of point n - m stands at now[-m], m = 1..min(n, Exact()).
  double Sum(const double* now, int n) {
    const int e = Exact();
    const double* w = k_.w.data();
    double sum = 0.0;
    for (int m = 1; m <= std::min(n, e - 1); ++m)
      sum += w[m] * now[-m];
    if (n < e) return n > 0 ? sum + k_.start[static_cast<std::size_t>(n)] * now[-n] : sum;
    const double oldest = now[-e];  // the flux that enters the exponentials now
    const std::size_t L = z_.size();
    const double* r = k_.ratio.data();
    const double* a = k_.amplitude.data();
    double* z = z_.data();
    if (n == e) {
      for (std::size_t l = 0; l < L; ++l)
        z[l] = a[l] > 0.0 ? oldest * (1.0 + k_.startAmplitude[l] / a[l]) : 0.0;
      double far = 0.0;
      for (std::size_t l = 0; l < L; ++l)
        far += a[l] * z[l];
      return sum + far;
    }
    // Each exponential updated and summed in one pass, four at a time in two pairs of lanes
    // that hold the partial sums of l mod 4; the last ones, one by one, join the first sum.
    const Lanes entering = {oldest, oldest};
    Lanes far01 = {0.0, 0.0}, far23 = {0.0, 0.0};
    std::size_t l = 0;
    for (; l + 4 <= L; l += 4) {
      const Lanes z01 = LoadLanes(r + l) * LoadLanes(z + l) + entering;
      const Lanes z23 = LoadLanes(r + l + 2) * LoadLanes(z + l + 2) + entering;
      StoreLanes(z + l, z01);
      StoreLanes(z + l + 2, z23);
      far01 += LoadLanes(a + l) * z01;
      far23 += LoadLanes(a + l + 2) * z23;
    }
    double far0 = far01[0];
    for (; l < L; ++l) {
      z[l] = r[l] * z[l] + oldest;
      far0 += a[l] * z[l];
    }
    return sum + ((far0 + far01[1]) + (far23[0] + far23[1]));
  }

 private:
  const KernelWeights& k_;
  std::vector<double> z_;
};

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
  if (size == 1) {  // the elimination has nothing to do
    b[0] = Div(b[0], a[0][0]);
    return;
  }
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
  double forward = 0;    // -alpha n f / nuO, 1/V
  double backward = 0;   // (1 - alpha) n f / nuR, 1/V
  double logO = 0;       // ln nuO
  double logR = 0;       // ln nuR
  double nf = 0;         // n F/RT, 1/V
  double inverseKs = 0;  // 1 / ks, s/cm
  std::optional<MarcusHushRate> marcusHush;
};

// One reaction at the interfacial potential E: the shares pf and pb of the reduction and the
// oxidation rate in their sum e^L, the diagonal e^-L / ks of the surface system, and their
// derivatives by E (dpb = -dpf).
struct Transfer {
  double E = std::nan("");  // V; NaN: none yet
  double pf = 0;
  double pb = 0;
  double diagonal = 0;       // s/cm
  double dpf = 0;            // 1/V
  double diagonalSlope = 0;  // s/(cm V)
};

class Solver {
 public:
  Solver(const ConvolutionProblem& problem, int points, const ConvolutionColumns& out)
      : p_(problem), N_(points), out_(out) {
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
    } else {
      for (const HistoryTerm& term : terms_) {
        if (!p_.kernels[static_cast<std::size_t>(term.kernel)].ratio.empty()) continue;
        if (p_.kernels[static_cast<std::size_t>(term.kernel)].w.size() <
            static_cast<std::size_t>(N_))
          throw RuntimeError::SubscriptOutOfRange();
      }
      for (const HistoryTerm& term : terms_)
        tails_.emplace_back(p_.kernels[static_cast<std::size_t>(term.kernel)]);
    }
    // Equal steps read the fluxes of their exact weights' points alone: a ring of the least
    // power of two beyond them (a grid of sub-steps need not keep millions), written twice over,
    // at j & mask_ and ring_ beyond, so that the last ones always stand side by side; a step
    // grid keeps all.
    std::size_t ring = static_cast<std::size_t>(N_);
    if (p_.stepEnds.empty()) {
      int reach = 0;
      for (const HistoryTail& tail : tails_)
        reach = std::max(reach, std::min(tail.Exact(), N_));
      ring = 1;
      while (ring <= static_cast<std::size_t>(reach))
        ring *= 2;
      mask_ = ring - 1;
      ring_ = ring;
    }
    flux_.assign(R, std::vector<double>(ring + ring_, 0.0));
    for (std::size_t s = 0; s < p_.species.size(); ++s)
      for (int r = 0; r < R; ++r)
        roles_.push_back(Role(p_.reactions[static_cast<std::size_t>(r)], static_cast<int>(s)));
    transfers_.resize(static_cast<std::size_t>(R));
    base_.assign(p_.species.size(), 0.0);
    gain_.assign(p_.species.size(), 0.0);
    for (const ConvolutionReaction& x : p_.reactions) {
      exponents_.push_back({-x.alpha * x.n * p_.fOverRT / x.nuO,
                            (1.0 - x.alpha) * x.n * p_.fOverRT / x.nuR, std::log(x.nuO),
                            std::log(x.nuR), x.n * p_.fOverRT, x.ks > 0 ? 1.0 / x.ks : 0.0,
                            std::nullopt});
      if (x.reorganisation > 0) exponents_.back().marcusHush.emplace(x.reorganisation);
    }
    if (p_.keepEvery < 1 || N_ % p_.keepEvery != 0) throw RuntimeError::InvalidCall();
    const std::size_t kept = static_cast<std::size_t>(N_ / p_.keepEvery);
    auto shorter = [kept](std::span<double> column) { return column.size() < kept; };
    if (out_.current.size() != static_cast<std::size_t>(R) ||
        out_.surface.size() != p_.species.size() ||
        std::any_of(out_.current.begin(), out_.current.end(), shorter) ||
        std::any_of(out_.surface.begin(), out_.surface.end(), shorter) ||
        (!out_.total.empty() && shorter(out_.total)))
      throw RuntimeError::InvalidCall();
  }

  void Run(std::span<const double> applied) {
    const bool charging = !p_.capacitance.empty();
    for (int n = 0; n < N_; ++n) {
      const std::size_t at = static_cast<std::size_t>(n);
      UpdateHistory(n);
      const double Eapp = applied[at];
      // The charging current at the interfacial potential E, cathodic positive: linear in E,
      // chargeSlope (A/V) times the change of the interfacial potential over the point.
      const double previousDrop = lastDrop_;
      const double chargeSlope = charging ? -Div(p_.capacitance[at], p_.pointTime) : 0.0;
      auto charge = [&](double E) {
        if (!charging) return 0.0;
        return chargeSlope * (p_.sweepStep[at] + (E - Eapp) - previousDrop);
      };
      double u[kMaxReactions];
      double E = Eapp;
      if (p_.resistance > 0) {
        E += SolveDrop(Eapp, charge, chargeSlope, u);
      } else {
        Fluxes(E, u);
      }
      Record(n, u);
      if (!out_.total.empty() && Kept(n)) {
        const std::size_t k = KeptIndex(n);
        double sum = 0.0;
        for (std::size_t r = 0; r < p_.reactions.size(); ++r)
          sum += out_.current[r][k];
        out_.total[k] = Checked(sum + charge(E));
      }
      first_ = false;
    }
  }

 private:
  // The ohmic drop d (V) of the point at the applied potential Eapp: the root of
  // g(d) = d - Ru I(Eapp + d), which grows with d (the cathodic current falls as the potential
  // rises). Newton's steps, with the exact derivative of the fluxes, from the drop the last two
  // points predict, kept inside the bracket the signs of g establish and halved when a step
  // leaves it. The last Newton step, shorter than kTangentStep, moves the fluxes along their
  // tangent instead of solving again: the drop's error is then of the order of that step squared
  // (the curve within 1e-10 of its peak of the exact root's). The current through Ru is the
  // faradaic one plus charge(E), the charging current, whose derivative by E is chargeSlope
  // (A/V). Leaves the fluxes at the answer in u.
  template <class ChargingCurrent>
  double SolveDrop(double Eapp, const ChargingCurrent& charge, double chargeSlope,
                   double u[kMaxReactions]) {
    constexpr double kTangentStep = 1e-6;  // V
    constexpr int kIterations = 60;
    const std::size_t R = p_.reactions.size();
    double du[kMaxReactions];
    double d = drops_ >= 2 ? 2.0 * lastDrop_ - dropBefore_ : lastDrop_;
    double lo = -HUGE_VAL, hi = HUGE_VAL;  // bracket of the root, V
    bool settled = false;                  // u belongs to d
    for (int it = 0; it < kIterations && !settled; ++it) {
      Fluxes(Eapp + d, u, du);
      double I = 0.0, dI = chargeSlope;  // A, A/V
      for (std::size_t r = 0; r < R; ++r) {
        I += p_.reactions[r].n * p_.AF * u[r];
        dI += p_.reactions[r].n * p_.AF * du[r];
      }
      const double g = d - p_.resistance * (I + charge(Eapp + d));
      const double slope = 1.0 - p_.resistance * dI;
      settled = g == 0.0;
      if (settled) break;
      if (g > 0) hi = std::min(hi, d);
      if (g < 0) lo = std::max(lo, d);
      const bool newton = slope > 0 && std::isfinite(slope);
      double next = newton ? d - g / slope : d - g;
      const bool inside = next > lo && next < hi;
      if (!inside && std::isfinite(lo) && std::isfinite(hi)) next = 0.5 * (lo + hi);
      const double step = next - d;
      d = next;
      if (newton && inside && std::fabs(step) < kTangentStep) {
        for (std::size_t r = 0; r < R; ++r)
          u[r] += du[r] * step;
        settled = true;
      }
    }
    if (!settled) Fluxes(Eapp + d, u);  // the iterations ran out: the fluxes of the last drop
    dropBefore_ = lastDrop_;
    lastDrop_ = d;
    drops_ = std::min(drops_ + 1, 2);
    return d;
  }

  // The surface concentrations without the current of point n, from every earlier point.
  void UpdateHistory(int n) {
    const bool steps = !p_.stepEnds.empty();
    if (steps) stepUnits_ = p_.stepEnds[n] - (n > 0 ? p_.stepEnds[n - 1] : 0);
    for (std::size_t t = 0; t < terms_.size(); ++t) {
      const HistoryTerm& term = terms_[t];
      history_[t] =
          steps ? StepHistorySum(integrals_[term.kernel], p_.stepEnds, flux_[term.reaction], n)
                : tails_[t].Sum(flux_[term.reaction].data() + (n & mask_) + ring_, n);
    }
    for (std::size_t s = 0; s < p_.species.size(); ++s) {
      const ConvolutionSpecies& sp = p_.species[s];
      double sum = 0.0;
      for (std::size_t t = 0; t < terms_.size(); ++t) {
        if (terms_[t].kernel != sp.kernel) continue;
        sum += RoleOf(s, static_cast<std::size_t>(terms_[t].reaction)) * history_[t];
      }
      base_[s] = sp.bulk + Div(sum, sp.sqrtD);
      gain_[s] = Gain(static_cast<int>(s));
    }
  }

  // Reaction fluxes u_r (M cm/s, reduction positive) at the interfacial potential E: Butler-Volmer
  // divided by (exp(-alpha xi) + exp((1-alpha) xi)) so that no exponential can overflow. With
  // slope, also du_r/dE (M cm/(s V)): the system a u = b differentiated, a du = b' - a' u.
  void Fluxes(double E, double u[kMaxReactions], double* slope = nullptr) {
    const int R = static_cast<int>(p_.reactions.size());
    double a[kMaxReactions][kMaxReactions] = {};
    double da[kMaxReactions][kMaxReactions] = {};  // d a / dE, 1/V
    double db[kMaxReactions] = {};                 // d b / dE, M/V
    for (int r = 0; r < R; ++r) {
      const ConvolutionReaction& x = p_.reactions[r];
      if (!(x.ks > 0)) {  // no electron transfer at all
        a[r][r] = 1.0;
        u[r] = 0.0;
        continue;
      }
      const Transfer& t = TransferAt(r, E);
      const double pf = t.pf, pb = t.pb, dpf = t.dpf;
      a[r][r] = t.diagonal;
      da[r][r] = t.diagonalSlope;
      for (int k = 0; k < R; ++k) {
        const double made = gain_[x.ox] * RoleOf(x.ox, k);
        const double lost = gain_[x.red] * RoleOf(x.red, k);
        a[r][k] += -pf * made + pb * lost;
        da[r][k] += -dpf * (made + lost);
      }
      u[r] = pf * base_[x.ox] - pb * base_[x.red];
      db[r] = dpf * (base_[x.ox] + base_[x.red]);
    }
    if (slope == nullptr) {
      SolveSmall(a, u, R);
      return;
    }
    if (R == 1 && a[0][0] != 0.0) {  // one reciprocal serves both quotients
      const double inverse = 1.0 / a[0][0];
      u[0] = Checked(u[0] * inverse);
      slope[0] = Checked((db[0] - da[0][0] * u[0]) * inverse);
      return;
    }
    double copy[kMaxReactions][kMaxReactions];
    std::copy(&a[0][0], &a[0][0] + kMaxReactions * kMaxReactions, &copy[0][0]);
    SolveSmall(a, u, R);
    for (int r = 0; r < R; ++r) {
      slope[r] = db[r];
      for (int k = 0; k < R; ++k)
        slope[r] -= da[r][k] * u[k];
    }
    SolveSmall(copy, slope, R);
  }

  // The rates of reaction r at the interfacial potential E: both over their sum e^L,
  // e^L = e^max (1 + q), q = e^-|lf - lb| <= 1. A wave of steps holds its potential over many
  // points: the latest potential's rates serve again.
  const Transfer& TransferAt(int r, double E) {
    Transfer& t = transfers_[static_cast<std::size_t>(r)];
    if (E == t.E) return t;
    const ConvolutionReaction& x = p_.reactions[static_cast<std::size_t>(r)];
    const Exponents& c = exponents_[static_cast<std::size_t>(r)];
    double lf = c.forward * (E - x.E0) - c.logO;   // ln(kf / (ks nuO))
    double lb = c.backward * (E - x.E0) - c.logR;  // ln(kb / (ks nuR))
    double dlf = c.forward, dlb = c.backward;      // their derivatives by E, 1/V
    if (c.marcusHush) {
      const double xi = c.nf * (E - x.E0);
      const MarcusHushLog reduction = c.marcusHush->Reduction(xi);
      lf = reduction.value - c.logO;
      lb = lf + c.logO + xi - c.logR;
      dlf = c.nf * reduction.slope;
      dlb = dlf + c.nf;
    }
    const double q = std::exp(-std::fabs(lf - lb));
    const double share = 1.0 / (1.0 + q);
    t.pf = lf >= lb ? share : q * share;
    t.pb = lf >= lb ? q * share : share;
    t.diagonal = std::exp(-std::max(lf, lb)) * share * c.inverseKs;
    t.dpf = t.pf * t.pb * (dlf - dlb);
    t.diagonalSlope = -t.diagonal * (t.pf * dlf + t.pb * dlb);
    t.E = E;
    return t;
  }

  // Change of the surface concentration of species s per unit flux of the present point.
  double Gain(int s) const {
    const ConvolutionSpecies& sp = p_.species[s];
    if (!integrals_.empty()) return integrals_[sp.kernel][stepUnits_] / sp.sqrtD;
    const KernelWeights& k = p_.kernels[sp.kernel];
    return (first_ ? k.w[0] + k.start[0] : k.w[0]) / sp.sqrtD;
  }

  double RoleOf(std::size_t s, std::size_t r) const { return roles_[s * p_.reactions.size() + r]; }
  double RoleOf(int s, int r) const {
    return RoleOf(static_cast<std::size_t>(s), static_cast<std::size_t>(r));
  }

  bool Kept(int n) const { return (n + 1) % p_.keepEvery == 0; }
  std::size_t KeptIndex(int n) const { return static_cast<std::size_t>(n / p_.keepEvery); }

  void Record(int n, const double u[kMaxReactions]) {
    const std::size_t at = static_cast<std::size_t>(n);
    const bool kept = Kept(n);
    const std::size_t k = KeptIndex(n);
    for (std::size_t r = 0; r < p_.reactions.size(); ++r) {
      flux_[r][at & mask_] = u[r];
      if (ring_ > 0) flux_[r][(at & mask_) + ring_] = u[r];
      const double current = Checked(p_.reactions[r].n * p_.AF * u[r]);
      if (kept) out_.current[r][k] = current;
    }
    if (!kept) return;
    for (std::size_t s = 0; s < p_.species.size(); ++s) {
      double change = 0.0;
      for (std::size_t r = 0; r < p_.reactions.size(); ++r)
        change += RoleOf(s, r) * u[r];
      out_.surface[s][k] = base_[s] + gain_[s] * change;
    }
  }

  const ConvolutionProblem& p_;
  int N_ = 0;
  bool first_ = true;  // the first point also carries the flux at t = 0
  std::vector<HistoryTerm> terms_;
  std::vector<double> history_;            // one sum per history term, M cm / s^1/2
  std::vector<HistoryTail> tails_;         // equal steps: one per history term
  std::vector<std::vector<double>> flux_;  // fluxes of each reaction, point j at j & mask_
  std::size_t mask_ = ~std::size_t{0};     // a step grid keeps every point
  std::size_t ring_ = 0;                   // and the ring its copy beyond: none for a step grid
  std::vector<double> roles_;              // Role of each reaction for each species
  std::vector<Transfer> transfers_;        // of each reaction, at the latest potential
  std::vector<double> base_;               // surface concentration without point n, M
  std::vector<double> gain_;               // Gain of each species at point n, s^1/2 / (cm/s^1/2)
  std::vector<Exponents> exponents_;       // of each reaction
  std::vector<std::vector<double>> integrals_;  // a step grid: kernel integrals by unit, s^1/2
  int stepUnits_ = 0;                           // a step grid: units of step n
  const ConvolutionColumns& out_;
  // The ohmic drop: the latest two points' drops (V).
  int drops_ = 0;
  double lastDrop_ = 0;
  double dropBefore_ = 0;
};

}  // namespace

void SolveConvolution(const ConvolutionProblem& problem, std::span<const double> applied,
                      const ConvolutionColumns& out) {
  Solver solver(problem, static_cast<int>(applied.size()), out);
  solver.Run(applied);
}

ConvolutionSolution SolveConvolution(const ConvolutionProblem& problem,
                                     const std::vector<double>& applied) {
  const std::size_t kept =
      problem.keepEvery > 0 ? applied.size() / static_cast<std::size_t>(problem.keepEvery) : 0;
  ConvolutionSolution solution;
  solution.current.assign(problem.reactions.size(), std::vector<double>(kept, 0.0));
  solution.surface.assign(problem.species.size(), std::vector<double>(kept, 0.0));
  if (!problem.capacitance.empty()) solution.total.assign(kept, 0.0);
  ConvolutionColumns out;
  for (std::vector<double>& column : solution.current)
    out.current.emplace_back(column);
  for (std::vector<double>& column : solution.surface)
    out.surface.emplace_back(column);
  out.total = solution.total;
  SolveConvolution(problem, applied, out);
  return solution;
}

}  // namespace qalto
