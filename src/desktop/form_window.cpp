#include "desktop/form_window.h"

#include <QCloseEvent>

namespace qalto {

void FormWindow::Init() {
  setObjectName(QString::fromStdString(form_.Name()) + "Window");
  setWindowTitle(QString::fromStdString(form_.Caption()));
  setAttribute(Qt::WA_DeleteOnClose, false);
}

void FormWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (onCloseRequest) onCloseRequest();
}

}  // namespace qalto
