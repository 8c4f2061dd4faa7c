#include "files/parameter_report.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/app_fixture.h"
#include "files/temp_folder.h"

namespace qalto {
namespace {

class ParameterReportTest : public AppTest {
 protected:
  void Save(const std::string& path) {
    platform.QueueDialogAnswer(path);
    app.mnuSave_Click();
  }
  void SetExperiment() {
    model.Technique = 1;
    model.Mechanism = 7;
    model.Electrode = 2;
    model.StartPotential = 0.5;
    model.EndPotential = -0.5;
    model.PotentialStep = 0.001;
    model.PulseTime = 0.05;
    model.DropTime = 1;
    model.ElectrodeArea = 0.0314159;
    model.PulsePotential = 0.025;
    model.NoiseLevel = 1e-7;
    model.NumberOfPoints = 1001;
  }

  TempFolder folder;
};

// The first thirteen pairs for SetExperiment().
const char* const kHead =
    "Technique :\r\n 1 \r\n"
    "Mechisim :\r\n 7 \r\n"
    "Electrode\r\n 2 \r\n"
    "E start :\r\n .5 \r\n"
    "E end :\r\n-.5 \r\n"
    "E Step :\r\n .001 \r\n"
    "t pulse :\r\n .05 \r\n"
    "t drop :\r\n 1 \r\n"
    "Area Of Electrode :\r\n .0314159 \r\n"
    "E pulse :\r\n .025 \r\n"
    "Noise (%) :\r\n 1E-07 \r\n"
    "No. OF DATA :\r\n 1001 \r\n";

TEST_F(ParameterReportTest, EverySpeciesHasItsBlock) {
  SetExperiment();
  model.SpeciesCount = 2;
  model.SpeciesD(1) = 1e-5;
  model.SpeciesD(2) = 7.5e-6;
  model.SpeciesC(1) = 0.001;
  model.SpeciesC(2) = 0;
  model.ChargeKs(1) = 1;
  model.ChargeAlpha(1) = 0.5;
  model.ChargeN(1) = 2;
  model.ChargeE0(1) = -0.25;
  // Kinetic values at position 2 are left from an earlier mechanism; they are written all
  // the same.
  model.ChargeKs(2) = 0.01;
  model.SpeciesConductivity(2) = 73.5;
  EXPECT_EQ(ParameterReportText(model), std::string(kHead) +
                                            "NUMBER OF SPECIES :\r\n 2 \r\n"
                                            "Species \r\n 1 \r\n"
                                            "D :\r\n .00001 \r\n"
                                            "C :\r\n .001 \r\n"
                                            "ks :\r\n 1 \r\n"
                                            "Alpha :\r\n .5 \r\n"
                                            "n :\r\n 2 \r\n"
                                            "E' :\r\n-.25 \r\n"
                                            "Conductivity :\r\n\r\n"
                                            "Species \r\n 2 \r\n"
                                            "D :\r\n 7.5E-06 \r\n"
                                            "C :\r\n 0 \r\n"
                                            "ks :\r\n .01 \r\n"
                                            "Alpha :\r\n 0 \r\n"
                                            "n :\r\n 0 \r\n"
                                            "E' :\r\n 0 \r\n"
                                            "Conductivity :\r\n 73.5 \r\n");
}

TEST_F(ParameterReportTest, TheReportGoesToTheChosenFile) {
  SetExperiment();
  std::string path = folder.Path("run.par");
  Save(path);
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(platform.dialogFilters, std::vector<std::string>{"parameter (*.par)|*.par|all|*.*"});
  EXPECT_EQ(TempFolder::Read(path), std::string(kHead) + "NUMBER OF SPECIES :\r\n 0 \r\n");
  // A cancel writes nothing, not even to the file chosen last.
  std::filesystem::remove(path);
  app.mnuSave_Click();
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ParameterReportTest, FailuresAreShownAndKeepTheOldFile) {
  // Nine species: the ninth has no place in the tables, and the old report stays.
  SetExperiment();
  model.SpeciesCount = 9;
  std::string path = folder.Write("old.par", "old");
  Save(path);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].find("Subscript out of range"), std::string::npos);
  EXPECT_EQ(TempFolder::Read(path), "old");
  EXPECT_THROW(ParameterReportText(model), RuntimeError);
}

TEST_F(ParameterReportTest, AfterASimulationTheReportShowsTheAppliedForms) {
  app.mnuInstrument_Click();
  app.Ins().Estart.SetText("0.2");
  app.Ins().Eend.SetText("-0.2");
  app.Ins().Estep.SetText("0.01");
  app.mnuSimulate_Click();
  ASSERT_TRUE(platform.messages.empty());
  std::string text = ParameterReportText(model);
  EXPECT_NE(text.find("E start :\r\n .2 \r\nE end :\r\n-.2 \r\nE Step :\r\n .01 \r\n"),
            std::string::npos);
  EXPECT_NE(text.find("No. OF DATA :\r\n 41 \r\n"), std::string::npos);
  EXPECT_NE(text.find("Species \r\n 1 \r\n"), std::string::npos);
}

}  // namespace
}  // namespace qalto
