// The first window on the offscreen platform: the 3D view shows the loaded
// mesh through the render modes, and the side lists drive the document.
#include <gtest/gtest.h>

#include <QApplication>
#include <QAction>
#include <QComboBox>
#include <QTest>
#include <QWheelEvent>

#include "core/application.h"
#include "core/mesh_files.h"
#include "render/render_state.h"
#include "shell/main_window.h"
#include "shell/refresh_bus.h"
#include "tests/support/scripted_prompter.h"

namespace mok::shell {
namespace {

class FirstWindow : public ::testing::Test {
 protected:
  FirstWindow() : app(settings, prompter, prompter, bus) {
    prompter.unscriptedAnswer = Answer::Yes;
    app.ReadStartupSettings();
    std::string sample = std::string(MOK_SOURCE_DIR) + "/resources/samples/Sampler_d.3d";
    EXPECT_TRUE(LoadMesh(app.doc(), sample, prompter).ok());
    window = std::make_unique<MainWindow>(app);
    QObject::connect(&bus, &RefreshBus::listsStale, window.get(), &MainWindow::refillLists);
    QObject::connect(&bus, &RefreshBus::refreshRequested, window.get(), &MainWindow::refresh);
    window->resize(640, 480);
    window->show();
    app.doc().NotifyMeshChanged();
    QApplication::processEvents();
  }

  int DrawnPixels() {
    const FrameBuffer& frame = window->findChild<IsoViewWidget*>()->view().frame();
    int drawn = 0;
    for (std::int32_t id : frame.ids) drawn += id >= 0 ? 1 : 0;
    return drawn;
  }

  QComboBox* List(int index) { return window->findChildren<QComboBox*>().at(index); }

  MemorySettings settings;
  test::ScriptedPrompter prompter;
  RefreshBus bus;
  Application app;
  std::unique_ptr<MainWindow> window;
};

TEST_F(FirstWindow, ShowsTheMeshAndFillsTheLists) {
  EXPECT_GT(DrawnPixels(), 1000);
  QComboBox* frames = List(1);
  QComboBox* modes = List(2);
  EXPECT_EQ(frames->count(), 24);
  EXPECT_EQ(modes->count(), 10);
  EXPECT_EQ(modes->currentText().toStdString(), "Textured");
  EXPECT_EQ(List(0)->itemText(3).toStdString(), "Empty Slot 3");
}

TEST_F(FirstWindow, ChoosingAFrameMovesTheDocumentAndARefusedModeStaysOff) {
  List(1)->setCurrentIndex(5);
  QApplication::processEvents();
  EXPECT_EQ(app.doc().currentFrame, 5);
  List(2)->setCurrentIndex(kModePhongShaded);
  QApplication::processEvents();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0], "Phong Shading is not available if there are no phong maps loaded.");
  EXPECT_EQ(List(2)->currentIndex(), kModeTextured);
  EXPECT_EQ(RenderStateOf(app).currentMode, kModeTextured);
}

TEST_F(FirstWindow, LeftDragTurnsTheTrackballAndTheWheelZooms) {
  for (QAction* action : window->findChildren<QAction*>())
    if (action->text() == "Camera Toggle") action->trigger();
  ASSERT_EQ(app.flags.cameraActive, 1);
  IsoViewWidget* view = window->findChild<IsoViewWidget*>();
  Camera before = view->view().camera();
  QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
  QTest::mouseMove(view, QPoint(340, 210));
  QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, QPoint(340, 210));
  QApplication::processEvents();
  EXPECT_NE(GetCameraState(view->view().camera()).values, GetCameraState(before).values);
  const float distance = view->view().camera().distance;
  QWheelEvent wheel(QPointF(300, 200), view->mapToGlobal(QPointF(300, 200)), QPoint(), QPoint(0, 120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(view, &wheel);
  EXPECT_NE(view->view().camera().distance, distance);
}

}  // namespace
}  // namespace mok::shell
