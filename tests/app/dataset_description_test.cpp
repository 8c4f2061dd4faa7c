// The data-set description: what it accepts, and the message naming what it refuses.
#include "app/dataset_description.h"

#include <gtest/gtest.h>

#include "common/error_description.h"
#include "common/test_names.h"

namespace qalto {
namespace {

// What a description holds beyond the seed, the normal distribution's control and a fixed value
// (samples, noise, mode, settings, techniques, mechanisms, the other distributions and names) is
// pinned by python/tests/test_dataset.py, whose rows equal single runs of their labels.
TEST(DatasetDescription, ReadsTheSeedANormalDistributionAndAFixedValue) {
  const DatasetDescription description = ParseDatasetDescription(R"json({
    "seed": 42, "mechanisms": {"E": {}}, "techniques": {"cv": {}},
    "parameters": {"E0(1)": {"normal": [0, 0.05]}, "FormIns.txttemp": 30}})json");
  EXPECT_EQ(description.seed, 42u);
  ASSERT_EQ(description.parameters.size(), 2u);
  EXPECT_EQ(description.parameters[0].control, "FormExpr.Eze(1)");
  EXPECT_EQ(description.parameters[0].distribution.kind, Distribution::Kind::kNormal);
  EXPECT_EQ(description.parameters[1].control, "FormIns.txttemp");
  EXPECT_EQ(description.parameters[1].distribution.kind, Distribution::Kind::kFixed);
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
