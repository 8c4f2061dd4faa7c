#include "ui/controls.h"

#include "common/number_text.h"

namespace qalto {

std::string Control::FullName() const {
  return index_ == kNoIndex ? name_ : name_ + "(" + std::to_string(index_) + ")";
}

bool Control::HasFullName(std::string_view fullName) const {
  if (!fullName.starts_with(name_)) return false;  // most controls, without building a name
  return index_ == kNoIndex ? fullName.size() == name_.size() : fullName == FullName();
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Notify();
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Notify();
}

void CaptionedControl::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  Notify();
}

void TextBox::SetText(const std::string& text) {
  if (text_ == text) return;
  text_ = text;
  Notify();
  if (onChange) onChange();
}

void TextBox::SetNumeric(bool numeric) {
  numeric_ = numeric;
  Notify();
}

std::string TextBox::NumberNote() const {
  return numeric_ ? NumberReadingNote(text_) : std::string();
}

void TextBox::SetLocked(bool locked) {
  if (locked_ == locked) return;
  locked_ = locked;
  Notify();
}

void Label::SetCaption(const std::string& caption) {
  if (Caption() == caption) return;
  CaptionedControl::SetCaption(caption);
  if (onChange) onChange();
}

void CheckBox::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Notify();
  if (onClick) onClick();
}

void CheckBox::InitChecked(bool checked) {
  checked_ = checked;
  Notify();
}

void OptionButton::Select() {
  if (group_ != nullptr) {
    group_->SelectOnly(*this);
  } else {
    SetSelectedQuietly(true);
  }
  if (onClick) onClick();
}

void OptionButton::InitSelected(bool selected) {
  if (selected && group_ != nullptr) {
    group_->SelectOnly(*this);
  } else {
    SetSelectedQuietly(selected);
  }
}

void OptionButton::SetSelectedQuietly(bool selected) {
  if (selected_ == selected) return;
  selected_ = selected;
  Notify();
}

void OptionGroup::Add(OptionButton& button) {
  buttons_.push_back(&button);
  button.group_ = this;
}

void OptionGroup::SelectOnly(OptionButton& chosen) {
  for (OptionButton* button : buttons_)
    button->SetSelectedQuietly(button == &chosen);
}

void ComboBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  listIndex_ = -1;
  Notify();
}

std::string ComboBox::Text() const {
  if (listIndex_ < 0 || listIndex_ >= static_cast<int>(items_.size())) return "";
  return items_[static_cast<size_t>(listIndex_)];
}

void ComboBox::SetListIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) {
    throw RuntimeError::InvalidCall();
  }
  if (listIndex_ == index) return;
  listIndex_ = index;
  Notify();
  if (onClick) onClick();
}

bool ComboBox::SelectText(const std::string& text) {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] == text) {
      SetListIndex(static_cast<int>(i));
      return true;
    }
  }
  return false;
}

}  // namespace qalto
