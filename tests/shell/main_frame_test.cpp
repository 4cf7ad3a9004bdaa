// The real main window on the offscreen platform with the sample mesh: the
// four boxes laid out, the splitter, the side lists, the wheel and the close
// question.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QWheelEvent>

#include "app/preferences.h"
#include "core/application.h"
#include "core/changes.h"
#include "core/mesh_files.h"
#include "render/render_state.h"
#include "shell/main_frame.h"
#include "shell/refresh_bus.h"
#include "tests/shell/sample_window.h"
#include "tests/support/scripted_prompter.h"

namespace mok::shell {
namespace {

class MainFrameTest : public ::testing::Test, public SampleWindow {
 protected:
  MainFrameTest() : SampleWindow([](MemorySettings& seeded) { seeded.writeInt("Preferences", "Splitter", 5000); }) {
    EXPECT_TRUE(loaded);
  }
  QRect BoxRect(const Rect& rect) { return {rect.x, rect.y, rect.width, rect.height}; }

  int DrawnIsoPixels() {
    int drawn = 0;
    for (std::int32_t id : shell().isoBox().view().frame().ids) drawn += id >= 0 ? 1 : 0;
    return drawn;
  }

  // A left drag of the gradient box's grip to shell x.
  void DragSplitterTo(int x) {
    GradientBoxWidget& strip = shell().gradientBox();
    QTest::mousePress(&strip, Qt::LeftButton, Qt::NoModifier, QPoint(10, strip.height() - 20));
    EXPECT_TRUE(shell().splitterDragging());
    QTest::mouseMove(&shell(), QPoint(x, 100));
    QTest::mouseRelease(&shell(), Qt::LeftButton, Qt::NoModifier, QPoint(x, 100));
    QApplication::processEvents();
  }

  void ClickStripButton(Qt::MouseButton button, bool left) {
    GradientBoxWidget& strip = shell().gradientBox();
    QPoint point(left ? 3 : strip.width() - 3, strip.height() - 5);
    QTest::mousePress(&strip, button, Qt::NoModifier, point);
    QTest::mouseRelease(&strip, button, Qt::NoModifier, point);
    QApplication::processEvents();
  }

};

TEST_F(MainFrameTest, ShowsFourBoxesByTheLayoutAndFillsTheLists) {
  EXPECT_EQ(frame->windowTitle().toStdString(), "MOK v0.9b3 - Sampler_d.3d");
  EXPECT_EQ(frame->minimumSize(), QSize(516, 360));
  const PaneLayout& layout = shell().layout();
  EXPECT_EQ(layout.leftRect.width, (shell().width() - 24) / 2);
  EXPECT_EQ(shell().skinBox().geometry(), BoxRect(layout.leftRect));
  EXPECT_EQ(shell().isoBox().geometry(), BoxRect(layout.rightRect));
  EXPECT_EQ(shell().palBox().geometry(), BoxRect(layout.palRect));
  EXPECT_EQ(shell().palBox().height(), 35);
  EXPECT_EQ(shell().gradientBox().width(), 24);
  EXPECT_TRUE(shell().skinBox().isVisible());
  EXPECT_GT(DrawnIsoPixels(), 1000);
  EXPECT_EQ(shell().skinBox().view().pitch() % 4, 0);

  EXPECT_EQ(frame->framesList().count(), 24);
  EXPECT_EQ(frame->modesList().count(), 10);
  EXPECT_EQ(frame->modesList().currentText().toStdString(), "Textured");
  QComboBox* textures = frame->textureListManager().texturesList();
  EXPECT_EQ(textures->itemText(3).toStdString(), "Empty Slot 3");
  EXPECT_TRUE(textures->isVisible());
  EXPECT_FALSE(frame->textureListManager().phongMapsList()->isVisible());
  // The command table's tool bar lives in the rebar's first band, showing the
  // camera set at start.
  EXPECT_EQ(frame->commands().toolBar(), &frame->mainToolBar());
  EXPECT_EQ(frame->commands().shownToolbarSet(), 175);
}

TEST_F(MainFrameTest, SplitterSnapsFollowsTheMouseAndThePresetsRecallAndStore) {
  DragSplitterTo(30);
  EXPECT_DOUBLE_EQ(shell().SplitFraction(), 0.0);
  EXPECT_EQ(shell().skinBox().width(), 0);
  EXPECT_EQ(shell().gradientBox().x(), 0);
  EXPECT_FALSE(shell().splitterDragging());

  const int width = shell().width();
  DragSplitterTo(width / 4);
  EXPECT_DOUBLE_EQ(shell().SplitFraction(), static_cast<double>(width / 4) / width);
  EXPECT_EQ(shell().skinBox().width(), static_cast<int>((width - 24) * shell().SplitFraction()));
  const double dragged = shell().SplitFraction();

  ClickStripButton(Qt::RightButton, true);  // store into the left button
  ClickStripButton(Qt::LeftButton, false);  // recall the right one (0.75)
  EXPECT_DOUBLE_EQ(shell().SplitFraction(), 0.75);
  ClickStripButton(Qt::LeftButton, true);
  EXPECT_DOUBLE_EQ(shell().SplitFraction(), dragged);
}

TEST_F(MainFrameTest, SwapDisplaysAndTheWheelGoesToTheBoxUnderTheMouse) {
  frame->commands().Trigger(32775);  // Options > Swap Displays
  QApplication::processEvents();
  EXPECT_EQ(shell().isoBox().geometry(), BoxRect(shell().layout().leftRect));
  EXPECT_EQ(shell().skinBox().geometry(), BoxRect(shell().layout().rightRect));

  // Boxes leave the wheel to the shell (a sent event does not travel up, so
  // it goes to the shell at the box's centre).
  auto wheelAt = [&](QWidget& box) {
    const QPoint point = box.geometry().center();
    QWheelEvent wheel(point, shell().mapToGlobal(point), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&shell(), &wheel);
  };
  const float zoom = shell().skinBox().view().zoom;
  const float distance = shell().isoBox().view().camera().distance;
  wheelAt(shell().gradientBox());
  EXPECT_EQ(shell().skinBox().view().zoom, zoom);
  EXPECT_EQ(shell().isoBox().view().camera().distance, distance);
  wheelAt(shell().skinBox());
  EXPECT_GT(shell().skinBox().view().zoom, zoom);
  wheelAt(shell().isoBox());
  EXPECT_NE(shell().isoBox().view().camera().distance, distance);
}

TEST_F(MainFrameTest, PreferencesMovesThePaletteStripAtOnce) {
  const int bottom = shell().palBox().y();
  EXPECT_GT(bottom, 0);
  PreferencesDialog onTop = ReadPreferences(settings);
  onTop.palOnTop = true;
  prompter.preferences.answer = onTop;
  frame->commands().Trigger(kCommandPreferences);
  QApplication::processEvents();
  EXPECT_EQ(shell().palBox().y(), 0);
  EXPECT_EQ(shell().palBox().geometry(), BoxRect(shell().layout().palRect));
  EXPECT_EQ(shell().skinBox().y(), shell().palBox().height());
  prompter.preferences.answer.reset();  // Cancel leaves it where it is
  frame->commands().Trigger(kCommandPreferences);
  EXPECT_EQ(shell().palBox().y(), 0);
  onTop.palOnTop = false;
  prompter.preferences.answer = onTop;
  frame->commands().Trigger(kCommandPreferences);
  EXPECT_EQ(shell().palBox().y(), bottom);
}

TEST_F(MainFrameTest, ListsDriveTheDocumentAndARefusedModeIsPutBack) {
  frame->framesList().setCurrentIndex(5);
  EXPECT_EQ(app.doc().currentFrame, 5);
  frame->modesList().setCurrentIndex(kModePhongShaded);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0], "Phong Shading is not available if there are no phong maps loaded.");
  EXPECT_EQ(frame->modesList().currentIndex(), kModeTextured);
  frame->modesList().setCurrentIndex(kModeFlatShaded);
  EXPECT_EQ(RenderStateOf(app).currentMode, kModeFlatShaded);
  EXPECT_FALSE(frame->textureListManager().texturesList()->isVisible());
  frame->textureListManager().texturesList()->setCurrentIndex(1);
  EXPECT_EQ(app.doc().activeChannel, 1);
}

TEST_F(MainFrameTest, ClosingAsksAndNoKeepsTheWindowButTheSplitterIsWritten) {
  DragSplitterTo(shell().width() / 2);
  prompter.unscriptedAnswer = Answer::No;
  EXPECT_FALSE(frame->close());
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(prompter.questions.size(), 1u);
  EXPECT_EQ(settings.readInt("Preferences", "Splitter"), static_cast<int>(shell().SplitFraction() * 10000));
  prompter.unscriptedAnswer = Answer::Yes;
  EXPECT_TRUE(frame->close());
}

}  // namespace
}  // namespace mok::shell
