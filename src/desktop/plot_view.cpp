#include "desktop/plot_view.h"

#include <QBuffer>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QWheelEvent>
#include <cmath>

#include "desktop/background_run.h"

namespace qalto {
namespace {

constexpr double kWheelZoom = 0.8;  // range kept per wheel notch (120 eighths of a degree)
constexpr int kSmallestBox = 6;     // px; smaller drags are clicks, not zoom boxes

}  // namespace

PlotView::PlotView(App& app, QWidget* parent) : QWidget(parent), app_(app) {
  setObjectName("FormPlot");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::WheelFocus);
  // The right button pans; a right click without a drag opens the plot's menu on release.
  setContextMenuPolicy(Qt::PreventContextMenu);
  setMinimumSize(160, 120);
  app_.Plot().drawingObserver = [this] {
    if (!BackgroundRun::Active()) redrawn_ = true;
  };
  redrawn_ = true;
  Refresh();
}

PlotView::~PlotView() {
  Detach();
}

void PlotView::Refresh() {
  if (!redrawn_ || detached_) return;
  redrawn_ = false;
  ChartRange oldAutomatic = data_.automatic;
  data_ = ChartDataOf(app_);
  data_.legend = legend_;
  if (!(data_.automatic == oldAutomatic) || !view_.Valid()) view_ = data_.automatic;
  update();
}

void PlotView::SetLegend(LegendPlace place) {
  legend_ = place;
  data_.legend = place;
  update();
}

void PlotView::Resync() {
  redrawn_ = true;
  Refresh();
}

void PlotView::Detach() {
  if (detached_) return;
  detached_ = true;
  app_.Plot().drawingObserver = nullptr;
}

void PlotView::SetView(const ChartRange& view) {
  if (!view.Valid()) return;
  view_ = view;
  update();
}

void PlotView::ResetView() {
  SetView(data_.automatic);
}

void PlotView::ZoomAt(QPointF pixel, double factor) {
  QPointF fixed = Chart().ToValue(pixel);
  SetView({fixed.x() - (fixed.x() - view_.xMin) * factor,
           fixed.x() + (view_.xMax - fixed.x()) * factor,
           fixed.y() - (fixed.y() - view_.yMin) * factor,
           fixed.y() + (view_.yMax - fixed.y()) * factor});
}

void PlotView::PanBy(QPointF pixels) {
  PlotChart chart = Chart();
  QPointF origin = chart.ToValue(chart.PlotArea().center());
  QPointF moved = chart.ToValue(chart.PlotArea().center() - pixels);
  double dx = moved.x() - origin.x();
  double dy = moved.y() - origin.y();
  SetView({view_.xMin + dx, view_.xMax + dx, view_.yMin + dy, view_.yMax + dy});
}

QByteArray PlotView::PictureBytes(const QString& path, QSize size) const {
  if (size.width() < 1 || size.height() < 1) return {};
  PlotChart chart(data_, view_, size);
  QString lower = path.toLower();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (lower.endsWith(".png")) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      chart.Paint(painter);
    }
    return image.save(&buffer, "PNG") ? bytes : QByteArray();
  }
  if (lower.endsWith(".svg")) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle("Qalto plot");
    QPainter painter;
    if (!painter.begin(&svg)) return {};
    chart.Paint(painter);
    return painter.end() ? bytes : QByteArray();
  }
  if (lower.endsWith(".pdf")) {
    // One point of the page per pixel of the picture: the page has the chosen size.
    QPdfWriter pdf(&buffer);
    pdf.setResolution(72);
    pdf.setPageSize(QPageSize(QSizeF(size), QPageSize::Point, "Plot", QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&pdf)) return {};
    chart.Paint(painter);
    return painter.end() ? bytes : QByteArray();
  }
  return {};
}

void PlotView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (detached_ || data_.Empty()) {
    painter.fillRect(rect(), Qt::white);
    return;
  }
  PlotChart chart = Chart();
  chart.Paint(painter);
  if (boxStart_) {
    painter.setPen(QPen(QColor(0x00, 0x72, 0xB2), 1.0, Qt::DashLine));
    painter.setBrush(QColor(0x00, 0x72, 0xB2, 40));
    painter.drawRect(QRectF(*boxStart_, boxEnd_).normalized());
  }
}

void PlotView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!detached_ && onResize && !size().isEmpty()) onResize();
}

void PlotView::mousePressEvent(QMouseEvent* event) {
  QPointF at = event->position();
  bool pan = event->button() == Qt::RightButton || event->button() == Qt::MiddleButton ||
             (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier));
  if (pan) {
    panFrom_ = at;
    panned_ = false;
  } else if (event->button() == Qt::LeftButton && Chart().PlotArea().contains(at)) {
    boxStart_ = at;
    boxEnd_ = at;
  }
}

void PlotView::mouseMoveEvent(QMouseEvent* event) {
  QPointF at = event->position();
  if (panFrom_) {
    PanBy(at - *panFrom_);
    panned_ = panned_ || at != *panFrom_;
    panFrom_ = at;
  } else if (boxStart_) {
    boxEnd_ = at;
    update();
  }
  ShowReadout(at);
}

void PlotView::mouseReleaseEvent(QMouseEvent* event) {
  if (panFrom_) {
    // A right click without a drag opens the context menu instead.
    panFrom_.reset();
    if (event->button() == Qt::RightButton && !panned_) {
      QContextMenuEvent menu(QContextMenuEvent::Mouse, event->position().toPoint(),
                             event->globalPosition().toPoint());
      contextMenuEvent(&menu);
    }
    return;
  }
  if (!boxStart_) return;
  QRectF box = QRectF(*boxStart_, event->position()).normalized();
  boxStart_.reset();
  if (box.width() >= kSmallestBox && box.height() >= kSmallestBox) {
    PlotChart chart = Chart();
    QPointF a = chart.ToValue(box.topLeft());
    QPointF b = chart.ToValue(box.bottomRight());
    SetView({std::min(a.x(), b.x()), std::max(a.x(), b.x()), std::min(a.y(), b.y()),
             std::max(a.y(), b.y())});
  }
  update();
}

void PlotView::mouseDoubleClickEvent(QMouseEvent*) {
  ResetView();
}

void PlotView::wheelEvent(QWheelEvent* event) {
  double notches = event->angleDelta().y() / 120.0;
  if (notches == 0) return;
  ZoomAt(event->position(), std::pow(kWheelZoom, notches));
  event->accept();
}

void PlotView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Home || event->key() == Qt::Key_Escape) {
    ResetView();
  } else if (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal) {
    ZoomAt(Chart().PlotArea().center(), kWheelZoom);
  } else if (event->key() == Qt::Key_Minus) {
    ZoomAt(Chart().PlotArea().center(), 1 / kWheelZoom);
  } else {
    QWidget::keyPressEvent(event);
  }
}

void PlotView::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  auto add = [&](const char* text, std::function<void()> act) {
    QObject::connect(menu.addAction(text), &QAction::triggered, this, std::move(act));
  };
  add("Reset Zoom\tHome", [this] { ResetView(); });
  add("Zoom In\t+", [this] { ZoomAt(Chart().PlotArea().center(), kWheelZoom); });
  add("Zoom Out\t-", [this] { ZoomAt(Chart().PlotArea().center(), 1 / kWheelZoom); });
  QMenu* legend = menu.addMenu("Legend");
  const std::pair<const char*, LegendPlace> places[] = {
      {"Where It Hides No Data", LegendPlace::kAuto}, {"Top Left", LegendPlace::kTopLeft},
      {"Top Right", LegendPlace::kTopRight},          {"Bottom Left", LegendPlace::kBottomLeft},
      {"Bottom Right", LegendPlace::kBottomRight},    {"Hidden", LegendPlace::kHidden}};
  for (const auto& [text, place] : places) {
    QAction* action = legend->addAction(text);
    action->setCheckable(true);
    action->setChecked(legend_ == place);
    QObject::connect(action, &QAction::triggered, this, [this, p = place] { SetLegend(p); });
  }
  if (onExportRequest) {
    menu.addSeparator();
    add("Export Picture...", [this] { onExportRequest(); });
  }
  menu.exec(event->globalPos());
}

void PlotView::ShowReadout(QPointF pixel) {
  PlotChart chart = Chart();
  QString text = !data_.Empty() && chart.PlotArea().contains(pixel) ? chart.Readout(pixel) : "";
  if (text == readout_) return;
  readout_ = text;
  if (onReadout) onReadout(readout_);
}

}  // namespace qalto
