#include "digital/digital_grid.h"

#include <cmath>

#include "common/checked_math.h"
#include "common/constants.h"
#include "common/int16.h"

namespace qalto {

namespace {

constexpr double kLayerExtent = 6.0;       // diffusion-layer thicknesses spanned by the grid
constexpr double kLevichThickness = 1.61;  // hydrodynamic layer factor of a rotating electrode

bool IsPlanarFamily(int electrode) {
  return electrode == 1 || electrode == 8;
}
bool IsCylindricalFamily(int electrode) {
  return electrode == 5 || electrode == 6 || electrode == 10;
}
bool IsSphericalFamily(int electrode) {
  return electrode == 2 || electrode == 3 || electrode == 4 || electrode == 7;
}
bool IsThinFilm(int electrode) {
  return electrode == 9;
}

// The thin film is a planar layer: it takes the planar length scale, as its radius means nothing.
double LengthScale(const GridInputs& in) {
  if (in.electrode == 1 || IsThinFilm(in.electrode)) {
    return Sqrt(kPi * in.minDiffusion * in.timeStep) / 100.0;
  }
  return in.radius / 100.0;
}

double GridFineness(const GridInputs& in, double delta) {
  return Div(in.timeStep * in.minDiffusion, delta * delta) + (1.0 + in.rateConstantSum) +
         Div(kGasConstant * in.temperature, kFaraday * std::abs(in.potentialStep));
}

int BoxCount(const GridInputs& in, double lambda, double E1) {
  double rotating = 0.0;
  if (IsRotatingElectrode(in.electrode)) {
    rotating = Div(in.points * kLevichThickness * Pow(lambda, 1.0 / 3.0) *
                       Pow(in.kinematicViscosity, 1.0 / 6.0),
                   Sqrt(in.rotationRate));
  }
  const double extent = Sqrt(in.points * lambda) + rotating;
  const int boxes = ToInt16(1.0 + Div(Log(1.0 + kLayerExtent * E1 * extent), in.beta));
  if (boxes < 1 || boxes + 1 > kMaxGridPoints) throw RuntimeError::SubscriptOutOfRange();
  return boxes;
}

void PlanarCoefficients(DigitalGrid& g) {
  const auto& x = g.x;
  const auto& h = g.h;
  g.d2[1] = Div(1.0, h[2] - h[1]);
  for (int j = 2; j <= g.boxes; ++j) {
    g.d1[j] = Div(1.0, (h[j] - h[j - 1]) * (x[j + 1] - x[j]));
    g.d2[j] = Div(1.0, (h[j + 1] - h[j]) * (x[j + 1] - x[j]));
  }
}

void CylindricalCoefficients(DigitalGrid& g) {
  const auto& x = g.x;
  const auto& h = g.h;
  const double R0 = g.R0;
  g.d2[1] = Div(2.0 * (R0 + 1.0), (h[2] - h[1]) * ((R0 + 1.0) * (R0 + 1.0) - R0 * R0));
  for (int j = 2; j <= g.boxes; ++j) {
    const double V = (R0 + x[j + 1]) * (R0 + x[j + 1]) - (R0 + x[j]) * (R0 + x[j]);
    g.d1[j] = Div(2.0 * (R0 + x[j]), (h[j] - h[j - 1]) * V);
    g.d2[j] = Div(2.0 * (R0 + x[j + 1]), (h[j + 1] - h[j]) * V);
  }
  g.currentDivisor = Div(2.0 * R0, (R0 + 1.0) * (R0 + 1.0) - R0 * R0);
}

double Cube(double v) {
  return v * v * v;
}

void SphericalCoefficients(DigitalGrid& g) {
  const auto& x = g.x;
  const auto& h = g.h;
  const double R0 = g.R0;
  g.d2[1] = Div(3.0 * (R0 + 1.0) * (R0 + 1.0), (h[2] - h[1]) * (Cube(R0 + 1.0) - Cube(R0)));
  for (int j = 2; j <= g.boxes; ++j) {
    const double V = Cube(R0 + x[j + 1]) - Cube(R0 + x[j]);
    g.d1[j] = Div(3.0 * (R0 + x[j]) * (R0 + x[j]), (h[j] - h[j - 1]) * V);
    g.d2[j] = Div(3.0 * (R0 + x[j + 1]) * (R0 + x[j + 1]), (h[j + 1] - h[j]) * V);
  }
  g.currentDivisor = Div(3.0 * R0 * R0, Cube(R0 + 1.0) - Cube(R0));
}

// The film ends in a wall at its thickness: the grid stops at the first boundary that reaches
// it (or where it would stop anyway, for a film thicker than the run can deplete), the last
// boundary moves onto the wall and nothing passes through it.
void ThinFilmCoefficients(DigitalGrid& g, double thickness) {
  const double wall = Div(thickness, g.firstBox);  // film thickness in grid units
  int boxes = 1;
  while (boxes < g.boxes && g.x[boxes + 1] < wall)
    ++boxes;
  if (g.x[boxes + 1] >= wall) {
    g.boxes = boxes;
    g.x[boxes + 1] = wall;
    g.h[boxes] = boxes > 1 ? 0.5 * (g.x[boxes] + wall) : 0.5 * wall;
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

bool IsRotatingElectrode(int electrode) {
  return electrode == 6 || electrode == 7 || electrode == 8;
}

DigitalGrid BuildDigitalGrid(const GridInputs& in) {
  if (in.electrode < 1 || in.electrode > 10) throw RuntimeError::InvalidCall();
  DigitalGrid g;
  const double E1 = Exp(in.beta) - 1.0;
  g.delta = LengthScale(in);
  g.lambda = GridFineness(in, g.delta);
  g.firstBox = Sqrt(Div(in.minDiffusion * in.timeStep, g.lambda));
  g.boxes = BoxCount(in, g.lambda, E1);
  for (int j = 1; j <= g.boxes + 1; ++j) {
    g.x[j] = Div(Exp((j - 1) * in.beta) - 1.0, E1);
    g.h[j] = Div(Exp((j - 0.5) * in.beta) - 1.0, E1);
  }
  g.R0 = Div(in.radius, g.delta);
  g.currentDivisor = 1.0;
  g.d1[1] = Div(1.0, g.h[1]);
  if (IsPlanarFamily(in.electrode)) PlanarCoefficients(g);
  if (IsCylindricalFamily(in.electrode)) CylindricalCoefficients(g);
  if (IsSphericalFamily(in.electrode)) SphericalCoefficients(g);
  if (IsThinFilm(in.electrode)) ThinFilmCoefficients(g, in.filmThickness);
  return g;
}

}  // namespace qalto
