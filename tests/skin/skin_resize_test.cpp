// Skins > Resize: nearest-texel resampling, the dialog's two halves and the
// scaling of the active channel's coordinates.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/skin_commands.h"
#include "core/channel_units.h"
#include "app/skin_dialogs.h"
#include "tests/skin/skin_test_support.h"

namespace mok {
namespace {

using test::NumberedImage;
using test::Texel;

TEST(ResampleNearest, FourToEightTakesColumnsZeroZeroZeroOneOneTwoTwoThree) {
  SkinSlot small = NumberedImage(4, 4);
  SkinSlot big = ResampleNearest(small, 8, 8);
  const int expected[8] = {0, 0, 0, 1, 1, 2, 2, 3};
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(Texel(big, x, 0), static_cast<std::uint32_t>(expected[x])) << x;
    EXPECT_EQ(Texel(big, 0, x), static_cast<std::uint32_t>(expected[x] * 0x100)) << x;
  }
  EXPECT_EQ(Texel(big, 7, 7), 0x0303u);
  EXPECT_EQ(big.storedPixels, big.pixels);
  EXPECT_EQ(big.rowOffsets[7], 56);
}

TEST(ResampleNearest, ShrinkingKeepsBothCornersAndASideOfOneTakesIndexZero) {
  SkinSlot image = NumberedImage(8, 5);
  SkinSlot shrunk = ResampleNearest(image, 3, 2);
  // Columns 0, 7/2 = 3, 14/2 = 7; rows 0 and 4.
  EXPECT_EQ(shrunk.pixels, (std::vector<std::uint32_t>{0x000, 0x003, 0x007, 0x400, 0x403, 0x407}));
  SkinSlot line = ResampleNearest(image, 1, 3);
  EXPECT_EQ(line.pixels, (std::vector<std::uint32_t>{0x000, 0x200, 0x400}));
}

TEST(ResampleNearest, KeepsTheSkinsFileAndFormat) {
  SkinSlot image = NumberedImage(4, 4);
  image.name = "a.tga";
  image.filePath = "/x/a.tga";
  image.hasFile = 1;
  image.format = kFormatTga;
  SkinSlot result = ResampleNearest(image, 2, 2);
  EXPECT_EQ(result.name, "a.tga");
  EXPECT_EQ(result.filePath, "/x/a.tga");
  EXPECT_EQ(result.hasFile, 1);
  EXPECT_EQ(result.format, kFormatTga);
}

TEST(ResizeDialog, OpensAtTheCurrentSizeWithOtherChosen) {
  SkinSlot skin = NumberedImage(64, 32);
  ResizeSkinDialog dialog = ResizeDialogFor(skin);
  EXPECT_TRUE(dialog.affectSkinImage);
  EXPECT_TRUE(dialog.syncUvMapping);
  EXPECT_EQ(dialog.fromWidth, 64);
  EXPECT_EQ(dialog.toHeight, 32);
  EXPECT_EQ(dialog.skinChoice, ResizeChoice::Other);
  EXPECT_EQ(dialog.uvChoice, ResizeChoice::Other);
  EXPECT_EQ(dialog.uvFromWidth, 64);
  EXPECT_EQ(dialog.uvToHeight, 32);
  skin.isEmpty = 1;
  EXPECT_FALSE(ResizeDialogFor(skin).affectSkinImage);
}

TEST(ResizeDialog, SynchronizeCopiesTheSkinHalfIntoTheUvHalf) {
  ResizeSkinDialog dialog = ResizeDialogFor(NumberedImage(64, 32));
  dialog.skinChoice = ResizeChoice::Size512;
  dialog.toWidth = 100;
  dialog.uvFromWidth = 7;
  dialog.SynchronizeSettings();
  EXPECT_EQ(dialog.uvChoice, ResizeChoice::Size512);
  EXPECT_EQ(dialog.uvFromWidth, 64);
  EXPECT_EQ(dialog.uvToWidth, 100);
  EXPECT_EQ(UvTarget(dialog).toWidth, 512);
  EXPECT_EQ(SkinTarget(dialog), (SkinSize{512, 512}));
}

class SkinResizeCommand : public test::SkinFixture {
 protected:
  void SetUp() override {
    AddFace(0, {4, 8}, {16, 8}, {31, 30});
    AddFace(0, {16, 8}, {31, 30}, {2, 2});  // shares two corners with face 0
    AddFace(1, {2, 2}, {6, 2}, {6, 6});
    LoadSlots();
    WithChannelUnits(doc(), [&] {
      slot(0) = NumberedImage(256, 256);
      slot(0).hasFile = 1;
    });
    ClearRecords();
  }
  void Resize(const std::function<void(ResizeSkinDialog&)>& edit) {
    prompter.resize.edit = [edit](ResizeSkinDialog& dialog) {
      edit(dialog);
      return true;
    };
    SkinResize(app);
  }
  UvPair Corner(int face, int k) { return doc().triangles[static_cast<std::size_t>(face)].uv[k]; }
};

TEST_F(SkinResizeCommand, DoublingTheHeightResamplesAndDoublesTheCoordinatesVertically) {
  ASSERT_FLOAT_EQ(Corner(0, 0).v, 64);
  Resize([](ResizeSkinDialog& d) { d.toHeight = 512; });
  EXPECT_EQ(prompter.resize.shown.back().fromWidth, 256);
  EXPECT_EQ(slot(0).width, 256);
  ASSERT_EQ(slot(0).height, 512);
  EXPECT_EQ(slot(0).hasFile, 1);
  // Row y comes from row y * 255 / 511.
  EXPECT_EQ(Texel(slot(0), 7, 3), 0x0107u);
  EXPECT_EQ(Texel(slot(0), 7, 511), 0xFF07u);
  EXPECT_EQ(slot(0).storedPixels, slot(0).pixels);
  EXPECT_FLOAT_EQ(Corner(0, 0).u, 32);
  EXPECT_FLOAT_EQ(Corner(0, 0).v, 128);
  // The shared corners were scaled once, not once per face.
  EXPECT_FLOAT_EQ(Corner(1, 0).v, 128);
  EXPECT_FLOAT_EQ(Corner(1, 1).u, 248);
  EXPECT_FLOAT_EQ(Corner(1, 1).v, 480);
  EXPECT_FLOAT_EQ(Corner(2, 1).u, 6);  // channel 1 untouched
  EXPECT_FLOAT_EQ(Corner(2, 1).v, 2);
  EXPECT_EQ(refresh.paneBits(), std::vector<int>{15});
}

TEST_F(SkinResizeCommand, WithoutAffectSkinImageOnlyTheCoordinatesChange) {
  Resize([](ResizeSkinDialog& d) {
    d.affectSkinImage = false;
    d.toHeight = 512;
  });
  EXPECT_EQ(slot(0).height, 256);
  EXPECT_EQ(slot(0).pixels, NumberedImage(256, 256).pixels);
  EXPECT_FLOAT_EQ(Corner(0, 0).v, 128);
}

TEST_F(SkinResizeCommand, SquareChoiceHalvesEverything) {
  Resize([](ResizeSkinDialog& d) { d.skinChoice = ResizeChoice::Size128; });
  EXPECT_EQ(slot(0).width, 128);
  EXPECT_EQ(slot(0).height, 128);
  EXPECT_EQ(Texel(slot(0), 127, 1), 0x02FFu);  // 1 * 255 / 127 = 2
  EXPECT_FLOAT_EQ(Corner(0, 0).u, 16);
  EXPECT_FLOAT_EQ(Corner(0, 0).v, 32);
}

TEST_F(SkinResizeCommand, WithoutSyncTheUvHalfGivesItsOwnFactors) {
  Resize([](ResizeSkinDialog& d) {
    d.affectSkinImage = false;
    d.syncUvMapping = false;
    d.uvFromWidth = 100;
    d.uvFromHeight = 100;
    d.uvToWidth = 50;
    d.uvToHeight = 250;
  });
  EXPECT_FLOAT_EQ(Corner(0, 0).u, 16);
  EXPECT_FLOAT_EQ(Corner(0, 0).v, 160);
}

TEST_F(SkinResizeCommand, APlaceholderIsNeverResampledButItsCoordinatesMayBeScaled) {
  doc().activeChannel = 1;
  doc().activeSkin = &slot(1);
  Resize([](ResizeSkinDialog& d) {
    d.affectSkinImage = true;  // ignored for a placeholder
    d.toWidth = 64;
  });
  EXPECT_FALSE(prompter.resize.shown.back().affectSkinImage);
  EXPECT_EQ(slot(1).width, 32);
  EXPECT_EQ(slot(1).isEmpty, 1);
  EXPECT_FLOAT_EQ(Corner(2, 1).u, 12);
  EXPECT_FLOAT_EQ(Corner(0, 0).u, 32);  // channel 0 untouched
}

TEST_F(SkinResizeCommand, SizesThatCannotBeHeldAreRefusedBeforeAnythingChanges) {
  struct Case {
    std::function<void(ResizeSkinDialog&)> edit;
    const char* message;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {[](ResizeSkinDialog& d) { d.toWidth = 0; }, "Resize sizes must be from 1 to 8192!"},
      {[](ResizeSkinDialog& d) { d.toWidth = -4; }, "Resize sizes must be from 1 to 8192!"},
      {[](ResizeSkinDialog& d) { d.toWidth = 1 << 30; }, "Resize sizes must be from 1 to 8192!"},
      {[](ResizeSkinDialog& d) { d.toHeight = 4096; }, "Skins may be at most 2048 texels high!"},
      {[](ResizeSkinDialog& d) {
         d.affectSkinImage = false;
         d.toHeight = 0;
       },
       "Resize sizes must be from 1 to 8192!"},
      {[](ResizeSkinDialog& d) {
         d.syncUvMapping = false;
         d.uvFromWidth = 0;
       },
       "Resize sizes must be from 1 to 8192!"},
      {[nan](ResizeSkinDialog& d) {
         d.syncUvMapping = false;
         d.uvToHeight = nan;
       },
       "Resize sizes must be from 1 to 8192!"},
  };
  for (const Case& c : cases) {
    prompter.messages.clear();
    Resize(c.edit);
    EXPECT_EQ(prompter.messages, std::vector<std::string>{c.message});
  }
  EXPECT_EQ(slot(0).width, 256);
  EXPECT_EQ(slot(0).height, 256);
  EXPECT_FLOAT_EQ(Corner(0, 0).u, 32);
  EXPECT_FLOAT_EQ(Corner(0, 0).v, 64);
  EXPECT_TRUE(refresh.paneBits().empty());
}

TEST_F(SkinResizeCommand, TheLargestAcceptedSizesWork) {
  Resize([](ResizeSkinDialog& d) {
    d.toWidth = 8192;
    d.toHeight = 1;
  });
  EXPECT_EQ(slot(0).width, 8192);
  EXPECT_EQ(slot(0).height, 1);
  EXPECT_EQ(Texel(slot(0), 8191, 0), 0x00FFu);
}

TEST_F(SkinResizeCommand, CancelChangesNothing) {
  SkinResize(app);
  EXPECT_EQ(slot(0).height, 256);
  EXPECT_TRUE(refresh.paneBits().empty());
}

}  // namespace
}  // namespace mok
