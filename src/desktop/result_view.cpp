#include "desktop/result_view.h"

#include <QFontDatabase>
#include <QScrollBar>
#include <QTextCursor>

#include "common/print_line.h"
#include "desktop/background_run.h"

namespace qalto {
namespace {

constexpr int kShownZones = 6;  // print zones across the window at its first size
constexpr int kShownLines = 14;

}  // namespace

ResultView::ResultView(ResultWindow& result, QWidget* parent)
    : QPlainTextEdit(parent), result_(result) {
  setObjectName("FormResult");
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  ShowText();
  result_.textObserver = [this] {
    if (!BackgroundRun::Active()) ShowText();
  };
}

ResultView::~ResultView() {
  Detach();
}

void ResultView::Detach() {
  result_.textObserver = nullptr;
}

QSize ResultView::sizeHint() const {
  QFontMetrics metrics(font());
  int width = metrics.horizontalAdvance(QString(PrintBuffer::kZoneWidth * kShownZones, '0'));
  return QSize(width + verticalScrollBar()->sizeHint().width() + 2 * frameWidth() + 8,
               metrics.lineSpacing() * kShownLines + 2 * frameWidth());
}

// The window's text only grows between clearings, so new text is appended; a shorter text
// means the window was cleared.
void ResultView::ShowText() {
  const std::string& text = result_.Text();
  if (text.size() < shownLength_) {
    clear();
    shownLength_ = 0;
  }
  if (text.size() == shownLength_) return;
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(QString::fromUtf8(text.data() + shownLength_,
                                      static_cast<qsizetype>(text.size() - shownLength_)));
  shownLength_ = text.size();
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

}  // namespace qalto
