// A measured chronoamperogram's times as the steps' samples: counted from the step, the points at
// or before it left out, refused with the reason where the times cannot be taken; the EC-Lab
// chronoamperometry export (a later step of a sequence, a point a minute) read from its binary
// file.

#include "files/step_time_series.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "files/import_data.h"

namespace qalto {
namespace {

struct Times {
  const char* name;
  std::vector<double> file;      // s, the time column (or the first column without one)
  bool timeColumn;               // the file has a time column beside its potentials
  std::vector<double> expected;  // s, since the step; empty: refused
  const char* problem;           // the reason of a refusal
};

class StepTimesTest : public ::testing::TestWithParam<Times> {};

TEST_P(StepTimesTest, CountsFromTheStep) {
  const Times& c = GetParam();
  ImportedCurve curve;
  for (size_t k = 0; k < c.file.size(); ++k) {
    curve.potential.push_back(c.timeColumn ? -0.5 : c.file[k]);
    curve.current.push_back(1e-6 * static_cast<double>(k + 1));
    if (c.timeColumn) curve.time.push_back(c.file[k]);
  }
  const std::optional<std::string> problem = TakeStepTimes(curve);
  if (c.expected.empty()) {
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(*problem, c.problem);
    return;
  }
  ASSERT_FALSE(problem.has_value()) << *problem;
  ASSERT_EQ(curve.potential.size(), c.expected.size());
  for (size_t k = 0; k < c.expected.size(); ++k)
    EXPECT_NEAR(curve.potential[k], c.expected[k], 1e-9) << k;
  // The currents stay with their instants.
  const size_t dropped = c.file.size() - c.expected.size();
  EXPECT_EQ(curve.current.front(), 1e-6 * static_cast<double>(dropped + 1));
}

INSTANTIATE_TEST_SUITE_P(
    Files, StepTimesTest,
    ::testing::Values(
        Times{"FromTheFirstSample", {0.01, 0.02, 0.03}, false, {0.01, 0.02, 0.03}, ""},
        Times{"StepInstantLeftOut", {0, 0.5, 1, 1.5}, true, {0.5, 1, 1.5}, ""},
        Times{"LaterStepOfASequence", {3600, 3660, 3720, 3780}, true, {60, 120, 180}, ""},
        Times{"TimeDoesNotRise",
              {0.1, 0.2, 0.2},
              true,
              {},
              "the time does not rise at point 3 (.2 s, then .2 s)"},
        Times{"NothingAfterTheStep",
              {-1, 0},
              true,
              {},
              "fewer than two points after the step (t > 0)"},
        Times{"OnePoint", {0.1}, false, {}, "a chronoamperogram needs two points or more"}),
    [](const ::testing::TestParamInfo<Times>& info) { return std::string(info.param.name); });

// t1 is the whole curve, or what is left of it after the second step.
TEST(StepTimeTexts, SplitTheCurveAtTheSecondStep) {
  ImportedCurve curve;
  curve.potential = {0.5, 1, 1.5, 2, 2.5, 3};
  for (double t2 : {0.0, 1.0, 5.0}) {
    const StepTimeTexts texts = StepTimeTextsOf(curve, t2);
    EXPECT_EQ(texts.sample, "0.5");
    EXPECT_EQ(texts.first, t2 == 1.0 ? "2" : "3") << t2;
    EXPECT_EQ(texts.second, t2 == 1.0 ? "1" : "0") << t2;
  }
}

// The binary file: 720 points a minute apart after the step at 108874.23 s (the point at the
// step, 18.6 uA, left out), the first 28.9 nA anodic, t1 12 hours. (Its text export reads as the
// same curve: EcLabTwinTest.)
TEST(StepTimesOfEcLab, ALaterStepOfTheBinaryFile) {
  const std::filesystem::path file =
      std::filesystem::path(QALTO_INSTRUMENTS_DIR) / "biologic_mpr" / "ca.mpr";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "no " << file;
  Model model;
  model.Technique = Technique::kChronoamperometry;
  Expected<ImportedFile> read = ReadImportFile(file.string());
  ASSERT_TRUE(read) << read.Error().message;
  const ImportResult result = PrepareImport(model, read.Value(), 1);
  ASSERT_TRUE(result.ok);
  const ImportedCurve& curve = result.curves.front();
  ASSERT_EQ(curve.potential.size(), 720u);
  EXPECT_NEAR(curve.potential.front(), 1.089342286766004e5 - 1.088742284907824e5, 1e-6);
  EXPECT_NEAR(curve.current.front(), 2.8889910e-8, 1e-14);
  ASSERT_TRUE(result.instrument.steps.has_value());
  EXPECT_NEAR(std::stod(result.instrument.steps->sample), 60.0, 1e-3);
  EXPECT_NEAR(std::stod(result.instrument.steps->first), 43200.0, 0.01);
}

}  // namespace
}  // namespace qalto
