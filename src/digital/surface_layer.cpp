#include "digital/surface_layer.h"

#include <algorithm>
#include <cmath>

#include "common/checked_math.h"
#include "digital/dense_lu.h"
#include "model/experiment_table.h"

namespace qalto {

namespace {

constexpr int kMostNewtonSteps = 60;
constexpr int kMostHalvings = 30;   // of a Newton step that does not lower the residual
constexpr double kSettled = 1e-12;  // relative change of a surface concentration

bool Adsorbed(const Model& m, int s) {
  return s >= 1 && s <= m.SpeciesCount && m.SpeciesAdsorbed(s) != 0;
}

bool Dissolved(const Model& m, int s) {
  return s >= 1 && s <= m.SpeciesCount && m.SpeciesAdsorbed(s) == 0;
}

std::string Name(const Model& m, int s) {
  return m.SpeciesName(s);
}

// The rate factors of a charge reaction at E (V) with the slopes of their logarithms (1/V).
struct Rates {
  double kf = 0, kb = 0;
  double slopeF = 0, slopeB = 0;
};

Rates RatesAt(const ChargeReaction& q, const ChargeTransfer& t, double E) {
  if (q.marcusHush) {
    const MarcusHushRates k = MarcusHushAt(q, t, E);
    return {k.forward, k.backward, k.forwardSlope, k.backwardSlope};
  }
  const double nf = q.n * t.FOverRT;
  const double theta = nf * (E - q.E0) + q.protons * t.pHTerm;
  return {q.ks * Exp(-(q.alpha * theta / q.nuO)), q.ks * Exp((1.0 - q.alpha) * theta / q.nuR),
          -q.alpha * nf / q.nuO, (1.0 - q.alpha) * nf / q.nuR};
}

bool IsCouple(const SurfaceLayer& layer, const ChargeReaction& q) {
  return q.ox != 0 && q.red != 0 && layer.adsorbed[q.ox] && layer.adsorbed[q.red];
}

// The net production P(u) of every species by the surface reactions (M cm/s) and its Jacobian
// dP/du at the surface concentrations u.
class Production {
 public:
  Production(const SurfaceLayer& layer, const ChargeTransfer& transfer, double E, int species)
      : layer_(layer), transfer_(transfer), E_(E), species_(species) {}

  void Evaluate(const SpeciesVector& u, SpeciesVector& P, SpeciesMatrix& J) const {
    P = SpeciesVector{};
    J = SpeciesMatrix{};
    for (int r = 1; r <= transfer_.count; ++r)
      AddCharge(transfer_.reactions[r], u, P, J);
    for (const LayerReaction& q : layer_.reactions)
      AddStep(q, u, P, J);
  }

  // The reduction rate of charge reaction r, M cm/s.
  double ChargeRate(int r, const SpeciesVector& u) const {
    const ChargeReaction& q = transfer_.reactions[r];
    double x = 0, dxO = 0, dxR = 0;
    const Rates k = CoupleRates(q, u, x, dxO, dxR);
    const double O = q.ox != 0 ? u[q.ox] : 0.0;
    const double R = q.red != 0 ? u[q.red] : 0.0;
    return Checked(k.kf * O / q.nuO - k.kb * R / q.nuR);
  }

 private:
  // The rates of a reaction, at the potential the layer's interaction shifts for a surface
  // couple: E - g (1 - 2x)/(n f); x and its derivatives by Gamma O and Gamma R.
  Rates CoupleRates(const ChargeReaction& q, const SpeciesVector& u, double& x, double& dxO,
                    double& dxR) const {
    dxO = dxR = 0.0;
    x = 0.5;
    if (layer_.interaction == 0.0 || !IsCouple(layer_, q)) return RatesAt(q, transfer_, E_);
    const double total = u[q.ox] + u[q.red];
    if (total > 0.0) {
      x = u[q.ox] / total;
      dxO = u[q.red] / (total * total);
      dxR = -u[q.ox] / (total * total);
    }
    const double nf = q.n * transfer_.FOverRT;
    return RatesAt(q, transfer_, E_ - layer_.interaction * (1.0 - 2.0 * x) / nf);
  }

  void AddCharge(const ChargeReaction& q, const SpeciesVector& u, SpeciesVector& P,
                 SpeciesMatrix& J) const {
    double x = 0, dxO = 0, dxR = 0;
    const Rates k = CoupleRates(q, u, x, dxO, dxR);
    const double O = q.ox != 0 ? u[q.ox] : 0.0;
    const double R = q.red != 0 ? u[q.red] : 0.0;
    const double w = Checked(k.kf * O / q.nuO - k.kb * R / q.nuR);
    // d w / d x through the shifted potential, dE/dx = 2 g / (n f).
    const double shift = 2.0 * layer_.interaction / (q.n * transfer_.FOverRT);
    const double dwdx = shift * (k.slopeF * k.kf * O / q.nuO - k.slopeB * k.kb * R / q.nuR);
    SpeciesVector dw{};
    if (q.ox != 0) dw[q.ox] += k.kf / q.nuO + dwdx * dxO;
    if (q.red != 0) dw[q.red] += -k.kb / q.nuR + dwdx * dxR;
    for (const auto& [s, nu] : {std::pair{q.ox, -q.nuO}, std::pair{q.red, q.nuR}}) {
      if (s == 0) continue;
      P[s] += nu * w;
      for (int k2 = 1; k2 <= species_; ++k2)
        J[s][k2] += nu * dw[k2];
    }
  }

  // X = Y at the surface: w = kf u_X phi_X - kb u_Y phi_Y, phi = (1 - theta) e^(g theta) for a
  // dissolved species adsorbing, e^(-g theta) for an adsorbed one leaving the layer, 1 for a
  // reaction within the layer.
  void AddStep(const LayerReaction& q, const SpeciesVector& u, SpeciesVector& P,
               SpeciesMatrix& J) const {
    const bool within = layer_.adsorbed[q.x] && layer_.adsorbed[q.y];
    double theta = 0.0;
    if (!within) {
      for (int s = 1; s <= species_; ++s) {
        if (layer_.adsorbed[s]) theta += u[s];
      }
      theta = Div(theta, layer_.saturation);
    }
    const double g = layer_.interaction;
    auto phi = [&](int s, double& slope) {
      if (within) {
        slope = 0.0;
        return 1.0;
      }
      if (layer_.adsorbed[s]) {
        const double e = Exp(-g * theta);
        slope = -g * e;
        return e;
      }
      const double e = Exp(g * theta);
      slope = e * (g * (1.0 - theta) - 1.0);
      return (1.0 - theta) * e;
    };
    double slopeX = 0, slopeY = 0;
    const double phiX = phi(q.x, slopeX);
    const double phiY = phi(q.y, slopeY);
    const double w = Checked(q.kf * u[q.x] * phiX - q.kb * u[q.y] * phiY);
    SpeciesVector dw{};
    dw[q.x] += q.kf * phiX;
    dw[q.y] -= q.kb * phiY;
    if (!within) {
      const double dwdTheta = q.kf * u[q.x] * slopeX - q.kb * u[q.y] * slopeY;
      for (int s = 1; s <= species_; ++s) {
        if (layer_.adsorbed[s]) dw[s] += dwdTheta / layer_.saturation;
      }
    }
    P[q.x] -= w;
    P[q.y] += w;
    for (int k = 1; k <= species_; ++k) {
      J[q.x][k] -= dw[k];
      J[q.y][k] += dw[k];
    }
  }

  const SurfaceLayer& layer_;
  const ChargeTransfer& transfer_;
  double E_;
  int species_;
};

}  // namespace

bool IsSurfaceStep(const Model& m, int i) {
  return Adsorbed(m, m.FirstOrderReactionSpecies(i, 1)) ||
         Adsorbed(m, m.FirstOrderReactionSpecies(i, 2));
}

std::optional<std::string> SurfaceLayerProblem(const Model& m) {
  if (!m.DigitalSimulation) return std::nullopt;
  std::vector<bool> used(static_cast<size_t>(kMaxSpecies) + 1, false);
  bool any = false;
  for (int s = 1; s <= m.SpeciesCount && s <= kMaxSpecies; ++s)
    any = any || m.SpeciesAdsorbed(s) != 0;
  if (!any) return std::nullopt;
  if (m.Technique == Technique::kImpedance) {
    return "the impedance spectrum is computed for dissolved species only; adsorbed species "
           "take the techniques of a potential program";
  }
  const GridGeometry grid = RowOf(m.Electrode).grid;
  if (grid == GridGeometry::kDisc || grid == GridGeometry::kBand) {
    return "adsorbed species are simulated at the electrodes of one dimension, not at the " +
           std::string(RowOf(m.Electrode).name);
  }
  for (int r = 1; r <= m.ChargeReactionCount; ++r) {
    const int O = m.ChargeReactionSpecies(r, 1), R = m.ChargeReactionSpecies(r, 2);
    if ((Adsorbed(m, O) && Dissolved(m, R)) || (Dissolved(m, O) && Adsorbed(m, R))) {
      return "charge reaction " + std::to_string(r) + " joins the dissolved " +
             Name(m, Dissolved(m, O) ? O : R) + " and the adsorbed " +
             Name(m, Adsorbed(m, O) ? O : R) +
             "; an electron transfer takes place within one phase: write it between adsorbed "
             "species and add the adsorption step (" +
             Name(m, Dissolved(m, O) ? O : R) + " = " + Name(m, Dissolved(m, O) ? O : R) + "(ads))";
    }
    if (O >= 1 && O <= kMaxSpecies) used[static_cast<size_t>(O)] = true;
    if (R >= 1 && R <= kMaxSpecies) used[static_cast<size_t>(R)] = true;
  }
  bool adsorption = false;
  for (int i = 1; i <= m.FirstOrderReactionCount; ++i) {
    const int X = m.FirstOrderReactionSpecies(i, 1), Y = m.FirstOrderReactionSpecies(i, 2);
    if (IsSurfaceStep(m, i) && (X == 0 || Y == 0)) {
      return "first-order reaction " + std::to_string(i) +
             " of an adsorbed species needs a species on each side";
    }
    adsorption = adsorption || (IsSurfaceStep(m, i) && (Dissolved(m, X) || Dissolved(m, Y)));
    if (X >= 1 && X <= kMaxSpecies) used[static_cast<size_t>(X)] = true;
    if (Y >= 1 && Y <= kMaxSpecies) used[static_cast<size_t>(Y)] = true;
  }
  for (int i = 1; i <= m.SecondOrderReactionCount; ++i) {
    for (int k = 1; k <= 4; ++k) {
      const int s = m.SecondOrderReactionSpecies(i, k);
      if (Adsorbed(m, s)) {
        return "second-order reaction " + std::to_string(i) + " involves the adsorbed " +
               Name(m, s) + "; reactions in the layer are first-order";
      }
    }
  }
  double total = 0.0;  // mol/cm2
  for (int s = 1; s <= m.SpeciesCount; ++s) {
    if (!Adsorbed(m, s)) continue;
    if (!used[static_cast<size_t>(s)]) {
      return Name(m, s) +
             " is adsorbed but takes part in no surface couple (X(ads) + e = Y(ads)) and no "
             "adsorption step (X = X(ads))";
    }
    total += m.SpeciesGamma(s);
  }
  if (adsorption && total > m.LayerSaturation) {
    return "the adsorbed species' Γ add up to more than Γmax (mol/cm²): the layer holds at most "
           "Γmax";
  }
  return std::nullopt;
}

SurfaceLayer ReadSurfaceLayer(const Model& m) {
  SurfaceLayer layer;
  for (int s = 1; s <= m.SpeciesCount; ++s) {
    layer.adsorbed[s] = m.SpeciesAdsorbed(s) != 0;
    layer.active = layer.active || layer.adsorbed[s];
  }
  if (!layer.active) return layer;
  layer.saturation = kGammaPerMolPerCm2 * m.LayerSaturation;
  layer.interaction = m.LayerInteraction;
  bool adsorption = false;
  for (int i = 1; i <= m.FirstOrderReactionCount; ++i) {
    if (!IsSurfaceStep(m, i)) continue;
    LayerReaction q{m.FirstOrderReactionSpecies(i, 1), m.FirstOrderReactionSpecies(i, 2),
                    m.ForwardRateConstant(i), m.BackwardRateConstant(i)};
    adsorption = adsorption || !layer.adsorbed[q.x] || !layer.adsorbed[q.y];
    layer.reactions.push_back(q);
  }
  layer.linear = !adsorption && layer.interaction == 0.0;
  return layer;
}

namespace {

// The residual F(u) = g u - coupling u - rhs - P(u) of the surface rows and its Jacobian
// J = g - coupling - dP/du (row-major); returns |F|.
class SurfaceResidual {
 public:
  SurfaceResidual(const Production& production, const BlockSystem& system,
                  const BlockElimination& elimination)
      : production_(production), system_(system), elimination_(elimination) {}

  double Evaluate(const SpeciesVector& u, SpeciesVector& F, std::vector<double>& J) const {
    const int S = system_.species;
    production_.Evaluate(u, P_, dP_);
    double sum = 0.0;
    for (int r = 1; r <= S; ++r) {
      double f = system_.surfaceSource[r][r] * u[r] - elimination_.surfaceRhs[r] - P_[r];
      for (int k = 1; k <= S; ++k) {
        f -= elimination_.surfaceCoupling[r][k] * u[k];
        J[static_cast<size_t>((r - 1) * S + k - 1)] = (r == k ? system_.surfaceSource[r][r] : 0.0) -
                                                      elimination_.surfaceCoupling[r][k] -
                                                      dP_[r][k];
      }
      F[r] = f;
      sum += f * f;
    }
    return std::sqrt(sum);
  }

 private:
  const Production& production_;
  const BlockSystem& system_;
  const BlockElimination& elimination_;
  mutable SpeciesVector P_{};
  mutable SpeciesMatrix dP_{};
};

// The coverage of the layer at u, 0 where the layer has no saturation.
double Coverage(const SurfaceLayer& layer, const SpeciesVector& u, int S) {
  if (!(layer.saturation > 0.0)) return 0.0;
  double sum = 0.0;
  for (int s = 1; s <= S; ++s) {
    if (layer.adsorbed[s]) sum += u[s];
  }
  return sum / layer.saturation;
}

}  // namespace

void SolveLayerSurface(const SurfaceLayer& layer, const ChargeTransfer& transfer, double E,
                       BlockSystem& system, const BlockElimination& elimination) {
  const int S = system.species;
  const Production production(layer, transfer, E, S);
  const SurfaceResidual residual(production, system, elimination);
  SpeciesVector& u = system.current[0];
  SpeciesVector F{}, trialF{};
  // Work tables kept between the steps of a run: a step allocates nothing.
  thread_local std::vector<double> J, trialJ, step;
  thread_local DenseLu lu;
  J.resize(static_cast<size_t>(S * S));
  trialJ.resize(J.size());
  step.resize(static_cast<size_t>(S));
  double norm = residual.Evaluate(u, F, J);
  for (int iteration = 0; iteration < kMostNewtonSteps; ++iteration) {
    for (int r = 1; r <= S; ++r)
      step[static_cast<size_t>(r - 1)] = -F[r];
    if (!FactorDense(J.data(), S, lu)) throw RuntimeError::DivisionByZero();
    SolveDense(lu, step.data());
    if (layer.linear) {  // exact in one step
      for (int s = 1; s <= S; ++s)
        u[s] += Checked(step[static_cast<size_t>(s - 1)]);
      return;
    }
    // Damped: no concentration below zero, the layer never full, and |F| must fall.
    SpeciesVector trial{};
    double lambda = 1.0;
    double trialNorm = 0.0;
    for (int halving = 0;; ++halving) {
      for (int s = 1; s <= S; ++s)
        trial[s] = std::max(u[s] + lambda * Checked(step[static_cast<size_t>(s - 1)]), 0.0);
      const bool overfull = Coverage(layer, trial, S) >= 1.0;
      if (!overfull) trialNorm = residual.Evaluate(trial, trialF, trialJ);
      if (halving == kMostHalvings || (!overfull && trialNorm <= (1.0 - 1e-4 * lambda) * norm))
        break;
      lambda *= 0.5;
    }
    // Each phase's concentrations settle relative to the largest of them.
    double largest[2] = {0.0, 0.0};
    for (int s = 1; s <= S; ++s)
      largest[layer.adsorbed[s]] = std::max(largest[layer.adsorbed[s]], std::abs(trial[s]));
    bool settled = true;
    for (int s = 1; s <= S; ++s) {
      const double scale = std::max(std::abs(trial[s]), 1e-6 * largest[layer.adsorbed[s]]);
      settled = settled && std::abs(trial[s] - u[s]) <= kSettled * scale;
    }
    if (Coverage(layer, trial, S) >= 1.0) return;  // no step keeps the layer below full
    u = trial;
    F = trialF;
    J = trialJ;
    norm = trialNorm;
    if (settled) return;
  }
}

void LayerCurrents(const SurfaceLayer& layer, const ChargeTransfer& transfer, double E,
                   const SpeciesVector& surface, double currentScale,
                   std::array<double, kMaxChargeReactions + 1>& out) {
  const Production production(layer, transfer, E, kMaxSpecies);
  for (int r = 1; r <= transfer.count; ++r) {
    out[r] = currentScale * transfer.reactions[r].n * production.ChargeRate(r, surface);
  }
}

}  // namespace qalto
