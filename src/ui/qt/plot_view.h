#pragma once
// The plot window's drawing: the display list the plotter recorded, painted black on white at
// whatever size the window has.

#include <QWidget>

#include "app/plot_window.h"
#include "ui/qt/window_content.h"

namespace qalto {

class PlotView : public QWidget, public WindowContent {
 public:
  explicit PlotView(PlotWindow& plot, QWidget* parent = nullptr);

  QSize sizeHint() const override { return QSize(560, 420); }
  // The drawing changes inside commands, which end with a refresh.
  void Refresh() override { update(); }
  void Detach() override { detached_ = true; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  PlotWindow& plot_;
  bool detached_ = false;
};

}  // namespace qalto
