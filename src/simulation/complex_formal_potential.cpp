#include "simulation/complex_formal_potential.h"

#include "common/checked_math.h"

namespace qalto {

double ComplexFormalPotential(const Model& model, int r, int ligands) {
  double k = Div(model.RTOverF, model.ChargeN(r));  // RT/(nF), V
  double shift = Log(model.EquilibriumConstant(1)) +
                 0.5 * Log(Div(model.SpeciesD(1), model.SpeciesD(3))) -
                 ligands * Log(model.SpeciesC(4));
  return Checked(model.ChargeE0(r) + k * shift);
}

}  // namespace qalto
