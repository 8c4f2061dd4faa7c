#pragma once
// Fits driven the way the user drives them: a cyclic voltammogram is simulated into curve 1 as
// the "measured" data, the Chemicals boxes are moved away from the true values and marked as
// fitted, and the fit command runs.

#include <gtest/gtest.h>

#include <string>

#include "app/app_fixture.h"

namespace qalto {

class FitTest : public AppTest {
 protected:
  // A cycle from 0.3 V to -0.3 V and back in 1 mV steps (1202 points) at 10 mV/s, planar
  // electrode, analytical mechanism `mechanism`, no parameter marked as fitted.
  void CyclicVoltammogram(int mechanism, const std::string& noise = "0") {
    UseAnalyticalMechanism(mechanism);
    app.mnuInstrument_Click();
    FormIns& ins = app.Ins();
    ins.Estart.SetText("0.3");
    ins.Eend.SetText("-0.3");
    ins.Estep.SetText("0.001");
    ins.V.SetText("0.01");
    ins.Noise.SetText(noise);
    ins.ComboScan.SelectText("cycle");
    ins.cmdOK_Click();
    app.mnuExperimental_Click();
    for (int code : {1,  2,  3,  4,  5,  6,  7,  8,  11, 12, 13, 21, 22, 23, 31, 32, 33,
                     41, 42, 43, 44, 51, 52, 53, 54, 71, 72, 73, 74, 75, 76, 77, 78}) {
      Expr().CheckFitted(code).SetChecked(false);
    }
  }

  // Simulates the "measured" curve into curve 1.
  void Measure() {
    app.mnuSimulate_Click();
    ASSERT_EQ(model.CurveCount, 1);
  }

  void Fit(int code, const std::string& minimum, const std::string& maximum) {
    Expr().CheckFitted(code).SetChecked(true);
    auto [low, high] = Expr().RangeBoxes(code);
    low->SetText(minimum);
    high->SetText(maximum);
  }

  FormExpr& Expr() { return app.Expr(); }

  // The last fit's parameter of that code.
  const FittedParameter& Fitted(int code) {
    for (const FittedParameter& p : model.LastFit.parameters) {
      if (p.code == code) return p;
    }
    ADD_FAILURE() << "code " << code << " not fitted";
    static FittedParameter none;
    return none;
  }
};

}  // namespace qalto
