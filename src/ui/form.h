#pragma once
// A form model: a window of the program described as data. It keeps its controls in layout
// order (frames before the controls they hold), knows whether its window is shown, and has the
// activation handler and close behaviour of its window. Front ends build their widgets from it;
// scripts and tests address its controls by name.

#include <functional>
#include <string>
#include <vector>

#include "ui/controls.h"

namespace qalto {

enum class CloseBehaviour {
  kHide,     // closing hides the window; its contents survive
  kDiscard,  // closing discards the window; it comes back with its initial state
};

class Form {
 public:
  Form(std::string name, std::string caption)
      : name_(std::move(name)), caption_(std::move(caption)) {}
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  bool Shown() const { return shown_; }
  void Show();
  void Hide();

  virtual CloseBehaviour OnClose() const { return CloseBehaviour::kHide; }
  // The window becomes the active window (Form_Activate); most forms do nothing.
  virtual void Activate() {}

  const std::vector<Control*>& Controls() const { return controls_; }
  // The control with that name and index (kNoIndex for a single control), or nullptr.
  Control* Find(const std::string& name, int index = kNoIndex) const;
  // The control with that full name ("Estart", "Frame1(0)"), or nullptr.
  Control* FindByFullName(const std::string& fullName) const;
  // The frame with that full name, or nullptr.
  Control* FindFrame(const std::string& fullName) const;

  // Called after the window is shown or hidden or its caption changes.
  std::function<void()> observer;

 protected:
  // Registers a control, in layout order; container is the frame that holds it.
  template <typename C>
  C& Add(C& control, const std::string& container = "") {
    control.SetContainer(container);
    controls_.push_back(&control);
    if (control.Kind() == ControlKind::kFrame) frames_.push_back(&control);
    return control;
  }

 private:
  void Notify() {
    if (observer) observer();
  }

  std::string name_;
  std::string caption_;
  bool shown_ = false;
  std::vector<Control*> controls_;
  std::vector<Control*> frames_;  // the frames among them, which hold other controls
};

// The control can be reached by the user: it and every frame around it are visible and enabled.
bool Reachable(const Form& form, const Control& control);

}  // namespace qalto
