#include "simulation/kinetic_currents.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "common/runtime_error.h"
#include "simulation/kinetic_test_model.h"

namespace qalto {
namespace {

TEST(KineticRates, ButlerVolmerRateConstants) {
  Model model = KineticTestModel();
  KineticArguments args = KineticTestReaction();
  args.E = -0.1;
  args.CR = 2e-3;
  KineticRates rates = ComputeKineticRates(model, args);
  double theta = -0.1 * model.FOverRT;
  EXPECT_DOUBLE_EQ(rates.theta, theta);
  EXPECT_DOUBLE_EQ(rates.kf, 0.01 * std::exp(-0.5 * theta));
  EXPECT_DOUBLE_EQ(rates.kb, 0.01 * std::exp(0.5 * theta));
  EXPECT_DOUBLE_EQ(rates.lambda, (rates.kf + rates.kb) / std::sqrt(1e-5));
  EXPECT_DOUBLE_EQ(rates.phi, rates.kf * 1e-3 - rates.kb * 2e-3);
}

TEST(PlanarKineticCurrent, TendsToCottrellFarNegativeOfE0) {
  Model model = KineticTestModel();
  KineticArguments args = KineticTestReaction();
  args.E = -0.6;
  for (double t : {0.001, 0.01, 1.0}) {
    args.t = t;
    EXPECT_NEAR(PlanarKineticCurrent(model, args), Cottrell(args), 1e-6 * Cottrell(args));
  }
}

TEST(PlanarKineticCurrent, ReversibleLimitIsTheNernstianChronoamperogram) {
  // Fast electron transfer: i = n CO sqrt(DO) / (sqrt(pi t) (1 + xi exp(theta))),
  // xi = sqrt(DO / DR), whatever the potential.
  Model model = KineticTestModel();
  KineticArguments args = KineticTestReaction();
  args.ks = 1e4;
  args.sqrtDR = std::sqrt(0.5e-5);
  double xi = args.sqrtDO / args.sqrtDR;
  for (double E = -0.15; E <= 0.15; E += 0.01) {
    args.E = E;
    double expected = Cottrell(args) / (1.0 + xi * std::exp(model.FOverRT * E));
    EXPECT_NEAR(PlanarKineticCurrent(model, args), expected, 1e-5 * Cottrell(args)) << E;
  }
}

TEST(KineticCurrents, NoCurrentAtE0WithEqualConcentrations) {
  Model model = KineticTestModel();
  KineticArguments args = KineticTestReaction();
  args.CR = args.CO;
  EXPECT_EQ(ComputeKineticRates(model, args).phi, 0.0);
  EXPECT_EQ(PlanarKineticCurrent(model, args), 0.0);
  EXPECT_EQ(SphericalKineticCurrent(model, args), 0.0);
  EXPECT_EQ(RotatingDiskCurrent(model, args), 0.0);
}

TEST(SurfaceConcentrations, ReversibleCoupleObeysNernstAndMassBalance) {
  Model model = KineticTestModel();
  KineticArguments args = KineticTestReaction();
  args.ks = 1e4;
  for (double E = -0.1; E <= 0.1; E += 0.025) {
    args.E = E;
    double cO = SurfaceConcentrationOx(model, args);
    double cR = SurfaceConcentrationRed(model, args);
    EXPECT_NEAR(cO + cR, args.CO, 1e-6 * args.CO) << E;  // equal diffusion coefficients
    EXPECT_NEAR(cO / cR, std::exp(model.FOverRT * E), 1e-4 * std::exp(model.FOverRT * E)) << E;
  }
  // At the diffusion limit O is used up at the surface.
  args.E = -0.6;
  EXPECT_NEAR(SurfaceConcentrationOx(model, args), 0.0, 1e-8);
  EXPECT_NEAR(SurfaceConcentrationRed(model, args), args.CO, 1e-8);
  // Without current nothing changes.
  args.E = 0.0;
  args.CR = args.CO;
  EXPECT_DOUBLE_EQ(SurfaceConcentrationOx(model, args), args.CO);
  EXPECT_DOUBLE_EQ(SurfaceConcentrationRed(model, args), args.CR);
}

TEST(SurfaceConcentrations, FluxTermIsSharedByBothSpecies) {
  Model model = KineticTestModel();
  KineticArguments args = KineticTestReaction();
  args.E = -0.05;
  args.nuR = 2.0;
  double flux = SurfaceFluxTerm(model, args);
  EXPECT_EQ(SurfaceConcentrationOx(model, args), SurfaceConcentrationOxFromFlux(args, flux));
  EXPECT_EQ(SurfaceConcentrationRed(model, args), SurfaceConcentrationRedFromFlux(args, flux));
  EXPECT_DOUBLE_EQ(SurfaceConcentrationRedFromFlux(args, flux), args.CR + flux / args.sqrtDR * 2.0);
}

TEST(SphericalKineticCurrent, DiffusionLimitIsCottrellPlusSteadyState) {
  // i / (A F) = n CO D (1 / sqrt(pi D t) + 1 / r0) at a sphere.
  Model model = KineticTestModel();
  KineticArguments args = KineticTestReaction();
  args.ks = 1e4;
  args.E = -0.6;
  double D = args.sqrtDO * args.sqrtDO;
  for (double t : {0.001, 0.1, 10.0, 1000.0}) {
    args.t = t;
    double expected = Cottrell(args) + args.n * args.CO * D / model.Radius;
    EXPECT_NEAR(SphericalKineticCurrent(model, args), expected, 1e-6 * expected) << t;
  }
  // Long after the step only the steady current n CO D / r0 remains.
  args.t = 1e12;
  double steady = args.n * args.CO * D / model.Radius;
  EXPECT_NEAR(SphericalKineticCurrent(model, args), steady, 1e-4 * steady);
}

TEST(RotatingDiskCurrent, LevichAndKouteckyLevich) {
  Model model = KineticTestModel();
  KineticArguments args = KineticTestReaction();
  double D = args.sqrtDO * args.sqrtDO;
  // Levich: 0.62045 n CO D^(2/3) omega^(1/2) nu^(-1/6).
  double levich = 0.62045 * args.n * args.CO * std::pow(D, 2.0 / 3.0) *
                  std::sqrt(model.RotationRate) * std::pow(model.KinematicViscosity, -1.0 / 6.0);
  args.E = -0.8;
  EXPECT_NEAR(RotatingDiskCurrent(model, args), levich, 1e-6 * levich);
  // Koutecky-Levich: 1/i = 1/i_kinetic + 1/i_Levich where the back reaction is negligible.
  args.E = -0.3;
  double kinetic = args.n * ComputeKineticRates(model, args).kf * args.CO;
  EXPECT_NEAR(1.0 / RotatingDiskCurrent(model, args), 1.0 / kinetic + 1.0 / levich, 1e-4 / levich);
  // Doubling the rotation rate raises the limiting current by sqrt(2).
  args.E = -0.8;
  double before = RotatingDiskCurrent(model, args);
  model.RotationRate *= 2.0;
  EXPECT_NEAR(RotatingDiskCurrent(model, args) / before, std::sqrt(2.0), 1e-6);
}

TEST(NernstReducedFraction, HalfAtE0AndLimits) {
  Model model = KineticTestModel();
  KineticArguments args = KineticTestReaction();
  EXPECT_DOUBLE_EQ(NernstReducedFraction(model, args), 0.5);
  args.E = -1.0;
  EXPECT_NEAR(NernstReducedFraction(model, args), 1.0, 1e-15);
  args.E = 1.0;
  EXPECT_NEAR(NernstReducedFraction(model, args), 0.0, 1e-15);
}

TEST(KineticCurrents, ExtremePotentialsAndZeroRatesRaiseInsteadOfNaN) {
  Model model = KineticTestModel();
  KineticArguments args = KineticTestReaction();
  args.E = -100.0;  // exp(0.5 x 3892) does not fit a double
  EXPECT_THROW(PlanarKineticCurrent(model, args), RuntimeError);
  EXPECT_THROW(SphericalKineticCurrent(model, args), RuntimeError);
  EXPECT_THROW(RotatingDiskCurrent(model, args), RuntimeError);
  EXPECT_THROW(SurfaceConcentrationOx(model, args), RuntimeError);
  args.E = 100.0;
  EXPECT_THROW(PlanarKineticCurrent(model, args), RuntimeError);
  EXPECT_THROW(NernstReducedFraction(model, args), RuntimeError);
  try {
    PlanarKineticCurrent(model, args);
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Description(), "Overflow");
  }
  // lambda = 0: the flux term divides by it.
  args = KineticTestReaction();
  args.ks = 0.0;
  EXPECT_EQ(PlanarKineticCurrent(model, args), 0.0);
  EXPECT_THROW(SurfaceFluxTerm(model, args), RuntimeError);
  // A species that cannot diffuse, a negative time, a sphere without radius.
  args = KineticTestReaction();
  args.sqrtDO = 0.0;
  EXPECT_THROW(PlanarKineticCurrent(model, args), RuntimeError);
  args = KineticTestReaction();
  args.t = -1.0;
  EXPECT_THROW(PlanarKineticCurrent(model, args), RuntimeError);
  args = KineticTestReaction();
  model.Radius = 0.0;
  EXPECT_THROW(SphericalKineticCurrent(model, args), RuntimeError);
}

}  // namespace
}  // namespace qalto
