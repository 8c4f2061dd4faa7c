#include "desktop/form_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <map>

#include "desktop/form_layout.h"

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

void FormView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  OrderTabs();
}

// Tab goes along the rows of the form as it is laid out, left to right, then down.
void FormView::OrderTabs() {
  std::vector<QWidget*> inputs;
  for (auto& binding : bindings_) {
    QWidget* w = binding->widget();
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QCheckBox*>(w) ||
        qobject_cast<QRadioButton*>(w) || qobject_cast<QComboBox*>(w) ||
        qobject_cast<QPushButton*>(w))
      inputs.push_back(w);
  }
  // Widgets whose middles lie in the same band of rows share a row.
  constexpr int kRowBand = 12;  // px
  auto key = [this](QWidget* w) {
    QPoint p = w->mapTo(this, QPoint(0, w->height() / 2));
    return std::pair(p.y() / kRowBand, p.x());
  };
  std::stable_sort(inputs.begin(), inputs.end(),
                   [&](QWidget* a, QWidget* b) { return key(a) < key(b); });
  for (size_t i = 1; i < inputs.size(); ++i)
    QWidget::setTabOrder(inputs[i - 1], inputs[i]);
}

void FormView::Resync() {
  for (auto& binding : bindings_)
    binding->Sync();
  layoutChanged_ = true;
}

void FormView::Detach() {
  for (auto& binding : bindings_)
    binding->Detach();
}

}  // namespace qalto
