#pragma once
// The curve list, a dockable window beside the plot: one row per curve of the store with its
// name, its origin, its colour in the plot, whether the plot shows it and whether it is the
// active curve. A click makes a curve the active one; the rows selected (Ctrl or Shift click
// for several) are the curves the transforms act on; the check box shows or hides a curve.

#include <QDockWidget>
#include <QTreeWidget>
#include <functional>

#include "app/app.h"

namespace qalto {

class CurveListView : public QDockWidget {
 public:
  // run carries each user action to the application as one event of the main window.
  CurveListView(App& app, std::function<void(const std::function<void()>&)> run,
                QWidget* parent = nullptr);

  QTreeWidget* List() const { return list_; }
  // Rebuilds the rows from the application's curves, keeping the selection.
  void Refresh();

  enum Column { kName, kOrigin, kActive };

 private:
  void OnSelectionChanged();
  void OnItemChanged(QTreeWidgetItem* item, int column);
  void OnItemClicked(QTreeWidgetItem* item);

  App& app_;
  std::function<void(const std::function<void()>&)> run_;
  QTreeWidget* list_;
  bool filling_ = false;  // the rows are being rebuilt: their signals are not the user's
};

}  // namespace qalto
