// Starts the desktop window, opens the Instrument and Chemicals forms, simulates a cyclic
// voltammogram and captures the main window to a PNG file (the first argument). Fails when the
// picture is blank. Runs on a real display server (Xvfb in the tests).
//
// Further arguments name menu commands ("mnuMechamism_Click") to choose instead, in order, for
// pictures of other windows.

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QSet>
#include <QTimer>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/app.h"
#include "ui/qt/app_icon.h"
#include "ui/qt/mdi_form1.h"
#include "ui/recording_platform.h"

namespace {

// A picture of a window with menus, forms, text and a curve has many colours and much ink.
bool NonTrivial(const QImage& image) {
  if (image.width() < 400 || image.height() < 300) return false;
  QSet<QRgb> colours;
  int dark = 0;
  for (int y = 0; y < image.height(); y += 2) {
    for (int x = 0; x < image.width(); x += 2) {
      QRgb pixel = image.pixel(x, y);
      colours.insert(pixel);
      if (qGray(pixel) < 96) ++dark;
    }
  }
  return colours.size() > 16 && dark > 500;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: qalto_window_screenshot FILE.png [MENU_HANDLER...]\n";
    return 2;
  }
  QApplication application(argc, argv);
  QApplication::setWindowIcon(qalto::AppIcon());
  qalto::RecordingPlatform platform;
  platform.messageSink = [](const std::string& text) { std::cerr << "message: " << text << "\n"; };
  qalto::App app(platform);
  qalto::MDIForm1 window(app);
  window.resize(1400, 900);
  window.show();
  QString path = QString::fromLocal8Bit(argv[1]);
  std::vector<std::string> commands(argv + 2, argv + argc);
  int status = 1;
  QTimer::singleShot(300, [&] {
    if (commands.empty()) {
      window.ChooseMenu("mnuInstrument_Click", "&Instrument...");
      window.RunEvent(&app.Ins(), [&] { app.Ins().ComboScan.SelectText("cycle"); });
      window.ChooseMenu("mnuExperimental_Click", "&Chemicals...");
      window.ChooseMenu("mnuSimulate_Click", "&Simulate");
      window.ChooseMenu("mnuNextCurve_Click", "&Next Curve");
    }
    for (const std::string& command : commands)
      window.ChooseMenu(command, command);
    QTimer::singleShot(500, [&] {
      QImage image = window.grab().toImage();
      if (!image.save(path, "PNG")) {
        std::cerr << "cannot write " << path.toStdString() << "\n";
      } else if (!NonTrivial(image)) {
        std::cerr << "the picture of the window is blank\n";
      } else {
        status = 0;
      }
      application.quit();
    });
  });
  application.exec();
  return status;
}
