#include "desktop/form_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLayout>
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
  if (changed) {
    // Controls just shown get their places now, and their turn in the tab order with them.
    if (layout() != nullptr) layout()->activate();
    OrderTabs();
  }
  return changed;
}

void FormView::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    if (QWidget* frame = parentWidget()) frame->close();
    return;
  }
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    for (auto& binding : bindings_) {
      const Control& control = binding->control();
      const bool ok =
          control.Kind() == ControlKind::kButton &&
          QString::fromStdString(control.Name()).compare("cmdOK", Qt::CaseInsensitive) == 0;
      auto* button = qobject_cast<QPushButton*>(binding->widget());
      if (ok && button != nullptr && button->isVisible() && button->isEnabled()) {
        button->click();
        return;
      }
    }
  }
  QWidget::keyPressEvent(event);
}

void FormView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  OrderTabs();
}

namespace {

bool TakesFocus(QWidget* w) {
  return qobject_cast<QLineEdit*>(w) || qobject_cast<QCheckBox*>(w) ||
         qobject_cast<QRadioButton*>(w) || qobject_cast<QComboBox*>(w) ||
         qobject_cast<QPushButton*>(w);
}

// The widgets in reading order inside their block: rows from the top, each left to right. A
// widget joins the row above when its middle lies within the height of that row's first widget,
// so that boxes and labels of different heights on one line stay in one row.
void SortIntoRows(std::vector<QWidget*>& widgets, QWidget* block) {
  auto top = [block](QWidget* w) { return w->mapTo(block, QPoint(0, 0)); };
  std::stable_sort(widgets.begin(), widgets.end(), [&](QWidget* a, QWidget* b) {
    return top(a).y() + a->height() / 2 < top(b).y() + b->height() / 2;
  });
  std::vector<int> row(widgets.size(), 0);
  int rowBottom = -1;
  for (size_t i = 0; i < widgets.size(); ++i) {
    int middle = top(widgets[i]).y() + widgets[i]->height() / 2;
    bool newRow = i == 0 || middle > rowBottom;
    row[i] = i == 0 ? 0 : row[i - 1] + (newRow ? 1 : 0);
    if (newRow) rowBottom = top(widgets[i]).y() + widgets[i]->height();
  }
  std::vector<size_t> order(widgets.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return std::pair(row[a], top(widgets[a]).x()) < std::pair(row[b], top(widgets[b]).x());
  });
  std::vector<QWidget*> sorted;
  for (size_t i : order)
    sorted.push_back(widgets[i]);
  widgets = std::move(sorted);
}

}  // namespace

// Tab goes through the blocks of the window in the order they are laid out (down each column,
// then to the next), along the rows of each frame, and to the buttons at the bottom last.
void FormView::OrderTabs() {
  std::vector<QWidget*> blocks;                    // the view's own children, in layout order
  std::map<QWidget*, std::vector<QWidget*>> held;  // the inputs each block holds
  std::vector<QWidget*> buttons;
  for (auto& binding : bindings_) {
    QWidget* w = binding->widget();
    QWidget* block = w;
    while (block->parentWidget() != nullptr && block->parentWidget() != this)
      block = block->parentWidget();
    if (held.find(block) == held.end()) {
      held[block];
      blocks.push_back(block);
    }
    if (!TakesFocus(w)) continue;
    if (block == w && binding->control().Kind() == ControlKind::kButton) {
      buttons.push_back(w);
    } else {
      held[block].push_back(w);
    }
  }
  std::vector<QWidget*> chain;
  for (QWidget* block : blocks) {
    SortIntoRows(held[block], block);
    chain.insert(chain.end(), held[block].begin(), held[block].end());
  }
  chain.insert(chain.end(), buttons.begin(), buttons.end());
  for (size_t i = 1; i < chain.size(); ++i)
    QWidget::setTabOrder(chain[i - 1], chain[i]);
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
