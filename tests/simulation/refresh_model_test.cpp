#include "simulation/refresh_model.h"

#include <gtest/gtest.h>

#include "app/app_fixture.h"

namespace qalto {
namespace {

using RefreshModelTest = AppTest;

TEST_F(RefreshModelTest, DerivedQuantitiesAt25Degrees) {
  UseAnalyticalMechanism(1);
  app.mnuTech_Click();
  app.Tech().optTech(4).Click();
  app.Tech().CmdOK_Click();
  app.mnuInstrument_Click();
  app.Ins().optElectrode(3).Click();
  app.Refresh();
  EXPECT_EQ(model.TechElectrodeCode, 43);
  EXPECT_NEAR(model.FOverRT, 38.9230, 0.00005);
  EXPECT_NEAR(model.RTOverF, 0.0256917, 0.00000005);
  EXPECT_DOUBLE_EQ(model.FOverRT, (96484.6 / 8.31441) / 298.14);
}

TEST_F(RefreshModelTest, ChemicalsReachTheModel) {
  app.mnuExperimental_Click();
  FormExpr& e = app.Expr();
  e.TextVis.SetText("0.011");
  e.TextElectrolyteC.SetText("0.5");
  e.ks(2).SetText("0.02");
  e.alph(3).SetText("0.45");
  e.Eze(1).SetText("0.25");
  e.kf(4).SetText("7");
  e.kb(4).SetText("2");
  e.D(8).SetText("2e-6");
  app.Refresh();
  EXPECT_DOUBLE_EQ(model.KinematicViscosity, 0.011);
  EXPECT_DOUBLE_EQ(model.ElectrolyteConcentration, 0.5);
  EXPECT_DOUBLE_EQ(model.ChargeKs(2), 0.02);
  EXPECT_DOUBLE_EQ(model.ChargeAlpha(3), 0.45);
  EXPECT_DOUBLE_EQ(model.ChargeE0(1), 0.25);
  EXPECT_DOUBLE_EQ(model.ForwardRateConstant(4), 7);
  EXPECT_DOUBLE_EQ(model.BackwardRateConstant(4), 2);
  EXPECT_DOUBLE_EQ(model.EquilibriumConstant(4), 3.5);
  EXPECT_DOUBLE_EQ(model.SpeciesD(8), 2e-6);
  // The simulation starts from the initial concentrations, not the analytical ones.
  EXPECT_DOUBLE_EQ(model.SpeciesC(1), ReadNumber(e.Cinit(1).Caption()));
  EXPECT_NE(model.SpeciesC(1), ReadNumber(e.C(1).Text()));
}

TEST_F(RefreshModelTest, DigitalModeKeepsTheLastCaseKey) {
  UseAnalyticalMechanism(1);
  app.Refresh();
  EXPECT_EQ(model.TechElectrodeCode, 11);
  app.mnuMechamism_Click();
  app.Mech().CheckDigital.Click();
  app.mnuTech_Click();
  app.Tech().optTech(2).Click();
  app.Tech().CmdOK_Click();
  app.Refresh();
  EXPECT_EQ(model.TechElectrodeCode, 11);
}

}  // namespace
}  // namespace qalto
