#include "desktop/menu_bar.h"

#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>

#include "desktop/qt_platform.h"

#include "window_fixture.h"

namespace qalto {
namespace {

// The menu's actions, in display order, against the items of the tree; the window's own file
// commands (sessions, pictures, recent files) stand beside them.
void ExpectSameItems(const QList<QAction*>& all, const std::vector<MenuItem>& items,
                     const std::string& where) {
  QList<QAction*> actions;
  for (QAction* action : all) {
    if (!action->property("windowCommand").toBool()) actions.push_back(action);
  }
  ASSERT_EQ(actions.size(), static_cast<qsizetype>(items.size())) << where;
  for (size_t i = 0; i < items.size(); ++i) {
    const MenuItem& item = items[i];
    QAction* action = actions[static_cast<qsizetype>(i)];
    SCOPED_TRACE(where + " / " + item.caption);
    EXPECT_EQ(action->isSeparator(), item.IsSeparator());
    if (item.IsSeparator()) continue;
    EXPECT_EQ(action->text().toStdString(), item.caption);  // access keys kept
    EXPECT_EQ(action->isEnabled(), item.enabled);
    EXPECT_EQ(action->menu() != nullptr, !item.items.empty());
    if (action->menu() != nullptr)
      ExpectSameItems(action->menu()->actions(), item.items, item.caption);
  }
}

TEST_F(WindowTest, MenuBarFollowsTheMenuTree) {
  ExpectSameItems(window.menuBar()->actions(), app.Menus(), "menu bar");
  EXPECT_FALSE(Action("mnuDisplay")->isEnabled());
  EXPECT_FALSE(Action("mnuAnalyze")->isEnabled());
  EXPECT_TRUE(Action("mnuRun")->isEnabled());

  Choose("mnuSimulate_Click");
  EXPECT_TRUE(Action("mnuDisplay")->isEnabled());
  EXPECT_TRUE(Action("mnuAnalyze")->isEnabled());
  EXPECT_TRUE(Action("mnuManualFit_Click")->isEnabled());
  EXPECT_TRUE(Action("mnuManualSeparate_Click")->isEnabled());
  ExpectSameItems(window.menuBar()->actions(), app.Menus(), "after Simulate");
}

TEST(MenuBarTest, AnItemWithoutACommandSaysSo) {
  RecordingPlatform platform;
  App app(platform);
  // Every item of the program has its command; an item added to the tree without one stays
  // visible and tells the user when chosen.
  app.Menus().back().items.push_back({"&Tutorial", "mnuTutorial_Click", true, {}, {}, false});
  MDIForm1 window(app);
  QAction* tutorial = window.Menus().Action("mnuTutorial_Click");
  ASSERT_NE(tutorial, nullptr);
  EXPECT_TRUE(tutorial->isVisible());
  tutorial->trigger();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0], "\"Tutorial\" is not available in this version.");
}

TEST_F(WindowTest, TheoreticalPeakFollowsDigitalSimulationAtOnce) {
  EXPECT_FALSE(Action("mnuTheoPeak_Click")->isEnabled());  // digital mode at the start
  Choose("mnuMechamism_Click");
  auto* digital = Widget<QCheckBox>(app.Mech(), app.Mech().CheckDigital);
  digital->click();
  EXPECT_FALSE(app.model().DigitalSimulation);
  EXPECT_TRUE(Action("mnuTheoPeak_Click")->isEnabled());  // at once, without leaving the window
  digital->click();
  EXPECT_FALSE(Action("mnuTheoPeak_Click")->isEnabled());
  // Activating the main window changes nothing more.
  QWidget other;
  auto activate = [](QWidget& widget) {
    widget.show();
    widget.activateWindow();
    return QTest::qWaitForWindowActive(&widget);
  };
  if (activate(other) && activate(window)) {
    EXPECT_FALSE(Action("mnuTheoPeak_Click")->isEnabled());
  }
}

TEST_F(WindowTest, ShortcutsAreTheOnesADesktopUserExpectsAndNeverShared) {
  QAction* open = window.findChild<QAction*>("OpenSession");
  QAction* save = window.findChild<QAction*>("SaveSession");
  ASSERT_TRUE(open != nullptr && save != nullptr);
  EXPECT_EQ(open->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
  EXPECT_EQ(save->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
  EXPECT_EQ(Action("mnuSimulate_Click")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
  EXPECT_EQ(Action("mnuManual_Click")->shortcut(), QKeySequence(Qt::Key_F1));
  // Two actions on one key would make Qt run neither.
  QSet<QString> keys;
  for (QAction* action : window.findChildren<QAction*>()) {
    if (action->shortcut().isEmpty()) continue;
    QString key = action->shortcut().toString();
    EXPECT_FALSE(keys.contains(key)) << key.toStdString();
    keys.insert(key);
  }
}

TEST(RecentFilesTest, SessionsSavedGoFirstIntoTheFileMenuAndOpenAgain) {
  QSettings().remove("dialogs/recent");
  QtPlatform platform;
  platform.messageSink = [](const std::string&) {};
  App app(platform);
  MDIForm1 window(app);
  QMenu* recent = window.findChild<QMenu*>("RecentFiles");
  ASSERT_NE(recent, nullptr);
  EXPECT_FALSE(recent->isEnabled());
  QTemporaryDir folder;
  for (int i = 1; i <= QtPlatform::kRecentFiles + 1; ++i)
    platform.AddRecentFile(folder.filePath(QString("data%1.csv").arg(i)));
  QString session = folder.filePath("ec.qs");
  ASSERT_TRUE(window.SaveSession(session));
  ASSERT_TRUE(window.SaveSession(session));  // once in the list, however often it is saved
  QList<QAction*> items = recent->actions();
  ASSERT_EQ(items.size(), QtPlatform::kRecentFiles);
  EXPECT_EQ(items[0]->text(), "&1 ec.qs");
  EXPECT_EQ(items[0]->toolTip(), QFileInfo(session).absoluteFilePath());
  EXPECT_EQ(items[1]->text(), "&2 data9.csv");
  EXPECT_EQ(items.back()->text(), "&8 data3.csv");  // the oldest fall off the list
  items[0]->trigger();
  EXPECT_EQ(window.StatusText()->text(), "Session opened from " + items[0]->toolTip());
}

TEST_F(WindowTest, HelpGoesToTheBrowserAndExitClosesTheProgram) {
  Choose("mnuHomepage_Click");
  Choose("mnuManual_Click");
  EXPECT_EQ(platform.browserAddresses, (std::vector<std::string>{kHomePage, "./qalto.html"}));
  QFile manual(QString(QALTO_PROGRAM_FOLDER) + "/qalto.html");
  ASSERT_TRUE(manual.open(QIODevice::ReadOnly));
  EXPECT_TRUE(manual.readAll().contains("<title>Qalto manual</title>"));
  Choose("mnuExit_Click");
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace qalto
