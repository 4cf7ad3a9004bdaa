#include "core/channels.h"

#include <gtest/gtest.h>

#include "tests/core/edit_test_support.h"

namespace mok {
namespace {

using edit_test::Hide;
using edit_test::MeshBuilder;
using edit_test::ScriptedPrompter;
using edit_test::Select;

void LoadImageInto(MeshDocument& doc, int channel, int width, int height, const std::string& name) {
  SkinSlot& slot = *doc.skinSlots[static_cast<std::size_t>(channel)];
  AllocateSkin(slot, width, height);
  slot.isEmpty = 0;
  slot.name = name;
}

MeshDocument* ThreeFaces(MeshBuilder& builder) {
  builder.AddFace(0, 1, 2, {16, 8}, {32, 8}, {16, 24}, 0);
  builder.AddFace(1, 2, 3, {32, 8}, {16, 24}, {30, 30}, 0);
  builder.AddFace(3, 4, 5, {1, 2}, {3, 4}, {5, 6}, 1);
  return builder.Build();
}

TEST(AssignChannel, KeepsCornersAtTheSamePlaceOfTheNewSkin) {
  MeshBuilder builder;
  auto doc = ThreeFaces(builder);  // slot 0 is the 32 x 32 placeholder
  LoadImageInto(*doc, 3, 256, 128, "skins/big.pcx");
  Select(*doc, {0});
  AssignChannelToSelected(*doc, 3);
  EXPECT_EQ(doc->triangles[0].textureNum, 3);
  EXPECT_FLOAT_EQ(doc->triangles[0].uv[1].u, 256);
  EXPECT_FLOAT_EQ(doc->triangles[0].uv[1].v, 32);
  // Face 1 stays on channel 0 and no longer shares UV vertices with face 0.
  EXPECT_FLOAT_EQ(doc->triangles[1].uv[0].u, 32);
  EXPECT_NE(doc->triangles[1].uvIndex[0], doc->triangles[0].uvIndex[1]);
}

TEST(AssignChannel, DialogListsSlotsAndOpensOnTheFirstSelectedFacesChannel) {
  MeshBuilder builder;
  auto doc = ThreeFaces(builder);
  LoadImageInto(*doc, 2, 64, 64, "skins/arm.bmp");
  Select(*doc, {2, 0});
  Hide(*doc, {0});  // hidden faces with the selected bit count
  ScriptedPrompter& prompter = builder.prompter;
  prompter.channel.edit = [](ChannelDialog& dialog) {
    dialog.chosen = 2;
    return true;
  };
  ASSERT_TRUE(AssignChannel(builder.app));
  const ChannelDialog& shown = prompter.channel.shown.back();
  ASSERT_EQ(shown.lines.size(), 16u);
  EXPECT_EQ(shown.lines[0], "Empty Slot 0");
  EXPECT_EQ(shown.lines[2], "skins/arm.bmp");
  EXPECT_EQ(shown.lines[15], "Empty Slot 15");
  EXPECT_EQ(shown.chosen, 0);
  EXPECT_EQ(doc->triangles[0].textureNum, 2);
  EXPECT_EQ(doc->triangles[2].textureNum, 2);
  EXPECT_FLOAT_EQ(doc->triangles[0].uv[1].u, 64);  // 32 of 32 texels -> 64 of 64
  EXPECT_FLOAT_EQ(doc->triangles[2].uv[2].v, 6 * 64.0f / 32);
  EXPECT_EQ(doc->triangles[1].textureNum, 0);
  EXPECT_EQ(builder.refresh.lastPaneBits(), kPanesAll);
}

TEST(AssignChannel, OkWithoutAChosenLineChangesNothing) {
  MeshBuilder builder;
  auto doc = ThreeFaces(builder);
  Select(*doc, {0});
  ScriptedPrompter& prompter = builder.prompter;
  prompter.channel.edit = [](ChannelDialog& dialog) {
    dialog.chosen = -1;
    return true;
  };
  EXPECT_FALSE(AssignChannel(builder.app));
  EXPECT_EQ(doc->triangles[0].textureNum, 0);
  EXPECT_TRUE(builder.refresh.refreshes() == 0);
}

TEST(AssignChannel, DoesNothingWithoutSelection) {
  MeshBuilder builder;
  auto doc = ThreeFaces(builder);
  ScriptedPrompter& prompter = builder.prompter;
  EXPECT_FALSE(AssignChannel(builder.app));
  EXPECT_TRUE(prompter.channel.shown.empty());
}

TEST(SelectChannel, ChoosesTheSlotAndRedrawsSkinViewIsoViewAndPalette) {
  MeshBuilder builder;
  auto doc = ThreeFaces(builder);
  ASSERT_TRUE(SelectChannel(builder.app, 9));
  EXPECT_EQ(doc->activeChannel, 9);
  EXPECT_EQ(doc->activeSkin, doc->skinSlots[9].get());
  ASSERT_EQ(builder.refresh.refreshes(), 1);
  EXPECT_EQ(builder.refresh.lastPaneBits(), 11);
  EXPECT_EQ(builder.refresh.refills, 1);
}

TEST(SelectChannel, RefusesAChannelWithoutSlot) {
  MeshBuilder builder;
  auto doc = ThreeFaces(builder);
  EXPECT_FALSE(SelectChannel(builder.app, 16));
  EXPECT_FALSE(SelectChannel(builder.app, -1));
  EXPECT_EQ(doc->activeChannel, 0);
  EXPECT_TRUE(builder.refresh.refreshes() == 0);
}

TEST(ChannelKeys, DigitsOneToNineAndZeroChooseChannelsZeroToNine) {
  EXPECT_EQ(ChannelForKey('1', false)->channel, 0);
  EXPECT_EQ(ChannelForKey('9', false)->channel, 8);
  EXPECT_EQ(ChannelForKey('0', false)->channel, 9);
  EXPECT_FALSE(ChannelForKey('0', false)->thenOpenSkin);
  auto shiftZero = ChannelForKey('0', true);
  EXPECT_EQ(shiftZero->channel, 9);
  EXPECT_TRUE(shiftZero->thenOpenSkin);
  EXPECT_FALSE(ChannelForKey('a', false).has_value());
}

}  // namespace
}  // namespace mok
