#pragma once
// The grids of electrodes with an edge in an insulating plane, where the current density is
// singular. A disc of radius a, in oblate spheroidal coordinates:
//   rho = a sqrt((1 + xi^2)(1 - eta^2)),  z = a xi eta,
// the disc at xi = 0, the insulating plane at eta = 0, the axis at eta = 1. Diffusion reads
//   (xi^2 + eta^2) dc/dt = D/a^2 [d/dxi((1 + xi^2) dc/dxi) + d/deta((1 - eta^2) dc/deta)].
// A band of half-width b (long against it), in elliptic coordinates per unit length:
//   x = b cosh(xi) cos(eta),  y = b sinh(xi) sin(eta),
// the band at xi = 0, the plane beside it at eta = 0, its middle at eta = pi/2:
//   (sinh^2 xi + sin^2 eta) dc/dt = D/b^2 [d2c/dxi2 + d2c/deta2].
// Either edge is a smooth corner of the (xi, eta) grid. Cells are finite volumes: boxes
// j = 1..N along xi (expanding away from the electrode, box N+1 the bulk) times sectors
// k = 1..K along eta.

#include <vector>

namespace qalto {

inline constexpr int kMaxDiscSectors = 20;
inline constexpr int kMaxDiscBoxes = 400;

struct DiscGridInputs {
  bool band = false;        // the band of half-width radius, else the disc of that radius
  double radius = 0;        // a or b, cm
  double shortestStep = 0;  // shortest time sub-step of the run, s
  double minDiffusion = 0;  // cm2/s
  double maxDiffusion = 0;  // cm2/s
  double reactionRate = 0;  // fastest homogeneous rate, 1/s
  double duration = 0;      // time over which a diffusion layer grows, s
  double refinement = 1;    // every spacing divided by it (the check of accuracy)
};

struct DiscGrid {
  int boxes = 0;                  // N
  int sectors = 0;                // K
  double radius = 0;              // cm
  std::vector<double> xiFace;     // 0..N: box j spans xiFace[j-1]..xiFace[j]
  std::vector<double> xiCentre;   // 0 (the disc)..N+1 (the bulk)
  std::vector<double> etaFace;    // 0..K: sector k spans etaFace[k-1]..etaFace[k]
  std::vector<double> etaCentre;  // 1..K (slot 0 unused)
  // Per cell (j, k), stored at j * (K + 1) + k: its volume in units of a^3 / (2 pi), the
  // conductance of its inner xi face (toward box j-1 or the disc) and of its lower eta face
  // (toward sector k-1; 0 at the insulating plane), both in units of a / (2 pi); at the band
  // per unit length, in units of b^2 and 1.
  std::vector<double> volume;
  std::vector<double> innerConductance;
  std::vector<double> lowerConductance;
  // Share of the electrode's area in sector k, and the surface conductance of sector k per unit
  // diffusion coefficient (1/cm): the flux density D g (C(box 1) - C(surface)).
  std::vector<double> areaShare;
  std::vector<double> surfaceConductance;

  int Cell(int j, int k) const { return j * (sectors + 1) + k; }
};

// Raises "Subscript out of range" when the run needs more boxes than the grid holds, and the
// checked arithmetic's errors for a zero radius, step or diffusion coefficient.
DiscGrid BuildDiscGrid(const DiscGridInputs& in);

}  // namespace qalto
