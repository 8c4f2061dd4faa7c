#include "app/session_script.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/app_fixture.h"
#include "app/script_runner.h"

namespace qalto {
namespace {

// Runs the script against a new program; the program's session afterwards.
struct Replay {
  RecordingPlatform platform;
  App app{platform};
  int status = -1;
  std::string errors;

  explicit Replay(const std::string& script) {
    std::istringstream in(script);
    std::ostringstream out, err;
    status = ScriptRunner(app, platform, out).Run(in, err);
    errors = err.str();
  }
};

std::vector<double> Curve(const Model& m, int k) {
  std::vector<double> values;
  for (int i = m.FirstPoint; i <= m.LastPoint; ++i)
    values.push_back(m.CurrentY(i, k));
  return values;
}

// A session of every kind of model is a fixed point: replayed, it writes itself again, and the
// curve comes back point for point.
class SessionRoundTrip : public AppTest, public ::testing::WithParamInterface<bool> {};

TEST_P(SessionRoundTrip, ReplayedSessionWritesItselfAndTheSameCurve) {
  if (!GetParam()) UseAnalyticalMechanism(8);
  app.mnuInstrument_Click();
  app.Ins().Estart.SetText("0.45");
  app.Ins().ComboScan.SelectText("cycle");
  app.mnuExperimental_Click();
  app.Expr().D(1).SetText("2e-5");
  ASSERT_EQ(app.ChooseMenu("mnuSimulate"), MenuOutcome::kDone);
  app.mnuOption_Click();
  static_cast<CheckBox*>(app.Option().Find("CheckGrid"))->SetChecked(true);
  std::string script = SessionScript(app);
  Replay replay(script);
  ASSERT_EQ(replay.status, 0) << replay.errors << script;
  EXPECT_EQ(replay.app.model().DigitalSimulation, GetParam());
  EXPECT_TRUE(replay.app.model().ShowGrid);
  EXPECT_EQ(replay.app.model().NumberOfPoints, model.NumberOfPoints);
  EXPECT_EQ(Curve(replay.app.model(), 1), Curve(model, 1));
  EXPECT_EQ(SessionScript(replay.app), script);
}

INSTANTIATE_TEST_SUITE_P(DigitalAndAnalytical, SessionRoundTrip, ::testing::Bool());

TEST_F(AppTest, SessionImportsTheDataFileAgain) {
  std::string path = ::testing::TempDir() + "session_data.csv";
  {
    std::ofstream data(path);
    data << "0.3,1e-6\n0.2,2e-6\n0.1,4e-6\n0,3e-6\n";
  }
  platform.QueueDialogAnswer(path);
  ASSERT_EQ(app.ChooseMenu("mnuImport"), MenuOutcome::kDone);
  EXPECT_EQ(app.Origins()[1].source, CurveSource::kMeasured);
  std::string script = SessionScript(app);
  EXPECT_NE(script.find("dialog " + path + "\nmenu mnuImport\n"), std::string::npos) << script;
  Replay replay(script);
  ASSERT_EQ(replay.status, 0) << replay.errors;
  EXPECT_EQ(Curve(replay.app.model(), 1), (std::vector<double>{1e-6, 2e-6, 4e-6, 3e-6}));
  std::remove(path.c_str());
}

}  // namespace
}  // namespace qalto
