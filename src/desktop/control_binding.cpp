#include "desktop/control_binding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "desktop/background_run.h"

namespace qalto {
namespace {

constexpr int kTextBoxCharacters = 10;   // "-1.234e-05" fits
constexpr int kWrappedLabelLength = 60;  // longer captions wrap

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), text.size());
}

const std::string& CaptionOf(const Control& control) {
  return static_cast<const CaptionedControl&>(control).Caption();
}

QLabel* MakeLabel(const Label& label, QWidget* parent) {
  auto* widget = new QLabel(parent);
  widget->setTextFormat(Qt::PlainText);
  const std::string& caption = label.Caption();
  if (caption.size() > kWrappedLabelLength || caption.find('\n') != std::string::npos) {
    widget->setWordWrap(true);
    widget->setMinimumWidth(widget->fontMetrics().averageCharWidth() * kWrappedLabelLength);
  }
  return widget;
}

}  // namespace

ControlBinding::ControlBinding(Control& control, QWidget* parent, EventRunner run)
    : control_(control), run_(std::move(run)) {
  widget_ = Make(parent);
  widget_->setObjectName(FromUtf8(control_.FullName()));
  SyncContent();
  // During a background run the computing thread changes the model; the window catches up after.
  control_.observer = [this] {
    if (!BackgroundRun::Active()) Sync();
  };
}

ControlBinding::~ControlBinding() {
  Detach();
}

bool ControlBinding::IsInput() const {
  return control_.Kind() == ControlKind::kTextBox || control_.Kind() == ControlKind::kComboBox;
}

void ControlBinding::Detach() {
  if (detached_) return;
  detached_ = true;
  control_.observer = nullptr;
  if (widget_ != nullptr) widget_->blockSignals(true);
}

void ControlBinding::Run(const std::function<void()>& event) {
  if (detached_) return;
  run_(event);
  // The widget may have changed on its own (a clicked check box toggles itself); the model has
  // the last word.
  if (!detached_) Sync();
}

QWidget* ControlBinding::Make(QWidget* parent) {
  switch (control_.Kind()) {
    case ControlKind::kTextBox: {
      auto& box = static_cast<TextBox&>(control_);
      auto* edit = new QLineEdit(parent);
      edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(kTextBoxCharacters, '0')) +
                          2 * edit->fontMetrics().averageCharWidth());
      // Every keystroke is a change of the text, as the change handlers expect.
      QObject::connect(edit, &QLineEdit::textEdited, edit, [this, &box](const QString& text) {
        Run([&box, value = text.toStdString()] { box.SetText(value); });
      });
      return edit;
    }
    case ControlKind::kLabel:
      return MakeLabel(static_cast<Label&>(control_), parent);
    case ControlKind::kCheckBox: {
      auto& check = static_cast<CheckBox&>(control_);
      auto* widget = new QCheckBox(parent);
      QObject::connect(widget, &QCheckBox::clicked, widget,
                       [this, &check] { Run([&check] { check.Click(); }); });
      return widget;
    }
    case ControlKind::kOptionButton: {
      auto& option = static_cast<OptionButton&>(control_);
      auto* widget = new QRadioButton(parent);
      // The model keeps the buttons of a group exclusive.
      widget->setAutoExclusive(false);
      QObject::connect(widget, &QRadioButton::clicked, widget,
                       [this, &option] { Run([&option] { option.Click(); }); });
      return widget;
    }
    case ControlKind::kComboBox: {
      auto& list = static_cast<ComboBox&>(control_);
      auto* widget = new QComboBox(parent);
      QObject::connect(widget, &QComboBox::activated, widget, [this, &list](int index) {
        Run([&list, index] { list.SetListIndex(index); });
      });
      return widget;
    }
    case ControlKind::kButton: {
      auto& button = static_cast<Button&>(control_);
      auto* widget = new QPushButton(parent);
      widget->setAutoDefault(false);
      QObject::connect(widget, &QPushButton::clicked, widget,
                       [this, &button] { Run([&button] { button.Click(); }); });
      return widget;
    }
    case ControlKind::kFrame:
      // A frame without a caption only groups its controls; it draws no box.
      if (CaptionOf(control_).empty()) return new QWidget(parent);
      return new QGroupBox(parent);
  }
  return new QWidget(parent);
}

void ControlBinding::Sync() {
  if (detached_) return;
  SyncContent();
  bool hidden = !control_.Visible();
  if (widget_->isHidden() != hidden) {
    widget_->setHidden(hidden);
    if (onVisibilityChange) onVisibilityChange();
  }
}

void ControlBinding::SyncContent() {
  widget_->setEnabled(control_.Enabled());
  widget_->setToolTip(FromUtf8(control_.ToolTip()));
  switch (control_.Kind()) {
    case ControlKind::kTextBox: {
      auto& box = static_cast<TextBox&>(control_);
      auto* edit = static_cast<QLineEdit*>(widget_);
      QString text = FromUtf8(box.Text());
      if (edit->text() != text) edit->setText(text);
      edit->setReadOnly(box.Locked());
      // A text that is no number is marked, and the tool tip says how it is read.
      const std::string note = box.NumberNote();
      bool marked = !note.empty();
      QString style = marked ? "QLineEdit { border: 1px solid red; }" : "";
      if (edit->styleSheet() != style) edit->setStyleSheet(style);
      if (marked) edit->setToolTip(FromUtf8(note));
      break;
    }
    case ControlKind::kLabel: {
      auto* label = static_cast<QLabel*>(widget_);
      QString caption = FromUtf8(CaptionOf(control_));
      if (label->text() != caption) label->setText(caption);
      // A wrapped caption asks for the height of all its lines at its width.
      if (label->wordWrap()) label->setMinimumHeight(label->heightForWidth(label->minimumWidth()));
      break;
    }
    case ControlKind::kCheckBox: {
      auto* check = static_cast<QCheckBox*>(widget_);
      check->setText(FromUtf8(CaptionOf(control_)));
      check->setChecked(static_cast<CheckBox&>(control_).Checked());
      break;
    }
    case ControlKind::kOptionButton: {
      auto* option = static_cast<QRadioButton*>(widget_);
      option->setText(FromUtf8(CaptionOf(control_)));
      option->setChecked(static_cast<OptionButton&>(control_).Selected());
      break;
    }
    case ControlKind::kComboBox: {
      auto& list = static_cast<ComboBox&>(control_);
      auto* combo = static_cast<QComboBox*>(widget_);
      QStringList items;
      for (const std::string& item : list.Items())
        items << FromUtf8(item);
      QStringList shown;
      for (int i = 0; i < combo->count(); ++i)
        shown << combo->itemText(i);
      if (shown != items) {
        QSignalBlocker block(combo);
        combo->clear();
        combo->addItems(items);
      }
      if (combo->currentIndex() != list.ListIndex()) {
        QSignalBlocker block(combo);
        combo->setCurrentIndex(list.ListIndex());
      }
      break;
    }
    case ControlKind::kButton:
      static_cast<QPushButton*>(widget_)->setText(FromUtf8(CaptionOf(control_)));
      break;
    case ControlKind::kFrame:
      if (auto* group = qobject_cast<QGroupBox*>(widget_)) {
        group->setTitle(FromUtf8(CaptionOf(control_)));
      }
      break;
  }
}

}  // namespace qalto
