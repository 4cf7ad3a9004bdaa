// Skins > New: sizes, the three patterns and the rescaled coordinates.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/skin_commands.h"
#include "tests/skin/skin_test_support.h"

namespace mok {
namespace {

using test::Texel;

class NewSkin : public test::SkinFixture {
 protected:
  void SetUp() override {
    for (int i = 0; i < 8; ++i) app.customColors[static_cast<std::size_t>(i)] = 0x111111u * static_cast<std::uint32_t>(i);
    app.activeColor = 1;
    AddFace(0, {8, 8}, {24, 8}, {8, 24});
    LoadSlots();
  }
  void Create(NewSkinDialog dialog) {
    prompter.newSkin.answer = dialog;
    SkinNew(app);
  }
  static NewSkinDialog Other(int width, int height) {
    NewSkinDialog dialog;
    dialog.size = NewSkinSizeChoice::Other;
    dialog.otherWidth = width;
    dialog.otherHeight = height;
    return dialog;
  }
  static NewSkinDialog Square(NewSkinSizeChoice size) {
    NewSkinDialog dialog;
    dialog.size = size;
    return dialog;
  }
  int CountColour(const SkinSlot& skin, std::uint32_t colour) {
    int count = 0;
    for (std::uint32_t texel : skin.pixels) count += texel == colour;
    return count;
  }
};

TEST_F(NewSkin, OtherSizeThatIsNotAPowerOfTwoIsRefused) {
  Create(Other(100, 64));
  EXPECT_EQ(prompter.messages, std::vector<std::string>{"Skin Dimensions must be a power of 2!"});
  EXPECT_EQ(slot(0).isEmpty, 1);
  EXPECT_TRUE(refresh.paneBits().empty());
}

TEST_F(NewSkin, SizesOutsideFourTo4096AreRefused) {
  for (auto [w, h] : {std::pair{2, 64}, std::pair{64, 8192}, std::pair{0, 0}, std::pair{-64, 64},
                      std::pair{std::numeric_limits<int>::min(), 64}}) {
    prompter.messages.clear();
    Create(Other(w, h));
    EXPECT_EQ(prompter.messages, std::vector<std::string>{"Skin Dimensions must be a power of 2!"}) << w << "x" << h;
  }
  EXPECT_EQ(slot(0).isEmpty, 1);
}

TEST_F(NewSkin, HeightsBeyondTheRowTableAreRefused) {
  Create(Other(64, 4096));
  EXPECT_EQ(prompter.messages, std::vector<std::string>{"Skins may be at most 2048 texels high!"});
  EXPECT_EQ(slot(0).isEmpty, 1);
  Create(Other(4096, 2048));
  EXPECT_EQ(slot(0).width, 4096);
  EXPECT_EQ(slot(0).height, 2048);
}

TEST_F(NewSkin, OtherSizeMakesAnImageWithoutAFileThatSaveSendsToSaveAs) {
  Create(Other(128, 64));
  ASSERT_TRUE(prompter.messages.empty());
  const SkinSlot& skin = slot(0);
  EXPECT_EQ(skin.width, 128);
  EXPECT_EQ(skin.height, 64);
  EXPECT_EQ(skin.name, "newskin");
  EXPECT_EQ(skin.filePath, "");
  EXPECT_EQ(skin.hasFile, 0);
  EXPECT_EQ(skin.format, kFormatBmp);
  EXPECT_EQ(skin.isEmpty, 0);
  EXPECT_EQ(skin.rowOffsets[63], 63 * 128);
  EXPECT_EQ(doc().activeSkin, &slot(0));
  EXPECT_EQ(refresh.paneBits(), std::vector<int>{15});
  SkinSave(app);
  ASSERT_EQ(prompter.dialogs.size(), 1u);
  EXPECT_TRUE(prompter.dialogs[0].save);
  EXPECT_EQ(prompter.dialogs[0].initialName, "newskin");
}

TEST_F(NewSkin, SquareChoicesIgnoreTheOtherFields) {
  NewSkinDialog dialog = Square(NewSkinSizeChoice::Size512);
  dialog.otherWidth = 100;
  Create(dialog);
  EXPECT_EQ(slot(0).width, 512);
  EXPECT_EQ(slot(0).height, 512);
  Create(Square(NewSkinSizeChoice::Size64));
  EXPECT_EQ(slot(0).width, 64);
}

TEST_F(NewSkin, PlainSkinIsBackgroundColourSeven) {
  Create(Square(NewSkinSizeChoice::Size64));
  EXPECT_EQ(CountColour(slot(0), 0x777777), 64 * 64);
  EXPECT_EQ(slot(0).storedPixels, slot(0).pixels);
}

TEST_F(NewSkin, CheckerboardHasFourTexelSquaresOfColoursTwoAndThree) {
  NewSkinDialog dialog = Square(NewSkinSizeChoice::Size64);
  dialog.checkerboard = true;
  Create(dialog);
  const SkinSlot& skin = slot(0);
  EXPECT_EQ(Texel(skin, 0, 0), 0x222222u);
  EXPECT_EQ(Texel(skin, 3, 3), 0x222222u);
  EXPECT_EQ(Texel(skin, 4, 0), 0x333333u);
  EXPECT_EQ(Texel(skin, 0, 7), 0x333333u);
  EXPECT_EQ(Texel(skin, 4, 4), 0x222222u);
  EXPECT_EQ(Texel(skin, 63, 63), 0x222222u);
  EXPECT_EQ(CountColour(skin, 0x222222), 64 * 64 / 2);
}

TEST_F(NewSkin, GridDotsOnEvenRowsThenLinesOnEvenColumns) {
  NewSkinDialog dialog = Square(NewSkinSizeChoice::Size64);
  dialog.checkerboard = true;
  dialog.gridded = true;
  Create(dialog);
  const SkinSlot& skin = slot(0);
  EXPECT_EQ(Texel(skin, 1, 0), 0x444444u);
  EXPECT_EQ(Texel(skin, 0, 1), 0x555555u);
  EXPECT_EQ(Texel(skin, 1, 1), 0x222222u);
  EXPECT_EQ(Texel(skin, 0, 0), 0x555555u);  // the column wins over the dot row
  EXPECT_EQ(Texel(skin, 3, 2), 0x444444u);
  EXPECT_EQ(Texel(skin, 5, 1), 0x333333u);
  EXPECT_EQ(Texel(skin, 5, 5), 0x222222u);
  EXPECT_EQ(CountColour(skin, 0x555555), 32 * 64);
  EXPECT_EQ(CountColour(skin, 0x444444), 32 * 32);
}

TEST_F(NewSkin, CoordinatesFollowTheNewSize) {
  Create(Other(128, 64));
  // From 32 x 32: u times 4, v times 2.
  EXPECT_FLOAT_EQ(doc().triangles[0].uv[1].u, 96);
  EXPECT_FLOAT_EQ(doc().triangles[0].uv[1].v, 16);
}

TEST_F(NewSkin, MeshLinesAreDrawnOnTheEdgesOfTheActiveChannelsFaces) {
  AddFace(1, {0, 0}, {31, 0}, {0, 31});  // another channel: not drawn
  doc().triangles[0].state = kFaceHidden;  // hidden faces are drawn too
  doc().RebuildUvVertices(false);
  NewSkinDialog dialog = Square(NewSkinSizeChoice::Size64);
  dialog.meshLines = true;
  Create(dialog);
  const SkinSlot& skin = slot(0);
  // The face now lies at (16,16), (48,16), (16,48): a horizontal, a vertical
  // and a 45-degree edge, all plain runs of the active colour.
  for (int k = 0; k <= 32; ++k) {
    EXPECT_EQ(Texel(skin, 16 + k, 16), 0x111111u) << k;
    EXPECT_EQ(Texel(skin, 16, 16 + k), 0x111111u) << k;
    EXPECT_EQ(Texel(skin, 48 - k, 16 + k), 0x111111u) << k;
  }
  EXPECT_EQ(CountColour(skin, 0x111111), 3 * 33 - 3);
  EXPECT_EQ(CountColour(skin, 0x777777), 64 * 64 - (3 * 33 - 3));
  EXPECT_EQ(skin.storedPixels, skin.pixels);
}

TEST_F(NewSkin, MeshLinesOffTheImageAreClippedAndWildCoordinatesAreHarmless) {
  float nan = std::numeric_limits<float>::quiet_NaN();
  AddFace(0, {-40, 8}, {80, 8}, {8, 1e30f});
  AddFace(0, {nan, nan}, {-1e30f, 3}, {std::numeric_limits<float>::infinity(), 5});
  doc().RebuildUvVertices(false);
  NewSkinDialog dialog = Square(NewSkinSizeChoice::Size64);
  dialog.meshLines = true;
  Create(dialog);
  const SkinSlot& skin = slot(0);
  // The long horizontal edge of the second face crosses the whole image on row 16.
  for (int x = 0; x < 64; ++x) EXPECT_EQ(Texel(skin, x, 16), 0x111111u) << x;
  EXPECT_EQ(skin.pixels.size(), 64u * 64u);
}

TEST_F(NewSkin, ActiveColourOutsideTheEightIsHeldToThem) {
  app.activeColor = 12;
  NewSkinDialog dialog = Square(NewSkinSizeChoice::Size64);
  dialog.meshLines = true;
  Create(dialog);
  EXPECT_EQ(Texel(slot(0), 16, 16), 0x777777u);  // colour 7 over colour 7
  EXPECT_EQ(CountColour(slot(0), 0x777777), 64 * 64);
}

TEST_F(NewSkin, CancelChangesNothing) {
  SkinNew(app);  // no reply: Cancel
  EXPECT_EQ(slot(0).isEmpty, 1);
  EXPECT_TRUE(refresh.paneBits().empty());
}

}  // namespace
}  // namespace mok
