#pragma once
// The plot window: the curves of the store drawn as an interactive plot. Drag a box with the
// left button to zoom into it, turn the wheel to zoom about the pointer, drag with the right or
// middle button (or with Shift) to pan, double-click or press Home to go back to the automatic
// range. Moving the pointer reads out the potential and current under it and the nearest curve
// point. The picture can be written as SVG, PNG or PDF at any size.

#include <QWidget>
#include <functional>
#include <optional>

#include "app/app.h"
#include "desktop/chart_data.h"
#include "desktop/plot_chart.h"
#include "desktop/window_content.h"

namespace qalto {

class PlotView : public QWidget, public WindowContent {
 public:
  explicit PlotView(App& app, QWidget* parent = nullptr);
  ~PlotView() override;

  QSize sizeHint() const override { return QSize(620, 440); }
  // After a command drew the curves, the plot takes them up; a new automatic range (new curves)
  // ends a zoom.
  void Refresh() override;
  void Resync() override;
  void Detach() override;

  const ChartData& Data() const { return data_; }
  const ChartRange& View() const { return view_; }
  PlotChart Chart() const { return PlotChart(data_, view_, size()); }
  void SetView(const ChartRange& view);
  void ResetView();
  // Zooms by factor (< 1 zooms in) about the pixel, which keeps its values.
  void ZoomAt(QPointF pixel, double factor);
  // Moves the view by a pixel distance, as a pan drag does.
  void PanBy(QPointF pixels);
  const QString& ReadoutText() const { return readout_; }
  // Where the legend stands (chosen from the plot's context menu).
  LegendPlace Legend() const { return legend_; }
  void SetLegend(LegendPlace place);

  // The picture of the plot as it is shown (same range) at the given size, in the format the
  // file name's extension names (.svg, .png, .pdf); empty for another extension.
  QByteArray PictureBytes(const QString& path, QSize size) const;

  // Called when the window takes a new size, and when the readout changes.
  std::function<void()> onResize;
  std::function<void(const QString&)> onReadout;
  // Called when the user asks for a picture file from the plot's context menu.
  std::function<void()> onExportRequest;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void ShowReadout(QPointF pixel);

  App& app_;
  ChartData data_;
  ChartRange view_;
  bool redrawn_ = false;
  bool detached_ = false;
  std::optional<QPointF> boxStart_;  // left button pressed here: a zoom box is being dragged
  QPointF boxEnd_;
  std::optional<QPointF> panFrom_;  // a pan drag is going on
  bool panned_ = false;             // the pan drag has moved the view
  QString readout_;
  LegendPlace legend_ = LegendPlace::kAuto;
};

}  // namespace qalto
