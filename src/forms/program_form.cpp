#include "forms/program_form.h"

#include <cmath>

#include "common/number_text.h"
#include "common/plain_number.h"
#include "common/runtime_error.h"

namespace qalto {
namespace {

constexpr const char* kHold = "hold";
constexpr const char* kSweep = "sweep";
constexpr const char* kStep = "step";

std::optional<SegmentKind> KindOf(const std::string& text) {
  if (text == kHold) return SegmentKind::kHold;
  if (text == kSweep) return SegmentKind::kSweep;
  if (text == kStep) return SegmentKind::kStep;
  return std::nullopt;
}

double Typed(const TextBox& box) {
  try {
    return ReadNumber(box.Text());
  } catch (const RuntimeError&) {
    return HUGE_VAL;  // beyond the number range: refused as out of range
  }
}

}  // namespace

FormProgram::FormProgram() : Form("FormProgram", "Potential program") {
  const std::pair<Label*, const char*> headings[] = {{&lblKind, "Segment"},
                                                     {&lblE, "E, E from (V)"},
                                                     {&lblEto, "E to (V)"},
                                                     {&lblV, "v (V/s)"},
                                                     {&lblT, "t (s)"}};
  int column = 0;
  for (const auto& [label, caption] : headings) {
    label->SetCaption(caption);
    label->SetGrid(0, column++);
    Add(*label);
  }
  for (int row = 1; row <= kProgramRows; ++row) {
    ComboBox& kind = Add(ComboKind.Add("ComboKind", row));
    kind.SetItems({"", kHold, kSweep, kStep});
    kind.SetListIndex(0);
    kind.SetGrid(row, 0);
    kind.onClick = [this, row] { ComboKind_Click(row); };
    int at = 1;
    for (ControlArray<TextBox>* family : {&TextE, &TextEto, &TextV, &TextT}) {
      static constexpr const char* kNames[] = {"TextE", "TextEto", "TextV", "TextT"};
      TextBox& box = Add(family->Add(kNames[at - 1], row));
      box.SetNumeric(true);
      box.SetGrid(row, at++);
    }
    ComboKind_Click(row);
  }
  CheckFile.SetCaption("From file");
  CheckFile.SetToolTip("the E(t) rows of File > Load Potential Program");
  CheckFile.SetGrid(kProgramRows + 1, 0);
  CheckFile.InitChecked(false);
  CheckFile.SetEnabled(false);
  CheckFile.onClick = [this] { CheckFile_Click(); };
  Add(CheckFile);
  lblFile.SetGrid(kProgramRows + 1, 1);
  Add(lblFile);
  cmdOK.SetCaption("OK");
  cmdOK.SetGrid(kProgramRows + 2, 0);
  cmdOK.onClick = [this] { Hide(); };
  Add(cmdOK);
}

// A row shows the boxes its kind reads: hold E and t, sweep E from, E to and v, step E and t.
void FormProgram::ComboKind_Click(int row) {
  const std::optional<SegmentKind> kind = KindOf(ComboKind(row).Text());
  const bool sweep = kind == SegmentKind::kSweep;
  TextE(row).SetVisible(kind.has_value());
  TextEto(row).SetVisible(sweep);
  TextV(row).SetVisible(sweep);
  TextT(row).SetVisible(kind.has_value() && !sweep);
}

void FormProgram::CheckFile_Click() {
  for (int row = 1; row <= kProgramRows; ++row)
    ComboKind(row).SetEnabled(!CheckFile.Checked());
}

void FormProgram::TakeFile(PotentialProgram file) {
  file_ = std::move(file);
  CheckFile.SetEnabled(true);
  CheckFile.SetChecked(true);
  CheckFile_Click();
  ShowFileCaption();
}

void FormProgram::RestoreFile(PotentialProgram file) {
  file_ = std::move(file);
  CheckFile.SetEnabled(!file_.fileTimes.empty());
  ShowFileCaption();
}

void FormProgram::ShowFileCaption() {
  if (file_.fileTimes.empty()) {
    lblFile.SetCaption("");
    return;
  }
  lblFile.SetCaption(file_.fileName + ": " + std::to_string(file_.fileTimes.size()) + " rows, t " +
                     PlainNumber(file_.fileTimes.front()) + " to " +
                     PlainNumber(file_.fileTimes.back()) + " s");
}

PotentialProgram FormProgram::Program() const {
  if (CheckFile.Checked() && !file_.fileTimes.empty()) return file_;
  PotentialProgram program;
  for (int row = 1; row <= kProgramRows; ++row) {
    const std::optional<SegmentKind> kind = KindOf(ComboKind(row).Text());
    if (!kind) continue;
    ProgramSegment s;
    s.kind = *kind;
    s.potential = Typed(TextE(row));
    if (*kind == SegmentKind::kSweep) {
      s.end = Typed(TextEto(row));
      s.rate = Typed(TextV(row));
    } else {
      s.duration = Typed(TextT(row));
    }
    program.segments.push_back(s);
  }
  return program;
}

std::optional<std::string> FormProgram::TypingRefusal() const {
  if (CheckFile.Checked() && !file_.fileTimes.empty()) return std::nullopt;
  int segment = 0;
  for (int row = 1; row <= kProgramRows; ++row) {
    const std::string kind = ComboKind(row).Text();
    if (!KindOf(kind)) continue;
    ++segment;
    const bool sweep = kind == kSweep;
    const std::pair<const TextBox*, const char*> boxes[] = {
        {&TextE(row), sweep ? "E from (V)" : "E (V)"},
        {sweep ? &TextEto(row) : nullptr, "E to (V)"},
        {sweep ? &TextV(row) : nullptr, "v (V/s)"},
        {sweep ? nullptr : &TextT(row), "t (s)"}};
    for (const auto& [box, caption] : boxes) {
      if (box == nullptr || box->NumberNote().empty()) continue;
      return "Input Error: Potential program: segment " + std::to_string(segment) + " (" + kind +
             "): " + caption + " is " + ShownText(box->Text()) + ", not a number.";
    }
  }
  return std::nullopt;
}

}  // namespace qalto
