// The Qt tests run without a display, on Qt's offscreen platform, unless told otherwise.

#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv) {
  // The offscreen platform cannot size real windows and says so for every window shown.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& m) {
    if (!m.contains("does not support propagateSizeHints")) qt_message_output(type, context, m);
  });
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  // Recent files and dialog folders go to a test location, never into the user's settings.
  QStandardPaths::setTestModeEnabled(true);
  QApplication::setOrganizationName("QaltoTests");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
