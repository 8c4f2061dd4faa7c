#include "drawing/display_list_text.h"

#include <gtest/gtest.h>

namespace qalto {
namespace {

// The picture writer paints what the plot drew: every number to the last bit, any caption.
TEST(DisplayListText, ReadsBackEveryItemExactly) {
  RecordingSurface surface;
  surface.SetScale(0.3, 1.0 / 3.0, -0.3, -2.5e-300);
  surface.SetLineStyle(LineStyle::kDashed);
  surface.DrawLine(0.1, 1e-7, -0.2999999999999999, 0.0);
  surface.SetLineStyle(LineStyle::kSolid);
  surface.SetPoint(-0.0, 6.02214076e23);
  surface.DrawRectangle(1, 2, 3, 4);
  surface.SetPosition(0.25, 0.5);
  surface.Print("E /V \"x\"\n  µA\t");
  surface.Print("");
  std::vector<DisplayItem> read;
  ASSERT_TRUE(ReadDisplayListText(DisplayListText(surface.Items()), read));
  EXPECT_TRUE(read == surface.Items());
}

TEST(DisplayListText, RefusesADamagedText) {
  RecordingSurface surface;
  surface.SetPosition(0.25, 0.5);
  surface.Print("I /A");
  const std::string text = DisplayListText(surface.Items());
  std::vector<DisplayItem> read;
  for (const std::string& damaged :
       {text.substr(0, text.size() - 1), text.substr(1), text + "i 0x1p+9\n",
        "i 0x1.8p+0" + text.substr(text.find(' ', 2))}) {
    read.clear();
    EXPECT_FALSE(ReadDisplayListText(damaged, read)) << damaged;
  }
  EXPECT_TRUE(ReadDisplayListText("", read));
}

}  // namespace
}  // namespace qalto
