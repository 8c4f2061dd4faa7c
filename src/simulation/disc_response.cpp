#include "simulation/disc_response.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "common/checked_math.h"
#include "common/constants.h"
#include "common/runtime_error.h"
#include "digital/digital_timing.h"
#include "model/point_time.h"
#include "simulation/disc_transient.h"
#include "simulation/step_program.h"

namespace qalto {

namespace {

// ks sqrt(t/D) and ks a/D beyond this: the current within 0.1 % of the Nernstian one.
constexpr double kNernstianRate = 1e3;
// The sweep's ramp is followed in potential steps of at most 0.2 mV: the surface concentration
// taken linear in time over each, the current within 0.01 % of the ramp's.
constexpr double kRampStep = 2e-4;

// The model holds the radius 2a/pi of the hemisphere with the disc's steady state.
double DiscRadius(const Model& m) {
  return kPi * m.Radius / 2.0;
}

bool IndependentCouples(int mechanism) {
  return mechanism == 1 || mechanism == 4 || mechanism == 5;
}

// Time over which the run's fastest change happens, s: a sweep's RT/(Fv), else its shortest
// piece of constant potential.
double ShortestTime(const Model& m, const DigitalTiming& timing) {
  if (timing.ramp) return std::min(Div(m.RTOverF, std::abs(m.ScanRate)), PointTime(m));
  double shortest = timing.pieces[0].length;
  for (int p = 1; p < timing.pieceCount; ++p)
    shortest = std::min(shortest, timing.pieces[static_cast<size_t>(p)].length);
  return shortest;
}

// One Nernstian couple: its surface concentration of O at a potential and its current scale.
struct Couple {
  int ox = 0;
  int red = 0;
  double nF = 0;     // n F/RT, 1/V
  double E0 = 0;     // V, with the protons' shift
  double total = 0;  // C(O) + C(R) in the bulk, M
  double bulk = 0;   // C(O) in the bulk, M
  double scale = 0;  // 4 n F D a: A per M of C(O) drawn from the surface
  double kappa = 0;  // 4D/a^2, 1/s: tau per second

  double SurfaceOx(double E) const { return total / (1.0 + std::exp(-nF * (E - E0))); }
};

std::vector<Couple> Couples(const Model& m, double pHterm) {
  const double a = DiscRadius(m);
  std::vector<Couple> couples;
  for (int r = 1; r <= m.ChargeReactionCount; ++r) {
    Couple c;
    c.ox = m.ChargeReactionSpecies(r, 1);
    c.red = m.ChargeReactionSpecies(r, 2);
    const double n = m.ChargeN(r);
    c.nF = n * m.FOverRT;
    c.E0 = m.ChargeE0(r) - Div(m.ProtonCount(r) * pHterm, c.nF);
    c.bulk = m.SpeciesC(c.ox);
    c.total = c.bulk + m.SpeciesC(c.red);
    const double D = m.SpeciesD(c.ox);
    c.scale = 4.0 * n * kFaradayPerMilliMol * D * a;
    c.kappa = Div(4.0 * D, a * a);
    couples.push_back(c);
  }
  return couples;
}

int ScanSign(const Model& m, int i) {
  int s = Sgn(m.PotentialX(i) - m.PotentialX(i - 1));
  if (s == 0 && i < m.NumberOfPoints) s = Sgn(m.PotentialX(i + 1) - m.PotentialX(i));
  return s == 0 ? 1 : s;
}

// The potential of each piece of point i.
std::array<double, 2> PiecePotentials(const Model& m, const DigitalTiming& timing, int i) {
  const double pulse = i <= m.SweepPoints ? m.PulsePotential : -m.PulsePotential;
  std::array<double, 2> E{};
  for (int p = 0; p < timing.pieceCount; ++p) {
    E[static_cast<size_t>(p)] =
        PiecePotentialValue(timing.pieces[static_cast<size_t>(p)].potential, m.PotentialX(i), pulse,
                            m.PulsePotential, ScanSign(m, i));
  }
  return E;
}

// Writes the point's columns from each couple's current at the end of its first and last piece.
void StorePoint(Model& m, const DigitalTiming& timing, const std::vector<Couple>& couples, int i,
                const std::vector<double>& first, const std::vector<double>& last,
                double finalPotential) {
  const int total = m.TotalCurrentColumn;
  double sum = 0.0;
  double firstSum = 0.0;
  double lastSum = 0.0;
  for (size_t r = 0; r < couples.size(); ++r) {
    const double column = timing.lastWeight * last[r] + timing.firstWeight * first[r];
    m.ReactionCurrents(i, static_cast<int>(r) + 1) = Checked(column);
    sum += column;
    firstSum += first[r];
    lastSum += last[r];
    const Couple& c = couples[r];
    const double O = c.SurfaceOx(finalPotential);
    m.SurfaceConcentrations(i, c.ox) = O;
    if (c.red != 0) m.SurfaceConcentrations(i, c.red) = c.total - O;
  }
  m.ReactionCurrents(i, total) = sum;
  if (m.Technique == Technique::kSquareWave) {
    m.ReactionCurrents(i, total + 1) = firstSum;
    m.ReactionCurrents(i, total + 2) = lastSum;
  }
}

// Every point a fresh drop or pulse from the bulk: one or two pieces.
void RunFreshPoints(Model& m, const DigitalTiming& timing, const std::vector<Couple>& couples) {
  const double t1 = timing.pieces[0].length;
  const double t2 = timing.pieceCount > 1 ? timing.pieces[1].length : 0.0;
  std::vector<double> first(couples.size());
  std::vector<double> last(couples.size());
  for (int i = 1; i <= m.NumberOfPoints; ++i) {
    const auto E = PiecePotentials(m, timing, i);
    for (size_t r = 0; r < couples.size(); ++r) {
      const Couple& c = couples[r];
      const double u1 = c.SurfaceOx(E[0]);
      first[r] = c.scale * (c.bulk - u1) * DiscTransient(c.kappa * t1);
      last[r] = first[r];
      if (timing.pieceCount > 1) {
        const double u2 = c.SurfaceOx(E[1]);
        last[r] = c.scale * ((c.bulk - u1) * DiscTransient(c.kappa * (t1 + t2)) +
                             (u1 - u2) * DiscTransient(c.kappa * t2));
      }
    }
    StorePoint(m, timing, couples, i, first, last, E[static_cast<size_t>(timing.pieceCount - 1)]);
  }
}

// The square waves: pieces of one length one after the other from the start; the current at the
// end of piece q adds every earlier change of the surface concentration.
void RunSquareWavePieces(Model& m, const DigitalTiming& timing,
                         const std::vector<Couple>& couples) {
  const int N = m.NumberOfPoints;
  const int pieces = 2 * N;
  const double tp = timing.pieces[0].length;
  std::vector<double> first(couples.size());
  std::vector<double> last(couples.size());
  std::vector<std::vector<double>> drops(couples.size());   // C(O) drawn at each piece's start
  std::vector<std::vector<double>> sample(couples.size());  // current at each piece's end
  for (size_t r = 0; r < couples.size(); ++r) {
    const Couple& c = couples[r];
    std::vector<double> f(static_cast<size_t>(pieces) + 1);
    for (int q = 1; q <= pieces; ++q)
      f[static_cast<size_t>(q)] = DiscTransient(c.kappa * q * tp);
    double before = c.bulk;
    drops[r].assign(static_cast<size_t>(pieces), 0.0);
    sample[r].assign(static_cast<size_t>(pieces), 0.0);
    for (int i = 1; i <= N; ++i) {
      const auto E = PiecePotentials(m, timing, i);
      for (int p = 0; p < 2; ++p) {
        const int q = 2 * (i - 1) + p;
        const double u = c.SurfaceOx(E[static_cast<size_t>(p)]);
        drops[r][static_cast<size_t>(q)] = before - u;
        before = u;
        double sum = 0.0;
        for (int k = 0; k <= q; ++k)
          sum += drops[r][static_cast<size_t>(k)] * f[static_cast<size_t>(q + 1 - k)];
        sample[r][static_cast<size_t>(q)] = c.scale * sum;
      }
    }
  }
  for (int i = 1; i <= N; ++i) {
    for (size_t r = 0; r < couples.size(); ++r) {
      first[r] = sample[r][static_cast<size_t>(2 * i - 2)];
      last[r] = sample[r][static_cast<size_t>(2 * i - 1)];
    }
    StorePoint(m, timing, couples, i, first, last, PiecePotentials(m, timing, i)[1]);
  }
}

// The sweep: the potential ramps from E(i-1) to E(i) over each point, followed in M equal
// sub-steps over which the surface concentration changes linearly in time; a change du over
// sub-step s adds -du (F(tau_end - tau_s) - F(tau_end - tau_s+1)) / dtau at a later instant, F
// the integral of f, after the jump from the bulk to the start potential's value at t = 0.
void RunSweep(Model& m, const std::vector<Couple>& couples) {
  const int N = m.NumberOfPoints;
  const double step = std::abs(m.PotentialStep);
  const int M = std::max(1, static_cast<int>(std::ceil(step / kRampStep - 1e-9)));
  const double dt = PointTime(m) / M;  // s
  const int subSteps = N * M;
  std::vector<double> first(couples.size());
  std::vector<double> last(couples.size());
  std::vector<std::vector<double>> sample(couples.size(), std::vector<double>(N + 1, 0.0));
  for (size_t r = 0; r < couples.size(); ++r) {
    const Couple& c = couples[r];
    const double dtau = c.kappa * dt;
    std::vector<double> w(static_cast<size_t>(subSteps) + 1);  // w_k, k = 1..N M
    double below = 0.0;
    for (int k = 1; k <= subSteps; ++k) {
      const double F = DiscTransientIntegral(k * dtau);
      w[static_cast<size_t>(k)] = (F - below) / dtau;
      below = F;
    }
    std::vector<double> drops(static_cast<size_t>(subSteps), 0.0);
    const double start = c.SurfaceOx(m.PotentialX(0));
    double before = start;
    for (int i = 1; i <= N; ++i) {
      const double E0 = m.PotentialX(i - 1);
      const double E1 = m.PotentialX(i);
      for (int s = 1; s <= M; ++s) {
        const double u = c.SurfaceOx(E0 + (E1 - E0) * s / M);
        drops[static_cast<size_t>((i - 1) * M + s - 1)] = before - u;
        before = u;
      }
      const int end = i * M;
      double sum = (c.bulk - start) * DiscTransient(c.kappa * end * dt);
      for (int s = 0; s < end; ++s)
        sum += drops[static_cast<size_t>(s)] * w[static_cast<size_t>(end - s)];
      sample[r][static_cast<size_t>(i)] = c.scale * sum;
    }
  }
  DigitalTiming timing;  // one piece, sampled at its end
  for (int i = 1; i <= N; ++i) {
    for (size_t r = 0; r < couples.size(); ++r)
      first[r] = last[r] = sample[r][static_cast<size_t>(i)];
    StorePoint(m, timing, couples, i, first, last, m.PotentialX(i));
  }
}

}  // namespace

bool DiscResponseIsExact(const Model& m) {
  if (!IndependentCouples(m.Mechanism) || m.UncompensatedResistance > 0.0) return false;
  if (m.FirstOrderReactionCount > 0 || m.SecondOrderReactionCount > 0) return false;
  if (!(m.Radius > 0.0)) return true;  // the run fails on the radius, with its cause
  try {
    const DigitalTiming timing =
        TechniqueTiming(m.Technique, PointTime(m), m.PulseTime, m.PotentialStep, 1);
    const double t = ShortestTime(m, timing);
    const double a = DiscRadius(m);
    for (int r = 1; r <= m.ChargeReactionCount; ++r) {
      const int O = m.ChargeReactionSpecies(r, 1);
      const int R = m.ChargeReactionSpecies(r, 2);
      if (O < 1 || R < 1 || O > m.SpeciesCount || R > m.SpeciesCount) return false;
      if (m.ChargeReactionStoich(r, 1) != 1 || m.ChargeReactionStoich(r, 2) != 1) return false;
      const double D = m.SpeciesD(O);
      if (m.SpeciesD(R) != D) return false;
      const double ks = m.ChargeKs(r);
      if (!(ks * std::sqrt(t / D) >= kNernstianRate && ks * a / D >= kNernstianRate)) return false;
    }
  } catch (const RuntimeError&) {
    return true;  // zero times or rates: the run itself names what is wrong
  }
  return true;
}

void RunDiscSteps(Model& m, double pHterm) {
  const std::vector<Couple> couples = Couples(m, pHterm);
  const StepProgram program = StepProgramOf(m);
  const double t1 = program.firstPoints * program.sample;  // s, the second jump
  const int total = m.TotalCurrentColumn;
  for (int i = 1; i <= program.Points(); ++i) {
    const double t = i * program.sample;  // s
    double sum = 0.0;
    double charge = 0.0;
    for (size_t r = 0; r < couples.size(); ++r) {
      const Couple& c = couples[r];
      const double u1 = c.SurfaceOx(program.first);
      const double u = c.SurfaceOx(program.PotentialAt(i));
      double current = (c.bulk - u1) * DiscTransient(c.kappa * t);
      double passed = (c.bulk - u1) * DiscTransientIntegral(c.kappa * t);
      if (i > program.firstPoints) {
        current += (u1 - u) * DiscTransient(c.kappa * (t - t1));
        passed += (u1 - u) * DiscTransientIntegral(c.kappa * (t - t1));
      }
      m.ReactionCurrents(i, static_cast<int>(r) + 1) = Checked(c.scale * current);
      sum += c.scale * current;
      charge += Div(c.scale, c.kappa) * passed;
      m.SurfaceConcentrations(i, c.ox) = u;
      if (c.red != 0) m.SurfaceConcentrations(i, c.red) = c.total - u;
    }
    m.ReactionCurrents(i, total) = sum;
    m.PassedCharge(i) = charge;
  }
}

void RunDiscResponse(Model& m, double pHterm) {
  const std::vector<Couple> couples = Couples(m, pHterm);
  const DigitalTiming timing =
      TechniqueTiming(m.Technique, PointTime(m), m.PulseTime, m.PotentialStep, 1);
  if (timing.ramp) {
    RunSweep(m, couples);
  } else if (timing.freshProfile) {
    RunFreshPoints(m, timing, couples);
  } else {
    RunSquareWavePieces(m, timing, couples);
  }
}

}  // namespace qalto
