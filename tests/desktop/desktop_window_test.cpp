// The interactive plot, simulations in the background with Cancel, and sessions.

#include <QImage>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>

#include "app/script_runner.h"
#include "tests/files/temp_folder.h"
#include "window_fixture.h"

namespace qalto {
namespace {

TEST_F(WindowTest, ZoomPanAndResetChangeAndRestoreTheAxisRanges) {
  SimulateAnalyticalCycle();
  PlotView* plot = window.Plot();
  plot->resize(640, 480);
  const ChartRange automatic = plot->View();
  EXPECT_EQ(automatic.xMin, app.model().PlotXMin);  // the plotter's range is the automatic one
  // A box from a quarter to three quarters of the plot area keeps half of each range.
  QRectF area = plot->Chart().PlotArea();
  QPointF quarter(area.width() / 4, area.height() / 4);
  Drag(plot, area.topLeft() + quarter, area.bottomRight() - quarter, Qt::LeftButton);
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
  EXPECT_NEAR(plot->Chart().ToValue(pointer).x(), under.x(), 1e-9);
  // A right-button drag pans: the ranges move and keep their widths.
  Drag(plot, area.center(), area.center() + QPointF(50, 0), Qt::RightButton);
  ChartRange panned = plot->View();
  EXPECT_GT(panned.xMin, wheeled.xMin);  // potentials fall to the right
  EXPECT_NEAR(panned.xMax - panned.xMin, wheeled.xMax - wheeled.xMin, 1e-12);
  // A double click goes back to the automatic range, exactly.
  Send(plot, QEvent::MouseButtonDblClick, area.center(), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(plot->View(), automatic);
}

TEST_F(WindowTest, CursorReadoutShowsTheNearestCurvePointAndPicturesHaveTheirSize) {
  SimulateAnalyticalCycle();
  PlotView* plot = window.Plot();
  plot->resize(640, 480);
  // The point of the curve's largest current: its values are known from the model.
  const Model& m = app.model();
  int peak = m.FirstPoint;
  for (int j = m.FirstPoint; j <= m.LastPoint; ++j)
    if (m.CurrentY(j, 1) > m.CurrentY(peak, 1)) peak = j;
  double e = m.PotentialX(peak), i = m.CurrentY(peak, 1);  // V, A
  Send(plot, QEvent::MouseMove, plot->Chart().ToPixel(QPointF(e, i)), Qt::NoButton, Qt::NoButton);
  QString readout = plot->ReadoutText();
  EXPECT_EQ(window.StatusText()->text(), readout);
  EXPECT_EQ(plot->Chart().YTitle(), QString::fromUtf8("I / µA"));  // the peak is some µA
  QString nearest = QString("nearest: ks 10000 cm/s, 0.01 V/s point %1 (%2 V, %3 µA)")
                        .arg(peak - m.FirstPoint + 1)
                        .arg(e, 0, 'f', 4)
                        .arg(i * 1e6, 0, 'g', 4);
  EXPECT_TRUE(readout.contains(nearest)) << readout.toStdString();
  EXPECT_TRUE(readout.startsWith(QString("E = %1 V").arg(e, 0, 'f', 4))) << readout.toStdString();
  // A chronoamperogram's x is time: the read-out says t and s.
  Choose("mnuTech_Click");
  window.RunEvent(&app.Tech(), [&] {
    app.Tech().optTech(7).Click();
    app.Tech().CmdOK_Click();
  });
  Choose("mnuSimulate_Click");
  const double t = m.PotentialX(10), step = m.CurrentY(10, m.CurrentCurve);  // s, A
  Send(plot, QEvent::MouseMove, plot->Chart().ToPixel(QPointF(t, step)), Qt::NoButton,
       Qt::NoButton);
  readout = plot->ReadoutText();
  EXPECT_TRUE(readout.startsWith(QString("t = %1 s").arg(t, 0, 'g', 5))) << readout.toStdString();
  EXPECT_TRUE(readout.contains(QString(" point 10 (%1 s, ").arg(t, 0, 'g', 5)))
      << readout.toStdString();

  // Pictures of the plot at a chosen size, in the formats offered.
  QTemporaryDir folder;
  for (const char* name : {"cv.png", "cv.svg", "cv.pdf"})
    EXPECT_TRUE(window.ExportPicture(folder.filePath(name), QSize(900, 500))) << name;
  EXPECT_EQ(QImage(folder.filePath("cv.png")).size(), QSize(900, 500));
  // A picture or a session that cannot be written says where and why.
  platform.messages.clear();
  EXPECT_FALSE(window.ExportPicture(folder.filePath("absent/cv.png"), QSize(900, 500)));
  EXPECT_FALSE(window.SaveSession(folder.filePath("absent/s.qs")));
  ASSERT_EQ(platform.messages.size(), 2u);
  for (const std::string& text : platform.messages) {
    EXPECT_NE(text.find("absent/"), std::string::npos) << text;
    EXPECT_NE(text.find("Path not found"), std::string::npos) << text;
  }
}

TEST_F(WindowTest, LegendNamesEveryCurveAndTheFitAddsItsResidual) {
  SimulateAnalyticalCycle();
  // The simulated curve, written as a measured file and imported.
  QString text;
  const Model& m = app.model();
  for (int i = m.FirstPoint; i <= m.LastPoint; ++i)
    text += QString("%1,%2\n").arg(m.PotentialX(i), 0, 'g', 12).arg(m.CurrentY(i, 1));
  TempFolder folder;
  platform.QueueDialogAnswer(folder.Write("ferrocene_cv.csv", text.toStdString()));
  Choose("mnuImport_Click");
  EXPECT_TRUE(window.Plot()->Data().curves[0].markers);  // measured data as markers
  // A fit of E0 puts the fitted curve beside the data, and the residual under them.
  Choose("mnuExperimental_Click");
  window.RunEvent(&app.Expr(), [&] {
    app.Expr().Eze(1).SetText("0.02");
    app.Expr().CheckFitted(1).SetChecked(false);
    app.Expr().CheckFitted(31).SetChecked(true);
  });
  Choose("mnuAutoFit_Click");
  const ChartData& data = window.Plot()->Data();
  ASSERT_EQ(data.curves.size(), 2u);
  EXPECT_EQ(data.curves[0].name, "ferrocene_cv.csv");
  EXPECT_EQ(data.curves[1].name, "Fit");
  EXPECT_FALSE(data.curves[1].markers);  // computed curves as lines
  ASSERT_TRUE(data.residual.has_value());
  EXPECT_EQ(data.residual->name, "Residual");
  // The fitted curve meets the data it was made from: the residual stays within 1 % of the peak.
  double peak = 0, worst = 0;
  for (size_t i = 0; i < data.residual->points.size(); ++i) {
    peak = std::max(peak, std::fabs(data.curves[0].points[i].y()));
    worst = std::max(worst, std::fabs(data.residual->points[i].y()));
  }
  EXPECT_LT(worst, 1e-2 * peak);
}

TEST_F(WindowTest, CancelDuringALongDigitalRunLeavesTheOldCurve) {
  SimulateAnalyticalCycle();
  const std::vector<double> before = Curve(app.model(), 1);
  const std::vector<QPointF> shown = window.Plot()->Data().curves[0].points;
  // A digital run of 20001 points with 8 species, three couples and a cross reaction G + D = H:
  // seconds of work even on a fast machine, long enough to be stopped on its way.
  Choose("mnuMechamism_Click");
  CheckDigital(true);
  window.RunEvent(&app.Mech(), [&] {
    FormMech& mech = app.Mech();
    for (auto [box, species] : {std::pair{22, "C"}, {26, "D"}, {32, "E"}, {36, "F"}})
      mech.charge(box).SetText(species);
    std::pair<TextBox*, const char*> boxes[] = {{&mech.chem(1), "Fe+2"},
                                                {&mech.chem(2), "G"},
                                                {&mech.chem2(1), "G"},
                                                {&mech.chem2(2), "D"},
                                                {&mech.chem2(3), "H"}};
    for (auto [box, species] : boxes)
      box->SetText(species);
    mech.Command1.Click();
  });
  window.RunEvent(nullptr, [&] {
    app.Expr().C(3).SetText("1e-3");
    app.Expr().C(5).SetText("1e-3");
    app.Ins().ComboScan.SelectText("single");
    app.Ins().Estep.SetText("0.00003");
  });
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(10);
  QElapsedTimer clock;
  clock.start();
  auto runUntil = [&](int progress, int ticksWanted) {
    while (window.Running() && (window.ProgressBar()->value() < progress || ticks < ticksWanted) &&
           clock.elapsed() < 60000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(window.Running()) << "the run ended before it could be cancelled";
  };
  Action("mnuSimulate_Click")->trigger();
  // The window goes on handling its events while the points are computed.
  runUntil(20, 3);
  EXPECT_GT(ticks, 2);
  QTest::mouseClick(window.CancelButton(), Qt::LeftButton);
  WaitForRun();
  EXPECT_EQ(Curve(app.model(), 1), before);
  EXPECT_EQ(window.Plot()->Data().curves[0].points, shown);
  EXPECT_TRUE(window.StatusText()->text().startsWith("Cancelled"));

  // A fit of the same long run, cancelled in its first trial: the result window keeps its lines
  // (the fit clears them at its start).
  Choose("mnuNextCurve_Click");
  const std::string lines = app.Result().Text();
  Action("mnuAutoFit_Click")->trigger();
  // A fit's bar moves without an end; its text counts the points or the iterations.
  while (window.Running() && !window.StatusText()->text().startsWith("Fitting:") &&
         clock.elapsed() < 60000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_TRUE(window.Running()) << "the fit ended before it could be cancelled: "
                                << window.StatusText()->text().toStdString() << " "
                                << (platform.messages.empty() ? "" : platform.messages.back());
  EXPECT_EQ(window.ProgressBar()->maximum(), 0);
  window.CancelRun();
  WaitForRun();
  EXPECT_EQ(app.Result().Text(), lines);
  EXPECT_EQ(Curve(app.model(), 1), before);
}

// Save, quit, start, open under a real window: four overlaid curves (two simulated, two imported
// from files whose names hold a $ and a quote) and the windows' places come back, read in the
// background, and the file saves to the same bytes. (Every form's value, curve, origin and the
// result log coming back: SessionTest.AWorkingDayComesBackWholeAndSavesToTheSameBytes.)
TEST_F(WindowTest, ASessionComesBackWholeInANewProgram) {
  SimulateAnalyticalCycle();
  window.RunEvent(&app.Ins(), [&] { app.Ins().Epulse.SetText("-0.1"); });
  Choose("mnuOption_Click");
  window.RunEvent(&app.Option(), [&] { app.Option().overlap.SetChecked(true); });
  Choose("mnuSimulate_Click");
  TempFolder folder;
  for (const char* name : {"cv $HOME.txt", "Fe \"II\".csv"}) {
    platform.QueueDialogAnswer(folder.Write(name, "0.3,1e-6\n0.1,3e-6\n-0.1,2e-6\n-0.3,5e-7\n"));
    Choose("mnuImport_Click");
  }
  ASSERT_EQ(app.model().CurveCount, 4);
  Choose("mnuNextCurve_Click");
  window.RunEvent(&app.Expr(), [&] { app.Expr().Text1.SetText("KCl\nNaCl"); });
  QMdiSubWindow* instrument = window.WindowOf(app.Ins());
  ASSERT_NE(instrument, nullptr);
  instrument->setGeometry(40, 30, 420, 380);
  const std::string saved = folder.Path("day.qs");
  platform.QueueDialogAnswer(saved);
  Choose("mnuSaveSession_Click");
  ASSERT_FALSE(TempFolder::Read(saved).empty());

  RecordingPlatform nextPlatform;
  App next(nextPlatform);
  MDIForm1 nextWindow(next);
  nextWindow.show();
  nextPlatform.QueueDialogAnswer(saved);
  nextWindow.Menus().Action("mnuOpenSession_Click")->trigger();
  // The session is read in the background, with the menus closed meanwhile.
  EXPECT_TRUE(nextWindow.Running());
  EXPECT_FALSE(nextWindow.menuBar()->isEnabled());
  WaitForRunOf(nextWindow);
  EXPECT_EQ(nextWindow.StatusText()->text().toStdString(), "Session opened from " + saved);
  ASSERT_TRUE(nextPlatform.messages.empty()) << nextPlatform.messages.front();
  EXPECT_EQ(Curve(next.model(), 4), Curve(app.model(), 4));
  QMdiSubWindow* reopened = nextWindow.WindowOf(next.Ins());
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(reopened->geometry(), QRect(40, 30, 420, 380));
  const std::string again = folder.Path("again.qs");
  ASSERT_TRUE(nextWindow.SaveSession(QString::fromStdString(again)));
  EXPECT_EQ(TempFolder::Read(again), TempFolder::Read(saved));
}

}  // namespace
}  // namespace qalto
