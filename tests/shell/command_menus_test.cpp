// The menus, keys, context menus and toolbar built from the command table on
// a bare main window over the sample mesh (offscreen).
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <cstdlib>
#include <set>

#include "app/command_table.h"
#include "core/mesh_files.h"
#include "panes/skin_view.h"
#include "raster/raster_context.h"
#include "shell/command_menus.h"
#include "shell/iso_view_widget.h"
#include "shell/recent_files_menu.h"
#include "shell/shortcuts_window.h"
#include "shell/toolbar_pictures.h"
#include "tests/core/mesh_test_support.h"
#include "tests/skin/skin_view_test_support.h"

namespace mok::shell {
namespace {

int IdOf(const QAction* action) { return action->isSeparator() ? 0 : action->data().toInt(); }

class CommandMenusTest : public ::testing::Test {
 protected:
  CommandMenusTest() : app(settings, prompter, prompter, refresh) {
    app.ReadStartupSettings();
    EXPECT_TRUE(LoadMesh(app.doc(), std::string(MOK_SOURCE_DIR) + "/resources/samples/Sampler/Models/Sampler_d.3d", prompter).ok());
    isoView = new IsoViewWidget(app, painter, &window);
    window.setCentralWidget(isoView);
    skinView = std::make_unique<SkinView>(app, raster, skinHost);
    skinView->Resize(160, 120);
    table.AttachViews(&isoView->view(), skinView.get());
    menus = &InstallCommandMenus(window, table, {[this] { ++swaps; }});
    window.resize(400, 300);
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  // Checks a menu's actions against entries of the table, submenus included.
  void ExpectMenu(const QMenu& menu, const std::vector<MenuEntry>& entries) {
    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(entries.size())) << menu.title().toStdString();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const QAction* action = actions[static_cast<qsizetype>(i)];
      const MenuEntry& entry = entries[i];
      if (entry.submenu != nullptr && std::string_view(entry.submenu) == kRecentFilesMenu) {
        EXPECT_NE(dynamic_cast<RecentFilesMenu*>(action->menu()), nullptr);
        EXPECT_EQ(action->text().toStdString(), entry.submenu);
        continue;
      }
      if (entry.submenu != nullptr) {
        ASSERT_NE(action->menu(), nullptr);
        EXPECT_EQ(action->text().toStdString(), entry.submenu);
        ExpectMenu(*action->menu(), entry.entries);
        continue;
      }
      ASSERT_EQ(IdOf(action), entry.id);
      if (entry.id != 0) ExpectAction(*action, *FindCommand(entry.id));
    }
  }

  void ExpectAction(const QAction& action, const CommandRow& row) {
    SCOPED_TRACE(row.id);
    EXPECT_EQ(action.text().toStdString(), MenuText(row, table.context()));
    QList<QKeySequence> keys;
    for (std::string_view key : row.keys) keys.append(KeySequenceOf(key));
    EXPECT_EQ(action.shortcuts(), keys);
    EXPECT_EQ(action.statusTip().toStdString(), row.prompt);
  }

  std::vector<int> ToolbarIds() {
    std::vector<int> ids;
    for (const QAction* action : menus->toolBar()->actions()) ids.push_back(IdOf(action));
    return ids;
  }

  MemorySettings settings;
  test::ScriptedPrompter prompter;
  test::RefreshRecorder refresh;
  Application app;
  Painter painter{app};
  RasterContext raster;  // the skin view's own rasterizer state
  viewtest::FakeHost skinHost;
  CommandTable table{app};
  QMainWindow window;
  IsoViewWidget* isoView;
  std::unique_ptr<SkinView> skinView;
  CommandMenus* menus;
  int swaps = 0;
};

TEST_F(CommandMenusTest, MenusContextMenusAndKeysMatchTheTable) {
  const QList<QAction*> bar = window.menuBar()->actions();
  ASSERT_EQ(bar.size(), static_cast<qsizetype>(MenuBar().size()));
  for (std::size_t i = 0; i < MenuBar().size(); ++i) {
    EXPECT_EQ(bar[static_cast<qsizetype>(i)]->text().toStdString(), MenuBar()[i].title);
    ExpectMenu(*bar[static_cast<qsizetype>(i)]->menu(), MenuBar()[i].entries);
  }
  for (const char* name : {"SkinBox", "IsoBox"}) {
    std::vector<MenuEntry> entries;
    for (int id : ContextMenu(name)) entries.push_back({id});
    ExpectMenu(*menus->contextMenu(name), entries);
  }
  // Every key works from the window, menu item or not.
  for (const CommandRow& row : CommandRows()) {
    ExpectAction(*menus->action(row.id), row);
    EXPECT_TRUE(row.keys.empty() || !menus->action(row.id)->associatedObjects().isEmpty()) << row.id;
  }
  EXPECT_EQ(KeySequenceOf("NumPad 9"), QKeySequence(Qt::KeypadModifier | Qt::Key_9));
  EXPECT_EQ(KeySequenceOf("`"), QKeySequence(Qt::Key_QuoteLeft));
  EXPECT_EQ(KeySequenceOf("Shift+1"), QKeySequence(Qt::ShiftModifier | Qt::Key_1));
}

TEST_F(CommandMenusTest, ToolbarFollowsTheModeCommandsAndKeysWorkFromAPane) {
  EXPECT_EQ(ToolbarIds(), ToolbarButtons(kToolbarCamera));
  isoView->setFocus();
  QTest::keyClick(isoView, Qt::Key_P);  // paint mode already: nothing
  EXPECT_EQ(ToolbarIds(), ToolbarButtons(kToolbarCamera));
  QTest::keyClick(isoView, Qt::Key_Q);
  EXPECT_EQ(app.flags.editMode, EditMode::Mapping);
  EXPECT_EQ(ToolbarIds(), ToolbarButtons(kToolbarMapping));
  QTest::keyClick(isoView, Qt::Key_Space);
  EXPECT_EQ(ToolbarIds(), ToolbarButtons(kToolbarCamera));
  EXPECT_TRUE(menus->action(32779)->isChecked());
  QTest::keyClick(isoView, Qt::Key_9, Qt::KeypadModifier);  // Zoom 2D Extents
  EXPECT_EQ(skinView->zoom, 3.375f);  // 0.9 x 120 / 32: the placeholder skin fills the view's height

  // Keys Qt treats specially still reach their commands.
  QSignalSpy done(menus, &CommandMenus::commandDone);
  const std::vector<std::pair<QKeyCombination, int>> keys{
      {Qt::Key_Tab, 32867},       {Qt::Key_Backspace, 32801},          {Qt::Key_QuoteLeft, 32796},
      {QKeyCombination(Qt::ShiftModifier, Qt::Key_C), 32796}, {QKeyCombination(Qt::ShiftModifier, Qt::Key_2), 32957},
      {Qt::Key_H, 32811}, {QKeyCombination(Qt::ControlModifier, Qt::Key_Up), 32793}};
  for (const auto& [key, id] : keys) {
    QTest::keyClick(isoView, key.key(), key.keyboardModifiers());
    ASSERT_FALSE(done.isEmpty()) << id;
    EXPECT_EQ(done.takeLast().at(0).toInt(), id);
  }
  EXPECT_EQ(app.flags.brushKind, BrushKind::Line);
}

TEST_F(CommandMenusTest, MenusShowTheUpdateRules) {
  QMenu* mapping = window.menuBar()->actions()[3]->menu();
  QAction* watch = menus->action(32875);
  app.flags.watching = true;
  emit mapping->aboutToShow();
  EXPECT_EQ(watch->text().toStdString(), "End Watch");
  EXPECT_FALSE(watch->isEnabled());  // no session link was made for this window

  menus->Trigger(32797);  // Select None
  EXPECT_FALSE(menus->action(32937)->isEnabled());
  menus->Trigger(32796);  // Select All
  EXPECT_TRUE(menus->action(32938)->isEnabled());
  menus->Trigger(32775);
  EXPECT_EQ(swaps, 1);
}

TEST_F(CommandMenusTest, EveryCommandRunsOnceOnTheSampleMesh) {
  for (const CommandRow& row : CommandRows())
    if (row.window != WindowAction::Close) menus->Trigger(row.id);
  auto* shortcuts = window.findChild<ShortcutsWindow*>();
  ASSERT_NE(shortcuts, nullptr);
  EXPECT_EQ(shortcuts->findChild<QTableWidget*>()->rowCount(), static_cast<int>(ShortcutLines().size()));
  menus->Trigger(57665);  // Exit: a bare window just closes
  EXPECT_FALSE(window.isVisible());
}

// The mean difference of two same-sized pictures over all channels, 0..255.
double MeanDifference(const QImage& a, const QImage& b) {
  const QImage first = a.convertToFormat(QImage::Format_ARGB32);
  const QImage second = b.convertToFormat(QImage::Format_ARGB32);
  double sum = 0;
  for (int y = 0; y < first.height(); ++y) {
    for (int x = 0; x < first.width(); ++x) {
      const QRgb p = first.pixel(x, y);
      const QRgb q = second.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q)) +
             std::abs(qAlpha(p) - qAlpha(q));
    }
  }
  return sum / (4.0 * first.width() * first.height());
}

TEST(ToolbarPictures, EveryButtonHasItsOwnPictureAtOneAndTwoTimes) {
  std::set<int> ids;
  for (int set : {kToolbarPaint, kToolbarMapping, kToolbarCamera})
    for (int id : ToolbarButtons(set))
      if (id != 0) ids.insert(id);
  std::vector<QImage> pictures;
  for (int id : ids) {
    QImage picture = ToolbarImage(id, 1);
    EXPECT_EQ(picture.size(), QSize(16, 15));
    for (const QImage& other : pictures) EXPECT_NE(picture, other) << id;
    pictures.push_back(picture);
    // The 2x picture is the same drawing: scaled down it is close to the 1x one.
    const QImage doubled = ToolbarImage(id, 2);
    EXPECT_EQ(doubled.size(), QSize(32, 30));
    EXPECT_EQ(doubled.deviceIndependentSize(), QSizeF(16, 15));
    EXPECT_LT(MeanDifference(doubled.scaled(16, 15, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), picture), 16)
        << id;
  }
}

}  // namespace
}  // namespace mok::shell
