#include "ui/svg_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <vector>

namespace qalto {
namespace {

// A small checker of well-formed XML for documents without comments, CDATA or doctype: the
// declaration, nested elements with quoted attributes, character data with known entities.
class XmlChecker {
 public:
  explicit XmlChecker(const std::string& text) : text_(text) {}

  std::string Check() {
    Skip("<?xml");
    size_t end = text_.find("?>", pos_);
    if (end == std::string::npos) return "no end of declaration";
    pos_ = end + 2;
    SkipBlanks();
    if (!Element()) return error_;
    SkipBlanks();
    if (pos_ != text_.size()) return "content after the root element";
    return "";
  }

 private:
  bool Fail(const std::string& why) {
    if (error_.empty()) error_ = why + " at " + std::to_string(pos_);
    return false;
  }
  void Skip(const char* prefix) {
    if (text_.compare(pos_, std::char_traits<char>::length(prefix), prefix) == 0) {
      pos_ += std::char_traits<char>::length(prefix);
    }
  }
  void SkipBlanks() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])))
      ++pos_;
  }
  std::string Name() {
    size_t start = pos_;
    while (pos_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '-' ||
            text_[pos_] == ':' || text_[pos_] == '_')) {
      ++pos_;
    }
    return text_.substr(start, pos_ - start);
  }
  bool Entity() {
    static const std::regex kEntity("&(amp|lt|gt|quot|apos|#[0-9]+|#x[0-9a-fA-F]+);");
    std::smatch match;
    std::string rest = text_.substr(pos_, 12);
    if (!std::regex_search(rest, match, kEntity, std::regex_constants::match_continuous)) {
      return Fail("bad entity");
    }
    pos_ += static_cast<size_t>(match.length(0));
    return true;
  }
  bool CharacterData(char stop) {
    while (pos_ < text_.size() && text_[pos_] != stop) {
      char c = text_[pos_];
      if (c == '&') {
        if (!Entity()) return false;
        continue;
      }
      if (c == '<' ||
          (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\r' && c != '\t')) {
        return Fail("bad character");
      }
      ++pos_;
    }
    return true;
  }
  bool Element() {
    if (text_[pos_] != '<') return Fail("element expected");
    ++pos_;
    std::string name = Name();
    if (name.empty()) return Fail("element name expected");
    std::vector<std::string> attributes;
    for (;;) {
      SkipBlanks();
      if (text_.compare(pos_, 2, "/>") == 0) {
        pos_ += 2;
        return true;
      }
      if (text_[pos_] == '>') break;
      std::string attribute = Name();
      if (attribute.empty()) return Fail("attribute name expected");
      for (const std::string& seen : attributes) {
        if (seen == attribute) return Fail("repeated attribute " + attribute);
      }
      attributes.push_back(attribute);
      if (text_[pos_++] != '=') return Fail("= expected");
      char quote = text_[pos_++];
      if (quote != '"' && quote != '\'') return Fail("quote expected");
      if (!CharacterData(quote)) return false;
      ++pos_;
    }
    ++pos_;
    for (;;) {
      if (!CharacterData('<')) return false;
      if (pos_ >= text_.size()) return Fail("unclosed " + name);
      if (text_.compare(pos_, 2, "</") == 0) {
        pos_ += 2;
        if (Name() != name) return Fail("mismatched end of " + name);
        SkipBlanks();
        if (text_[pos_++] != '>') return Fail("> expected");
        return true;
      }
      if (!Element()) return false;
    }
  }

  const std::string& text_;
  size_t pos_ = 0;
  std::string error_;
};

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

TEST(SvgWriter, WritesAWellFormedPictureWithTheTexts) {
  RecordingSurface surface = SamplePlot();
  std::string svg = SvgText(surface, 640, 480);
  EXPECT_EQ(XmlChecker(svg).Check(), "");
  EXPECT_NE(svg.find("width=\"640\" height=\"480\""), std::string::npos);
  EXPECT_NE(svg.find("fill=\"#ffffff\""), std::string::npos);  // white background
  EXPECT_NE(svg.find(">I /A  1E-6</text>"), std::string::npos);
  EXPECT_NE(svg.find(">Tom &amp; Jerry &lt;&quot;quoted&quot; &apos;single&apos;&gt;\xEF\xBF\xBD<"),
            std::string::npos);
  EXPECT_NE(svg.find("stroke-dasharray"), std::string::npos);
  EXPECT_EQ(svg.find("nan"), std::string::npos);
  EXPECT_EQ(svg.find("inf"), std::string::npos);

  // The connected curve is one path of 60 segments.
  std::smatch path;
  ASSERT_TRUE(std::regex_search(svg, path, std::regex("<path d=\"M[^\"]*L[^\"]*\"")));
  std::string d = path.str();
  EXPECT_EQ(std::count(d.begin(), d.end(), 'L'), 60);

  // Every coordinate stays near the picture.
  std::regex number("-?[0-9]+(\\.[0-9]+)?");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), number); it != std::sregex_iterator();
       ++it) {
    EXPECT_LT(std::abs(std::stod(it->str())), 10000.0) << it->str();
  }

  // The title sits at the top-left corner: x = 0, baseline within the first text line.
  std::smatch title;
  ASSERT_TRUE(std::regex_search(svg, title, std::regex("x=\"([-0-9.]+)\" y=\"([-0-9.]+)\">I /A")));
  EXPECT_EQ(title[1].str(), "0");
  double baseline = std::stod(title[2].str());
  EXPECT_GT(baseline, 8.0);
  EXPECT_LT(baseline, 20.0);
}

TEST(SvgWriter, WritesTheFileOrReportsThatItCannot) {
  RecordingSurface surface = SamplePlot();
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "qalto_svg_test";
  std::filesystem::create_directories(folder);
  std::filesystem::path file = folder / "plot.svg";
  ASSERT_TRUE(WriteSvg(surface, file.string(), 800, 600));
  std::ifstream in(file, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_EQ(content.str(), SvgText(surface, 800, 600));

  // Checked by the system's XML parser too where one is installed.
  if (std::system("command -v xmllint >/dev/null 2>&1") == 0) {
    EXPECT_EQ(std::system(("xmllint --noout " + file.string()).c_str()), 0);
  }

  EXPECT_FALSE(WriteSvg(surface, (folder / "missing" / "plot.svg").string(), 800, 600));
  EXPECT_FALSE(WriteSvg(surface, file.string(), 0, 600));
  std::filesystem::remove_all(folder);
}

TEST(SvgWriter, AnEmptyDrawingIsAWhitePicture) {
  RecordingSurface surface;
  std::string svg = SvgText(surface, 100, 50);
  EXPECT_EQ(XmlChecker(svg).Check(), "");
  EXPECT_EQ(svg.find("<path"), std::string::npos);
  EXPECT_EQ(svg.find("<text"), std::string::npos);
}

}  // namespace
}  // namespace qalto
