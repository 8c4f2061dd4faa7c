// The window as a workbench: Enter and Esc in the forms, the curve list with its clicks and
// Undo, the result window's headings, the fit's table and one picture for every output.

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTreeWidget>

#include "desktop/qt_platform.h"
#include "desktop/result_view.h"
#include "window_fixture.h"

namespace qalto {
namespace {

TEST_F(WindowTest, EnterPressesOkAndEscClosesTheForm) {
  Choose("mnuTech_Click");
  Widget<QRadioButton>(app.Tech(), app.Tech().optTech(4))->click();
  QTest::keyClick(View(app.Tech()), Qt::Key_Return);
  EXPECT_EQ(app.model().Technique, Technique::kDifferentialPulse);
  EXPECT_FALSE(app.Tech().Shown());
  Choose("mnuInstrument_Click");
  auto* eend = Widget<QLineEdit>(app.Ins(), app.Ins().Eend);
  Type(eend, "-0.4");
  QTest::keyClick(eend, Qt::Key_Escape);
  EXPECT_FALSE(app.Ins().Shown());
  EXPECT_EQ(app.Ins().Eend.Text(), "-0.4");  // closing keeps what was typed
  EXPECT_EQ(app.model().Technique, Technique::kDifferentialPulse);
}

// The window opens on the default experiment's voltammogram, which is no work of the user's: an
// Exit right after asks nothing.
TEST_F(WindowTest, TheFirstCurveIsShownAndCountsAsNoWork) {
  window.ShowFirstCurve();
  WaitForRun();
  EXPECT_EQ(app.model().CurveCount, 1);
  ASSERT_NE(window.Plot(), nullptr);
  EXPECT_FALSE(window.Plot()->Data().Empty());
  EXPECT_FALSE(app.HasUnsavedWork());
  Choose("mnuMinusY_Click");
  EXPECT_TRUE(app.HasUnsavedWork());
}

TEST_F(WindowTest, TheCurveListChoosesTheActiveCurveAndTheCurvesTransformed) {
  SimulateAnalyticalCycle();
  window.RunEvent(&app.Option(), [&] { app.Option().overlap.SetChecked(true); });
  Choose("mnuInstrument_Click");
  Type(Widget<QLineEdit>(app.Ins(), app.Ins().V), "0.1");
  Choose("mnuSimulate_Click");
  QTreeWidget* rows = window.CurveList()->List();
  ASSERT_EQ(rows->topLevelItemCount(), 2);
  EXPECT_EQ(rows->topLevelItem(1)->text(CurveListView::kName), "ks 10000 cm/s, 0.1 V/s");
  EXPECT_EQ(rows->topLevelItem(1)->text(CurveListView::kActive), "active");
  // A click on the first row makes it the active curve, and the one -Y acts on.
  const QRect first = rows->visualItemRect(rows->topLevelItem(0));
  QTest::mouseClick(rows->viewport(), Qt::LeftButton, Qt::NoModifier, first.center());
  EXPECT_EQ(app.model().CurrentCurve, 1);
  EXPECT_EQ(app.SelectedCurves(), std::vector<int>{1});
  const std::vector<double> before = Curve(app.model(), 1), other = Curve(app.model(), 2);
  Choose("mnuMinusY_Click");
  EXPECT_EQ(Curve(app.model(), 1)[5], -before[5]);
  EXPECT_EQ(Curve(app.model(), 2), other);
  Choose("mnuUndo_Click");
  EXPECT_EQ(Curve(app.model(), 1), before);
  // Unticking a curve takes it out of the plot.
  rows->topLevelItem(1)->setCheckState(CurveListView::kName, Qt::Unchecked);
  EXPECT_TRUE(app.CurveHidden(2));
  EXPECT_EQ(window.Plot()->Data().curves.size(), 1u);
}

TEST_F(WindowTest, TheResultWindowHeadsEachCommandsReport) {
  SimulateAnalyticalCycle();
  Choose("mnuFindPeak_Click");
  Choose("mnuNextCurve_Click");
  auto* view = dynamic_cast<ResultView*>(window.WindowOf(app.Result())->widget());
  ASSERT_NE(view, nullptr);
  const QString text = view->toPlainText();
  const qsizetype peaks = text.indexOf("──────── Find Peak ────────");
  const qsizetype next = text.indexOf("──────── Next Curve ────────\nCurve Number is  1");
  EXPECT_GE(peaks, 0) << text.toStdString();
  EXPECT_GT(next, peaks) << text.toStdString();
  // Without the headings the window holds exactly what the program printed.
  QString printed = text;
  printed.remove(QRegularExpression("──────── [A-Za-z ]+ ────────\n"));
  EXPECT_EQ(printed.toStdString(), app.Result().Text());
}

TEST(OnePictureTest, TheClipboardGetsThePictureThePlotWindowShows) {
  QtPlatform platform;
  platform.messageSink = [](const std::string&) {};
  App app(platform);
  MDIForm1 window(app);
  platform.SetPictureSize([&window] { return window.PlotPictureSize(); });
  window.show();
  window.ChooseMenu("mnuSimulate_Click", "&Simulate");
  WaitForRunOf(window);
  ASSERT_NE(window.Plot(), nullptr);
  window.ChooseMenu("mnuCopyto_Click", "&Copy to Clipboard");
  const QImage copied = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(copied.size(), window.PlotPictureSize());
  const QImage shown =
      QImage::fromData(window.Plot()->PictureBytes("plot.png", copied.size()), "PNG")
          .convertToFormat(QImage::Format_RGB32);
  EXPECT_TRUE(copied == shown);
}

}  // namespace
}  // namespace qalto
