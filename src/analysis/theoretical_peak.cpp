#include "analysis/theoretical_peak.h"

#include <cmath>
#include <string>

#include "common/checked_math.h"
#include "common/constants.h"
#include "digital/rotating_flow.h"
#include "model/point_time.h"
#include "simulation/analytical_accuracy.h"
#include "simulation/failure_cause.h"
#include "simulation/kinetic_currents.h"

namespace qalto {
namespace {

// Charge reaction r with the quantities every formula below is written in.
struct Reaction {
  const Model& m;
  int r = 0;
  int ox = 0;        // species number of the oxidized species
  int red = 0;       // species number of the reduced species
  double n = 0;      // electrons
  double f = 0;      // nF/RT, 1/V
  double alpha = 0;  // transfer coefficient
  double ks = 0;     // standard rate constant, cm/s
  double D = 0;      // diffusion coefficient of the oxidized species, cm2/s
  double C = 0;      // concentration of the couple, M
  double Q = 0;      // nFAC with C in mol/cm3, C/cm
  double v = 0;      // scan rate, V/s
  double r0 = 0;     // radius typed in the Instrument window, cm

  Reaction(const Model& model, int reaction, double typedRadius) : m(model), r(reaction) {
    ox = m.ChargeReactionSpecies(r, 1);
    red = m.ChargeReactionSpecies(r, 2);
    n = m.ChargeN(r);
    f = n * m.FOverRT;
    alpha = m.ChargeAlpha(r);
    ks = m.ChargeKs(r);
    D = m.SpeciesD(ox);
    C = m.SpeciesC(ox) + m.SpeciesC(red);
    Q = n * kFaradayPerMilliMol * m.ElectrodeArea * C;
    v = m.ScanRate;
    r0 = typedRadius;
  }

  // Reversible half-wave potential, shifted from E0' by the unequal diffusion of O and R, V.
  double HalfWave() const {
    return m.ChargeE0(r) + Div(Log(Div(m.SpeciesD(red), m.SpeciesD(ox))), 2 * f);
  }
  // Sampling time of a DC (drop time) or normal pulse (pulse width) wave, s.
  double WaveTime() const { return m.Technique == Technique::kDc ? m.DropTime : m.PulseTime; }
  // Reversible wave potential: the normal pulse wave lies one pulse height before E1/2, V.
  double WavePotential() const {
    return m.Technique == Technique::kDc ? HalfWave() : HalfWave() - m.PulsePotential;
  }
};

// The reversible and the irreversible line of one case.
struct LinePair {
  TheoreticalLine reversible;
  TheoreticalLine irreversible;
};

// A case that gives one set of values serves both lines: a diffusion-limited current does not
// depend on the rate of electron transfer.
LinePair Both(const TheoreticalLine& line) {
  return {line, line};
}

// Planar linear sweep (Randles-Sevcik and the totally irreversible peak).
TheoreticalLine PlanarReversibleSweep(const Reaction& x) {
  return {x.HalfWave() - Div(1.109, x.f), 0.4463 * x.Q * Sqrt(x.f * x.v * x.D), Div(2.2, x.f)};
}

TheoreticalLine PlanarIrreversibleSweep(const Reaction& x) {
  double af = x.alpha * x.f;  // 1/V
  double kinetic = Log(Div(Sqrt(x.D * x.alpha * x.f * x.v), x.ks));
  return {x.HalfWave() - Div(0.78 + kinetic, af), 0.4958 * x.Q * Sqrt(x.alpha * x.f * x.v * x.D),
          Div(1.857, af)};
}

// Steady-state current of a microdisc, 4nFDCr0 (the area cancels); slow transfer halves it.
LinePair Microdisc(const Reaction& x, double potential) {
  double id = Div(4 * x.Q * x.D * x.r0, x.m.ElectrodeArea);
  return {{potential, id, {}}, {{}, id / 2, {}}};
}

// Levich's limiting current of a rotating disk, 0.62045 nFAC D^2/3 w^1/2 nu^-1/6, at E1/2.
LinePair LevichWave(const Reaction& x) {
  double id = kLevichConstant * x.Q * Pow(x.D, 2.0 / 3.0) * Sqrt(x.m.RotationRate) *
              Pow(x.m.KinematicViscosity, -1.0 / 6.0);
  return Both({x.HalfWave(), id, {}});
}

// A film of thickness L: a thin layer (Hubbard) while L^2 nFv / (RT D) is below 0.1, the planar
// peaks above 30 (both then within 0.05 % of the converged peak); between them the wall and the
// diffusion layer meet and no formula holds. Thin reversible: n^2 F^2 v A L C / (4RT) at E0',
// Ep/2 at 1.763 RT/nF from it (90.6/n mV wide at half height); thin irreversible:
// alpha n F^2 v A L C / (e RT) where k0 exp(-alpha f (E - E0)) = alpha f v L, Ep/2 at
// 1.461 RT/(alpha nF).
constexpr double kThinLayerLimit = 0.1;
constexpr double kPlanarLimit = 30.0;
LinePair ThinFilmSweep(const Reaction& x) {
  const double L = x.m.ElectrodeLength;                  // film thickness, cm
  const double thickness = Div(L * L * x.f * x.v, x.D);  // squared over D RT/(nFv)
  if (thickness > kPlanarLimit) return {PlanarReversibleSweep(x), PlanarIrreversibleSweep(x)};
  if (thickness > kThinLayerLimit) return {{}, {}};
  const double af = x.alpha * x.f;  // 1/V
  const double E0 = x.m.ChargeE0(x.r);
  return {{E0, x.Q * x.f * x.v * L / 4, Div(1.7627, x.f)},
          {E0 + Div(Log(Div(x.ks, af * x.v * L)), af), x.Q * af * x.v * L / std::exp(1.0),
           Div(1.4614, af)}};
}

LinePair Sweep(const Reaction& x) {
  const Model& m = x.m;
  switch (m.Electrode) {
    case Electrode::kPlanar:
      return {PlanarReversibleSweep(x), PlanarIrreversibleSweep(x)};
    case Electrode::kSpherical:
    case Electrode::kHemispherical: {
      LinePair values{PlanarReversibleSweep(x), PlanarIrreversibleSweep(x)};
      *values.reversible.current += Div(x.Q * x.D, m.Radius);
      *values.irreversible.current += Div(x.Q * x.D, 2 * m.Radius);
      return values;
    }
    case Electrode::kMicrodisc: {
      LinePair values = Microdisc(x, x.HalfWave());
      values.irreversible.potential = x.HalfWave();
      return values;
    }
    case Electrode::kCylindrical: {
      double t = PointTime(m);                         // s
      double tau = Div(x.D * t, m.Radius * m.Radius);  // dimensionless time
      double planar = Div(1, Sqrt(kPi * x.D * t));     // 1/cm
      double id =
          tau >= 0.4
              ? x.Q * x.D * (planar + Div(2, m.Radius * Log(Div(4 * x.D * t, m.Radius * m.Radius))))
              : x.Q * x.D * (planar + Div(1, 2 * m.Radius));
      return {{x.HalfWave(), id, {}}, {}};
    }
    case Electrode::kRotatingDisk:  // a sweep slow against the flow traces the steady wave
      return LevichWave(x);
    case Electrode::kThinFilm:
      return ThinFilmSweep(x);
    case Electrode::kBand: {
      // Band: the quasi-steady current is a long-time value, taken after the whole forward sweep.
      double tau = Div(std::fabs(m.EndPotential - m.StartPotential), x.v);  // s
      double ip = Div(kTwoPi * x.n * kFaraday * 0.001 * x.D * x.C * m.ElectrodeLength,
                      Log(Div(64 * x.D * tau, 4 * x.r0 * x.r0)));
      // The same limiting current for slow transfer; its half-wave potential has no closed form.
      return {{x.HalfWave(), ip, {}}, {{}, ip, {}}};
    }
    default:
      return {{}, {}};
  }
}

LinePair Wave(const Reaction& x) {
  const Model& m = x.m;
  double t = x.WaveTime();  // s
  switch (m.Electrode) {
    case Electrode::kPlanar: {
      double id = x.Q * Sqrt(Div(x.D, kPi * t));  // Cottrell
      double e = x.WavePotential();
      double irreversible =
          e + Div(Log(1.349 * x.ks * Sqrt(Div(t, m.SpeciesD(x.red)))), x.alpha * x.f);
      return {{e, id, {}}, {irreversible, id, {}}};
    }
    case Electrode::kSpherical:
    case Electrode::kHemispherical: {
      double planar = Div(1, Sqrt(kPi * x.D * t));  // 1/cm
      return {{x.WavePotential(), x.Q * x.D * (planar + Div(1, m.Radius)), {}},
              {{}, x.Q * x.D * (planar + Div(1, 2 * m.Radius)), {}}};
    }
    case Electrode::kMicrodisc:
      return Microdisc(x, x.WavePotential());
    case Electrode::kCylindrical: {
      double id = Div(x.Q * x.D, m.Radius * Log(Div(2 * Sqrt(x.D * t), m.Radius)));
      return {{x.WavePotential(), id, {}}, {{}, id, {}}};
    }
    case Electrode::kRotatingDisk:
      return LevichWave(x);
    case Electrode::kRotatingCylinder:
    case Electrode::kRotatingHemisphere:  // the mass transfer of Eisenberg's cylinder and Chin's
                                          // hemisphere, as simulated
      return Both({x.HalfWave(), x.Q * SteadyMassTransfer(FlowCoefficient(m), x.D), {}});
    default:
      return {{}, {}};
  }
}

// Differential pulse peak of a reversible wave at a planar electrode, pulse height P:
// nFAC sqrt(D/(pi tp)) (1 - s)/(1 + s), s = exp(nFP/2RT).
double PlanarPulsePeak(const Reaction& x) {
  double sigma = Exp(x.f * x.m.PulsePotential / 2);
  return x.Q * Sqrt(Div(x.D, kPi * x.m.PulseTime)) * Div(1 - sigma, 1 + sigma);
}

LinePair DifferentialPulse(const Reaction& x) {
  const Model& m = x.m;
  double ip = PlanarPulsePeak(x);
  // Edge term of the curved electrodes: sqrt(pi D tp) / r0.
  auto edge = [&] { return Div(Sqrt(kPi * x.D * m.PulseTime), m.Radius); };
  using E = Electrode;
  const E e = m.Electrode;
  if (e == E::kSpherical || e == E::kHemispherical || e == E::kMicrodisc) ip = ip * (1 + edge());
  if (e == E::kCylindrical || e == E::kBand) ip = ip * (0.5 + edge());
  return Both({x.HalfWave() - m.PulsePotential / 2, ip, Div(1.76, x.f)});
}

LinePair SquareWave(const Reaction& x) {
  return Both({x.HalfWave(), PlanarPulsePeak(x), Div(1.76, x.f)});
}

// Catalytic (EC') wave: in the kinetic steady state the current is nFAC sqrt(D k') with
// k' = kf C(3) + kb, independent of time and electrode shape.
LinePair Catalytic(const Reaction& x) {
  const Model& m = x.m;
  double k = m.ForwardRateConstant(x.r) * m.SpeciesC(3) + m.BackwardRateConstant(x.r);  // 1/s
  double id = x.Q * Sqrt(x.D * k);
  double e = x.HalfWave();
  double af = x.alpha * x.f;  // 1/V
  double eIrreversible = e - Div(Log(Div(Sqrt(x.D * x.alpha * k), x.ks)), af);
  double pulse = m.PulsePotential;  // V
  // Pulses on the sigmoidal wave Id / (1 + exp(g (E - E1/2))) peak at Id (1 - s)/(1 + s),
  // s = exp(g P / 2), half-width 1.76/g; g = nF/RT reversible, alpha nF/RT irreversible.
  auto pulsePeak = [&](double g) {
    double sigma = Exp(g * pulse / 2);
    return id * Div(1 - sigma, 1 + sigma);
  };
  switch (m.Technique) {
    case Technique::kSweep:
    case Technique::kDc:
    case Technique::kNormalPulse:
      return {{e, id, {}}, {eIrreversible, id, {}}};
    // Differential pulse on the steady wave: the peak half a pulse before E1/2.
    case Technique::kDifferentialPulse:
      return {{e - pulse / 2, pulsePeak(x.f), Div(1.76, x.f)},
              {eIrreversible - pulse / 2, pulsePeak(af), Div(1.76, af)}};
    // Square wave on the steady wave: forward minus reverse, the peak at E1/2.
    case Technique::kSquareWave:
      return {{e, pulsePeak(x.f), Div(1.76, x.f)}, {eIrreversible, pulsePeak(af), Div(1.76, af)}};
    // Additive square wave on the steady wave: both half-cycles add, a wave of 2 Id.
    case Technique::kAdditiveSquareWave:
      return {{e, 2 * id, {}}, {eIrreversible, 2 * id, {}}};
    default:
      return {{}, {}};
  }
}

// Reduction of a complex MXp: the free metal's wave, shifted by the dissociation equilibrium
// when free ligand X (species 4) is present.
LinePair Complex(const Reaction& x) {
  const Model& m = x.m;
  double t = x.WaveTime();  // s
  double id = x.Q * Sqrt(Div(x.D, kPi * t));
  double e = x.WavePotential();
  if (m.SpeciesC(4) > 0) {
    double ligands = m.Mechanism == 9 ? 4 : 2;
    e += Div(Log(m.EquilibriumConstant(1)) + Log(Div(m.SpeciesD(1), m.SpeciesD(3))) / 2 -
                 ligands * Log(m.SpeciesC(4)),
             x.f);
  }
  return Both({e, id, {}});
}

// The case of the mechanism and technique. Mechanisms 6 and 7 (CE, EC) have no closed form
// here, nor the additive square wave of simple charge transfers: their lines stay empty.
LinePair Lines(const Reaction& x, int mechanism, Technique technique) {
  if (mechanism == 8) return Catalytic(x);
  if (mechanism == 9 || mechanism == 10) {
    return technique == Technique::kDc || technique == Technique::kNormalPulse ? Complex(x)
                                                                               : LinePair{};
  }
  if (mechanism < 1 || mechanism > 5) return {};
  switch (technique) {
    case Technique::kSweep:
      return Sweep(x);
    case Technique::kDc:
    case Technique::kNormalPulse:
      return Wave(x);
    case Technique::kDifferentialPulse:
      return DifferentialPulse(x);
    case Technique::kSquareWave:
      return SquareWave(x);
    default:
      return {};
  }
}

}  // namespace

TheoreticalValues TheoreticalPeakValues(const Model& model, int r, double typedRadius) {
  Reaction x(model, r, typedRadius);
  int mechanism = model.Mechanism;
  using T = Technique;
  const T technique = model.Technique;
  // A sweep at the rotating disk traces the steady wave: a limiting current, not a peak.
  bool steadySweep = model.Electrode == Electrode::kRotatingDisk;
  bool peakLabels = (technique == T::kSweep && mechanism != 8 && !steadySweep) ||
                    technique == T::kDifferentialPulse || technique == T::kSquareWave;
  LinePair lines = Lines(x, mechanism, technique);
  TheoreticalValues values{peakLabels, lines.reversible, lines.irreversible, std::nullopt};
  if (technique == T::kSweep && mechanism >= 1 && mechanism <= 5) {
    values.quasiReversible = QuasiReversibleCycle(model, r);
  }
  return values;
}

namespace {

bool Finite(const std::optional<double>& value) {
  return !value || std::isfinite(*value);
}

bool Finite(const TheoreticalLine& line) {
  return Finite(line.potential) && Finite(line.current) && Finite(line.width);
}

// A value beyond the number range stops the report where it arises, so that its message can
// name the box at fault rather than the printing of an infinite number.
void RequireFinite(const TheoreticalValues& values) {
  bool finite = Finite(values.reversible) && Finite(values.irreversible);
  if (const auto& q = values.quasiReversible) {
    finite = finite && std::isfinite(q->psi) && Finite(q->forwardE) && Finite(q->forwardI) &&
             Finite(q->forwardWidth) && Finite(q->reverseE) && Finite(q->reverseI);
  }
  if (!finite) throw RuntimeError::Overflow();
}

}  // namespace

TheoreticalReport TheoreticalPeak(const Model& model, double typedRadius) {
  TheoreticalReport report{model.Mechanism, model.Technique, model.Electrode, {}, {}, {}};
  try {
    for (int r = 1; r <= model.ChargeReactionCount; ++r) {
      TheoreticalValues values = TheoreticalPeakValues(model, r, typedRadius);
      RequireFinite(values);
      report.reactions.push_back({values, std::nullopt});
      if (model.Technique == Technique::kSweep && model.ScanCycles == 1) {
        // Separation of the forward and reverse peaks of a reversible cyclic voltammogram.
        ReactionTheory& theory = report.reactions.back();
        theory.separationFailed = true;
        double f = model.ChargeN(r) * model.FOverRT;  // 1/V
        theory.reversibleSeparation = Div(kLn10, f);
        theory.separationFailed = false;
      }
    }
    report.approximations = AnalyticalApproximations(model);
  } catch (const RuntimeError& error) {
    report.failure =
        std::make_exception_ptr(RuntimeError(DescriptionWithCause(model, error.Description())));
  }
  return report;
}

}  // namespace qalto
