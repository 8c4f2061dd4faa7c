#pragma once
// The plot window's drawing: the display list the plotter recorded, painted black on white at
// whatever size the window has.

#include <QWidget>
#include <functional>

#include "app/plot_window.h"
#include "ui/qt/window_content.h"

namespace qalto {

class PlotView : public QWidget, public WindowContent {
 public:
  explicit PlotView(PlotWindow& plot, QWidget* parent = nullptr);
  ~PlotView() override;

  QSize sizeHint() const override { return QSize(560, 420); }
  // Every plot begins by clearing the drawing and is complete when its command ends: the
  // window repaints then, and only when something was drawn.
  void Refresh() override;
  void Detach() override;

  // Called when the window takes a new size.
  std::function<void()> onResize;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  PlotWindow& plot_;
  bool redrawn_ = false;
  bool detached_ = false;
};

}  // namespace qalto
