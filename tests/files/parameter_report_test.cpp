#include "files/parameter_report.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "files/temp_folder.h"

namespace qalto {
namespace {

using ::testing::HasSubstr;

class ParameterReportTest : public AppTest {
 protected:
  void Save(const std::string& path) {
    platform.QueueDialogAnswer(path);
    app.mnuSave_Click();
  }

  TempFolder folder;
};

TEST_F(ParameterReportTest, FailuresAreShownAndKeepTheOldFile) {
  // Nine species: the ninth has no place in the tables, and the old report stays.
  model.SpeciesCount = 9;
  std::string path = folder.Write("old.par", "old");
  Save(path);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].find("Subscript out of range"), std::string::npos);
  EXPECT_EQ(TempFolder::Read(path), "old");
  EXPECT_THROW(ParameterReportText(model), RuntimeError);
}

// A chronoamperogram's report has its steps after the drop time; a sweep's has none of them.
TEST_F(ParameterReportTest, ChronoamperometryReportsItsSteps) {
  model.Technique = Technique::kSweep;
  EXPECT_EQ(ParameterReportText(model).find("E1 :"), std::string::npos);
  model.Technique = Technique::kChronoamperometry;
  model.StepPotential1 = -0.4;
  model.StepTime1 = 2;
  model.StepPotential2 = 0.25;
  model.StepTime2 = 1;
  model.SampleTime = 0.01;
  EXPECT_THAT(ParameterReportText(model),
              HasSubstr("t drop :\r\n 0 \r\nE1 :\r\n-.4 \r\nt1 :\r\n 2 \r\nE2 :\r\n .25 \r\n"
                        "t2 :\r\n 1 \r\nt sample :\r\n .01 \r\nArea Of Electrode :"));
}

// An AC voltammogram's report has its base (the scan rate, or the program's segments) and its
// sine after the drop time.
TEST_F(ParameterReportTest, AcVoltammetryReportsItsBaseAndSine) {
  model.Technique = Technique::kAcVoltammetry;
  model.ScanRate = 0.05;
  model.AcAmplitude = 0.025;
  model.AcFrequency = 9;
  EXPECT_THAT(ParameterReportText(model),
              HasSubstr("Scan rate :\r\n .05 \r\nAC amplitude :\r\n .025 \r\n"
                        "AC frequency :\r\n 9 \r\nArea Of Electrode :"));
  model.AcOnProgram = true;
  model.Program.segments = {{SegmentKind::kHold, 0.2, 0, 0, 3}};
  EXPECT_THAT(ParameterReportText(model),
              HasSubstr("AC on :\r\npotential program\r\nProgram segments :\r\n 1 \r\n"
                        "Segment 1 hold :\r\n .2 \r\n 3 \r\nAC amplitude :"));
}

// A potential program's report has t sample and each segment (E and t, or E from, E to and v),
// or the file it was read from.
TEST_F(ParameterReportTest, PotentialProgramReportsItsSegmentsOrItsFile) {
  model.Technique = Technique::kPotentialProgram;
  model.SampleTime = 0.01;
  model.Program.segments = {{SegmentKind::kHold, 0.3, 0, 0, 2},
                            {SegmentKind::kSweep, 0.3, -0.25, 0.1, 0}};
  EXPECT_THAT(ParameterReportText(model),
              HasSubstr("t sample :\r\n .01 \r\nProgram segments :\r\n 2 \r\n"
                        "Segment 1 hold :\r\n .3 \r\n 2 \r\n"
                        "Segment 2 sweep :\r\n .3 \r\n-.25 \r\n .1 \r\nArea Of Electrode :"));
  model.Program = PotentialProgram{{}, {0, 60, 120}, {0.3, -0.3, 0.3}, "cv.csv", true};
  EXPECT_THAT(ParameterReportText(model),
              HasSubstr("Program file :\r\ncv.csv\r\nProgram rows :\r\n 3 "));
}

}  // namespace
}  // namespace qalto
