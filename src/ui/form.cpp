#include "ui/form.h"

namespace qalto {

void Form::SetCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  Notify();
}

void Form::Show() {
  if (shown_) return;
  shown_ = true;
  Notify();
}

void Form::Hide() {
  if (!shown_) return;
  shown_ = false;
  Notify();
}

Control* Form::Find(const std::string& name, int index) const {
  for (Control* control : controls_) {
    if (control->Name() == name && control->Index() == index) return control;
  }
  return nullptr;
}

Control* Form::FindByFullName(const std::string& fullName) const {
  for (Control* control : controls_) {
    if (control->HasFullName(fullName)) return control;
  }
  return nullptr;
}

Control* Form::FindFrame(const std::string& fullName) const {
  for (Control* frame : frames_) {
    if (frame->HasFullName(fullName)) return frame;
  }
  return nullptr;
}

bool Reachable(const Form& form, const Control& control) {
  const Control* c = &control;
  for (int depth = 0; c != nullptr && depth < 16; ++depth) {
    if (!c->Visible() || !c->Enabled()) return false;
    c = c->Container().empty() ? nullptr : form.FindFrame(c->Container());
  }
  return true;
}

}  // namespace qalto
