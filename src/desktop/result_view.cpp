#include "desktop/result_view.h"

#include <QFontDatabase>
#include <QScrollBar>
#include <QTextCursor>
#include <QThread>

#include "common/print_line.h"

namespace qalto {
namespace {

constexpr int kShownZones = 6;  // print zones across the window at its first size
constexpr int kShownLines = 14;
constexpr const char* kRule = "────────";  // drawn on each side of a command's heading

}  // namespace

ResultView::ResultView(ResultWindow& result, QWidget* parent)
    : QPlainTextEdit(parent), result_(result) {
  setObjectName("FormResult");
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  ShowText();
  // A background run prints on its own thread: the view reads the text on the window's.
  result_.textObserver = [this] {
    if (QThread::currentThread() == thread()) {
      ShowText();
    } else {
      QMetaObject::invokeMethod(
          this, [this] { ShowText(); }, Qt::QueuedConnection);
    }
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

QString ResultView::WithHeadings(const ResultWindow::Contents& contents) {
  QString shown;
  size_t from = 0;
  auto take = [&](size_t to) {
    shown += QString::fromUtf8(contents.text.data() + from, static_cast<qsizetype>(to - from));
    from = to;
  };
  for (const ResultWindow::Section& section : contents.sections) {
    take(std::min(section.offset, contents.text.size()));
    if (!shown.isEmpty() && !shown.endsWith('\n')) shown += '\n';
    shown += QString("%1 %2 %1\n").arg(QString(kRule), QString::fromStdString(section.heading));
  }
  take(contents.text.size());
  return shown;
}

void ResultView::ShowText() {
  ResultWindow::Contents contents = result_.Snapshot();
  if (contents.text == shown_.text && contents.sections == shown_.sections) return;
  const bool grown = contents.sections == shown_.sections &&
                     contents.text.compare(0, shown_.text.size(), shown_.text) == 0;
  if (grown) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(
        QString::fromUtf8(contents.text.data() + shown_.text.size(),
                          static_cast<qsizetype>(contents.text.size() - shown_.text.size())));
  } else {
    setPlainText(WithHeadings(contents));
  }
  shown_ = std::move(contents);
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

}  // namespace qalto
