// Applying a session that was read and checked whole: every part of the program's state is
// replaced by the session's.

#include <algorithm>
#include <utility>

#include "app/app.h"
#include "app/script_runner.h"
#include "common/ignore_errors.h"

namespace qalto {
namespace {

constexpr int kValuePasses = 4;  // change handlers that fill other boxes settle within these

std::string Shown(const SessionValue& value) {
  return value.caption ? static_cast<const CaptionedControl&>(*value.control).Caption()
                       : ControlValue(*value.control);
}

// Gives the control the value, as a user's edit does (its change handler runs), or the caption,
// as the program does.
void GiveValue(Control& control, const std::string& value, bool caption) {
  if (caption) {
    static_cast<CaptionedControl&>(control).SetCaption(value);
    return;
  }
  switch (control.Kind()) {
    case ControlKind::kTextBox:
      static_cast<TextBox&>(control).SetText(value);
      break;
    case ControlKind::kCheckBox:
      static_cast<CheckBox&>(control).SetChecked(value == "on");
      break;
    case ControlKind::kOptionButton:
      static_cast<OptionButton&>(control).Select();
      break;
    case ControlKind::kComboBox:
      static_cast<ComboBox&>(control).SelectText(value);
      break;
    default:
      break;
  }
}

}  // namespace

void App::RestoreSession(SessionState state) {
  // The run's seed and noise stream, not the session's: curves after the restore stay independent.
  state.model->NoiseSeed = model_->NoiseSeed;
  state.model->NoiseStream = std::move(model_->NoiseStream);
  state.model->FixedNoiseState = model_->FixedNoiseState;
  *model_ = *state.model;
  // The program file first: the session's "From file" value chooses it or the table.
  program_.RestoreFile(state.programFile.value_or(PotentialProgram{}));
  // A change handler may fill another box (the area from the radius, the drop time from the
  // scan rate): the values are given again until every control holds the session's.
  for (int pass = 0; pass < kValuePasses; ++pass) {
    bool changed = false;
    for (const SessionValue& value : state.values) {
      if (Shown(value) == value.value) continue;
      changed = true;
      Guard([&value] { GiveValue(*value.control, value.value, value.caption); });
    }
    if (!changed) break;
  }
  // The model's program is the window's, as the Instrument window's apply makes it.
  state.model->Program = program_.Program();
  origins_ = state.origins;
  importedCurves_ = std::move(state.measured);
  importedFile_ = std::move(state.file);
  import_.ShowFile(importedFile_);
  import_.ShowChoice(state.cycleIndex, state.columns);
  dataFile_ = std::move(state.dataFile);
  importSlot_ = state.importSlot;
  curveFailed_ = state.curveFailed;
  simulateRefused_ = false;
  // The session's curves are drawn and chosen as they were, and nothing before them undone.
  hidden_ = {};
  for (int k : state.hidden)
    hidden_[static_cast<size_t>(k)] = true;
  selected_ = std::move(state.selected);
  history_.Clear();
  globalCurves_.clear();
  marquardt_ = MarquardtState();
  lastFitBounds_ = std::move(state.fitBounds);
  ResultWindow::Saved log;
  log.lines.Restore(state.log);
  result_.Restore(log);
  for (const std::string& name : FormNames()) {
    Form& form = *FindForm(name);
    auto caption = state.captions.find(name);
    if (caption != state.captions.end()) form.SetCaption(caption->second);
    bool shown = std::find(state.shown.begin(), state.shown.end(), name) != state.shown.end();
    if (!shown && active_ == &form) active_ = nullptr;
    if (shown) {
      form.Show();
    } else {
      form.Hide();
    }
  }
  windowPlaces_ = std::move(state.places);
  for (const std::string& menu : state.enabledMenus)
    SetMenuEnabled(menu, true);
  // The handlers ran against the session's model; what they wrote into it is undone, and the
  // curves are drawn as the session's windows show them.
  *model_ = *state.model;
  if (model_->CurveCount > 0 && plot_.Shown()) {
    IgnoringErrors([this] { PlotCurves(); });
    *model_ = *state.model;
  } else {
    plot_.surface.Clear();
  }
  UpdateMenuStates();
}

}  // namespace qalto
