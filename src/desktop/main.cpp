// qalto: the desktop window.

#include <QApplication>
#include <QTimer>

#include "app/app.h"
#include "desktop/app_icon.h"
#include "desktop/mdi_form1.h"
#include "desktop/qt_platform.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(qalto::kAppTitle);
  // The recent files and the last folder of the dialogs are kept under this name.
  QApplication::setOrganizationName("Qalto");
  QApplication::setWindowIcon(qalto::AppIcon());
  qalto::QtPlatform platform;
  // The manual lies beside the program.
  qalto::App app(platform, QCoreApplication::applicationDirPath().toStdString());
  qalto::MDIForm1 window(app);
  platform.SetWindow(&window);
  platform.SetPictureSize([&window] { return window.PlotPictureSize(); });
  window.show();
  // A first look: the default experiment's voltammogram, ready to change.
  QTimer::singleShot(0, &window, [&window] { window.ShowFirstCurve(); });
  return application.exec();
}
