#pragma once
// The last fit's values as a table in a dockable window: parameter, value, standard error, 95 %
// interval and a flag ("undetermined", "at bound", "poorly determined"). Copy (or Ctrl+C) puts
// the whole table on the clipboard as tab-separated text.

#include <QDockWidget>
#include <QTableWidget>

#include "app/app.h"

namespace qalto {

class FitTableView : public QDockWidget {
 public:
  explicit FitTableView(App& app, QWidget* parent = nullptr);

  QTableWidget* Table() const { return table_; }
  // Shows the last fit's rows; true when they changed.
  bool Refresh();
  void CopyTable() const;

 private:
  App& app_;
  QTableWidget* table_;
  std::string shown_;  // the rows shown, as the clipboard text
};

}  // namespace qalto
