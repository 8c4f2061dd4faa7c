#pragma once
// The metal couple of a complex mechanism MXp = M + pX, M + ne = B: the dissociation equilibrium
// moves the wave by k (ln Keq + 1/2 ln(D_M / D_MX) - p ln C_X).

#include "model/model.h"

namespace qalto {

// Formal potential (V) of charge reaction r when the complex dissociates into p ligands X
// (species 4); reads EquilibriumConstant(1), SpeciesD(1), SpeciesD(3), SpeciesC(4).
double ComplexFormalPotential(const Model& model, int r, int ligands);

}  // namespace qalto
