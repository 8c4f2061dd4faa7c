#pragma once
// The space grid of the digital simulation: boxes that widen away from the electrode by the
// factor exp(beta), and their geometry coefficients for planar, cylindrical and spherical
// diffusion. Every length of the grid (box boundaries, centres, the electrode radius) is in
// units of the first box, whose width in centimetres is firstBox.

#include "digital/species_matrix.h"
#include "model/experiment.h"

namespace qalto {

inline constexpr int kMaxGridPoints = 200;  // box boundaries 1..NJ+1 must stay within 0..200

struct GridInputs {
  Electrode electrode = Electrode::kPlanar;
  double beta = 0;                // grid expansion factor
  double shortestStep = 0;        // shortest time sub-step of the run, s
  double minDiffusion = 0;        // smallest diffusion coefficient, cm2/s
  double maxDiffusion = 0;        // largest diffusion coefficient, cm2/s
  double radius = 0;              // cm
  double reactionRate = 0;        // fastest homogeneous rate, 1/s
  double duration = 0;            // time over which a diffusion layer grows, s
  double kinematicViscosity = 0;  // cm2/s
  double rotationRate = 0;        // rad/s
  double layerScale = 1;          // diffusion layer of the flow / a disk's at that rotation
  double filmThickness = 0;       // cm, thin film only
  double refinement = 1;          // the first box and the expansion factor are divided by it
};

struct DigitalGrid {
  int boxes = 0;                        // NJ: boxes 1..NJ are solved, NJ+1 is the bulk
  double firstBox = 0;                  // width of box 1, cm
  double R0 = 0;                        // electrode radius in units of the first box
  double surfaceFactor = 1;             // flux to the surface per D (C1 - C0) / (dx1 h(1))
  bool closedOutside = false;           // no flux through the outer boundary of box NJ (thin film)
  std::array<double, kGridSlots> x{};   // box boundaries in units of the first box, x(1) = 0
  std::array<double, kGridSlots> h{};   // box centres
  std::array<double, kGridSlots> d1{};  // geometry coefficient toward the electrode
  std::array<double, kGridSlots> d2{};  // geometry coefficient away from the electrode
};

bool IsRotatingElectrode(Electrode electrode);

// Builds the grid of a run. Raises "Subscript out of range" for more than 200 grid points,
// "Invalid procedure call or argument" for no electrode, and the errors of the
// checked arithmetic for zero or invalid inputs.
DigitalGrid BuildDigitalGrid(const GridInputs& in);

}  // namespace qalto
