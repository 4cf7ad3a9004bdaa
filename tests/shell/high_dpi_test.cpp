// The main window on a screen scaled by 200 % (offscreen, QT_SCALE_FACTOR=2):
// the views render at device pixels, mouse points reach them in that grid,
// and the strips and the corner button cover the same screen area as at
// 100 %. Its own program, since the scale is fixed when the toolkit starts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "tests/shell/sample_window.h"


namespace mok::shell {
namespace {

class HighDpiTest : public ::testing::Test, public SampleWindow {
 protected:
  HighDpiTest() { EXPECT_TRUE(loaded); }

  // A mouse event at a widget point that may fall between logical pixels.
  static void Send(QWidget& widget, QEvent::Type type, Qt::MouseButton button, QPointF point) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, point, widget.mapToGlobal(point), button, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
    QApplication::processEvents();
  }
};

TEST_F(HighDpiTest, ViewsRenderAtDevicePixelsAndStripsShowDoubledPictures) {
  ASSERT_DOUBLE_EQ(shell().devicePixelRatioF(), 2.0);
  IsoViewWidget& iso = shell().isoBox();
  EXPECT_EQ(iso.view().clientWidth(), 2 * iso.width());
  EXPECT_EQ(iso.view().clientHeight(), 2 * iso.height());
  SkinViewWidget& skin = shell().skinBox();
  EXPECT_EQ(skin.view().ClientWidth(), 2 * skin.width());
  EXPECT_EQ(skin.view().height(), 2 * skin.height());
  EXPECT_EQ(iso.Picture().size(), iso.DeviceSize());
  EXPECT_EQ(iso.Picture().devicePixelRatio(), 2.0);

  // The strips keep their logical sizes, so the screen shows twice the pixels.
  EXPECT_EQ(shell().palBox().height(), 35);
  EXPECT_EQ(shell().palBox().Picture().size(), QSize(2 * shell().palBox().width(), 70));
  EXPECT_EQ(shell().gradientBox().Picture().size(), QSize(48, 2 * shell().gradientBox().height()));
  EXPECT_EQ(frame->minimumSize(), QSize(516, 360));  // logical: 1032 x 720 device pixels

  // The corner button covers logical x 2..16, y 3..17: device x 4..33, y 6..35.
  EXPECT_EQ(iso.Picture().pixel(33, 35) & 0xFFFFFF, ButtonColours{}.shadow);
  EXPECT_EQ(iso.Picture().pixel(4, 6) & 0xFFFFFF, ButtonColours{}.highlight);
  Send(skin, QEvent::MouseButtonPress, Qt::LeftButton, QPointF(16.5, 17.5));
  EXPECT_EQ(skin.view().dragState(), kSkinCornerButton);
  Send(skin, QEvent::MouseButtonRelease, Qt::LeftButton, QPointF(16.5, 17.5));
  if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
}

TEST_F(HighDpiTest, AClickBetweenLogicalPixelsPaintsTheTexelShownAtItsDevicePixel) {
  app.flags.cameraActive = false;
  app.flags.editMode = EditMode::Paint;
  app.flags.brushRadius = 0;
  app.customColors[static_cast<std::size_t>(app.activeColor)] = 0xABCDEF;
  shell().HandleRefresh({PaneSet::All()});
  SkinViewWidget& box = shell().skinBox();
  // Beside the skin's centre, which the view shows in its middle; the same
  // numbers taken as device pixels would point a quarter of the way in.
  const QPointF point(box.width() / 2 + 10.5, box.height() / 2 + 5.5);
  const QPoint device(box.width() / 2 * 2 + 21, box.height() / 2 * 2 + 11);
  const std::int32_t texel = box.view().TexelAt(device.x(), device.y());
  ASSERT_GE(texel, 0);
  ASSERT_NE(box.view().TexelAt(static_cast<int>(point.x()), static_cast<int>(point.y())), texel);
  const std::vector<std::uint32_t> before = app.doc().activeSkin->pixels;

  Send(box, QEvent::MouseButtonPress, Qt::LeftButton, point);
  Send(box, QEvent::MouseButtonRelease, Qt::LeftButton, point);
  const std::vector<std::uint32_t>& after = app.doc().activeSkin->pixels;
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i)
    EXPECT_EQ(after[i] != before[i], static_cast<std::int32_t>(i) == texel) << i;
  EXPECT_EQ(after[static_cast<std::size_t>(texel)] & 0xFFFFFF, 0xABCDEFu);
}

TEST_F(HighDpiTest, AWarpEchoGivesBackItsDevicePixelAndOtherPointsAreDoubled) {
  SkinViewWidget& box = shell().skinBox();
  box.WarpCursor(51, 41);  // the cursor can only go to logical (26, 21)
  EXPECT_EQ(box.GridPointOf(QPointF(26, 21)), QPoint(51, 41));
  EXPECT_EQ(box.GridPointOf(QPointF(26.5, 21)), QPoint(53, 42));
  EXPECT_EQ(box.GridPointOf(QPointF(-0.5, 3.25)), QPoint(-1, 6));
  // The strips work in logical pixels.
  EXPECT_EQ(shell().gradientBox().GridPointOf(QPointF(10.5, 7)), QPoint(10, 7));
}

TEST_F(HighDpiTest, AScreenChangeRendersTheViewsAgainForTheScreen) {
  IsoViewWidget& iso = shell().isoBox();
  iso.view().ResizeBuffers(8, 8);
  shell().skinBox().view().ResizeBuffers(8, 8);
  QEvent changed(QEvent::ScreenChangeInternal);
  QApplication::sendEvent(&shell(), &changed);
  QApplication::processEvents();
  EXPECT_EQ(iso.view().clientWidth(), 2 * iso.width());
  EXPECT_EQ(shell().skinBox().view().height(), 2 * shell().skinBox().height());
}

}  // namespace
}  // namespace mok::shell

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Korvane");
  QApplication::setApplicationName("MOK");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
