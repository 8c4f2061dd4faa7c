#include "ui/qt/form_view.h"

#include <map>

#include "ui/qt/form_layout.h"

namespace qalto {

FormView::FormView(Form& form, EventRunner run, QWidget* parent) : QWidget(parent), form_(form) {
  setObjectName(QString::fromStdString(form.Name()));
  // Controls come in layout order, every frame before the controls it holds.
  std::map<std::string, QWidget*> frames;
  for (Control* control : form.Controls()) {
    auto frame = frames.find(control->Container());
    QWidget* parentWidget = frame == frames.end() ? this : frame->second;
    auto binding = std::make_unique<ControlBinding>(*control, parentWidget, run);
    if (binding->IsFrame()) frames[control->FullName()] = binding->widget();
    bindings_.push_back(std::move(binding));
  }
  std::vector<ControlBinding*> all;
  for (auto& binding : bindings_) {
    binding->Sync();
    binding->onVisibilityChange = [this] { layoutChanged_ = true; };
    all.push_back(binding.get());
  }
  ArrangeForm(this, all);
}

FormView::~FormView() {
  Detach();
}

QWidget* FormView::WidgetOf(const Control& control) const {
  for (const auto& binding : bindings_) {
    if (&binding->control() == &control) return binding->widget();
  }
  return nullptr;
}

bool FormView::TakeLayoutChange() {
  bool changed = layoutChanged_;
  layoutChanged_ = false;
  return changed;
}

void FormView::Detach() {
  for (auto& binding : bindings_)
    binding->Detach();
}

}  // namespace qalto
