#include "desktop/menu_bar.h"

#include <QFile>
#include <QMenu>
#include <QMenuBar>

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
  app.Menus().back().items.push_back({"&Tutorial", "mnuTutorial_Click", true, {}});
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

TEST_F(WindowTest, ExitClosesTheProgram) {
  Choose("mnuExit_Click");
  EXPECT_FALSE(window.isVisible());
}

TEST(ManualTest, TheManualLiesBesideTheProgram) {
  QFile manual(QString(QALTO_PROGRAM_FOLDER) + "/qalto.html");
  ASSERT_TRUE(manual.open(QIODevice::ReadOnly));
  QByteArray page = manual.readAll();
  EXPECT_TRUE(page.contains("<title>Qalto manual</title>"));
  for (const char* section : {"id=\"forms\"", "id=\"menus\"", "id=\"data\"", "id=\"scripts\""}) {
    EXPECT_TRUE(page.contains(section)) << section;
  }
}

TEST_F(WindowTest, HelpGoesToTheBrowserAndAboutOpensItsBox) {
  Choose("mnuHomepage_Click");
  Choose("mnuManual_Click");
  ASSERT_EQ(platform.browserAddresses.size(), 2u);
  EXPECT_EQ(platform.browserAddresses[0], kHomePage);
  EXPECT_EQ(platform.browserAddresses[1], "./qalto.html");
  Choose("mnuAbout_Click");
  frmAbout& about = app.About();
  FormWindow* box = window.WindowOf(about);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isVisible());
  EXPECT_EQ(box->windowTitle(), "About Qalto");
  EXPECT_TRUE(Widget<QLabel>(about, about.lblVersion)->text().startsWith("Version "));
  EXPECT_TRUE(Widget<QLabel>(about, about.lblDescription)->text().contains("Qalto.Doc.htm"));
  Widget<QPushButton>(about, about.cmdOK)->click();
  EXPECT_FALSE(box->isVisible());
}

}  // namespace
}  // namespace qalto
