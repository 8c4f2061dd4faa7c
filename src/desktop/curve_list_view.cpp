#include "desktop/curve_list_view.h"

#include <QHeaderView>
#include <QPainter>
#include <QPixmap>

#include "desktop/plot_chart.h"

namespace qalto {
namespace {

constexpr int kSwatch = 14;  // px of the colour square beside a curve's name

QString OriginText(CurveSource source) {
  switch (source) {
    case CurveSource::kSimulation:
      return "simulation";
    case CurveSource::kMeasured:
      return "data";
    case CurveSource::kFit:
      return "fit";
    case CurveSource::kComponent:
      return "separation";
    case CurveSource::kNone:
      break;
  }
  return "";
}

QIcon Swatch(int slot) {
  QPixmap pixmap(kSwatch, kSwatch);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(Qt::black);
  painter.setBrush(CurveColour(slot));
  painter.drawRect(0, 0, kSwatch - 1, kSwatch - 1);
  return QIcon(pixmap);
}

int SlotOf(const QTreeWidgetItem* item) {
  return item->data(CurveListView::kName, Qt::UserRole).toInt();
}

}  // namespace

CurveListView::CurveListView(App& app, std::function<void(const std::function<void()>&)> run,
                             QWidget* parent)
    : QDockWidget("Curves", parent), app_(app), run_(std::move(run)) {
  setObjectName("CurveList");
  list_ = new QTreeWidget(this);
  list_->setObjectName("CurveListRows");
  list_->setColumnCount(3);
  list_->setHeaderLabels({"Curve", "Origin", "Active"});
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->header()->setSectionResizeMode(kName, QHeaderView::Stretch);
  list_->setToolTip(
      "Click a curve to make it active; select several (Ctrl, Shift) for the transforms; the "
      "check box shows or hides a curve in the plot");
  setWidget(list_);
  QObject::connect(list_, &QTreeWidget::itemSelectionChanged, this,
                   [this] { OnSelectionChanged(); });
  QObject::connect(list_, &QTreeWidget::itemChanged, this,
                   [this](QTreeWidgetItem* item, int column) { OnItemChanged(item, column); });
  QObject::connect(list_, &QTreeWidget::itemClicked, this,
                   [this](QTreeWidgetItem* item, int) { OnItemClicked(item); });
  Refresh();
}

void CurveListView::Refresh() {
  filling_ = true;
  const Model& m = app_.model();
  const int count = std::min(m.CurveCount, kMaxCurves);
  const std::vector<int> selected = app_.SelectedCurves();
  while (list_->topLevelItemCount() > count)
    delete list_->takeTopLevelItem(list_->topLevelItemCount() - 1);
  for (int k = 1; k <= count; ++k) {
    QTreeWidgetItem* item = list_->topLevelItem(k - 1);
    if (item == nullptr) {
      item = new QTreeWidgetItem(list_);
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    }
    const bool active = k == m.CurrentCurve;
    item->setData(kName, Qt::UserRole, k);
    item->setText(kName, QString::fromStdString(app_.CurveName(k)));
    item->setIcon(kName, Swatch(k));
    item->setCheckState(kName, app_.CurveHidden(k) ? Qt::Unchecked : Qt::Checked);
    item->setText(kOrigin, OriginText(app_.Origins()[static_cast<size_t>(k)].source));
    item->setText(kActive, active ? "active" : "");
    QFont font = item->font(kName);
    font.setBold(active);
    item->setFont(kName, font);
    item->setSelected(std::find(selected.begin(), selected.end(), k) != selected.end());
  }
  filling_ = false;
}

void CurveListView::OnSelectionChanged() {
  if (filling_) return;
  std::vector<int> curves;
  for (QTreeWidgetItem* item : list_->selectedItems())
    curves.push_back(SlotOf(item));
  run_([this, curves] { app_.SelectCurves(curves); });
}

void CurveListView::OnItemChanged(QTreeWidgetItem* item, int column) {
  if (filling_ || column != kName) return;
  const int slot = SlotOf(item);
  const bool hidden = item->checkState(kName) == Qt::Unchecked;
  run_([this, slot, hidden] {
    app_.SetCurveHidden(slot, hidden);
    app_.PlotCurves();
  });
}

void CurveListView::OnItemClicked(QTreeWidgetItem* item) {
  if (filling_) return;
  const int slot = SlotOf(item);
  run_([this, slot] { app_.SetActiveCurve(slot); });
}

}  // namespace qalto
