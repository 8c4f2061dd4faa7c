#pragma once
// The result window's text: read-only, in a fixed-pitch font so that the 14-character print
// zones line up as columns, without wrapping, scrolled to the newest line. Each command's report
// stands under a heading line naming the command; what a background run prints shows as it is
// printed.

#include <QPlainTextEdit>

#include "app/result_window.h"
#include "desktop/window_content.h"

namespace qalto {

class ResultView : public QPlainTextEdit, public WindowContent {
 public:
  explicit ResultView(ResultWindow& result, QWidget* parent = nullptr);
  ~ResultView() override;

  QSize sizeHint() const override;
  void Detach() override;
  void Resync() override { ShowText(); }

 private:
  void ShowText();
  // The window's text with a heading line where each command's section begins.
  static QString WithHeadings(const ResultWindow::Contents& contents);

  ResultWindow& result_;
  ResultWindow::Contents shown_;  // what the view shows
};

}  // namespace qalto
