#pragma once
// Control models: what a form's text boxes, labels, check boxes, option buttons, lists, buttons
// and frames hold (text or caption, value, visible and enabled flags, tool tip) and the handler
// the form attaches to each. Setting a text or a value programmatically fires the change or
// click handler when it really changes, as a user's edit does. A front end observes a control
// through `observer`, called after every change of its state.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/runtime_error.h"

namespace qalto {

inline constexpr int kNoIndex = -1;

enum class ControlKind { kTextBox, kLabel, kCheckBox, kOptionButton, kComboBox, kButton, kFrame };

class Control {
 public:
  Control(ControlKind kind, std::string name, int index = kNoIndex)
      : kind_(kind), name_(std::move(name)), index_(index) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  ControlKind Kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  int Index() const { return index_; }
  // "Estart" or "optElectrode(4)".
  std::string FullName() const;
  // Whether FullName() is this text, without building it.
  bool HasFullName(std::string_view fullName) const;

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  const std::string& ToolTip() const { return toolTip_; }
  void SetToolTip(std::string toolTip) { toolTip_ = std::move(toolTip); }
  // The frame that holds the control ("" for the form itself), for layout.
  const std::string& Container() const { return container_; }
  void SetContainer(std::string container) { container_ = std::move(container); }
  // Where the control sits in its frame's grid, for front ends that lay out in rows and
  // columns; -1 when the form leaves the placement to the front end.
  int GridRow() const { return gridRow_; }
  int GridColumn() const { return gridColumn_; }
  void SetGrid(int row, int column) {
    gridRow_ = row;
    gridColumn_ = column;
  }

  std::function<void()> observer;

 protected:
  void Notify() {
    if (observer) observer();
  }

 private:
  ControlKind kind_;
  std::string name_;
  int index_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string toolTip_;
  std::string container_;
  int gridRow_ = -1;
  int gridColumn_ = -1;
};

// A control with a caption: labels, frames, check boxes, option buttons, buttons.
class CaptionedControl : public Control {
 public:
  using Control::Control;
  const std::string& Caption() const { return caption_; }
  virtual void SetCaption(const std::string& caption);

 private:
  std::string caption_;
};

class TextBox : public Control {
 public:
  explicit TextBox(std::string name, int index = kNoIndex)
      : Control(ControlKind::kTextBox, std::move(name), index) {}
  const std::string& Text() const { return text_; }
  // Replaces the text; the change handler runs when the text differs.
  void SetText(const std::string& text);
  // A locked box shows its text but cannot be edited by the user.
  bool Locked() const { return locked_; }
  void SetLocked(bool locked);
  // A box whose text the program reads as a number; its NumberNote says how a text that is
  // not one is read ("not a number, read as 0"), empty otherwise and for other boxes. The
  // window marks such a box; the value is read all the same. Made when asked for: most texts
  // are set far more often than their note is read.
  void SetNumeric(bool numeric);
  bool Numeric() const { return numeric_; }
  std::string NumberNote() const;

  std::function<void()> onChange;

 private:
  std::string text_;
  bool locked_ = false;
  bool numeric_ = false;
};

class Label : public CaptionedControl {
 public:
  explicit Label(std::string name, int index = kNoIndex)
      : CaptionedControl(ControlKind::kLabel, std::move(name), index) {}
  void SetCaption(const std::string& caption) override;

  std::function<void()> onChange;
};

class Frame : public CaptionedControl {
 public:
  explicit Frame(std::string name, int index = kNoIndex)
      : CaptionedControl(ControlKind::kFrame, std::move(name), index) {}
};

class Button : public CaptionedControl {
 public:
  explicit Button(std::string name, int index = kNoIndex)
      : CaptionedControl(ControlKind::kButton, std::move(name), index) {}
  void Click() {
    if (onClick) onClick();
  }

  std::function<void()> onClick;
};

class CheckBox : public CaptionedControl {
 public:
  explicit CheckBox(std::string name, int index = kNoIndex)
      : CaptionedControl(ControlKind::kCheckBox, std::move(name), index) {}
  bool Checked() const { return checked_; }
  // Sets the state; the click handler runs when the state changes.
  void SetChecked(bool checked);
  // Sets the state without running the handler: the initial state of a new form.
  void InitChecked(bool checked);
  // The user clicks: the state toggles and the handler runs.
  void Click() { SetChecked(!checked_); }

  std::function<void()> onClick;

 private:
  bool checked_ = false;
};

class OptionGroup;

// One button of an exclusive group: selecting it clears the others of its group.
class OptionButton : public CaptionedControl {
 public:
  OptionButton(std::string name, int index = kNoIndex)
      : CaptionedControl(ControlKind::kOptionButton, std::move(name), index) {}
  bool Selected() const { return selected_; }
  // Selects this button, clears the others of its group, then runs the click handler.
  void Select();
  // Selection without the handler: the initial state of a new form.
  void InitSelected(bool selected);
  void Click() { Select(); }

  std::function<void()> onClick;

 private:
  friend class OptionGroup;
  void SetSelectedQuietly(bool selected);
  bool selected_ = false;
  OptionGroup* group_ = nullptr;
};

// The option buttons that exclude each other.
class OptionGroup {
 public:
  void Add(OptionButton& button);
  const std::vector<OptionButton*>& Buttons() const { return buttons_; }
  void SelectOnly(OptionButton& chosen);

 private:
  std::vector<OptionButton*> buttons_;
};

// A drop-down list with fixed items.
class ComboBox : public Control {
 public:
  explicit ComboBox(std::string name, int index = kNoIndex)
      : Control(ControlKind::kComboBox, std::move(name), index) {}
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(std::vector<std::string> items);
  int ListIndex() const { return listIndex_; }  // -1: nothing chosen
  // The chosen item's text, "" when nothing is chosen.
  std::string Text() const;
  // Chooses an item by position; the click handler runs when the choice changes.
  void SetListIndex(int index);
  // Chooses the item with that text; false when there is none.
  bool SelectText(const std::string& text);

  std::function<void()> onClick;

 private:
  std::vector<std::string> items_;
  int listIndex_ = -1;
};

// A family of like controls addressed by an integer index, such as CheckFitted(71).
// Asking for an index the family does not have raises "Subscript out of range".
template <typename C>
class ControlArray {
 public:
  // Indices are small and dense (a row or a parameter code), so the family is a table by index.
  C& Add(const std::string& name, int index) {
    if (index < 0) throw RuntimeError::SubscriptOutOfRange();
    const std::size_t at = static_cast<std::size_t>(index);
    if (at >= controls_.size()) controls_.resize(at + 1);
    controls_[at] = std::make_unique<C>(name, index);
    return *controls_[at];
  }
  C& operator()(int index) const {
    if (!Has(index)) throw RuntimeError::SubscriptOutOfRange();
    return *controls_[static_cast<std::size_t>(index)];
  }
  bool Has(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < controls_.size() &&
           controls_[static_cast<std::size_t>(index)] != nullptr;
  }
  std::vector<C*> All() const {
    std::vector<C*> all;
    for (const std::unique_ptr<C>& control : controls_)
      if (control) all.push_back(control.get());
    return all;
  }

 private:
  std::vector<std::unique_ptr<C>> controls_;
};

}  // namespace qalto
