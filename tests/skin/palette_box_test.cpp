#include "panes/palette_box.h"

#include <gtest/gtest.h>

#include <vector>

#include "paint_test_support.h"

namespace mok {
namespace {

using test::RefreshCall;

constexpr RefreshCall kBoxRedraw{kPanePalette, kRefreshFinal};
constexpr RefreshCall kViewsFull{kPaneSkinView | kPaneIsoView, kRefreshFinal};
constexpr RefreshCall kViewsBackground{kPaneSkinView | kPaneIsoView, kRefreshBackground};

// 338 pixels wide: the picker is P = 338 - 82 = 256 columns, x 64..319 of the
// picture, window x 65..320.
class PaletteBoxTest : public ::testing::Test {
 protected:
  explicit PaletteBoxTest(int pickerSetting = 1) {
    fixture.settings.writeInt("Project", "PickerType", pickerSetting);
    box = std::make_unique<PaletteBox>(fixture.app, host);
    box->Resize(338, 35);
  }
  void Click(const PaneEvent& press) { test::Click(*box, press); }

  test::PaintApp fixture;
  Application& app = fixture.app;
  test::RefreshRecorder& refresh = fixture.refresh;
  test::BoxRecordingHost host;
  std::unique_ptr<PaletteBox> box;
};

class BarsPicker : public PaletteBoxTest {
 protected:
  BarsPicker() : PaletteBoxTest(0) {}
};

// ---- Swatches ----

TEST_F(PaletteBoxTest, SwatchPressAndDragSelectTheColourUnderTheCursor) {
  box->HandleEvent(test::PressLeft(20, 20));  // picture (19, 19): row 1, column 1 -> colour 5
  EXPECT_EQ(app.activeColor, 5);
  EXPECT_EQ(box->dragState(), PaletteBox::kSwatchDrag);
  EXPECT_TRUE(host.captured);
  box->HandleEvent(test::MoveTo(50, 5));  // picture (49, 4): row 0, column 3 -> colour 3
  EXPECT_EQ(app.activeColor, 3);
  box->HandleEvent(test::MoveTo(200, 300));  // held to the swatch area: x 63, y 31 -> colour 7
  EXPECT_EQ(app.activeColor, 7);
  box->HandleEvent(test::ReleaseLeft(200, 300));
  EXPECT_FALSE(host.captured);
  EXPECT_EQ(box->dragState(), PaletteBox::kIdle);
  // Selecting changes no user colour: the box alone redraws.
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>(3, kBoxRedraw)));
}

TEST_F(PaletteBoxTest, PressBelowThePictureStillSelectsABottomRowColour) {
  box->HandleEvent(test::PressLeft(5, 34));  // picture y 33 would be row 2, colour 8
  EXPECT_EQ(app.activeColor, 4);
}

TEST_F(PaletteBoxTest, SwatchesShowTheColoursAndTheActiveCellSunken) {
  app.customColors[5] = 0x123456;
  app.activeColor = 5;
  box->Render();
  const BoxCanvas& c = box->canvas();
  // Colour 5: cell at picture (16, 16), window (17, 17); square from +2.
  EXPECT_EQ(c.At(19, 19), 0x123456u);
  EXPECT_EQ(c.At(30, 30), 0x123456u);
  EXPECT_EQ(c.At(32, 32), box->buttonColours.highlight);  // sunken: light lower-right edge
  EXPECT_EQ(c.At(17, 17), box->buttonColours.shadow);
  EXPECT_EQ(c.At(1, 1), box->buttonColours.highlight);  // colour 0 raised
}

// ---- Bars ----

TEST_F(BarsPicker, RedBarPressAtX193GivesRed128) {
  app.customColors[0] = 0x336699;
  box->HandleEvent(test::PressLeft(193, 5));  // picture (192, 4): red bar, (192 - 64) * 256 / 256 = 128
  EXPECT_EQ(app.customColors[0], 0x806699u);
  EXPECT_EQ(box->dragState(), PaletteBox::kPickerDrag);
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{kBoxRedraw, kViewsFull}));
}

TEST_F(BarsPicker, DragKeepsThePressBarAndStaysInThePicker) {
  app.customColors[0] = 0x336699;
  box->HandleEvent(test::PressLeft(100, 12));  // picture row 11: green bar, column 35 -> 35
  EXPECT_EQ(app.customColors[0], 0x332399u);
  box->HandleEvent(test::MoveTo(900, 2));  // still green; held at the last column 255
  EXPECT_EQ(app.customColors[0], 0x33FF99u);
  box->HandleEvent(test::MoveTo(3, 30));  // held at the first column: 0
  EXPECT_EQ(app.customColors[0], 0x330099u);
}

TEST_F(BarsPicker, BrightnessBarScalesTheHsvValue) {
  app.customColors[0] = 0xFF0000;
  box->HandleEvent(test::PressLeft(193, 30));  // picture row 29: brightness, value 128 / 256 = 0.5
  // HSV(0, 1, 0.5) = (0.5, 0, 0) -> 128.
  EXPECT_EQ(app.customColors[0], 0x800000u);
}

TEST_F(BarsPicker, BarsShowTheirValuesAndMarkers) {
  app.customColors[0] = 0x336699;
  box->Render();
  const BoxCanvas& c = box->canvas();
  EXPECT_EQ(c.At(65 + 10, 1), 0x0A6699u);   // red bar column 10
  EXPECT_EQ(c.At(65 + 10, 9), 0x330A99u);   // green bar
  EXPECT_EQ(c.At(65 + 10, 17), 0x33660Au);  // blue bar
  EXPECT_EQ(c.At(65 + 200, 25), 0xC8C8C8u); // brightness bar, grey 200
  // Red marker at column 0x33 = 51: black, white, black.
  EXPECT_EQ(c.At(65 + 51, 4), 0x000000u);
  EXPECT_EQ(c.At(65 + 52, 4), 0xFFFFFFu);
  EXPECT_EQ(c.At(65 + 53, 4), 0x000000u);
  // Brightness marker at the largest channel, 0x99 = 153.
  EXPECT_EQ(c.At(65 + 154, 28), 0xFFFFFFu);
  // Top type button sunken while the bars show.
  EXPECT_EQ(c.At(338 - 17, 1), box->buttonColours.shadow);
}

TEST(PickerBars, MarkerFindsAColumnOnNarrowPickers) {
  EXPECT_EQ(MarkerColumn(128, 256), 128);
  // P = 100: columns reach 0, 2, 5, ...; 128 first at j = 50 (50 * 256 / 100 = 128).
  EXPECT_EQ(MarkerColumn(128, 100), 50);
  // 255 is never reached (99 * 256 / 100 = 253): the last column.
  EXPECT_EQ(MarkerColumn(255, 100), 99);
  EXPECT_EQ(MarkerColumn(10, 0), -1);
}

// ---- Hue field ----

TEST_F(PaletteBoxTest, HueFieldPressesFollowTheRowRule) {
  box->HandleEvent(test::PressLeft(65, 17));  // picture (64, 16): hue 0, full saturation, value 0.99
  EXPECT_EQ(app.customColors[0], 0xFD0000u);  // 0.99 * 256 = 253.44
  box->HandleEvent(test::MoveTo(65, 32));  // row 31: value 0
  EXPECT_EQ(app.customColors[0], 0x000000u);
  box->HandleEvent(test::MoveTo(193, 1));  // column 128: hue 180; row 0: no saturation
  EXPECT_EQ(app.customColors[0], 0xFDFDFDu);
  box->HandleEvent(test::MoveTo(193, 17));  // hue 180 at full saturation: cyan
  EXPECT_EQ(app.customColors[0], 0x00FDFDu);
}

TEST_F(PaletteBoxTest, HueFieldRowsOfThePicture) {
  box->Render();
  const BoxCanvas& c = box->canvas();
  // Row 8: saturation 0.5, value 0.99 -> (0.99, 0.495, 0.495) * 256 = 253, 126, 126.
  EXPECT_EQ(c.At(65, 9), 0xFD7E7Eu);
  // Row 24: value (31 - 24) / 16 = 0.4375 -> 112.
  EXPECT_EQ(c.At(65, 25), 0x700000u);
  EXPECT_EQ(c.At(65 + 100, 32), 0x000000u);  // row 31
  // Column 64 of 256, row 16: hue 64 * 360 / 256 = 90, sector 1 with f = 0.5:
  // (q, v, p) = (0.99 * (1 - 0.5), 0.99, 0) -> 126, 253, 0.
  EXPECT_EQ(c.At(65 + 64, 17), 0x7EFD00u);
  for (int row = 0; row < 32; ++row) EXPECT_EQ(c.At(65 + 7, 1 + row), HueFieldColour(7, row, 256)) << row;
  EXPECT_EQ(c.At(338 - 17, 17), box->buttonColours.shadow);  // hue button sunken
}

// ---- Type switch and setting ----

TEST_F(PaletteBoxTest, TypeButtonsAndRightPressSwitchThePicker) {
  EXPECT_EQ(box->pickerType(), PickerType::HueField);  // "PickerType" 1
  Click(test::PressLeft(330, 5));  // top button
  EXPECT_EQ(box->pickerType(), PickerType::Bars);
  Click(test::PressLeft(330, 18));  // picture y 17 > 16: bottom button
  EXPECT_EQ(box->pickerType(), PickerType::HueField);
  Click(test::PressRight(150, 10));  // right press on the picker toggles
  EXPECT_EQ(box->pickerType(), PickerType::Bars);
  box.reset();
  EXPECT_EQ(fixture.settings.readInt("Project", "PickerType"), 0);
}

TEST(PaletteBoxSetting, MissingSettingMeansHueField) {
  test::PaintApp fixture;
  test::BoxRecordingHost host;
  { PaletteBox box(fixture.app, host); EXPECT_EQ(box.pickerType(), PickerType::HueField); }
  EXPECT_EQ(fixture.settings.readInt("Project", "PickerType"), 1);
}

// ---- Refresh rules ----

TEST_F(BarsPicker, ChangingColourSevenRedrawsOnlyTheBackground) {
  app.activeColor = 7;
  box->HandleEvent(test::PressLeft(193, 5));
  EXPECT_EQ(app.customColors[7], 0x800000u);
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{kBoxRedraw, kViewsBackground}));
}

TEST_F(BarsPicker, ChangingColourOneReRendersTheViews) {
  app.activeColor = 1;
  app.customColors[1] = 0x000000;
  box->HandleEvent(test::PressLeft(193, 5));  // red 128
  EXPECT_EQ(app.customColors[1], 0x800000u);
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{kBoxRedraw, kViewsFull}));
}

TEST_F(BarsPicker, PressGivingTheSameColourRefreshesNothing) {
  app.customColors[0] = 0x806699;
  box->HandleEvent(test::PressLeft(193, 5));
  EXPECT_TRUE(refresh.requests.empty());
}

// ---- System colour dialog ----

TEST_F(PaletteBoxTest, RightClickOnTheSwatchesOpensTheDialogOnRelease) {
  app.activeColor = 2;
  fixture.prompter.colourAnswer = 0xFFABCDEF;
  fixture.prompter.colourSlotToSet = {{9, 0x111111}};
  const auto before = app.customColors;
  box->HandleEvent(test::PressRight(10, 10));
  EXPECT_EQ(fixture.prompter.colourOpened, 0);
  EXPECT_EQ(box->dragState(), PaletteBox::kRightOnSwatches);
  box->HandleEvent(test::ReleaseRight(10, 10));
  EXPECT_EQ(fixture.prompter.colourOpened, 1);
  EXPECT_EQ(fixture.prompter.colourOpenedWith, 0x8080FFu);  // "Color-2" default
  // First use: the eight user colours, then eight black slots.
  for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(fixture.prompter.colourSlotsSeen[i], before[i]);
  for (std::size_t i = 8; i < 16; ++i) EXPECT_EQ(fixture.prompter.colourSlotsSeen[i], 0u);
  EXPECT_EQ(app.customColors[2], 0xABCDEFu);  // top byte dropped
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{kBoxRedraw, kViewsFull}));
  // The slots keep what the dialog left in them, not the new user colour.
  fixture.prompter.colourSlotToSet.reset();
  Click(test::PressRight(10, 10));
  EXPECT_EQ(fixture.prompter.colourSlotsSeen[9], 0x111111u);
  EXPECT_EQ(fixture.prompter.colourSlotsSeen[2], 0x8080FFu);
}

TEST_F(PaletteBoxTest, CancelledDialogChangesNothing) {
  const auto before = app.customColors;
  Click(test::PressRight(10, 10));
  EXPECT_EQ(fixture.prompter.colourOpened, 1);
  EXPECT_EQ(app.customColors, before);
  EXPECT_TRUE(refresh.requests.empty());
}

TEST_F(PaletteBoxTest, OtherButtonDuringADragIsIgnored) {
  box->HandleEvent(test::PressLeft(20, 20));
  box->HandleEvent(test::PressRight(10, 10));
  box->HandleEvent(test::ReleaseRight(10, 10));
  EXPECT_EQ(fixture.prompter.colourOpened, 0);
  EXPECT_EQ(box->dragState(), PaletteBox::kSwatchDrag);
  box->HandleEvent(test::LoseCapture());
  EXPECT_EQ(box->dragState(), PaletteBox::kIdle);
}

TEST_F(PaletteBoxTest, WheelChangesNothing) {
  const auto colours = app.customColors;
  box->HandleEvent(test::WheelTurn(20, 20, 240));
  box->HandleEvent(test::WheelTurn(150, 10, -120));
  EXPECT_EQ(app.activeColor, 0);
  EXPECT_EQ(app.customColors, colours);
  EXPECT_EQ(box->pickerType(), PickerType::HueField);
  EXPECT_FALSE(host.captured);
  EXPECT_TRUE(refresh.requests.empty());
}

// ---- Small boxes ----

TEST(PaletteBoxSize, NarrowBoxSendsPickerPressesToTheTypeButtons) {
  test::PaintApp fixture;
  test::BoxRecordingHost host;
  PaletteBox box(fixture.app, host);
  box.Resize(70, 35);  // P = -12: no picker
  box.Render();
  const auto colours = fixture.app.customColors;
  box.HandleEvent(test::PressLeft(67, 20));
  EXPECT_EQ(box.dragState(), PaletteBox::kTypeButtonPress);
  EXPECT_EQ(box.pickerType(), PickerType::HueField);
  box.HandleEvent(test::MoveTo(68, 3));
  box.HandleEvent(test::ReleaseLeft(68, 3));
  EXPECT_EQ(fixture.app.customColors, colours);
}

TEST(PaletteBoxSize, ZeroSizedBoxDrawsAndTakesNothing) {
  test::PaintApp fixture;
  test::BoxRecordingHost host;
  PaletteBox box(fixture.app, host);
  for (auto [w, h] : {std::pair{0, 0}, std::pair{2, 35}, std::pair{338, 0}}) {
    box.Resize(w, h);
    box.Render();
    box.HandleEvent(test::PressLeft(1, 1));
    EXPECT_EQ(box.dragState(), PaletteBox::kIdle);
    EXPECT_FALSE(host.captured);
  }
  box.Resize(-5, -5);
  EXPECT_EQ(box.canvas().width(), 0);
}

}  // namespace
}  // namespace mok
