#include "desktop/fit_table_view.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

namespace qalto {
namespace {

const QStringList kHeadings = {"Parameter", "Value", "Std. error", "95 % low", "95 % high", "Flag"};

QTableWidgetItem* Cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}

QString Shown(double value) {
  return QString::number(value, 'g', 6);
}

}  // namespace

FitTableView::FitTableView(App& app, QWidget* parent)
    : QDockWidget("Fit Results", parent), app_(app) {
  setObjectName("FitResults");
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  table_ = new QTableWidget(0, static_cast<int>(kHeadings.size()), body);
  table_->setObjectName("FitTable");
  table_->setHorizontalHeaderLabels(kHeadings);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  auto* copy = new QAction("Copy", table_);
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  QObject::connect(copy, &QAction::triggered, this, [this] { CopyTable(); });
  table_->addAction(copy);
  table_->setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* button = new QPushButton("&Copy Table", body);
  button->setObjectName("CopyFitTable");
  QObject::connect(button, &QPushButton::clicked, this, [this] { CopyTable(); });
  layout->addWidget(table_);
  layout->addWidget(button);
  setWidget(body);
}

bool FitTableView::Refresh() {
  const std::vector<FitTableRow> rows = app_.LastFitTable();
  std::string text = FitTableText(rows);
  if (text == shown_) return false;
  shown_ = text;
  table_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const FitTableRow& row = rows[static_cast<size_t>(r)];
    const bool known = row.determined;
    const QStringList cells = {
        QString::fromStdString(row.name),      Shown(row.value),
        known ? Shown(row.standardError) : "", known ? Shown(row.lower95) : "",
        known ? Shown(row.upper95) : "",       QString::fromStdString(row.flag)};
    for (int c = 0; c < cells.size(); ++c) {
      QTableWidgetItem* item = Cell(cells[c]);
      if (!row.flag.empty()) item->setForeground(QColor(0xB0, 0x30, 0x00));
      table_->setItem(r, c, item);
    }
  }
  return true;
}

void FitTableView::CopyTable() const {
  QGuiApplication::clipboard()->setText(QString::fromStdString(shown_));
}

}  // namespace qalto
