#include "desktop/menu_bar.h"

#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <map>

#include "desktop/qt_platform.h"
#include "window_fixture.h"

namespace qalto {
namespace {

// The menu's actions, in display order, against the items of the tree; the window's own file
// commands (sessions, pictures, recent files) stand beside them.
void ExpectSameItems(const QList<QAction*>& all, const std::vector<MenuItem>& items) {
  QList<QAction*> actions;
  for (QAction* action : all) {
    if (!action->property("windowCommand").toBool()) actions.push_back(action);
  }
  ASSERT_EQ(actions.size(), static_cast<qsizetype>(items.size()));
  for (size_t i = 0; i < items.size(); ++i) {
    QAction* action = actions[static_cast<qsizetype>(i)];
    SCOPED_TRACE(items[i].caption);
    EXPECT_EQ(action->isSeparator(), items[i].IsSeparator());
    if (items[i].IsSeparator()) continue;
    EXPECT_EQ(action->text().toStdString(), items[i].caption);  // access keys kept
    EXPECT_EQ(action->isEnabled(), items[i].enabled);
    ASSERT_EQ(action->menu() != nullptr, !items[i].items.empty());
    if (action->menu() != nullptr) ExpectSameItems(action->menu()->actions(), items[i].items);
  }
}

TEST_F(WindowTest, MenuBarFollowsTheMenuTreeAndTheProgramsState) {
  ExpectSameItems(window.menuBar()->actions(), app.Menus());
  Choose("mnuSimulate_Click");  // enables the Display and Analyze menus
  ExpectSameItems(window.menuBar()->actions(), app.Menus());
  // "Theoretical Peak" is enabled exactly while digital simulation is off, at once.
  EXPECT_FALSE(Action("mnuTheoPeak_Click")->isEnabled());
  Choose("mnuMechamism_Click");
  CheckDigital(false);
  EXPECT_TRUE(Action("mnuTheoPeak_Click")->isEnabled());
  CheckDigital(true);
  EXPECT_FALSE(Action("mnuTheoPeak_Click")->isEnabled());
}

TEST(MenuBarTest, AnItemWithoutACommandSaysSo) {
  RecordingPlatform platform;
  App app(platform);
  app.Menus().back().items.push_back({"&Tutorial", "mnuTutorial_Click", true, {}, {}, false});
  MDIForm1 window(app);
  window.Menus().Action("mnuTutorial_Click")->trigger();
  EXPECT_EQ(platform.messages,
            std::vector<std::string>{"\"Tutorial\" is not available in this version."});
}

TEST_F(WindowTest, ShortcutsAreTheOnesADesktopUserExpectsAndNeverShared) {
  EXPECT_EQ(Action("mnuOpenSession_Click")->shortcut(), QKeySequence("Ctrl+O"));
  EXPECT_EQ(Action("mnuSaveSession_Click")->shortcut(), QKeySequence("Ctrl+S"));
  EXPECT_EQ(Action("mnuSimulate_Click")->shortcut(), QKeySequence("Ctrl+R"));
  EXPECT_EQ(Action("mnuManual_Click")->shortcut(), QKeySequence(Qt::Key_F1));
  EXPECT_EQ(Action("mnuExit_Click")->shortcut(), QKeySequence("Ctrl+Q"));
  EXPECT_EQ(Action("mnuPrint_Click")->shortcut(), QKeySequence("Ctrl+P"));
  EXPECT_EQ(Action("mnuUndo_Click")->shortcut(), QKeySequence("Ctrl+Z"));
  // No two actions share a shortcut.
  std::map<QString, QString> owners;
  for (QAction* action : window.findChildren<QAction*>()) {
    if (action->shortcut().isEmpty()) continue;
    auto [place, fresh] = owners.emplace(action->shortcut().toString(), action->text());
    EXPECT_TRUE(fresh) << action->shortcut().toString().toStdString() << ": "
                       << action->text().toStdString() << " and " << place->second.toStdString();
  }
}

// The access key of each item of a menu is its own: the item opens with one key press.
void ExpectUniqueAccessKeys(const QList<QAction*>& actions, const QString& menu) {
  std::map<QChar, QString> keys;
  for (QAction* action : actions) {
    const QString text = action->text();
    const qsizetype mark = text.indexOf('&');
    if (action->isSeparator() || mark < 0 || mark + 1 >= text.size()) continue;
    auto [place, fresh] = keys.emplace(text[mark + 1].toLower(), text);
    EXPECT_TRUE(fresh) << menu.toStdString() << ": " << text.toStdString() << " and "
                       << place->second.toStdString();
    if (action->menu() != nullptr) ExpectUniqueAccessKeys(action->menu()->actions(), text);
  }
}

TEST_F(WindowTest, EveryMenuHasItsOwnAccessKeys) {
  ExpectUniqueAccessKeys(window.menuBar()->actions(), "menu bar");
  QMenu* windows = window.findChild<QMenu*>("mnuWindow");
  ASSERT_NE(windows, nullptr);
  window.findChild<QAction*>("TileWindows")->trigger();
  window.findChild<QAction*>("CascadeWindows")->trigger();
}

TEST(RecentFilesTest, SessionsSavedGoFirstIntoTheFileMenuAndOpenAgain) {
  QSettings().remove("dialogs/recent");
  QtPlatform platform;
  platform.messageSink = [](const std::string&) {};
  App app(platform);
  MDIForm1 window(app);
  QMenu* recent = window.findChild<QMenu*>("RecentFiles");
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
  EXPECT_EQ(items.back()->text(), "&8 data3.csv");  // the oldest fall off the list
  items[0]->trigger();
  WaitForRunOf(window);
  EXPECT_EQ(window.StatusText()->text(), "Session opened from " + items[0]->toolTip());
}

}  // namespace
}  // namespace qalto
