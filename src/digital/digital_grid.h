#pragma once
// The space grid of the digital simulation: boxes that widen away from the electrode by the
// factor exp(beta), their geometry coefficients for planar, cylindrical and spherical diffusion,
// and the length scale that ties the grid to centimetres.

#include "digital/species_matrix.h"

namespace qalto {

inline constexpr int kMaxGridPoints = 200;  // box boundaries 1..NJ+1 must stay within 0..200

struct GridInputs {
  int electrode = 1;              // 1 planar .. 10 band
  double beta = 0;                // grid expansion factor
  double timeStep = 0;            // time per sub-step, s
  double minDiffusion = 0;        // smallest diffusion coefficient, cm2/s
  double radius = 0;              // cm
  double rateConstantSum = 0;     // sum of kf + kb of all homogeneous reactions
  double temperature = 0;         // K
  double potentialStep = 0;       // V
  int points = 0;                 // points of the run
  double kinematicViscosity = 0;  // cm2/s
  double rotationRate = 0;        // rad/s
  double filmThickness = 0;       // cm, thin film only
};

struct DigitalGrid {
  int boxes = 0;                        // NJ: boxes 1..NJ are solved, NJ+1 is the bulk
  double delta = 0;                     // length scale, cm
  double lambda = 0;                    // grid fineness: diffusion parameter of the slowest species
  double firstBox = 0;                  // width of box 1, sqrt(Dmin dt / lambda), cm
  double R0 = 0;                        // radius in units of delta
  double currentDivisor = 1;            // G
  bool closedOutside = false;           // no flux through the outer boundary of box NJ (thin film)
  std::array<double, kGridSlots> x{};   // box boundaries in units of the first box, x(1) = 0
  std::array<double, kGridSlots> h{};   // box centres
  std::array<double, kGridSlots> d1{};  // geometry coefficient toward the electrode
  std::array<double, kGridSlots> d2{};  // geometry coefficient away from the electrode
};

bool IsRotatingElectrode(int electrode);

// Builds the grid of a run. Raises "Subscript out of range" for more than 200 grid points,
// "Invalid procedure call or argument" for an electrode outside 1..10, and the errors of the
// checked arithmetic for zero or invalid inputs.
DigitalGrid BuildDigitalGrid(const GridInputs& in);

}  // namespace qalto
