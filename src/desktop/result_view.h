#pragma once
// The result window's text: read-only, in a fixed-pitch font so that the 14-character print
// zones line up as columns, without wrapping, scrolled to the newest line.

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

  ResultWindow& result_;
  size_t shownLength_ = 0;  // how much of the window's text the view holds
};

}  // namespace qalto
