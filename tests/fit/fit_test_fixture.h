#pragma once
// Fits driven the way the user drives them: a cyclic voltammogram is simulated into curve 1 as
// the "measured" data, the Chemicals boxes are moved away from the true values and marked as
// fitted, and the fit command runs.

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "app/app_fixture.h"
#include "fit/fit_parameters.h"

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

  // The noise of the simulation is switched off for the fit itself by FitMode; switching it off
  // in the form as well keeps the two curves comparable in Manual Fit.
  void NoNoise() {
    app.Ins().Noise.SetText("0");
    app.Ins().cmdOK_Click();
  }

  // Standard errors of the parameters with the given codes at their present model values, for
  // Gaussian noise of standard deviation sigma on every point: sigma x sqrt(diag((J'J)^-1)),
  // with the Jacobian J of the simulated curve by central differences.
  std::map<int, double> StandardErrors(const std::vector<int>& codes, double sigma) {
    size_t n = codes.size();
    int m = model.NumberOfPoints;
    std::vector<std::vector<double>> jacobian(n, std::vector<double>(static_cast<size_t>(m) + 1));
    model.FitMode = true;
    for (size_t p = 0; p < n; ++p) {
      double& field = FittedField(model, codes[p]);
      double value = field;
      double h = 1e-4 * std::fabs(value);
      std::vector<double> up(static_cast<size_t>(m) + 1);
      field = value + h;
      RunSimulation(model, app.ReadSimulationInputs(), platform);
      for (int i = 1; i <= m; ++i)
        up[static_cast<size_t>(i)] = model.CurrentY(i, 2);
      field = value - h;
      RunSimulation(model, app.ReadSimulationInputs(), platform);
      for (int i = 1; i <= m; ++i) {
        jacobian[p][static_cast<size_t>(i)] =
            (up[static_cast<size_t>(i)] - model.CurrentY(i, 2)) / (2 * h);
      }
      field = value;
    }
    model.FitMode = false;
    // J'J, inverted by Gauss-Jordan elimination with the identity beside it
    std::vector<std::vector<double>> a(n, std::vector<double>(2 * n, 0.0));
    for (size_t j = 0; j < n; ++j) {
      for (size_t k = 0; k < n; ++k) {
        for (int i = 1; i <= m; ++i)
          a[j][k] += jacobian[j][static_cast<size_t>(i)] * jacobian[k][static_cast<size_t>(i)];
      }
      a[j][n + j] = 1;
    }
    for (size_t k = 0; k < n; ++k) {
      double pivot = a[k][k];
      for (auto& cell : a[k])
        cell /= pivot;
      for (size_t i = 0; i < n; ++i) {
        if (i == k) continue;
        double factor = a[i][k];
        for (size_t c = 0; c < 2 * n; ++c)
          a[i][c] -= factor * a[k][c];
      }
    }
    std::map<int, double> errors;
    for (size_t p = 0; p < n; ++p)
      errors[codes[p]] = sigma * std::sqrt(a[p][n + p]);
    return errors;
  }

  FormExpr& Expr() { return app.Expr(); }
  double Caption(int code) { return ReadNumber(Expr().CheckFitted(code).Caption()); }
};

}  // namespace qalto
