// Auto Fit as the user runs it: E0, ks and alpha of mechanism 1 (A + e = B) fitted to a noisy
// cyclic voltammogram of 1202 points, from starting values away from the truth, and a global
// fit of the same three parameters to four such curves at 0.02, 0.1, 0.5 and 2 V/s. The time is
// the whole command: the Chemicals apply, every simulation of the fit, the report and the plot.
// The argument is the number of threads that compute the derivative columns.
//
// Targets (on an idle machine with two cores): BM_AutoFitAnalyticalCycle/2 and
// BM_AutoFitDigitalCycle/2 at most 0.7 x their /1 times; BM_GlobalFitFourScanRates/1 at most
// 4 x BM_AutoFitDigitalCycle/1 (four curves, each no dearer than a fit of one);
// BM_WorkingCopyOfASimulatedModel (what each fit worker and global-fit curve copies) at most
// 50 us.

#include <benchmark/benchmark.h>

#include <memory>

#include "app/app.h"
#include "ui/recording_platform.h"

namespace qalto {
namespace {

// A cycle from 0.3 V to -0.3 V and back in 1 mV steps at 10 mV/s with 1 uA of noise, measured
// with E0 = 0.1 V, ks = 1e-3 cm/s, alpha = 0.5.
struct FitSession {
  explicit FitSession(bool digital) {
    app.mnuMechamism_Click();
    if (app.Mech().CheckDigital.Checked() != digital) app.Mech().CheckDigital.Click();
    if (!digital) app.Mech().mech(1).Click();
    app.Mech().Command1_Click();
    app.mnuInstrument_Click();
    FormIns& ins = app.Ins();
    ins.Estart.SetText("0.3");
    ins.Eend.SetText("-0.3");
    ins.Estep.SetText("0.001");
    ins.V.SetText("0.01");
    ins.Noise.SetText("1e-6");
    ins.ComboScan.SelectText("cycle");
    ins.cmdOK_Click();
    app.mnuExperimental_Click();
    FormExpr& expr = app.Expr();
    expr.CheckFitted(1).SetChecked(false);
    expr.ks(1).SetText("1e-3");
    expr.alph(1).SetText("0.5");
    expr.Eze(1).SetText("0.1");
    app.mnuSimulate_Click();
    for (int code : {11, 21, 31})
      expr.CheckFitted(code).SetChecked(true);
    expr.TextKsmin(1).SetText("1e-5");
    expr.TextKsmax(1).SetText("1");
    expr.TextAlphaMin(1).SetText("0.3");
    expr.TextAlphamax(1).SetText("0.7");
  }
  void MoveAway() {
    app.Expr().ks(1).SetText("2e-3");
    app.Expr().alph(1).SetText("0.45");
    app.Expr().Eze(1).SetText("0.12");
  }

  RecordingPlatform platform;
  App app{platform};
};

void AutoFit(benchmark::State& state, bool digital) {
  for (auto _ : state) {
    state.PauseTiming();
    // a new program each time, so that every fit starts without the damping and step of the last
    auto session = std::make_unique<FitSession>(digital);
    session->app.SetFitThreads(static_cast<int>(state.range(0)));
    if (session->app.model().ReactionCurrents(300, 1) == 0.0) {
      state.SkipWithError("this simulation path computes no faradaic current: nothing to fit");
      break;
    }
    session->MoveAway();
    state.ResumeTiming();
    session->app.mnuAutoFit_Click();
    benchmark::DoNotOptimize(session->app.model().ChargeE0(1));
    state.counters["trials"] = session->app.model().FitObjectiveCount;
    state.PauseTiming();
    session.reset();
    state.ResumeTiming();
  }
}

void BM_AutoFitAnalyticalCycle(benchmark::State& state) {
  AutoFit(state, false);
}
BENCHMARK(BM_AutoFitAnalyticalCycle)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_AutoFitDigitalCycle(benchmark::State& state) {
  AutoFit(state, true);
}
BENCHMARK(BM_AutoFitDigitalCycle)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Four digital cycles, each simulated at its scan rate and kept for the global fit.
void BM_GlobalFitFourScanRates(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto session = std::make_unique<FitSession>(true);
    session->app.SetFitThreads(static_cast<int>(state.range(0)));
    for (const char* rate : {"0.02", "0.1", "0.5", "2"}) {
      session->app.Ins().V.SetText(rate);
      session->app.Ins().cmdOK_Click();
      session->app.mnuSimulate_Click();
      session->app.mnuGlobalAdd_Click();
    }
    session->MoveAway();
    state.ResumeTiming();
    session->app.mnuGlobalFit_Click();
    benchmark::DoNotOptimize(session->app.model().ChargeE0(1));
    state.counters["trials"] = session->app.model().FitObjectiveCount;
    state.PauseTiming();
    session.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_GlobalFitFourScanRates)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The copy a fit worker takes of the model after a simulation of the benchmark cycle.
void BM_WorkingCopyOfASimulatedModel(benchmark::State& state) {
  FitSession session(true);
  for (auto _ : state) {
    Model copy = WorkingCopy(session.app.model());
    benchmark::DoNotOptimize(copy.CurrentY(1, 1));
  }
}
BENCHMARK(BM_WorkingCopyOfASimulatedModel)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qalto
