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

TEST_F(WindowTest, PlotWindowPaintsTheDrawingAtAnySizeAndHandsItToThePlatform) {
  Choose("mnuSimulate_Click");
  QWidget* view = window.WindowOf(app.Plot())->widget();
  for (QSize size : {QSize(400, 300), QSize(900, 500)}) {
    view->resize(size);
    QImage image = view->grab().toImage();
    EXPECT_EQ(image.size(), size * view->devicePixelRatio());
    // Frame, ticks, labels and the curve are drawn; the bottom right corner stays white.
    EXPECT_GT(DarkPixels(image), size.width());
    EXPECT_EQ(qGray(image.pixel(image.width() - 2, image.height() - 2)), 255);
    EXPECT_EQ(window.PlotPictureSize(), size);
  }
  Choose("mnuCopyto_Click");
  Choose("mnuPrint_Click");
  ASSERT_EQ(platform.copiedPictures.size(), 1u);
  EXPECT_EQ(platform.printedPictures.size(), 1u);
  EXPECT_EQ(platform.copiedPictures[0].size(), app.Plot().surface.Items().size());
}

// The Qt platform with its message boxes recorded instead of shown, and a frame with a
// caption to copy and print.
class QtPlatformTest : public ::testing::Test, public QtPlatform {
 protected:
  QtPlatformTest() {
    surface.SetScale(-1, 1, 1, -1);
    surface.DrawRectangle(-0.9, 0.9, 0.9, -0.9);
    surface.SetPosition(-0.8, 0.8);
    surface.Print("I (A)");
  }
  void MessageBox(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
  RecordingSurface surface;
};

TEST_F(QtPlatformTest, ClipboardGetsThePictureAsImageAndSvg) {
  SetPictureSize([] { return QSize(320, 240); });
  CopyPicture(surface);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  QImage image = qvariant_cast<QImage>(data->imageData());
  EXPECT_EQ(image.size(), QSize(320, 240));
  EXPECT_GT(DarkPixels(image), 320);
  EXPECT_TRUE(data->data("image/svg+xml").contains("<svg"));
}

TEST_F(QtPlatformTest, PrintWithoutPrinterWritesAPdfAndSaysWhere) {
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a real printer is set up";
  QTemporaryDir folder;
  SetPdfFolder(folder.path());
  PrintPicture(surface);
  QFile pdf(LastPdf());
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(4) == "%PDF");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find(LastPdf().toStdString()), std::string::npos);
}

TEST(QtFileFilterTest, FiltersBecomeQtFilters) {
  const std::pair<const char*, const char*> cases[] = {
      {"Text (*.txt)|*.txt|All (*.*)|*.*", "Text (*.txt);;All (*)"},
      {"Parameter|*.par", "Parameter (*.par)"},
      {"Data (*.csv;*.txt)|*.csv;*.txt", "Data (*.csv *.txt)"},
      {"", ""},
      {"Anything", "Anything (*)"}};
  for (auto [filter, qt] : cases)
    EXPECT_EQ(QtFileFilter(filter), qt) << filter;
}

}  // namespace
}  // namespace qalto
