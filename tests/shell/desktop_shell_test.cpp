// Files dropped on a window and the Recent Files menu, on the offscreen
// platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "app/recent_files.h"
#include "core/application.h"
#include "shell/file_drops.h"
#include "shell/recent_files_menu.h"
#include "tests/support/scripted_prompter.h"

namespace mok::shell {
namespace {

const std::string kSample = std::string(MOK_SOURCE_DIR) + "/resources/samples/Sampler/Models/Sampler_d.3d";

class DesktopShell : public ::testing::Test {
 protected:
  DesktopShell() { prompter.unscriptedAnswer = Answer::No; }
  MemorySettings settings;
  test::ScriptedPrompter prompter;
  NullRefreshSink refresh;
  Application app{settings, prompter, prompter, refresh};
};

QMimeData* FilesDrag(const std::vector<std::string>& files) {
  auto* data = new QMimeData;
  QList<QUrl> urls;
  for (const std::string& file : files) urls.push_back(QUrl::fromLocalFile(QString::fromStdString(file)));
  data->setUrls(urls);
  return data;
}

TEST_F(DesktopShell, ADroppedMeshOpensAndOtherFilesAreRefused) {
  QWidget window;
  AcceptFileDrops(app, window);
  EXPECT_TRUE(window.acceptDrops());
  std::unique_ptr<QMimeData> text(FilesDrag({"/tmp/notes.txt"}));
  QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, text.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &refused);
  EXPECT_FALSE(refused.isAccepted());

  std::unique_ptr<QMimeData> mesh(FilesDrag({"/tmp/notes.txt", kSample}));
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, mesh.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, mesh.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &drop);
  EXPECT_TRUE(drop.isAccepted());
  EXPECT_EQ(app.doc().meshLoaded, 0);  // opens after the drag has ended
  QApplication::processEvents();
  EXPECT_EQ(app.doc().meshLoaded, 1);
  EXPECT_EQ(app.currentFile, kSample);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(DesktopShell, RecentFilesMenuListsTheSettingsAndOpensAChosenEntry) {
  RecentFilesMenu empty(app, nullptr);
  ASSERT_EQ(empty.actions().size(), 1);
  EXPECT_FALSE(empty.actions()[0]->isEnabled());
  AddRecentFile(settings, "/no/such/mesh_d.3d");
  AddRecentFile(settings, kSample);
  RecentFilesMenu menu(app, nullptr);
  ASSERT_EQ(menu.actions().size(), 2);
  EXPECT_EQ(menu.actions()[1]->text().toStdString(), "&2 /no/such/mesh_d.3d");
  menu.actions()[0]->trigger();
  EXPECT_EQ(app.currentFile, kSample);
  menu.refill();
  menu.actions()[1]->trigger();
  EXPECT_EQ(prompter.messages, std::vector<std::string>{kRecentFileMissingMessage + std::string("/no/such/mesh_d.3d")});
  menu.refill();
  EXPECT_EQ(menu.actions().size(), 1);
}

}  // namespace
}  // namespace mok::shell
