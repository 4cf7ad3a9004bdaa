// The Qt services behind the library's interfaces, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
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
