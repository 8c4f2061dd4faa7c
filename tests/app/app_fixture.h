#pragma once
// An application driven the way the user drives it, with a recording platform.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/script_runner.h"
#include "common/number_text.h"
#include "ui/recording_platform.h"

namespace qalto {

// The currents of curve k over the points shown (FirstPoint..LastPoint).
inline std::vector<double> Curve(const Model& m, int k) {
  std::vector<double> values;
  for (int i = m.FirstPoint; i <= m.LastPoint; ++i)
    values.push_back(m.CurrentY(i, k));
  return values;
}

class AppTest : public ::testing::Test {
 protected:
  AppTest() { platform.SetClock(1000.0); }

  // The analytical model with the given mechanism, as a user sets it in the Mechanism window.
  void UseAnalyticalMechanism(int mechanism) {
    app.mnuMechamism_Click();
    if (app.Mech().CheckDigital.Checked()) app.Mech().CheckDigital.Click();
    app.Mech().mech(mechanism).Click();
    app.Mech().Command1_Click();
  }

  // Technique n chosen in the Techniques window and confirmed.
  void ChooseTechnique(int n) {
    app.mnuTech_Click();
    app.Tech().optTech(n).Click();
    app.Tech().CmdOK_Click();
  }

  // The user imports the file: the dialog answers with its path.
  MenuOutcome Import(const std::string& path) {
    platform.QueueDialogAnswer(path);
    return app.ChooseMenu("mnuImport");
  }

  double Value(const Label& label) { return ReadNumber(label.Caption()); }

  // Runs script lines as qalto-batch does, printing into out and naming failures in err; the
  // exit status.
  int RunScript(const std::string& lines) {
    std::istringstream script(lines);
    return ScriptRunner(app, platform, out).Run(script, err);
  }

  RecordingPlatform platform;
  App app{platform};
  Model& model = app.model();
  std::ostringstream out, err;
};

}  // namespace qalto
