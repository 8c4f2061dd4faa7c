#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include "desktop/file_filter.h"
#include "desktop/qt_platform.h"
#include "window_fixture.h"

namespace qalto {
namespace {

int DarkPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x)
      count += qGray(image.pixel(x, y)) < 128;
  }
  return count;
}

// A frame and a diagonal in a window whose y axis runs upwards, with a caption.
void DrawPicture(RecordingSurface& surface) {
  surface.Show();
  surface.Clear();
  surface.SetScale(-1, 1, 1, -1);
  surface.DrawRectangle(-0.9, 0.9, 0.9, -0.9);
  surface.DrawLine(-0.9, -0.9, 0.9, 0.9);
  surface.SetPosition(-0.8, 0.8);
  surface.Print("I (A)");
}

TEST_F(WindowTest, PlotWindowPaintsTheDrawingAtAnySize) {
  Choose("mnuSimulate_Click");
  FormWindow* plotWindow = window.WindowOf(app.Plot());
  ASSERT_NE(plotWindow, nullptr);
  EXPECT_TRUE(plotWindow->isVisible());
  EXPECT_EQ(plotWindow->windowTitle(), "Plot");
  QWidget* view = plotWindow->widget();
  for (QSize size : {QSize(400, 300), QSize(900, 500)}) {
    view->resize(size);
    QImage image = view->grab().toImage();
    EXPECT_EQ(image.size(), size * view->devicePixelRatio());
    // Frame, ticks, labels and the curve are drawn; the bottom right corner stays white.
    EXPECT_GT(DarkPixels(image), size.width());
    EXPECT_EQ(qGray(image.pixel(image.width() - 2, image.height() - 2)), 255);
    EXPECT_EQ(window.PlotPictureSize(), size);
  }
  // The plot comes back when it is drawn again after the user closed it.
  plotWindow->close();
  EXPECT_TRUE(plotWindow->isHidden());
  Choose("mnuPlot_Click");
  EXPECT_FALSE(plotWindow->isHidden());
}

TEST_F(WindowTest, ResizingThePlotDrawsItAgain) {
  Choose("mnuSimulate_Click");
  QWidget* view = window.WindowOf(app.Plot())->widget();
  Form* options = app.FindForm("formOption");
  ASSERT_NE(options, nullptr);
  // The grid option is read at every plot, OK pressed or not.
  static_cast<CheckBox*>(options->Find("CheckGrid"))->SetChecked(true);
  EXPECT_FALSE(app.model().ShowGrid);
  view->resize(view->width() + 40, view->height() + 30);
  EXPECT_TRUE(app.model().ShowGrid);
}

TEST_F(WindowTest, CopyAndPrintHandThePlotToThePlatform) {
  window.RunEvent(nullptr, [&] { DrawPicture(app.Plot().surface); });
  Choose("mnuCopyto_Click");
  Choose("mnuPrint_Click");
  ASSERT_EQ(platform.copiedPictures.size(), 1u);
  ASSERT_EQ(platform.printedPictures.size(), 1u);
  EXPECT_EQ(platform.copiedPictures[0].size(), app.Plot().surface.Items().size());
}

// The Qt platform with its message boxes recorded instead of shown.
class QuietQtPlatform : public QtPlatform {
 public:
  void MessageBox(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

TEST(QtPlatformTest, ClipboardGetsThePictureAsImageAndSvg) {
  RecordingSurface surface;
  DrawPicture(surface);
  QuietQtPlatform platform;
  platform.SetPictureSize([] { return QSize(320, 240); });
  platform.CopyPicture(surface);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  QImage image = qvariant_cast<QImage>(data->imageData());
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(320, 240));
  EXPECT_GT(DarkPixels(image), 320);
  EXPECT_TRUE(data->data("image/svg+xml").contains("<svg"));
}

TEST(QtPlatformTest, PrintWithoutPrinterWritesAPdf) {
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a real printer is set up";
  RecordingSurface surface;
  DrawPicture(surface);
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QuietQtPlatform platform;
  platform.SetPdfFolder(folder.path());
  platform.PrintPicture(surface);
  ASSERT_FALSE(platform.LastPdf().isEmpty());
  QFile pdf(platform.LastPdf());
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(4) == "%PDF");
  EXPECT_GT(pdf.size(), 1000);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].find(platform.LastPdf().toStdString()), std::string::npos);
}

TEST(QtPlatformTest, FileFiltersBecomeQtFilters) {
  EXPECT_EQ(QtFileFilter("Text (*.txt)|*.txt|All (*.*)|*.*"), "Text (*.txt);;All (*)");
  EXPECT_EQ(QtFileFilter("Parameter|*.par"), "Parameter (*.par)");
  EXPECT_EQ(QtFileFilter("csv|*.csv|all|*.*"), "csv (*.csv);;all (*)");
  EXPECT_EQ(QtFileFilter("parameter (*.par)|*.par|all|*.*"), "parameter (*.par);;all (*)");
  EXPECT_EQ(QtFileFilter("Data (*.csv;*.txt)|*.csv;*.txt"), "Data (*.csv *.txt)");
  EXPECT_EQ(QtFileFilter(""), "");
  EXPECT_EQ(QtFileFilter("Anything"), "Anything (*)");
}

}  // namespace
}  // namespace qalto
