#include "digital/digital_grid.h"

#include <algorithm>
#include <cmath>

#include "common/checked_math.h"
#include "common/plain_number.h"
#include "common/runtime_error.h"
#include "digital/rotating_flow.h"
#include "model/experiment_table.h"

namespace qalto {

namespace {

constexpr double kLayerExtent = 6.0;       // diffusion-layer thicknesses spanned by the grid
constexpr double kLevichThickness = 1.61;  // hydrodynamic layer D^1/3 nu^1/6 w^-1/2 factor
// The first box is a fraction of every length the solution varies over: the diffusion length
// of the shortest sub-step (sqrt(D dt / 200); 16 times finer changes no textbook case by more
// than 0.02 %), a hundredth of the radius or of the hydrodynamic layer, and a twentieth of the
// reaction layer sqrt(D / k).
constexpr double kStepFineness = 200.0;
constexpr double kBoxesPerRadius = 100.0;
constexpr double kBoxesPerReactionLayer = 20.0;
constexpr double kBoxesPerHydrodynamicLayer = 100.0;
// At a rotating electrode no box is wider than a twentieth of the hydrodynamic layer, so that
// the velocity, which grows as x^2, varies little across a box.
constexpr double kWidestBoxPerHydrodynamicLayer = 0.05;
// A thin film spans at least 40 boxes, so that the slowest mode of the layer, which empties it
// once the diffusion layer reaches the wall, decays within 1e-4 of its rate.
constexpr double kBoxesAcrossFilm = 40.0;

bool IsPlanarFamily(Electrode electrode) {
  return RowOf(electrode).grid == GridGeometry::kPlanar;
}
bool IsCylindricalFamily(Electrode electrode) {
  return RowOf(electrode).grid == GridGeometry::kCylindrical;
}
bool IsSphericalFamily(Electrode electrode) {
  return RowOf(electrode).grid == GridGeometry::kSpherical;
}
bool IsThinFilm(Electrode electrode) {
  return RowOf(electrode).grid == GridGeometry::kThinFilm;
}

// Diffusion layer of the slowest or the fastest species in the flow, cm: Levich's at a disk.
double HydrodynamicLayer(const GridInputs& in, double D) {
  return in.layerScale *
         Div(kLevichThickness * Pow(D, 1.0 / 3.0) * Pow(in.kinematicViscosity, 1.0 / 6.0),
             Sqrt(in.rotationRate));
}

double FirstBox(const GridInputs& in) {
  double box = Sqrt(Div(in.minDiffusion * in.shortestStep, kStepFineness));
  if (!IsPlanarFamily(in.electrode) && !IsThinFilm(in.electrode)) {
    box = std::min(box, Div(in.radius, kBoxesPerRadius));
  }
  if (IsThinFilm(in.electrode)) box = std::min(box, Div(in.filmThickness, kBoxesAcrossFilm));
  if (in.reactionRate > 0.0) {
    box = std::min(box, Sqrt(Div(in.minDiffusion, in.reactionRate)) / kBoxesPerReactionLayer);
  }
  if (IsRotatingElectrode(in.electrode)) {
    box = std::min(box, HydrodynamicLayer(in, in.minDiffusion) / kBoxesPerHydrodynamicLayer);
  }
  return Div(box, in.refinement);
}

double Beta(const GridInputs& in) {
  return Div(in.beta, in.refinement);
}

// The grid ends six diffusion lengths of the fastest species away, or six hydrodynamic layers
// at a rotating electrode if that is nearer: beyond it the solution keeps its bulk values.
double Extent(const GridInputs& in) {
  double extent = kLayerExtent * Sqrt(in.maxDiffusion * in.duration);  // cm
  if (IsRotatingElectrode(in.electrode)) {
    extent = std::min(extent, kLayerExtent * HydrodynamicLayer(in, in.maxDiffusion));
  }
  if (IsThinFilm(in.electrode)) extent = std::min(extent, in.filmThickness);
  return extent;
}

// More grid points than the tables hold names the limit and the box that sets the count.
void CheckBoxCount(double boxes) {
  if (!(boxes >= 1.0)) throw RuntimeError::SubscriptOutOfRange();
  if (boxes + 1.0 > kMaxGridPoints) {
    throw RuntimeError("Subscript out of range: the grid needs " +
                       (std::isfinite(boxes) ? PlainNumber(boxes + 1.0) : std::string("more")) +
                       " points, it holds at most " + std::to_string(kMaxGridPoints) +
                       " (a larger Expanding grid)");
  }
}

// Boundaries x(j) = (e^((j-1) beta) - 1) / (e^beta - 1) and centres at (j - 1/2), up to the
// extent.
void ExpandingBoxes(const GridInputs& in, DigitalGrid& g) {
  const double beta = Beta(in);
  const double E1 = Exp(beta) - 1.0;
  const double boxes = std::ceil(Div(Log(1.0 + E1 * Div(Extent(in), g.firstBox)), beta));
  CheckBoxCount(boxes);
  g.boxes = static_cast<int>(boxes);
  for (int j = 1; j <= g.boxes + 1; ++j) {
    g.x[j] = Div(Exp((j - 1) * beta) - 1.0, E1);
    g.h[j] = Div(Exp((j - 0.5) * beta) - 1.0, E1);
  }
}

// The expanding boxes until they reach the widest allowed, equal boxes from there on. Each
// centre is where the map from box numbers to distance puts j - 1/2: while the boxes grow by g
// that is 1/(1 + sqrt(g)) of the box from its inner face (as in ExpandingBoxes), in the equal
// boxes their middle.
void CappedBoxes(const GridInputs& in, double widest, DigitalGrid& g) {
  const double extent = Div(Extent(in), g.firstBox);
  const double growth = Exp(Beta(in));
  const double growing = 1.0 / (1.0 + std::sqrt(growth));  // share of a growing box
  int j = 1;
  g.x[1] = 0.0;
  double width = 1.0;
  bool capped = false;
  while (g.x[j] < extent) {
    CheckBoxCount(j);
    g.x[j + 1] = g.x[j] + width;
    g.h[j] = g.x[j] + width * (capped ? 0.5 : growing);
    ++j;
    capped = width * growth > widest;
    width = capped ? widest : width * growth;
  }
  g.boxes = j - 1;
  g.h[g.boxes + 1] = g.x[g.boxes + 1] + width * (capped ? 0.5 : growing);
}

// Box 1 exchanges with the surface over its inner face, box j > 1 with box j-1 over face x(j)
// and with box j+1 over face x(j+1); each coefficient is area of the face / (distance of the
// centres x volume of the box), all in units of the first box.
void PlanarCoefficients(DigitalGrid& g) {
  const auto& x = g.x;
  const auto& h = g.h;
  for (int j = 1; j <= g.boxes; ++j) {
    const double inner = j > 1 ? h[j - 1] : 0.0;
    g.d1[j] = Div(1.0, (h[j] - inner) * (x[j + 1] - x[j]));
    g.d2[j] = Div(1.0, (h[j + 1] - h[j]) * (x[j + 1] - x[j]));
  }
}

// Between centres at distances a < b from the axis of a cylinder the flux per unit length is
// that of the exact steady profile, 2 pi D (C(b) - C(a)) / ln(b / a), and between centres at a
// sphere 4 pi D a b (C(b) - C(a)) / (b - a): exact for the steady state however wide the
// boxes, and the plane's form when they are narrow. The box holds the width of its faces times
// the area at its centre, 2 pi r or 4 pi r^2, not the shell between its faces: at a sphere
// that is the plane's scheme for u = r C, which obeys the plane's diffusion equation, so that
// the curved grid keeps the plane's accuracy on the expanding boxes (the shells' volumes, their
// centre lying nearer the inner face, made a sphere or cylinder of 10 um 0.2-0.6 % high while
// the layer is as thick as the radius, and converged only as the square of Expanding grid).
void CylindricalCoefficients(DigitalGrid& g) {
  const auto& x = g.x;
  const auto& h = g.h;
  const double R0 = g.R0;
  for (int j = 1; j <= g.boxes; ++j) {
    const double inner = j > 1 ? h[j - 1] : 0.0;
    const double V = (R0 + h[j]) * (x[j + 1] - x[j]);
    g.d1[j] = Div(1.0, Log(Div(R0 + h[j], R0 + inner)) * V);
    g.d2[j] = Div(1.0, Log(Div(R0 + h[j + 1], R0 + h[j])) * V);
  }
  g.surfaceFactor = Div(h[1], R0 * Log(Div(R0 + h[1], R0)));
}

void SphericalCoefficients(DigitalGrid& g) {
  const auto& x = g.x;
  const auto& h = g.h;
  const double R0 = g.R0;
  for (int j = 1; j <= g.boxes; ++j) {
    const double inner = j > 1 ? h[j - 1] : 0.0;
    const double V = (R0 + h[j]) * (R0 + h[j]) * (x[j + 1] - x[j]);
    g.d1[j] = Div((R0 + inner) * (R0 + h[j]), (h[j] - inner) * V);
    g.d2[j] = Div((R0 + h[j]) * (R0 + h[j + 1]), (h[j + 1] - h[j]) * V);
  }
  g.surfaceFactor = Div(R0 + h[1], R0);
}

// The film ends in a wall at its thickness: the grid stops at the first boundary that reaches
// it (or where it would stop anyway, for a film thicker than the run can deplete), the last
// boundary moves onto the wall and nothing passes through it. A last box thinner than half the
// one before joins it.
void ThinFilmCoefficients(DigitalGrid& g, double thickness) {
  const double wall = Div(thickness, g.firstBox);  // film thickness in grid units
  int boxes = 1;
  while (boxes < g.boxes && g.x[boxes + 1] < wall)
    ++boxes;
  if (g.x[boxes + 1] >= wall) {
    if (boxes > 1 && wall - g.x[boxes] < 0.5 * (g.x[boxes] - g.x[boxes - 1])) --boxes;
    g.boxes = boxes;
    g.x[boxes + 1] = wall;
    g.h[boxes] = 0.5 * (g.x[boxes] + wall);
  }
  auto& x = g.x;
  auto& h = g.h;
  for (int j = 1; j <= g.boxes; ++j) {
    const double inner = j > 1 ? h[j - 1] : 0.0;
    g.d1[j] = Div(1.0, (h[j] - inner) * (x[j + 1] - x[j]));
    g.d2[j] = j < g.boxes ? Div(1.0, (h[j + 1] - h[j]) * (x[j + 1] - x[j])) : 0.0;
  }
  g.closedOutside = true;
}

}  // namespace

bool IsRotatingElectrode(Electrode electrode) {
  return RotatingGeometryOf(electrode) != RotatingGeometry::kNone;
}

DigitalGrid BuildDigitalGrid(const GridInputs& in) {
  if (RowOf(in.electrode).grid == GridGeometry::kNone) throw RuntimeError::InvalidCall();
  DigitalGrid g;
  g.firstBox = FirstBox(in);
  g.R0 = Div(in.radius, g.firstBox);
  if (IsRotatingElectrode(in.electrode)) {
    const double widest =
        kWidestBoxPerHydrodynamicLayer * HydrodynamicLayer(in, in.minDiffusion) / g.firstBox;
    CappedBoxes(in, widest, g);
  } else if (IsThinFilm(in.electrode)) {
    CappedBoxes(in, Div(in.filmThickness, kBoxesAcrossFilm * g.firstBox), g);
  } else {
    ExpandingBoxes(in, g);
  }
  if (IsPlanarFamily(in.electrode)) PlanarCoefficients(g);
  if (IsCylindricalFamily(in.electrode)) CylindricalCoefficients(g);
  if (IsSphericalFamily(in.electrode)) SphericalCoefficients(g);
  if (IsThinFilm(in.electrode)) ThinFilmCoefficients(g, in.filmThickness);
  return g;
}

}  // namespace qalto
