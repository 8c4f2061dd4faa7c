// Every technique at every electrode in the analytical model, chosen in the windows as a user
// chooses them (through script lines, which refuse a control the user could not reach): each
// combination with an analytical model runs on the default settings of every mechanism without
// a message and carries faradaic current; each without one is refused with one message that
// names it, and the curve simulated before stays as it was.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/script_runner.h"
#include "model/experiment_table.h"
#include "ui/recording_platform.h"

namespace qalto {
namespace {

const std::string kToggleDigital = "menu mnuMechamism\nclick FormMech.CheckDigital\n";

// A fresh program with an analytical mechanism (A + e = B unless said), driven by script lines.
class Session {
 public:
  explicit Session(int mechanism = 1) {
    platform.SetClock(0);
    Do(kToggleDigital + "click FormMech.mech(" + std::to_string(mechanism) +
       ")\nclick FormMech.Command1\n");
  }

  void Do(const std::string& lines, int status = 0) {
    std::istringstream script(lines);
    std::ostringstream err;
    ASSERT_EQ(runner.Run(script, err), status) << err.str() << "\nin:\n" << lines;
  }

  // The analytical model disables the electrodes it has no use for in the technique; a user who
  // wants one anyway selects it with the digital model on and then switches that off again.
  void Choose(int technique, int electrode) {
    const std::string click = "click FormIns.optElectrode(" + std::to_string(electrode) + ")\n";
    const std::string toggle = kToggleDigital + "click FormMech.Command1\nmenu mnuInstrument\n";
    Do("menu mnuTech\nclick FormTech.optTech(" + std::to_string(technique) +
       ")\nclick FormTech.CmdOK\nmenu mnuInstrument\n");
    if (app.Ins().optElectrode(electrode).Enabled()) return Do(click);
    Do(toggle + click + toggle);
    ASSERT_FALSE(app.Ins().optElectrode(electrode).Enabled());
    ASSERT_TRUE(app.Ins().optElectrode(electrode).Selected());
  }

  // Runs Simulate, ending with the script status given; the current curve afterwards.
  std::vector<double> Simulate(int status = 0) {
    platform.messages.clear();
    Do("menu mnuSimulate\n", status);
    std::vector<double> curve;
    for (int i = 1; i <= app.model().NumberOfPoints; ++i)
      curve.push_back(app.model().CurrentY(i, 1));
    return curve;
  }

  bool FaradaicCurrentFlowed() {
    for (int i = 1; i <= app.model().NumberOfPoints; ++i)
      if (app.model().ReactionCurrents(i, 1) != 0) return true;
    return false;
  }

  RecordingPlatform platform;
  App app{platform};
  std::ostringstream out;
  ScriptRunner runner{app, platform, out};
};

// The refusal of two combinations the manual names, word for word.
const char* const kRefusals[][2] = {{"38", "normal pulse voltammetry at the rotating disk"},
                                    {"60", "square wave voltammetry at the band electrode"}};

TEST(AnalyticalDispatch, EveryCombinationRunsOrIsRefusedOnTheDefaults) {
  const std::string refused = "Analytical simulation Error: No analytical model for ";
  const std::string advice =
      ": tick Digital Simulation in the Mechanism window! Please try again by other initial "
      "values.";
  for (int mechanism = 1; mechanism <= 10; ++mechanism) {
    for (int technique = 1; technique <= 6; ++technique) {
      for (int electrode = 1; electrode <= 10; ++electrode) {
        SCOPED_TRACE("mechanism " + std::to_string(mechanism) + ", technique " +
                     std::to_string(technique) + ", electrode " + std::to_string(electrode));
        Session session(mechanism);
        const std::vector<double> before = session.Simulate();  // planar sweep
        session.Choose(technique, electrode);
        CurveOrigins origins = session.app.Origins();
        origins[1] = {CurveSource::kMeasured, "measured.csv"};  // as if read from a file
        session.app.SetOrigins(origins);
        // What the manual's table says (ManualTables below); at the microdisc only the
        // independent couples, Nernstian with equal D on the defaults.
        const ExperimentCase key{TechniqueNumbered(technique), ElectrodeNumbered(electrode)};
        const AnalyticalReach reach = AnalyticalReachOf(key);
        const bool discCouples = mechanism == 1 || mechanism == 4 || mechanism == 5;
        const bool modelled = reach == AnalyticalReach::kEveryMechanism ||
                              (reach == AnalyticalReach::kNernstianCouples && discCouples);
        std::vector<double> curve = session.Simulate(modelled ? 0 : kExitComputation);
        const Model& model = session.app.model();
        EXPECT_FALSE(model.DigitalSimulation);
        EXPECT_EQ(model.Mechanism, mechanism);
        int code = 10 * technique + electrode;
        ASSERT_EQ(CaseCode(model.AnalyticalCase), code);
        ASSERT_EQ(curve.size(), 121u);  // 0.3 V to -0.3 V in 5 mV steps
        for (double current : curve)
          ASSERT_TRUE(std::isfinite(current));
        if (modelled) {
          EXPECT_TRUE(session.platform.messages.empty());
          EXPECT_TRUE(session.FaradaicCurrentFlowed());
          continue;
        }
        EXPECT_EQ(curve, before);
        EXPECT_EQ(session.app.Origins()[1].name, "measured.csv");
        ASSERT_EQ(session.platform.messages.size(), 1u);
        const std::string& message = session.platform.messages[0];
        EXPECT_TRUE(message.starts_with(refused) && message.ends_with(advice)) << message;
        for (const auto& [named, words] : kRefusals)
          if (std::to_string(code) == named) {
            EXPECT_EQ(message, refused + words + advice);
          }
        // The table lists the microdisc's combinations; the disc refuses per experiment.
        EXPECT_EQ(HasAnalyticalCurrent(key), reach != AnalyticalReach::kNone);
      }
    }
  }
}

// The manual's tables, as the experiment table makes them: the Techniques form's captions, and
// what each engine computes for each combination ("A": the analytical engine for every mechanism
// of its own, "A*": for independent Nernstian couples only, "D": the digital engine).
std::string ManualText() {
  std::ifstream file(QALTO_MANUAL);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string ReachMarks(ExperimentCase key) {
  const AnalyticalReach reach = AnalyticalReachOf(key);
  std::string marks = reach == AnalyticalReach::kEveryMechanism     ? "A"
                      : reach == AnalyticalReach::kNernstianCouples ? "A*"
                                                                    : "";
  if (DigitallyComputed(key)) marks += marks.empty() ? "D" : " D";
  return marks.empty() ? "&ndash;" : marks;
}

std::string CombinationsRow(Technique technique) {
  std::string row = "<tr><td>" + std::to_string(Number(technique)) + "</td>";
  for (int e = 1; e <= kElectrodeCount; ++e)
    row += "<td>" + ReachMarks({technique, ElectrodeNumbered(e)}) + "</td>";
  return row + "</tr>";
}

TEST(ManualTables, FollowTheExperimentTable) {
  const std::string manual = ManualText();
  ASSERT_FALSE(manual.empty()) << "no manual at " << QALTO_MANUAL;
  for (Technique technique : kTechniqueList) {
    const std::string number = std::to_string(Number(technique));
    const std::string caption =
        std::string("<tr><td>") + number + "</td><td>" + RowOf(technique).caption;
    EXPECT_NE(manual.find(caption), std::string::npos) << "techniques table: " << caption;
    const std::string row = CombinationsRow(technique);
    EXPECT_NE(manual.find(row), std::string::npos) << "combinations table:\n  " << row;
  }
}

}  // namespace
}  // namespace qalto
