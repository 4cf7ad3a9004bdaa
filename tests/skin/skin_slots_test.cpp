// Placeholders, the unit bracket, Close/Delete, Store/Revert, the
// placeholder rebuild and the activation reload without files.

#include <gtest/gtest.h>

#include "core/mesh_files.h"
#include "app/skin_commands.h"
#include "core/channel_units.h"
#include "tests/skin/skin_test_support.h"

namespace mok {
namespace {

using test::NumberedImage;
using test::Texel;

class SkinSlots : public test::SkinFixture {
 protected:
  void SetUp() override {
    AddFace(0, {4, 8}, {16, 8}, {31, 30});
    AddFace(1, {2, 2}, {6, 2}, {6, 6});
    AddFace(20, {10, 20}, {30, 40}, {50, 60});  // a channel without a slot
    LoadSlots();
  }
};

TEST_F(SkinSlots, PlaceholdersAreCheckerboardsInTheChannelColours) {
  ASSERT_EQ(doc().slotCount(), 16);
  const SkinSlot& zero = slot(0);
  EXPECT_EQ(zero.isEmpty, 1);
  EXPECT_EQ(zero.width, 32);
  EXPECT_EQ(zero.height, 32);
  // Cells of 4 texels, the second colour (grey) where x AND 4 equals y AND 4.
  EXPECT_EQ(Texel(zero, 0, 0), 0xA0A0A0u);
  EXPECT_EQ(Texel(zero, 3, 3), 0xA0A0A0u);
  EXPECT_EQ(Texel(zero, 4, 0), 0xA04040u);
  EXPECT_EQ(Texel(zero, 0, 4), 0xA04040u);
  EXPECT_EQ(Texel(zero, 4, 4), 0xA0A0A0u);
  EXPECT_EQ(Texel(slot(1), 4, 0), 0x4040A0u);
  EXPECT_EQ(Texel(slot(9), 4, 0), 0x40A040u);
  EXPECT_EQ(Texel(slot(9), 0, 0), 0xA0A040u);
  EXPECT_EQ(Texel(slot(12), 4, 0), 0xA0A0A0u);
  EXPECT_EQ(Texel(slot(12), 0, 0), 0x404040u);
  EXPECT_EQ(zero.storedPixels, zero.pixels);
}

TEST_F(SkinSlots, RealMeshLoadLeavesSixteenPlaceholders) {
  std::string mesh = test::RealFile("unreal/sg_GL1st_d.3d");
  if (mesh.empty()) GTEST_SKIP() << "shared test data absent";
  test::ScriptedPrompter quiet;
  ASSERT_TRUE(LoadMesh(doc(), mesh, quiet));
  ASSERT_EQ(doc().slotCount(), 16);
  for (int c = 0; c < 16; ++c) EXPECT_EQ(slot(c).isEmpty, 1) << c;
  EXPECT_EQ(Texel(slot(0), 0, 0), 0xA0A0A0u);
  EXPECT_EQ(Texel(slot(0), 4, 0), 0xA04040u);
  EXPECT_EQ(doc().activeSkin, &slot(0));
}

TEST_F(SkinSlots, BracketRescalesOnlyTheChangedChannel) {
  WithChannelUnits(doc(), [&] { slot(0) = NumberedImage(256, 128); });
  // 32 x 32 became 256 x 128: u times 8, v times 4.
  EXPECT_FLOAT_EQ(doc().triangles[0].uv[0].u, 32);
  EXPECT_FLOAT_EQ(doc().triangles[0].uv[0].v, 32);
  EXPECT_FLOAT_EQ(doc().triangles[0].uv[2].u, 248);
  EXPECT_FLOAT_EQ(doc().triangles[0].uv[2].v, 120);
  EXPECT_FLOAT_EQ(doc().triangles[1].uv[1].u, 6);
  // A channel without a slot comes back as it was.
  EXPECT_FLOAT_EQ(doc().triangles[2].uv[2].u, 50);
  EXPECT_FLOAT_EQ(doc().triangles[2].uv[2].v, 60);
  EXPECT_EQ(doc().uvVertices[static_cast<std::size_t>(doc().triangles[0].uvIndex[2])].u, 248);
}

TEST_F(SkinSlots, CloseDeleteGivesThePlaceholderBackAndDividesCoordinates) {
  slot(0) = NumberedImage(128, 64);
  slot(0).name = "body.bmp";
  slot(0).hasFile = 1;
  doc().triangles[0].uv[0] = {16, 16};  // texels of the 128 x 64 image
  doc().RebuildUvVertices(false);
  SkinCloseDelete(app);
  EXPECT_EQ(slot(0).isEmpty, 1);
  EXPECT_EQ(slot(0).width, 32);
  EXPECT_EQ(Texel(slot(0), 4, 0), 0xA04040u);
  // The record keeps its name and file: Save then says there is nothing to save.
  EXPECT_EQ(slot(0).name, "body.bmp");
  EXPECT_EQ(slot(0).hasFile, 1);
  EXPECT_FLOAT_EQ(doc().triangles[0].uv[0].u, 4);
  EXPECT_FLOAT_EQ(doc().triangles[0].uv[0].v, 8);
  EXPECT_EQ(refresh.refills, 1);
  EXPECT_EQ(refresh.paneBits(), std::vector<int>{15});
}

TEST_F(SkinSlots, CloseDeleteRebuildsTheShadeRampsWhenAsked) {
  SkinCloseDelete(app);
}

TEST_F(SkinSlots, RevertRestoresTheStoredImageAndASecondRevertChangesNothing) {
  slot(0) = NumberedImage(8, 8);
  slot(0).pixels[9] = 0xFFFFFF;  // a paint step
  SkinRevert(app);
  EXPECT_EQ(slot(0).pixels[9], 0x0101u);
  EXPECT_EQ(refresh.paneBits(), std::vector<int>{11});
  SkinRevert(app);
  EXPECT_EQ(slot(0).pixels, NumberedImage(8, 8).pixels);
}

TEST_F(SkinSlots, StoreMovesTheRevertPoint) {
  slot(0) = NumberedImage(8, 8);
  slot(0).pixels[9] = 0xFFFFFF;
  SkinStore(app);
  slot(0).pixels[9] = 0x123456;
  SkinRevert(app);
  EXPECT_EQ(slot(0).pixels[9], 0xFFFFFFu);
}

TEST_F(SkinSlots, StoreAndRevertWorkOnPlaceholders) {
  slot(0).pixels[0] = 0x010203;
  SkinRevert(app);
  EXPECT_EQ(slot(0).pixels[0], 0xA0A0A0u);
}

TEST_F(SkinSlots, RebuildPlaceholdersRescalesTheCoordinatesOfEmptyChannels) {
  slot(1) = NumberedImage(64, 64);  // a loaded skin on channel 1
  RebuildPlaceholders(app, {64, 128, 0});
  EXPECT_EQ(slot(0).width, 64);
  EXPECT_EQ(slot(0).height, 128);
  EXPECT_EQ(doc().defaultSkin.width, 64);
  EXPECT_EQ(doc().defaultSkin.height, 128);
  // Grid 0: cells of one texel.
  EXPECT_EQ(Texel(slot(0), 0, 0), 0xA0A0A0u);
  EXPECT_EQ(Texel(slot(0), 1, 0), 0xA04040u);
  EXPECT_EQ(Texel(slot(0), 1, 1), 0xA0A0A0u);
  EXPECT_FLOAT_EQ(doc().triangles[0].uv[0].u, 8);
  EXPECT_FLOAT_EQ(doc().triangles[0].uv[0].v, 32);
  // The loaded skin and its coordinates are untouched.
  EXPECT_EQ(slot(1).width, 64);
  EXPECT_EQ(slot(1).pixels, NumberedImage(64, 64).pixels);
  EXPECT_FLOAT_EQ(doc().triangles[1].uv[1].u, 6);
  EXPECT_EQ(doc().placeholderSpec.height, 128);
}

TEST_F(SkinSlots, ChangingOnlyTheGridKeepsTheCoordinates) {
  RebuildPlaceholders(app, {32, 32, 1});
  EXPECT_EQ(Texel(slot(0), 2, 0), 0xA04040u);
  EXPECT_EQ(Texel(slot(0), 4, 0), 0xA0A0A0u);
  EXPECT_FLOAT_EQ(doc().triangles[0].uv[2].u, 31);
}

TEST_F(SkinSlots, AutoReloadWithoutSkinFilesStillRebuildsAndRefreshes) {
  AutoReloadOnActivation(app);  // off: nothing happens
  EXPECT_TRUE(refresh.paneBits().empty());
  SkinToggleAutoReload(app);
  EXPECT_TRUE(app.flags.autoReload);
  doc().triangles[0].uv[0] = {5, 5};  // an edit not yet folded into the table
  AutoReloadOnActivation(app);
  EXPECT_EQ(refresh.refills, 1);
  EXPECT_EQ(refresh.paneBits(), std::vector<int>{15});
  EXPECT_FLOAT_EQ(doc().triangles[0].uv[0].u, 4);  // synced from the table
  SkinToggleAutoReload(app);
  EXPECT_FALSE(app.flags.autoReload);
}

TEST(SkinCommandsBeforeAMesh, DoNothing) {
  MemorySettings settings;
  test::ScriptedPrompter prompter;
  prompter.newSkin.answer = NewSkinDialog{};
  prompter.resize.edit = [](ResizeSkinDialog&) { return true; };
  test::RefreshRecorder refresh;
  Application app{settings, prompter, prompter, refresh};
  SkinNew(app);
  SkinOpen(app);
  SkinCloseDelete(app);
  SkinSave(app);
  SkinSaveAs(app);
  SkinStore(app);
  SkinRevert(app);
  SkinReload(app);
  SkinResize(app);
  EXPECT_TRUE(prompter.dialogs.empty());
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_TRUE(prompter.resize.shown.empty());
  EXPECT_TRUE(refresh.paneBits().empty());
  EXPECT_TRUE(app.doc().skinSlots.empty());
}

}  // namespace
}  // namespace mok
