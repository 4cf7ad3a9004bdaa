// The program's dialogs on the offscreen platform: each opens on a given
// state, is changed as a user would (keys and clicks), and is closed with
// Enter, Escape or a button; the state it hands back and the messages it
// showed are checked.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include <functional>
#include <memory>

#include "core/settings.h"
#include "shell/about_dialog.h"
#include "shell/channel_dialog.h"
#include "shell/file_properties_dialog.h"
#include "shell/map_from_view_dialog.h"
#include "shell/mkmp_import_dialog.h"
#include "shell/model_stats_dialog.h"
#include "shell/new_skin_dialog.h"
#include "shell/preferences_dialog.h"
#include "shell/skin_resize_dialog.h"
#include "shell/snapshot_dialog.h"
#include "shell/tiling_dialog.h"
#include "shell/triangle_flags_dialog.h"
#include "tests/support/scripted_prompter.h"

namespace mok::shell {
namespace {

// The button (push, check or radio) with this text.
QAbstractButton* Button(QWidget& dialog, const char* text) {
  for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
    if (button->text() == QLatin1String(text)) return button;
  ADD_FAILURE() << "no button " << text;
  return nullptr;
}

QLineEdit* Field(QWidget& dialog, const char* name) {
  QLineEdit* field = dialog.findChild<QLineEdit*>(QLatin1String(name));
  EXPECT_NE(field, nullptr) << name;
  return field;
}

// Clicks near the left end, where a check box or radio has its mark.
void Click(QWidget& dialog, const char* text) {
  QAbstractButton* button = Button(dialog, text);
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// Replaces the field's text by typing, as a user does after selecting it.
void Type(QWidget& dialog, const char* name, const QString& text) {
  QLineEdit* field = Field(dialog, name);
  field->setFocus();
  field->selectAll();
  QTest::keyClick(field, Qt::Key_Delete);
  QTest::keyClicks(field, text);
}

// Shows the dialog as it opens; with MOK_DIALOG_SHOTS set to a folder, its
// picture is saved there under its title (the pictures in docs/dialogs).
void Open(QDialog& dialog) {
  dialog.show();
  QApplication::processEvents();
  const QString folder = qEnvironmentVariable("MOK_DIALOG_SHOTS");
  if (!folder.isEmpty()) dialog.grab().save(folder + "/" + dialog.windowTitle().remove('/') + ".png");
}

// Enter in a field presses the default button, OK.
void PressEnter(QDialog& dialog) {
  QWidget* target = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
  QTest::keyClick(target, Qt::Key_Return);
}

TEST(FilePropertiesDialog, EditsTheFiveStringsAndKeepsLineBreaksAsStored) {
  FileInfo info{"Ann", "ann@example.org", "1999", "line one\r\nline two", "thanks"};
  FilePropertiesDialog dialog(info);
  Open(dialog);
  EXPECT_EQ(dialog.windowTitle(), "File Properties");
  Type(dialog, "contact", "ann@example.com");
  FileInfo back = dialog.fields();
  EXPECT_EQ(back.authorName, "Ann");
  EXPECT_EQ(back.contact, "ann@example.com");
  EXPECT_EQ(back.comments, "line one\r\nline two");
  Field(dialog, "date")->setFocus();
  PressEnter(dialog);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(FilePropertiesDialog, FieldsHoldNoMoreThanTheirLimits) {
  FilePropertiesDialog dialog(FileInfo{});
  Open(dialog);
  auto* comments = dialog.findChild<QPlainTextEdit*>("comments");
  comments->setPlainText(QString(4100, 'c'));
  EXPECT_EQ(dialog.fields().comments.size(), FileInfo::kCommentsMax);
  // A line break is stored as two characters.
  comments->setPlainText(QString(4094, 'c') + "\nxy");
  EXPECT_EQ(dialog.fields().comments, std::string(4094, 'c') + "\r\n");
  Type(dialog, "authorName", QString(600, 'a'));
  EXPECT_EQ(dialog.fields().authorName.size(), FileInfo::kAuthorMax);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(MkmpImportDialog, BoxesStartFromTheOptionsAndClicksToggleThem) {
  MkmpImportDialog dialog(MkmpImportOptions{});
  Open(dialog);
  EXPECT_EQ(dialog.windowTitle(), "Import MKMP");
  EXPECT_TRUE(Button(dialog, "Import UVs")->isChecked());
  EXPECT_FALSE(Button(dialog, "Import to Selected Only")->isChecked());
  Click(dialog, "Import Type Flags");
  Click(dialog, "Import to Selected Only");
  Click(dialog, "OK");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  MkmpImportOptions chosen = dialog.options();
  EXPECT_TRUE(chosen.importUvs);
  EXPECT_FALSE(chosen.importTypeFlags);
  EXPECT_TRUE(chosen.importChannels);
  EXPECT_TRUE(chosen.selectedOnly);
}

TEST(TriangleFlagsDialog, ShowsTheStateAndOkSelectAndCancelAnswerApart) {
  TriangleFlagsDialog state;
  state.baseChoice = 3;
  state.keepModifiers = true;
  state.noSmoothing = FlagBox::Checked;
  {
    TriangleFlagsWindow dialog(state);
    Open(dialog);
    EXPECT_EQ(dialog.windowTitle(), "Triangle Flags");
    EXPECT_TRUE(Button(dialog, "Translucent - 2 Sided")->isChecked());
    EXPECT_TRUE(Button(dialog, "No Smoothing - No Filtering")->isChecked());
    Click(dialog, "Masked - 2 Sided");
    Click(dialog, "Fullbright - Do Not Light");
    Click(dialog, "Select");
    EXPECT_EQ(TriangleFlagsWindow::OutcomeOf(dialog.result()), TriangleFlagsOutcome::Select);
    EXPECT_EQ(dialog.state().baseChoice, 4);
    EXPECT_EQ(dialog.state().fullbright, FlagBox::Checked);
    EXPECT_EQ(dialog.state().noSmoothing, FlagBox::Checked);
    EXPECT_TRUE(dialog.state().keepModifiers);
  }
  state.baseChoice = -1;  // a base type without a radio
  TriangleFlagsWindow dialog(state);
  Open(dialog);
  EXPECT_EQ(dialog.state().baseChoice, -1);
  PressEnter(dialog);
  EXPECT_EQ(TriangleFlagsWindow::OutcomeOf(dialog.result()), TriangleFlagsOutcome::Ok);
  EXPECT_EQ(TriangleFlagsWindow::OutcomeOf(QDialog::Rejected), TriangleFlagsOutcome::Cancel);
}

// A box the selection mixes opens partly checked and clicks round through
// checked and clear back to partly checked; the others have two states.
TEST(TriangleFlagsDialog, MixedBitsOpenPartlyCheckedAndClickRoundToIt) {
  TriangleFlagsDialog state;
  state.fullbright = FlagBox::Mixed;
  state.environmentMapped = FlagBox::Mixed;
  TriangleFlagsWindow dialog(state);
  Open(dialog);
  auto checkState = [&](const char* text) { return qobject_cast<QCheckBox*>(Button(dialog, text))->checkState(); };
  EXPECT_EQ(checkState("Fullbright - Do Not Light"), Qt::PartiallyChecked);
  EXPECT_EQ(checkState("Flat Surface - Do Not Tesselate"), Qt::Unchecked);
  EXPECT_EQ(dialog.state().environmentMapped, FlagBox::Mixed);
  Click(dialog, "Fullbright - Do Not Light");
  EXPECT_EQ(dialog.state().fullbright, FlagBox::Checked);
  Click(dialog, "Fullbright - Do Not Light");
  EXPECT_EQ(dialog.state().fullbright, FlagBox::Clear);
  Click(dialog, "Fullbright - Do Not Light");
  EXPECT_EQ(dialog.state().fullbright, FlagBox::Mixed);
  Click(dialog, "Flat Surface - Do Not Tesselate");
  Click(dialog, "Flat Surface - Do Not Tesselate");
  EXPECT_EQ(dialog.state().flat, FlagBox::Clear);
}

TEST(ChannelDialog, ClickingALineChoosesItsChannel) {
  ChannelWindow dialog(ChannelDialog{{"skin.pcx", "Empty Slot 1", "Empty Slot 2"}, 0});
  Open(dialog);
  EXPECT_EQ(dialog.windowTitle(), "Assign Texture Channel");
  auto* list = dialog.findChild<QListWidget*>();
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->item(1)->text(), "Empty Slot 1");
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
  Click(dialog, "OK");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.state().chosen, 2);
  EXPECT_EQ(ChannelWindow(ChannelDialog{{"a"}, -1}).state().chosen, -1);
}

// A field typed into, OK pressed: the dialog stays open with the message.
struct Refusal {
  const char* dialog;
  const char* field;
  const char* typed;
  const char* message;
};

std::unique_ptr<QDialog> MakeDialog(const std::string& which, Prompter& prompter) {
  NewSkinDialog newSkin;
  newSkin.size = NewSkinSizeChoice::Other;
  if (which == "new") return std::make_unique<NewSkinWindow>(newSkin, prompter);
  ResizeSkinDialog resize;
  resize.fromWidth = resize.toWidth = 256;
  resize.fromHeight = resize.toHeight = 256;
  resize.uvFromWidth = resize.uvToWidth = resize.uvFromHeight = resize.uvToHeight = 256;
  if (which == "resize") return std::make_unique<SkinResizeWindow>(resize, prompter);
  if (which == "tiling") return std::make_unique<TilingWindow>(TilingOptions{}, prompter);
  return std::make_unique<SnapshotWindow>(SnapshotDialog{100, 100, SnapshotRendering::Normal}, prompter);
}

class DialogRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(DialogRefusals, StayOpenWithTheMessage) {
  const Refusal& c = GetParam();
  test::ScriptedPrompter prompter;
  std::unique_ptr<QDialog> dialog = MakeDialog(c.dialog, prompter);
  Open(*dialog);
  Type(*dialog, c.field, QString::fromLatin1(c.typed));
  PressEnter(*dialog);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{c.message});
  EXPECT_EQ(dialog->focusWidget(), Field(*dialog, c.field));
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DialogRefusals,
    ::testing::Values(Refusal{"new", "width", "100", "Skin Dimensions must be a power of 2!"},
                      Refusal{"new", "height", "8192", "Please enter an integer between 4 and 4096."},
                      Refusal{"new", "width", "wide", "Please enter an integer."},
                      Refusal{"new", "height", "4096", "Skins may be at most 2048 texels high!"},
                      Refusal{"resize", "skinToWidth", "3", "Please enter an integer between 4 and 8192."},
                      Refusal{"resize", "uvFromHeight", "0.5", "Please enter a number between 1 and 8192."},
                      Refusal{"resize", "uvToWidth", "x", "Please enter a number."},
                      Refusal{"tiling", "tileRepeat", "100", "Please enter a number between 1 and 99."},
                      Refusal{"snapshot", "width", "15", "Please enter an integer between 16 and 2048."},
                      Refusal{"snapshot", "height", "2049", "Please enter an integer between 16 and 2048."}));

TEST(NewSkinDialog, OpensOnTheStateAndOkWritesTheChoices) {
  test::ScriptedPrompter prompter;
  NewSkinWindow dialog(NewSkinDialog{}, prompter);
  Open(dialog);
  EXPECT_EQ(dialog.windowTitle(), "Create New Skin");
  EXPECT_TRUE(Button(dialog, "256x256")->isChecked());
  EXPECT_EQ(Field(dialog, "width")->text(), "256");
  Click(dialog, "Other");
  Type(dialog, "width", "128");
  Type(dialog, "height", "64");
  Click(dialog, "Checkerboard");
  Click(dialog, "Mesh Lines");
  PressEnter(dialog);
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(ChosenSize(dialog.state()), (SkinSize{128, 64}));
  EXPECT_TRUE(dialog.state().checkerboard);
  EXPECT_FALSE(dialog.state().gridded);
  EXPECT_TRUE(dialog.state().meshLines);
}

TEST(SkinResizeDialog, SyncronizeCopiesTheImageHalfAndOkWritesBothHalves) {
  test::ScriptedPrompter prompter;
  SkinSlot skin;
  skin.width = 256;
  skin.height = 128;
  SkinResizeWindow dialog(ResizeDialogFor(skin), prompter);
  Open(dialog);
  EXPECT_EQ(dialog.windowTitle(), "Resize Skin / UV Mapping");
  EXPECT_TRUE(Field(dialog, "skinFromWidth")->isReadOnly());
  EXPECT_TRUE(Button(dialog, "Affect Skin Image")->isChecked());
  Type(dialog, "skinToHeight", "512");
  Type(dialog, "uvFromWidth", "100.5");
  Click(dialog, ">> Syncronize Settings");
  EXPECT_EQ(Field(dialog, "uvFromWidth")->text(), "256");
  EXPECT_EQ(Field(dialog, "uvToHeight")->text(), "512");
  Click(dialog, "Sync UV Mapping");
  Click(dialog, "OK");
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  const ResizeSkinDialog& state = dialog.state();
  EXPECT_EQ(SkinTarget(state), (SkinSize{256, 512}));
  EXPECT_FALSE(state.syncUvMapping);
  EXPECT_EQ(state.uvToHeight, 512);
  EXPECT_EQ(state.skinChoice, ResizeChoice::Other);
}

TEST(TilingDialog, OkStoresTheBoxAndTheRepeat) {
  test::ScriptedPrompter prompter;
  TilingWindow dialog(TilingOptions{false, 3}, prompter);
  Open(dialog);
  EXPECT_EQ(dialog.windowTitle(), "Tiling Options");
  EXPECT_EQ(Field(dialog, "tileRepeat")->text(), "3");
  Click(dialog, "Render Skin Tiled");
  Type(dialog, "tileRepeat", "2.5");
  PressEnter(dialog);
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(dialog.options().tiled);
  EXPECT_FLOAT_EQ(dialog.options().tileRepeat, 2.5f);
}

TEST(MapFromViewDialog, RadiosAndBoxesBecomeTheOptions) {
  MapFrom3DViewOptions remembered;
  remembered.assignChannel = true;
  MapFromViewWindow dialog(remembered);
  Open(dialog);
  EXPECT_EQ(dialog.windowTitle(), "Map from 3D View");
  EXPECT_TRUE(Button(dialog, "Perspective")->isChecked());
  EXPECT_TRUE(Button(dialog, "Assign Channel")->isChecked());
  Click(dialog, "Parallel");
  Click(dialog, "Flip");
  Click(dialog, "No Backfaces");
  Click(dialog, "OK");
  const MapFrom3DViewOptions chosen = dialog.options();
  EXPECT_EQ(chosen.projection, 1);
  EXPECT_TRUE(chosen.flip);
  EXPECT_FALSE(chosen.mirror);
  EXPECT_TRUE(chosen.noBackfaces);
  EXPECT_TRUE(chosen.assignChannel);
}

TEST(SnapshotDialog, TabWalksTheControlsInOrderAndOkWritesTheChoice) {
  test::ScriptedPrompter prompter;
  SnapshotWindow dialog(SnapshotDialog{640, 480, SnapshotRendering::Filtered}, prompter);
  Open(dialog);
  EXPECT_EQ(dialog.windowTitle(), "Snapshots");
  EXPECT_TRUE(Button(dialog, "Filtered")->isChecked());
  QWidget* width = Field(dialog, "width");
  width->setFocus();
  QTest::keyClick(width, Qt::Key_Tab);
  EXPECT_EQ(dialog.focusWidget(), Field(dialog, "height"));
  Type(dialog, "width", "101");
  Click(dialog, "Raytraced");
  Click(dialog, "OK");
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.state().width, 101);
  EXPECT_EQ(dialog.state().height, 480);
  EXPECT_EQ(dialog.state().rendering, SnapshotRendering::Raytraced);
}

class PreferencesDialogTest : public ::testing::Test {
 protected:
  MemorySettings settings;
  test::ScriptedPrompter prompter;
  NullRefreshSink refresh;
  Application app{settings, prompter, prompter, refresh};
  PreferencesBrowser browser{app};
};

TEST_F(PreferencesDialogTest, TheWavRowFollowsCustomAndBrowsedFoldersAreWrittenAtOnce) {
  PreferencesDialog state = ReadPreferences(settings);
  state.introNumber = kIntroCustomNumber;
  PreferencesWindow dialog(state, browser, prompter);
  Open(dialog);
  EXPECT_EQ(dialog.windowTitle(), "Preferences");
  auto* intro = dialog.findChild<QComboBox*>();
  ASSERT_EQ(intro->count(), 9);
  EXPECT_EQ(intro->itemText(0), kIntroClipTitles[0]);
  EXPECT_EQ(intro->itemText(6), kIntroClipTitles[6]);
  EXPECT_EQ(intro->itemText(7), "Random");
  EXPECT_EQ(intro->itemText(8), "Custom...");
  EXPECT_TRUE(Field(dialog, "introWav")->isEnabled());
  intro->setCurrentIndex(kIntroRandomNumber);
  EXPECT_FALSE(Field(dialog, "introWav")->isEnabled());
  EXPECT_FALSE(dialog.findChild<QAbstractButton*>("wavBrowse")->isEnabled());

  prompter.folders = {"/tmp"};
  QTest::mouseClick(dialog.findChild<QAbstractButton*>("phongBrowse"), Qt::LeftButton);
  EXPECT_EQ(Field(dialog, "phongPath")->text(), "/tmp");
  EXPECT_EQ(Read(settings, setting::PhongPath), "/tmp");
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(Read(settings, setting::PhongPath), "/tmp");
}

// Opening previews nothing; each choice stops the sound and previews the
// new one unless it is a custom file that does not open. The preview is
// timed even where no audio output can play it, and closing ends it.
TEST_F(PreferencesDialogTest, ChoosingAnIntroPreviewsItUntilTheDialogCloses) {
  PreferencesDialog state = ReadPreferences(settings);
  state.introNumber = 6;
  PreferencesWindow dialog(state, browser, prompter);
  Open(dialog);
  auto* intro = dialog.findChild<QComboBox*>();
  EXPECT_FALSE(dialog.previewing());
  QTest::keyClick(intro, Qt::Key_Down);  // "Random"
  EXPECT_TRUE(dialog.previewing());
  QTest::keyClick(intro, Qt::Key_Down);  // "Custom..." with no file
  EXPECT_FALSE(dialog.previewing());
  Type(dialog, "introWav", MOK_SOURCE_DIR "/resources/sounds/intro_3.wav");
  QTest::keyClick(intro, Qt::Key_Up);
  QTest::keyClick(intro, Qt::Key_Down);
  EXPECT_TRUE(dialog.previewing());
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(dialog.previewing());
}

TEST_F(PreferencesDialogTest, OkChecksTheSizesAndHandsBackEveryControl) {
  PreferencesWindow dialog(ReadPreferences(settings), browser, prompter);
  Open(dialog);
  EXPECT_TRUE(Button(dialog, "8x8")->isChecked());
  Type(dialog, "height", "513");
  PressEnter(dialog);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{"Please enter an integer between 4 and 512."});
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  Type(dialog, "height", "128");
  Click(dialog, "4x4");
  Click(dialog, "Color Picker On Top");
  Click(dialog, "Use Custom Mouse Cursors");
  EXPECT_TRUE(Button(dialog, "Load skins named by the package scripts")->isChecked());
  Click(dialog, "Load skins named by the package scripts");
  Click(dialog, "OK");
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.state().skinWidth, 64);
  EXPECT_EQ(dialog.state().skinHeight, 128);
  EXPECT_EQ(dialog.state().grid, 1);
  EXPECT_TRUE(dialog.state().palOnTop);
  EXPECT_FALSE(dialog.state().customCursors);
  EXPECT_FALSE(dialog.state().loadScriptSkins);
}

TEST(ModelStatsDialog, ListsTheFiveRowsUnderTheProgramTitle) {
  ModelStats stats;
  stats.vertices = 120;
  stats.uvVertices = 200;
  stats.triangles = 236;
  stats.frames = 24;
  stats.skinArea = 131072;
  ModelStatsWindow dialog(stats);
  Open(dialog);
  EXPECT_EQ(dialog.windowTitle(), "Model Stats");
  EXPECT_EQ(dialog.findChild<QLabel*>()->text(), "MOK Version 0.1");
  auto* list = dialog.findChild<QTreeWidget*>();
  EXPECT_EQ(list->headerItem()->text(0), "Data");
  EXPECT_EQ(list->headerItem()->text(1), "Current");
  ASSERT_EQ(list->topLevelItemCount(), 5);
  EXPECT_EQ(list->topLevelItem(1)->text(0), "Mapping Verts");
  EXPECT_EQ(list->topLevelItem(4)->text(0), "Skin Area (Texels)");
  EXPECT_EQ(list->topLevelItem(4)->text(1), "131072");
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  AboutWindow about;
  Open(about);
  EXPECT_EQ(about.windowTitle(), "About MOK");
}

}  // namespace
}  // namespace mok::shell
