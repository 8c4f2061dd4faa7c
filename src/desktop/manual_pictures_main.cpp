// qalto_manual_pictures --manual FOLDER, on a real display server (Xvfb; `make pictures`),
// writes FOLDER/screenshot.png for the README (forms beside a simulated cyclic voltammogram) and
// FOLDER/images/*.png for the manual (every input form, a fit with its residual). It fails when
// a picture is blank or cannot be written.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSet>
#include <iostream>

#include "app/app.h"
#include "desktop/app_icon.h"
#include "desktop/mdi_form1.h"
#include "ui/recording_platform.h"

namespace {

// A picture of a window with menus, forms, text and a curve has many colours and much ink.
bool NonTrivial(const QImage& image) {
  QSet<QRgb> colours;
  int dark = 0;
  for (int y = 0; y < image.height(); y += 2) {
    for (int x = 0; x < image.width(); x += 2) {
      colours.insert(image.pixel(x, y));
      dark += qGray(image.pixel(x, y)) < 96;
    }
  }
  return image.width() >= 200 && image.height() >= 150 && colours.size() > 16 && dark > 200;
}

class Photographer {
 public:
  Photographer() : app_(platform_), window_(app_) {
    platform_.messageSink = [](const std::string& text) { std::cerr << text << "\n"; };
    // A fixed clock: the computing time the result window shows is the same in every picture.
    platform_.SetClock(43200.0);
    window_.resize(1400, 900);
    window_.show();
    Settle(300);
  }

  // Lets the window handle its events for a while, and until a background run has ended.
  void Settle(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms || (window_.Running() && clock.elapsed() < 120000))
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }

  void Menu(const std::string& handler, int ms = 150) {
    window_.ChooseMenu(handler, handler);
    Settle(ms);
  }

  // The main window (no form named) or the window of one form, after the menu command.
  bool Shoot(const char* menu, const QString& path, const char* formName = nullptr) {
    Menu(menu, 400);
    return Grab(path, formName);
  }

  bool Grab(const QString& path, const char* formName = nullptr) {
    qalto::Form* form = formName == nullptr ? nullptr : app_.FindForm(formName);
    QWidget* widget = formName == nullptr ? &window_ : nullptr;
    if (form != nullptr) widget = window_.WindowOf(*form);
    QImage image = widget == nullptr ? QImage() : widget->grab().toImage();
    bool ok = image.save(path, "PNG") && NonTrivial(image);
    if (!ok) std::cerr << "the picture " << path.toStdString() << " is blank or not written\n";
    return ok;
  }

  // A noisy voltammogram written as a data file and imported, for E0 and ks to be fitted to it.
  void Simulate(bool measured) {
    Menu("mnuInstrument_Click");
    window_.RunEvent(&app_.Ins(), [&] {
      if (measured) app_.Ins().Noise.SetText("1e-6");
      app_.Ins().ComboScan.SelectText("cycle");
    });
    Menu("mnuExperimental_Click");
    Menu("mnuSimulate_Click");
    if (!measured) return;
    // A fixed name: the plot window's title shows it in the picture.
    QString data = QDir::temp().filePath("measured_cv.csv");
    QFile file(data);
    const qalto::Model& m = app_.model();
    if (file.open(QIODevice::WriteOnly)) {
      for (int i = m.FirstPoint; i <= m.LastPoint; ++i)
        file.write(
            QString("%1,%2\n").arg(m.PotentialX(i), 0, 'g', 10).arg(m.CurrentY(i, 1)).toUtf8());
    }
    file.close();
    platform_.QueueDialogAnswer(data.toStdString());
    Menu("mnuImport_Click");
    QFile::remove(data);
    // The import proposes the first current as the baseline's start; these data have none.
    window_.RunEvent(&app_.Ins(), [&] { app_.Ins().TxtI0.SetText("0"); });
  }

  bool Fit(const QString& path) {
    Menu("mnuMechamism_Click");
    window_.RunEvent(&app_.Mech(), [&] {
      app_.Mech().CheckDigital.Click();
      app_.Mech().mech(1).Select();
      app_.Mech().Command1.Click();
    });
    window_.RunEvent(&app_.Expr(), [&] { app_.Expr().ks(1).SetText("1e-3"); });
    Simulate(true);
    window_.RunEvent(&app_.Expr(), [&] {
      qalto::FormExpr& e = app_.Expr();
      e.ks(1).SetText("2e-3");
      e.Eze(1).SetText("0.12");
      e.CheckFitted(1).SetChecked(false);
      for (int k : {11, 31})
        e.CheckFitted(k).SetChecked(true);
      e.TextKsmin(1).SetText("1e-5");
      e.TextKsmax(1).SetText("1");
    });
    Menu("mnuAutoFit_Click", 400);
    return GrabResults(path);
  }

  // The main window with the curve and its report in front of the forms that set them up.
  bool GrabResults(const QString& path) {
    for (const char* name : {"FormPlot", "FormResult"}) {
      if (QWidget* shown = window_.WindowOf(*app_.FindForm(name))) shown->raise();
    }
    Settle(100);
    return Grab(path);
  }

 private:
  qalto::RecordingPlatform platform_;
  qalto::App app_;
  qalto::MDIForm1 window_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || std::string(argv[1]) != "--manual") return 2;
  QApplication application(argc, argv);
  QApplication::setWindowIcon(qalto::AppIcon());
  QString folder = QString::fromLocal8Bit(argv[2]);
  QDir().mkpath(folder + "/images");
  bool ok = true;
  {
    Photographer shot;
    shot.Simulate(false);
    shot.Menu("mnuNextCurve_Click", 400);
    ok = shot.GrabResults(folder + "/screenshot.png") && ok;
  }
  {
    Photographer shot;
    for (auto [menu, form, name] : {std::tuple{"mnuTech_Click", "FormTech", "techniques"},
                                    {"mnuMechamism_Click", "FormMech", "mechanism"},
                                    {"mnuInstrument_Click", "FormIns", "instrument"},
                                    {"mnuExperimental_Click", "FormExpr", "chemicals"}})
      ok = shot.Shoot(menu, folder + "/images/" + name + ".png", form) && ok;
    shot.Menu("mnuSimulate_Click");  // the options of a drawn plot
    ok = shot.Shoot("mnuOption_Click", folder + "/images/options.png", "formOption") && ok;
  }
  ok = Photographer().Fit(folder + "/images/fit.png") && ok;
  return ok ? 0 : 1;
}
