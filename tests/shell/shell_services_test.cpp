// The Qt services behind the library's interfaces, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QListView>
#include <QTest>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <vector>

#include "shell/qt_prompter.h"
#include "shell/qt_settings.h"
#include "shell/refresh_bus.h"

namespace mok::shell {
namespace {

TEST(QtFilter, PipeListsBecomeQtFilters) {
  EXPECT_EQ(QtFilterFromPipes("Unreal Raw Model (*.3d)|*.3d|All Files (*.*)|*.*||").toStdString(),
            "Unreal Raw Model (*.3d);;All Files (*.*)");
  EXPECT_EQ(QtFilterFromPipes("Skins|*.pcx;*.bmp||").toStdString(), "Skins (*.pcx *.bmp)");
  // Qt splits the patterns at spaces only; with the semicolons kept the
  // first filter of the skin and map dialogs listed no file.
  EXPECT_EQ(QtFilterFromPipes("Supported Formats (*.pcx;*.bmp;*.tga)|*.pcx;*.bmp;*.tga|Targa (*.tga)|*.tga||")
                .toStdString(),
            "Supported Formats (*.pcx *.bmp *.tga);;Targa (*.tga)");
}

// The system titles its dialogs "Open" and "Save As"; open dialogs that
// need not find the file take a typed name, and only the skin's Save As
// replaces a file without asking.
TEST(QtFileDialog, TakesTitleModeFiltersAndFolderFromTheSpec) {
  QTemporaryDir folder;
  FileDialogSpec open{.filter = "Supported Formats (*.pcx;*.bmp)|*.pcx;*.bmp|All Files (*.*)|*.*||",
                      .initialName = "*.pcx;*.bmp",
                      .initialDir = folder.path().toStdString()};
  QFileDialog dialog;
  SetUpFileDialog(dialog, open);
  EXPECT_EQ(dialog.windowTitle(), "Open");
  EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
  EXPECT_EQ(dialog.nameFilters(), QStringList({"Supported Formats (*.pcx *.bmp)", "All Files (*.*)"}));
  EXPECT_EQ(dialog.directory().absolutePath(), QDir(folder.path()).absolutePath());
  open.mustExist = true;
  SetUpFileDialog(dialog, open);
  EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);

  FileDialogSpec save{.save = true, .filter = "Targa (*.tga)|*.tga|All Files (*.*)|*.*||",
                      .initialName = folder.filePath("skin.tga").toStdString(), .initialDir = {}};
  QFileDialog saveDialog;
  SetUpFileDialog(saveDialog, save);
  EXPECT_EQ(saveDialog.windowTitle(), "Save As");
  EXPECT_EQ(saveDialog.acceptMode(), QFileDialog::AcceptSave);
  EXPECT_FALSE(saveDialog.testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(saveDialog.directory().absolutePath(), QDir(folder.path()).absolutePath());
  save.confirmOverwrite = false;
  SetUpFileDialog(saveDialog, save);
  EXPECT_TRUE(saveDialog.testOption(QFileDialog::DontConfirmOverwrite));
}

// Qt's own dialog lists the files the first filter names.
TEST(QtFileDialog, TheSupportedFormatsFilterListsItsFiles) {
  QTemporaryDir folder;
  for (const char* name : {"a.pcx", "b.tga", "c.txt"}) QFile(folder.filePath(name)).open(QIODevice::WriteOnly);
  FileDialogSpec open{.filter = "Supported Formats (*.pcx;*.bmp;*.tga)|*.pcx;*.bmp;*.tga|All Files (*.*)|*.*||",
                      .initialName = "*.pcx;*.bmp;*.tga",
                      .initialDir = folder.path().toStdString()};
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  SetUpFileDialog(dialog, open);
  dialog.show();
  auto* list = dialog.findChild<QListView*>("listView");
  ASSERT_NE(list, nullptr);
  QStringList shown;
  for (int wait = 0; wait < 200 && shown.size() < 2; ++wait) {
    QTest::qWait(10);
    shown.clear();
    for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row)
      shown << list->model()->index(row, 0, list->rootIndex()).data().toString();
  }
  shown.sort();
  EXPECT_EQ(shown, QStringList({"a.pcx", "b.tga"}));
  dialog.reject();
}

TEST(QtSettings, ValuesRoundTripAndWrongKindsReadAsMissing) {
  QStandardPaths::setTestModeEnabled(true);
  QtSettingsStore store;
  store.writeInt("Colors32", "Color-3", static_cast<std::int32_t>(0xFF8080u));
  store.writeString("Project", "LoadDir", "/tmp/some folder");
  store.writeString("Preferences", "Quick Exit", "not a number");
  EXPECT_EQ(static_cast<std::uint32_t>(*store.readInt("Colors32", "Color-3")), 0xFF8080u);
  EXPECT_EQ(*store.readString("Project", "LoadDir"), "/tmp/some folder");
  EXPECT_FALSE(store.readInt("Preferences", "Quick Exit").has_value());
  EXPECT_FALSE(store.readInt("Preferences", "Never Written").has_value());
  EXPECT_EQ(Read(store, setting::QuickExit), 0);
  EXPECT_EQ(ReadCustomColor(store, 3), 0xFF8080u);
}

// A sent refresh is drawn before Refresh returns; a posted one waits for the
// event loop.
TEST(RefreshBus, SentRequestsArriveAtOnceAndPostedOnesLater) {
  RefreshBus bus;
  std::vector<int> seen;
  QObject::connect(&bus, &RefreshBus::refreshRequested, [&](const RefreshRequest& r) { seen.push_back(r.bits()); });
  bus.Refresh({PaneSet::All(), kRefreshFinal, Redraw::RenderAndRepaint, Delivery::Post});
  bus.Refresh({Pane::Skin | Pane::Iso, kRefreshPaint, Redraw::RenderOnly, Delivery::Send});
  EXPECT_EQ(seen, std::vector<int>{0x13});
  QApplication::processEvents();
  EXPECT_EQ(seen, (std::vector<int>{0x13, 0x0F}));
}

}  // namespace
}  // namespace mok::shell

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Korvane");
  QApplication::setApplicationName("MOK");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
