// The adsorbed layer through the forms: a surface couple written "A(ads) + e = B(ads)" shows Γ
// in place of D and C, its Γ and the layer's g are fitted with their intervals, the report and
// the refusals name them.

#include <gtest/gtest.h>

#include <string>

#include "common/test_names.h"
#include "files/parameter_report.h"
#include "fit/fit_test_fixture.h"

namespace qalto {
namespace {

class AdsorbedLayerFit : public FitTest {
 protected:
  // A(ads) + e = B(ads), E0 0 V, ks 20 1/s, 1e-10 mol/cm2 of A(ads), a cycle from 0.4 V to
  // -0.4 V and back at 1 V/s in 2 mV steps (between reversible and Laviron's limit).
  void SurfaceCycle() {
    app.mnuMechamism_Click();
    app.Mech().charge(12).SetText("A(ads)");
    app.Mech().charge(16).SetText("B(ads)");
    app.Mech().Command1_Click();
    Sweep("0.4", "-0.4", "0.002", "1");
    app.Ins().cmdOK_Click();
    app.mnuExperimental_Click();
    Expr().CheckFitted(1).SetChecked(false);
    Expr().ks(1).SetText("20");
    Expr().Eze(1).SetText("0");
    Expr().Gamma(1).SetText("1e-10");
    Expr().Gamma(2).SetText("0");
  }
};

TEST_F(AdsorbedLayerFit, FormShowsGammaInPlaceOfDAndCAndGammaAndGAreFitted) {
  SurfaceCycle();
  EXPECT_EQ(model.SpeciesAdsorbed(1), 1);
  EXPECT_EQ(Expr().specie(1).Caption(), "A(ads)");
  EXPECT_TRUE(Expr().Gamma(1).Visible());
  EXPECT_FALSE(Expr().D(1).Visible());
  EXPECT_FALSE(Expr().C(1).Visible());
  EXPECT_TRUE(Expr().TextInteraction.Visible());
  EXPECT_EQ(Expr().ks(1).ToolTip(), "standard rate constant of a surface couple, 1/s");
  app.mnuSimulate_Click();
  ASSERT_EQ(model.CurveCount, 1) << (platform.messages.empty() ? "" : platform.messages.back());
  const std::string report = ParameterReportText(model);
  EXPECT_NE(report.find("Gamma (mol/cm2) :\r\n 1E-10 \r\n"), std::string::npos) << report;
  EXPECT_NE(report.find("g :\r\n 0 \r\n"), std::string::npos) << report;
  // Gamma and g of a noisy cycle (0.5 % noise), fitted with E0 from twice the Gamma and g 0:
  // both found within their 95 % intervals, Gamma on a log scale as a positive quantity.
  Expr().TextInteraction.SetText("0.6");
  MeasureWithNoise(0.005, 5);
  Expr().Gamma(1).SetText("2e-10");
  Expr().TextInteraction.SetText("0");
  Expr().Eze(1).SetText("0.01");
  Fit(81, "1e-12", "1e-8");
  Fit(80, "-1", "1.5");
  Fit(31, "-0.1", "0.1");
  app.mnuAutoFit_Click();
  ASSERT_TRUE(model.LastFit.valid) << app.Result().Text();
  const FittedParameter& gamma = Fitted(81);
  EXPECT_EQ(gamma.name, "Gamma(1)");
  EXPECT_TRUE(gamma.logScale);
  EXPECT_NEAR(gamma.value / 1e-10, 1.0, 0.01);
  EXPECT_LE(gamma.lower95, 1e-10);
  EXPECT_GE(gamma.upper95, 1e-10);
  const FittedParameter& g = Fitted(80);
  EXPECT_EQ(g.name, "g");
  EXPECT_FALSE(g.logScale);
  EXPECT_NEAR(g.value, 0.6, 0.05);
  EXPECT_LE(g.lower95, 0.6);
  EXPECT_GE(g.upper95, 0.6);
  EXPECT_NE(app.Result().Text().find("Gamma(1)"), std::string::npos) << app.Result().Text();
}

struct Refusal {
  const char* box;
  const char* text;
  const char* message;
};

class AdsorbedLayerRefusal : public AdsorbedLayerFit,
                             public ::testing::WithParamInterface<Refusal> {};

TEST_P(AdsorbedLayerRefusal, NamesTheValue) {
  SurfaceCycle();
  const Refusal& r = GetParam();
  const std::string box = r.box;
  if (box == "saturation") Expr().TextSaturation.SetText(r.text);
  if (box == "third") {
    app.Mech().chem(1).SetText(r.text);
    app.Mech().chem(2).SetText("B(ads)");
    Expr().TextSaturation.SetText("5e-11");
  }
  platform.messages.clear();
  app.mnuSimulate_Click();
  ASSERT_FALSE(platform.messages.empty());
  EXPECT_EQ(platform.messages.front(), r.message);
  EXPECT_EQ(model.CurveCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, AdsorbedLayerRefusal,
    // A negative Γ and g at the phase split: adsorbed_layer.qs pins their messages.
    ::testing::Values(
        Refusal{"saturation", "0", "Input Error: Γmax (mol/cm²) is 0; allowed: greater than 0."},
        Refusal{"third", "C",
                "Input Error: the adsorbed species' Γ add up to more than Γmax (mol/cm²): the "
                "layer holds at most Γmax."}),
    NameFrom<&Refusal::box>());

}  // namespace
}  // namespace qalto
