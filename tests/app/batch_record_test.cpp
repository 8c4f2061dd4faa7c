// The JSON record of a run and the table gathered from many records.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <utility>

#include "app/app_fixture.h"
#include "app/batch_record.h"
#include "app/json_flatten.h"
#include "app/record_merge.h"

namespace qalto {
namespace {

std::map<std::string, std::string> Cells(const std::string& json) {
  std::string error;
  JsonCells cells = FlattenJson(json, error);
  EXPECT_EQ(error, "");
  return {cells.begin(), cells.end()};
}

std::string Digits(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

// A reversible cyclic voltammogram of the analytical model with its two peaks found.
class BatchRecordTest : public AppTest {
 protected:
  void RunCyclic() {
    ASSERT_EQ(RunScript("menu mnuMechamism\nclick FormMech.CheckDigital\nclick FormMech.Command1\n"
                        "menu mnuInstrument\nselect FormIns.ComboScan cycle\nclick FormIns.cmdOK\n"
                        "menu mnuSimulate\nmenu mnuFindPeak\n"),
              kExitRan)
        << err.str();
  }
};

// A chronoamperogram's, an AC voltammogram's and a potential program's record holds its
// experiment as the run applied it; a sweep's holds none of these cells.
struct Experiment {
  const char* name;
  const char* script;
  int points;
  std::map<std::string, std::string> cells;
};

class RecordedExperiment : public BatchRecordTest,
                           public ::testing::WithParamInterface<Experiment> {};

TEST_P(RecordedExperiment, HoldsItAsTheRunAppliedIt) {
  const Experiment& e = GetParam();
  RunCyclic();
  const std::map<std::string, std::string> sweep = Cells(RunRecordJson(RunRecord{}, app.model()));
  for (const auto& [key, value] : e.cells)
    EXPECT_EQ(sweep.count(key), 0u) << key;
  ASSERT_EQ(RunScript(e.script), kExitRan) << err.str();
  std::map<std::string, std::string> cells = Cells(RunRecordJson(RunRecord{}, app.model()));
  for (const auto& [key, value] : e.cells)
    EXPECT_EQ(cells[key], value) << key;
  EXPECT_EQ(app.model().NumberOfPoints, e.points);
  // The reversible fundamental lies at E1/2 (0.1 V).
  if (cells.contains("ac.f")) {
    EXPECT_NEAR(std::stod(cells["ac.harmonics.1.potential"]), 0.1, 0.001);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Techniques, RecordedExperiment,
    ::testing::Values(
        Experiment{"Chronoamperometry",
                   "menu mnuTech\nclick FormTech.optTech(7)\nclick FormTech.CmdOK\n"
                   "menu mnuInstrument\nset FormIns.TextE1 -0.4\nset FormIns.TextT2 0.5\n"
                   "set FormIns.TextTSample 0.05\nmenu mnuSimulate\n",
                   30,
                   {{"steps.E1", "-0.40000000000000002"},
                    {"steps.E_start", "0.29999999999999999"},
                    {"steps.t1", "1"},
                    {"steps.E2", "0.29999999999999999"},
                    {"steps.t2", "0.5"},
                    {"steps.t_sample", "0.050000000000000003"}}},
        Experiment{"AcVoltammetry",
                   "menu mnuTech\nclick FormTech.optTech(9)\nclick FormTech.CmdOK\n"
                   "menu mnuMechamism\ncheck FormMech.CheckDigital on\nclick FormMech.Command1\n"
                   "menu mnuInstrument\nset FormIns.Eend -0.1\nset FormIns.V 0.1\n"
                   "set FormIns.TextF 5\nset FormIns.TextAmplitude 10\n"
                   "select FormIns.ComboScan single\nmenu mnuSimulate\n",
                   1280,
                   {{"ac.f", "5"},
                    {"ac.E_start", "0.29999999999999999"},
                    {"ac.E_end", "-0.10000000000000001"},
                    {"ac.v", "0.10000000000000001"},
                    {"ac.dE", "0.01"},
                    {"ac.harmonics.1.harmonic", "1"},
                    {"ac.harmonics.8.harmonic", "8"}}},
        Experiment{"PotentialProgram",
                   "menu mnuTech\nclick FormTech.optTech(8)\nclick FormTech.CmdOK\n"
                   "menu mnuProgram\nselect FormProgram.ComboKind(1) hold\n"
                   "set FormProgram.TextE(1) 0.3\nset FormProgram.TextT(1) 1\n"
                   "select FormProgram.ComboKind(3) sweep\nset FormProgram.TextE(3) 0.3\n"
                   "set FormProgram.TextEto(3) -0.2\nset FormProgram.TextV(3) 0.1\n"
                   "menu mnuInstrument\nset FormIns.TextTSample 0.05\nmenu mnuSimulate\n",
                   20 + 101,
                   {{"potential_program.t_sample", "0.050000000000000003"},
                    {"potential_program.E_start", "0.29999999999999999"},
                    {"potential_program.segments.1.kind", "hold"},
                    {"potential_program.segments.1.t", "1"},
                    {"potential_program.segments.2.kind", "sweep"},
                    {"potential_program.segments.2.E_to", "-0.20000000000000001"},
                    {"potential_program.segments.2.v", "0.10000000000000001"}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Each charge reaction's kinetics: Butler-Volmer with alpha, or Marcus-Hush with lambda (eV).
TEST_F(BatchRecordTest, HoldsTheKineticsOfEachChargeReaction) {
  RunCyclic();
  std::map<std::string, std::string> cells = Cells(RunRecordJson(RunRecord{}, app.model()));
  EXPECT_EQ(cells["kinetics.1.law"], "Butler-Volmer");
  EXPECT_EQ(cells["kinetics.1.alpha"], "0.5");
  ASSERT_EQ(RunScript("menu mnuExperimental\nset FormExpr.lambda(1) 0.8\nmenu mnuSimulate\n"),
            kExitRan)
      << err.str();
  cells = Cells(RunRecordJson(RunRecord{}, app.model()));
  EXPECT_EQ(cells["kinetics.1.reaction"], "1");
  EXPECT_EQ(cells["kinetics.1.law"], "Marcus-Hush-Chidsey");
  EXPECT_EQ(cells["kinetics.1.lambda_eV"], "0.80000000000000004");
  EXPECT_EQ(cells.count("kinetics.1.alpha"), 0u);
}

TEST_F(BatchRecordTest, HoldsTheRunAndItsPeaksAndReadsBack) {
  RunCyclic();
  RunRecord record;
  record.script = "cv.qs";
  record.manifest = "jobs.tsv";
  record.task = 12;
  // A Latin-1 byte from a manifest becomes the character it stands for: the record stays UTF-8.
  record.parameters = {
      {"ks", "1e-3"}, {"label", "a \"quoted\"\tname"}, {"sample", "labor\xE9 \xCE\xBC"}};
  record.settings = {{"FormIns.Noise", "1e-7"}};
  record.seed = 18446744073709551615u;
  record.messages = {"line one\nline two", "back\\slash"};
  record.seconds = 0.25;
  std::map<std::string, std::string> cells = Cells(RunRecordJson(record, app.model()));
  const Model& m = app.model();
  EXPECT_EQ(cells["program"], "qalto-batch");
  EXPECT_EQ(cells["version"], "1.0.0");
  EXPECT_EQ(cells["task"], "12");
  EXPECT_EQ(cells["parameters.ks"], "1e-3");
  EXPECT_EQ(cells["parameters.label"], "a \"quoted\"\tname");
  EXPECT_EQ(cells["settings.FormIns.Noise"], "1e-7");
  EXPECT_EQ(cells["seed"], "18446744073709551615");
  EXPECT_EQ(cells["parameters.sample"], "labor\xC3\xA9 \xCE\xBC");
  EXPECT_EQ(cells["exit_status"], "0");
  EXPECT_EQ(cells["status"], "ran");
  EXPECT_EQ(cells["error"], "");
  EXPECT_EQ(cells["messages.1"], "line one\nline two");
  EXPECT_EQ(cells["messages.2"], "back\\slash");
  EXPECT_EQ(cells["curves.1.peaks.1.potential"], Digits(m.PeakPotential(1, 1)));
  EXPECT_EQ(cells["curves.1.peaks.2.current"], Digits(m.PeakCurrent(2, 1)));
  EXPECT_EQ(cells.count("curves.1.peaks.3.potential"), 0u);
  // A reversible one-electron couple at 25 °C: the peaks lie 57 to 60 mV apart.
  double separation = std::stod(cells["curves.1.separation"]);
  EXPECT_NEAR(separation, 0.0585, 0.0025);
  EXPECT_EQ(cells["timing.seconds"], "0.25");
  EXPECT_EQ(cells.count("fitted.1.value"), 0u);  // no fit ran
}

TEST_F(BatchRecordTest, HoldsTheFitWithItsErrorsAndFlags) {
  // A noisy reversible wave fitted for E0 and for ks, which a reversible wave cannot fix.
  const std::string script(
      "menu mnuMechamism\nclick FormMech.CheckDigital\nclick FormMech.Command1\n"
      "menu mnuInstrument\nselect FormIns.ComboScan cycle\nset FormIns.Noise 1e-7\n"
      "click FormIns.cmdOK\nmenu mnuExperimental\nset FormExpr.ks(1) 10\nmenu mnuSimulate\n"
      "check FormExpr.CheckFitted(1) off\ncheck FormExpr.CheckFitted(11) on\n"
      "set FormExpr.TextKsmin(1) 1e-3\nset FormExpr.TextKsmax(1) 10\n"
      "check FormExpr.CheckFitted(31) on\nmenu mnuAutoFit\n");
  app.model().NoiseSeed = 5;
  ASSERT_EQ(RunScript(script), kExitRan) << err.str();
  const FitResult& fit = app.model().LastFit;
  ASSERT_TRUE(fit.valid);
  std::map<std::string, std::string> cells = Cells(RunRecordJson(RunRecord{}, app.model()));
  EXPECT_EQ(cells["fitted.1.name"], "ks(1)");
  // Any ks of a reversible wave fits alike: on its bound, or with an error beyond its value.
  EXPECT_TRUE(cells["fitted.1.flags.1"] == "at bound" ||
              cells["fitted.1.flags.1"] == "undetermined")
      << cells["fitted.1.flags.1"];
  EXPECT_EQ(cells["fitted.2.name"], "E0(1)");
  EXPECT_EQ(cells["fitted.2.standard_error"], Digits(fit.parameters[1].standardError));
  EXPECT_EQ(cells["fitted.2.lower_95"], Digits(fit.parameters[1].lower95));
  EXPECT_EQ(cells["fitted.2.upper_95"], Digits(fit.parameters[1].upper95));
  EXPECT_EQ(cells.count("fitted.2.flags.1"), 0u);
  EXPECT_EQ(cells["fit.least_square"], Digits(fit.sumOfSquares));
  EXPECT_EQ(cells["fit.points"], std::to_string(app.model().NumberOfPoints));
  EXPECT_EQ(cells["fit.converged"], "true");
}

TEST(FlattenJson, NamesWhereADocumentBreaks) {
  const std::pair<std::string, std::string> bad[] = {
      {"{\"a\": 1,}", "expected a key at byte 8"},
      {"{\"a\": tru}", "not a value at byte 6"},
      {"{\"a\": \"open", "unterminated string at byte 11"},
      {"[1] 2", "text after the end of the document at byte 4"},
      {std::string(100, '['), "nesting too deep at byte 64"},
  };
  for (const auto& [text, message] : bad) {
    std::string error;
    EXPECT_TRUE(FlattenJson(text, error).empty());
    EXPECT_EQ(error, message) << text;
  }
  std::string error;
  EXPECT_EQ(
      FlattenJson("{\"s\": \"\\u00e9\\u20ac\", \"n\": null, \"b\": [true, -1.5e-3]}", error),
      (JsonCells{{"s", "\xc3\xa9\xe2\x82\xac"}, {"n", ""}, {"b.1", "true"}, {"b.2", "-1.5e-3"}}));
}

TEST(MergeRecords, OneRowPerRecordAndAColumnPerCellMet) {
  std::string folder = ::testing::TempDir();
  std::ofstream(folder + "/one.json") << "{\"parameters\": {\"ks\": \"1\"}, \"exit_status\": 0}";
  std::ofstream(folder + "/two.json")
      << "{\"parameters\": {\"ks\": \"0.1\", \"E0\": \"0\"}, \"exit_status\": 3, "
         "\"messages\": [\"tab\\there\\nand line\"]}";
  std::ofstream(folder + "/broken.json") << "{\"exit_status\": ";
  MergedTable table = MergeRecords({folder + "/one.json", folder + "/absent.json",
                                    folder + "/two.json", folder + "/broken.json"});
  EXPECT_EQ(table.rows, 2);
  EXPECT_EQ(table.text, "record\tparameters.ks\texit_status\tparameters.E0\tmessages.1\n" + folder +
                            "/one.json\t1\t0\t\t\n" + folder +
                            "/two.json\t0.1\t3\t0\ttab\\there\\nand line\n");
  EXPECT_EQ(table.problems,
            (std::vector<std::string>{
                folder + "/absent.json: No such file or directory",
                folder + "/broken.json: not a JSON record: unexpected end at byte 16"}));
}

}  // namespace
}  // namespace qalto
