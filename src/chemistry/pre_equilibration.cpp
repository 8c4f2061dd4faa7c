#include "chemistry/pre_equilibration.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/checked_math.h"
#include "common/constants.h"
#include "common/ignore_errors.h"
#include "common/runtime_error.h"

namespace qalto {
namespace {

// Sweeps over all equilibria until none moves a concentration by more than this share of the
// largest: each sweep brings every reaction to its own equilibrium in turn, and repeating them
// converges to the state where all hold at once.
constexpr double kSettled = 1e-12;
constexpr int kMostSweeps = 10000;

// The concentration column, computed in full precision from what the column shows, with the
// species it gave a value.
class Column {
 public:
  explicit Column(const PreEquilibrationInputs& inputs) : inputs_(inputs) {
    for (int s = 1; s <= kMaxSpecies; ++s)
      IgnoringErrors([&] { values_[s] = inputs_.shown(s).Get(); });
  }
  double Get(int species) const { return values_.at(static_cast<size_t>(Checked(species))); }
  void Set(int species, double value) {
    values_.at(static_cast<size_t>(Checked(species))) = value;
    written_.at(static_cast<size_t>(species)) = true;
  }
  double Analytical(int species) const { return inputs_.analytical(species).Get(); }
  const std::array<double, kMaxSpecies + 1>& Values() const { return values_; }
  InitialConcentrations Written() const {
    InitialConcentrations column(kMaxSpecies + 1);
    for (int s = 1; s <= kMaxSpecies; ++s) {
      if (written_[static_cast<size_t>(s)]) column(s) = values_[static_cast<size_t>(s)];
    }
    return column;
  }

 private:
  static int Checked(int species) {
    if (species < 1 || species > kMaxSpecies) throw RuntimeError::SubscriptOutOfRange();
    return species;
  }
  const PreEquilibrationInputs& inputs_;
  std::array<double, kMaxSpecies + 1> values_{};
  std::array<bool, kMaxSpecies + 1> written_{};
};

// An adsorbed species' amount is its surface concentration, not a concentration in solution.
bool Adsorbed(const Model& model, int species) {
  return species >= 1 && species <= kMaxSpecies && model.SpeciesAdsorbed(species) != 0;
}

// Nernst equilibrium of every charge reaction at the start potential.
void EquilibrateChargeReactions(const Model& model, const PreEquilibrationInputs& inputs,
                                Column& column) {
  double theta = 0, xi = 0, co = 0, cd = 0;
  for (int r = 1; r <= model.ChargeReactionCount; ++r) {
    int o = model.ChargeReactionSpecies(r, 1);
    int d = model.ChargeReactionSpecies(r, 2);
    double nuO = model.ChargeReactionStoich(r, 1);
    double nuD = model.ChargeReactionStoich(r, 2);
    IgnoringErrors([&] {
      double e0 = inputs.e0(r).Get();
      double e = inputs.startPotential.Get();
      theta = Exp(model.ChargeN(r) * model.FOverRT * (e0 - e));
    });
    IgnoringErrors([&] { co = column.Get(o); });
    IgnoringErrors([&] { cd = column.Get(d); });
    IgnoringErrors([&] { xi = Div(Div(co * theta, nuO) - Div(cd, nuD), 1.0 + theta); });
    IgnoringErrors([&] {
      co = co - nuO * xi;
      if (co < 0) co = 0;
    });
    IgnoringErrors([&] { cd = cd + nuD * xi; });
    IgnoringErrors([&] { column.Set(o, co); });
    IgnoringErrors([&] { column.Set(d, cd); });
  }
}

void EquilibrateFirstOrderReactions(const Model& model, const PreEquilibrationInputs& inputs,
                                    Column& column) {
  double k = 0, xi = 0, ca = 0, cp = 0;
  for (int i = 1; i <= model.FirstOrderReactionCount; ++i) {
    IgnoringErrors([&] { k = inputs.keq(i).Get(); });
    if (!(k > 0)) continue;
    int a = model.FirstOrderReactionSpecies(i, 1);
    int p = model.FirstOrderReactionSpecies(i, 2);
    if (Adsorbed(model, a) || Adsorbed(model, p)) continue;  // a step at the surface
    IgnoringErrors([&] { ca = column.Get(a); });
    IgnoringErrors([&] { cp = column.Get(p); });
    IgnoringErrors([&] { xi = Div(k * ca - cp, k + 1.0); });
    IgnoringErrors([&] {
      ca = ca - xi;
      if (ca < 0) ca = 0;
    });
    IgnoringErrors([&] { cp = cp + xi; });
    IgnoringErrors([&] { column.Set(a, ca); });
    IgnoringErrors([&] { column.Set(p, cp); });
  }
}

struct SecondOrderState {
  std::array<int, 5> species{};   // 1, 2 reactants; 3, 4 products; 0 = none
  std::array<double, 5> c{};      // their concentrations, M
  std::array<bool, 5> present{};  // the editor box of the species is filled in
};

// The extent of a complex dissociation MX = M + pX with the ligand X in excess.
void ComplexExtent(const Model& model, double k, const SecondOrderState& s, double& xi) {
  const auto& c = s.c;
  if (!(c[4] > 0)) return;
  if (model.Mechanism == 9) {
    xi = Div(k * c[1] - c[3] * Pow(c[4], 4), k + Pow(c[4], 4));
  } else if (model.Mechanism == 10) {
    xi = Div(k * c[1] - c[3] * Pow(c[4], 2), k + Pow(c[4], 2));
  }
}

bool LeavesPositive(const SecondOrderState& s, double xi) {
  const auto& c = s.c;
  return (!s.present[1] || c[1] - xi > 0) && (!s.present[2] || c[2] - xi > 0) &&
         (!s.present[3] || c[3] + xi > 0) && (!s.present[4] || c[4] + xi > 0);
}

// The extent of a general second-order equilibrium, the root of a quadratic that keeps every
// participating concentration positive; xi keeps its value when no root does.
void QuadraticExtent(double k, const SecondOrderState& s, double& xi) {
  const auto& c = s.c;
  double a = 0, b = 0, q = 0;
  if (!s.present[1] || !s.present[2]) {  // one reactant, two products
    a = 1;
    b = c[3] + c[4] + k;
    q = c[3] * c[4] - k * c[1];
  } else if (!s.present[3] || !s.present[4]) {  // two reactants, one product
    a = 1;
    b = -c[1] - c[2] - Div(1.0, k);
    q = c[1] * c[2] - Div(c[3], k);
  } else {  // two reactants, two products
    a = 1 - k;
    b = c[3] + c[4] + k * (c[1] + c[2]);
    q = c[3] * c[4] - k * c[1] * c[2];
  }
  // A root that cannot be computed (negative discriminant, a = 0) is no candidate.
  double root = Sqrt(b * b - 4 * a * q);
  double minus = Div(-b - root, 2 * a);
  double plus = Div(-b + root, 2 * a);
  if (LeavesPositive(s, minus)) xi = minus;
  if (LeavesPositive(s, plus)) xi = plus;
}

void EquilibrateSecondOrderReactions(const Model& model, const PreEquilibrationInputs& inputs,
                                     Column& column) {
  double xi = 0, k = 0;
  for (int i = 1; i <= model.SecondOrderReactionCount; ++i) {
    IgnoringErrors([&] { k = inputs.keq(model.FirstOrderReactionCount + i).Get(); });
    if (!(k > 0)) continue;
    SecondOrderState s;
    for (int j = 1; j <= 4; ++j) {
      s.species[j] = model.SecondOrderReactionSpecies(i, j);
      IgnoringErrors([&] { s.c[j] = s.species[j] == 0 ? 0.0 : column.Get(s.species[j]); });
      s.present[j] = !model.DigitalSimulation || inputs.secondOrderBoxFilled(4 * (i - 1) + j) != 0;
    }
    if (!model.DigitalSimulation) {
      IgnoringErrors([&] { ComplexExtent(model, k, s, xi); });
    } else {
      IgnoringErrors([&] { QuadraticExtent(k, s, xi); });
    }
    std::array<double, 5> updated = s.c;
    updated[1] = s.c[1] - xi < 0 ? 0 : s.c[1] - xi;
    updated[2] = s.c[2] - xi < 0 ? 0 : s.c[2] - xi;
    updated[3] = s.c[3] + xi;
    updated[4] = s.c[4] + xi;
    for (int j = 1; j <= 4; ++j) {
      if (s.species[j] != 0) IgnoringErrors([&] { column.Set(s.species[j], updated[j]); });
    }
  }
}

bool Settled(const std::array<double, kMaxSpecies + 1>& before,
             const std::array<double, kMaxSpecies + 1>& after) {
  double largest = 0.0;
  double change = 0.0;
  for (size_t s = 1; s < after.size(); ++s) {
    largest = std::max(largest, std::abs(after[s]));
    const double moved = std::abs(after[s] - before[s]);
    if (!(moved <= change)) change = moved;  // a NaN counts as unsettled
  }
  return change <= kSettled * largest;
}

}  // namespace

InitialConcentrations ComputeInitialConcentrations(Model& model,
                                                   const PreEquilibrationInputs& inputs) {
  Column column(inputs);
  IgnoringErrors([&] { model.FOverRT = Div(kFaraday, kGasConstant * model.Temperature); });
  for (int k = 1; k <= kMaxSpecies; ++k) {
    IgnoringErrors([&] { column.Set(k, column.Analytical(k)); });
  }
  if (inputs.preEquilibrate) {
    for (int sweep = 0; sweep < kMostSweeps; ++sweep) {
      const auto before = column.Values();
      EquilibrateChargeReactions(model, inputs, column);
      EquilibrateFirstOrderReactions(model, inputs, column);
      EquilibrateSecondOrderReactions(model, inputs, column);
      if (Settled(before, column.Values())) break;
    }
  }
  if (inputs.preconcentrate) {
    IgnoringErrors([&] {
      double deposited =
          PreconcentrationFactor(model, inputs.preconcentration) * column.Analytical(1);
      column.Set(2, column.Get(2) + deposited);
    });
  }
  return column.Written();
}

double PreconcentrationFactor(const Model& model, const PreconcentrationInputs& inputs) {
  double volume = inputs.volume.Get();      // ml
  double rpm = inputs.stirring.Get();       // stirring rate, rpm
  double tPre = inputs.time.Get();          // s
  double kPre = inputs.rateConstant.Get();  // 1/s
  double ePre = inputs.potential.Get();     // V
  // The last factor is the fraction of species 1 reduced at the preconcentration potential.
  double nernst =
      Exp(Div(Div((ePre - model.ChargeE0(1)) * kFaraday * model.ChargeN(1), model.Temperature),
              kGasConstant));
  double stirring = Sqrt(2 * rpm * kPi / 60);  // angular rotation rate, rad/s
  return Div(Div(volume, model.ElectrodeVolume) * stirring *
                 Pow(model.KinematicViscosity, -1.0 / 6.0) * (1 - Exp(-tPre * kPre)),
             nernst + 1);
}

}  // namespace qalto
