#pragma once
// How far the surface concentrations of a cell move for a production of species at the surface
// (mol/cm2 s) that varies as e^(st): the matrix W(s) (s/cm), dc(0) = W p, of diffusion with
// first-order homogeneous reactions (linear, so exact for any DC profile). Species that a
// chemical reaction links form a pair; the modes of each pair are the eigenvectors of
// M = D^-1 (s - K), K its rate matrix, and W = f(M) D^-1 with f the geometry's response of one
// mode: M^-1/2 at a plane, (M^1/2 + 1/r)^-1 at a sphere, M^-1/2 coth(M^1/2 L) in a closed layer,
// M^-1/2 tanh(M^1/2 L) in a layer open to the bulk.

#include <complex>
#include <vector>

namespace qalto {

enum class DiffusionField { kPlanar, kSphere, kThinLayer, kNernstLayer };

struct ImpedanceSpecies {
  double d = 1e-5;  // cm2/s
  double bulk = 0;  // mol/L
};

// A first-order homogeneous reaction reactant = product: kf forward, kb backward (1/s).
struct ImpedanceChemistry {
  int reactant = 0;
  int product = 1;
  double kf = 0;
  double kb = 0;
};

// Where the species diffuse: the field, and the sphere's radius or the layer's thickness (cm).
struct DiffusionSpace {
  DiffusionField field = DiffusionField::kPlanar;
  double length = 0;
};

using ComplexMatrix = std::vector<std::vector<std::complex<double>>>;

// Whether every species takes part in chemical reactions with at most one other species (the
// pairs X = Y that W is computed for), every reaction naming one of the `species`.
bool ChemistryInPairs(int species, const std::vector<ImpedanceChemistry>& chemistry);

// W(s) over the species; s = j omega, or a small real rate for the DC state. The chemistry must
// be in pairs.
ComplexMatrix DiffusionMatrix(const std::vector<ImpedanceSpecies>& species,
                              const std::vector<ImpedanceChemistry>& chemistry,
                              const DiffusionSpace& space, std::complex<double> s);

}  // namespace qalto
