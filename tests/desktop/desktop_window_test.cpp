// The window as a scientist works in it: the interactive plot (zoom, pan, reset, cursor
// readout, legend, residual, picture files), simulations in the background with Cancel, and
// sessions saved and opened again.

#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>
#include <sstream>

#include "app/script_runner.h"
#include "desktop/plot_view.h"
#include "window_fixture.h"

namespace qalto {
namespace {

class DesktopTest : public WindowTest {
 protected:
  PlotView* Plot() { return window.Plot(); }

  // An analytical cyclic voltammogram of A + e = B.
  void SimulateAnalyticalCycle() {
    Choose("mnuMechamism_Click");
    CheckDigital(false);
    Choose("mnuInstrument_Click");
    window.RunEvent(&app.Ins(), [&] { app.Ins().ComboScan.SelectText("cycle"); });
    Choose("mnuSimulate_Click");
  }

  void CheckDigital(bool on) {
    auto* box = Widget<QCheckBox>(app.Mech(), app.Mech().CheckDigital);
    ASSERT_NE(box, nullptr);
    if (box->isChecked() != on) box->click();
  }

  void Send(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button,
            Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, buttons, modifiers);
    QCoreApplication::sendEvent(widget, &event);
  }

  void Drag(QWidget* widget, QPointF from, QPointF to, Qt::MouseButton button) {
    Send(widget, QEvent::MouseButtonPress, from, button, button);
    Send(widget, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, button);
    Send(widget, QEvent::MouseMove, to, Qt::NoButton, button);
    Send(widget, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
  }

  static std::vector<double> Curve(const Model& m, int k) {
    std::vector<double> values;
    for (int i = m.FirstPoint; i <= m.LastPoint; ++i)
      values.push_back(m.CurrentY(i, k));
    return values;
  }
};

TEST_F(DesktopTest, ZoomPanAndResetChangeAndRestoreTheAxisRanges) {
  SimulateAnalyticalCycle();
  PlotView* plot = Plot();
  ASSERT_NE(plot, nullptr);
  plot->resize(640, 480);
  const ChartRange automatic = plot->View();
  ASSERT_TRUE(automatic.Valid());
  EXPECT_EQ(automatic.xMin, app.model().PlotXMin);  // the plotter's range is the automatic one
  EXPECT_EQ(automatic.yMax, app.model().PlotYMax);

  // A box from a quarter to three quarters of the plot area keeps half of each range.
  QRectF area = plot->Chart().PlotArea();
  QPointF from = area.topLeft() + QPointF(area.width() / 4, area.height() / 4);
  QPointF to = area.topLeft() + QPointF(area.width() * 3 / 4, area.height() * 3 / 4);
  Drag(plot, from, to, Qt::LeftButton);
  ChartRange boxed = plot->View();
  EXPECT_NEAR(boxed.xMax - boxed.xMin, (automatic.xMax - automatic.xMin) / 2, 1e-9);
  EXPECT_NEAR(boxed.yMax - boxed.yMin, (automatic.yMax - automatic.yMin) / 2, 1e-15);

  // The wheel zooms about the pointer: the value under it stays where it is.
  QPointF pointer = area.center() + QPointF(40, -30);
  QPointF under = plot->Chart().ToValue(pointer);
  QWheelEvent wheel(pointer, plot->mapToGlobal(pointer), QPoint(), QPoint(0, 120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(plot, &wheel);
  ChartRange wheeled = plot->View();
  EXPECT_NEAR(wheeled.xMax - wheeled.xMin, 0.8 * (boxed.xMax - boxed.xMin), 1e-9);
  QPointF still = plot->Chart().ToValue(pointer);
  EXPECT_NEAR(still.x(), under.x(), 1e-9);
  EXPECT_NEAR(still.y(), under.y(), 1e-15);

  // A right-button drag pans: the ranges move and keep their widths.
  Drag(plot, area.center(), area.center() + QPointF(50, 0), Qt::RightButton);
  ChartRange panned = plot->View();
  EXPECT_NE(panned.xMin, wheeled.xMin);
  EXPECT_NEAR(panned.xMax - panned.xMin, wheeled.xMax - wheeled.xMin, 1e-12);

  // A double click goes back to the automatic range, exactly.
  Send(plot, QEvent::MouseButtonDblClick, area.center(), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(plot->View(), automatic);
}

TEST_F(DesktopTest, CursorReadoutShowsTheNearestCurvePoint) {
  SimulateAnalyticalCycle();
  PlotView* plot = Plot();
  plot->resize(640, 480);
  ASSERT_EQ(plot->Data().curves.size(), 1u);
  const ChartCurve& curve = plot->Data().curves[0];
  // The point of the curve's largest current: its values are known from the model.
  size_t peak = 0;
  for (size_t i = 0; i < curve.points.size(); ++i) {
    if (curve.points[i].y() > curve.points[peak].y()) peak = i;
  }
  const Model& m = app.model();
  double e = m.PotentialX(m.FirstPoint + static_cast<int>(peak));   // V
  double i = m.CurrentY(m.FirstPoint + static_cast<int>(peak), 1);  // A
  QPointF pixel = plot->Chart().ToPixel(QPointF(e, i));
  Send(plot, QEvent::MouseMove, pixel, Qt::NoButton, Qt::NoButton);
  QString readout = plot->ReadoutText();
  EXPECT_EQ(window.StatusText()->text(), readout);
  // The y labels are in µA (the peak is some µA); the readout writes the values the same way.
  EXPECT_EQ(plot->Chart().YTitle(), QString::fromUtf8("I / µA"));
  QString nearest = QString("nearest: Simulation 1 point %1 (%2 V, %3 µA)")
                        .arg(peak + 1)
                        .arg(e, 0, 'f', 4)
                        .arg(i * 1e6, 0, 'g', 4);
  EXPECT_TRUE(readout.contains(nearest)) << readout.toStdString();
  EXPECT_TRUE(readout.startsWith(QString("E = %1 V").arg(e, 0, 'f', 4))) << readout.toStdString();
}

TEST_F(DesktopTest, LegendNamesEveryCurveAndTheFitAddsItsResidual) {
  SimulateAnalyticalCycle();
  // The simulated curve, written as a measured file and imported.
  QTemporaryDir folder;
  QString path = folder.filePath("ferrocene_cv.csv");
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const Model& m = app.model();
    for (int i = m.FirstPoint; i <= m.LastPoint; ++i)
      file.write(QString("%1,%2\n")
                     .arg(m.PotentialX(i), 0, 'g', 12)
                     .arg(m.CurrentY(i, 1), 0, 'g', 12)
                     .toUtf8());
  }
  platform.QueueDialogAnswer(path.toStdString());
  Choose("mnuImport_Click");
  ASSERT_EQ(Plot()->Data().curves.size(), 1u);
  EXPECT_EQ(Plot()->Data().curves[0].name, "ferrocene_cv.csv");
  EXPECT_TRUE(Plot()->Data().curves[0].markers);  // measured data as markers
  EXPECT_FALSE(Plot()->Data().residual.has_value());

  // A fit of E0 puts the fitted curve beside the data, and the residual under them.
  Choose("mnuExperimental_Click");
  window.RunEvent(&app.Expr(), [&] {
    app.Expr().Eze(1).SetText("0.02");
    app.Expr().CheckFitted(1).SetChecked(false);
    app.Expr().CheckFitted(31).SetChecked(true);
  });
  Choose("mnuAutoFit_Click");
  const ChartData& data = Plot()->Data();
  ASSERT_EQ(data.curves.size(), 2u);
  EXPECT_EQ(data.curves[0].name, "ferrocene_cv.csv");
  EXPECT_EQ(data.curves[1].name, "Fit");
  EXPECT_FALSE(data.curves[1].markers);  // computed curves as lines
  ASSERT_TRUE(data.residual.has_value());
  EXPECT_EQ(data.residual->name, "Residual");
  // Colours differ from curve to curve.
  EXPECT_NE(CurveColour(data.curves[0].slot), CurveColour(data.curves[1].slot));
  // The fitted curve meets the data it was made from: the residual stays within 1 % of the peak.
  double peak = 0;
  double worst = 0;
  for (size_t i = 0; i < data.residual->points.size(); ++i) {
    peak = std::max(peak, std::fabs(data.curves[0].points[i].y()));
    worst = std::max(worst, std::fabs(data.residual->points[i].y()));
  }
  EXPECT_LT(worst, 1e-2 * peak);
  EXPECT_FALSE(Plot()->Chart().ResidualArea().isEmpty());
}

TEST_F(DesktopTest, PicturesAreWrittenAtTheChosenSize) {
  SimulateAnalyticalCycle();
  QTemporaryDir folder;
  ASSERT_TRUE(window.ExportPicture(folder.filePath("cv.png"), QSize(900, 500)));
  ASSERT_TRUE(window.ExportPicture(folder.filePath("cv.svg"), QSize(900, 500)));
  ASSERT_TRUE(window.ExportPicture(folder.filePath("cv.pdf"), QSize(900, 500)));
  QImage png(folder.filePath("cv.png"));
  EXPECT_EQ(png.size(), QSize(900, 500));
  QFile svg(folder.filePath("cv.svg"));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  QByteArray svgText = svg.readAll();
  EXPECT_TRUE(svgText.contains("viewBox=\"0 0 900 500\"")) << svgText.left(400).toStdString();
  EXPECT_TRUE(svgText.contains("Simulation 1"));  // the legend's text
  QFile pdf(folder.filePath("cv.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  QByteArray pdfText = pdf.readAll();
  EXPECT_TRUE(pdfText.startsWith("%PDF"));
  EXPECT_TRUE(pdfText.contains("/MediaBox [0 0 900.000000 500.000000]")) << "900 x 500 points";
  EXPECT_FALSE(window.ExportPicture(folder.filePath("cv.bmp"), QSize(900, 500)));
}

TEST_F(DesktopTest, CancelDuringALongDigitalRunLeavesTheOldCurve) {
  SimulateAnalyticalCycle();
  const std::vector<double> before = Curve(app.model(), 1);
  const std::vector<QPointF> shown = Plot()->Data().curves[0].points;
  // A digital run of 20001 points with 8 species, three couples and a cross reaction G + D = H:
  // seconds of work even on a fast machine, long enough to be stopped on its way.
  Choose("mnuMechamism_Click");
  CheckDigital(true);
  window.RunEvent(&app.Mech(), [&] {
    FormMech& mech = app.Mech();
    for (auto [box, species] : {std::pair{22, "C"}, {26, "D"}, {32, "E"}, {36, "F"}})
      mech.charge(box).SetText(species);
    mech.chem(1).SetText("Fe+2");
    mech.chem(2).SetText("G");
    mech.chem2(1).SetText("G");
    mech.chem2(2).SetText("D");
    mech.chem2(3).SetText("H");
    mech.Command1.Click();
  });
  Choose("mnuExperimental_Click");
  window.RunEvent(&app.Expr(), [&] {
    app.Expr().C(3).SetText("1e-3");
    app.Expr().C(5).SetText("1e-3");
  });
  Choose("mnuInstrument_Click");
  window.RunEvent(&app.Ins(), [&] {
    app.Ins().ComboScan.SelectText("single");
    app.Ins().Estep.SetText("0.00003");
  });
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(10);
  Action("mnuSimulate_Click")->trigger();
  ASSERT_TRUE(window.Running());
  EXPECT_TRUE(window.CancelButton()->isVisible());
  EXPECT_FALSE(window.menuBar()->isEnabled());
  // The window goes on handling its events while the points are computed.
  QElapsedTimer clock;
  clock.start();
  while (window.Running() && (window.ProgressBar()->value() < 20 || ticks < 3) &&
         clock.elapsed() < 60000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_TRUE(window.Running()) << "the run ended before it could be cancelled";
  EXPECT_GT(ticks, 2);
  EXPECT_GE(window.ProgressBar()->value(), 20);
  EXPECT_LT(window.ProgressBar()->value(), window.ProgressBar()->maximum());
  QTest::mouseClick(window.CancelButton(), Qt::LeftButton);
  WaitForRun();
  EXPECT_EQ(Curve(app.model(), 1), before);
  EXPECT_EQ(Plot()->Data().curves[0].points, shown);
  EXPECT_TRUE(window.menuBar()->isEnabled());
  EXPECT_FALSE(window.CancelButton()->isVisible());
  EXPECT_TRUE(window.StatusText()->text().startsWith("Cancelled"));

  // A fit of the same long run, cancelled in its first trial: the result window keeps its lines
  // (the fit clears them at its start) and the overlap box its tick.
  Choose("mnuNextCurve_Click");
  const std::string lines = app.Result().Text();
  app.Option().overlap.SetChecked(true);
  Action("mnuAutoFit_Click")->trigger();
  while (window.Running() && window.ProgressBar()->value() < 20 && clock.elapsed() < 60000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_TRUE(window.Running());
  window.CancelRun();
  WaitForRun();
  EXPECT_EQ(app.Result().Text(), lines);
  EXPECT_TRUE(app.Option().overlap.Checked());
  EXPECT_EQ(Curve(app.model(), 1), before);
}

TEST_F(DesktopTest, ASavedSessionReopenedGivesTheSameCurve) {
  Choose("mnuMechamism_Click");
  CheckDigital(false);
  window.RunEvent(&app.Mech(), [&] { app.Mech().mech(7).Select(); });
  Choose("mnuInstrument_Click");
  window.RunEvent(&app.Ins(), [&] {
    app.Ins().Estart.SetText("0.4");
    app.Ins().V.SetText("0.5");
    app.Ins().ComboScan.SelectText("2 cycles");
  });
  Choose("mnuExperimental_Click");
  window.RunEvent(&app.Expr(), [&] { app.Expr().kf(1).SetText("3"); });
  Choose("mnuSimulate_Click");
  QTemporaryDir folder;
  QString path = folder.filePath("ec.qs");
  ASSERT_TRUE(window.SaveSession(path));

  // A new program window opens the session: the same curve, point for point.
  RecordingPlatform otherPlatform;
  App other(otherPlatform);
  MDIForm1 otherWindow(other);
  // Two curves overlaid there before: the session replaces them by its one curve.
  other.Option().overlap.SetChecked(true);
  for (int run = 0; run < 2; ++run) {
    otherWindow.ChooseMenu("mnuSimulate_Click", "Simulate");
    while (otherWindow.Running())
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  ASSERT_EQ(other.model().CurveCount, 2);
  ASSERT_TRUE(otherWindow.OpenSession(path))
      << (otherPlatform.messages.empty() ? "" : otherPlatform.messages.back());
  EXPECT_EQ(other.model().NumberOfPoints, app.model().NumberOfPoints);
  EXPECT_EQ(other.model().CurveCount, 1);
  ASSERT_EQ(otherWindow.Plot()->Data().curves.size(), 1u);
  EXPECT_EQ(Curve(other.model(), 1), Curve(app.model(), 1));
  EXPECT_EQ(other.Ins().Estart.Text(), "0.4");
  EXPECT_EQ(other.Expr().kf(1).Text(), "3");

  // The same file runs as a script without any window.
  RecordingPlatform batchPlatform;
  App batch(batchPlatform);
  std::ostringstream out, err;
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  std::istringstream script(file.readAll().toStdString());
  EXPECT_EQ(ScriptRunner(batch, batchPlatform, out).Run(script, err), 0) << err.str();
  EXPECT_EQ(Curve(batch.model(), 1), Curve(app.model(), 1));
}

}  // namespace
}  // namespace qalto
