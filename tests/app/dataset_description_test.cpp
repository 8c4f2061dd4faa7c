// The data-set description: what it accepts, and the message naming what it refuses.
#include "app/dataset_description.h"

#include <gtest/gtest.h>

#include "common/error_description.h"
#include "common/test_names.h"

namespace qalto {
namespace {

TEST(DatasetDescription, ReadsMechanismsTechniquesAndDistributions) {
  const DatasetDescription description = ParseDatasetDescription(R"json({
    "seed": 42, "samples": 10, "noise": 1e-7, "mode": "analytical",
    "settings": {"FormIns.Estep": 0.002},
    "techniques": {"cv": {"FormTech.optTech(1)": "on", "FormIns.ComboScan": "cycle"}},
    "mechanisms": {"E": {"settings": {"FormMech.mech(1)": "on"}},
                   "EC": {"settings": {"FormMech.mech(7)": "on"},
                          "parameters": {"kf(1)": {"log_uniform": [0.01, 100]}}}},
    "parameters": {"ks(1)": {"log_uniform": [1e-4, 1]}, "alpha(1)": {"uniform": [0.3, 0.7]},
                   "E0(1)": {"normal": [0, 0.05]}, "scan_rate": {"grid": [0.01, 0.1]},
                   "FormIns.txttemp": 30}})json");
  EXPECT_EQ(description.seed, 42u);
  EXPECT_EQ(description.samples, 10);
  EXPECT_EQ(description.noise, 1e-7);
  ASSERT_EQ(description.settings.size(), 2u);
  EXPECT_EQ(description.settings[0].first, "FormMech.CheckDigital");
  EXPECT_EQ(description.settings[0].second, "off");
  EXPECT_EQ(description.settings[1].second, "0.002");
  ASSERT_EQ(description.mechanisms.size(), 2u);
  EXPECT_EQ(description.mechanisms[1].label, "EC");
  EXPECT_EQ(description.mechanisms[1].parameters[0].control, "FormExpr.kf(1)");
  ASSERT_EQ(description.techniques.size(), 1u);
  EXPECT_EQ(description.techniques[0].settings.size(), 2u);
  ASSERT_EQ(description.parameters.size(), 5u);
  EXPECT_EQ(description.parameters[1].control, "FormExpr.alph(1)");
  EXPECT_EQ(description.parameters[2].control, "FormExpr.Eze(1)");
  EXPECT_EQ(description.parameters[3].control, "FormIns.V");
  EXPECT_EQ(description.parameters[3].distribution.values, (std::vector<double>{0.01, 0.1}));
  EXPECT_EQ(description.parameters[4].distribution.kind, Distribution::Kind::kFixed);
}

struct Refusal {
  std::string json;
  std::string message;
};

class DatasetDescriptionRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(DatasetDescriptionRefusal, NamesWhatIsWrong) {
  EXPECT_EQ(ErrorDescription([] { ParseDatasetDescription(GetParam().json); }), GetParam().message);
}

// A description that is whole but for its parameters.
std::string WithParameters(const std::string& parameters) {
  return R"json({"mechanisms": {"E": {}}, "techniques": {"cv": {}}, "parameters": )json" +
         parameters + "}";
}

INSTANTIATE_TEST_SUITE_P(
    Descriptions, DatasetDescriptionRefusal,
    testing::Values(
        Refusal{"[1]", "dataset: the file: expected a JSON object"},
        Refusal{R"json({"mechanisms": {}})json",
                "dataset: mechanisms: expected an object with at least one entry"},
        Refusal{R"json({"seed": -1})json", "dataset: seed: expected a whole number from 0 to 9e15"},
        Refusal{R"json({"samples": 0.5})json",
                "dataset: samples: expected a whole number from 1 to 10000000"},
        Refusal{R"json({"noise": -1e-9})json", "dataset: noise: expected a current >= 0 (A)"},
        Refusal{R"json({"mode": "fast"})json",
                R"text(dataset: mode: expected "analytical" or "digital")text"},
        Refusal{WithParameters(R"json({"speed": 1})json"),
                "dataset: parameters.speed: not a parameter or control name"},
        Refusal{WithParameters(R"json({"ks(1)": {"log_uniform": [0, 1]}})json"),
                "dataset: parameters.ks(1).log_uniform: expected low < high (and low > 0 for "
                "log_uniform)"},
        Refusal{WithParameters(R"json({"ks(1)": {"grid": []}})json"),
                "dataset: parameters.ks(1): an empty grid"}),
    [](const auto& info) {  // the place the message names
      const std::string& m = info.param.message;
      return WordsAsName(m.substr(9, m.find(':', 9) - 9));
    });

}  // namespace
}  // namespace qalto
