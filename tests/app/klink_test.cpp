// K-Link without a toolkit: the block layout and its hostile reader, and two
// copies on one in-process "desk" that carries the block as the shared
// section would.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "app/command_table.h"
#include "app/klink.h"
#include "tests/core/edit_test_support.h"
#include "tests/render/iso_view_fakes.h"

namespace mok {
namespace {

using edit_test::Hide;
using edit_test::MeshBuilder;
using Section = std::array<std::uint8_t, klink::kSectionSize>;

struct Copy;

// Who is watching, and what the next request answers instead of the watcher.
struct Desk {
  Copy* watcher = nullptr;
  std::optional<LinkAnswer> forcedAnswer;
  int sends = 0;
};

class DeskTransport final : public LinkTransport {
 public:
  DeskTransport(Desk& desk, Copy& self) : desk_(desk), self_(self) {}
  bool WatcherRunning() override { return desk_.watcher != nullptr && desk_.watcher != &self_; }
  Status BecomeWatcher() override {
    if (desk_.watcher != nullptr) return Error{klink::kAnotherWatcher, "desk"};
    desk_.watcher = &self_;
    return Status::Ok();
  }
  void StopWatching() override { desk_.watcher = nullptr; }
  LinkAnswer SendToWatcher(std::span<const std::uint8_t> block) override;

 private:
  Desk& desk_;
  Copy& self_;
};

// One running copy: a document of three faces on a 64 x 32 skin size, a 3D
// view and the link.
struct Copy {
  explicit Copy(Desk& desk) : transport(desk, *this) {
    builder.AddFace(0, 1, 2, {1, 2}, {3, 4}, {5, 6})
        .AddFace(1, 3, 2, {3, 4}, {7, 8}, {5, 6})
        .AddFace(0, 2, 3, {9, 9}, {10, 10}, {11, 11})
        .Build();
    link.AttachView(view.get());
    link.showTitle = [this](const std::string& text) { title = text; };
  }

  MeshBuilder builder{{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}};
  Application& app = builder.app;
  test::ScriptedPrompter& prompter = builder.prompter;
  test::RefreshRecorder& refresh = builder.refresh;
  LightFrame light;
  test::FakeRenderer renderer;
  test::FakeHost host;
  Painter painter{app};
  DeskTransport transport;
  KLink link{app, transport};
  std::unique_ptr<IsoView> view = std::make_unique<IsoView>(IsoViewLinks{app, light, renderer, host, painter, link});
  std::string title = "MOK - start";
};

LinkAnswer DeskTransport::SendToWatcher(std::span<const std::uint8_t> block) {
  ++desk_.sends;
  if (desk_.forcedAnswer) return *desk_.forcedAnswer;
  if (desk_.watcher == nullptr) return LinkAnswer::NoWatcher;
  Section section;
  section.fill(0xCD);  // what an earlier, longer block left behind
  std::copy(block.begin(), block.end(), section.begin());
  KLinkReceipt receipt = desk_.watcher->link.Receive(section);
  desk_.watcher->link.Report(receipt);
  return receipt.recognised ? LinkAnswer::Recognised : LinkAnswer::NotRecognised;
}

std::array<UvPair, 3> CornersOf(const MeshDocument& doc, int face) {
  std::array<UvPair, 3> corners;
  for (int k = 0; k < 3; ++k) corners[k] = doc.uvVertices[static_cast<std::size_t>(doc.triangles[face].uvIndex[k])];
  return corners;
}

void ExpectCorners(const MeshDocument& doc, int face, std::array<UvPair, 3> expected) {
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(doc.triangles[face].uv[k].u, expected[k].u) << "corner " << k;
    EXPECT_EQ(doc.triangles[face].uv[k].v, expected[k].v) << "corner " << k;
  }
  EXPECT_EQ(CornersOf(doc, face)[2].u, expected[2].u);
}

Section SectionWith(std::span<const std::uint8_t> block) {
  Section section{};
  std::copy(block.begin(), block.end(), section.begin());
  return section;
}

void PutWord(Section& section, std::size_t offset, std::uint32_t word) { std::memcpy(&section[offset], &word, 4); }
void PutFloat(Section& section, std::size_t offset, float value) { std::memcpy(&section[offset], &value, 4); }

CameraState SomeCamera() {
  CameraState camera;
  for (std::size_t i = 0; i < camera.values.size(); ++i) camera.values[i] = 0.25f * static_cast<float>(i) - 1.0f;
  camera.values[12] = 42.5f;
  return camera;
}

// ---- The block ----

TEST(KLinkBlock, MappingAndCameraBlocksHaveTheExactLayout) {
  const KLinkMapping mapping{.skinWidth = -32768, .skinHeight = 64, .corners = {{{1.5f, -2}, {3, 4}, {5, 6.25f}}}};
  const auto bytes = WriteMappingBlock(mapping);
  const std::uint8_t header[] = {44, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0x00, 0x80, 0xFF, 0xFF, 64, 0, 0, 0};
  EXPECT_TRUE(std::equal(std::begin(header), std::end(header), bytes.begin()));
  float corners[6];
  std::memcpy(corners, bytes.data() + 20, sizeof corners);
  EXPECT_EQ(std::vector<float>(corners, corners + 6), (std::vector<float>{1.5f, -2, 3, 4, 5, 6.25f}));

  const CameraState camera = SomeCamera();
  const auto cameraBytes = WriteCameraBlock(camera);
  const std::uint8_t cameraHeader[] = {64, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0};
  EXPECT_TRUE(std::equal(std::begin(cameraHeader), std::end(cameraHeader), cameraBytes.begin()));
  EXPECT_EQ(std::memcmp(cameraBytes.data() + 12, camera.values.data(), 52), 0);

  Result<KLinkBlock> read = ReadKLinkBlock(SectionWith(bytes));
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(std::get<KLinkMapping>(*read).skinWidth, -32768);
  EXPECT_EQ(std::get<KLinkMapping>(*read).corners[2].v, 6.25f);
  Result<KLinkBlock> readCamera = ReadKLinkBlock(SectionWith(cameraBytes));
  ASSERT_TRUE(readCamera.ok());
  EXPECT_EQ(std::get<CameraState>(*readCamera).values, camera.values);
}

TEST(KLinkBlock, HostileSectionsAreRefused) {
  const Section mapping = SectionWith(WriteMappingBlock({}));
  const Section camera = SectionWith(WriteCameraBlock(SomeCamera()));
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    const char* name;
    Section section;
    std::function<void(Section&)> spoil;
  };
  const Case cases[] = {
      {"protocol 2", mapping, [](Section& s) { PutWord(s, 4, 2); }},
      {"kind 3", mapping, [](Section& s) { PutWord(s, 8, 3); }},
      {"mapping kind with camera size", mapping, [](Section& s) { PutWord(s, 0, 64); }},
      {"camera kind with mapping size", camera, [](Section& s) { PutWord(s, 0, 44); }},
      {"negative size", mapping, [](Section& s) { PutWord(s, 0, 0xFFFFFFD4u); }},
      {"empty section", Section{}, [](Section&) {}},
      {"NaN corner", mapping, [nan](Section& s) { PutFloat(s, 40, nan); }},
      {"infinite corner", mapping, [inf](Section& s) { PutFloat(s, 20, -inf); }},
      {"NaN orientation", camera, [nan](Section& s) { PutFloat(s, 12, nan); }},
      {"infinite pan", camera, [inf](Section& s) { PutFloat(s, 52, inf); }},
      {"pan past the camera's reach", camera, [](Section& s) { PutFloat(s, 48, 1e20f); }},
      {"zero distance", camera, [](Section& s) { PutFloat(s, 60, 0); }},
      {"negative distance", camera, [](Section& s) { PutFloat(s, 60, -5); }},
  };
  for (const Case& c : cases) {
    Section section = c.section;
    c.spoil(section);
    EXPECT_FALSE(ReadKLinkBlock(section).ok()) << c.name;
  }
  EXPECT_FALSE(ReadKLinkBlock(std::span(mapping).first(4095)).ok());
  std::vector<std::uint8_t> longer(mapping.begin(), mapping.end());
  longer.push_back(0);
  EXPECT_FALSE(ReadKLinkBlock(longer).ok());
}

// ---- Two copies ----

class KLinkPair : public ::testing::Test {
 protected:
  void SetUp() override {
    watcher.link.ToggleWatch();
    ASSERT_EQ(watcher.app.flags.watching, 1);
  }
  static void SelectOnly(Copy& copy, std::initializer_list<int> faces) { edit_test::Select(copy.app.doc(), faces); }

  Desk desk;
  Copy watcher{desk};
  Copy sender{desk};
};

TEST_F(KLinkPair, OneWatcherAtATimeAndEndWatchTakesTheFixedTitle) {
  EXPECT_EQ(watcher.title, "KLink - Watcher");
  sender.link.ToggleWatch();
  EXPECT_EQ(sender.prompter.messages, (std::vector<std::string>{klink::kAnotherWatcher}));
  EXPECT_EQ(sender.app.flags.watching, 0);
  EXPECT_EQ(sender.title, "MOK - start");

  watcher.link.ToggleWatch();
  EXPECT_EQ(watcher.app.flags.watching, 0);
  EXPECT_EQ(watcher.title, "MOK v0.9b3");
  sender.link.ToggleWatch();
  EXPECT_EQ(sender.app.flags.watching, 1);
  EXPECT_EQ(sender.title, "KLink - Watcher");
}

TEST_F(KLinkPair, SenderRefusalsComeInTheirOrder) {
  SelectOnly(watcher, {0});
  watcher.link.TransferMapping();
  EXPECT_EQ(watcher.prompter.messages, (std::vector<std::string>{klink::kCannotInitiate}));

  SelectOnly(sender, {0, 1});
  sender.link.TransferMapping();
  Hide(sender.app.doc(), {1});  // a hidden face does not count, but none selected is refused too
  SelectOnly(sender, {1});
  sender.link.TransferMapping();
  watcher.link.ToggleWatch();
  sender.link.TransferMapping();  // no watcher comes before the selection
  EXPECT_EQ(sender.prompter.messages, (std::vector<std::string>{klink::kSelectOne, klink::kSelectOne, klink::kNoWatcher}));
  EXPECT_EQ(desk.sends, 0);
}

TEST_F(KLinkPair, MappingArrivesInTexelsOnTheWatchersOneSelectedFace) {
  MeshDocument& target = watcher.app.doc();
  SelectOnly(sender, {2, 1});
  Hide(sender.app.doc(), {1});
  SelectOnly(watcher, {0});
  const std::array<UvPair, 3> sent = CornersOf(sender.app.doc(), 2);
  const std::array<UvPair, 3> untouched = CornersOf(target, 1);
  const std::array<UvPair, 3> replaced = CornersOf(target, 0);
  watcher.app.history.Reset(target);
  watcher.refresh = {};
  sender.link.TransferMapping();

  EXPECT_TRUE(sender.prompter.messages.empty());
  EXPECT_TRUE(watcher.prompter.messages.empty());
  ExpectCorners(target, 0, sent);
  ExpectCorners(target, 1, untouched);
  EXPECT_EQ(target.uvVertexCount, 6);  // face 0's old corners dropped, face 2's shared
  EXPECT_EQ(watcher.refresh.refreshes(), 1);
  EXPECT_EQ(watcher.refresh.lastPaneBits(), kPanesAll);
  // The received mapping is an undo step of the watcher's own.
  EXPECT_EQ(watcher.app.history.UndoName(), "Transfer Mapping");
  ASSERT_TRUE(watcher.app.history.Undo(target));
  ExpectCorners(target, 0, replaced);
}

TEST_F(KLinkPair, WatcherWithoutOneSelectedFaceSaysSoAndKeepsItsMapping) {
  SelectOnly(sender, {0});
  SelectOnly(watcher, {0, 2});
  const std::array<UvPair, 3> before = CornersOf(watcher.app.doc(), 0);
  sender.link.TransferMapping();
  EXPECT_EQ(watcher.prompter.messages, (std::vector<std::string>{klink::kWatcherSelectOne}));
  EXPECT_TRUE(sender.prompter.messages.empty());
  ExpectCorners(watcher.app.doc(), 0, before);
}

TEST_F(KLinkPair, AFullUvTableStillTakesATransfer) {
  MeshDocument& target = watcher.app.doc();
  target.triangleCount = kMaxTriangles;
  for (int i = 0; i < kMaxTriangles; ++i) {
    MeshTriangle& face = target.triangles[i];
    face = MeshTriangle{};
    for (int k = 0; k < 3; ++k) face.uv[k] = {static_cast<float>(i), static_cast<float>(k)};
  }
  target.RebuildUvVertices(false);
  ASSERT_EQ(target.uvVertexCount, kMaxUvVertices);
  SelectOnly(watcher, {kMaxTriangles - 1});
  SelectOnly(sender, {0});
  sender.link.TransferMapping();
  ExpectCorners(target, kMaxTriangles - 1, CornersOf(sender.app.doc(), 0));
  EXPECT_EQ(target.uvVertexCount, kMaxUvVertices - 1);  // (1, 2) is face 1's too
}

TEST_F(KLinkPair, AWatcherThatVanishesOrHangsIsReported) {
  SelectOnly(sender, {0});
  desk.forcedAnswer = LinkAnswer::NoWatcher;
  sender.link.TransferMapping();
  desk.forcedAnswer = LinkAnswer::TimedOut;
  sender.link.TransferMapping();
  desk.forcedAnswer = LinkAnswer::NotRecognised;  // the answer itself is not looked at
  sender.link.TransferMapping();
  EXPECT_EQ(sender.prompter.messages, (std::vector<std::string>{klink::kNoWatcher, klink::kNoAnswer}));

  desk.forcedAnswer = LinkAnswer::TimedOut;  // a hung watcher stops the camera steps, silently
  sender.link.ToggleSyncCameras();
  EXPECT_EQ(sender.app.flags.syncCameras, 0);
  EXPECT_EQ(sender.prompter.messages.size(), 2u);
}

TEST_F(KLinkPair, SyncCamerasSendsAtOnceAndOnEveryStepWithoutEverSpeaking) {
  SetCameraState(sender.view->camera(), SomeCamera());
  sender.link.ToggleSyncCameras();
  EXPECT_EQ(sender.app.flags.syncCameras, 1);
  EXPECT_EQ(GetCameraState(watcher.view->camera()).values, SomeCamera().values);
  EXPECT_EQ(watcher.refresh.lastPaneBits(), kPaneIsoView);

  CameraState moved = SomeCamera();
  moved.values[12] = 90;
  sender.link.SendCameraToWatcher(moved);
  EXPECT_EQ(watcher.view->camera().distance, 90);

  watcher.link.SendCameraToWatcher(SomeCamera());  // the watcher never sends, synced or not
  sender.link.ToggleSyncCameras();
  sender.link.SendCameraToWatcher(SomeCamera());
  EXPECT_EQ(watcher.view->camera().distance, 90);

  watcher.link.ToggleWatch();
  const int sends = desk.sends;
  sender.link.ToggleSyncCameras();  // on, with nobody watching: nothing sent, nothing said
  EXPECT_EQ(desk.sends, sends);
  EXPECT_TRUE(sender.prompter.messages.empty());
}

TEST_F(KLinkPair, RefusedBlocksChangeNothing) {
  SelectOnly(watcher, {0});
  const Camera cameraBefore = watcher.view->camera();
  const std::array<UvPair, 3> before = CornersOf(watcher.app.doc(), 0);
  KLinkMapping nanMapping;
  nanMapping.corners[1].u = std::numeric_limits<float>::quiet_NaN();
  CameraState farCamera = SomeCamera();
  farCamera.values[12] = std::numeric_limits<float>::infinity();
  for (const Section& section : {SectionWith(WriteMappingBlock(nanMapping)), SectionWith(WriteCameraBlock(farCamera))}) {
    KLinkReceipt receipt = watcher.link.Receive(section);
    EXPECT_FALSE(receipt.recognised);
    EXPECT_TRUE(receipt.message.empty());
  }
  ExpectCorners(watcher.app.doc(), 0, before);
  EXPECT_EQ(watcher.view->camera().distance, cameraBefore.distance);
  EXPECT_EQ(watcher.refresh.refreshes(), 0);
}

TEST_F(KLinkPair, MenuRowsReachTheLinkOnlyWhereThereIsOne) {
  CommandTable table(sender.app);
  EXPECT_FALSE(table.Run(32915));  // headless: no link, the rows are disabled
  EXPECT_FALSE(table.Enabled(32875));
  table.context().klink = &sender.link;
  table.Run(32875);
  EXPECT_EQ(sender.prompter.messages, (std::vector<std::string>{klink::kAnotherWatcher}));
  SelectOnly(sender, {0, 1});
  table.Run(32876);
  EXPECT_EQ(sender.prompter.messages.back(), klink::kSelectOne);
  table.Run(32915);
  EXPECT_TRUE(table.Checked(32915));
  EXPECT_EQ(watcher.view->camera().distance, sender.view->camera().distance);
  CommandTable watcherTable(watcher.app);
  watcherTable.context().klink = &watcher.link;
  EXPECT_EQ(MenuText(*FindCommand(32875), watcherTable.context()), "End Watch");
  watcherTable.Run(32875);
  EXPECT_EQ(watcher.title, "MOK v0.9b3");
}

}  // namespace
}  // namespace mok
