#include "app/input_limits.h"

#include <vector>

#include "common/number_text.h"
#include "common/runtime_error.h"
#include "digital/surface_layer.h"
#include "model/experiment_table.h"
#include "simulation/potential_axis.h"
#include "simulation/program_samples.h"

namespace qalto {
namespace {

enum class Range {
  kAnyNumber,
  kPositive,
  kNonNegative,
  kOpenUnit,
  kAboveAbsoluteZero,
  kReorganisation,       // 0: Butler-Volmer, else Marcus-Hush's reorganisation energy, eV
  kReorganisationBound,  // the range a fit keeps the reorganisation energy within, eV
  kInteraction           // the layer's Frumkin g: below 2, where the layer splits in two phases
};

constexpr double kLeastInteraction = -10.0;  // a repulsion beyond any monolayer's

// A box (or every box of a family) of one window, and the values it may hold.
struct BoxLimit {
  const char* form;     // "FormIns" or "FormExpr"
  const char* box;      // the control's name; the whole family for an indexed box
  const char* caption;  // the Chemicals column as the user reads it; the Instrument label else
  const char* row;      // what one index of the family is ("species"), empty for a single box
  Range range;
};

constexpr double kZeroCelsius = 273.15;  // K

// One table of the limits physics sets. A rate constant of a homogeneous step may be zero (a
// step that only goes one way); a charge transfer needs a rate.
constexpr BoxLimit kBoxLimits[] = {
    {"FormIns", "ARE", nullptr, "", Range::kPositive},
    {"FormIns", "radius", nullptr, "", Range::kPositive},
    {"FormIns", "leng", nullptr, "", Range::kPositive},
    {"FormIns", "TextRrate", nullptr, "", Range::kNonNegative},
    {"FormIns", "txttemp", nullptr, "", Range::kAboveAbsoluteZero},
    {"FormIns", "Noise", nullptr, "", Range::kNonNegative},
    {"FormIns", "txtRu", nullptr, "", Range::kNonNegative},
    {"FormIns", "Cdl", nullptr, "", Range::kNonNegative},
    {"FormIns", "TextFfrom", nullptr, "", Range::kPositive},
    {"FormIns", "TextFto", nullptr, "", Range::kPositive},
    {"FormIns", "TextFdecade", nullptr, "", Range::kPositive},
    {"FormIns", "TextF", nullptr, "", Range::kPositive},
    {"FormIns", "TextQuiet", nullptr, "", Range::kNonNegative},
    {"FormIns", "TextT2", nullptr, "", Range::kNonNegative},  // 0: a single step
    {"FormIns", "TextExpanding", nullptr, "", Range::kPositive},
    {"FormIns", "txtTPre", nullptr, "", Range::kNonNegative},
    {"FormIns", "txtRStir", nullptr, "", Range::kNonNegative},
    {"FormIns", "txtTpreconst", nullptr, "", Range::kNonNegative},
    {"FormExpr", "TextElectrolyteC", "Electrolyte C (M)", "", Range::kNonNegative},
    {"FormExpr", "TextVis", "Vis (cm ²/s)", "", Range::kPositive},
    {"FormExpr", "txtPconst", "Vol s (ml)", "", Range::kPositive},
    {"FormExpr", "C", "C anal (M)", "species", Range::kNonNegative},
    {"FormExpr", "D", "D (cm ²/s)", "species", Range::kPositive},
    {"FormExpr", "ks", "ks (cm/s)", "reaction", Range::kPositive},
    {"FormExpr", "alph", "α", "reaction", Range::kOpenUnit},
    {"FormExpr", "lambda", "λ (eV)", "reaction", Range::kReorganisation},
    {"FormExpr", "TextLambdaMin", "λ min", "reaction", Range::kReorganisationBound},
    {"FormExpr", "TextLambdaMax", "λ max", "reaction", Range::kReorganisationBound},
    {"FormExpr", "kf", "kf", "reaction", Range::kNonNegative},
    {"FormExpr", "kb", "kb", "reaction", Range::kNonNegative},
    {"FormExpr", "Gamma", "Γ (mol/cm²)", "species", Range::kNonNegative},
    {"FormExpr", "TextSaturation", "Γmax (mol/cm²)", "", Range::kPositive},
    {"FormExpr", "TextInteraction", "g", "", Range::kInteraction},
    {"FormExpr", "TextGmin", "g min", "", Range::kInteraction},
    {"FormExpr", "TextGmax", "g max", "", Range::kInteraction},
    // The fit window: blank for no limit.
    {"FormExpr", "TextFitEmin", "fit window E from (V)", "", Range::kAnyNumber},
    {"FormExpr", "TextFitEmax", "fit window E to (V)", "", Range::kAnyNumber},
    {"FormExpr", "TextFitFirst", "fit window points from", "", Range::kAnyNumber},
    {"FormExpr", "TextFitLast", "fit window points to", "", Range::kAnyNumber},
};

bool Within(double value, Range range) {
  switch (range) {
    case Range::kAnyNumber:
      return true;
    case Range::kPositive:
      return value > 0;
    case Range::kNonNegative:
      return value >= 0;
    case Range::kOpenUnit:
      return value > 0 && value < 1;
    case Range::kAboveAbsoluteZero:
      return value > -kZeroCelsius;
    case Range::kReorganisation:
      return value == 0 || (value >= 0.1 && value <= 50);
    case Range::kReorganisationBound:
      return value >= 0.1 && value <= 50;
    case Range::kInteraction:
      return value >= kLeastInteraction && value < 2;
  }
  return true;
}

std::string Allowed(Range range) {
  switch (range) {
    case Range::kAnyNumber:
      return "a number";
    case Range::kPositive:
      return "greater than 0";
    case Range::kNonNegative:
      return "0 or more";
    case Range::kOpenUnit:
      return "between 0 and 1, both excluded";
    case Range::kAboveAbsoluteZero:
      return "above -273.15 (0 K)";
    case Range::kReorganisation:
      return "0 (Butler-Volmer) or 0.1 to 50";
    case Range::kReorganisationBound:
      return "0.1 to 50";
    case Range::kInteraction:
      return "-10 to 2, 2 excluded (from 2 the layer splits into two phases)";
  }
  return "";
}

std::string Refusal(const std::string& caption, const std::string& text, const std::string& what,
                    const std::string& allowed) {
  return "Input Error: " + caption + " is " + ShownText(text) + what + "; allowed: " + allowed +
         ".";
}

// A numeric box with its range; its caption, which only a refusal shows, is made then.
struct CheckedBox {
  const TextBox* box;
  const BoxLimit* limit;
  const FormIns* ins;  // the Instrument window, which captions its own boxes; else nullptr
  Range range() const { return limit == nullptr ? Range::kAnyNumber : limit->range; }
  std::string Caption() const;
};

const BoxLimit* LimitOf(const Form& form, const TextBox& box) {
  for (const BoxLimit& limit : kBoxLimits) {
    if (form.Name() == limit.form && box.Name() == limit.box) return &limit;
  }
  return nullptr;
}

std::string CheckedBox::Caption() const {
  if (ins != nullptr) return ins->CaptionOf(*box);
  if (limit == nullptr) return box->FullName();
  std::string caption = limit->caption;
  if (*limit->row != '\0')
    caption += " of " + std::string(limit->row) + " " + std::to_string(box->Index());
  return caption;
}

// The numeric boxes of a window the user can reach, each with its range.
std::vector<CheckedBox> ReachableBoxes(const Form& form, const FormIns* ins) {
  std::vector<CheckedBox> boxes;
  for (const Control* control : form.Controls()) {
    if (control->Kind() != ControlKind::kTextBox) continue;
    const auto& box = static_cast<const TextBox&>(*control);
    if (!box.Numeric() || !Reachable(form, box)) continue;  // not a name (the electrolyte's)
    boxes.push_back({&box, LimitOf(form, box), ins});
  }
  return boxes;
}

std::optional<std::string> Check(const CheckedBox& checked) {
  const std::string& text = checked.box->Text();
  const Range range = checked.range();
  double value = 0;
  try {
    value = ReadNumber(text);
  } catch (const RuntimeError&) {
    return Refusal(checked.Caption(), text, ", too large a number", Allowed(range));
  }
  if (!checked.box->NumberNote().empty()) {
    return Refusal(checked.Caption(), text, ", not a number",
                   range == Range::kAnyNumber ? "a number" : "a number " + Allowed(range));
  }
  if (Within(value, range)) return std::nullopt;
  return Refusal(checked.Caption(), text, "", Allowed(range));
}

// A pulse sampled within its drop must end before the drop does.
std::optional<std::string> CheckPulse(const FormIns& ins, Technique technique) {
  if (technique != Technique::kNormalPulse && technique != Technique::kDifferentialPulse)
    return std::nullopt;
  double pulse = ReadNumber(ins.tp.Text());
  double drop = ReadNumber(ins.td.Text());
  if (pulse > 0 && pulse < drop) return std::nullopt;
  return Refusal(
      ins.CaptionOf(ins.tp), ins.tp.Text(), "",
      "greater than 0 and shorter than " + ins.CaptionOf(ins.td) + " " + ShownText(ins.td.Text()));
}

// A square wave steps from E start towards E end: its step is a distance, not a direction.
std::optional<std::string> CheckSquareWaveStep(const FormIns& ins, Technique technique) {
  if (technique != Technique::kSquareWave && technique != Technique::kAdditiveSquareWave)
    return std::nullopt;
  if (ReadNumber(ins.Estep.Text()) > 0) return std::nullopt;
  return Refusal(ins.CaptionOf(ins.Estep), ins.Estep.Text(), "", Allowed(Range::kPositive));
}

// Points run from E start to E end by E step: a step too long for one step of the sweep left a
// single point and no curve.
std::optional<std::string> CheckStepWithinSweep(const FormIns& ins, Technique technique) {
  if (RowOf(technique).potentials != PotentialBoxes::kRange) return std::nullopt;
  const double start = ReadNumber(ins.Estart.Text());
  const double end = ReadNumber(ins.Eend.Text());
  if (!StepOutrunsSweep(start, end, ReadNumber(ins.Estep.Text()))) return std::nullopt;
  return Refusal(ins.CaptionOf(ins.Estep), ins.Estep.Text(), "",
                 "greater than 0 and less than twice the distance from " +
                     ins.CaptionOf(ins.Estart) + " " + ShownText(ins.Estart.Text()) + " to " +
                     ins.CaptionOf(ins.Eend) + " " + ShownText(ins.Eend.Text()));
}

// Each step of a chronoamperogram holds at least one sample: a step shorter than half of t
// sample was stretched to one sample (t1) or dropped (t2) without a word.
std::optional<std::string> CheckStepSamples(const FormIns& ins, Technique technique) {
  if (technique != Technique::kChronoamperometry) return std::nullopt;
  const double sample = ReadNumber(ins.TextTSample.Text());
  if (!(sample > 0)) return std::nullopt;  // the run names a sample time of 0 or less
  const std::string least = "at least half of " + ins.CaptionOf(ins.TextTSample) + " " +
                            ShownText(ins.TextTSample.Text());
  if (ReadNumber(ins.TextT1.Text()) < sample / 2)
    return Refusal(ins.CaptionOf(ins.TextT1), ins.TextT1.Text(), "", least);
  const double second = ReadNumber(ins.TextT2.Text());
  if (second > 0 && second < sample / 2) {
    return Refusal(ins.CaptionOf(ins.TextT2), ins.TextT2.Text(), "",
                   "0 (a single step) or " + least);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> FindInputRefusal(const FormIns& ins, const FormExpr& expr,
                                            Technique technique) {
  for (const auto& boxes : {ReachableBoxes(ins, &ins), ReachableBoxes(expr, nullptr)}) {
    for (const CheckedBox& checked : boxes) {
      if (auto refusal = Check(checked)) return refusal;
    }
  }
  if (auto refusal = CheckPulse(ins, technique)) return refusal;
  if (auto refusal = CheckSquareWaveStep(ins, technique)) return refusal;
  if (auto refusal = CheckStepWithinSweep(ins, technique)) return refusal;
  return CheckStepSamples(ins, technique);
}

std::optional<std::string> FindProgramRefusal(const FormProgram& program, const FormIns& ins) {
  if (auto refusal = program.TypingRefusal()) return refusal;
  const double sample = ReadNumber(ins.TextTSample.Text());  // s
  const double rest = ReadNumber(ins.Estart.Text());         // V
  if (auto problem = ProgramProblem(program.Program(), sample, rest))
    return "Input Error: Potential program: " + *problem + ".";
  return std::nullopt;
}

std::optional<std::string> FindLayerRefusal(const Model& model) {
  if (auto problem = SurfaceLayerProblem(model)) return "Input Error: " + *problem + ".";
  return std::nullopt;
}

}  // namespace qalto
