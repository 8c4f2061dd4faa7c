// The session loader against damaged and hostile files: whatever the bytes, opening either
// applies a session that is then a fixed point of save and open, or refuses with a message and
// changes nothing. CI runs a sample; QALTO_SESSION_FUZZ_CASES=N runs N cases (the full run
// takes 20000, some minutes).

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>

#include "app/app.h"
#include "app/session_script.h"
#include "files/temp_folder.h"
#include "ui/recording_platform.h"

namespace qalto {
namespace {

constexpr int kSampleCases = 120;

int CaseCount() {
  const char* wanted = std::getenv("QALTO_SESSION_FUZZ_CASES");
  int count = wanted == nullptr ? 0 : std::atoi(wanted);
  return count > 0 ? count : kSampleCases;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

// Lines that an attacker or a damaged disk puts into a session.
const std::vector<std::string> kHostileLines = [] {
  std::vector<std::string> lines = Lines(
      "menu mnuExit\ndialog /tmp/x.csv\nmenu mnuExport\nplot /tmp/x.svg\nanswer yes\n"
      "menu mnuRunScript\nvalue FormIns.Estart \"unterminated\nvalue FormIns.Estart $HOME\n"
      "field CurveCount 99999\nfield CurrentCurve -7\nfield NumberOfPoints 100000\n"
      "field SpeciesCount 9\nrow CurrentY 5 1 2 3 4 5 6 7 8 9 10 11\nrow PotentialX -1 0\n"
      "data 1 2\nmeasured 9 a b \"\" \"\" \"\" \"\"\nmeasured 1 a b 1e999 \"\" \"\" \"\"\n"
      "import x 1 f t p c p c 99\norigin 0 fit x\nwindow FormNowhere shown x\n"
      "place FormIns 1 2 -3 4\nenable mnuNothing\nsession 2\nvalue FormTech.optTech(4) off\n"
      "field ChargeKs(1) nan\nfield ChargeKs(1) -inf\nfield Technique 7\nlog \"\\x0\"\n"
      "field LineStyles(1) 2147483648\n");
  lines.insert(lines.end() - 1, std::string("value FormIns.Noise \"a\0b\"", 24));
  return lines;
}();

std::string Mutated(const std::string& base, std::mt19937_64& random) {
  std::vector<std::string> lines = Lines(base);
  auto pick = [&random](size_t size) {
    return std::uniform_int_distribution<size_t>(0, size - 1)(random);
  };
  int mutations = 1 + static_cast<int>(pick(3));
  for (int m = 0; m < mutations && !lines.empty(); ++m) {
    size_t at = pick(lines.size());
    switch (pick(7)) {
      case 0:
        lines.erase(lines.begin() + static_cast<long>(at));
        break;
      case 1:
        lines.insert(lines.begin() + static_cast<long>(at), lines[at]);
        break;
      case 2:
        lines.insert(lines.begin() + static_cast<long>(at),
                     kHostileLines[pick(kHostileLines.size())]);
        break;
      case 3:
        std::swap(lines[at], lines[pick(lines.size())]);
        break;
      case 4:
        if (!lines[at].empty()) lines[at][pick(lines[at].size())] = static_cast<char>(pick(256));
        break;
      case 5:
        if (!lines[at].empty()) lines[at].resize(pick(lines[at].size()));
        break;
      default: {
        size_t blank = lines[at].rfind(' ');
        const char* numbers[] = {"nan", "-0", "1e999", "99999999999", "0x10", "", "\"\"", "-1"};
        if (blank != std::string::npos)
          lines[at] = lines[at].substr(0, blank + 1) + numbers[pick(8)];
      }
    }
  }
  std::string text;
  for (const std::string& line : lines)
    text += line + "\n";
  return text;
}

// A program holding a curve, the data of a file and a result.
struct Program {
  RecordingPlatform platform;
  App app{platform};
  explicit Program(const std::string& dataFile = "") {
    app.ChooseMenu("mnuSimulate");
    if (dataFile.empty()) return;
    app.mnuOption_Click();
    app.Option().overlap.SetChecked(true);
    platform.QueueDialogAnswer(dataFile);
    app.ChooseMenu("mnuImport");
    app.ChooseMenu("mnuFindPeak");
  }
};

TEST(SessionFuzzTest, AnyFileIsAppliedAsAFixedPointOrRefusedWithNothingChanged) {
  TempFolder folder;
  std::string data = folder.Write("data.csv", "0.3,1e-6\n0.1,3e-6\n-0.1,2e-6\n-0.3,0.5e-6\n");
  Program source(data);
  const std::string base = SessionScript(source.app);
  Program target;
  const std::string untouched = SessionScript(target.app);
  std::mt19937_64 random(20261207);
  int applied = 0;
  for (int n = 0; n < CaseCount(); ++n) {
    std::string damaged = Mutated(base, random);
    std::string path = folder.Write("damaged.qs", damaged);
    target.platform.messages.clear();
    if (!target.app.OpenSessionFrom(path)) {
      ASSERT_FALSE(target.platform.messages.empty()) << "case " << n;
      EXPECT_EQ(target.platform.messages.back().rfind("Open Session Error: ", 0), 0u)
          << "case " << n << ": " << target.platform.messages.back();
      ASSERT_EQ(SessionScript(target.app), untouched) << "case " << n << "\n" << damaged;
      continue;
    }
    ++applied;
    // What was applied saves and opens to itself.
    std::string saved = SessionScript(target.app);
    Program next;
    ASSERT_TRUE(next.app.OpenSessionFrom(folder.Write("saved.qs", saved))) << "case " << n;
    ASSERT_EQ(SessionScript(next.app), saved) << "case " << n;
    // The target holds its known state again for the next case.
    ASSERT_TRUE(target.app.OpenSessionFrom(folder.Write("back.qs", untouched)));
  }
  // Both outcomes were met: the mutations are neither all fatal nor all harmless.
  EXPECT_GT(applied, 0);
  EXPECT_LT(applied, CaseCount());
}

}  // namespace
}  // namespace qalto
