#include "drawing/svg_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "files/temp_folder.h"

namespace qalto {
namespace {

RecordingSurface SamplePlot() {
  RecordingSurface surface;
  surface.SetScale(-0.36, 1.02e-5, 0.36, -2.5e-6);
  surface.SetPosition(-0.36, 1.02e-5);
  surface.Print("I /A  1E-6");
  surface.SetLineStyle(LineStyle::kDashed);
  surface.DrawLine(-0.3, 0, 0.3, 0);
  surface.SetLineStyle(LineStyle::kSolid);
  surface.SetScale(0.36, 1.02e-5, -0.36, -2.5e-6);
  surface.DrawRectangle(-0.3, -1e-6, 0.3, 9e-6);
  surface.SetPoint(-0.3, 2e-6);
  for (int j = 1; j <= 60; ++j)
    surface.DrawLineTo(-0.3 + 0.01 * j, 2e-6 + 1e-7 * j);
  surface.SetPoint(0.1, 5e-6);
  surface.DrawRectangleBySize(0.1, 5e-6, 0.006, 1e-7);
  surface.SetPoint(std::nan(""), 1e-6);  // not a number: not drawn
  surface.DrawLine(0, 0, 1e300, 1e-6);   // runs far out of the picture
  surface.SetPosition(0.2, 3e-6);
  surface.Print("Tom & Jerry <\"quoted\" 'single'>\x01\xff");
  return surface;
}

// The texts escaped, curves as paths, no number that is none; xmllint parses the pictures of
// the scenario plot_pictures.
TEST(SvgWriter, WritesThePictureWithItsTextsEscaped) {
  std::string svg = SvgText(SamplePlot(), 640, 480);
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("width=\"640\" height=\"480\""), std::string::npos);
  EXPECT_NE(svg.find("fill=\"#ffffff\""), std::string::npos);  // white background
  EXPECT_NE(svg.find(">Tom &amp; Jerry &lt;&quot;quoted&quot; &apos;single&apos;&gt;\xEF\xBF\xBD<"),
            std::string::npos);
  EXPECT_NE(svg.find("stroke-dasharray"), std::string::npos);
  EXPECT_TRUE(svg.find("nan") == std::string::npos && svg.find("inf") == std::string::npos);
  // The connected curve is one path of 60 segments.
  std::smatch path;
  ASSERT_TRUE(std::regex_search(svg, path, std::regex("<path d=\"M[^\"]*L[^\"]*\"")));
  EXPECT_EQ(std::count(path[0].first, path[0].second, 'L'), 60);
  // Every coordinate stays near the picture.
  std::regex number("-?[0-9]+(\\.[0-9]+)?");
  for (std::sregex_iterator it(svg.begin(), svg.end(), number), end; it != end; ++it)
    EXPECT_LT(std::abs(std::stod(it->str())), 10000.0) << it->str();
  // The title sits at the top-left corner: x = 0, baseline within the first text line.
  std::smatch title;
  ASSERT_TRUE(std::regex_search(svg, title, std::regex("x=\"([-0-9.]+)\" y=\"([-0-9.]+)\">I /A")));
  EXPECT_EQ(title[1].str(), "0");
  EXPECT_NEAR(std::stod(title[2].str()), 14.0, 6.0);
}

TEST(SvgWriter, WritesTheFileOrReportsThatItCannot) {
  RecordingSurface surface = SamplePlot();
  TempFolder folder;
  const std::string file = folder.Path("plot.svg");
  ASSERT_TRUE(WriteSvg(surface, file, 800, 600));
  EXPECT_EQ(TempFolder::Read(file), SvgText(surface, 800, 600));
  EXPECT_FALSE(WriteSvg(surface, "/nonexistent-folder/plot.svg", 800, 600));
  EXPECT_FALSE(WriteSvg(surface, file, 0, 600));
}

}  // namespace
}  // namespace qalto
