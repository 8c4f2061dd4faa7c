#include "files/parameter_report.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qalto
