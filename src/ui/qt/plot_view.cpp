#include "ui/qt/plot_view.h"

#include <QPainter>

#include "ui/qt/display_list_painter.h"

namespace qalto {

PlotView::PlotView(PlotWindow& plot, QWidget* parent) : QWidget(parent), plot_(plot) {
  setObjectName("FormPlot");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(120, 90);
  plot_.drawingObserver = [this] { redrawn_ = true; };
}

PlotView::~PlotView() {
  Detach();
}

void PlotView::Refresh() {
  if (!redrawn_) return;
  redrawn_ = false;
  update();
}

void PlotView::Detach() {
  if (detached_) return;
  detached_ = true;
  plot_.drawingObserver = nullptr;
}

void PlotView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!detached_ && onResize && !size().isEmpty()) onResize();
}

void PlotView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (detached_) return;
  PaintDisplayList(painter, plot_.surface, width(), height(), Qt::black);
}

}  // namespace qalto
